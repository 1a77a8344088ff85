#include "colour_picking/colour_form.h"

#include <cmath>
#include <utility>

#include "common/dpi.h"
#include "common/vb_error.h"
#include "runtime/control_window.h"
#include "runtime/embedded_site.h"
#include "runtime/module.h"
#include "runtime/skipping.h"
#include "runtime/stream_property_bag.h"

namespace zo {

namespace {

constexpr wchar_t kFormClass[] = L"ZoColorForm";
constexpr wchar_t kProcProperty[] = L"ColorProc";
constexpr wchar_t kObjectProperty[] = L"frmColorPtr";
// Posted when another window took the activation: the form unloads once the
// messages that caused it have run, never inside them.
constexpr UINT kUnloadWhenHidden = WM_APP + 0x43;

// 150 x 177 pixels at 96 DPI (the width set as 2250 twips), scaled with the
// picker's tabs and cells at other DPIs.
constexpr int kFormWidthAt96 = 150;
constexpr int kFormHeightAt96 = 177;

// The picker's stored design data, as a saved form holds it: the default
// palette under lower-case keys, white cells left out.
com_ptr<IPropertyBag> StoredPickerData() {
    com_ptr<IPropertyBag> bag = com_ptr<IPropertyBag>::attach(StreamPropertyBag::Create());
    for (int x = 1; x <= kPaletteSide; ++x) {
        for (int y = 1; y <= kPaletteSide; ++y) {
            const int32_t colour = DefaultPalette()[static_cast<size_t>(PaletteIndex(x, y))];
            if (colour == kWhite) continue;
            std::wstring key = PaletteKey(x, y);
            key[0] = L'c';
            VARIANT value;
            V_VT(&value) = VT_I4;
            V_I4(&value) = colour;
            bag->Write(key.c_str(), &value);
        }
    }
    return bag;
}

}  // namespace

ColorForm::ColorForm(PaletteFile paletteFile)
    : m_paletteFile(std::move(paletteFile)), m_subclass(kProcProperty, kObjectProperty) {}

ColorForm::~ColorForm() { Unload(); }

ZoColorPicker& ColorForm::Picker() {
    Form_Load();
    if (!m_picker) throw VbError::Runtime(vb_error::kObjectNotSet);
    return *m_picker.get();
}

HWND ColorForm::hWnd() {
    Form_Load();
    return m_window;
}

int ColorForm::FormPixels(int pixelsAt96) const noexcept {
    return ScaleFromDesignDpi(pixelsAt96, DpiOfWindow(m_window));
}

void ColorForm::Form_Load() {
    if (m_window) return;
    RegisterClassOnce(kFormClass, FormWindowProc, 0);
    m_window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kFormClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0,
                                 0, 0, 0, nullptr, nullptr, ModuleInstance(), this);
    if (!m_window) throw VbError::Runtime(vb_error::kObjectNotSet);
    AnswerAsDialog();
    Skipping([&] { CreatePicker(); });
    Skipping([&] {
        if (m_savedColors && m_picker) m_picker->SetPalette(*m_savedColors);
    });
    Skipping([&] {
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, FormPixels(kFormHeightAt96), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    ::SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    Skipping([&] {
        if (m_picker) m_picker->Show(1);
    });
    Skipping([&] {
        ::SetWindowPos(m_window, nullptr, 0, 0, FormPixels(kFormWidthAt96), FormPixels(kFormHeightAt96),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

void ColorForm::CreatePicker() {
    com_ptr<ZoColorPicker> picker = ZoColorPicker::CreateInstance();
    com_ptr<IOleClientSite> site = CreateEmbeddedSite();
    if (!picker || !site) return;
    picker->SetClientSite(site.get());
    com_ptr<IPropertyBag> design = StoredPickerData();
    static_cast<IPersistPropertyBag*>(picker.get())->Load(design.get(), nullptr);
    RECT client{};
    ::GetClientRect(m_window, &client);
    picker->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0, m_window, &client);
    picker->SetColorPickedListener([this](int32_t colour) { zocr_ColorPicked(colour); });
    m_picker = std::move(picker);
}

void ColorForm::Form_Resize() noexcept {
    if (!m_picker || !m_window) return;
    RECT client{};
    ::GetClientRect(m_window, &client);
    m_picker->SetObjectRects(&client, &client);
}

void ColorForm::Popup() {
    Form_Load();
    if (m_picker) m_picker->Subclass();
    if (!m_subclass.Installed()) m_subclass.Install(m_window, &ColorFormWndProc, this);
    ::ShowWindow(m_window, SW_SHOWNORMAL);
}

void ColorForm::Hide() noexcept {
    if (m_window && ::IsWindowVisible(m_window)) ::ShowWindow(m_window, SW_HIDE);
}

void ColorForm::Unload() noexcept {
    HWND window = std::exchange(m_window, nullptr);
    if (!window) return;
    ReleasePicker();
    m_subclass.Remove();
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
}

// Keeps the palette for the next load and lets the picker go. The picker may
// be raising the event that led here: it lives on until that returns, but
// its window leaves the form first (closing parks it), so that it does not
// go down with the form's window.
void ColorForm::ReleasePicker() noexcept {
    com_ptr<ZoColorPicker> picker = std::move(m_picker);
    if (!picker) return;
    picker->UnSubclass();
    m_savedColors = picker->Palette();
    picker->SetColorPickedListener(nullptr);
    picker->Close(OLECLOSE_NOSAVE);
    picker->SetClientSite(nullptr);
}

void ColorForm::zocr_ColorPicked(int32_t colour) {
    Hide();
    if (!m_onColorPicked) return;
    auto listener = m_onColorPicked;  // the listener may unload the form
    listener(colour);
}

// The form's own dialogs (the colour dialog of the picker) take the
// activation without dismissing it.
bool ColorForm::OwnsWindow(HWND window) const noexcept {
    for (HWND owner = window; owner; owner = ::GetWindow(owner, GW_OWNER)) {
        if (owner == m_window) return true;
    }
    return false;
}

void ColorForm::OnDeactivated(HWND activated) noexcept {
    if (OwnsWindow(activated)) return;
    Hide();
    if (m_window) ::PostMessageW(m_window, kUnloadWhenHidden, 0, 0);
}

void ColorForm::LoadSavedColors() noexcept {
    if (std::optional<PaletteColours> colours = m_paletteFile.Load()) m_savedColors = colours;
}

void ColorForm::SaveSavedColors() noexcept {
    if (m_picker) m_savedColors = m_picker->Palette();
    if (m_savedColors) (void)m_paletteFile.Save(*m_savedColors);
}

LRESULT CALLBACK ColorForm::FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<ColorForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form) {
        switch (message) {
            case WM_SIZE:
                form->Form_Resize();
                break;
            case WM_SYSCOLORCHANGE:
                // Child windows hear of a new colour scheme only from their form.
                if (form->m_picker) ::SendMessageW(form->m_picker->Window(), message, wParam, lParam);
                break;
            case kUnloadWhenHidden:
                if (!::IsWindowVisible(window)) form->Unload();
                return 0;
            case WM_DESTROY:
                // Destroyed by someone else: unload as if asked.
                if (form->m_window == window) {
                    form->m_window = nullptr;
                    form->ReleasePicker();
                }
                break;
            case WM_NCDESTROY:
                ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                break;
            default:
                break;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ColorForm::ColorFormWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kProcProperty);
    auto* form = static_cast<ColorForm*>(WindowSubclass::ObjectOf(window, kObjectProperty));
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && form)
        form->OnDeactivated(reinterpret_cast<HWND>(lParam));
    if (message == WM_NCDESTROY && form) form->m_subclass.Remove();
    return ForwardMessage(previous, window, message, wParam, lParam);
}

}  // namespace zo
