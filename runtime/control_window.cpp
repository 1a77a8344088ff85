#include "runtime/control_window.h"

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/module.h"

namespace zo {

namespace {

constexpr wchar_t kControlClass[] = L"ZoUserControl";
constexpr wchar_t kParkingClass[] = L"ZoParkingWindow";

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* handler = reinterpret_cast<WindowMessageHandler*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (handler) handler->OnWindowDestroyed();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (handler && handler->HandleWindowMessage(window, message, wParam, lParam, &result)) return result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Every class the library registered, so that unloading unregisters them all.
std::vector<std::wstring>& RegisteredClasses() noexcept {
    static std::vector<std::wstring> names;
    return names;
}
std::mutex g_classesLock;

}  // namespace

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure, UINT style) noexcept {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(ModuleInstance(), name, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    if (!::RegisterClassExW(&windowClass)) return;
    try {
        const std::lock_guard<std::mutex> lock(g_classesLock);
        RegisteredClasses().emplace_back(name);
    } catch (...) {
        // Without the record the class merely stays until the process ends.
    }
}

namespace {
HWND& ThreadParkingWindow() noexcept {
    thread_local HWND parking = nullptr;
    return parking;
}
}  // namespace

void ReleaseModuleWindows() noexcept {
    if (HWND parking = std::exchange(ThreadParkingWindow(), nullptr); parking && ::IsWindow(parking))
        ::DestroyWindow(parking);
    const std::lock_guard<std::mutex> lock(g_classesLock);
    for (const std::wstring& name : RegisteredClasses()) ::UnregisterClassW(name.c_str(), ModuleInstance());
    RegisteredClasses().clear();
}

HWND ParkingWindow() noexcept {
    HWND& parking = ThreadParkingWindow();
    if (parking && ::IsWindow(parking)) return parking;
    RegisterClassOnce(kParkingClass, ::DefWindowProcW, 0);
    parking = ::CreateWindowExW(WS_EX_TOOLWINDOW, kParkingClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ModuleInstance(), nullptr);
    return parking;
}

HWND CreateControlWindow(WindowMessageHandler& handler, DWORD style, DWORD exStyle) noexcept {
    RegisterClassOnce(kControlClass, ControlWindowProc, CS_OWNDC | CS_DBLCLKS);
    return ::CreateWindowExW(exStyle, kControlClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style, 0, 0,
                             100, 100, ParkingWindow(), nullptr, ModuleInstance(), &handler);
}

bool IsControlWindow(HWND window) noexcept {
    wchar_t name[32] = {};
    return window && ::GetClassNameW(window, name, 32) > 0 && std::wstring_view(name) == kControlClass;
}

UINT ChildFocusMessage() noexcept {
    static const UINT message = ::RegisterWindowMessageW(L"ZoChildFocus");
    return message;
}

void ReportChildFocus(HWND child, bool gained, HWND other) noexcept {
    for (HWND window = ::GetParent(child); window; window = ::GetParent(window)) {
        if (IsControlWindow(window)) {
            ::SendMessageW(window, ChildFocusMessage(), gained ? TRUE : FALSE, reinterpret_cast<LPARAM>(other));
            return;
        }
        if (!(::GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) return;
    }
}

}  // namespace zo
