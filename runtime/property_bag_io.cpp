#include "runtime/property_bag_io.h"

#include "common/handles.h"
#include "runtime/fonts.h"

namespace zo {

namespace {

enum class ReadOutcome { Value, Missing, Unreadable };

// Reads a key and converts it to the wanted type.
ReadOutcome ReadAs(IPropertyBag& bag, const wchar_t* name, VARTYPE type, unique_variant& value) noexcept {
    VARIANT* raw = value.put();
    V_VT(raw) = type;
    const HRESULT hr = bag.Read(name, raw, nullptr);
    if (FAILED(hr)) {
        value.reset();
        return KeyIsMissing(bag, name, hr) ? ReadOutcome::Missing : ReadOutcome::Unreadable;
    }
    if (V_VT(raw) == type) return ReadOutcome::Value;
    if (FAILED(::VariantChangeType(raw, raw, 0, type))) return ReadOutcome::Unreadable;
    return ReadOutcome::Value;
}

bool Write(IPropertyBag& bag, const wchar_t* name, VARIANT& value) noexcept {
    return SUCCEEDED(bag.Write(name, &value));
}

}  // namespace

// A bag converting the stored value to the type asked for may answer
// E_INVALIDARG for a value it cannot convert (the system's conversions do,
// for a date out of range), so that answer is checked by asking for the
// value as stored.
bool KeyIsMissing(IPropertyBag& bag, const wchar_t* name, HRESULT hr) noexcept {
    if (hr != E_INVALIDARG) return false;
    unique_variant stored;
    return bag.Read(name, stored.put(), nullptr) == E_INVALIDARG;
}

std::optional<int16_t> ReadInteger(IPropertyBag& bag, const wchar_t* name, int16_t fallback) {
    unique_variant value;
    switch (ReadAs(bag, name, VT_I2, value)) {
        case ReadOutcome::Value: return V_I2(&value);
        case ReadOutcome::Missing: return fallback;
        default: return std::nullopt;
    }
}

std::optional<int32_t> ReadLong(IPropertyBag& bag, const wchar_t* name, int32_t fallback) {
    unique_variant value;
    switch (ReadAs(bag, name, VT_I4, value)) {
        case ReadOutcome::Value: return V_I4(&value);
        case ReadOutcome::Missing: return fallback;
        default: return std::nullopt;
    }
}

std::optional<bool> ReadBoolean(IPropertyBag& bag, const wchar_t* name, bool fallback) {
    unique_variant value;
    switch (ReadAs(bag, name, VT_BOOL, value)) {
        case ReadOutcome::Value: return V_BOOL(&value) != VARIANT_FALSE;
        case ReadOutcome::Missing: return fallback;
        default: return std::nullopt;
    }
}

std::optional<std::wstring> ReadString(IPropertyBag& bag, const wchar_t* name, const std::wstring& fallback) {
    unique_variant value;
    switch (ReadAs(bag, name, VT_BSTR, value)) {
        case ReadOutcome::Value:
            return V_BSTR(&value) ? std::wstring(V_BSTR(&value), ::SysStringLen(V_BSTR(&value))) : std::wstring();
        case ReadOutcome::Missing: return fallback;
        default: return std::nullopt;
    }
}

com_ptr<IFont> ReadFont(IPropertyBag& bag, const wchar_t* name, com_ptr<IFont> fallback) {
    unique_variant value;
    VARIANT* raw = value.put();
    V_VT(raw) = VT_DISPATCH;
    const HRESULT hr = bag.Read(name, raw, nullptr);
    if (FAILED(hr)) return KeyIsMissing(bag, name, hr) ? fallback : nullptr;
    if ((V_VT(raw) == VT_DISPATCH || V_VT(raw) == VT_UNKNOWN) && V_UNKNOWN(raw)) {
        if (com_ptr<IFont> font = FontFrom(V_UNKNOWN(raw))) return font;
    }
    return nullptr;
}

bool WriteInteger(IPropertyBag& bag, const wchar_t* name, int16_t value, int16_t fallback) noexcept {
    if (value == fallback) return true;
    VARIANT variant;
    V_VT(&variant) = VT_I2;
    V_I2(&variant) = value;
    return Write(bag, name, variant);
}

bool WriteLong(IPropertyBag& bag, const wchar_t* name, int32_t value, int32_t fallback) noexcept {
    if (value == fallback) return true;
    VARIANT variant;
    V_VT(&variant) = VT_I4;
    V_I4(&variant) = value;
    return Write(bag, name, variant);
}

bool WriteBoolean(IPropertyBag& bag, const wchar_t* name, bool value, bool fallback) noexcept {
    if (value == fallback) return true;
    VARIANT variant;
    V_VT(&variant) = VT_BOOL;
    V_BOOL(&variant) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Write(bag, name, variant);
}

bool WriteString(IPropertyBag& bag, const wchar_t* name, const std::wstring& value,
                 const std::wstring& fallback) noexcept {
    if (value == fallback) return true;
    unique_variant variant;
    V_VT(&variant) = VT_BSTR;
    V_BSTR(&variant) = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return Write(bag, name, variant);
}

bool WriteFont(IPropertyBag& bag, const wchar_t* name, IFont* value, IFont* fallback) noexcept {
    if (!value || SameFont(value, fallback)) return true;
    com_ptr<IDispatch> dispatch = com_ptr<IFont>(value).query<IDispatch>();
    if (!dispatch) return false;
    VARIANT variant;
    V_VT(&variant) = VT_DISPATCH;
    V_DISPATCH(&variant) = dispatch.get();
    return Write(bag, name, variant);
}

}  // namespace zo
