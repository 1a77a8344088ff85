// Val, CStr, Hex, IsNumeric and the case-blind text comparison.
#include "common/vb_conversions.h"
#include "common/vb_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace zo {
namespace {

TEST(Val, ReadsTheLeadingDecimalNumber) {
    struct Case {
        std::wstring_view text;
        double expected;
    };
    const Case cases[] = {
        {L"", 0},           {L"12", 12},          {L"12abc", 12},       {L"abc", 0},
        {L"  12", 12},      {L"\t\n12", 12},      {L"1 2", 12},         {L"1\t2\n3", 123},
        {L" 1615 198th Street", 1615198},         {L"-5", -5},          {L"+5", 5},
        {L"- 5", -5},       {L"--5", 0},          {L"+-5", 0},          {L"1.5", 1.5},
        {L".5", 0.5},       {L"5.", 5},           {L".", 0},            {L"-", 0},
        {L"1.2.3", 1.2},    {L"1e3", 1000},       {L"1E+3", 1000},      {L"1e-3", 0.001},
        {L"1.5D2", 150},    {L"1.5d2", 150},      {L"2e 2", 200},       {L"1e", 1},
        {L"1e+", 1},        {L"1ex", 1},          {L"1,000", 1},        {L"$5", 0},
        {L"0.1", 0.1},      {L"-0.25", -0.25},    {L"007", 7},          {L"12\r3", 12},
        {L"\u00A012", 0},   {L"\uFF11\uFF12", 0}, {L"1e-400", 0},
        {L"123456789012345678901234567890", 123456789012345678901234567890.0},
        {L"-2147483633", -2147483633.0},
    };
    for (const Case& c : cases) EXPECT_EQ(Val(c.text), c.expected) << std::wstring(c.text);
}

TEST(Val, ReadsHexadecimalAndOctalAsIntegerOrLong) {
    struct Case {
        std::wstring_view text;
        double expected;
    };
    const Case cases[] = {
        {L"&HFF", 255},              {L"&hff", 255},             {L"&HfF", 255},
        {L"&H", 0},                  {L"&HG", 0},                {L"&", 0},
        {L"&X10", 0},                {L"&H7FFF", 32767},         {L"&H8000", -32768},
        {L"&HFFFF", -1},             {L"&H0FFFF", -1},           {L"&H10000", 65536},
        {L"&HFFFF&", 65535},         {L"&H8000&", 32768},        {L"&HFFFFFFFF", -1},
        {L"&H8000000F", -2147483633},{L"&H7FFFFFFF", 2147483647},{L"&H80000000", -2147483648.0},
        {L"&H123456789", 305419896}, {L"&H0000000000FF", 255},   {L"&HFFx", 255},
        {L"&H F F", 255},            {L" & H 1 0", 16},          {L"-&H10", 0},
        {L"&O17", 15},               {L"&o777", 511},            {L"&O177777", -1},
        {L"&O100000", -32768},       {L"&O200000", 65536},       {L"&O177777&", 65535},
        {L"&O37777777777", -1},      {L"&O8", 0},                {L"&O78", 7},
        {L"&O777777777777", 1073741823},  // the digit that would pass 32 bits ends the number
    };
    for (const Case& c : cases) EXPECT_EQ(Val(c.text), c.expected) << std::wstring(c.text);
}

TEST(Val, StopsAtAnEmbeddedNul) {
    const std::wstring text(L"12\0" L"34", 5);
    EXPECT_EQ(Val(text), 12);
}

TEST(Val, GivesPositiveZeroForMinusZero) {
    EXPECT_FALSE(std::signbit(Val(L"-0")));
    EXPECT_FALSE(std::signbit(Val(L"-0.0e5")));
}

TEST(Val, NumberBeyondADoubleIsOverflow) {
    const std::wstring texts[] = {L"1e400", L"-1e400", L"1" + std::wstring(400, L'0'),
                                  L"0.001e312"};
    for (const std::wstring& text : texts) {
        try {
            (void)Val(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const VbError& error) {
            EXPECT_EQ(error.Number(), vb_error::kOverflow) << text;
        }
    }
    EXPECT_EQ(Val(L"0." + std::wstring(400, L'0') + L"1"), 0);
}

TEST(Hex, GivesUpperCaseDigitsOfTheLong) {
    struct Case {
        std::int32_t value;
        std::wstring_view expected;
    };
    const Case cases[] = {
        {0, L"0"},           {9, L"9"},           {10, L"A"},          {16, L"10"},
        {255, L"FF"},        {0xABCDEF, L"ABCDEF"}, {-1, L"FFFFFFFF"}, {-2147483633, L"8000000F"},
        {INT32_MIN, L"80000000"}, {INT32_MAX, L"7FFFFFFF"}, {-256, L"FFFFFF00"},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(c.value), c.expected) << c.value;
}

TEST(CStr, WritesDoublesAsTheRuntimePrintsThem) {
    struct Case {
        double value;
        std::wstring_view expected;
    };
    const Case cases[] = {
        {0, L"0"},                 {-0.0, L"0"},             {12, L"12"},
        {-12, L"-12"},             {100, L"100"},            {-2147483633, L"-2147483633"},
        {1.5, L"1.5"},             {-1.5, L"-1.5"},          {0.5, L"0.5"},
        {0.1, L"0.1"},             {0.1 + 0.2, L"0.3"},      {1.0 / 3, L"0.333333333333333"},
        {2.0 / 3, L"0.666666666666667"},                     {-2.0 / 3, L"-0.666666666666667"},
        {1e14, L"100000000000000"},{123456789012345, L"123456789012345"},
        {1e15, L"1E+15"},          {1234567890123456, L"1.23456789012346E+15"},
        {999999999999999.9, L"1E+15"},                       {0.0001, L"0.0001"},
        {0.00012345, L"0.00012345"},                         {0.00001, L"1E-05"},
        {1.5e-10, L"1.5E-10"},     {-1.5e-10, L"-1.5E-10"},  {1e100, L"1E+100"},
        {1.7976931348623157e308, L"1.79769313486232E+308"},
    };
    for (const Case& c : cases) EXPECT_EQ(CStr(c.value), c.expected) << c.value;
}

TEST(CStr, WritesSinglesWithSevenDigits) {
    struct Case {
        float value;
        std::wstring_view expected;
    };
    const Case cases[] = {
        {1.1f, L"1.1"},           {0.5f, L"0.5"},      {1234567.f, L"1234567"},
        {12345678.f, L"1.234568E+07"}, {-8.25f, L"-8.25"}, {1.0f / 3, L"0.3333333"},
    };
    for (const Case& c : cases) EXPECT_EQ(CStr(c.value), c.expected) << c.value;
}

TEST(CStr, WritesWholeNumbersAndBooleans) {
    EXPECT_EQ(CStr(-2147483633), L"-2147483633");
    EXPECT_EQ(CStr(std::int16_t{-1}), L"-1");
    EXPECT_EQ(CStr(LONG{65535}), L"65535");
    EXPECT_EQ(CStr(std::int64_t{INT64_MIN}), L"-9223372036854775808");
    EXPECT_EQ(CStr(0u), L"0");
    EXPECT_EQ(CStr(true), L"True");
    EXPECT_EQ(CStr(false), L"False");
}

TEST(ValCStr, ColourTextsBecomeTheirDecimalText) {
    struct Case {
        std::wstring_view content;
        std::wstring_view stored;
    };
    const Case cases[] = {
        {L"&HFF", L"255"}, {L"&H8000000F", L"-2147483633"}, {L"", L"0"},
        {L"12abc", L"12"}, {L"  16711680", L"16711680"},   {L"&HFFFF&", L"65535"},
    };
    for (const Case& c : cases) EXPECT_EQ(CStr(Val(c.content)), c.stored) << std::wstring(c.content);
}

TEST(ValCStr, WholeNumbersSurviveTheRoundTrip) {
    for (std::int64_t n = -2147483648LL; n <= 2147483647LL; n += 65521 * 257) {
        const double value = static_cast<double>(n);
        EXPECT_EQ(Val(CStr(value)), value) << n;
    }
}

TEST(IsNumeric, AcceptsNumbers) {
    const std::wstring_view texts[] = {
        L"12",     L" 12 ",   L"\t12\r\n", L"0",       L"7",       L"-1.5",   L"+1.5",
        L"1e3",    L"1E-3",   L"1d3",      L"1.",      L".5",      L"-.5",    L"&HFF",
        L"&hff",   L"&O17",   L"&HFFFF&",  L"&HFFFFFFFF", L"1,000", L"1,000.5", L"12,34",
        L"1.79e308",
    };
    for (std::wstring_view text : texts) EXPECT_TRUE(IsNumeric(text)) << std::wstring(text);
}

TEST(IsNumeric, RefusesOtherTexts) {
    const std::wstring_view texts[] = {
        L"",    L"   ", L"abc", L"1a",  L".",     L"-",     L"+",    L"e3",  L"1e",
        L"1e+", L"1 2", L"&H",  L"&HG", L"&H123456789",     L"&O8",  L",5",  L"1,,0",
        L"1e400", L"--1", L"1.2.3", L"&HFF x", L"1,000,", L"1,.5", L"$5", L"\u00A012",
    };
    for (std::wstring_view text : texts) EXPECT_FALSE(IsNumeric(text)) << std::wstring(text);
}

TEST(IsNumeric, OneCharacterPassesOnlyForDigits) {
    for (wchar_t c = 32; c < 127; ++c) {
        const wchar_t text[] = {c, 0};
        EXPECT_EQ(IsNumeric(text), c >= L'0' && c <= L'9') << static_cast<char>(c);
    }
}

TEST(TextEqualsNoCase, IgnoresCaseOnly) {
    struct Case {
        std::wstring_view a;
        std::wstring_view b;
        bool equal;
    };
    const Case cases[] = {
        {L"True", L"true", true},    {L"TRUE", L"true", true},   {L"Yes", L"yES", true},
        {L"", L"", true},            {L"\u00C4rger", L"\u00E4RGER", true},
        {L"True", L"Tru", false},    {L"True ", L"True", false}, {L"a", L"", false},
        {L"abc", L"abd", false},     {L"False", L"True", false}, {L"a\u00E9", L"ae", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextEqualsNoCase(c.a, c.b), c.equal) << std::wstring(c.a) << " / " << std::wstring(c.b);
}

TEST(TextEqualsNoCase, ReadsOnlyTheGivenLength) {
    const std::wstring_view whole = L"TRUEISH";
    EXPECT_TRUE(TextEqualsNoCase(whole.substr(0, 4), L"true"));
    EXPECT_TRUE(TextEqualsNoCase(std::wstring_view{}, L""));
    EXPECT_TRUE(TextEqualsNoCase(std::wstring{}, std::wstring_view{}));
    EXPECT_FALSE(TextEqualsNoCase(std::wstring_view{}, L"x"));
}

}  // namespace
}  // namespace zo
