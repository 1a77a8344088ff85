// Creation of the PropertyList control, and the one member its dispatch
// completes before the type library dispatches it (DualControl does the rest).
#include "property_list/property_list.h"

namespace zo {

namespace {
bool OmitsOnlyArgument(const DISPPARAMS& params) noexcept {
    if (params.cNamedArgs != 0) return false;
    if (params.cArgs == 0) return true;
    const VARIANT& only = params.rgvarg[0];
    return params.cArgs == 1 && V_VT(&only) == VT_ERROR && V_ERROR(&only) == DISP_E_PARAMNOTFOUND;
}

const ControlClassInfo kPropertyListClass{
    &CLSID_PropertyList, &IID__PropertyList, &DIID___PropertyList,
    OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
        OLEMISC_SETCLIENTSITEFIRST};
}  // namespace

HRESULT PropertyList::Create(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return GuardedCall(IID_IClassFactory, [&] {
        const auto control = com_ptr<PropertyList>::attach(new PropertyList());
        return control->QueryInterface(iid, out);
    });
}

PropertyList::PropertyList() : DualControl(kPropertyListClass) { UserControl_Initialize(); }

// The store names kinds of rows without the type library's header.
static_assert(row_kind::Text == ZoPropStringValue && row_kind::Number == ZoPropNumericValue &&
              row_kind::Boolean == ZoPropBoolValue && row_kind::Browse == ZoPropBrowseButton &&
              row_kind::Colour == ZoPropOleColor && row_kind::Custom == ZoPropCustomValue &&
              row_kind::OwnerDraw == ZoPropOwnerDraw && row_kind::Header == ZoPropPropertyHeader);

PropertyList::~PropertyList() = default;

HRESULT PropertyList::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) {
    // CommitPending's optional argument is passed by reference; a caller that
    // omits it gets True, in a variable of our own rather than the default
    // value handed on as if it were an address.
    VARIANT_BOOL notifyDefault = VARIANT_TRUE;
    VARIANT byReference;
    DISPPARAMS completed{};
    if (id == PROPERTYLIST_DISPID_COMMITPENDING && params && (flags & DISPATCH_METHOD) && OmitsOnlyArgument(*params)) {
        V_VT(&byReference) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&byReference) = &notifyDefault;
        completed.rgvarg = &byReference;
        completed.cArgs = 1;
        params = &completed;
    }
    return DualControl::InvokeMember(id, flags, params, result, exception, argError);
}

}  // namespace zo
