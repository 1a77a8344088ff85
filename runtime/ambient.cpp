#include "runtime/ambient.h"

#include "common/handles.h"
#include "common/vb_error.h"
#include "runtime/fonts.h"

namespace zo {

std::optional<VARIANT> Ambient::Read(DISPID dispid) const noexcept {
    com_ptr<IDispatch> dispatch = m_site.query<IDispatch>();
    if (!dispatch) return std::nullopt;
    DISPPARAMS none{};
    VARIANT result;
    ::VariantInit(&result);
    if (FAILED(dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                nullptr))) {
        ::VariantClear(&result);
        return std::nullopt;
    }
    return result;
}

bool Ambient::UserMode() const {
    if (!m_site) throw VbError::Runtime(91);
    std::optional<VARIANT> value = Read(DISPID_AMBIENT_USERMODE);
    if (!value) return true;
    unique_variant owned;
    *static_cast<VARIANT*>(&owned) = *value;
    if (FAILED(::VariantChangeType(&owned, &owned, 0, VT_BOOL))) return true;
    return V_BOOL(&owned) != VARIANT_FALSE;
}

std::wstring Ambient::DisplayName() const noexcept {
    std::optional<VARIANT> value = Read(DISPID_AMBIENT_DISPLAYNAME);
    if (!value) return {};
    unique_variant owned;
    *static_cast<VARIANT*>(&owned) = *value;
    if (FAILED(::VariantChangeType(&owned, &owned, 0, VT_BSTR)) || !V_BSTR(&owned)) return {};
    return std::wstring(V_BSTR(&owned), ::SysStringLen(V_BSTR(&owned)));
}

com_ptr<IFont> Ambient::Font() const noexcept {
    if (std::optional<VARIANT> value = Read(DISPID_AMBIENT_FONT)) {
        unique_variant owned;
        *static_cast<VARIANT*>(&owned) = *value;
        if ((V_VT(&owned) == VT_DISPATCH || V_VT(&owned) == VT_UNKNOWN) && V_UNKNOWN(&owned)) {
            if (com_ptr<IFont> font = FontFrom(V_UNKNOWN(&owned))) return font;
        }
    }
    return CreateDefaultGuiFont();
}

}  // namespace zo
