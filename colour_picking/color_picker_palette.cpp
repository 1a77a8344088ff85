// The colour picker's state: the palette, the current colour and the style,
// streamed as 64 Longs, and saved to and loaded from the property bag.
#include <cstring>

#include "colour_picking/zo_color_picker.h"
#include "common/ole_colour.h"
#include "common/vb_error.h"
#include "runtime/fonts.h"
#include "runtime/property_bag_io.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

constexpr OLE_COLOR kDefaultBackColor = system_colour::ButtonFace;
constexpr OLE_COLOR kDefaultForeColor = system_colour::ButtonText;
constexpr int32_t kDefaultStyle = 2;

// A caller's array that may be given new bounds: a dynamic array of Longs
// nobody has locked.
bool CanRedimension(const SAFEARRAY* array) noexcept {
    if (!array) return true;
    constexpr USHORT kFixed = FADF_FIXEDSIZE | FADF_STATIC | FADF_EMBEDDED | FADF_AUTO;
    if ((array->fFeatures & kFixed) != 0 || array->cLocks != 0) return false;
    VARTYPE type = VT_EMPTY;
    return SUCCEEDED(::SafeArrayGetVartype(const_cast<SAFEARRAY*>(array), &type)) && type == VT_I4;
}

}  // namespace

int32_t ZoColorPicker::CellColour(int x, int y) const noexcept {
    return IsPaletteCell(x, y) ? m_colors[static_cast<size_t>(PaletteIndex(x, y))] : 0;
}

STDMETHODIMP ZoColorPicker::get_Colors(short* x, short* Y, LONG* result) {
    if (!x || !Y || !result) return E_POINTER;
    *result = CellColour(*x, *Y);
    return S_OK;
}

STDMETHODIMP ZoColorPicker::put_Colors(short* x, short* Y, LONG value) {
    if (!x || !Y) return E_POINTER;
    if (IsPaletteCell(*x, *Y)) m_colors[static_cast<size_t>(PaletteIndex(*x, *Y))] = value;
    PropertyChanged(L"Colors");
    return S_OK;
}

// The interface returns the whole colour: a picked colour is any 24-bit
// value, which a 16-bit Integer could not carry.
STDMETHODIMP ZoColorPicker::get_Color(LONG* result) {
    if (!result) return E_POINTER;
    *result = m_color;
    return S_OK;
}

STDMETHODIMP ZoColorPicker::put_Color(LONG value) {
    m_color = value;
    PropertyChanged(L"Color");
    return S_OK;
}

STDMETHODIMP ZoColorPicker::StreamSerialize(SAFEARRAY** RetArr) {
    if (!RetArr || !CanRedimension(*RetArr)) return S_OK;
    SAFEARRAY* fresh = ::SafeArrayCreateVector(VT_I4, 0, kPaletteCells);
    if (!fresh) return S_OK;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(fresh, &data))) {
        ::SafeArrayDestroy(fresh);
        return S_OK;
    }
    std::memcpy(data, m_colors.data(), sizeof(m_colors));
    ::SafeArrayUnaccessData(fresh);
    if (*RetArr) ::SafeArrayDestroy(*RetArr);
    *RetArr = fresh;
    return S_OK;
}

STDMETHODIMP ZoColorPicker::StreamRead(SAFEARRAY** StreamIn) {
    return GuardedCall(IID__ZoColorPicker, [&] {
        SAFEARRAY* array = StreamIn ? *StreamIn : nullptr;
        if (!array || ::SafeArrayGetDim(array) != 1) throw VbError::Runtime(vb_error::kSubscriptOutOfRange);
        LONG lower = 0, upper = 0;
        ::SafeArrayGetLBound(array, 1, &lower);
        ::SafeArrayGetUBound(array, 1, &upper);
        if (static_cast<int64_t>(upper) - lower != kPaletteCells - 1) return;
        VARTYPE type = VT_EMPTY;
        if (FAILED(::SafeArrayGetVartype(array, &type)) || type != VT_I4) return;
        void* data = nullptr;
        if (FAILED(::SafeArrayAccessData(array, &data))) return;
        std::memcpy(m_colors.data(), data, sizeof(m_colors));
        ::SafeArrayUnaccessData(array);
    });
}

// --- Persistence ------------------------------------------------------------

void ZoColorPicker::UserControl_InitProperties() {
    Skipping([&] { SetFont(AmbientProperties().Font()); });
    m_color = 0;
    m_style = kDefaultStyle;
    m_colors = DefaultPalette();
    StartRunMode();
}

void ZoColorPicker::UserControl_ReadProperties(IPropertyBag& bag) {
    Skipping([&] {
        if (auto style = ReadInteger(bag, L"BorderStyle", 1)) Surface().SetBorderStyle(*style);
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"BackColor", static_cast<int32_t>(kDefaultBackColor)))
            Surface().SetBackColor(static_cast<OLE_COLOR>(*colour));
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"ForeColor", static_cast<int32_t>(kDefaultForeColor)))
            Surface().SetForeColor(static_cast<OLE_COLOR>(*colour));
    });
    Skipping([&] { SetFont(ReadFont(bag, L"Font", AmbientProperties().Font())); });
    for (int x = 1; x <= kPaletteSide; ++x) {
        for (int y = 1; y <= kPaletteSide; ++y) {
            Skipping([&] {
                if (auto colour = ReadLong(bag, PaletteKey(x, y).c_str(), kWhite))
                    m_colors[static_cast<size_t>(PaletteIndex(x, y))] = *colour;
            });
        }
    }
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"Color", 0)) m_color = *colour;
    });
    Skipping([&] {
        if (auto style = ReadLong(bag, L"Style", kDefaultStyle)) m_style = *style;
    });
    StartRunMode();
}

void ZoColorPicker::UserControl_WriteProperties(IPropertyBag& bag) {
    WriteInteger(bag, L"BorderStyle", Surface().BorderStyle(), 1);
    WriteLong(bag, L"BackColor", static_cast<int32_t>(Surface().BackColor()), static_cast<int32_t>(kDefaultBackColor));
    WriteLong(bag, L"ForeColor", static_cast<int32_t>(Surface().ForeColor()), static_cast<int32_t>(kDefaultForeColor));
    Skipping([&] { WriteFont(bag, L"Font", Surface().Font().get(), AmbientProperties().Font().get()); });
    for (int x = 1; x <= kPaletteSide; ++x) {
        for (int y = 1; y <= kPaletteSide; ++y)
            Skipping([&] { WriteLong(bag, PaletteKey(x, y).c_str(), CellColour(x, y), kWhite); });
    }
    WriteLong(bag, L"Color", m_color, 0);
    WriteLong(bag, L"Style", m_style, kDefaultStyle);
}

// --- Run mode ---------------------------------------------------------------

void ZoColorPicker::CheckDesignMode() noexcept {
    try {
        m_designMode = !AmbientProperties().UserMode();
    } catch (...) {
        m_designMode = true;
    }
}

void ZoColorPicker::StartRunMode() noexcept {
    CheckDesignMode();
    if (!m_designMode) DoSubclass();
}

// A container that initialises the control before siting it is asked again
// once the site arrives.
void ZoColorPicker::UserControl_Sited() {
    if (!m_oldWndProc) StartRunMode();
}

}  // namespace zo
