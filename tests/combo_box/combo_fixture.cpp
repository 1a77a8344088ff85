#include "tests/combo_box/combo_fixture.h"

#include <algorithm>

#include "common/twips.h"
#include "runtime/fonts.h"
#include "tests/host/gtest_support.h"
#include "tests/host/message_pump.h"
#include "tests/host/mouse_input.h"

namespace zo::test {

namespace {

[[maybe_unused]] auto* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

constexpr wchar_t kParentClass[] = L"ZoComboTestParent";

HWND CreateParent() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kParentClass;
    ::RegisterClassExW(&windowClass);  // fails harmlessly when registered already
    return ::CreateWindowExW(0, kParentClass, L"combo test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 400,
                             300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}


}  // namespace

int RecordedComboEvents::Count(const wchar_t* name) const {
    return static_cast<int>(std::count(names.begin(), names.end(), std::wstring(name)));
}

void ComboFixture::SetUp() {
    parent = CreateParent();
    ASSERT_NE(parent, nullptr);
    ::SetForegroundWindow(parent);
    combo = std::make_unique<ZoComboBox>();
    combo->Create(parent);
    ASSERT_NE(combo->hWnd(), nullptr);
    combo->SetFont(CreateStdFont(FontDescription{}));
    combo->Move(TwipsFromPixelsX(kLeftPx), TwipsFromPixelsY(kTopPx), TwipsFromPixelsX(kWidthPx),
                TwipsFromPixelsY(kHeightPx));
    combo->SetEvents(&events);
    combo->Subclass();
    PumpMessages();
}

void ComboFixture::TearDown() {
    combo.reset();
    if (::GetCapture()) ::ReleaseCapture();
    if (parent) ::DestroyWindow(parent);
    PumpMessages();
}

void ComboFixture::AddRows(const std::vector<std::wstring>& rows) {
    for (const std::wstring& row : rows) combo->Add(row);
}

void ComboFixture::AddNumberedRows(int count) {
    for (int i = 0; i < count; ++i) combo->Add(L"row " + std::to_wstring(i));
}

void ComboFixture::Press(POINT screen) { SendMouseAt(WM_LBUTTONDOWN, MK_LBUTTON, screen); }
void ComboFixture::Release(POINT screen) { SendMouseAt(WM_LBUTTONUP, 0, screen); }
void ComboFixture::MoveMouse(POINT screen) { SendMouseAt(WM_MOUSEMOVE, 0, screen); }

POINT ComboFixture::ButtonCentre() const {
    RECT rect{};
    ::GetWindowRect(combo->ButtonWindow(), &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ComboFixture::RowCentre(int row) const {
    RECT rect{};
    ::SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(List(), &point);
    return point;
}

void ComboFixture::OpenWithButton() {
    Click(ButtonCentre());
    ASSERT_TRUE(ListVisible());
    ASSERT_EQ(::GetCapture(), List());
}

}  // namespace zo::test
