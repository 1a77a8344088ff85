// Late-bound calls by name, the way a script host calls a control:
// GetIDsOfNames, then IDispatch::Invoke with the arguments in call order.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/host/variant.h"

namespace zo::test {

struct DispResult {
    HRESULT hr = E_UNEXPECTED;
    Variant value;  // the result of a get or a function
    // From EXCEPINFO (deferred fill-in already done) when hr is DISP_E_EXCEPTION.
    SCODE scode = 0;
    WORD code = 0;
    std::wstring source;
    std::wstring description;
    UINT argError = 0;  // for DISP_E_TYPEMISMATCH / DISP_E_PARAMNOTFOUND, in call order

    [[nodiscard]] bool ok() const noexcept { return SUCCEEDED(hr); }
    // The error a caller sees: the EXCEPINFO's scode for DISP_E_EXCEPTION, else hr.
    [[nodiscard]] HRESULT error() const noexcept { return hr == DISP_E_EXCEPTION ? scode : hr; }
    // "S_OK VT_I4 5" or "DISP_E_EXCEPTION scode 0x80040001 PropertyList.LongestItem: Property Let not supported."
    [[nodiscard]] std::string Describe() const;
};
void PrintTo(const DispResult& result, std::ostream* out);

// DISPID of a member by name; nullopt when GetIDsOfNames does not know it.
[[nodiscard]] std::optional<DISPID> DispIdOf(IDispatch* object, std::wstring_view name);

// Invoke by DISPID. `args` in call order; `flags` DISPATCH_METHOD, _PROPERTYGET,
// _PROPERTYPUT or _PROPERTYPUTREF (a put passes DISPID_PROPERTYPUT as the
// named argument for the last entry of `args`, the value).
[[nodiscard]] DispResult InvokeById(IDispatch* object, DISPID dispid, WORD flags, std::vector<Variant> args = {});

// A method call. Script hosts call a function whose value they use with
// DISPATCH_METHOD | DISPATCH_PROPERTYGET; pass that in `flags` to do the same.
[[nodiscard]] DispResult Call(IDispatch* object, std::wstring_view name, std::vector<Variant> args = {},
                              WORD flags = DISPATCH_METHOD);

// A property get, with optional index arguments: Get(list, L"Value", 3).
template <typename... Index>
[[nodiscard]] DispResult Get(IDispatch* object, std::wstring_view name, Index&&... index) {
    return Call(object, name, std::vector<Variant>{Variant(std::forward<Index>(index))...}, DISPATCH_PROPERTYGET);
}

// A property let: Put(list, L"BackColor", 255).
[[nodiscard]] DispResult Put(IDispatch* object, std::wstring_view name, const Variant& value);
// An indexed property let: PutIndexed(list, L"Value", {3}, L"text").
[[nodiscard]] DispResult PutIndexed(IDispatch* object, std::wstring_view name, std::vector<Variant> index,
                                    const Variant& value);
// A property set by reference: PutRef(list, L"Font", fontDispatch).
[[nodiscard]] DispResult PutRef(IDispatch* object, std::wstring_view name, const Variant& value);
[[nodiscard]] DispResult PutRefIndexed(IDispatch* object, std::wstring_view name, std::vector<Variant> index,
                                       const Variant& value);

// Names for HRESULTs a dispatch call returns ("DISP_E_EXCEPTION"), else hex.
[[nodiscard]] std::string HResultText(HRESULT hr);

}  // namespace zo::test
