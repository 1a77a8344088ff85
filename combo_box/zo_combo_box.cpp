// The combo box's own window, its children, appearance and text members,
// and the layout of the text box and the button.
#include "combo_box/zo_combo_box.h"

#include <cmath>

#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "common/vb_error.h"
#include "runtime/control_window.h"
#include "runtime/fonts.h"
#include "runtime/mouse_pointer.h"

namespace zo {

namespace {

constexpr wchar_t kComboClass[] = L"ZoComboBox";


}  // namespace

ZoComboBox::ZoComboBox() noexcept
    : m_cmdDown(*this),
      m_textSubclass(kTextProcProperty, kTextPtrProperty),
      m_listSubclass(kListProcProperty, kListPtrProperty),
      m_alive(std::make_shared<char>()) {}

ZoComboBox::~ZoComboBox() {
    // From here on no window procedure reaches this object: the alive token
    // goes first, then the subclasses, then the list window. The text box and
    // the button go with their members, the control's window with the base.
    m_alive.reset();
    UnSubclass();
    if (m_lstValue.hWnd() && ::GetCapture() == m_lstValue.hWnd()) ::ReleaseCapture();
    m_lstValue.Destroy();
    m_textSubclass.Remove();
}

void ZoComboBox::Create(HWND parent) noexcept {
    RegisterClassOnce(kComboClass, ComboWindowProc, 0);
    CreateWindowOf(parent, kComboClass, WS_CLIPCHILDREN, 0);
    if (!hWnd()) return;
    m_txtValue.Create(hWnd());
    m_cmdDown.SetBackColor(system_colour::ButtonFace);
    m_cmdDown.Create(hWnd());
    m_textSubclass.Install(m_txtValue.hWnd(), TextWindowProc, this);
    CreateListWindow();
    Layout();
}

LRESULT CALLBACK ZoComboBox::ComboWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = static_cast<ZoComboBox*>(FromWindow(window));
    if (!self || !self->m_alive) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleComboMessage(window, message, wParam, lParam);
}

LRESULT ZoComboBox::HandleComboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SHOWWINDOW:
            // Hiding the control closes its list (without giving the hidden
            // button the focus), however the host hides it.
            if (!wParam && m_droppedDown) CloseList(false);
            break;
        case WM_SETFONT:
            // The control's font, held by ChildControl, which sends it again
            // whenever the font object changes; the list follows it.
            m_fontHandle = reinterpret_cast<HFONT>(wParam);
            SendToList(WM_SETFONT, wParam, lParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_fontHandle);
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(window, &client);
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::FillRect(dc, &client, PrepareColours(dc));
            return 1;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:  // a locked text box asks for this one
            if (reinterpret_cast<HWND>(lParam) == m_txtValue.hWnd())
                return reinterpret_cast<LRESULT>(m_txtValue.PrepareColours(reinterpret_cast<HDC>(wParam)));
            break;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == m_txtValue.hWnd()) {
                if (HIWORD(wParam) == EN_CHANGE && m_events) {
                    try {
                        m_events->Change();
                    } catch (...) {
                    }
                } else if (HIWORD(wParam) == EN_SETFOCUS) {
                    TextGotFocus();
                }
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (ApplyMousePointer(m_mousePointer, m_mouseIcon.get())) return TRUE;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void ZoComboBox::Layout() noexcept {
    if (m_droppedDown || !hWnd() || !m_txtValue.hWnd()) return;
    RECT client{};
    ::GetClientRect(hWnd(), &client);
    const double innerWidth = TwipsFromPixelsX(client.right);
    const double innerHeight = TwipsFromPixelsY(client.bottom);
    // The button in whole pixels, so that it ends at the right edge at any DPI.
    const double button = TwipsFromPixelsX(static_cast<int>(std::lround(kButtonWidthTwips / TwipsPerPixelX())));
    m_cmdDown.Move(innerWidth - button, 0, button, innerHeight);
    m_cmdDown.Refresh();
    // The text box leaves one pixel beside the button and below it.
    m_txtValue.Move(0, 0, innerWidth - button - TwipsFromPixelsX(1), innerHeight - TwipsFromPixelsY(1));
    m_lstValue.SetWidth(client.right);
}

void ZoComboBox::PropertyChanged(const wchar_t* name) const noexcept {
    try {
        if (m_propertyChanged) m_propertyChanged(name);
    } catch (...) {
        // The host's bookkeeping does not undo the change already made.
    }
}

// --- Appearance ---------------------------------------------------------------

void ZoComboBox::SetBackColor(OLE_COLOR colour) noexcept {
    m_txtValue.SetBackColor(colour);
    ChildControl::SetBackColor(colour);
    PropertyChanged(L"BackColor");
}

void ZoComboBox::SetForeColor(OLE_COLOR colour) noexcept {
    m_txtValue.SetForeColor(colour);
    PropertyChanged(L"ForeColor");
}

void ZoComboBox::SetFont(com_ptr<IFont> font) noexcept {
    if (!font) return;
    // The control's window keeps the handle for WM_GETFONT and hands it on
    // to the list; the text box follows the font object by itself.
    ChildControl::SetFont(font);
    m_txtValue.SetFont(font);
    PropertyChanged(L"Font");
}

void ZoComboBox::SetEnabled(bool enabled) noexcept {
    m_enabled = enabled;
    if (hWnd()) ::EnableWindow(hWnd(), enabled ? TRUE : FALSE);
    PropertyChanged(L"Enabled");
}

void ZoComboBox::SetMousePointer(int16_t pointer) {
    CheckMousePointer(pointer);
    m_mousePointer = pointer;
    PropertyChanged(L"MousePointer");
}

void ZoComboBox::SetMouseIcon(com_ptr<IPictureDisp> picture) noexcept {
    m_mouseIcon = std::move(picture);
    PropertyChanged(L"MouseIcon");
}


// --- Text box -----------------------------------------------------------------

std::wstring ZoComboBox::Text() const { return m_txtValue.Text(); }

void ZoComboBox::SetText(const std::wstring& text) noexcept {
    ShowText(text);
    PropertyChanged(L"Text");
}

void ZoComboBox::ShowText(const std::wstring& text) noexcept {
    // The text box reports every WM_SETTEXT as a change; the control's
    // Change means the text differs.
    try {
        if (Text() != text) m_txtValue.SetText(text);
    } catch (...) {
    }
}

void ZoComboBox::SetMaxLength(long length) {
    if (length < 0) throw VbError::Runtime(vb_error::kInvalidPropertyValue);
    m_maxLength = length;
    if (m_txtValue.hWnd()) ::SendMessageW(m_txtValue.hWnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(length), 0);
    PropertyChanged(L"MaxLength");
}

void ZoComboBox::SetSelStart(long start) noexcept {
    m_txtValue.SetSelStart(start);
    PropertyChanged(L"SelStart");
}

void ZoComboBox::SetSelLength(long length) noexcept {
    m_txtValue.SetSelLength(length);
    PropertyChanged(L"SelLength");
}

std::wstring ZoComboBox::SelText() const {
    const std::wstring text = Text();
    const auto start = static_cast<size_t>(SelStart());
    const auto length = static_cast<size_t>(SelLength());
    return start < text.size() ? text.substr(start, length) : std::wstring();
}

void ZoComboBox::SetSelText(const std::wstring& text) noexcept {
    if (m_txtValue.hWnd())
        ::SendMessageW(m_txtValue.hWnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    PropertyChanged(L"SelText");
}

void ZoComboBox::SetStyle(int32_t style) noexcept {
    m_style = style;
    m_txtValue.SetLocked(style != 0);
    PropertyChanged(L"Style");
}

int ZoComboBox::RowHeightPixels() const noexcept {
    // The text line of the control's font and one pixel: 15 twips at 96 DPI,
    // one whole pixel at every DPI.
    const unique_hdc_window screen(nullptr);
    const HFONT font = BorrowedFontHandle(Font().get());
    const unique_select selected(screen.get(), font);
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.get(), L"Qq", 2, &extent);
    return extent.cy + 1;
}

}  // namespace zo
