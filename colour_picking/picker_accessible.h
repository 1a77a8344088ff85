// The accessible object of a ZoColorPicker's client area: the "Palette" and
// "System" tabs as page tabs (child ids 1 and 2), the 64 palette cells
// (ids 3 to 66, row by row) named by their colour, and the system colour
// list (id 67), a window with an accessible object of its own.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/accessible_object.h"

namespace zo {

class ZoColorPicker;

// A palette colour as a screen reader says it: its common name where it is
// one of the named colours of the default palette, then its "&H" value.
[[nodiscard]] std::wstring SpokenColourName(int32_t colour);

class PickerAccessible final : public VirtualChildrenAccessible {
public:
    [[nodiscard]] static com_ptr<PickerAccessible> Create(ZoColorPicker& picker);

    static constexpr long kPaletteTab = 1;
    static constexpr long kSystemTab = 2;
    static constexpr long kFirstCell = 3;
    static constexpr long kSystemList = kFirstCell + 64;

protected:
    [[nodiscard]] bool Connected() const noexcept override { return m_picker != nullptr; }
    void OnDisconnect() noexcept override { m_picker = nullptr; }
    [[nodiscard]] long ChildCount() override { return kSystemList; }
    [[nodiscard]] std::wstring ChildName(long id) override;
    [[nodiscard]] long ChildRole(long id) override;
    [[nodiscard]] long ChildState(long id) override;
    [[nodiscard]] std::optional<RECT> ChildRect(long id) override;
    [[nodiscard]] std::wstring ChildDefaultAction(long id) override;
    HRESULT DoChildDefaultAction(long id) override;
    [[nodiscard]] long SelfRole() override { return ROLE_SYSTEM_CLIENT; }
    [[nodiscard]] long ChildAt(POINT client) override;
    [[nodiscard]] long FocusedChild() override { return 0; }
    [[nodiscard]] long SelectedChild() override;
    [[nodiscard]] com_ptr<IDispatch> ChildObject(long id) override;
    [[nodiscard]] bool HoldsDrawnChildren(HWND window) override;

private:
    explicit PickerAccessible(ZoColorPicker& picker);
    [[nodiscard]] bool PaletteShows() const;
    [[nodiscard]] long ShownTab() const;

    ZoColorPicker* m_picker;  // borrowed; null once the picker has gone
};

}  // namespace zo
