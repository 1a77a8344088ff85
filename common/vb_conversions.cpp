#include "common/vb_conversions.h"

#include "common/vb_error.h"

#include <windows.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <optional>
#include <string>

namespace zo {

namespace detail {
void ThrowOverflow() { throw VbError::Runtime(vb_error::kOverflow); }
}  // namespace detail

namespace {

constexpr bool IsDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }

// The characters Val ignores wherever they stand.
constexpr bool IsValBlank(wchar_t c) noexcept { return c == L' ' || c == L'\t' || c == L'\n'; }

// The characters IsNumeric allows around a number.
constexpr bool IsOuterBlank(wchar_t c) noexcept { return IsValBlank(c) || c == L'\r'; }

constexpr bool IsExponentMark(wchar_t c) noexcept {
    return c == L'E' || c == L'e' || c == L'D' || c == L'd';
}

int RadixDigit(wchar_t c, int radix) noexcept {
    int digit = -1;
    if (IsDigit(c)) digit = c - L'0';
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    return digit < radix ? digit : -1;
}

// A cursor over the text; for Val it steps over blanks as if they were not there.
class Reader {
public:
    Reader(std::wstring_view text, bool skipBlanks) noexcept : m_text(text), m_skipBlanks(skipBlanks) {}

    // The next character, or 0 at the end.
    wchar_t Peek() noexcept {
        if (m_skipBlanks)
            while (m_pos < m_text.size() && IsValBlank(m_text[m_pos])) ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : L'\0';
    }
    void Next() noexcept {
        Peek();
        if (m_pos < m_text.size()) ++m_pos;
    }
    bool AtEnd() noexcept {
        Peek();
        return m_pos >= m_text.size();
    }
    size_t Position() const noexcept { return m_pos; }
    void Restore(size_t position) noexcept { m_pos = position; }

private:
    std::wstring_view m_text;
    bool m_skipBlanks;
    size_t m_pos = 0;
};

struct PrefixedNumber {
    std::int32_t value = 0;
    bool cutShort = false;  // a further digit would not fit in 32 bits
};

// Reads the part after "&": H or O, the digits and an optional "&" (Long)
// suffix. Nothing when no digit follows the radix letter.
std::optional<PrefixedNumber> ReadPrefixed(Reader& reader) noexcept {
    int radix = 0;
    switch (reader.Peek()) {
        case L'H': case L'h': radix = 16; break;
        case L'O': case L'o': radix = 8; break;
        default: return std::nullopt;
    }
    reader.Next();

    PrefixedNumber number;
    std::uint64_t value = 0;
    int digits = 0;
    for (int digit; (digit = RadixDigit(reader.Peek(), radix)) >= 0; reader.Next()) {
        std::uint64_t next = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (next > 0xFFFFFFFFu) {
            number.cutShort = true;
            break;
        }
        value = next;
        ++digits;
    }
    if (digits == 0) return std::nullopt;

    bool isLong = false;
    if (!number.cutShort && reader.Peek() == L'&') {
        isLong = true;
        reader.Next();
    }
    // A value that fits in 16 bits is an Integer, as a hexadecimal literal is.
    if (!isLong && value <= 0xFFFFu)
        number.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        number.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return number;
}

struct DecimalParts {
    bool negative = false;
    std::string whole;     // digits before the decimal point
    std::string fraction;  // digits after it
    long exponent = 0;
};

// Reads [E|D][sign]digits, or leaves the reader where it was when no digit
// follows the mark. Returns false when a mark was seen without digits.
bool ReadExponent(Reader& reader, long& exponent) noexcept {
    if (!IsExponentMark(reader.Peek())) return true;
    const size_t start = reader.Position();
    reader.Next();
    bool negative = false;
    if (reader.Peek() == L'+' || reader.Peek() == L'-') {
        negative = reader.Peek() == L'-';
        reader.Next();
    }
    if (!IsDigit(reader.Peek())) {
        reader.Restore(start);
        return false;
    }
    long value = 0;
    for (; IsDigit(reader.Peek()); reader.Next())
        if (value < 1000000) value = value * 10 + (reader.Peek() - L'0');  // far past any Double
    exponent = negative ? -value : value;
    return true;
}

struct DecimalValue {
    double value = 0;
    bool overflow = false;
};

DecimalValue ComposeDecimal(const DecimalParts& parts) {
    const size_t firstSignificant = parts.whole.find_first_not_of('0');
    std::string text = firstSignificant == std::string::npos ? std::string("0")
                                                             : parts.whole.substr(firstSignificant);
    if (!parts.fraction.empty()) text += '.' + parts.fraction;
    text += 'e' + std::to_string(parts.exponent);

    DecimalValue result;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result.value);
    if (error == std::errc::result_out_of_range) {
        // Decide by the decimal magnitude whether it was too large or too small.
        long magnitude;
        if (firstSignificant != std::string::npos) {
            magnitude = static_cast<long>(parts.whole.size() - firstSignificant) + parts.exponent;
        } else {
            const size_t leadingZeros = parts.fraction.find_first_not_of('0');
            magnitude = leadingZeros == std::string::npos
                            ? LONG_MIN / 2
                            : parts.exponent - static_cast<long>(leadingZeros);
        }
        result.overflow = magnitude > 0;
        result.value = 0;
    } else if (error != std::errc()) {
        result.value = 0;
    }
    if (parts.negative && result.value != 0) result.value = -result.value;
    return result;
}

std::wstring Widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Lays out `value` with at most `digits` significant digits, in fixed form
// for decimal exponents -4 .. digits - 1 and in exponent form otherwise.
template <typename Real>
std::wstring FormatReal(Real value, int digits) {
    if (std::isnan(value)) return L"1.#QNAN";
    if (std::isinf(value)) return value < 0 ? L"-1.#INF" : L"1.#INF";
    if (value == 0) return L"0";

    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, digits - 1);
    const std::string_view scientific(buffer, static_cast<size_t>(end - buffer));
    const size_t mark = scientific.find('e');
    std::string mantissa;
    for (char c : scientific.substr(0, mark))
        if (c != '.') mantissa += c;
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(mark + 1);
    std::from_chars(exponentText.data() + (exponentText[0] == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= digits) {
        text += mantissa[0];
        if (mantissa.size() > 1) text += '.' + mantissa.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const size_t wholeDigits = static_cast<size_t>(exponent) + 1;
        if (mantissa.size() <= wholeDigits) {
            text += mantissa + std::string(wholeDigits - mantissa.size(), '0');
        } else {
            text += mantissa.substr(0, wholeDigits) + '.' + mantissa.substr(wholeDigits);
        }
    } else {
        text += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
    }
    return Widen(text);
}

}  // namespace

double RoundHalfEven(double value) noexcept {
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double rest = value - below;  // exact: both lie in the same binade or rest is 0
    if (rest > 0.5) return below + 1;
    if (rest < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::int32_t CLng(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) detail::ThrowOverflow();
    return static_cast<std::int32_t>(rounded);
}

std::int16_t CInt(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) detail::ThrowOverflow();
    return static_cast<std::int16_t>(rounded);
}

double Int(double value) noexcept { return std::floor(value); }

std::int32_t IntDiv(double dividend, double divisor) {
    const std::int32_t a = CLng(dividend);
    const std::int32_t b = CLng(divisor);
    if (b == 0) throw VbError::Runtime(vb_error::kDivisionByZero);
    if (a == INT32_MIN && b == -1) detail::ThrowOverflow();
    return a / b;
}

double Val(std::wstring_view text) {
    Reader reader(text, true);
    if (reader.Peek() == L'&') {
        reader.Next();
        const std::optional<PrefixedNumber> number = ReadPrefixed(reader);
        return number ? number->value : 0;
    }

    DecimalParts parts;
    if (reader.Peek() == L'+' || reader.Peek() == L'-') {
        parts.negative = reader.Peek() == L'-';
        reader.Next();
    }
    for (; IsDigit(reader.Peek()); reader.Next()) parts.whole += static_cast<char>(reader.Peek());
    if (reader.Peek() == L'.') {
        reader.Next();
        for (; IsDigit(reader.Peek()); reader.Next()) parts.fraction += static_cast<char>(reader.Peek());
    }
    if (parts.whole.empty() && parts.fraction.empty()) return 0;
    (void)ReadExponent(reader, parts.exponent);  // a bare mark ends the number

    const DecimalValue result = ComposeDecimal(parts);
    if (result.overflow) detail::ThrowOverflow();
    return result.value;
}

std::wstring CStr(double value) { return FormatReal(value, 15); }
std::wstring CStr(float value) { return FormatReal(value, 7); }
std::wstring CStr(std::int64_t value) { return std::to_wstring(value); }
std::wstring CStr(bool value) { return value ? L"True" : L"False"; }

std::wstring Hex(std::int32_t value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    wchar_t buffer[8];
    wchar_t* start = buffer + 8;
    do {
        *--start = kDigits[bits & 0xF];
        bits >>= 4;
    } while (bits != 0);
    return std::wstring(start, buffer + 8);
}

bool IsNumeric(std::wstring_view text) noexcept {
    while (!text.empty() && IsOuterBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsOuterBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return false;

    Reader reader(text, false);
    if (reader.Peek() == L'&') {
        reader.Next();
        const std::optional<PrefixedNumber> number = ReadPrefixed(reader);
        return number && !number->cutShort && reader.AtEnd();
    }

    try {
        DecimalParts parts;
        if (reader.Peek() == L'+' || reader.Peek() == L'-') {
            parts.negative = reader.Peek() == L'-';
            reader.Next();
        }
        // A grouping separator stands between two digits of the whole part.
        for (;;) {
            const wchar_t c = reader.Peek();
            if (IsDigit(c)) {
                parts.whole += static_cast<char>(c);
                reader.Next();
            } else if (c == L',' && !parts.whole.empty()) {
                reader.Next();
                if (!IsDigit(reader.Peek())) return false;
            } else {
                break;
            }
        }
        if (reader.Peek() == L'.') {
            reader.Next();
            for (; IsDigit(reader.Peek()); reader.Next())
                parts.fraction += static_cast<char>(reader.Peek());
        }
        if (parts.whole.empty() && parts.fraction.empty()) return false;
        if (!ReadExponent(reader, parts.exponent)) return false;
        if (!reader.AtEnd()) return false;
        return !ComposeDecimal(parts).overflow;
    } catch (...) {
        return false;  // out of memory for a pathological text
    }
}

bool TextEqualsNoCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
    // An empty view may have no storage at all; CompareStringW wants a pointer.
    const wchar_t* first = a.empty() ? L"" : a.data();
    const wchar_t* second = b.empty() ? L"" : b.data();
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH,
                            first, static_cast<int>(a.size()), second,
                            static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace zo
