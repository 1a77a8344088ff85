// Comparing recorded sequences with optional entries.
#include <gtest/gtest.h>

#include "tests/host/gtest_support.h"
#include "tests/host/sequence.h"

namespace zo::test {
namespace {

TEST(CompareSequence, OptionalEntriesMayBeAbsentButOthersMustMatchInOrder) {
    const std::vector<Expected> expected = {L"A", Optional(L"B"), L"C", Optional(L"D")};
    const struct {
        std::vector<std::wstring> actual;
        bool matches;
    } kCases[] = {
        {{L"A", L"B", L"C", L"D"}, true},
        {{L"A", L"C"}, true},
        {{L"A", L"C", L"D"}, true},
        {{L"A", L"B", L"C"}, true},
        {{L"A", L"B"}, false},          // C missing
        {{L"C", L"A"}, false},          // order
        {{L"A", L"C", L"E"}, false},    // an extra entry
        {{L"A", L"B", L"B", L"C"}, false},
        {{}, false},
    };
    for (const auto& test : kCases) {
        const std::string diff = CompareSequence(test.actual, expected);
        EXPECT_EQ(test.matches, diff.empty()) << diff;
    }
}

TEST(CompareSequence, DiffShowsBothSidesAndMarksTheFirstDifference) {
    const std::string diff = CompareSequence({L"Open", L"Paint", L"Close"}, {L"Open", L"Close"});
    EXPECT_NE(std::string::npos, diff.find("expected entry 1, actual entry 1")) << diff;
    EXPECT_NE(std::string::npos, diff.find("> Close")) << diff;
    EXPECT_NE(std::string::npos, diff.find("|> Paint")) << diff;
    EXPECT_FALSE(SequenceIs({L"Open"}, {L"Close"}));
}

}  // namespace
}  // namespace zo::test
