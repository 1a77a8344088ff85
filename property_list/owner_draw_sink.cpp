// Calls to the host's owner-draw sink, made late-bound by DISPID through its
// dispatch interface. Every call names this control by its display name so
// that one sink can serve several lists.
#include "common/vb_conversions.h"
#include "property_list/property_list.h"

namespace zo {

namespace {

constexpr DISPID kCommitEdit = 0x60030001;
constexpr DISPID kHideEditor = 0x60030003;
constexpr DISPID kShowEditor = 0x60030004;

VARIANT TextArgument(const std::wstring& text) {
    VARIANT arg;
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return arg;
}

VARIANT LongArgument(int32_t value) {
    VARIANT arg;
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = value;
    return arg;
}

}  // namespace

HRESULT PropertyList::InvokeSink(DISPID dispid, std::vector<VARIANT>& args) {
    com_ptr<IDispatch> sink = m_ownerDrawSink;
    if (!sink) return S_FALSE;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT argError = 0;
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                    &exception, &argError);
    ::VariantClear(&result);
    for (VARIANT& arg : args) {
        if (!(V_VT(&arg) & VT_BYREF)) ::VariantClear(&arg);
    }
    if (hr == DISP_E_EXCEPTION) throw VbError::FromExcepInfo(exception);
    if (FAILED(hr)) throw VbError::FromHResult(hr);
    return hr;
}

void PropertyList::SinkCommitEdit() {
    std::vector<VARIANT> args{TextArgument(AmbientProperties().DisplayName())};
    InvokeSink(kCommitEdit, args);
}

void PropertyList::SinkHideEditor() {
    std::vector<VARIANT> args{TextArgument(AmbientProperties().DisplayName())};
    InvokeSink(kHideEditor, args);
}

void PropertyList::SinkShowEditor(double left, double top, double width, double height) {
    // The sink receives the selection index itself and may change it.
    int16_t index = CInt(m_selIndex);
    VARIANT indexArg;
    V_VT(&indexArg) = VT_I2 | VT_BYREF;
    V_I2REF(&indexArg) = &index;
    std::vector<VARIANT> args{TextArgument(AmbientProperties().DisplayName()), indexArg,
                              LongArgument(CLng(left)), LongArgument(CLng(top)), LongArgument(CLng(width)),
                              LongArgument(CLng(height))};
    InvokeSink(kShowEditor, args);
    if (index >= -1 && index <= m_lastIndex) m_selIndex = index;
}

}  // namespace zo
