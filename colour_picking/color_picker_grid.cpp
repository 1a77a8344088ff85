// The 8 x 8 palette grid of the "Palette" tab: its cells and selection ring,
// mouse tracking over the cells, the pick, and redefining the user's own
// colours (rows 7 and 8) with the colour dialog.
#include <algorithm>

#include "colour_picking/zo_color_picker.h"
#include "common/handles.h"
#include "common/ole_colour.h"
#include "runtime/line_drawing.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

constexpr OLE_COLOR kRingWhite = 0x00FFFFFF;
constexpr OLE_COLOR kRingBlack = 0x00000000;
constexpr int16_t kRightButton = 2;
// The dialog opens fully and offers any colour (CC_FULLOPEN | CC_ANYCOLOR).
constexpr DWORD kColourDialogFlags = 258;
constexpr DWORD kPauseAfterDialogMs = 100;

// The column (or row) under a position, held to the grid: positions left of
// or above the grid give 1, beyond it 8.
int CellAt(int position, int pitch) noexcept {
    return std::clamp((position + 1) / pitch + 1, 1, kPaletteSide);
}

int CellOrigin(int cell, int pitch) noexcept { return (cell - 1) * pitch; }

}  // namespace

void ZoColorPicker::picCustom_Paint(HDC dc) {
    const OLE_COLOR outline = m_picCustom.ForeColor();
    const int pitch = CellPitch(), edge = pitch - 1;
    for (int x = 1; x <= kPaletteSide; ++x) {
        for (int y = 1; y <= kPaletteSide; ++y) {
            const int x0 = CellOrigin(x, pitch), y0 = CellOrigin(y, pitch);
            DrawBox(dc, x0 + 1, y0 + 1, x0 + edge, y0 + edge, outline, static_cast<OLE_COLOR>(CellColour(x, y)));
        }
    }
    DrawCell(dc, m_selX, m_selY, true);
}

void ZoColorPicker::DrawCell(HDC dc, int x, int y, bool selected) const {
    if (!IsPaletteCell(x, y)) return;
    // The cell's far edge: 16 pixels from its origin at 96 DPI.
    const int pitch = CellPitch(), edge = pitch - 1;
    const int x0 = CellOrigin(x, pitch), y0 = CellOrigin(y, pitch);
    const auto colour = static_cast<OLE_COLOR>(CellColour(x, y));
    if (selected) {
        // A white ring on the cell's edge with a black ring just inside it.
        DrawBox(dc, x0 + 1, y0 + 1, x0 + edge, y0 + edge, kRingBlack, colour);
        DrawBox(dc, x0, y0, x0 + edge, y0 + edge, kRingWhite, colour);
        DrawBox(dc, x0 + 1, y0 + 1, x0 + edge - 1, y0 + edge - 1, kRingBlack, colour);
    } else {
        DrawBox(dc, x0, y0, x0 + edge, y0 + edge, system_colour::ButtonFace, colour);
        DrawBox(dc, x0 + 1, y0 + 1, x0 + edge, y0 + edge, m_picCustom.ForeColor(), colour);
    }
}

RECT ZoColorPicker::CellRectPx(int x, int y) const noexcept {
    const int pitch = CellPitch();
    const int x0 = CellOrigin(x, pitch), y0 = CellOrigin(y, pitch);
    return RECT{x0, y0, x0 + pitch, y0 + pitch};
}

void ZoColorPicker::DrawCellNow(int x, int y, bool selected) const {
    unique_hdc_window dc(m_picCustom.hWnd());
    if (dc) DrawCell(dc.get(), x, y, selected);
}

void ZoColorPicker::picCustom_Mouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::Down:
            DrawCellNow(m_selX, m_selY, false);
            m_selX = CellAt(event.x, CellPitch());
            m_selY = CellAt(event.y, CellPitch());
            m_tracking = true;
            DrawCellNow(m_selX, m_selY, true);
            break;
        case MouseAction::Move:
            if (!m_tracking) return;
            DrawCellNow(m_selX, m_selY, false);
            m_selX = CellAt(event.x, CellPitch());
            m_selY = CellAt(event.y, CellPitch());
            DrawCellNow(m_selX, m_selY, true);
            break;
        case MouseAction::Up:
            picCustom_MouseUp(event.button);
            break;
    }
}

// Only a release that ends a press on the grid picks: a button pressed
// elsewhere and released over the grid (the press that opened a popup
// picker, say) must not choose a colour.
void ZoColorPicker::picCustom_MouseUp(int16_t button) {
    if (!m_tracking) return;
    com_ptr<IUnknown> self(static_cast<_ZoColorPicker*>(this));
    if (button == kRightButton && m_selY >= kFirstUserRow) Skipping([&] { RedefineUserColour(); });
    m_color = CellColour(m_selX, m_selY);
    m_tracking = false;
    RaiseColorPicked(m_color);
}

void ZoColorPicker::RedefineUserColour() {
    if (!m_colorDialog) m_colorDialog = std::make_unique<CommonDialog>();
    m_colorDialog->SetFlags(kColourDialogFlags);
    for (int n = 0; n < CommonDialog::kCustomColourCount; ++n)
        m_colorDialog->SetCustomColors(n, CellColour(n % kPaletteSide + 1, kFirstUserRow + n / kPaletteSide));
    const int32_t chosen = m_colorDialog->ShowColor(CellColour(m_selX, m_selY));
    if (chosen != -1 && IsPaletteCell(m_selX, m_selY)) m_colors[static_cast<size_t>(PaletteIndex(m_selX, m_selY))] = chosen;
    m_picCustom.Refresh();
    ::Sleep(kPauseAfterDialogMs);
}

}  // namespace zo
