// The transparent painter shared by every control on a thread. It lives as
// long as any control uses it: each user holds a reference, and the last one
// to let go frees it.
#pragma once

#include <memory>

namespace zo {

class PaintEffects {
public:
    PaintEffects() = default;
    PaintEffects(const PaintEffects&) = delete;
    PaintEffects& operator=(const PaintEffects&) = delete;
};

// A reference to this thread's painter, created when nobody holds one.
[[nodiscard]] std::shared_ptr<PaintEffects> AcquirePaintFx();
// The painter in use, or null when no control holds one.
[[nodiscard]] std::shared_ptr<PaintEffects> CurrentPaintFx() noexcept;

}  // namespace zo
