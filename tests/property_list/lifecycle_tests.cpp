// A PropertyList in its container: design mode against run mode as the
// container's ambient properties decide it, what the scroll position does in
// each, ambient changes, and the about box.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>

#include "tests/host/ambient_properties.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

class LifecycleTest : public PropertyListTest {
protected:
    // Enough rows that the list scrolls in the default 320 x 240 pixel site.
    void AddManyRows() {
        for (int i = 0; i < 40; ++i) ASSERT_TRUE(DispOk(Add(L"Row " + std::to_wstring(i), L"value")));
    }
};

// Counts the paint messages a window receives while it lives, through a
// window procedure placed in front of the window's own.
class PaintCounter {
public:
    explicit PaintCounter(HWND window) : m_window(window) {
        s_active = this;
        m_previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintCounter::Procedure)));
    }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    ~PaintCounter() {
        if (::IsWindow(m_window))
            ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        s_active = nullptr;
    }

    // Paints received, plus one when painting is still pending.
    [[nodiscard]] int Paints() const {
        return m_paints + (::GetUpdateRect(m_window, nullptr, FALSE) ? 1 : 0);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        PaintCounter* self = s_active;
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_PAINT) ++self->m_paints;
        return ::CallWindowProcW(self->m_previous, window, message, wParam, lParam);
    }

    static inline PaintCounter* s_active = nullptr;
    HWND m_window;
    WNDPROC m_previous = nullptr;
    int m_paints = 0;
};

TEST_F(LifecycleTest, TopIndexInDesignModeFailsWithObjectNotSet) {
    container.Ambient().userMode = false;
    ASSERT_TRUE(HostList());
    AddNamed({L"A", L"B"});

    const DispResult results[] = {Get(list.get(), L"TopIndex"), Put(list.get(), L"TopIndex", Short(1))};
    for (const DispResult& result : results) {
        SCOPED_TRACE(result.Describe());
        EXPECT_TRUE(DispRaised(result, kObjectNotSetError));
        EXPECT_EQ(result.description, L"Object variable or With block variable not set");
    }
    EXPECT_EQ(events.Count(list_event::Scroll), 0u);
}

TEST_F(LifecycleTest, TopIndexAtRunTimeKeepsThePositionAndRaisesScroll) {
    ASSERT_TRUE(HostList());
    AddManyRows();
    EXPECT_EQ(Property(L"TopIndex").ToShort(), 0);
    for (int top : {5, 0, 12, 12}) {
        SCOPED_TRACE(testing::Message() << "TopIndex = " << top);
        events.Clear();
        ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(top))));
        container.Pump();
        EXPECT_EQ(Property(L"TopIndex").ToShort(), top);
        EXPECT_EQ(events.Count(list_event::Scroll), 1u);
    }
}

TEST_F(LifecycleTest, AContainerWithoutAmbientPropertiesRunsTheControlInUserMode) {
    for (AmbientSupply supply : {AmbientSupply::None, AmbientSupply::NoDispatch}) {
        SCOPED_TRACE(supply == AmbientSupply::None ? "no ambient answered" : "no ambient dispatch");
        container.Ambient().supply = supply;
        container.Ambient().userMode = false;  // never asked for, so never seen
        ASSERT_TRUE(HostList());
        AddManyRows();

        EXPECT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(3))));
        EXPECT_EQ(Property(L"TopIndex").ToShort(), 3);
        EXPECT_EQ(events.Count(list_event::Scroll), 1u);
        CloseList();
    }
}

TEST_F(LifecycleTest, AControlWithoutAClientSiteIsInDesignMode) {
    HostOptions options;
    options.clientSite = false;
    ASSERT_TRUE(HostList(options));
    AddNamed({L"A"});

    EXPECT_TRUE(DispRaised(Get(list.get(), L"TopIndex"), kObjectNotSetError));
    EXPECT_TRUE(DispRaised(Put(list.get(), L"TopIndex", Short(0)), kObjectNotSetError));
    // The store itself works without a site.
    EXPECT_EQ(ListCount(), 1);
    EXPECT_EQ(Item(0), L"A");
}

TEST_F(LifecycleTest, OnlyAChangedDisplayNameRepaintsTheControl) {
    struct Case {
        const char* what;
        DISPID ambient;
        bool repaints;
    };
    const Case cases[] = {
        {"display name", DISPID_AMBIENT_DISPLAYNAME, true},
        {"locale", DISPID_AMBIENT_LOCALEID, false},
        {"back colour", DISPID_AMBIENT_BACKCOLOR, false},
    };
    for (bool userMode : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (userMode ? " at run time" : " at design time"));
            container.Ambient().userMode = userMode;
            container.Ambient().displayName = L"List";
            ASSERT_TRUE(HostList());
            AddNamed({L"A"});
            container.Pump();
            HWND window = container.ControlHwnd();
            ASSERT_TRUE(window);
            PaintCounter counter(window);
            ASSERT_EQ(counter.Paints(), 0);

            container.Ambient().displayName = L"Renamed list";
            ASSERT_TRUE(SUCCEEDED(container.AmbientChanged(c.ambient)));
            EXPECT_EQ(counter.Paints() > 0, c.repaints);
            container.Pump();
            CloseList();
        }
    }
}

TEST_F(LifecycleTest, TheAboutBoxShowsTheVersion) {
    ASSERT_TRUE(HostList());
    const std::wregex versionLine(L"(^|\n)Version 1\\.0\\.(0|[1-9][0-9]*)(\r?\n|$)");
    const std::function<DispResult()> calls[] = {
        [&] { return Call(list.get(), L"ShowAboutBox"); },
        [&] { return InvokeById(list.get(), DISPID_ABOUTBOX, DISPATCH_METHOD); },
    };
    for (const auto& call : calls) {
        EXPECT_TRUE(DispOk(call()));
        const std::vector<MessageBoxCall> shown = TakeMessageBoxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_EQ(shown[0].title, L"About ZoPropertyList");
        EXPECT_TRUE(std::regex_search(shown[0].text, versionLine)) << Narrow(shown[0].text);
    }
}

TEST_F(LifecycleTest, HideControlsAndCommitPendingDoNothingOnAnEmptyList) {
    ASSERT_TRUE(HostList());
    struct Case {
        const char* what;
        const wchar_t* method;
        std::vector<Variant> args;
    };
    VARIANT_BOOL notify = VARIANT_FALSE;
    const Case cases[] = {
        {"HideControls", L"HideControls", {}},
        {"CommitPending(True)", L"CommitPending", {Variant(true)}},
        {"CommitPending(False)", L"CommitPending", {Variant(false)}},
        {"CommitPending(ByRef False)", L"CommitPending", {Variant::RefBool(&notify)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(DispOk(Call(list.get(), c.method, c.args)));
    }
    // And after a Clear, with the blank record left behind.
    ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
    EXPECT_TRUE(DispOk(Call(list.get(), L"CommitPending", {Variant(true)})));
    EXPECT_TRUE(DispOk(Call(list.get(), L"HideControls")));

    EXPECT_EQ(events.Count(list_event::ValueChanged), 0u);
    EXPECT_EQ(ListCount(), 0);
}

// A script host calls CommitPending with no argument at all; the type
// library's default for NotifyChange then applies.
TEST_F(LifecycleTest, CommitPendingWithItsArgumentOmittedDoesNothingOnAnEmptyList) {
    ASSERT_TRUE(HostList());

    EXPECT_TRUE(DispOk(Call(list.get(), L"CommitPending")));

    EXPECT_EQ(events.Count(list_event::ValueChanged), 0u);
    EXPECT_EQ(ListCount(), 0);
}

}  // namespace
}  // namespace zo::test
