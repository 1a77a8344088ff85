// The accessible object of a native list box's client area: one child per
// item, named by the item's text as the list shows it, with its selected and
// focused state and its rectangle. It reads the list box itself, so it holds
// nothing but the window; once the window is gone every call answers
// RPC_E_DISCONNECTED.
#pragma once

#include "runtime/accessible_object.h"

namespace zo {

class ListBoxAccessible final : public VirtualChildrenAccessible {
public:
    [[nodiscard]] static com_ptr<IAccessible> Create(HWND listBox);

protected:
    [[nodiscard]] bool Connected() const noexcept override { return true; }
    void OnDisconnect() noexcept override {}
    [[nodiscard]] long ChildCount() override;
    [[nodiscard]] std::wstring ChildName(long id) override;
    [[nodiscard]] long ChildRole(long) override { return ROLE_SYSTEM_LISTITEM; }
    [[nodiscard]] long ChildState(long id) override;
    [[nodiscard]] std::optional<RECT> ChildRect(long id) override;
    HRESULT SelectChild(long id, long flags) override;
    [[nodiscard]] long SelfRole() override { return ROLE_SYSTEM_LIST; }
    [[nodiscard]] long ChildAt(POINT client) override;
    [[nodiscard]] long FocusedChild() override;
    [[nodiscard]] long SelectedChild() override;

private:
    explicit ListBoxAccessible(HWND listBox) noexcept : VirtualChildrenAccessible(listBox) {}
};

}  // namespace zo
