#include "demo/inspector.h"

#include <commdlg.h>

#include "common/handles.h"
#include "common/twips.h"
#include "demo/dispatch_calls.h"
#include "demo/event_log.h"
#include "demo/picture_file.h"
#include "demo/report.h"
#include "demo/shape_view.h"
#include "demo/status_line.h"

namespace zo::demo {

namespace {

using namespace shape_property;

// Kinds of row, as the control's ItemTypes enumeration numbers them.
enum RowKind : long { Text = 0, Numeric = 1, Boolean = 2, BrowseButton = 3, Colour = 4, Custom = 5, OwnerDrawn = 6,
                      Header = 7 };

struct InspectorRow {
    const wchar_t* name;
    RowKind kind;
    const wchar_t* fixedValue = nullptr;  // rows that are no property of the shape
};

// The list starts empty and every row is appended, so a row's index is its
// place in the table.
constexpr InspectorRow kRows[] = {
    {L"Text", Header},
    {kCaption, Text},
    {kFont, Custom},
    {kFontSize, Numeric},
    {kBold, Boolean},
    {L"Fill", Header},
    {kFill, Colour},
    {kPicture, BrowseButton},
    {L"Border", Header},
    {kBorderColour, Colour},
    {kBorderStyle, Custom},
    {kBorderWidth, OwnerDrawn},
    {L"Layout", Header},
    {kOutline, Custom},
    {kVisible, Boolean},
    {kWidth, Numeric},
    {kHeight, Numeric},
    {L"Object", Header},
    {L"Name", Text, L"Shape1"},
};
constexpr long kRowCount = static_cast<long>(ARRAYSIZE(kRows));

// The DISPIDs of the list's events that the inspector answers.
constexpr DISPID kValueChanged = 1, kBrowse = 2, kNeedData = 3, kMouseMove = 10;

unique_safearray TextArray(const std::vector<std::wstring>& entries) {
    unique_safearray array(::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(entries.size())));
    if (!array) throw DemoError(L"Making the list of entries", E_OUTOFMEMORY);
    for (LONG i = 0; i < static_cast<LONG>(entries.size()); ++i) {
        const unique_bstr entry(::SysAllocString(entries[static_cast<size_t>(i)].c_str()));
        Check(::SafeArrayPutElement(array.get(), &i, entry.get()), L"Filling the list of entries");  // copies it
    }
    return array;
}

void SetByReferenceText(VARIANT* argument, const std::wstring& text) {
    if (!argument || V_VT(argument) != (VT_BSTR | VT_BYREF)) return;
    BSTR replacement = ::SysAllocString(text.c_str());
    if (!replacement) return;
    const unique_bstr previous(*V_BSTRREF(argument));
    *V_BSTRREF(argument) = replacement;
}

}  // namespace

void Inspector::Fill() {
    IDispatch* list = m_parts.list;
    m_sink = CreateOwnerDrawSink(*this);
    CallMethod(list, L"SetOwnerDrawSink", Args().Object(m_sink.get()));
    // Hold painting while the rows go in, as hosts do for long lists.
    PutProperty(list, L"HoldDraw", Args().Bool(true));
    for (const InspectorRow& row : kRows) {
        const std::wstring value = row.fixedValue ? row.fixedValue : m_parts.model->TextOf(row.name);
        CallMethod(list, L"Add",
                   Args().Text(row.name).Text(value).Bool(row.fixedValue != nullptr).Long(row.kind).Long(-1));
    }
    PutProperty(list, L"HoldDraw", Args().Bool(false));
    // The name column ends where the widest name does (LongestItem, twips).
    m_dividerPx = PixelsFromTwipsX(GetPropertyLong(list, L"LongestItem"));
    PutProperty(list, L"Selected", Args().Long(RowIndexOf(kCaption)));
    m_parts.view->Show(m_parts.model->Get());
    m_parts.status->Say(L"Select a row and change its value; the shape follows at once.");
}

void Inspector::Detach() noexcept {
    try {
        if (m_parts.list) CallMethod(m_parts.list, L"SetOwnerDrawSink", Args().Object(nullptr));
    } catch (const DemoError&) {
        // The list is going anyway; it drops the sink when it closes.
    }
    m_sink = nullptr;
}

long Inspector::RowIndexOf(std::wstring_view name) const noexcept {
    for (long i = 0; i < kRowCount; ++i)
        if (kRows[i].name == name) return i;
    return -1;
}

long Inspector::SelectedRow() const { return GetPropertyLong(m_parts.list, L"Selected"); }

std::wstring Inspector::RowName(long index) const {
    return index >= 0 && index < kRowCount ? kRows[index].name : L"";
}

void Inspector::OnControlEvent(const ControlEvent& event, const std::wstring& description) {
    // MouseMove fires for every movement of the mouse and would drown the rest.
    if (event.Id() != kMouseMove) m_parts.log->Add(description);
    if (event.Id() == kValueChanged) OnValueChanged(event);
    if (event.Id() == kNeedData) OnNeedData(event);
    if (event.Id() == kBrowse) OnBrowse(event);
}

// ValueChanged(Name, ItemIndex, NewValue, Cancel): the change goes to the
// shape, or Cancel keeps the old value in the list.
void Inspector::OnValueChanged(const ControlEvent& event) {
    const std::wstring name = event.Text(0), value = event.Text(2);
    VARIANT* cancel = event.Argument(3);
    const std::optional<std::wstring> refusal = ApplyChange(name, value);
    if (!refusal) {
        m_parts.view->Show(m_parts.model->Get());
        m_parts.status->Say(name + L" is now " + m_parts.model->TextOf(name) + L".");
        return;
    }
    if (cancel && V_VT(cancel) == (VT_BOOL | VT_BYREF)) *V_BOOLREF(cancel) = VARIANT_TRUE;
    m_parts.status->Refuse(*refusal);
}

std::optional<std::wstring> Inspector::ApplyChange(const std::wstring& name, const std::wstring& value) {
    if (name != kPicture) return m_parts.model->Apply(name, value);
    // A picture must be readable before the shape takes it. The row shows
    // the file's name; the folder is the one it was chosen in.
    std::optional<Picture> picture;
    if (!value.empty() && value != kNoPicture) {
        const bool bareName = value.find_first_of(L"\\/:") == std::wstring::npos;
        try {
            picture = LoadPictureFile(bareName ? m_pictureFolder + L"\\" + value : value);
        } catch (const DemoError& error) {
            return L"Not a picture: " + error.Message() + L".";
        }
    }
    if (std::optional<std::wstring> refusal = m_parts.model->Apply(name, value)) return refusal;
    m_parts.view->SetPicture(std::move(picture));
    return std::nullopt;
}

// NeedData(ItemIndex, sListItems): the entries of a list row.
void Inspector::OnNeedData(const ControlEvent& event) {
    VARIANT* target = event.Argument(1);
    if (!target || V_VT(target) != (VT_ARRAY | VT_BSTR | VT_BYREF)) return;
    unique_safearray entries = TextArray(m_parts.model->ChoicesFor(RowName(event.Number(0))));
    const unique_safearray previous(*V_ARRAYREF(target));
    *V_ARRAYREF(target) = entries.release();
}

// Browse(Name, ItemIndex, FillWith): the user pressed the "..." button.
void Inspector::OnBrowse(const ControlEvent& event) {
    if (RowName(event.Number(1)) != kPicture) return;
    const std::optional<std::wstring> chosen = AskForPicture();
    if (!chosen) return;
    const size_t slash = chosen->find_last_of(L"\\/");
    m_pictureFolder = slash == std::wstring::npos ? L"." : chosen->substr(0, slash);
    SetByReferenceText(event.Argument(2), chosen->substr(slash == std::wstring::npos ? 0 : slash + 1));
}

std::optional<std::wstring> Inspector::AskForPicture() {
    if (m_scripted) {
        if (m_browseAnswers.empty()) {
            m_parts.log->Add(L"(the script gave no answer for the file dialog)");
            return std::nullopt;
        }
        std::wstring answer = std::move(m_browseAnswers.front());
        m_browseAnswers.pop_front();
        m_parts.log->Add(L"(the script answers the file dialog with " + answer + L")");
        return answer;
    }
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_parts.frame;
    dialog.lpstrFilter = L"Pictures (*.png;*.bmp;*.jpg;*.gif;*.ico)\0*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.ico\0"
                         L"All files\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Picture for the shape";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;  // cancelled: the value stays as it was
    return std::wstring(path);
}

// ---- The owner-drawn row ----

void Inspector::DrawRow(HDC dc, int index, bool selected, const RECT& row) {
    if (RowName(index) != kBorderWidth) return;
    m_parts.borderWidth->Draw(dc, row, m_dividerPx, selected, kBorderWidth, m_parts.model->Get());
}

void Inspector::ShowRowEditor(int index, const RECT& cell) {
    if (RowName(index) != kBorderWidth) return;
    RECT inFrame = cell;
    ::MapWindowPoints(m_parts.listWindow, m_parts.frame, reinterpret_cast<POINT*>(&inFrame), 2);
    m_parts.borderWidth->ShowEditor(inFrame, m_parts.model->Get().borderWidth);
}

void Inspector::HideRowEditor() {
    if (m_parts.borderWidth->HideEditor()) ::SetFocus(m_parts.listWindow);
}

void Inspector::CommitRowEditor() { CommitChosenWidth(); }

// The width picked in the editor goes through the list's Value, which raises
// ValueChanged for an owner-drawn row like any edit of the user's.
void Inspector::CommitChosenWidth() {
    const std::optional<std::wstring> chosen = m_parts.borderWidth->ChosenWidth();
    if (!chosen || *chosen == m_parts.model->TextOf(kBorderWidth)) return;
    PutProperty(m_parts.list, L"Value", Args().Long(RowIndexOf(kBorderWidth)).Text(*chosen));
}

bool Inspector::PreTranslateKey(const MSG& message) noexcept {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_F4 && message.wParam != VK_SPACE) return false;
    const HWND focus = ::GetFocus();
    if (focus != m_parts.listWindow && !::IsChild(m_parts.listWindow, focus)) return false;
    if (!m_parts.borderWidth->EditorShown()) return false;
    try {
        if (RowName(SelectedRow()) != kBorderWidth) return false;
    } catch (const DemoError&) {
        return false;
    }
    m_parts.borderWidth->OpenEditor();
    return true;
}

void Inspector::OnEditorNotification(WORD code) noexcept {
    try {
        if (code == CBN_SELENDOK) CommitChosenWidth();
        // Escape: the editor shows the shape's width again.
        if (code == CBN_SELENDCANCEL) m_parts.borderWidth->ShowWidth(m_parts.model->Get().borderWidth);
        if (code == CBN_CLOSEUP && ::GetFocus() == m_parts.borderWidth->Editor()) ::SetFocus(m_parts.listWindow);
    } catch (const DemoError& error) {
        m_parts.status->Refuse(error.Message());
    }
}

}  // namespace zo::demo
