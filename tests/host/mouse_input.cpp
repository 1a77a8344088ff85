#include "tests/host/mouse_input.h"

#include <gtest/gtest.h>

#include "tests/host/message_pump.h"

namespace zo::test {

void SendMouseAt(UINT message, WPARAM keys, POINT screen) {
    HWND target = ::GetCapture();
    if (!target) target = ::WindowFromPoint(screen);
    ASSERT_NE(target, nullptr) << "no window at " << screen.x << ", " << screen.y;
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    PumpMessages();
}

}  // namespace zo::test
