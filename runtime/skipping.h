// Handlers that skip a failing statement and go on with the next run each
// statement through Skipping: whatever it throws is dropped there.
#pragma once

namespace zo {

template <typename Step>
void Skipping(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace zo
