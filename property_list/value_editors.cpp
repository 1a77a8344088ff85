#include "property_list/value_editors.h"

#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/owner_draw_sink.h"
#include "runtime/fonts.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

FontDescription DesignFont(const wchar_t* face, short weight) {
    FontDescription font;
    font.name = face;
    font.points = 8.25;
    font.weight = weight;
    return font;
}

// How the editors sit on their row, in whole pixels at every DPI (the row's
// separator and padding are whole pixels too): the text box is one text
// line high on the editor line; the list editor and the colour box start a
// pixel higher and are two pixels taller, filling the row; the "..." button
// starts two pixels higher and is three pixels taller.
constexpr int kListEditorRaisePx = 1;
constexpr int kListEditorGrowthPx = 2;
constexpr int kBrowseButtonRaisePx = 2;
constexpr int kBrowseButtonGrowthPx = 3;

double PixelsTall(int pixels) noexcept { return TwipsFromPixelsY(pixels); }

bool UsesTextBox(int32_t itemType) noexcept { return row_kind::IsTextKind(itemType) || itemType == row_kind::Browse; }

}  // namespace

ValueEditors::ValueEditors(RowStore& rows, OwnerDrawSink& sink, EditorHost& host) noexcept
    : m_rows(rows), m_sink(sink), m_host(host) {}

void ValueEditors::Create(HWND surface, com_ptr<IFont> listFont) {
    m_txtValue.Create(surface);
    m_cmdBrowse.Create(surface);
    m_cboValue.Create(surface);
    m_picValue.Create(surface);
    m_cmdDown.Create(m_picValue.hWnd());
    HideAll();
    m_txtValue.SetFont(listFont);
    m_picValue.SetFont(listFont);
    m_cmdDown.SetFont(CreateStdFont(DesignFont(L"MS Sans Serif", FW_BOLD)));
    m_cmdBrowse.SetFont(CreateStdFont(DesignFont(L"Arial", FW_BOLD)));
    m_cboValue.SetFont(CreateStdFont(DesignFont(L"MS Sans Serif", FW_NORMAL)));
    m_txtValue.SetGotFocusHandler([this] { txtValue_GotFocus(); });
    m_txtValue.SetChangeHandler([this] { txtValue_Change(); });
    m_txtValue.SetKeyPressHandler([this](int16_t& keyAscii) { txtValue_KeyPress(keyAscii); });
    ConnectChoiceEditors();
    NameEditorsForAccessibility();
}

void ValueEditors::Layout(double valueLeft, double scaleWidth, double barWidth, double lineTwips) noexcept {
    m_txtValue.SetLeft(valueLeft);
    m_txtValue.SetWidth(scaleWidth - m_txtValue.Left() - barWidth);
    m_cmdBrowse.SetLeft(scaleWidth - m_cmdBrowse.Width() - barWidth);
    m_txtValue.SetHeight(lineTwips);
    m_cmdBrowse.SetHeight(m_txtValue.Height() + PixelsTall(kBrowseButtonGrowthPx));
    const double boxHeight = m_txtValue.Height() + PixelsTall(kListEditorGrowthPx);
    m_cboValue.Move(m_txtValue.Left(), m_cboValue.Top(), m_txtValue.Width(), boxHeight);
    m_picValue.Move(m_txtValue.Left(), m_picValue.Top(), m_txtValue.Width(), boxHeight);
}

void ValueEditors::SetFont(com_ptr<IFont> font, int32_t linePx, double twipsPerPixelY) noexcept {
    m_cboValue.SetFont(font);
    m_picValue.SetFont(font);
    m_txtValue.SetFont(font);
    m_cboValue.SetHeight(twipsPerPixelY * (linePx + kListEditorGrowthPx));
    m_txtValue.SetHeight(m_cboValue.Height() - PixelsTall(1));
    m_cmdBrowse.SetHeight(m_cboValue.Height() + PixelsTall(1));
    m_picValue.SetHeight(m_cboValue.Height());
}

void ValueEditors::SetBackColor(OLE_COLOR colour) noexcept {
    m_txtValue.SetBackColor(colour);
    m_picValue.SetBackColor(colour);
    m_cboValue.SetBackColor(colour);
}

void ValueEditors::SetForeColor(OLE_COLOR colour) noexcept {
    m_txtValue.SetForeColor(colour);
    m_picValue.SetForeColor(colour);
    m_cboValue.SetForeColor(colour);
}

void ValueEditors::HideAll() noexcept {
    m_txtValue.SetVisible(false);
    m_cmdBrowse.SetVisible(false);
    m_cboValue.SetVisible(false);
    m_picValue.SetVisible(false);
    ReclaimFocus();
}

// Moving the shown text box to the next text row costs one window change
// where closing and opening it again costs three.
bool ValueEditors::HideAllButReusedTextBox(const PropItem* next) noexcept {
    const bool reused = next && m_txtValue.Visible() && UsesTextBox(next->ItemType);
    if (!reused) {
        HideAll();
        return false;
    }
    m_cmdBrowse.SetVisible(false);
    m_cboValue.SetVisible(false);
    m_picValue.SetVisible(false);
    ReclaimFocus();
    return true;
}

void ValueEditors::HideValueEditors() noexcept {
    m_txtValue.SetVisible(false);
    m_picValue.SetVisible(false);
    m_cboValue.SetVisible(false);
    ReclaimFocus();
}

// Keys must not go on to an editor that was just hidden: the list takes the
// focus such an editor had.
void ValueEditors::ReclaimFocus() noexcept {
    HWND surface = m_host.SurfaceWindow();
    HWND focus = ::GetFocus();
    if (surface && focus && focus != surface && ::IsChild(surface, focus) && !::IsWindowVisible(focus))
        ::SetFocus(surface);
}

bool ValueEditors::StillSelected(RowId id) noexcept { return m_rows.SelectedIs(id); }

void ValueEditors::OpenSelected(const EditorPlace& place) {
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    if (UsesTextBox(item->ItemType)) {
        OpenTextBox(*item, place);
        return;
    }
    switch (item->ItemType) {
        case row_kind::OwnerDraw:
            OpenSinkEditor(place);
            break;
        case row_kind::Boolean:
        case row_kind::Custom:
            OpenListEditor(item->Id, place);
            break;
        case row_kind::Colour:
            OpenColourBox(place);
            break;
        default:
            break;
    }
}

void ValueEditors::OpenTextBox(const PropItem& item, const EditorPlace& place) noexcept {
    const bool browse = item.ItemType == row_kind::Browse;
    m_txtValue.SetWidth(place.right - m_txtValue.Left());
    if (browse) m_cmdBrowse.SetLeft(place.right - m_cmdBrowse.Width());
    m_txtValue.SetText(std::wstring(item.Value()));
    m_textRow = item.Id;
    m_txtValue.SetLocked(browse || item.ReadOnly);
    m_txtValue.SetTop(place.top);
    if (browse) m_cmdBrowse.SetTop(place.top - PixelsTall(kBrowseButtonRaisePx));
    m_txtValue.SetVisible(true);
    if (browse) m_cmdBrowse.SetVisible(true);
}

void ValueEditors::OpenSinkEditor(const EditorPlace& place) {
    if (!m_sink) return;
    // The sink receives the selection index itself and may change it.
    int16_t index = CInt(m_rows.SelIndex());
    const double left = m_txtValue.Left();
    m_sink.ShowEditor(m_host.ControlName(), index, CLng(left), CLng(place.top), CLng(place.right - left),
                      CLng(m_txtValue.Height()));
    m_rows.Select(index);
}

void ValueEditors::OpenListEditor(RowId id, const EditorPlace& place) {
    m_cboValue.SetWidth(place.right - m_cboValue.Left());
    m_cboValue.SetTop(place.top - PixelsTall(kListEditorRaisePx));
    m_cboValue.Clear();
    if (m_rows.Selected()->ItemType == row_kind::Boolean) {
        m_cboValue.Add(m_rows.TextTrue());
        m_cboValue.Add(m_rows.TextFalse());
    } else {
        const std::vector<std::wstring> entries = m_host.RaiseNeedData(m_rows.SelIndex());
        // The host may have changed the list during the event.
        if (!StillSelected(id)) return;
        for (const std::wstring& entry : entries) m_cboValue.Add(entry);
    }
    m_cboValue.SetText(std::wstring(m_rows.Selected()->Value()));
    m_cboValue.SetVisible(true);
}

void ValueEditors::OpenColourBox(const EditorPlace& place) noexcept {
    m_picValue.SetWidth(place.right - m_picValue.Left());
    m_picValue.SetTop(place.top - PixelsTall(kListEditorRaisePx));
    m_picValue.SetVisible(true);
}

void ValueEditors::ShowStoredText(RowId id, const std::wstring& value) noexcept {
    m_txtValue.SetText(value);
    m_textRow = id;
    m_textEditActive = false;
    m_txtValue.SetVisible(false);
}

void ValueEditors::DropText() noexcept {
    m_txtValue.SetVisible(false);
    m_txtValue.SetText(L"");
    m_textRow = 0;
}

bool ValueEditors::CommitValue(RowId id, int32_t index, const std::wstring& newValue, bool notify) {
    std::optional<int32_t> at = m_rows.IndexOf(id, index);
    if (!at) return false;
    if (notify) {
        const std::wstring name(m_rows.Row(*at)->Name());
        if (m_host.RaiseValueChanged(name, *at, newValue)) return false;
        at = m_rows.IndexOf(id, *at);
        if (!at) return false;
    }
    m_rows.StoreValue(*at, newValue);
    return true;
}

void ValueEditors::CommitPending(bool notify) {
    const PropItem* item = m_rows.Selected();
    if (!item) return;
    const int32_t type = item->ItemType;
    if (row_kind::IsTextKind(type)) {
        if (!TextPendingFor(*item)) return;
        CommitValue(item->Id, m_rows.SelIndex(), m_txtValue.Text(), notify);
        CloseTextBox();
    } else if (type == row_kind::OwnerDraw && m_sink) {
        const std::wstring name = m_host.ControlName();
        m_sink.CommitEdit(name);
        m_sink.HideEditor(name);
        m_host.Repaint();
    }
}

}  // namespace zo
