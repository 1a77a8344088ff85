// How the API reference writes members: the attributes, types, defaults and
// by-reference marks a reader of docs/api.md relies on.
#include <gtest/gtest.h>

#include <string>

#include "common/handles.h"
#include "tests/host/variant.h"
#include "tools/api_reference/markdown_writer.h"

namespace zo::api_reference {
namespace {

using zo::test::Narrow;
using zo::test::Variant;

TEST(ApiReferenceFormat, ParametersShowAttributesTypeDefaultAndByReference) {
    const struct {
        ParameterInfo parameter;
        const wchar_t* expected;
    } cases[] = {
        {{L"Name", L"BSTR", PARAMFLAG_FIN, {}}, L"[in] BSTR Name"},
        {{L"Index", L"short", PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT, L"-1"},
         L"[in, optional, defaultvalue(-1)] short Index"},
        {{L"NotifyChange", L"VARIANT_BOOL*", PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
          L"-1"},
         L"[in, out, optional, defaultvalue(-1)] VARIANT_BOOL* NotifyChange (by reference)"},
        {{L"Flags", L"VARIANT*", PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT, {}},
         L"[in, out, optional] VARIANT* Flags (by reference)"},
        {{L"RetVal", L"BSTR*", PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, {}}, L"[out, retval] BSTR* RetVal"},
        {{L"", L"OLE_COLOR", PARAMFLAG_FIN, {}}, L"[in] OLE_COLOR"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Narrow(FormatParameter(test.parameter)), Narrow(test.expected));
}

TEST(ApiReferenceFormat, DefaultValuesAreWrittenAsIdlWritesThem) {
    const struct {
        Variant value;
        const char* expected;
    } cases[] = {
        {Variant(std::int16_t{-1}), "-1"},
        {Variant(LONG{0x7FFFFFFF}), "2147483647"},
        {Variant(L""), "\"\""},
        {Variant(L"say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\""},
        {Variant(true), "VARIANT_TRUE"},
        {Variant(false), "VARIANT_FALSE"},
        {Variant(0.5), "0.5"},
    };
    for (const auto& test : cases) EXPECT_EQ(Narrow(FormatDefaultValue(test.value.get())), test.expected);
}

TEST(ApiReferenceFormat, MemberRowsSplitArgumentsFromTheReturnValue) {
    const struct {
        MemberInfo member;
        const wchar_t* expected;
    } cases[] = {
        {{0x68030003, INVOKE_PROPERTYGET, 0, L"Item", L"Returns | sets the text of the item.",
          {{L"Index", L"short", PARAMFLAG_FIN, {}}, {L"RetVal", L"BSTR*", PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, {}}}},
         L"| 0x68030003 | `Item` | get | `[in] short Index` | `BSTR` | Returns \\| sets the text of the item. |"},
        {{1, INVOKE_FUNC, 0, L"ValueChanged", L"",
          {{L"Name", L"BSTR", PARAMFLAG_FIN, {}},
           {L"Cancel", L"VARIANT_BOOL*", PARAMFLAG_FIN | PARAMFLAG_FOUT, {}}}},
         L"| 1 | `ValueChanged` | method | `[in] BSTR Name`<br>`[in, out] VARIANT_BOOL* Cancel (by reference)` |  |  |"},
        {{-552, INVOKE_FUNC, FUNCFLAG_FHIDDEN, L"ShowAboutBox", L"About.", {}},
         L"| -552 | `ShowAboutBox` | method, hidden |  |  | About. |"},
    };
    for (const auto& test : cases) EXPECT_EQ(Narrow(FormatMemberRow(test.member)), Narrow(test.expected));
}

}  // namespace
}  // namespace zo::api_reference
