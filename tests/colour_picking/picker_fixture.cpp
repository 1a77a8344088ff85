#include "tests/colour_picking/picker_fixture.h"

#include <cmath>

#include "common/handles.h"
#include "tests/host/message_pump.h"
#include "tests/host/mouse_input.h"

namespace zo::test {

namespace {

[[maybe_unused]] auto* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace

void PressAt(POINT screen, Button button) {
    SendMouseAt(button == Button::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN,
              button == Button::Left ? MK_LBUTTON : MK_RBUTTON, screen);
}

void MoveTo(POINT screen, Button held) {
    SendMouseAt(WM_MOUSEMOVE, held == Button::Left ? MK_LBUTTON : MK_RBUTTON, screen);
}

void ReleaseAt(POINT screen, Button button) {
    SendMouseAt(button == Button::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, screen);
}

void HoverAt(POINT screen) { SendMouseAt(WM_MOUSEMOVE, 0, screen); }

COLORREF Rgb(int32_t colour) { return static_cast<COLORREF>(colour) & 0x00FFFFFF; }

void PickerTest::SetUp() {
    HostOptions options;
    options.position = {20, 20, 170, 197};
    ASSERT_TRUE(Hosted(container.Host(kColorPickerProgId, options)));
    picker = container.Dispatch();
    ASSERT_NE(picker, nullptr);
    ASSERT_EQ(events.Connect(container.Control()), S_OK);
    ::SetForegroundWindow(container.FrameHwnd());
    PumpMessages();
}

void PickerTest::TearDown() {
    if (::GetCapture()) ::ReleaseCapture();
    (void)events.Disconnect();
    picker.reset();
    container.Close();
    EXPECT_EQ(container.ControlRefsAfterClose(), 0u) << "the picker outlived its container";
    PumpMessages();
}

HWND PickerTest::GridWindow() {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Get(picker.get(), L"hWndColors").value.ToLong()));
}

HWND PickerTest::ListWindow() {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Get(picker.get(), L"hWndList").value.ToLong()));
}

int32_t PickerTest::Colors(int x, int y) {
    return Get(picker.get(), L"Colors", static_cast<int16_t>(x), static_cast<int16_t>(y)).value.ToLong();
}

void PickerTest::SetColors(int x, int y, int32_t colour) {
    EXPECT_TRUE(DispOk(PutIndexed(picker.get(), L"Colors",
                                  {Variant(static_cast<int16_t>(x)), Variant(static_cast<int16_t>(y))},
                                  Variant(colour))));
}

int32_t PickerTest::Color() { return Get(picker.get(), L"Color").value.ToLong(); }

POINT PickerTest::GridPoint(int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(GridWindow(), &point);
    return point;
}

POINT PickerTest::CellCentre(int x, int y) { return GridPoint((x - 1) * kCellPitch + 8, (y - 1) * kCellPitch + 8); }

POINT PickerTest::PickerPoint(int x, int y) const {
    POINT point{x, y};
    ::ClientToScreen(PickerWindow(), &point);
    return point;
}

void PickerTest::ClickCell(int x, int y, Button button) {
    PressAt(CellCentre(x, y), button);
    ReleaseAt(CellCentre(x, y), button);
}

std::vector<int32_t> PickerTest::Picks() const {
    std::vector<int32_t> picks;
    for (const EventCall& call : events.Calls()) {
        if (call.dispid == kColorPickedEvent) picks.push_back(call.args.at(0).ToLong());
    }
    return picks;
}

CapturedBitmap PickerTest::GridPicture() {
    PumpMessages();
    return CapturedBitmap::Capture(GridWindow(), CaptureMethod::PrintClient);
}

CapturedBitmap PickerTest::PickerPicture() {
    PumpMessages();
    return CapturedBitmap::Capture(PickerWindow(), CaptureMethod::PrintClient);
}

int PickerTest::TabStart(int tab) {
    Variant font = Get(picker.get(), L"Font").value;
    com_ptr<IFont> object = font.ToUnknown().query<IFont>();
    HFONT handle = nullptr;
    if (object) (void)object->get_hFont(&handle);
    unique_hdc_window dc(nullptr);
    unique_select selected(dc.get(), handle);
    int left = 3;
    const wchar_t* captions[] = {L"Palette", L"System"};
    for (int i = 1; i < tab; ++i) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), captions[i - 1], static_cast<int>(wcslen(captions[i - 1])), &size);
        left += size.cx + 2 * 8 + 1;
    }
    return left;
}

}  // namespace zo::test
