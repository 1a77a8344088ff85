// The numeric conversions of the control runtime, with its rounding, ranges
// and errors, so that layout arithmetic and value texts come out the same as
// the runtime's own:
//
//   CLng, CInt   round to nearest, halves to even; out of range is Overflow (6)
//   Int          floor
//   IntDiv       a \ b: both operands rounded to Long first, then the quotient
//                truncated toward zero; b = 0 is Division by zero (11)
//   Val          the leading number of a text, never a conversion error
//   CStr         decimal text as the runtime prints a number
//   Hex          upper-case hexadecimal of a Long
//   IsNumeric    whether a whole text reads as a number
//
// Errors are thrown as zo::VbError.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zo {

// Round half to even, the rounding of CLng, CInt and of every assignment of
// a Double to a whole-number variable. Not-a-number stays not-a-number.
[[nodiscard]] double RoundHalfEven(double value) noexcept;

[[nodiscard]] std::int32_t CLng(double value);
[[nodiscard]] std::int16_t CInt(double value);

// Whole numbers need no rounding, only the range check. bool is refused:
// the runtime's True is -1, not 1, and a silent 1 would be a trap.
template <std::integral T>
[[nodiscard]] std::int32_t CLng(T value);
template <std::integral T>
[[nodiscard]] std::int16_t CInt(T value);
std::int32_t CLng(bool) = delete;
std::int16_t CInt(bool) = delete;

[[nodiscard]] double Int(double value) noexcept;

// The runtime's integer division a \ b.
[[nodiscard]] std::int32_t IntDiv(double dividend, double divisor);

// The runtime's Val. Blanks (space, tab, line feed) are ignored wherever they
// stand. A decimal number has an optional sign, digits, an optional decimal
// point (always "."), and an optional exponent introduced by E or D. &H and
// &O introduce hexadecimal and octal numbers: a value up to &HFFFF is an
// Integer (so &HFFFF is -1), a larger one up to &HFFFFFFFF a Long (&HFFFFFFFF
// is -1, &H10000 is 65536); a trailing "&" makes even a small value a Long
// (&HFFFF& is 65535). A digit that would take the value past 32 bits ends the
// number. Reading stops at the first character that does not fit; a text
// without a number gives 0. A decimal number too large for a Double is an
// Overflow.
[[nodiscard]] double Val(std::wstring_view text);

// Up to 15 significant digits for a Double and 7 for a Single; the exponent
// form ("1E+15", "1E-05") outside the range the fixed form covers.
[[nodiscard]] std::wstring CStr(double value);
[[nodiscard]] std::wstring CStr(float value);
[[nodiscard]] std::wstring CStr(std::int64_t value);
[[nodiscard]] std::wstring CStr(bool value);  // "True" / "False"
template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, std::int64_t>)
[[nodiscard]] std::wstring CStr(T value) {
    return CStr(static_cast<std::int64_t>(value));
}

[[nodiscard]] std::wstring Hex(std::int32_t value);

// Whether the whole text, blanks around it aside, reads as a number: a
// decimal number with an optional sign, "," between digits of its whole part, an
// optional "." fraction and an optional E/D exponent, or an &H/&O number that
// fits in 32 bits. Thousands separators and the decimal point are the
// invariant ones, whatever the user's locale.
[[nodiscard]] bool IsNumeric(std::wstring_view text) noexcept;

// The runtime's text comparison: equal regardless of case (and of kana type
// and character width), by the user's locale.
[[nodiscard]] bool TextEqualsNoCase(std::wstring_view a, std::wstring_view b) noexcept;

namespace detail {
[[noreturn]] void ThrowOverflow();
}

template <std::integral T>
std::int32_t CLng(T value) {
    if (std::cmp_less(value, INT32_MIN) || std::cmp_greater(value, INT32_MAX))
        detail::ThrowOverflow();
    return static_cast<std::int32_t>(value);
}

template <std::integral T>
std::int16_t CInt(T value) {
    if (std::cmp_less(value, INT16_MIN) || std::cmp_greater(value, INT16_MAX))
        detail::ThrowOverflow();
    return static_cast<std::int16_t>(value);
}

}  // namespace zo
