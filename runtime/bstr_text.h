// Text across the COM boundary: a BSTR read as a string (null is empty) and
// a string handed out as a new BSTR.
#pragma once

#include <oleauto.h>

#include <string>
#include <string_view>

namespace zo {

[[nodiscard]] inline std::wstring TextOf(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

// Stores a new BSTR in *out; E_OUTOFMEMORY when it cannot be made.
[[nodiscard]] inline HRESULT NewBstr(std::wstring_view text, BSTR* out) {
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace zo
