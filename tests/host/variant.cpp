#include "tests/host/variant.h"

#include <ostream>
#include <stdexcept>
#include <utility>

#include "common/handles.h"

namespace zo::test {

namespace {

std::runtime_error ConversionError(const VARIANT& value, VARTYPE target, HRESULT hr) {
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return std::runtime_error(Narrow(L"cannot convert " + VarTypeName(value.vt) + L" to " +
                                     VarTypeName(target) + L": " + code));
}

// The value converted to `target`, or an exception naming both types.
Variant Converted(const VARIANT& value, VARTYPE target) {
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr = ::VariantChangeType(&result, const_cast<VARIANT*>(&value), 0, target);
    if (FAILED(hr)) throw ConversionError(value, target, hr);
    return Variant::Attach(result);
}

}  // namespace

Variant::Variant() noexcept { ::VariantInit(&m_value); }

Variant::Variant(const Variant& other) : Variant(other.m_value) {}

Variant::Variant(Variant&& other) noexcept : m_value(other.m_value) { ::VariantInit(&other.m_value); }

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        std::swap(m_value, copy.m_value);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        ::VariantClear(&m_value);
        m_value = other.m_value;
        ::VariantInit(&other.m_value);
    }
    return *this;
}

Variant::~Variant() { ::VariantClear(&m_value); }

Variant::Variant(const VARIANT& borrowed) : Variant() {
    const HRESULT hr = ::VariantCopy(&m_value, const_cast<VARIANT*>(&borrowed));
    if (FAILED(hr)) throw ConversionError(borrowed, borrowed.vt, hr);  // copying an unsupported type
}

Variant::Variant(std::int16_t value) noexcept : Variant() { m_value.vt = VT_I2; m_value.iVal = value; }
Variant::Variant(std::int32_t value) noexcept : Variant() { m_value.vt = VT_I4; m_value.lVal = value; }
Variant::Variant(long value) noexcept : Variant() { m_value.vt = VT_I4; m_value.lVal = value; }
Variant::Variant(unsigned long value) noexcept : Variant() { m_value.vt = VT_UI4; m_value.ulVal = value; }
Variant::Variant(float value) noexcept : Variant() { m_value.vt = VT_R4; m_value.fltVal = value; }
Variant::Variant(double value) noexcept : Variant() { m_value.vt = VT_R8; m_value.dblVal = value; }
Variant::Variant(bool value) noexcept : Variant() {
    m_value.vt = VT_BOOL;
    m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
Variant::Variant(const wchar_t* text) : Variant(std::wstring_view(text ? text : L"")) {}
Variant::Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
Variant::Variant(std::wstring_view text) : Variant() {
    BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) throw std::bad_alloc();
    m_value.vt = VT_BSTR;
    m_value.bstrVal = copy;
}
Variant::Variant(IDispatch* object) noexcept : Variant() {
    m_value.vt = VT_DISPATCH;
    m_value.pdispVal = object;
    if (object) object->AddRef();
}
Variant::Variant(IUnknown* object) noexcept : Variant() {
    m_value.vt = VT_UNKNOWN;
    m_value.punkVal = object;
    if (object) object->AddRef();
}

Variant Variant::Missing() noexcept { return Error(DISP_E_PARAMNOTFOUND); }

Variant Variant::Error(SCODE code) noexcept {
    Variant v;
    v.m_value.vt = VT_ERROR;
    v.m_value.scode = code;
    return v;
}

Variant Variant::Null() noexcept {
    Variant v;
    v.m_value.vt = VT_NULL;
    return v;
}

Variant Variant::Nothing() noexcept { return Variant(static_cast<IDispatch*>(nullptr)); }

Variant Variant::Byte(BYTE value) noexcept {
    Variant v;
    v.m_value.vt = VT_UI1;
    v.m_value.bVal = value;
    return v;
}

Variant Variant::Currency(LONGLONG tenThousandths) noexcept {
    Variant v;
    v.m_value.vt = VT_CY;
    v.m_value.cyVal.int64 = tenThousandths;
    return v;
}

Variant Variant::StringArray(const std::vector<std::wstring>& items, LONG lowerBound) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lowerBound};
    unique_safearray array(::SafeArrayCreate(VT_BSTR, 1, &bound));
    if (!array) throw std::bad_alloc();
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        unique_bstr item(::SysAllocStringLen(items[i].data(), static_cast<UINT>(items[i].size())));
        LONG index = lowerBound + i;
        // SafeArrayPutElement copies the BSTR.
        if (FAILED(::SafeArrayPutElement(array.get(), &index, item.get()))) throw std::bad_alloc();
    }
    Variant v;
    v.m_value.vt = VT_ARRAY | VT_BSTR;
    v.m_value.parray = array.release();
    return v;
}

Variant Variant::Attach(VARIANT& owned) noexcept {
    Variant v;
    v.m_value = owned;
    ::VariantInit(&owned);
    return v;
}

Variant Variant::Ref(VARIANT* target) noexcept {
    Variant v;
    v.m_value.vt = VT_VARIANT | VT_BYREF;
    v.m_value.pvarVal = target;
    return v;
}

Variant Variant::RefI2(SHORT* target) noexcept {
    Variant v;
    v.m_value.vt = VT_I2 | VT_BYREF;
    v.m_value.piVal = target;
    return v;
}

Variant Variant::RefI4(LONG* target) noexcept {
    Variant v;
    v.m_value.vt = VT_I4 | VT_BYREF;
    v.m_value.plVal = target;
    return v;
}

Variant Variant::RefBool(VARIANT_BOOL* target) noexcept {
    Variant v;
    v.m_value.vt = VT_BOOL | VT_BYREF;
    v.m_value.pboolVal = target;
    return v;
}

Variant Variant::RefBstr(BSTR* target) noexcept {
    Variant v;
    v.m_value.vt = VT_BSTR | VT_BYREF;
    v.m_value.pbstrVal = target;
    return v;
}

Variant Variant::RefStringArray(SAFEARRAY** target) noexcept {
    Variant v;
    v.m_value.vt = VT_ARRAY | VT_BSTR | VT_BYREF;
    v.m_value.pparray = target;
    return v;
}

VARIANT* Variant::put() noexcept {
    ::VariantClear(&m_value);
    return &m_value;
}

bool Variant::IsMissing() const noexcept {
    return m_value.vt == VT_ERROR && m_value.scode == DISP_E_PARAMNOTFOUND;
}

bool Variant::IsObject() const noexcept { return m_value.vt == VT_DISPATCH || m_value.vt == VT_UNKNOWN; }

std::int16_t Variant::ToShort() const { return Converted(m_value, VT_I2).get().iVal; }
std::int32_t Variant::ToLong() const { return Converted(m_value, VT_I4).get().lVal; }
std::uint32_t Variant::ToULong() const { return Converted(m_value, VT_UI4).get().ulVal; }
double Variant::ToDouble() const { return Converted(m_value, VT_R8).get().dblVal; }
bool Variant::ToBool() const { return Converted(m_value, VT_BOOL).get().boolVal != VARIANT_FALSE; }

std::wstring Variant::ToString() const {
    const Variant text = Converted(m_value, VT_BSTR);
    return std::wstring(text.get().bstrVal, ::SysStringLen(text.get().bstrVal));
}

com_ptr<IDispatch> Variant::ToDispatch() const {
    const Variant object = Converted(m_value, VT_DISPATCH);
    return com_ptr<IDispatch>(object.get().pdispVal);
}

com_ptr<IUnknown> Variant::ToUnknown() const {
    const Variant object = Converted(m_value, VT_UNKNOWN);
    return com_ptr<IUnknown>(object.get().punkVal);
}

std::vector<std::wstring> Variant::ToStringArray() const {
    const VARIANT* value = &m_value;
    if (value->vt == (VT_VARIANT | VT_BYREF)) value = value->pvarVal;
    if (!(value->vt & VT_ARRAY)) throw ConversionError(m_value, VT_ARRAY | VT_BSTR, DISP_E_TYPEMISMATCH);
    SAFEARRAY* array = (value->vt & VT_BYREF) ? *value->pparray : value->parray;
    const VARTYPE element = value->vt & VT_TYPEMASK;
    std::vector<std::wstring> items;
    if (!array) return items;
    if (::SafeArrayGetDim(array) != 1 || (element != VT_BSTR && element != VT_VARIANT))
        throw ConversionError(m_value, VT_ARRAY | VT_BSTR, DISP_E_TYPEMISMATCH);
    LONG lower = 0, upper = -1;
    ::SafeArrayGetLBound(array, 1, &lower);
    ::SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        if (element == VT_BSTR) {
            BSTR item = nullptr;
            if (FAILED(::SafeArrayGetElement(array, &i, &item))) throw std::bad_alloc();
            unique_bstr owned(item);
            items.emplace_back(item ? item : L"", ::SysStringLen(item));
        } else {
            Variant item;
            if (FAILED(::SafeArrayGetElement(array, &i, item.put()))) throw std::bad_alloc();
            items.push_back(item.ToString());
        }
    }
    return items;
}

std::wstring Variant::Describe() const {
    std::wstring text = VarTypeName(m_value.vt);
    if (m_value.vt == VT_EMPTY || m_value.vt == VT_NULL) return text;
    if (m_value.vt == VT_ERROR) {
        wchar_t code[16];
        swprintf(code, 16, L" 0x%08lX", static_cast<unsigned long>(m_value.scode));
        return text + code;
    }
    if (m_value.vt == VT_DISPATCH || m_value.vt == VT_UNKNOWN) {
        wchar_t address[32];
        swprintf(address, 32, L" %p", static_cast<void*>(m_value.punkVal));
        return text + address;
    }
    if (m_value.vt & VT_ARRAY) {
        try {
            std::wstring list = L" {";
            for (const std::wstring& item : ToStringArray()) list += L"\"" + item + L"\",";
            if (list.back() == L',') list.pop_back();
            return text + list + L"}";
        } catch (const std::exception&) {
            return text;
        }
    }
    unique_variant asText;
    if (FAILED(::VariantChangeType(&asText, const_cast<VARIANT*>(&m_value), 0, VT_BSTR))) return text;
    std::wstring value(asText.bstrVal, ::SysStringLen(asText.bstrVal));
    const VARTYPE base = m_value.vt & VT_TYPEMASK;
    if (base == VT_BSTR || (base == VT_VARIANT && m_value.pvarVal && m_value.pvarVal->vt == VT_BSTR))
        value = L"\"" + value + L"\"";
    return text + L" " + value;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.vt() != b.vt()) return false;
    if (a.IsObject()) {
        com_ptr<IUnknown> left = a.get().punkVal ? com_ptr<IUnknown>(a.get().punkVal).query<IUnknown>() : nullptr;
        com_ptr<IUnknown> right = b.get().punkVal ? com_ptr<IUnknown>(b.get().punkVal).query<IUnknown>() : nullptr;
        return left.get() == right.get();
    }
    if (a.vt() & (VT_ARRAY | VT_BYREF)) {
        if (a.vt() == (VT_ARRAY | VT_BSTR)) return a.ToStringArray() == b.ToStringArray();
        return a.get().byref == b.get().byref;
    }
    if (a.vt() == VT_ERROR) return a.get().scode == b.get().scode;
    if (a.vt() == VT_EMPTY || a.vt() == VT_NULL) return true;
    VARIANT left = a.get(), right = b.get();
    return ::VarCmp(&left, &right, LOCALE_USER_DEFAULT, 0) == static_cast<HRESULT>(VARCMP_EQ);
}

std::wstring VarTypeName(VARTYPE vt) {
    static const struct { VARTYPE vt; const wchar_t* name; } kNames[] = {
        {VT_EMPTY, L"VT_EMPTY"}, {VT_NULL, L"VT_NULL"}, {VT_I2, L"VT_I2"}, {VT_I4, L"VT_I4"},
        {VT_R4, L"VT_R4"}, {VT_R8, L"VT_R8"}, {VT_CY, L"VT_CY"}, {VT_DATE, L"VT_DATE"},
        {VT_BSTR, L"VT_BSTR"}, {VT_DISPATCH, L"VT_DISPATCH"}, {VT_ERROR, L"VT_ERROR"},
        {VT_BOOL, L"VT_BOOL"}, {VT_VARIANT, L"VT_VARIANT"}, {VT_UNKNOWN, L"VT_UNKNOWN"},
        {VT_DECIMAL, L"VT_DECIMAL"}, {VT_I1, L"VT_I1"}, {VT_UI1, L"VT_UI1"}, {VT_UI2, L"VT_UI2"},
        {VT_UI4, L"VT_UI4"}, {VT_I8, L"VT_I8"}, {VT_UI8, L"VT_UI8"}, {VT_INT, L"VT_INT"},
        {VT_UINT, L"VT_UINT"},
    };
    std::wstring name;
    const VARTYPE base = vt & VT_TYPEMASK;
    for (const auto& entry : kNames)
        if (entry.vt == base) name = entry.name;
    if (name.empty()) name = L"VT_" + std::to_wstring(base);
    if (vt & VT_ARRAY) name += L"|VT_ARRAY";
    if (vt & VT_BYREF) name += L"|VT_BYREF";
    return name;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                          nullptr, nullptr);
    return result;
}

void PrintTo(const Variant& value, std::ostream* out) { *out << Narrow(value.Describe()); }

}  // namespace zo::test
