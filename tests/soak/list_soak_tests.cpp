// A PropertyList driven through a long random sequence from a fixed seed,
// each step compared with a model of its rows; at the end nothing of it may
// be left alive. A failure prints the step and how to repeat the sequence.
#include <gtest/gtest.h>

#include "tests/host/gtest_support.h"
#include "tests/host/soak/list_soak.h"

namespace zo::test {
namespace {

// Steps per seed: a few seconds natively; far fewer where the process runs
// through a CPU emulator, where each step costs many times more.
int64_t StepsPerSeed() { return RunsUnderCpuEmulator() ? 100 : 1500; }

class ListSoakTest : public ::testing::TestWithParam<uint64_t> {};

TEST_P(ListSoakTest, MatchesTheModelAndLeavesNothingBehind) {
    const SoakReport report = RunListSoak(SoakOptions{GetParam(), StepsPerSeed()});
    EXPECT_TRUE(report.ok()) << report.Describe();
    EXPECT_EQ(report.stepsRun, StepsPerSeed()) << report.Describe();
}

INSTANTIATE_TEST_SUITE_P(Seeds, ListSoakTest, ::testing::Values(1u, 20261210u, 0xC0FFEEu));

}  // namespace
}  // namespace zo::test
