// The in-place editors say which row they edit: each answers a client's
// request for its accessible object with the system's standard object for
// its window under the name of the selected row. The name is read at each
// request, since one editor serves every row. (Annotating the windows
// through IAccPropServices would be simpler, but Wine's oleacc does not
// implement SetHwndPropStr: it answers E_NOTIMPL.)
#include "property_list/value_editors.h"
#include "runtime/accessible_object.h"

namespace zo {

std::wstring ValueEditors::EditedRowName() const {
    const PropItem* item = m_rows.Row(m_rows.SelIndex());
    return item ? std::wstring(item->Name()) : std::wstring();
}

void ValueEditors::NameEditorsForAccessibility() noexcept {
    const auto name = [this](HWND window) {
        return [this, window](LONG objectId) -> com_ptr<IAccessible> {
            if (objectId != OBJID_CLIENT && objectId != OBJID_WINDOW) return {};
            const std::wstring rowName = EditedRowName();
            if (rowName.empty()) return {};
            return NamedWindowAccessible::Create(window, objectId, rowName);
        };
    };
    m_txtValueName.Attach(m_txtValue.hWnd(), name(m_txtValue.hWnd()));
    m_cboValueName.Attach(m_cboValue.hWnd(), name(m_cboValue.hWnd()));
    m_cboTextName.Attach(m_cboValue.TextWindow(), name(m_cboValue.TextWindow()));
    m_picValueName.Attach(m_picValue.hWnd(), name(m_picValue.hWnd()));
}

}  // namespace zo
