// The test container hosting the web browser control that Wine ships: a real
// control that activates in place with a window of its own, reads two
// ambient properties, asks for a new rectangle when its Height is set, and
// raises events when its bar properties change. Nothing here navigates.
#include <gtest/gtest.h>

#include "tests/host/control_site.h"
#include "tests/host/event_sink.h"
#include "tests/host/gtest_support.h"

namespace zo::test {
namespace {

constexpr wchar_t kBrowser[] = L"Shell.Explorer.2";
constexpr DISPID kAmbientSilent = -5502;  // the browser's own ambient: no dialogs
constexpr DISPID kOnVisible = 254;

HostOptions BrowserOptions() {
    HostOptions options;
    options.persistence = Persistence::StreamInit;  // the browser has no IPersistPropertyBag
    options.position = RECT{10, 20, 330, 260};
    return options;
}

RECT RectInFrame(HWND window, HWND frame) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST(TestContainer, ActivatesTheControlInPlaceInsideItsFrameAndClosesItCleanly) {
    TestContainer container;
    ASSERT_TRUE(Hosted(container.Host(kBrowser, BrowserOptions())));
    EXPECT_TRUE(::IsWindowVisible(container.FrameHwnd()));
    EXPECT_TRUE(SequenceIs(container.SiteCalls(),
                           {Optional(L"CanInPlaceActivate"), L"OnInPlaceActivate", L"GetWindowContext",
                            L"ShowObject"}));
    EXPECT_TRUE(container.InPlaceActive());
    const HWND window = container.ControlHwnd();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(container.FrameHwnd(), ::GetParent(window));
    ExpectRect(BrowserOptions().position, RectInFrame(window, container.FrameHwnd()));

    container.Close();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(container.InPlaceActive());
    EXPECT_EQ(1u, container.CountSiteCalls(L"OnInPlaceDeactivate"));
    EXPECT_EQ(0u, container.ControlRefsAfterClose());
    EXPECT_EQ(0u, container.SiteRefsAfterClose());
    EXPECT_EQ(nullptr, container.Control());
    container.Close();  // a second close does nothing
}

TEST(TestContainer, AnswersAmbientPropertiesAsConfiguredAndAnnouncesChanges) {
    const struct {
        AmbientSupply supply;
        bool silentSeen;
        bool readsAnything;
    } kCases[] = {
        {AmbientSupply::All, true, true},
        {AmbientSupply::None, false, true},
        {AmbientSupply::NoDispatch, false, false},
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(static_cast<int>(test.supply));
        TestContainer container;
        container.Ambient().supply = test.supply;
        container.Ambient().custom[kAmbientSilent] = Variant(true);
        ASSERT_TRUE(Hosted(container.Host(kBrowser, BrowserOptions())));
        EXPECT_EQ(test.readsAnything, container.AmbientWasRead(kAmbientSilent));
        com_ptr<IDispatch> browser = container.Dispatch();
        EXPECT_EQ(Variant(test.silentSeen), Get(browser.get(), L"Silent").value);

        if (test.supply == AmbientSupply::All) {
            container.Ambient().custom[kAmbientSilent] = Variant(false);
            const size_t readsBefore = container.AmbientReads().size();
            EXPECT_EQ(S_OK, container.AmbientChanged(kAmbientSilent));
            EXPECT_GT(container.AmbientReads().size(), readsBefore);
            EXPECT_EQ(Variant(false), Get(browser.get(), L"Silent").value);
        }
        browser = nullptr;
        container.Close();
        EXPECT_EQ(0u, container.ControlRefsAfterClose());
    }
}

TEST(TestContainer, GrantsTheRectangleTheControlAsksForAndMovesIt) {
    TestContainer container;
    ASSERT_TRUE(Hosted(container.Host(kBrowser, BrowserOptions())));
    com_ptr<IDispatch> browser = container.Dispatch();
    container.ClearSiteCalls();

    // Setting Height makes the control ask its site for a new rectangle.
    EXPECT_TRUE(DispOk(Put(browser.get(), L"Height", 100)));
    EXPECT_EQ(1u, container.CountSiteCalls(L"OnPosRectChange"));
    ExpectRect(RECT{10, 20, 330, 120}, container.Position());
    ExpectRect(RECT{10, 20, 330, 120}, RectInFrame(container.ControlHwnd(), container.FrameHwnd()));

    EXPECT_EQ(S_OK, container.Move(RECT{40, 50, 240, 150}));
    ExpectRect(RECT{40, 50, 240, 150}, RectInFrame(container.ControlHwnd(), container.FrameHwnd()));
    EXPECT_EQ(200, Get(browser.get(), L"Width").value.ToLong());
    browser = nullptr;
}

TEST(TestContainer, HostsWithoutAClientSite) {
    TestContainer container;
    HostOptions options = BrowserOptions();
    options.clientSite = false;
    ASSERT_TRUE(Hosted(container.Host(kBrowser, options)));
    EXPECT_TRUE(container.SiteCalls().empty());
    EXPECT_TRUE(container.AmbientReads().empty());
    EXPECT_EQ(nullptr, container.ControlHwnd());
    EXPECT_EQ(E_UNEXPECTED, container.DoVerb(OLEIVERB_SHOW));
    EXPECT_TRUE(DispOk(Get(container.Dispatch().get(), L"Silent")));
    container.Close();
    EXPECT_EQ(0u, container.ControlRefsAfterClose());
}

TEST(TestContainer, ReportsTheStepThatFailed) {
    TestContainer container;
    HostOptions options = BrowserOptions();
    options.persistence = Persistence::PropertyBag;
    const HostResult result = container.Host(kBrowser, options);
    EXPECT_EQ(E_NOINTERFACE, result.hr);
    EXPECT_EQ("QueryInterface(IPersistPropertyBag)", result.step);
    EXPECT_FALSE(Hosted(result));
    const HostResult unknown = container.Host(L"Zo.NoSuchControl");
    EXPECT_FALSE(unknown.ok());
    EXPECT_EQ("CLSIDFromProgID", unknown.step);
}

TEST(TestContainer, RecordsTheControlsEventsFromItsDefaultSource) {
    TestContainer container;
    ASSERT_TRUE(Hosted(container.Host(kBrowser, BrowserOptions())));
    com_ptr<IDispatch> browser = container.Dispatch();
    EventRecorder events;
    ASSERT_EQ(S_OK, events.Connect(container.Control()));
    EXPECT_EQ(kOnVisible, events.DispIdOf(L"OnVisible"));

    Variant visibleInHandler;
    events.On(L"OnVisible", [&](EventArgs&) { visibleInHandler = Get(browser.get(), L"Visible").value; });
    EXPECT_TRUE(DispOk(Put(browser.get(), L"Visible", false)));
    EXPECT_TRUE(DispOk(Put(browser.get(), L"StatusBar", false)));
    EXPECT_TRUE(SequenceIs(events.Names(), {L"OnVisible", L"OnStatusBar"}));
    EXPECT_EQ((std::vector<Variant>{Variant(false)}), events.Last(kOnVisible).args);
    EXPECT_EQ(Variant(false), visibleInHandler);
    EXPECT_TRUE(events.HandlerErrors().empty());

    EXPECT_EQ(S_OK, events.Disconnect());
    browser = nullptr;
    container.Close();
    EXPECT_EQ(0u, container.ControlRefsAfterClose());
}

}  // namespace
}  // namespace zo::test
