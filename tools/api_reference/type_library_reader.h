// Reads a type library into the model the API reference is written from.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "type_library_model.h"

namespace zo::api_reference {

// Every class, interface (the vtable half of a dual one) and enumeration the
// library itself declares, in the library's order; members in declaration
// order.
[[nodiscard]] LibraryInfo ReadLibrary(ITypeLib* library);

// A type as IDL spells it; user-defined types by name (`owner` resolves them).
[[nodiscard]] std::wstring TypeName(ITypeInfo* owner, const TYPEDESC& type);

}  // namespace zo::api_reference
