// The owning VARIANT holder: moving hands the value over exactly once, and
// every value it owns is cleared once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/handles.h"

namespace zo {
namespace {

// An object that only counts its references, so that a test sees every
// release a VARIANT holding it makes.
struct CountedObject final : IUnknown {
    ULONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

unique_variant Holding(CountedObject& object) {
    object.AddRef();
    VARIANT owned;
    V_VT(&owned) = VT_UNKNOWN;
    V_UNKNOWN(&owned) = &object;
    return unique_variant::attach(owned);
}

TEST(UniqueVariant, MovingHandsTheValueOverAndLeavesTheSourceEmpty) {
    CountedObject object;
    {
        unique_variant first = Holding(object);
        unique_variant second(std::move(first));
        EXPECT_EQ(V_VT(&first), VT_EMPTY);
        EXPECT_EQ(V_UNKNOWN(&second), &object);
        EXPECT_EQ(object.refs, 2u);
        std::vector<unique_variant> moved;
        moved.push_back(std::move(second));
        moved.emplace_back();  // grows the vector: the value moves again
        EXPECT_EQ(object.refs, 2u);
    }
    EXPECT_EQ(object.refs, 1u);
}

TEST(UniqueVariant, MoveAssignmentClearsTheValueItReplaces) {
    CountedObject replaced, kept;
    unique_variant target = Holding(replaced);
    target = Holding(kept);
    EXPECT_EQ(replaced.refs, 1u);
    EXPECT_EQ(kept.refs, 2u);
    VARIANT released = target.release();
    EXPECT_EQ(V_VT(&target), VT_EMPTY);
    EXPECT_EQ(kept.refs, 2u) << "release hands the reference to the caller";
    ::VariantClear(&released);
    EXPECT_EQ(kept.refs, 1u);
}

TEST(UniqueVariant, CopyFromMakesAnIndependentCopy) {
    CountedObject object;
    unique_variant source = Holding(object);
    unique_variant copy;
    ASSERT_EQ(copy.CopyFrom(source), S_OK);
    EXPECT_EQ(object.refs, 3u);
    source.reset();
    EXPECT_EQ(V_UNKNOWN(&copy), &object);
    EXPECT_EQ(object.refs, 2u);
}

}  // namespace
}  // namespace zo
