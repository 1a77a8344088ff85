// Hosting in the system's ATL container window and calling the control by
// name, as a script would: the script control that Wine ships evaluates
// expressions, and raises script errors as dispatch exceptions.
#include <gtest/gtest.h>

#include "tests/host/atl_host.h"
#include "tests/host/control_site.h"
#include "tests/host/gtest_support.h"

namespace zo::test {
namespace {

constexpr wchar_t kScriptControl[] = L"MSScriptControl.ScriptControl";

TEST(AtlHost, HostsByProgIdInEachContainerClassAndCallsByName) {
    const struct {
        AtlVersion version;
        const wchar_t* className;
    } kCases[] = {
        {AtlVersion::Atl, L"AtlAxWin"},
        {AtlVersion::Atl100, L"AtlAxWin100"},
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(Narrow(test.className));
        AtlHost host(test.version);
        EXPECT_EQ(test.className, host.ClassName());
        ASSERT_EQ(S_OK, host.Create(kScriptControl));
        EXPECT_EQ(host.FrameHwnd(), ::GetParent(host.HostWindow()));
        com_ptr<IDispatch> script = host.Dispatch();
        ASSERT_TRUE(script);
        EXPECT_TRUE(DispOk(Put(script.get(), L"Language", L"JScript")));
        EXPECT_EQ(42, ExpectOk(Call(script.get(), L"Eval", {L"6*7"})).value.ToLong());
        script = nullptr;

        const HWND window = host.HostWindow();
        host.Destroy();
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_FALSE(host.Control());
    }
}

TEST(AtlHost, CreateFailsForAnUnknownControl) {
    AtlHost host;
    EXPECT_TRUE(FAILED(host.Create(L"Zo.NoSuchControl")));
}

// The same control in our own container, without activation (it has no
// in-place verb): errors come back as DISP_E_EXCEPTION with their scode.
TEST(DispatchCall, ScriptErrorsArriveAsExceptionsWithTheirCode) {
    TestContainer container;
    HostOptions options;
    options.persistence = Persistence::StreamInit;
    options.activate = false;
    ASSERT_TRUE(Hosted(container.Host(kScriptControl, options)));
    com_ptr<IDispatch> script = container.Dispatch();
    ASSERT_TRUE(DispOk(Put(script.get(), L"Language", L"VBScript")));

    const DispResult sum = Call(script.get(), L"Eval", {L"1+2"}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_TRUE(DispOk(sum));
    EXPECT_EQ(Variant(std::int16_t{3}), sum.value);

    EXPECT_TRUE(DispRaised(Call(script.get(), L"Eval", {L"1/0"}), DISP_E_DIVBYZERO));
    const DispResult raised =
        Call(script.get(), L"ExecuteStatement", {L"Err.Raise vbObjectError + 1, \"Src\", \"Desc\""});
    EXPECT_TRUE(DispRaised(raised, static_cast<SCODE>(0x80040001)));
    EXPECT_EQ(static_cast<HRESULT>(0x80040001), raised.error());
    EXPECT_FALSE(DispRaised(sum, static_cast<SCODE>(0x80040001)));

    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(script.get(), L"Eval").hr);
    script = nullptr;
    container.Close();
    EXPECT_EQ(0u, container.ControlRefsAfterClose());
}

}  // namespace
}  // namespace zo::test
