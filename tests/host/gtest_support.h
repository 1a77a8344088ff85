// GoogleTest glue for the test container's results. Header-only, so that the
// container library itself does not depend on GoogleTest.
#pragma once

#include <gtest/gtest.h>
#include <ole2.h>

#include <source_location>
#include <string>
#include <vector>

#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/sequence.h"
#include "tests/host/variant.h"

namespace zo::test {

// OLE for the whole test program, on the thread that runs the tests:
//   static auto* const ole = ::testing::AddGlobalTestEnvironment(new zo::test::OleEnvironment);
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};

// EXPECT_TRUE(DispOk(Put(list, L"BackColor", 255)));
// Whether this process runs through a CPU emulator (ZO_EMULATED_CPU=1,
// which scripts/wine-env.sh gives 32-bit programs where the kernel hands them
// to qemu-i386); there a test that does much work must do less of it.
inline bool RunsUnderCpuEmulator() {
    wchar_t value[4] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"ZO_EMULATED_CPU", value, 4);
    return length == 1 && value[0] == L'1';
}

inline ::testing::AssertionResult DispOk(const DispResult& result) {
    if (result.ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "dispatch call failed: " << result.Describe();
}

// EXPECT_TRUE(DispRaised(Put(list, L"LongestItem", 1), 0x80040001));
inline ::testing::AssertionResult DispRaised(const DispResult& result, SCODE scode) {
    if (result.hr == DISP_E_EXCEPTION && result.scode == scode) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected DISP_E_EXCEPTION with scode " << HResultText(scode)
                                         << ", got " << result.Describe();
}

inline ::testing::AssertionResult Hosted(const HostResult& result) {
    if (result.ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "hosting failed: " << result.Describe();
}

// EXPECT_TRUE(SequenceIs(events.Names(), {L"SelChange", Optional(L"Scroll"), L"ValueChanged"}));
inline ::testing::AssertionResult SequenceIs(const std::vector<std::wstring>& actual,
                                             const std::vector<Expected>& expected) {
    const std::string diff = CompareSequence(actual, expected);
    if (diff.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << diff;
}

// Reports a failed call with its EXCEPINFO text at the caller's line; returns
// the result so that a test can go on using its value.
inline DispResult ExpectOk(DispResult result, std::source_location where = std::source_location::current()) {
    if (!result.ok()) ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << result.Describe();
    return result;
}

}  // namespace zo::test
