#pragma once

namespace zo {

// Lets the messages already waiting in this thread's queue run, as a
// handler that yields to the host's loop would. Bounded so that a window
// that keeps posting to itself cannot hold the caller forever.
void DoEvents() noexcept;

}  // namespace zo
