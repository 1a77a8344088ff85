// The editors of a PropertyList that offer a choice rather than free text:
// the list editor of Boolean and custom rows, the "..." button of browse
// rows, and the colour box of colour rows with its arrow button. Each turns
// a choice into ValueChanged and, unless the host cancels, a stored value.
#include <windows.h>

#include <cmath>
#include <cwctype>

#include "combo_box/combo_button.h"
#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "common/vb_error.h"
#include "property_list/list_painter.h"
#include "property_list/value_editors.h"
#include "runtime/fonts.h"
#include "runtime/line_drawing.h"

namespace zo {

namespace {

// Widths of the two buttons, in twips (17 and 16 pixels at 96 DPI). They are
// taken in whole pixels, so that a button placed against the right edge ends
// exactly there at any DPI.
constexpr double kBrowseButtonWidth = 255;
constexpr double kArrowButtonWidth = 240;

double WholePixelsWide(double twips) noexcept {
    return TwipsFromPixelsX(static_cast<int>(std::lround(twips / TwipsPerPixelX())));
}

int32_t ColourOf(const PropItem& item) { return CLng(Val(std::wstring(item.Value()))); }

}  // namespace

void ValueEditors::ConnectChoiceEditors() {
    m_cboValue.SetEvents(this);
    m_cmdBrowse.SetWidth(WholePixelsWide(kBrowseButtonWidth));
    // The button sits over the right end of the text box beside it.
    if (m_cmdBrowse.hWnd())
        ::SetWindowPos(m_cmdBrowse.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_cmdBrowse.SetPainter([this](HDC dc, const RECT& client) { PaintBrowseButton(dc, client); });
    m_cmdBrowse.SetMouseHandler([this](const MouseEvent& event) {
        if (event.action == MouseAction::Down) cmdBrowse_MouseDown(event.button);
    });
    // Its edges sit at the right and bottom: a resized button is drawn whole.
    m_cmdBrowse.SetResizeHandler([this] { m_cmdBrowse.Refresh(); });
    m_cmdDown.SetWidth(WholePixelsWide(kArrowButtonWidth));
    m_cmdDown.SetPainter([](HDC dc, const RECT& client) { DrawComboButtonFace(dc, client.right, client.bottom); });
    m_cmdDown.SetMouseHandler([this](const MouseEvent& event) {
        if (event.action == MouseAction::Down) cmdDown_MouseDown();
    });
    m_picValue.SetPainter([this](HDC dc, const RECT& client) { PaintColourBox(dc, client); });
    m_picValue.SetResizeHandler([this] { picValue_Resize(); });
    ConnectEditorKeys();
}

// Keys that reach the editors go back to the list (the text box keeps all
// but Up and Down); characters on the buttons and the colour box too.
void ValueEditors::ConnectEditorKeys() {
    m_txtValue.SetKeyDownHandler([this](int16_t& keyCode, int16_t& shift) { txtValue_KeyDown(keyCode, shift); });
    // The arrow takes no focus: that would activate the list's window and so
    // close the popup before a second press could close it.
    m_picValue.SetTakesFocus(true);
    m_cmdBrowse.SetTakesFocus(true);
    for (PictureBox* box : {&m_picValue, &m_cmdDown, &m_cmdBrowse}) {
        box->SetKeyDownHandler([this](int16_t& keyCode, int16_t& shift) { picValue_KeyDown(keyCode, shift); });
        box->SetKeyPressHandler([this](int16_t& keyAscii) { m_host.ListKeyPress(keyAscii); });
    }
}

void ValueEditors::picValue_KeyDown(int16_t& keyCode, int16_t& shift) {
    m_textEditActive = false;
    m_host.ListKeyDown(keyCode, shift);
}

// --- The "..." button -------------------------------------------------------

void ValueEditors::PaintBrowseButton(HDC dc, const RECT& client) const {
    DrawButtonEdges(dc, client.right, client.bottom);
    unique_select font(dc, BorrowedFontHandle(m_cmdBrowse.Font().get()));
    SIZE dots{}, line{};
    ::GetTextExtentPoint32W(dc, L"...", 3, &dots);
    ::GetTextExtentPoint32W(dc, L"Qq", 2, &line);
    PrintText(dc, (client.right - dots.cx) / 2, (client.bottom - line.cy) / 2, L"...", m_cmdBrowse.ForeColor());
}

void ValueEditors::cmdBrowse_MouseDown(int16_t button) {
    // The button never keeps the keyboard focus it may have been given.
    if (m_cmdBrowse.hWnd()) ::SendMessageW(m_cmdBrowse.hWnd(), WM_KILLFOCUS, 0, 0);
    if (!m_host.AllowEdit() || button != 1) return;
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    const RowId id = item->Id;
    std::wstring fillWith(item->Value());
    m_host.RaiseBrowse(std::wstring(item->Name()), m_rows.SelIndex(), fillWith);
    m_textEditActive = false;
    if (!StillSelected(id)) return;  // the host changed the rows during Browse
    const std::optional<std::wstring> stored = RaiseAndStore(fillWith, !m_rows.Selected()->ReadOnly);
    if (stored && StillSelected(id)) {
        m_txtValue.SetText(*stored);
        m_textRow = id;
    }
    m_host.Repaint();
}

std::optional<std::wstring> ValueEditors::RaiseAndStore(const std::wstring& value, bool mayStore) {
    const PropItem* item = m_rows.Selected();
    if (!item) return std::nullopt;
    const RowId id = item->Id;
    const int32_t index = m_rows.SelIndex();
    if (mayStore) {
        CommitValue(id, index, value, true);
    } else {
        m_host.RaiseValueChanged(std::wstring(item->Name()), index, value);
    }
    const std::optional<int32_t> at = m_rows.IndexOf(id, index);
    if (!at) return std::nullopt;
    return std::wstring(m_rows.Row(*at)->Value());
}

// --- The colour box and its arrow --------------------------------------------

void ValueEditors::PaintColourBox(HDC dc, const RECT& client) const {
    const PropItem* item = m_rows.Row(m_rows.SelIndex());
    if (!item || item->ItemType != row_kind::Colour) return;
    unique_select font(dc, BorrowedFontHandle(m_picValue.Font().get()));
    ::SetTextColor(dc, TranslateColour(m_picValue.ForeColor()));
    ::SetBkMode(dc, TRANSPARENT);
    DrawColourValue(dc, std::wstring(item->Value()), client.bottom, 0, 1, client.right, client.bottom);
}

void ValueEditors::picValue_Resize() noexcept {
    m_cmdDown.Move(m_picValue.ScaleWidth() - m_cmdDown.Width(), 0, m_cmdDown.Width(), m_picValue.ScaleHeight());
    m_cmdDown.Refresh();
    m_picValue.Refresh();
}

void ValueEditors::cmdDown_MouseDown() {
    const PropItem* item = m_rows.Selected();
    int32_t colour = 0;
    try {
        if (item) colour = ColourOf(*item);
    } catch (...) {
        // A value that is no Long preselects nothing in particular.
    }
    m_host.ToggleColourPopup(m_cmdDown.hWnd(), colour);
}

void ValueEditors::CommitPickedColour(int32_t colour) {
    const PropItem* item = m_rows.Selected();
    if (item) (void)RaiseAndStore(std::to_wstring(colour), !item->ReadOnly);
    m_picValue.Refresh();
    m_textEditActive = false;
    m_host.Repaint();
}

// --- The list editor ------------------------------------------------------------

void ValueEditors::BeforeDropdown(bool& cancel) {
    if (!m_host.AllowEdit()) cancel = true;
}

void ValueEditors::PickItem(int16_t) { cboValue_PickItem(); }

// Every key in the list editor is the list's: F4 and first letters choose.
void ValueEditors::KeyDown(int16_t& keyCode, int16_t& shift) {
    m_host.ListKeyDown(keyCode, shift);
    keyCode = 0;
}

void ValueEditors::ChooseByFirstLetter(int16_t keyCode) {
    const int16_t count = m_cboValue.ListCount();
    for (int16_t i = 0; i < count; ++i) {
        const std::wstring entry = m_cboValue.List(i);
        if (entry.empty()) throw VbError::Runtime(vb_error::kInvalidProcedureCall);
        if (static_cast<int16_t>(std::towupper(entry.front())) == keyCode) {
            m_cboValue.SetSelected(i);
            cboValue_PickItem();
            return;
        }
    }
}

void ValueEditors::cboValue_PickItem() {
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    if (item->ReadOnly) {
        m_cboValue.SetText(std::wstring(item->Value()));
    } else {
        m_textEditActive = true;
        CommitValue(item->Id, m_rows.SelIndex(), m_cboValue.Text(), true);
    }
    m_textEditActive = false;
    m_host.Repaint();
}

}  // namespace zo
