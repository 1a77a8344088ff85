// Checks shared by the type-library tests of every control: a description's
// members compared with the expected IDL text, its events, enumerations,
// a coclass's interfaces, name binding and the spelling of identifiers.
// The comparisons report through GoogleTest; callers add a SCOPED_TRACE.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/com_ptr.h"
#include "server_test_support.h"

namespace zo::server_tests {

inline constexpr INVOKEKIND kMethod = INVOKE_FUNC;
inline constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET;
inline constexpr INVOKEKIND kPut = INVOKE_PROPERTYPUT;
inline constexpr INVOKEKIND kPutRef = INVOKE_PROPERTYPUTREF;

struct ExpectedMember {
    INVOKEKIND kind;
    std::wstring text;  // as RenderFunction writes it
    SHORT params;
    SHORT optional_params;
    std::wstring help;
};

// Every function of a description, keyed by DISPID and invoke kind (several
// functions share the DISPID of their property).
using ExpectedMembers = std::multimap<MEMBERID, ExpectedMember>;

// Each function `info` declares matches exactly one expected entry (text,
// argument counts, help string), and no expected entry is missing.
void ExpectMembersAre(ITypeInfo* info, const ExpectedMembers& expected);

struct ExpectedEvent {
    MEMBERID id;
    std::wstring text;
    std::wstring help;
};

// The event dispinterface holds exactly these methods.
void ExpectEventsAre(ITypeInfo* events, const std::vector<ExpectedEvent>& expected);

// The dispatch half of a dual interface offers every function of its vtable
// half, as a dispatch function, with the same flags: late-bound clients and
// property browsers read that half.
void ExpectDispatchViewMatches(ITypeInfo* dispatch, ITypeInfo* vtable);

// A control's default interface: a hidden, nonextensible dual interface
// whose vtable half is an automation interface derived from IDispatch.
void ExpectHiddenNonextensibleDual(ITypeInfo* dispatch, ITypeInfo* vtable);
// The vtable half of a dual interface has IDispatch as its one base.
void ExpectDerivedFromIDispatch(ITypeInfo* vtable);

// A public enumeration of the library: its name, and its constants in
// declaration order with their values.
struct ExpectedEnumeration {
    std::wstring_view guid;
    std::string name;
    std::vector<std::pair<std::string, LONG>> members;
};
void ExpectEnumeration(ITypeLib* library, const ExpectedEnumeration& expected);

// A creatable control class implementing its default interface and, as its
// default source, its event interface, and nothing else.
void ExpectCreatableControl(ITypeLib* library, std::wstring_view clsid, const std::string& name,
                            std::wstring_view iid, std::wstring_view events_iid);

// DISPIDs GetIDsOfNames gives for a member name followed by argument names.
[[nodiscard]] std::vector<MEMBERID> IdsOfNames(ITypeInfo* info, std::vector<std::wstring> names);

// The referenced type of a member's first parameter (the value of a property
// put), or null when it is not user-defined.
[[nodiscard]] com_ptr<ITypeInfo> ParameterType(ITypeInfo* info, MEMBERID id, INVOKEKIND kind);

// "{GUID}" of the library holding a description.
[[nodiscard]] std::string ContainingLibrary(ITypeInfo* info);

// Every spelling the library hands out (types, members, constants, the
// arguments of every function), by lower-case name.
[[nodiscard]] std::map<std::wstring, std::set<std::wstring>> SpellingsOf(ITypeLib* library);
[[nodiscard]] std::wstring Lower(std::wstring text);

// "{GUID}" as GuidToString writes it, for comparisons in narrow text.
[[nodiscard]] std::string NarrowBraced(std::wstring_view guid);

}  // namespace zo::server_tests
