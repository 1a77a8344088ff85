#include "demo/dispatch_calls.h"

#include "common/handles.h"
#include "demo/report.h"

namespace zo::demo {

Args::~Args() {
    for (VARIANT& value : m_values) ::VariantClear(&value);
}

VARIANT& Args::Push() {
    VARIANT& value = m_values.emplace_back();
    ::VariantInit(&value);
    return value;
}

Args& Args::Text(std::wstring_view text) {
    VARIANT& value = Push();
    V_BSTR(&value) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!V_BSTR(&value)) throw DemoError(L"Out of memory for a string argument");
    V_VT(&value) = VT_BSTR;
    return *this;
}

Args& Args::Long(long number) {
    VARIANT& value = Push();
    V_VT(&value) = VT_I4;
    V_I4(&value) = number;
    return *this;
}

Args& Args::Bool(bool flag) {
    VARIANT& value = Push();
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return *this;
}

Args& Args::Object(IDispatch* object) {
    VARIANT& value = Push();
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = object;
    if (object) object->AddRef();  // VariantClear in the destructor releases it
    return *this;
}

namespace {

void Invoke(IDispatch* object, const wchar_t* name, WORD kind, const Args& args, VARIANT* result = nullptr) {
    const std::wstring step = std::wstring(L"Calling ") + name;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), step + L" (looking up the name)");

    std::vector<VARIANT> values = args.Reversed();
    DISPID namedValue = DISPID_PROPERTYPUT;
    DISPPARAMS params{values.data(), nullptr, args.Count(), 0};
    if (kind & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedValue;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception,
                                      &argumentError);
    if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
        helpFile(exception.bstrHelpFile);
    if (SUCCEEDED(hr)) return;
    if (hr == DISP_E_EXCEPTION && description) {
        const HRESULT reported = exception.scode ? exception.scode : MAKE_HRESULT(1, FACILITY_CONTROL, exception.wCode);
        throw DemoError(step + L": " + description.get() + L" [" + DescribeHresult(reported) + L"]");
    }
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && argumentError < args.Count())
        throw DemoError(step + L" (argument " + std::to_wstring(args.Count() - argumentError) + L")", hr);
    throw DemoError(step, hr);
}

}  // namespace

void CallMethod(IDispatch* object, const wchar_t* name, const Args& args) {
    Invoke(object, name, DISPATCH_METHOD, args);
}

void PutProperty(IDispatch* object, const wchar_t* name, const Args& args) {
    Invoke(object, name, DISPATCH_PROPERTYPUT, args);
}

std::wstring GetPropertyText(IDispatch* object, const wchar_t* name, const Args& args) {
    unique_variant value;
    Invoke(object, name, DISPATCH_PROPERTYGET, args, &value);
    unique_variant text;
    Check(::VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR),
          std::wstring(L"Reading ") + name + L" as text");
    return V_BSTR(&text) ? std::wstring(V_BSTR(&text), ::SysStringLen(V_BSTR(&text))) : std::wstring();
}

long GetPropertyLong(IDispatch* object, const wchar_t* name, const Args& args) {
    unique_variant value;
    Invoke(object, name, DISPATCH_PROPERTYGET, args, &value);
    unique_variant number;
    Check(::VariantChangeType(&number, &value, 0, VT_I4), std::wstring(L"Reading ") + name + L" as a number");
    return V_I4(&number);
}

}  // namespace zo::demo
