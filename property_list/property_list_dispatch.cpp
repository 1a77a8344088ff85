// Creation, identity and IDispatch of the PropertyList control. Dispatch is
// served from the type library, so DISPIDs, optional arguments, defaults and
// by-reference arguments are exactly those the library declares.
#include "property_list/property_list.h"

#include <vector>

#include "runtime/type_library.h"

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
    PropertyList* control = nullptr;
    try {
        control = new PropertyList();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
}

PropertyList::PropertyList() : ActiveXControl(kPropertyListClass) { UserControl_Initialize(); }

// The store names kinds of rows without the type library's header.
static_assert(row_kind::Text == ZoPropStringValue && row_kind::Number == ZoPropNumericValue &&
              row_kind::Boolean == ZoPropBoolValue && row_kind::Browse == ZoPropBrowseButton &&
              row_kind::Colour == ZoPropOleColor && row_kind::Custom == ZoPropCustomValue &&
              row_kind::OwnerDraw == ZoPropOwnerDraw && row_kind::Header == ZoPropPropertyHeader);

PropertyList::~PropertyList() = default;

STDMETHODIMP PropertyList::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP PropertyList::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return DualTypeInfo(IID__PropertyList, index, info);
}

STDMETHODIMP PropertyList::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return DualIdsOfNames(IID__PropertyList, names, count, ids);
}

STDMETHODIMP PropertyList::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argError) {
    // The host may release its last reference from inside an event raised
    // by this call; keep the control alive until the call returns.
    com_ptr<IUnknown> self(static_cast<_PropertyList*>(this));
    // CommitPending's optional argument is passed by reference; a caller that
    // omits it gets True, in a variable of our own rather than the default
    // value handed on as if it were an address.
    VARIANT_BOOL notifyDefault = VARIANT_TRUE;
    std::vector<VARIANT> arguments;
    DISPPARAMS completed{};
    if (id == PROPERTYLIST_DISPID_COMMITPENDING && params && (flags & DISPATCH_METHOD) && OmitsOnlyArgument(*params)) {
        VARIANT byReference;
        V_VT(&byReference) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&byReference) = &notifyDefault;
        arguments.push_back(byReference);
        completed.rgvarg = arguments.data();
        completed.cArgs = 1;
        params = &completed;
    }
    return DualInvoke(IID__PropertyList, static_cast<_PropertyList*>(this), id, flags, params, result, exception,
                      argError);
}

}  // namespace zo
