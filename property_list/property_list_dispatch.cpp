// Creation, identity and IDispatch of the PropertyList control. Dispatch is
// served from the type library (DualControl), so DISPIDs, optional arguments,
// defaults and by-reference arguments are exactly those the library declares.
#include "property_list/property_list.h"

namespace zo {

namespace {
void MoveVariant(VARIANT& to, VARIANT& from) noexcept {
    ::VariantClear(&to);
    to = from;
    ::VariantInit(&from);
}

constexpr DISPID kCommitPendingId = 0x60030069;

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

PropItem::PropItem(PropItem&& other) noexcept
    : Name(std::move(other.Name)), Value(std::move(other.Value)), ReadOnly(other.ReadOnly), ItemType(other.ItemType) {
    MoveVariant(ItemData, other.ItemData);
}

PropItem& PropItem::operator=(PropItem&& other) noexcept {
    if (this != &other) {
        Name = std::move(other.Name);
        Value = std::move(other.Value);
        MoveVariant(ItemData, other.ItemData);
        ReadOnly = other.ReadOnly;
        ItemType = other.ItemType;
    }
    return *this;
}

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

PropertyList::PropertyList() : DualControl(kPropertyListClass) {
    CreateChildControls();
    UserControl_Initialize();
}

PropertyList::~PropertyList() = default;

HRESULT PropertyList::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) {
    // CommitPending's optional argument is passed by reference; a caller that
    // omits it gets True, in a variable of our own rather than the default
    // value handed on as if it were an address.
    VARIANT_BOOL notifyDefault = VARIANT_TRUE;
    VARIANT byReference;
    DISPPARAMS completed{};
    if (id == kCommitPendingId && params && (flags & DISPATCH_METHOD) && OmitsOnlyArgument(*params)) {
        V_VT(&byReference) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&byReference) = &notifyDefault;
        completed.rgvarg = &byReference;
        completed.cArgs = 1;
        params = &completed;
    }
    return DualControl::InvokeMember(id, flags, params, result, exception, argError);
}

}  // namespace zo
