// Mouse input as the system routes it: to the window holding the capture,
// else to the window under the point, in that window's client coordinates.
#pragma once

#include <windows.h>

namespace zo::test {

// Sends the mouse message for a screen point, then pumps what it posted.
void SendMouseAt(UINT message, WPARAM keys, POINT screen);

}  // namespace zo::test
