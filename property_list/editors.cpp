// Opening, closing and committing the in-place editors of the selected row.
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/bstr_text.h"
#include "runtime/event_args.h"

namespace zo {

namespace {


// The entries a host put into a NeedData array, as far as they can be read.
std::vector<std::wstring> EntriesOf(SAFEARRAY* entries) {
    std::vector<std::wstring> result;
    VARTYPE type = VT_EMPTY;
    if (!entries || ::SafeArrayGetDim(entries) != 1 || FAILED(::SafeArrayGetVartype(entries, &type)) ||
        type != VT_BSTR)
        return result;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(entries, 1, &lower)) || FAILED(::SafeArrayGetUBound(entries, 1, &upper)))
        return result;
    for (LONG i = lower; i <= upper; ++i) {
        BSTR raw = nullptr;
        if (FAILED(::SafeArrayGetElement(entries, &i, &raw))) break;
        const unique_bstr entry(raw);
        result.push_back(TextOf(entry.get()));
    }
    return result;
}

}  // namespace

void PropertyList::HideEditors() noexcept {
    m_txtValue.SetVisible(false);
    m_cmdBrowse.SetVisible(false);
    m_cboValue.SetVisible(false);
    m_picValue.SetVisible(false);
}

void PropertyList::RefreshEditors() {
    try {
        if (m_ownerDrawSink) SinkHideEditor();
        HideEditors();
        HideColourPopup();
        DrawList();
        if (m_selIndex >= 0) ShowEditControl();
    } catch (...) {
        // The refresh ends where it fails; the focus still returns to the list.
    }
    if (HWND window = Surface().hWnd()) ::SetFocus(window);
}

void PropertyList::ShowEditControl() {
    PropItem* item = SelectedItem();
    if (!item) return;
    double right = Surface().ScaleWidth();
    if (m_vsb && m_vsb->Visible()) right -= m_vsb->Width();
    switch (item->ItemType) {
        case ZoPropStringValue:
        case ZoPropNumericValue:
        case ZoPropBrowseButton: {
            const bool browse = item->ItemType == ZoPropBrowseButton;
            m_txtValue.SetWidth(right - m_txtValue.Left());
            if (browse) m_cmdBrowse.SetLeft(right - m_cmdBrowse.Width());
            m_txtValue.SetText(item->Value);
            m_txtValue.SetLocked(browse || item->ReadOnly);
            m_txtValue.SetTop(m_editTop);
            if (browse) m_cmdBrowse.SetTop(m_editTop - 30);
            m_txtValue.SetVisible(true);
            if (browse) m_cmdBrowse.SetVisible(true);
            break;
        }
        case ZoPropOwnerDraw:
            if (m_ownerDrawSink)
                SinkShowEditor(CLng(m_txtValue.Left()), m_editTop, CLng(right - m_txtValue.Left()),
                               CLng(m_txtValue.Height()));
            break;
        case ZoPropBoolValue:
        case ZoPropCustomValue: {
            m_cboValue.SetWidth(right - m_cboValue.Left());
            m_cboValue.SetTop(m_editTop - 15);
            m_cboValue.Clear();
            if (item->ItemType == ZoPropBoolValue) {
                m_cboValue.Add(m_textTrue);
                m_cboValue.Add(m_textFalse);
            } else {
                SAFEARRAY* entries = nullptr;
                EventArgs args;
                args.Short(CInt(m_selIndex)).StringArrayRef(entries);
                RaiseControlEvent(property_list_event::NeedData, args);
                unique_safearray owned(entries);
                try {
                    for (const std::wstring& entry : EntriesOf(owned.get())) m_cboValue.Add(entry);
                } catch (...) {
                    // The list opens with the entries added so far.
                }
                // The host may have changed the list during the event.
                item = SelectedItem();
                if (!item) return;
            }
            m_cboValue.SetText(item->Value);
            m_cboValue.SetVisible(true);
            break;
        }
        case ZoPropOleColor:
            m_picValue.SetWidth(right - m_picValue.Left());
            m_picValue.SetTop(m_editTop - 15);
            m_picValue.SetVisible(true);
            break;
        default:
            break;
    }
}

void PropertyList::DoCommitPending(bool notifyChange) {
    PropItem* item = SelectedItem();
    if (!item) return;
    const int32_t type = item->ItemType;
    const std::wstring typed = m_txtValue.Text();
    if ((type == ZoPropStringValue || type == ZoPropNumericValue) && typed != item->Value) {
        const int32_t index = m_selIndex;
        const bool cancelled = notifyChange && RaiseValueChanged(index, typed);
        if (!cancelled) ItemAt(index).Value = typed;
        m_txtValue.SetVisible(false);
        m_textEditActive = false;
        DrawList();
    } else if (m_ownerDrawSink && type == ZoPropOwnerDraw) {
        SinkCommitEdit();
        SinkHideEditor();
        DrawList();
    }
}

void PropertyList::DoHideControls() {
    if (m_ownerDrawSink) SinkHideEditor();
    HideEditors();
    m_textEditActive = false;
    DrawList();
}

STDMETHODIMP PropertyList::CommitPending(VARIANT_BOOL* NotifyChange) {
    const bool notify = !NotifyChange || *NotifyChange != VARIANT_FALSE;
    com_ptr<IUnknown> self(static_cast<_PropertyList*>(this));
    try {
        DoCommitPending(notify);
    } catch (...) {
        // Errors met while committing are ignored.
    }
    return S_OK;
}

STDMETHODIMP PropertyList::HideControls() {
    return GuardedCall(IID__PropertyList, [&] { DoHideControls(); });
}

}  // namespace zo
