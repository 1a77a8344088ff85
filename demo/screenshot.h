// Taking the demo's screenshot: waiting, without sleeping, until everything
// on the window has painted, then saving its client area as a PNG.
#pragma once

#include <windows.h>

#include <functional>

namespace zo::demo {

// Dispatches the thread's messages until `window` is shown, the queue is
// empty and neither it nor any window inside it has anything left to paint,
// checked over a few consecutive rounds. Gives up after `maxRounds` rounds
// and returns false; never waits for input. A WM_QUIT found is posted again.
// `preTranslate` sees each message first, as the demo's message loop does;
// a message it takes is not dispatched.
using MessageFilter = std::function<bool(MSG&)>;
[[nodiscard]] bool PumpUntilPainted(HWND window, const MessageFilter& preTranslate = {}, int maxRounds = 300);

// Captures the client area of `window`, the windows inside it included, into
// a 32-bit DIB and writes it to `path` as a PNG through WIC. COM must be
// initialised on the calling thread. Throws DemoError.
void SaveClientAreaAsPng(HWND window, const wchar_t* path);

}  // namespace zo::demo
