// The picker in containers: Wine's own ATL container, which answers no
// ambient property (run mode), and a designer (UserMode False), where the
// picker must never subclass its window.
#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/ambient_properties.h"
#include "tests/host/atl_host.h"
#include "tests/host/message_pump.h"

namespace zo::test {

namespace {

bool RunsItsOwnProcedure(HWND window) {
    return ::GetWindowLongPtrW(window, GWLP_WNDPROC) == static_cast<LONG_PTR>(::GetClassLongPtrW(window, GCLP_WNDPROC));
}

HWND HandleOf(const Variant& value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value.ToLong())); }

TEST(PickerInAtlContainer, IsHostedCalledByNameAndReportsAPick) {
    AtlHost host;
    ASSERT_FALSE(host.ClassName().empty()) << "the ATL container window class is not available";
    ASSERT_EQ(host.Create(kColorPickerProgId, {10, 10, 160, 187}), S_OK);
    com_ptr<IUnknown> control = host.Control();
    ASSERT_TRUE(control);
    {
        EventRecorder events;
        ASSERT_EQ(events.Connect(control.get()), S_OK);
        com_ptr<IDispatch> picker = host.Dispatch();
        ASSERT_TRUE(DispOk(Call(picker.get(), L"Show")));
        HWND window = HandleOf(Get(picker.get(), L"hWnd").value);
        EXPECT_FALSE(RunsItsOwnProcedure(window)) << "subclassed at run time";

        POINT cell{3 * kCellPitch + 8, 3 * kCellPitch + 8};
        ::ClientToScreen(HandleOf(Get(picker.get(), L"hWndColors").value), &cell);
        PressAt(cell);
        ReleaseAt(cell);
        ASSERT_EQ(events.Count(kColorPickedEvent), 1u);
        EXPECT_EQ(events.Last(kColorPickedEvent).args.at(0).ToLong(), 0x0000C0C0);
        EXPECT_EQ(events.Last(kColorPickedEvent).name, L"ColorPicked");
        (void)events.Disconnect();
    }
    host.Destroy();
    PumpMessages();
    EXPECT_EQ(control.detach()->Release(), 0u) << "the container left references on the picker";
}

TEST(PickerInDesigner, NeverSubclassesItsWindow) {
    TestContainer container;
    container.Ambient().userMode = false;
    ASSERT_TRUE(Hosted(container.Host(kColorPickerProgId)));
    com_ptr<IDispatch> picker = container.Dispatch();
    EXPECT_TRUE(RunsItsOwnProcedure(container.ControlHwnd()));
    ASSERT_TRUE(DispOk(Call(picker.get(), L"Show", {Variant(int16_t{2})})));
    EXPECT_TRUE(RunsItsOwnProcedure(container.ControlHwnd()));
    picker.reset();
    container.Close();
    EXPECT_EQ(container.ControlRefsAfterClose(), 0u);

    TestContainer running;
    ASSERT_TRUE(Hosted(running.Host(kColorPickerProgId)));
    EXPECT_FALSE(RunsItsOwnProcedure(running.ControlHwnd()));
    running.Close();
    EXPECT_EQ(running.ControlRefsAfterClose(), 0u);
}

}  // namespace

}  // namespace zo::test
