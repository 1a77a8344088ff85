// The "Palette" and "System" tabs across the top of the colour picker: their
// geometry, drawing, hit testing, and the page each one shows.
#include <optional>
#include <string>

#include "colour_picking/zo_color_picker.h"
#include "common/dpi.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "runtime/line_drawing.h"

namespace zo {

namespace {


// Pixels at 96 DPI; every length is scaled to the picker's DPI (Scaled),
// the one-pixel lines of the outlines and their one-pixel offsets are not.
constexpr int kFirstTabLeft = 3;
constexpr int kTabPadding = 8;
constexpr int kStripBottom = 22;
constexpr int kBodyTop = 21;
constexpr int kActiveTabTop = 1;
constexpr int kInactiveTabTop = 3;
constexpr int kActiveTabWidening = 3;
constexpr int kInactiveCaptionDrop = 2;

// Children.
constexpr int kPageLeft = 5;
constexpr int kPageTop = 32;

const wchar_t* const kCaptions[] = {L"Palette", L"System"};

const wchar_t* CaptionOf(int tab) noexcept { return kCaptions[tab == 1 ? 0 : 1]; }

// The tab number a Tag holds, or nothing when it holds no number.
std::optional<int> TabOfTag(const std::wstring& tag) {
    if (!IsNumeric(tag)) return std::nullopt;
    return CInt(Val(tag));
}

}  // namespace

double ZoColorPicker::TextWidthPx(const std::wstring& text) const noexcept {
    return Surface().TextWidth(text) / TwipsPerPixelX();
}

double ZoColorPicker::TextHeightPx(const std::wstring& text) const noexcept {
    return Surface().TextHeight(text) / TwipsPerPixelY();
}

int ZoColorPicker::ScaleWidthPx() const noexcept {
    RECT client{};
    ::GetClientRect(Surface().hWnd(), &client);
    return client.right;
}

int ZoColorPicker::ScaleHeightPx() const noexcept {
    RECT client{};
    ::GetClientRect(Surface().hWnd(), &client);
    return client.bottom;
}

int ZoColorPicker::Scaled(int pixelsAt96) const noexcept {
    return ScaleFromDesignDpi(pixelsAt96, DpiOfWindow(Surface().hWnd()));
}

int ZoColorPicker::CellPitch() const noexcept { return Scaled(kCellPitchAt96); }

// x(1) = 3; each further tab starts one pixel after the end of the one
// before it. TabLeft(3) ends the tab row.
int ZoColorPicker::TabLeft(int tab) const {
    int left = Scaled(kFirstTabLeft);
    for (int i = 1; i < tab; ++i) left += CLng(TextWidthPx(CaptionOf(i)) + 2 * Scaled(kTabPadding) + 1);
    return left;
}

int ZoColorPicker::TabWidth(int tab) const { return CLng(TextWidthPx(CaptionOf(tab)) + 2 * Scaled(kTabPadding)); }

RECT ZoColorPicker::TabRectPx(int tab) const {
    const int left = TabLeft(tab);
    return {left, Scaled(kActiveTabTop), left + TabWidth(tab), Scaled(kStripBottom)};
}

void ZoColorPicker::UserControl_Resize() {
    const double tppx = TwipsPerPixelX(), tppy = TwipsPerPixelY();
    const int left = Scaled(kPageLeft), top = Scaled(kPageTop), grid = kPaletteSide * CellPitch() + 1;
    m_picCustom.Move(left * tppx, top * tppy, grid * tppx, grid * tppy);
    m_zocr.Move(left * tppx, top * tppy, (ScaleWidthPx() - 2 * left) * tppx, m_picCustom.Height());
}

void ZoColorPicker::UserControl_Paint() {
    if (auto tab = TabOfTag(m_tag)) DrawTabs(*tab, 0, 0);
}

STDMETHODIMP ZoColorPicker::Show(short ShowTab) {
    return GuardedCall(IID__ZoColorPicker, [&] { DrawTabs(ShowTab == 1 ? 1 : 2, 0, 0); });
}

void ZoColorPicker::DrawTabs(int tab, int x, int y) {
    if (tab == -1) {
        auto tagged = TabOfTag(m_tag);
        if (!tagged) return;
        tab = *tagged;
    }
    if (tab != 1 && tab != 2) {
        // A click on the strip: the gap after a tab counts to that tab.
        if (y < Scaled(kInactiveTabTop) || y > Scaled(kBodyTop)) return;
        if (x < TabLeft(2))
            tab = 1;
        else if (x < TabLeft(3))
            tab = 2;
        else
            return;
    }
    m_tag = std::to_wstring(tab);
    HDC dc = Surface().hDC();
    Surface().SelectCurrentFont();
    FillBox(dc, 0, 0, ScaleWidthPx(), Scaled(kStripBottom), system_colour::ButtonFace);
    for (int i = 2; i >= 1; --i) {
        if (i != tab) DrawTab(dc, i, false);
    }
    DrawBodyFrame(dc);
    DrawTab(dc, tab, true);
    ShowTabPage(tab);
}

void ZoColorPicker::DrawTab(HDC dc, int tab, bool active) const {
    const std::wstring caption = CaptionOf(tab);
    const double captionWidth = TextWidthPx(caption), captionHeight = TextHeightPx(caption);
    const int body = Scaled(kBodyTop);
    if (!active) {
        const int x = TabLeft(tab), r = x + TabWidth(tab), top = Scaled(kInactiveTabTop);
        DrawLine(dc, x + 1, body, x + 1, top, system_colour::ButtonHighlight);
        DrawLine(dc, x + 2, top, r - 1, top, system_colour::ButtonHighlight);
        DrawLine(dc, r - 1, body, r - 1, top, system_colour::ButtonShadow);
        DrawLine(dc, r, body, r, top + 1, system_colour::ButtonDarkShadow);
        PrintText(dc, x + (TabWidth(tab) - captionWidth) / 2,
                  Scaled(kInactiveCaptionDrop) + (body - captionHeight) / 2, caption, system_colour::ButtonText);
        return;
    }
    // The active tab stands 3 pixels wider on each side and joins the body.
    const int widening = Scaled(kActiveTabWidening), top = Scaled(kActiveTabTop);
    const int xa = TabLeft(tab) - widening, ra = TabLeft(tab) + TabWidth(tab) + widening;
    FillBox(dc, xa + 1, Scaled(kInactiveTabTop), ra - 1, Scaled(kStripBottom), system_colour::ButtonFace);
    DrawLine(dc, xa, body, xa, top, system_colour::ButtonHighlight);
    DrawLine(dc, xa + 1, top, ra - 1, top, system_colour::ButtonHighlight);
    DrawLine(dc, ra, body - 1, ra, top + 1, system_colour::ButtonShadow);
    DrawLine(dc, ra - 1, body, ra - 1, top, system_colour::ButtonDarkShadow);
    PrintText(dc, xa + (TabWidth(tab) + 2 * widening - captionWidth) / 2, (body - captionHeight) / 2, caption,
              system_colour::ButtonText);
}

void ZoColorPicker::DrawBodyFrame(HDC dc) const {
    const int width = ScaleWidthPx(), height = ScaleHeightPx(), body = Scaled(kBodyTop);
    DrawLine(dc, 1, body, width, body, system_colour::ButtonHighlight);
    DrawLine(dc, 0, body, 0, height, system_colour::ButtonHighlight);
    DrawLine(dc, 0, height - 1, width, height - 1, system_colour::ButtonShadow);
    DrawLine(dc, width - 1, body, width - 1, height - 1, system_colour::ButtonShadow);
}

void ZoColorPicker::ShowTabPage(int tab) {
    constexpr UINT kToFront = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (tab == 1) {
        ::SetWindowPos(m_picCustom.hWnd(), HWND_TOP, 0, 0, 0, 0, kToFront);
        m_zocr.SetVisible(false);
    } else {
        m_zocr.SetVisible(true);
        ::SetWindowPos(m_zocr.hWnd(), HWND_TOP, 0, 0, 0, 0, kToFront);
    }
}

bool ZoColorPicker::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept {
    switch (message) {
        case WM_GETOBJECT:
            return AnswerAccessibleObject(wParam, lParam, result);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            const MouseEvent event = MouseEventOf(message, wParam, lParam);
            try {
                DrawTabs(0, event.x, event.y);
            } catch (...) {
            }
            return false;
        }
        case WM_DRAWITEM: {
            // Unsubclassed (in a designer) the list is still drawn by the control.
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || item->hwndItem != m_zocr.hWnd()) return false;
            DrawListItem(*item);
            *result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace zo
