// The combo box's design-time properties in the host's property bag: twelve
// keys, each read with its default and not written when it equals it. Each
// value goes to (and comes from) the place that shows it: the text box for
// colours, text and selection, the control for the rest.
#include <optional>

#include "combo_box/zo_combo_box.h"
#include "runtime/fonts.h"
#include "runtime/property_bag_io.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

constexpr OLE_COLOR kDefaultBackColor = 0x80000005;  // window background
constexpr OLE_COLOR kDefaultForeColor = 0x80000008;  // window text

// The ambient font, or the usual form font when the host offers none.
com_ptr<IFont> FontOrDefault(com_ptr<IFont> ambientFont) {
    return ambientFont ? ambientFont : CreateStdFont(FontDescription{});
}

// A stored picture; null when the key is missing or holds Nothing; nothing
// at all when the stored value is no picture, so that the icon stays as it
// was, as for every other key that cannot be read.
std::optional<com_ptr<IPictureDisp>> ReadPicture(IPropertyBag& bag, const wchar_t* name) noexcept {
    unique_variant value;
    VARIANT* raw = value.put();
    V_VT(raw) = VT_DISPATCH;
    const HRESULT hr = bag.Read(name, raw, nullptr);
    if (KeyIsMissing(bag, name, hr)) return com_ptr<IPictureDisp>();
    if (FAILED(hr) || (V_VT(raw) != VT_DISPATCH && V_VT(raw) != VT_UNKNOWN)) return std::nullopt;
    if (!V_UNKNOWN(raw)) return com_ptr<IPictureDisp>();
    com_ptr<IPictureDisp> picture = com_ptr<IUnknown>(V_UNKNOWN(raw)).query<IPictureDisp>();
    if (!picture) return std::nullopt;
    return picture;
}

void WritePicture(IPropertyBag& bag, const wchar_t* name, IPictureDisp* picture) noexcept {
    if (!picture) return;  // the default: no picture
    VARIANT variant;
    V_VT(&variant) = VT_DISPATCH;
    V_DISPATCH(&variant) = picture;
    (void)bag.Write(name, &variant);
}

}  // namespace

void ZoComboBox::InitProperties(com_ptr<IFont> ambientFont) noexcept {
    m_style = 0;
    m_txtValue.SetLocked(false);
    // The text a loaded instance shows when its bag has none, so that a new
    // instance saved and loaded again looks the same.
    ShowText(kDefaultText);
    Skipping([&] { SetFont(FontOrDefault(std::move(ambientFont))); });
}

void ZoComboBox::ReadProperties(IPropertyBag& bag, com_ptr<IFont> ambientFont) noexcept {
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"BackColor", static_cast<int32_t>(kDefaultBackColor)))
            m_txtValue.SetBackColor(static_cast<OLE_COLOR>(*colour));
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"ForeColor", static_cast<int32_t>(kDefaultForeColor)))
            m_txtValue.SetForeColor(static_cast<OLE_COLOR>(*colour));
    });
    Skipping([&] {
        if (auto enabled = ReadBoolean(bag, L"Enabled", true)) {
            m_enabled = *enabled;
            if (hWnd()) ::EnableWindow(hWnd(), m_enabled ? TRUE : FALSE);
        }
    });
    Skipping([&] {
        com_ptr<IFont> fallback = FontOrDefault(ambientFont);
        if (com_ptr<IFont> font = ReadFont(bag, L"Font", fallback)) SetFont(font);
    });
    Skipping([&] {
        if (auto length = ReadLong(bag, L"MaxLength", 0); length && *length >= 0) {
            m_maxLength = *length;
            if (m_txtValue.hWnd())
                ::SendMessageW(m_txtValue.hWnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
        }
    });
    Skipping([&] {
        if (auto icon = ReadPicture(bag, L"MouseIcon")) SetMouseIcon(*icon);
    });
    Skipping([&] {
        if (auto pointer = ReadInteger(bag, L"MousePointer", 0)) SetMousePointer(*pointer);
    });
    Skipping([&] {
        if (auto length = ReadLong(bag, L"SelLength", 0)) m_txtValue.SetSelLength(*length);
    });
    Skipping([&] {
        if (auto start = ReadLong(bag, L"SelStart", 0)) m_txtValue.SetSelStart(*start);
    });
    Skipping([&] {
        if (auto text = ReadString(bag, L"SelText", L""); text && m_txtValue.hWnd())
            ::SendMessageW(m_txtValue.hWnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text->c_str()));
    });
    Skipping([&] {
        if (auto text = ReadString(bag, L"Text", kDefaultText)) m_txtValue.SetText(*text);
    });
    Skipping([&] {
        if (auto style = ReadLong(bag, L"Style", 0)) {
            m_style = *style;
            // A stored style locks only when positive, unlike the setter.
            m_txtValue.SetLocked(m_style > 0);
        }
    });
    ChildControl::SetBackColor(m_txtValue.BackColor());
    m_txtValue.SetFont(Font());
}

void ZoComboBox::WriteProperties(IPropertyBag& bag, IFont* ambientFont) const noexcept {
    WriteLong(bag, L"BackColor", static_cast<int32_t>(m_txtValue.BackColor()), static_cast<int32_t>(kDefaultBackColor));
    WriteLong(bag, L"ForeColor", static_cast<int32_t>(m_txtValue.ForeColor()), static_cast<int32_t>(kDefaultForeColor));
    WriteBoolean(bag, L"Enabled", m_enabled, true);
    Skipping([&] {
        com_ptr<IFont> fallback = FontOrDefault(com_ptr<IFont>(ambientFont));
        WriteFont(bag, L"Font", Font().get(), fallback.get());
    });
    WriteLong(bag, L"MaxLength", m_maxLength, 0);
    WritePicture(bag, L"MouseIcon", m_mouseIcon.get());
    WriteInteger(bag, L"MousePointer", m_mousePointer, 0);
    WriteLong(bag, L"SelLength", m_txtValue.SelLength(), 0);
    WriteLong(bag, L"SelStart", m_txtValue.SelStart(), 0);
    Skipping([&] { WriteString(bag, L"SelText", SelText(), L""); });
    Skipping([&] { WriteString(bag, L"Text", Text(), kDefaultText); });
    WriteLong(bag, L"Style", m_style, 0);
}

}  // namespace zo
