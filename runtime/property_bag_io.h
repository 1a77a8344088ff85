// ReadProperty / WriteProperty of a control's property bag: every key read
// with a default, a value equal to its default not stored, names matched
// without regard to case (the bag's business), and fonts stored as objects.
#pragma once

#include <ocidl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/com_ptr.h"

namespace zo {

// Whether a read of `name` that failed with `hr` failed because the bag has
// no such key (bags answer E_INVALIDARG), rather than because the stored
// value cannot be read: then the member keeps its value, not the default.
[[nodiscard]] bool KeyIsMissing(IPropertyBag& bag, const wchar_t* name, HRESULT hr) noexcept;

// Each reader answers the stored value, the default when the key is
// missing, or nothing when the stored value cannot be read as the type
// asked for (the caller then leaves its member as it was).
[[nodiscard]] std::optional<int16_t> ReadInteger(IPropertyBag& bag, const wchar_t* name, int16_t fallback);
[[nodiscard]] std::optional<int32_t> ReadLong(IPropertyBag& bag, const wchar_t* name, int32_t fallback);
[[nodiscard]] std::optional<bool> ReadBoolean(IPropertyBag& bag, const wchar_t* name, bool fallback);
[[nodiscard]] std::optional<std::wstring> ReadString(IPropertyBag& bag, const wchar_t* name,
                                                     const std::wstring& fallback);
[[nodiscard]] com_ptr<IFont> ReadFont(IPropertyBag& bag, const wchar_t* name, com_ptr<IFont> fallback);

// Each writer stores the value unless it equals the default; it reports
// whether the bag accepted what it was given.
bool WriteInteger(IPropertyBag& bag, const wchar_t* name, int16_t value, int16_t fallback) noexcept;
bool WriteLong(IPropertyBag& bag, const wchar_t* name, int32_t value, int32_t fallback) noexcept;
bool WriteBoolean(IPropertyBag& bag, const wchar_t* name, bool value, bool fallback) noexcept;
bool WriteString(IPropertyBag& bag, const wchar_t* name, const std::wstring& value,
                 const std::wstring& fallback) noexcept;
bool WriteFont(IPropertyBag& bag, const wchar_t* name, IFont* value, IFont* fallback) noexcept;

}  // namespace zo
