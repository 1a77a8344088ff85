#include "tests/host/message_pump.h"

namespace zo::test {

int PumpMessages(const MessageFilter& filter, int maxMessages) {
    int handled = 0;
    MSG message;
    while (handled < maxMessages && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ++handled;
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (filter && filter(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return handled;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, const MessageFilter& filter) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages(filter);
        if (done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        const DWORD remaining = static_cast<DWORD>(deadline - now);
        // MWMO_INPUTAVAILABLE: also wake for input that arrived before this call
        // but was not removed by the pump (it stopped at its bound).
        const DWORD wait = ::MsgWaitForMultipleObjectsEx(0, nullptr, remaining, QS_ALLINPUT,
                                                         MWMO_INPUTAVAILABLE);
        if (wait == WAIT_TIMEOUT) {
            PumpMessages(filter);
            return done();
        }
    }
}

}  // namespace zo::test
