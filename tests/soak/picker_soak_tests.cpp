// The colour-picking soak on a few fixed seeds, each for a bounded number of
// steps: a hosted ZoColorPicker and the colour form of a PropertyList driven
// at random, compared with their models after every step, and nothing left
// behind at the end. ZO_PICKER_SOAK_STEPS sets another step count.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/host/gtest_support.h"
#include "tests/host/soak/picker_soak.h"

namespace zo::test {
namespace {

[[maybe_unused]] auto* const ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// About ten seconds natively; a CPU emulator runs the same work many times slower.
constexpr int64_t kNativeSteps = 1000;
constexpr int64_t kEmulatorDivisor = 30;

int64_t Steps() {
    char text[32] = {};
    if (::GetEnvironmentVariableA("ZO_PICKER_SOAK_STEPS", text, sizeof text) > 0) return std::atoll(text);
    return RunsUnderCpuEmulator() ? kNativeSteps / kEmulatorDivisor : kNativeSteps;
}

void Soak(uint64_t seed) {
    SoakOptions options;
    options.seed = seed;
    options.steps = Steps();
    POINT pointerBefore{}, pointerAfter{};
    ::GetCursorPos(&pointerBefore);
    const SoakReport report = RunPickerSoak(options);
    ::GetCursorPos(&pointerAfter);
    // Tests after this one press and release without moving the pointer.
    EXPECT_EQ(pointerAfter.x, pointerBefore.x);
    EXPECT_EQ(pointerAfter.y, pointerBefore.y);
    std::printf("%s  %.0f steps per second\n", report.Describe().c_str(),
                report.seconds > 0 ? report.stepsRun / report.seconds : 0.0);
    EXPECT_TRUE(report.ok()) << report.Describe();
    EXPECT_EQ(report.stepsRun, options.steps);
}

TEST(PickerSoak, Seed1) { Soak(1); }
TEST(PickerSoak, Seed20261210) { Soak(20261210); }
TEST(PickerSoak, Seed0xC0102) { Soak(0xC0102); }

}  // namespace
}  // namespace zo::test
