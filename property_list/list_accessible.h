// The accessible object of a PropertyList's client area: the list, with one
// child per row (child id = row index + 1) read from the rows and placed by
// the same geometry that paints them and hit-tests the mouse. Rows are not
// objects: a child is only an answer, so a long list costs nothing until a
// client asks about a row.
#pragma once

#include <cstdint>
#include <string>

#include "property_list/row_geometry.h"
#include "property_list/row_store.h"
#include "runtime/accessible_object.h"

namespace zo {

// What the accessible object asks of the list it describes.
class AccessibleListHost {
public:
    [[nodiscard]] virtual const RowStore& AccessibleRows() const noexcept = 0;
    [[nodiscard]] virtual RowGeometry AccessibleGeometry() = 0;
    [[nodiscard]] virtual bool AccessibleAllowEdit() const noexcept = 0;
    // Whether the keyboard focus is on the list or one of its editors.
    [[nodiscard]] virtual bool FocusInList() const noexcept = 0;
    // Selects a row as a press on it does (SelChange, the row's editor);
    // false when the press would not select it.
    virtual bool SelectRowAsPress(int32_t row) = 0;
    // What a double-click does on the selected row.
    virtual void DoubleClickSelectedRow() = 0;

protected:
    ~AccessibleListHost() = default;
};

// A row's value as the list paints it: colour rows as their "&H" text,
// header rows without one, every other kind as stored (Boolean rows hold
// their word).
[[nodiscard]] std::wstring ShownValue(const PropItem& item);

class ListAccessible final : public VirtualChildrenAccessible {
public:
    [[nodiscard]] static com_ptr<ListAccessible> Create(HWND window, AccessibleListHost& host);

protected:
    [[nodiscard]] bool Connected() const noexcept override { return m_host != nullptr; }
    void OnDisconnect() noexcept override { m_host = nullptr; }
    [[nodiscard]] long ChildCount() override { return m_host->AccessibleRows().Count(); }
    [[nodiscard]] std::wstring ChildName(long id) override;
    [[nodiscard]] std::wstring ChildValue(long id) override;
    [[nodiscard]] long ChildRole(long id) override;
    [[nodiscard]] long ChildState(long id) override;
    [[nodiscard]] std::optional<RECT> ChildRect(long id) override;
    [[nodiscard]] std::wstring ChildDefaultAction(long id) override;
    HRESULT DoChildDefaultAction(long id) override;
    HRESULT SelectChild(long id, long flags) override;
    [[nodiscard]] long SelfRole() override { return ROLE_SYSTEM_LIST; }
    [[nodiscard]] long ChildAt(POINT client) override;
    [[nodiscard]] long FocusedChild() override;
    [[nodiscard]] long SelectedChild() override;

private:
    ListAccessible(HWND window, AccessibleListHost& host) noexcept
        : VirtualChildrenAccessible(window), m_host(&host) {}
    [[nodiscard]] const PropItem& RowOf(long id) const;
    [[nodiscard]] bool Editable(const PropItem& item) const noexcept;

    AccessibleListHost* m_host;  // borrowed; null once the list has gone
};

}  // namespace zo
