// Creation, the appearance properties and the event of the
// ZoColorPicker control.
#include <olectl.h>

#include "colour_picking/zo_color_picker.h"
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_error.h"
#include "runtime/do_events.h"
#include "runtime/event_args.h"
#include "runtime/fonts.h"

namespace zo {

namespace {

const ControlClassInfo kColorPickerClass{
    &CLSID_ZoColorPicker, &IID__ZoColorPicker, &DIID___ZoColorPicker,
    OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
        OLEMISC_SETCLIENTSITEFIRST};

constexpr DISPID kColorPickedEvent = 1;

// A window or DC handle as the interface's 32-bit Long (handles fit in 32
// bits on 64-bit Windows too).
LONG HandleAsLong(const void* handle) noexcept {
    return static_cast<LONG>(reinterpret_cast<LONG_PTR>(handle));
}

}  // namespace

HRESULT ZoColorPicker::Create(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return GuardedCall(IID_IClassFactory, [&] {
        const auto picker = com_ptr<ZoColorPicker>::attach(new ZoColorPicker());
        return picker->QueryInterface(iid, out);
    });
}

com_ptr<ZoColorPicker> ZoColorPicker::CreateInstance() {
    com_ptr<ZoColorPicker> picker;
    try {
        picker = com_ptr<ZoColorPicker>::attach(new ZoColorPicker());
    } catch (...) {
        // The library's forms take a null picker as one that could not be made.
    }
    return picker;
}

ZoColorPicker::ZoColorPicker() : DualControl(kColorPickerClass) { UserControl_Initialize(); }

ZoColorPicker::~ZoColorPicker() = default;

void ZoColorPicker::UserControl_Initialize() {
    HWND surface = Surface().hWnd();
    Surface().SetBackColor(system_colour::ButtonFace);
    Surface().SetForeColor(system_colour::ButtonText);
    m_picCustom.Create(surface);
    m_picCustom.SetBackColor(system_colour::ButtonFace);
    m_picCustom.SetForeColor(system_colour::ButtonShadow);  // outlines the cells
    m_picCustom.SetPainter([this](HDC dc, const RECT&) { picCustom_Paint(dc); });
    m_picCustom.SetMouseHandler([this](const MouseEvent& event) { picCustom_Mouse(event); });
    m_zocr.Create(surface, true);
    m_zocr.SetVisible(false);
    m_zocr.SetMouseDownHandler([this](const MouseEvent& event) { zocr_MouseDown(event); });
    Surface().SetFont(CreateDefaultGuiFont());
    m_zocr.SetFont(Surface().Font());
    UpdateListItemHeight();
    ResetListColors(false);
    AddSystemColours();
    UserControl_Resize();
}

void ZoColorPicker::UserControl_Terminate() {
    m_accessible.Reset();
    ResetListColors(true);
    DoUnSubclass();
    DoEvents();
}

void ZoColorPicker::RaiseColorPicked(int32_t colour) noexcept {
    com_ptr<IUnknown> self(static_cast<_ZoColorPicker*>(this));
    // A pick that cannot be reported is dropped; the picker goes on.
    (void)GuardedCall(IID__ZoColorPicker, [&] {
        EventArgs args;
        args.Long(colour);
        RaiseControlEvent(kColorPickedEvent, args);
        if (!m_onColorPicked) return;
        auto listener = m_onColorPicked;  // the listener may replace itself
        listener(colour);
    });
}

void ZoColorPicker::SetStyle(int32_t style) noexcept {
    m_style = style;
    PropertyChanged(L"Style");
}

// --- Appearance -----------------------------------------------------------------

STDMETHODIMP ZoColorPicker::get_BackColor(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = Surface().BackColor();
    return S_OK;
}

STDMETHODIMP ZoColorPicker::put_BackColor(OLE_COLOR value) {
    Surface().SetBackColor(value);
    PropertyChanged(L"BackColor");
    Surface().Refresh();
    return S_OK;
}

STDMETHODIMP ZoColorPicker::get_ForeColor(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = Surface().ForeColor();
    return S_OK;
}

STDMETHODIMP ZoColorPicker::put_ForeColor(OLE_COLOR value) {
    Surface().SetForeColor(value);
    PropertyChanged(L"ForeColor");
    return S_OK;
}

STDMETHODIMP ZoColorPicker::get_Font(IFontDisp** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    com_ptr<IFont> font = Surface().Font();
    return font ? font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(result)) : S_OK;
}

STDMETHODIMP ZoColorPicker::putref_Font(IFontDisp* value) {
    return GuardedCall(IID__ZoColorPicker, [&] {
        SetFont(FontFrom(value));
        Surface().Refresh();
        PropertyChanged(L"Font");
    });
}

void ZoColorPicker::SetFont(com_ptr<IFont> font) {
    if (!font) throw VbError::Runtime(vb_error::kInvalidPropertyValue);
    Surface().SetFont(font);
    m_zocr.SetFont(font);
    UpdateListItemHeight();
}

STDMETHODIMP ZoColorPicker::get_BorderStyle(zocrBorderStyles* result) {
    if (!result) return E_POINTER;
    *result = static_cast<zocrBorderStyles>(Surface().BorderStyle());
    return S_OK;
}

STDMETHODIMP ZoColorPicker::put_BorderStyle(zocrBorderStyles value) {
    return GuardedCall(IID__ZoColorPicker, [&] {
        Surface().SetBorderStyle(static_cast<int16_t>(value));
        PropertyChanged(L"BorderStyle");
    });
}

STDMETHODIMP ZoColorPicker::get_hWnd(LONG* result) {
    if (!result) return E_POINTER;
    *result = HandleAsLong(Surface().hWnd());
    return S_OK;
}

STDMETHODIMP ZoColorPicker::get_hDC(LONG* result) {
    if (!result) return E_POINTER;
    *result = HandleAsLong(Surface().hDC());
    return S_OK;
}

STDMETHODIMP ZoColorPicker::get_hWndColors(LONG* result) {
    if (!result) return E_POINTER;
    *result = HandleAsLong(m_picCustom.hWnd());
    return S_OK;
}

STDMETHODIMP ZoColorPicker::get_hWndList(LONG* result) {
    if (!result) return E_POINTER;
    *result = HandleAsLong(m_zocr.hWnd());
    return S_OK;
}

}  // namespace zo
