#include "tests/host/dispatch_call.h"

#include <cstdio>
#include <ostream>

#include "common/com_ptr.h"

namespace zo::test {

namespace {

std::wstring TakeBstr(BSTR& text) {
    std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    text = nullptr;
    return result;
}

void CopyException(EXCEPINFO& exception, DispResult& result) {
    // The object may leave the text to be filled in only when someone asks.
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    result.scode = exception.scode ? exception.scode
                                   : (exception.wCode ? static_cast<SCODE>(0x80040200 + exception.wCode) : 0);
    result.code = exception.wCode;
    result.source = TakeBstr(exception.bstrSource);
    result.description = TakeBstr(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    exception.bstrHelpFile = nullptr;
}

DispResult ByName(IDispatch* object, std::wstring_view name, WORD flags, std::vector<Variant> args) {
    std::optional<DISPID> dispid = DispIdOf(object, name);
    if (!dispid) {
        DispResult result;
        result.hr = object ? DISP_E_UNKNOWNNAME : E_POINTER;
        return result;
    }
    return InvokeById(object, *dispid, flags, std::move(args));
}

}  // namespace

std::string HResultText(HRESULT hr) {
    static const struct { HRESULT hr; const char* name; } kNames[] = {
        {S_OK, "S_OK"}, {S_FALSE, "S_FALSE"}, {E_FAIL, "E_FAIL"}, {E_NOTIMPL, "E_NOTIMPL"},
        {E_INVALIDARG, "E_INVALIDARG"}, {E_POINTER, "E_POINTER"}, {E_NOINTERFACE, "E_NOINTERFACE"},
        {E_UNEXPECTED, "E_UNEXPECTED"}, {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"}, {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
        {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"}, {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
        {DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND"}, {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
        {DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL"}, {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
        {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"}, {DISP_E_NONAMEDARGS, "DISP_E_NONAMEDARGS"},
        {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
    };
    for (const auto& entry : kNames)
        if (entry.hr == hr) return entry.name;
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::string DispResult::Describe() const {
    std::string text = HResultText(hr);
    if (hr == DISP_E_EXCEPTION) {
        text += " scode " + HResultText(scode);
        if (code) text += " wCode " + std::to_string(code);
        text += " " + Narrow(source) + ": " + Narrow(description);
    } else if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) {
        text += " at argument " + std::to_string(argError);
    } else if (ok() && !value.IsEmpty()) {
        text += " " + Narrow(value.Describe());
    }
    return text;
}

void PrintTo(const DispResult& result, std::ostream* out) { *out << result.Describe(); }

std::optional<DISPID> DispIdOf(IDispatch* object, std::wstring_view name) {
    if (!object) return std::nullopt;
    std::wstring text(name);
    LPOLESTR names[] = {text.data()};
    DISPID dispid = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid))) return std::nullopt;
    return dispid;
}

DispResult InvokeById(IDispatch* object, DISPID dispid, WORD flags, std::vector<Variant> args) {
    DispResult result;
    if (!object) {
        result.hr = E_POINTER;
        return result;
    }
    // Held: the call may make the caller drop its last reference.
    com_ptr<IDispatch> held(object);
    // rgvarg runs from the last argument to the first.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) reversed.push_back(arg->get());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    result.hr = held->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.value.put(), &exception,
                             &argError);
    if (result.hr == DISP_E_EXCEPTION) CopyException(exception, result);
    else {
        // Some objects fill EXCEPINFO without DISP_E_EXCEPTION: free what they gave.
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
    }
    // Reported from the end of rgvarg: turn it into the call-order position.
    if (argError < params.cArgs) result.argError = params.cArgs - 1 - argError;
    return result;
}

DispResult Call(IDispatch* object, std::wstring_view name, std::vector<Variant> args, WORD flags) {
    return ByName(object, name, flags, std::move(args));
}

DispResult Put(IDispatch* object, std::wstring_view name, const Variant& value) {
    return PutIndexed(object, name, {}, value);
}

DispResult PutIndexed(IDispatch* object, std::wstring_view name, std::vector<Variant> index, const Variant& value) {
    index.push_back(value);
    return ByName(object, name, DISPATCH_PROPERTYPUT, std::move(index));
}

DispResult PutRef(IDispatch* object, std::wstring_view name, const Variant& value) {
    return PutRefIndexed(object, name, {}, value);
}

DispResult PutRefIndexed(IDispatch* object, std::wstring_view name, std::vector<Variant> index,
                         const Variant& value) {
    index.push_back(value);
    return ByName(object, name, DISPATCH_PROPERTYPUTREF, std::move(index));
}

}  // namespace zo::test
