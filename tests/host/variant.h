// An owning, copyable VARIANT for tests: argument lists, recorded event
// arguments, property-bag entries and call results all use it.
//
// The To* conversions go through VariantChangeType and throw
// std::runtime_error when the value does not convert, so a test reading the
// wrong type fails loudly instead of comparing against a default.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"

namespace zo::test {

class Variant {
public:
    Variant() noexcept;
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    // Copies a borrowed VARIANT (VariantCopy: a by-reference value stays a reference).
    explicit Variant(const VARIANT& borrowed);

    Variant(std::int16_t value) noexcept;   // VT_I2 (Integer)
    Variant(std::int32_t value) noexcept;   // VT_I4 (Long)
    Variant(long value) noexcept;           // VT_I4
    Variant(unsigned long value) noexcept;  // VT_UI4 (OLE_COLOR, DWORD)
    Variant(float value) noexcept;          // VT_R4 (Single)
    Variant(double value) noexcept;         // VT_R8
    Variant(bool value) noexcept;           // VT_BOOL, True is -1
    Variant(const wchar_t* text);           // VT_BSTR
    Variant(std::wstring_view text);        // VT_BSTR
    Variant(const std::wstring& text);      // VT_BSTR
    Variant(IDispatch* object) noexcept;    // VT_DISPATCH, AddRef'd
    Variant(IUnknown* object) noexcept;     // VT_UNKNOWN, AddRef'd

    // An omitted optional argument: VT_ERROR with DISP_E_PARAMNOTFOUND.
    [[nodiscard]] static Variant Missing() noexcept;
    [[nodiscard]] static Variant Error(SCODE code) noexcept;
    [[nodiscard]] static Variant Null() noexcept;
    // An object reference set to nothing (VT_DISPATCH holding null).
    [[nodiscard]] static Variant Nothing() noexcept;
    [[nodiscard]] static Variant Byte(BYTE value) noexcept;
    [[nodiscard]] static Variant Currency(LONGLONG tenThousandths) noexcept;
    // A SAFEARRAY of BSTR with lower bound `lowerBound`.
    [[nodiscard]] static Variant StringArray(const std::vector<std::wstring>& items, LONG lowerBound = 0);
    // Takes ownership of `owned`, leaving it VT_EMPTY.
    [[nodiscard]] static Variant Attach(VARIANT& owned) noexcept;

    // By-reference arguments pointing at the caller's variables, which must
    // outlive the call. A script host passes VT_VARIANT|VT_BYREF; a compiled
    // host passes the typed form.
    [[nodiscard]] static Variant Ref(VARIANT* target) noexcept;
    [[nodiscard]] static Variant RefI2(SHORT* target) noexcept;
    [[nodiscard]] static Variant RefI4(LONG* target) noexcept;
    [[nodiscard]] static Variant RefBool(VARIANT_BOOL* target) noexcept;
    [[nodiscard]] static Variant RefBstr(BSTR* target) noexcept;
    [[nodiscard]] static Variant RefStringArray(SAFEARRAY** target) noexcept;  // VT_ARRAY|VT_BSTR|VT_BYREF

    [[nodiscard]] VARTYPE vt() const noexcept { return m_value.vt; }
    [[nodiscard]] const VARIANT& get() const noexcept { return m_value; }
    [[nodiscard]] VARIANT* ptr() noexcept { return &m_value; }
    // Clears the value and returns it for an out parameter.
    [[nodiscard]] VARIANT* put() noexcept;

    [[nodiscard]] bool IsEmpty() const noexcept { return m_value.vt == VT_EMPTY; }
    [[nodiscard]] bool IsMissing() const noexcept;
    [[nodiscard]] bool IsObject() const noexcept;

    [[nodiscard]] std::int16_t ToShort() const;
    [[nodiscard]] std::int32_t ToLong() const;
    [[nodiscard]] std::uint32_t ToULong() const;
    [[nodiscard]] double ToDouble() const;
    [[nodiscard]] bool ToBool() const;
    [[nodiscard]] std::wstring ToString() const;
    [[nodiscard]] com_ptr<IDispatch> ToDispatch() const;
    [[nodiscard]] com_ptr<IUnknown> ToUnknown() const;
    // A SAFEARRAY of BSTR or of VARIANT (each converted to text), in index order.
    [[nodiscard]] std::vector<std::wstring> ToStringArray() const;

    // "VT_I4 5", "VT_BSTR \"abc\"": for failure messages.
    [[nodiscard]] std::wstring Describe() const;

    // Same type and value; objects compare by identity (their IUnknown).
    friend bool operator==(const Variant& a, const Variant& b);

private:
    VARIANT m_value;
};

[[nodiscard]] std::wstring VarTypeName(VARTYPE vt);
[[nodiscard]] std::string Narrow(std::wstring_view text);

// gtest prints values through this.
void PrintTo(const Variant& value, std::ostream* out);

}  // namespace zo::test
