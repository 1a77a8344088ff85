// Rounding, range checks and integer division of the runtime conversions.
#include "common/vb_conversions.h"
#include "common/vb_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

namespace zo {
namespace {

// Runs `action` and returns the runtime error number it threw, 0 when none.
int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VbError& error) {
        return error.Number();
    }
    return 0;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {0.5, 0},    {1.5, 2},     {2.5, 2},     {3.5, 4},     {-0.5, 0},
        {-1.5, -2},  {-2.5, -2},   {-3.5, -4},   {1.4999, 1},  {1.5001, 2},
        {-1.4, -1},  {-1.6, -2},   {0.49999999999999994, 0},   {7, 7},
        {2147483646.5, 2147483646}, {4503599627370495.5, 4503599627370496},
        {1e300, 1e300},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
    EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
}

TEST(CLng, RoundsHalfToEvenInto32Bits) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0.5, 0},     {1.5, 2},     {2.5, 2},     {-0.5, 0},   {-1.5, -2}, {-2.5, -2},
        {0.4, 0},     {0.6, 1},     {-0.6, -1},   {1545.5, 1546}, {1544.5, 1544},
        {2147483647.0, 2147483647}, {2147483647.4, 2147483647},
        {-2147483648.0, INT32_MIN}, {-2147483648.5, INT32_MIN},
        {-2147483633.0, -2147483633},
    };
    for (const Case& c : cases) EXPECT_EQ(CLng(c.value), c.expected) << c.value;
}

TEST(CLng, OutOfRangeIsOverflow) {
    const double values[] = {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0,
                             1e300, -1e300, kInf, -kInf, kNaN};
    for (double value : values)
        EXPECT_EQ(ErrorNumberOf([&] { (void)CLng(value); }), vb_error::kOverflow) << value;
}

TEST(CInt, RoundsHalfToEvenInto16Bits) {
    struct Case {
        double value;
        std::int16_t expected;
    };
    const Case cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2},
        {32767.0, 32767}, {32767.4, 32767}, {32766.5, 32766},
        {-32768.0, -32768}, {-32768.5, -32768}, {-32767.5, -32768},
    };
    for (const Case& c : cases) EXPECT_EQ(CInt(c.value), c.expected) << c.value;
}

TEST(CInt, OutOfRangeIsOverflow) {
    const double values[] = {32767.5, 32768.0, -32768.6, -32769.0, 40000.0, kNaN, kInf};
    for (double value : values)
        EXPECT_EQ(ErrorNumberOf([&] { (void)CInt(value); }), vb_error::kOverflow) << value;
}

TEST(CLngCInt, WholeNumbersAreOnlyRangeChecked) {
    EXPECT_EQ(CLng(std::int64_t{INT32_MIN}), INT32_MIN);
    EXPECT_EQ(CLng(std::int64_t{INT32_MAX}), INT32_MAX);
    EXPECT_EQ(CLng(LONG{-5}), -5);
    EXPECT_EQ(CLng(std::uint32_t{7}), 7);
    EXPECT_EQ(CInt(-32768), -32768);
    EXPECT_EQ(CInt(32767L), 32767);
    EXPECT_EQ(CInt(std::int16_t{-3}), -3);

    EXPECT_EQ(ErrorNumberOf([] { (void)CLng(std::int64_t{INT32_MAX} + 1); }), vb_error::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)CLng(std::int64_t{INT32_MIN} - 1); }), vb_error::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)CLng(std::uint32_t{0x80000000u}); }), vb_error::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)CInt(32768); }), vb_error::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { (void)CInt(-32769); }), vb_error::kOverflow);
}

TEST(CLng, OverflowCarriesTheRuntimeWording) {
    try {
        (void)CLng(1e10);
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.scode, static_cast<HRESULT>(0x800A0006));
        EXPECT_EQ(error.description, L"Overflow");
    }
}

TEST(Int, IsTheFloor) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {{1.5, 1}, {1.9999, 1}, {-1.5, -2}, {-0.1, -1}, {2, 2},
                          {-2, -2}, {0, 0},      {-2147483648.5, -2147483649.0}};
    for (const Case& c : cases) EXPECT_EQ(Int(c.value), c.expected) << c.value;
}

TEST(IntDiv, RoundsOperandsThenTruncatesTowardZero) {
    struct Case {
        double dividend;
        double divisor;
        std::int32_t expected;
    };
    const Case cases[] = {
        {7.5, 2, 4},    // 8 \ 2
        {6.5, 2, 3},    // 6 \ 2
        {7, 2, 3},      {-7, 2, -3},    {7, -2, -3},   {-7, -2, 3},
        {10, 2.5, 5},   // 10 \ 2
        {10, 3.5, 2},   // 10 \ 4
        {0, 5, 0},      {14, 15, 0},    {-14, 15, 0},  {1500, 15, 100},
        {2147483647, 1, 2147483647},    {-2147483648.0, 1, INT32_MIN},
        {-2147483648.0, 2, -1073741824},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntDiv(c.dividend, c.divisor), c.expected) << c.dividend << " \\ " << c.divisor;
}

TEST(IntDiv, FailuresCarryTheRuntimeNumbers) {
    struct Case {
        double dividend;
        double divisor;
        int error;
    };
    const Case cases[] = {
        {5, 0, vb_error::kDivisionByZero},
        {1, 0.5, vb_error::kDivisionByZero},   // the divisor rounds to 0
        {1, -0.5, vb_error::kDivisionByZero},
        {-2147483648.0, -1, vb_error::kOverflow},
        {2147483648.0, 1, vb_error::kOverflow},  // the dividend does not fit a Long
        {1, 3e9, vb_error::kOverflow},
        {3e9, 0, vb_error::kOverflow},           // operands are converted before dividing
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorNumberOf([&] { (void)IntDiv(c.dividend, c.divisor); }), c.error)
            << c.dividend << " \\ " << c.divisor;
}

}  // namespace
}  // namespace zo
