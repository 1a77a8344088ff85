#include "common/dpi.h"

#include "common/handles.h"

namespace zo {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up once: older systems have no GetDpiForWindow.
GetDpiForWindowFunction WindowDpiFunction() noexcept {
    static const auto function = [] {
        HMODULE user = ::GetModuleHandleW(L"user32.dll");
        return user ? reinterpret_cast<GetDpiForWindowFunction>(
                          reinterpret_cast<void*>(::GetProcAddress(user, "GetDpiForWindow")))
                    : nullptr;
    }();
    return function;
}

int ScreenDpi() noexcept {
    unique_hdc_window screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int DpiOfWindow(HWND window) noexcept {
    if (window) {
        if (const GetDpiForWindowFunction function = WindowDpiFunction()) {
            const UINT dpi = function(window);
            if (dpi > 0) return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}

}  // namespace zo
