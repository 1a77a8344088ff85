// Running the thread's message queue from a test, the way a host's message
// loop would, without ever sleeping blindly.
#pragma once

#include <windows.h>

#include <functional>

namespace zo::test {

// Offered every message before it is dispatched; returns true when it has
// handled the message itself (a container's accelerator translation).
using MessageFilter = std::function<bool(MSG&)>;

// Upper bound on the messages handled by one PumpMessages call, so that a
// window that keeps posting to itself cannot hang a test.
inline constexpr int kMaxPumpedMessages = 10000;

// Translates and dispatches queued messages until the queue is empty (or
// `maxMessages` have been handled). Returns how many were handled. A WM_QUIT
// found in the queue stops the pump and is posted again for the caller.
int PumpMessages(const MessageFilter& filter = {}, int maxMessages = kMaxPumpedMessages);

// Pumps messages until `done()` is true or `timeoutMs` has passed; between
// batches it waits for new input with MsgWaitForMultipleObjectsEx for the
// time that remains. Returns false on timeout.
[[nodiscard]] bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs,
                             const MessageFilter& filter = {});

}  // namespace zo::test
