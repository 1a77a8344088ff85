#include "colour_picking/paint_effects.h"

namespace zo {

namespace {
std::weak_ptr<PaintEffects>& ThreadPainter() noexcept {
    thread_local std::weak_ptr<PaintEffects> painter;
    return painter;
}
}  // namespace

std::shared_ptr<PaintEffects> AcquirePaintFx() {
    std::shared_ptr<PaintEffects> painter = ThreadPainter().lock();
    if (!painter) {
        painter = std::make_shared<PaintEffects>();
        ThreadPainter() = painter;
    }
    return painter;
}

std::shared_ptr<PaintEffects> CurrentPaintFx() noexcept { return ThreadPainter().lock(); }

}  // namespace zo
