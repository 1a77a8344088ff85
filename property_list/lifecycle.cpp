// The control's life in its container: creation, a new instance, loading
// and saving its properties, the run-time setup, showing, ambient changes
// and teardown.
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/skipping.h"
#include "runtime/do_events.h"
#include "runtime/fonts.h"
#include "runtime/property_bag_io.h"

namespace zo {

namespace {

constexpr OLE_COLOR kDefaultBackColor = 0x80000005;
constexpr OLE_COLOR kDefaultForeColor = 0x80000008;
constexpr OLE_COLOR kDefaultHighlightColor = 0x8000000D;
constexpr OLE_COLOR kDefaultHighlightText = 0x8000000E;

}  // namespace

void PropertyList::UserControl_Initialize() {
    m_rows.SetObserver(this);
    FontDescription listFont;
    listFont.name = L"MS Sans Serif";
    listFont.points = 8.25;
    listFont.weight = FW_NORMAL;
    Surface().SetFont(CreateStdFont(listFont));
    m_editors.Create(Surface().hWnd(), Surface().Font());
    m_rows.ResetLongestItem(4.0 * TwipsPerPixelX() + Surface().TextWidth(L"Property"));
}

void PropertyList::UserControl_InitProperties() {
    Skipping([&] { SetBackColor(kDefaultBackColor); });
    m_highlightColor = kDefaultHighlightColor;
    m_highlightText = kDefaultHighlightText;
    m_allowEdit = true;
    Skipping([&] { SetupRuntime(); });
    m_rows.SetTextTrue(L"True");
    m_rows.SetTextFalse(L"False");
}

void PropertyList::UserControl_ReadProperties(IPropertyBag& bag) {
    Skipping([&] {
        if (auto style = ReadInteger(bag, L"BorderStyle", 1)) Surface().SetBorderStyle(*style);
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"HighlightColor", static_cast<int32_t>(kDefaultHighlightColor)))
            m_highlightColor = static_cast<OLE_COLOR>(*colour);
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"HighlightText", static_cast<int32_t>(kDefaultHighlightText)))
            m_highlightText = static_cast<OLE_COLOR>(*colour);
    });
    Skipping([&] {
        if (auto allow = ReadBoolean(bag, L"AllowEdit", true)) m_allowEdit = *allow;
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"BackColor", static_cast<int32_t>(kDefaultBackColor)))
            SetBackColor(static_cast<OLE_COLOR>(*colour));
    });
    Skipping([&] {
        if (auto colour = ReadLong(bag, L"ForeColor", static_cast<int32_t>(kDefaultForeColor)))
            SetForeColor(static_cast<OLE_COLOR>(*colour));
    });
    // A bag without the key gives the container's font: the list takes a
    // copy, so that changing the list's font leaves the container's alone.
    Skipping([&] {
        const com_ptr<IFont> ambient = AmbientProperties().Font();
        if (com_ptr<IFont> font = ReadFont(bag, L"Font", ambient))
            SetFont(font == ambient ? CloneFont(font.get()) : font);
    });
    // The whole stored header font (face, size, weight, style) is restored,
    // on a copy of its own so that it is not shared with the bag.
    Skipping([&] {
        if (com_ptr<IFont> font = ReadFont(bag, L"FontHeader", AmbientProperties().Font()))
            SetFontHeader(CloneFont(font.get()));
    });
    Skipping([&] { SetupRuntime(); });
    Skipping([&] {
        if (auto text = ReadString(bag, L"TextTrue", L"True")) m_rows.SetTextTrue(*text);
    });
    Skipping([&] {
        if (auto text = ReadString(bag, L"TextFalse", L"False")) m_rows.SetTextFalse(*text);
    });
}

void PropertyList::UserControl_WriteProperties(IPropertyBag& bag) {
    WriteInteger(bag, L"BorderStyle", Surface().BorderStyle(), 1);
    WriteLong(bag, L"HighlightColor", static_cast<int32_t>(m_highlightColor),
              static_cast<int32_t>(kDefaultHighlightColor));
    WriteLong(bag, L"HighlightText", static_cast<int32_t>(m_highlightText),
              static_cast<int32_t>(kDefaultHighlightText));
    WriteBoolean(bag, L"AllowEdit", m_allowEdit, true);
    WriteLong(bag, L"BackColor", static_cast<int32_t>(Surface().BackColor()), static_cast<int32_t>(kDefaultBackColor));
    WriteLong(bag, L"ForeColor", static_cast<int32_t>(Surface().ForeColor()), static_cast<int32_t>(kDefaultForeColor));
    WriteFont(bag, L"Font", Surface().Font().get(), AmbientProperties().Font().get());
    WriteFont(bag, L"FontHeader", m_editors.HeaderFont().get(), Surface().Font().get());
    WriteString(bag, L"TextTrue", m_rows.TextTrue(), L"True");
    WriteString(bag, L"TextFalse", m_rows.TextFalse(), L"False");
}

void PropertyList::CheckDesignMode() noexcept {
    try {
        m_designMode = !AmbientProperties().UserMode();
    } catch (...) {
        m_designMode = true;
    }
}

CScrollbar& PropertyList::Vsb() {
    if (!m_vsb) throw VbError::Runtime(vb_error::kObjectNotSet);
    return *m_vsb;
}

void PropertyList::SetupRuntime() {
    CheckDesignMode();
    if (m_designMode) return;
    Skipping([&] { CreateColourPopup(); });
    Skipping([&] { m_paintFx = AcquirePaintFx(); });
    m_holdDraw = false;
    Skipping([&] {
        if (!m_vsb) m_vsb = std::make_unique<CScrollbar>(static_cast<CScrollbarEvents*>(this));
        m_vsb->RecreateScrollbar(Surface().hWnd());
        m_vsb->Move(CLng(Surface().ScaleWidth() - 255), 0, 255, CLng(Surface().ScaleHeight()));
    });
    Skipping([&] { UserControl_Resize(); });
    if (m_vsb) m_vsb->SetVisible(false);
    m_scrollShown = false;
    m_editors.ComboSubclass();
}

// A container that initialises the control before siting it leaves the
// design-mode check without anyone to ask; the answer is taken again when the
// site arrives, and the run-time objects are made then.
void PropertyList::UserControl_Sited() {
    if (m_vsb) return;
    CheckDesignMode();
    if (!m_designMode) {
        const bool hold = m_holdDraw;
        SetupRuntime();
        m_holdDraw = hold;
        if (m_vsb) m_vsb->HoldRedraw(hold);
    }
}

void PropertyList::UserControl_Show() {
    Skipping([&] {
        if (AmbientProperties().UserMode()) RefreshEditors();
    });
}

void PropertyList::UserControl_AmbientChanged(const std::wstring& propertyName) {
    if (TextEqualsNoCase(propertyName, L"DisplayName")) Surface().Refresh();
}

void PropertyList::UserControl_Terminate() {
    m_accessible.Reset();
    m_paintFx.reset();
    m_vsb.reset();
    SaveAndUnloadColourPopup();
    DoEvents();
}

}  // namespace zo
