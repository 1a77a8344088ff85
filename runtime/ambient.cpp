#include "runtime/ambient.h"

#include <new>

#include "common/handles.h"
#include "common/vb_error.h"
#include "runtime/fonts.h"

namespace zo {

std::optional<unique_variant> Ambient::Read(DISPID dispid) const noexcept {
    com_ptr<IDispatch> dispatch = m_site.query<IDispatch>();
    if (!dispatch) return std::nullopt;
    DISPPARAMS none{};
    unique_variant result;
    if (FAILED(dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result.put(),
                                nullptr, nullptr)))
        return std::nullopt;
    return result;
}

bool Ambient::UserMode() const {
    if (!m_site) throw VbError::Runtime(91);
    std::optional<unique_variant> value = Read(DISPID_AMBIENT_USERMODE);
    if (!value) return true;
    if (FAILED(::VariantChangeType(&*value, &*value, 0, VT_BOOL))) return true;
    return V_BOOL(&*value) != VARIANT_FALSE;
}

std::wstring Ambient::DisplayName() const noexcept {
    std::optional<unique_variant> value = Read(DISPID_AMBIENT_DISPLAYNAME);
    if (!value) return {};
    if (FAILED(::VariantChangeType(&*value, &*value, 0, VT_BSTR)) || !V_BSTR(&*value)) return {};
    try {
        return std::wstring(V_BSTR(&*value), ::SysStringLen(V_BSTR(&*value)));
    } catch (const std::bad_alloc&) {
        return {};  // a name that cannot be copied reads as none
    }
}

com_ptr<IFont> Ambient::Font() const noexcept {
    if (std::optional<unique_variant> value = Read(DISPID_AMBIENT_FONT)) {
        const VARIANT& font = *value;
        if ((V_VT(&font) == VT_DISPATCH || V_VT(&font) == VT_UNKNOWN) && V_UNKNOWN(&font)) {
            if (com_ptr<IFont> result = FontFrom(V_UNKNOWN(&font))) return result;
        }
    }
    return CreateDefaultGuiFont();
}

}  // namespace zo
