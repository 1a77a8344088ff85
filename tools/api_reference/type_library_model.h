// What the API reference says about a type library, read once from its
// ITypeLib and then formatted without touching COM again.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

namespace zo::api_reference {

struct ParameterInfo {
    std::wstring name;
    std::wstring type;                        // as IDL spells it: "short*", "SAFEARRAY(BSTR)*"
    USHORT flags = 0;                         // PARAMFLAG_*
    std::optional<std::wstring> defaultValue; // formatted, when the parameter has one
};

struct MemberInfo {
    MEMBERID id = 0;
    INVOKEKIND kind = INVOKE_FUNC;
    WORD flags = 0;  // FUNCFLAG_*
    std::wstring name;
    std::wstring help;
    std::vector<ParameterInfo> parameters;  // the [retval] one included
};

enum class InterfaceKind { Dual, Dispatch, Custom };

struct InterfaceInfo {
    std::wstring name;
    std::wstring guid;
    std::wstring help;
    InterfaceKind kind = InterfaceKind::Custom;
    bool events = false;  // a coclass's [source] interface
    std::vector<MemberInfo> members;
};

struct EnumerationInfo {
    std::wstring name;
    std::wstring help;
    std::vector<std::pair<std::wstring, LONG>> constants;
};

struct ClassInfo {
    std::wstring name;
    std::wstring guid;
    std::wstring help;
    std::vector<std::wstring> interfaces;  // "[default] _PropertyList", "[default, source] __PropertyList"
};

struct LibraryInfo {
    std::wstring name;
    std::wstring guid;
    std::wstring version;
    std::wstring help;
    std::vector<ClassInfo> classes;
    std::vector<InterfaceInfo> interfaces;
    std::vector<EnumerationInfo> enumerations;
};

}  // namespace zo::api_reference
