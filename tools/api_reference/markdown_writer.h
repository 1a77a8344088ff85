// Formats the model of a type library as the Markdown of docs/api.md. Pure
// text work: the same model always gives the same bytes.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "type_library_model.h"

namespace zo::api_reference {

// The name IDL gives a base type: VT_I2 "short", VT_BOOL "VARIANT_BOOL".
[[nodiscard]] std::wstring BaseTypeName(VARTYPE vt);

// A default value as IDL writes it in defaultvalue(...): -1, "", 0.5.
[[nodiscard]] std::wstring FormatDefaultValue(const VARIANT& value);

// "[default, source] __PropertyList".
[[nodiscard]] std::wstring FormatImplementedInterface(const std::wstring& name, INT flags);

// A DISPID: small and negative ones (events, standard DISPIDs) in decimal,
// the others in hexadecimal as 0x68030003.
[[nodiscard]] std::wstring FormatMemberId(MEMBERID id);

// One parameter as IDL declares it:
// [in, out, optional, defaultvalue(-1)] VARIANT_BOOL* NotifyChange (by reference)
[[nodiscard]] std::wstring FormatParameter(const ParameterInfo& parameter);

// One member as a row of its interface's table:
// | 0x68030003 | `Item` | get | `[in] short Index` | `BSTR` | Returns the text of the item. |
[[nodiscard]] std::wstring FormatMemberRow(const MemberInfo& member);

// The whole document for the libraries, in the given order.
[[nodiscard]] std::wstring FormatDocument(const std::vector<LibraryInfo>& libraries);

}  // namespace zo::api_reference
