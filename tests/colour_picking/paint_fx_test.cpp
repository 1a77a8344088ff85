// The shared transparent painter lives as long as any control holds it: one
// control's teardown must not take it away from the others.
#include <gtest/gtest.h>

#include "colour_picking/paint_effects.h"

namespace {

TEST(PaintFxTest, OneControlLettingGoLeavesThePainterToTheOthers) {
    std::shared_ptr<zo::PaintEffects> first = zo::AcquirePaintFx();
    std::shared_ptr<zo::PaintEffects> second = zo::AcquirePaintFx();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second) << "controls on one thread share one painter";

    first.reset();
    EXPECT_EQ(zo::CurrentPaintFx(), second) << "the painter outlives the first control's teardown";

    second.reset();
    EXPECT_EQ(zo::CurrentPaintFx(), nullptr) << "the last user frees it";

    std::shared_ptr<zo::PaintEffects> again = zo::AcquirePaintFx();
    EXPECT_NE(again, nullptr) << "a later control gets a new one";
}

}  // namespace
