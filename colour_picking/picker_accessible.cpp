#include "colour_picking/picker_accessible.h"

#include "colour_picking/colour_form.h"
#include "colour_picking/zo_color_picker.h"
#include "common/vb_conversions.h"
#include "runtime/accessible_hook.h"

namespace zo {

namespace {

struct NamedColour {
    int32_t colour;  // &H00BBGGRR
    const wchar_t* name;
};

// The sixteen standard colours, and orange, as the default palette holds them.
constexpr NamedColour kNamedColours[] = {
    {0x000000, L"Black"},  {0x808080, L"Grey"},   {0xC0C0C0, L"Silver"}, {0xFFFFFF, L"White"},
    {0x0000FF, L"Red"},    {0x000080, L"Maroon"}, {0x00FFFF, L"Yellow"}, {0x008080, L"Olive"},
    {0x00FF00, L"Lime"},   {0x008000, L"Green"},  {0xFFFF00, L"Aqua"},   {0x808000, L"Teal"},
    {0xFF0000, L"Blue"},   {0x800000, L"Navy"},   {0xFF00FF, L"Fuchsia"}, {0x800080, L"Purple"},
    {0x0080FF, L"Orange"},
};

constexpr wchar_t kSwitchAction[] = L"Switch";

bool IsCell(long id) noexcept { return id >= PickerAccessible::kFirstCell && id < PickerAccessible::kSystemList; }
int CellColumn(long id) noexcept { return static_cast<int>((id - PickerAccessible::kFirstCell) % kPaletteSide) + 1; }
int CellRow(long id) noexcept { return static_cast<int>((id - PickerAccessible::kFirstCell) / kPaletteSide) + 1; }
long CellId(int x, int y) noexcept { return PickerAccessible::kFirstCell + PaletteIndex(x, y); }

}  // namespace

std::wstring SpokenColourName(int32_t colour) {
    const std::wstring value = L"&H" + Hex(colour);
    for (const NamedColour& named : kNamedColours)
        if (named.colour == colour) return std::wstring(named.name) + L", " + value;
    return value;
}

com_ptr<PickerAccessible> PickerAccessible::Create(ZoColorPicker& picker) {
    return com_ptr<PickerAccessible>::attach(new PickerAccessible(picker));
}

PickerAccessible::PickerAccessible(ZoColorPicker& picker) : VirtualChildrenAccessible(picker.Window()), m_picker(&picker) {}

// The tab last drawn; none before the first Show.
long PickerAccessible::ShownTab() const {
    if (m_picker->Tag() == L"1") return kPaletteTab;
    if (m_picker->Tag() == L"2") return kSystemTab;
    return 0;
}

bool PickerAccessible::PaletteShows() const { return ShownTab() == kPaletteTab; }

std::wstring PickerAccessible::ChildName(long id) {
    if (id == kPaletteTab) return L"Palette";
    if (id == kSystemTab) return L"System";
    if (IsCell(id)) return SpokenColourName(m_picker->CellColour(CellColumn(id), CellRow(id)));
    return L"System colours";
}

long PickerAccessible::ChildRole(long id) {
    if (id == kPaletteTab || id == kSystemTab) return ROLE_SYSTEM_PAGETAB;
    return IsCell(id) ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST;
}

long PickerAccessible::ChildState(long id) {
    long state = STATE_SYSTEM_SELECTABLE;
    if (id == kPaletteTab || id == kSystemTab) {
        if (ShownTab() == id) state |= STATE_SYSTEM_SELECTED;
        return state;
    }
    if (IsCell(id)) {
        const POINT selected = m_picker->SelectedCell();
        if (selected.x == CellColumn(id) && selected.y == CellRow(id)) state |= STATE_SYSTEM_SELECTED;
        if (!PaletteShows()) state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        return state;
    }
    return ::IsWindowVisible(m_picker->m_zocr.hWnd()) ? 0 : STATE_SYSTEM_INVISIBLE;
}

std::optional<RECT> PickerAccessible::ChildRect(long id) {
    if (id == kPaletteTab || id == kSystemTab) return m_picker->TabRectPx(static_cast<int>(id));
    HWND page = IsCell(id) ? m_picker->m_picCustom.hWnd() : m_picker->m_zocr.hWnd();
    RECT rect{};
    if (IsCell(id)) {
        rect = m_picker->CellRectPx(CellColumn(id), CellRow(id));
    } else {
        ::GetClientRect(page, &rect);
    }
    ::MapWindowPoints(page, Window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring PickerAccessible::ChildDefaultAction(long id) {
    return (id == kPaletteTab || id == kSystemTab) ? kSwitchAction : std::wstring();
}

// A tab switches pages as a click on it does.
HRESULT PickerAccessible::DoChildDefaultAction(long id) {
    if (id != kPaletteTab && id != kSystemTab) return DISP_E_MEMBERNOTFOUND;
    m_picker->DrawTabs(static_cast<int>(id), 0, 0);
    return S_OK;
}

long PickerAccessible::ChildAt(POINT client) {
    for (long tab : {kPaletteTab, kSystemTab}) {
        const std::optional<RECT> rect = ChildRect(tab);
        if (rect && ::PtInRect(&*rect, client)) return tab;
    }
    if (!PaletteShows()) return CHILDID_SELF;
    for (int y = 1; y <= kPaletteSide; ++y) {
        for (int x = 1; x <= kPaletteSide; ++x) {
            const std::optional<RECT> rect = ChildRect(CellId(x, y));
            if (rect && ::PtInRect(&*rect, client)) return CellId(x, y);
        }
    }
    return CHILDID_SELF;
}

long PickerAccessible::SelectedChild() {
    const POINT selected = m_picker->SelectedCell();
    if (PaletteShows() && IsPaletteCell(selected.x, selected.y)) return CellId(selected.x, selected.y);
    return ShownTab();
}

com_ptr<IDispatch> PickerAccessible::ChildObject(long id) {
    if (id != kSystemList) return {};
    com_ptr<IDispatch> list;
    if (FAILED(::AccessibleObjectFromWindow(m_picker->m_zocr.hWnd(), OBJID_WINDOW, IID_IDispatch, list.put_void())))
        return {};
    return list;
}

bool PickerAccessible::HoldsDrawnChildren(HWND window) { return window == m_picker->m_picCustom.hWnd(); }

// --- the picker's and the popup form's answers ------------------------------

bool ZoColorPicker::AnswerAccessibleObject(WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept {
    if (ObjectIdOf(lParam) != OBJID_CLIENT) return false;
    try {
        PickerAccessible* object = m_accessible.GetOrMake([&] { return PickerAccessible::Create(*this); });
        *result = AnswerGetObject(object, wParam);
        return *result != 0;
    } catch (...) {
        return false;
    }
}

void ColorForm::AnswerAsDialog() noexcept {
    m_accessibleHook.Attach(m_window, [this, window = m_window](LONG objectId) -> com_ptr<IAccessible> {
        if (objectId == OBJID_WINDOW) return NamedWindowAccessible::Create(window, objectId, m_accessibleName);
        if (objectId == OBJID_CLIENT)
            return NamedWindowAccessible::Create(window, objectId, m_accessibleName, ROLE_SYSTEM_DIALOG);
        return {};
    });
}

}  // namespace zo
