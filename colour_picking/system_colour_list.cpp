// The "System" tab: a list of 28 Windows system colours that the picker
// draws itself (answering the list box's draw requests through its
// subclassed window), the pick of a list item, following the user's colour
// scheme, and SetColor, which finds a colour in either tab.
#include <cmath>

#include "colour_picking/zo_color_picker.h"
#include "common/handles.h"
#include "common/ole_colour.h"
#include "common/window_subclass.h"
#include "runtime/do_events.h"
#include "runtime/skipping.h"
#include "window_support/atomizer.h"

namespace zo {

namespace {

struct SystemColourItem {
    const wchar_t* text;
    int32_t data;
};

constexpr SystemColourItem kSystemColours[] = {
    {L"Scrollbars", static_cast<int32_t>(0x80000000)},
    {L"Desktop", static_cast<int32_t>(0x80000001)},
    {L"Active Titlebar", static_cast<int32_t>(0x80000002)},
    {L"Active Gradient", static_cast<int32_t>(0x8000001B)},
    {L"Inactive Titlebar", static_cast<int32_t>(0x80000003)},
    {L"Inactive Gradient", static_cast<int32_t>(0x8000001C)},
    {L"Menu Bar", static_cast<int32_t>(0x80000004)},
    {L"Window Background", static_cast<int32_t>(0x80000005)},
    {L"Window Frame", static_cast<int32_t>(0x80000006)},
    {L"Menu Text", static_cast<int32_t>(0x80000007)},
    {L"Window Text", static_cast<int32_t>(0x80000008)},
    {L"Active Titlebar Text", static_cast<int32_t>(0x80000009)},
    {L"Active Border", static_cast<int32_t>(0x8000000A)},
    {L"Inactive Border", static_cast<int32_t>(0x8000000B)},
    {L"Application Workspace", static_cast<int32_t>(0x8000000C)},
    {L"Highlight", static_cast<int32_t>(0x8000000D)},
    {L"Highlight Text", static_cast<int32_t>(0x8000000E)},
    {L"Button Face", static_cast<int32_t>(0x8000000F)},
    {L"Button Shadow", static_cast<int32_t>(0x80000010)},
    {L"Disabled Text", static_cast<int32_t>(0x80000011)},
    {L"Button Text", static_cast<int32_t>(0x80000012)},
    {L"Inactive Titlebar Text", static_cast<int32_t>(0x80000013)},
    {L"Button Highlight", static_cast<int32_t>(0x80000014)},
    {L"Button Dark Shadow", static_cast<int32_t>(0x80000015)},
    {L"Button Light Shadow", static_cast<int32_t>(0x80000016)},
    {L"ToolTip Text", static_cast<int32_t>(0x80000017)},
    {L"ToolTip", static_cast<int32_t>(0x80000018)},
    {L"Hot Items", static_cast<int32_t>(0x8000001A)},
};

// m_listColors / m_listBrushes slots.
enum ListColour { kWindowText = 0, kWindowBack = 1, kHighlightBack = 2, kHighlightText = 3 };

constexpr int16_t kLeftButton = 1;
constexpr DWORD kPauseBeforePickMs = 100;
constexpr UINT kItemTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

// The window's previous procedure while the picker subclasses it; the
// picker itself is kept under a property named after the library's atom.
constexpr wchar_t kPreviousProcProperty[] = L"ZoColorPickerProc";

int Round(double value) noexcept { return static_cast<int>(std::lround(value)); }

// Read for every message of a subclassed picker: the text is made again only
// when the library's atom changes.
const std::wstring& SubclassPropertyName() {
    thread_local std::int32_t atom = 0;
    thread_local std::wstring name;
    const Atomizer& atomizer = LibraryAtomizer();
    if (atomizer.Value() != atom || name.empty()) {
        name = atomizer.PropertyName();
        atom = atomizer.Value();
    }
    return name;
}

}  // namespace

void ZoColorPicker::AddSystemColours() {
    for (const SystemColourItem& item : kSystemColours) m_zocr.AddItem(item.text, item.data);
}

void ZoColorPicker::UpdateListItemHeight() noexcept {
    const int height = Round(TextHeightPx(L"X"));
    m_zocr.SetItemHeight(height > 0 ? height : 1);
}

void ZoColorPicker::ResetListColors(bool freeOnly) noexcept {
    for (unique_hbrush& brush : m_listBrushes) brush.reset();
    if (freeOnly) return;
    if (IsSystemColour(m_zocr.BackColor()) || IsSystemColour(m_zocr.ForeColor())) m_zocr.RefreshColours();
    m_listColors[kHighlightBack] = ::GetSysColor(COLOR_HIGHLIGHT);
    m_listColors[kHighlightText] = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_listColors[kWindowBack] = ::GetSysColor(COLOR_WINDOW);
    m_listColors[kWindowText] = ::GetSysColor(COLOR_WINDOWTEXT);
}

HBRUSH ZoColorPicker::GetListBrush(int index) noexcept {
    if (index != kWindowBack && index != kHighlightBack) return nullptr;
    unique_hbrush& brush = m_listBrushes[index];
    if (!brush) {
        LOGBRUSH solid{BS_SOLID, m_listColors[index], 0};
        brush.reset(::CreateBrushIndirect(&solid));
    }
    return brush.get();
}

// Asked of the list box itself: the control window's previous procedure
// knows nothing of the list's caret.
int32_t ZoColorPicker::ListCaretIndex() const noexcept {
    HWND list = m_zocr.hWnd();
    return list ? static_cast<int32_t>(::SendMessageW(list, LB_GETCARETINDEX, 0, 0)) : -1;
}

LRESULT ZoColorPicker::ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC previous = m_oldWndProc;
    if (message == WM_SYSCOLORCHANGE) {
        ResetListColors(false);
    } else if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->hwndItem == m_zocr.hWnd()) {
            DrawListItem(*item);
            return TRUE;
        }
    }
    return ForwardMessage(previous, window, message, wParam, lParam);
}

void ZoColorPicker::DrawListItem(const DRAWITEMSTRUCT& original) noexcept {
    DRAWITEMSTRUCT item = original;  // the drawing moves its left edge
    if (item.itemID != static_cast<UINT>(-1)) DrawListSwatch(item);
    DrawListItemText(item);
    DrawListFocus(item);
}

void ZoColorPicker::DrawListSwatch(DRAWITEMSTRUCT& item) const noexcept {
    RECT& box = item.rcItem;
    const auto data = static_cast<int32_t>(item.itemData);
    if ((item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && data != -1) {
        const double tw = TextWidthPx(L"X"), th = TextHeightPx(L"X");
        ::Rectangle(item.hDC, box.left + 1, box.top + 1, Round(2 * tw + box.left), Round(th + box.top));
        const RECT inner{box.left + 2, box.top + 2, Round(2 * tw + box.left - 1), Round(th + box.top - 1)};
        unique_hbrush swatch(::CreateSolidBrush(::GetSysColor(data & 0x7FFFFFFF)));
        ::FillRect(item.hDC, &inner, swatch.get());
    }
    box.left += (box.bottom - box.top) + 3;
}

// The item's background and text in the list colours: highlighted when
// selected. Selection changes (ODA_SELECT) repaint the text too, so that the
// highlight follows the selection at once.
void ZoColorPicker::DrawListItemText(DRAWITEMSTRUCT& item) noexcept {
    bool highlighted = false;
    if (item.itemID == static_cast<UINT>(-1))
        highlighted = false;
    else if (item.itemState != 0)
        highlighted = true;
    else if (::GetFocus() == m_zocr.hWnd())
        highlighted = false;
    else
        highlighted = ListCaretIndex() == static_cast<int32_t>(item.itemID);
    const int back = highlighted ? kHighlightBack : kWindowBack;
    ::SetTextColor(item.hDC, m_listColors[highlighted ? kHighlightText : kWindowText]);
    ::SetBkColor(item.hDC, m_listColors[back]);
    {
        unique_select brush(item.hDC, GetListBrush(back));
        unique_select pen(item.hDC, ::GetStockObject(NULL_PEN));
        RECT& box = item.rcItem;
        ::Rectangle(item.hDC, box.left, box.top, box.right + 1, box.bottom + 1);
    }
    if (item.itemID == static_cast<UINT>(-1)) return;
    const std::wstring text = m_zocr.List(static_cast<int32_t>(item.itemID));
    RECT textBox = item.rcItem;
    textBox.left += 1;
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textBox, kItemTextFlags);
}

void ZoColorPicker::DrawListFocus(const DRAWITEMSTRUCT& item) const noexcept {
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_FOCUS))) return;
    if ((item.itemState & ODS_FOCUS) && ::GetFocus() == m_zocr.hWnd()) ::DrawFocusRect(item.hDC, &item.rcItem);
}

// A left press on an item picks its system colour, once the list has shown
// the new selection. A press below the last item picks nothing.
void ZoColorPicker::zocr_MouseDown(const MouseEvent& event) {
    const int32_t index = m_zocr.ListIndex();
    if (event.button != kLeftButton) return;
    com_ptr<IUnknown> self(static_cast<_ZoColorPicker*>(this));
    const std::optional<int32_t> colour = m_zocr.ItemData(index);
    DoEvents();
    ::Sleep(kPauseBeforePickMs);
    if (colour) RaiseColorPicked(*colour);
}

STDMETHODIMP ZoColorPicker::SetColor(LONG* NewColor) {
    if (!NewColor) return E_POINTER;
    Skipping([&] { FindColour(*NewColor); });
    return S_OK;
}

void ZoColorPicker::FindColour(int32_t colour) {
    if (colour < 0) {
        m_tag = L"2";
        for (int32_t i = 0; i < m_zocr.ListCount(); ++i) {
            if (m_zocr.ItemData(i) == colour) {
                m_zocr.SetListIndex(i);
                return;
            }
        }
        return;
    }
    m_tag = L"1";
    for (int x = 1; x <= kPaletteSide; ++x) {
        for (int y = 1; y <= kPaletteSide; ++y) {
            if (CellColour(x, y) == colour) {
                m_selX = x;
                m_selY = y;
                return;
            }
        }
    }
}

// --- Subclassing the control's window -----------------------------------------

STDMETHODIMP ZoColorPicker::Subclass() {
    DoSubclass();
    return S_OK;
}

STDMETHODIMP ZoColorPicker::UnSubclass() {
    DoUnSubclass();
    return S_OK;
}

void ZoColorPicker::DoSubclass() noexcept {
    DoUnSubclass();
    HWND window = Surface().hWnd();
    if (!window) return;
    try {
        m_subclassProperty = SubclassPropertyName();
        m_subclass = std::make_unique<WindowSubclass>(kPreviousProcProperty, m_subclassProperty.c_str());
    } catch (...) {
        return;
    }
    if (m_subclass->Install(window, &ColorPickerWndProc, static_cast<_ZoColorPicker*>(this)))
        m_oldWndProc = WindowSubclass::PreviousOf(window, kPreviousProcProperty);
    else
        m_subclass.reset();
}

void ZoColorPicker::DoUnSubclass() noexcept {
    if (!m_subclass) return;
    m_subclass->Remove();
    m_subclass.reset();
    m_oldWndProc = nullptr;
}

LRESULT CALLBACK ZoColorPicker::ColorPickerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kPreviousProcProperty);
    ZoColorPicker* self = nullptr;
    try {
        self = static_cast<ZoColorPicker*>(
            static_cast<_ZoColorPicker*>(WindowSubclass::ObjectOf(window, SubclassPropertyName().c_str())));
    } catch (...) {
    }
    if (message == WM_NCDESTROY) {
        if (self) self->DoUnSubclass();
        return ForwardMessage(previous, window, message, wParam, lParam);
    }
    if (!self || !self->m_subclass) return ForwardMessage(previous, window, message, wParam, lParam);
    com_ptr<IUnknown> hold(static_cast<_ZoColorPicker*>(self));
    return self->ListWindowProc(window, message, wParam, lParam);
}

}  // namespace zo
