// A PropertyList as containers host it: created by its ProgID, activated in
// place, describing and firing its events through connection points, and in
// the system's own ATL container, which offers no ambient properties at all.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ZoPropertyList.h"
#include "tests/host/atl_host.h"
#include "tests/host/com_object.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

class HostingTest : public PropertyListTest {};

TEST_F(HostingTest, TheControlIsInPlaceActiveAndVisibleWhereTheContainerPutIt) {
    HostOptions options;
    options.position = {20, 30, 300, 230};
    ASSERT_TRUE(HostList(options));

    EXPECT_TRUE(container.InPlaceActive());
    HWND window = container.ControlHwnd();
    ASSERT_TRUE(window);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(::GetParent(window), container.FrameHwnd());
    RECT rect{};
    ASSERT_TRUE(::GetWindowRect(window, &rect));
    ::MapWindowPoints(nullptr, container.FrameHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(rect.bottom, 230);
}

TEST_F(HostingTest, TheClassNamesItsEventInterfaceAsItsDefaultSource) {
    ASSERT_TRUE(HostList());
    auto classInfo = container.Query<IProvideClassInfo2>();
    ASSERT_TRUE(classInfo);
    GUID source = GUID_NULL;
    ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(IsEqualGUID(source, DIID___PropertyList));

    auto points = container.Query<IConnectionPointContainer>();
    ASSERT_TRUE(points);
    for (const IID* iid : {&DIID___PropertyList, &IID_IPropertyNotifySink}) {
        com_ptr<IConnectionPoint> point;
        EXPECT_EQ(points->FindConnectionPoint(*iid, point.put()), S_OK);
        IID reported = IID_NULL;
        if (point) {
            EXPECT_EQ(point->GetConnectionInterface(&reported), S_OK);
        }
        EXPECT_TRUE(IsEqualGUID(reported, *iid));
    }
}

TEST_F(HostingTest, EveryConnectedSinkReceivesTheEventEvenWhenAnotherFails) {
    ASSERT_TRUE(HostList());
    EventRecorder second, third;
    ASSERT_EQ(second.Connect(container.Control(), DIID___PropertyList), S_OK);
    ASSERT_EQ(third.Connect(container.Control(), DIID___PropertyList), S_OK);
    EXPECT_NE(events.Cookie(), second.Cookie());
    EXPECT_NE(second.Cookie(), third.Cookie());
    // A host whose handler fails does not keep the others from hearing.
    second.On(list_event::Resize, [](EventArgs& args) { args.result = E_FAIL; });

    ASSERT_TRUE(DispOk(Add(L"Row")));

    for (EventRecorder* recorder : {&events, &second, &third}) EXPECT_EQ(recorder->Count(list_event::Resize), 1u);

    // A sink that is disconnected hears nothing more.
    ASSERT_EQ(third.Disconnect(), S_OK);
    ASSERT_TRUE(DispOk(Add(L"Another row")));
    EXPECT_EQ(events.Count(list_event::Resize), 2u);
    EXPECT_EQ(third.Count(list_event::Resize), 1u);
    (void)second.Disconnect();
}

// The control in the system's ATL container: created by ProgID, with the
// message boxes recorded; at the end the container must leave no reference.
class AtlContainer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(host.ClassName().empty()) << "the ATL container window class is not available";
        ASSERT_EQ(host.Create(kPropertyListProgId), S_OK);
        boxes.emplace();
        control = host.Control();
        ASSERT_TRUE(control);
    }
    void TearDown() override {
        if (boxes) {
            EXPECT_EQ(boxes->Count(), 0u);
        }
        host.Destroy();
        if (control) {
            EXPECT_EQ(ReleaseLast(control), 0u) << "the ATL container left references on the control";
        }
    }

    AtlHost host;
    std::optional<MessageBoxRecorder> boxes;
    com_ptr<IUnknown> control;
};

TEST_F(AtlContainer, HostsTheControlWhichIsCalledByNameAndRaisesEvents) {
    {
        EventRecorder events;
        ASSERT_EQ(events.Connect(control.get(), DIID___PropertyList), S_OK);
        com_ptr<IDispatch> list = host.Dispatch();
        ASSERT_TRUE(list);

        ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Colour"), Variant(L"&HFF"), Variant(false),
                                                     Variant(kColourRow)})));
        ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Caption")})));
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(L"Hello"))));

        EXPECT_EQ(Get(list.get(), L"ListCount").value.ToShort(), 2);
        EXPECT_EQ(Get(list.get(), L"Value", 0).value.ToString(), L"255");
        EXPECT_EQ(Get(list.get(), L"Value", 1).value.ToString(), L"Hello");
        EXPECT_EQ(events.Count(list_event::Resize), 2u);
        EXPECT_TRUE(events.HandlerErrors().empty());
        (void)events.Disconnect();
    }
}

// The ATL container answers no ambient property, so the control runs as at
// run time there: its list scrolls.
TEST_F(AtlContainer, RunsTheControlInUserMode) {
    {
        EventRecorder events;
        ASSERT_EQ(events.Connect(control.get(), DIID___PropertyList), S_OK);
        com_ptr<IDispatch> list = host.Dispatch();
        for (int i = 0; i < 40; ++i)
            ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Row " + std::to_wstring(i))})));

        EXPECT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(4))));
        EXPECT_EQ(Get(list.get(), L"TopIndex").value.ToShort(), 4);
        EXPECT_EQ(events.Count(list_event::Scroll), 1u);
        (void)events.Disconnect();
    }
}

// In the system's ATL container a row is edited in place: a press opens the
// text box, a click into it gives it the focus (the control becomes the
// container's active object), and Enter commits the typed text.
TEST_F(AtlContainer, EditsARowInPlaceWithTheMouseAndTheKeyboard) {
    {
        EventRecorder events;
        ASSERT_EQ(events.Connect(control.get(), DIID___PropertyList), S_OK);
        com_ptr<IDispatch> list = host.Dispatch();
        ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(L"Caption"), Variant(L"old")})));
        HWND window = nullptr;
        ASSERT_HRESULT_SUCCEEDED(control.query<IOleWindow>()->GetWindow(&window));
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        HWND editor = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
        ASSERT_TRUE(editor && ::IsWindowVisible(editor));
        ::SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(::GetFocus(), editor);
        ::SetWindowTextW(editor, L"new");
        ::SendMessageW(editor, WM_CHAR, VK_RETURN, 0);
        EXPECT_EQ(Get(list.get(), L"Value", 0).value.ToString(), L"new");
        EXPECT_EQ(events.Count(list_event::ValueChanged), 1u);
        EXPECT_FALSE(::IsWindowVisible(editor));
        (void)events.Disconnect();
    }
}

// In the ATL container the keyboard moves the selection and starts an edit.
TEST_F(AtlContainer, TheKeyboardMovesTheSelectionAndStartsAnEdit) {
    com_ptr<IDispatch> list = host.Dispatch();
    for (const wchar_t* name : {L"First", L"Second"})
        ASSERT_TRUE(DispOk(Call(list.get(), L"Add", {Variant(name), Variant(L"v")})));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(0))));
    HWND window = nullptr;
    ASSERT_HRESULT_SUCCEEDED(control.query<IOleWindow>()->GetWindow(&window));
    ::SetFocus(window);
    ::SendMessageW(::GetFocus(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Get(list.get(), L"Selected").value.ToShort(), 1);
    ::SendMessageW(::GetFocus(), WM_CHAR, L'z', 0);
    HWND editor = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(editor);
    EXPECT_EQ(::GetFocus(), editor);
    ::SendMessageW(editor, WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(Get(list.get(), L"Value", 1).value.ToString(), L"z");
}

}  // namespace
}  // namespace zo::test
