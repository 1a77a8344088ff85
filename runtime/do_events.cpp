#include "runtime/do_events.h"

#include <windows.h>

namespace zo {

void DoEvents() noexcept {
    constexpr int kMaxMessages = 10000;
    MSG message;
    for (int i = 0; i < kMaxMessages && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) {
            // Leave the quit request for the host's own loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace zo
