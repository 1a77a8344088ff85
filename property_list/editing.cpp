// The control's side of in-place editing: the editor refresh, committing
// and hiding through the COM members, and the events the editors raise.
#include <algorithm>

#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/bstr_text.h"
#include "runtime/event_args.h"
#include "runtime/skipping.h"

namespace zo {

namespace {

// Where an editor goes when its row is not on screen: above the top edge.
constexpr double kEditorAboveTheTop = -90;

// Element `i` of a NeedData array as text: a String element as it is, a
// Variant element converted as the platform converts to String (script
// hosts can only make arrays of Variants); nullopt when it does not convert.
std::optional<std::wstring> EntryAt(SAFEARRAY* entries, VARTYPE type, LONG i) {
    if (type == VT_BSTR) {
        BSTR raw = nullptr;
        if (FAILED(::SafeArrayGetElement(entries, &i, &raw))) return std::nullopt;
        const unique_bstr entry(raw);
        return TextOf(entry.get());
    }
    unique_variant element;
    if (FAILED(::SafeArrayGetElement(entries, &i, element.put()))) return std::nullopt;
    unique_variant text;
    if (FAILED(::VariantChangeType(text.put(), &element, VARIANT_ALPHABOOL, VT_BSTR))) return std::nullopt;
    return TextOf(V_BSTR(&text));
}

// The list editor counts its rows in an Integer, so it can hold no more
// entries than this; a host's larger array is read only that far, rather
// than stall the control over entries it could never offer.
constexpr LONGLONG kMostEntries = 32767;

// The entries a host put into a NeedData array, as far as they can be read:
// adding stops at the first element that cannot be read as text.
std::vector<std::wstring> EntriesOf(SAFEARRAY* entries) {
    std::vector<std::wstring> result;
    VARTYPE type = VT_EMPTY;
    if (!entries || ::SafeArrayGetDim(entries) != 1 || FAILED(::SafeArrayGetVartype(entries, &type)) ||
        (type != VT_BSTR && type != VT_VARIANT))
        return result;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(entries, 1, &lower)) || FAILED(::SafeArrayGetUBound(entries, 1, &upper)))
        return result;
    // Counted in 64 bits: an upper bound of the largest Long must not wrap.
    const LONGLONG count = std::min(LONGLONG{upper} - LONGLONG{lower} + 1, kMostEntries);
    for (LONGLONG k = 0; k < count; ++k) {
        std::optional<std::wstring> entry = EntryAt(entries, type, static_cast<LONG>(lower + k));
        if (!entry) break;
        result.push_back(std::move(*entry));
    }
    return result;
}

}  // namespace

void PropertyList::HideSinkEditor() {
    if (m_ownerDrawSink) m_ownerDrawSink.HideEditor(ControlName());
}

void PropertyList::ReopenEditors() {
    const com_ptr<IUnknown> self = KeepAlive();
    HideSinkEditor();
    if (IsTerminated()) return;
    // A designer shows the list, never an editor.
    const PropItem* next = m_designMode ? nullptr : m_rows.Selected();
    const bool opens = next != nullptr;
    const bool textBoxMoves = m_editors.HideAllButReusedTextBox(next);
    HideColourPopup();
    // The list's drawing leaves out a text box already in its new place.
    if (textBoxMoves) OpenSelectedEditor();
    DrawList();
    if (opens && !textBoxMoves) OpenSelectedEditor();
}

void PropertyList::RefreshEditors() {
    const com_ptr<IUnknown> self = KeepAlive();
    try {
        ReopenEditors();
    } catch (...) {
        // The refresh ends where it fails; the focus still returns to the list.
    }
    if (IsTerminated()) return;
    if (HWND window = Surface().hWnd()) ::SetFocus(window);
}

double PropertyList::EditorRight() {
    double right = Surface().ScaleWidth();
    if (m_vsb && m_vsb->Visible()) right -= m_vsb->Width();
    return right;
}

// The editors go on the selected row's line, computed from the geometry, so
// they land on the right row even while painting is held.
void PropertyList::OpenSelectedEditor() {
    const RowGeometry geometry = Geometry();
    EditorPlace place;
    place.top = geometry.EditorTopTwips(m_rows.SelIndex()).value_or(kEditorAboveTheTop);
    place.right = EditorRight();
    m_editors.OpenSelected(place);
}

bool PropertyList::RaiseValueChanged(const std::wstring& name, int32_t index, const std::wstring& newValue) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EventArgs args;
    args.String(name).Short(CInt(index)).String(newValue).BoolRef(cancel);
    RaiseControlEvent(PROPERTYLIST_EVENT_VALUECHANGED, args);
    return cancel != VARIANT_FALSE;
}

std::vector<std::wstring> PropertyList::RaiseNeedData(int32_t index) {
    SAFEARRAY* entries = nullptr;
    EventArgs args;
    args.Short(CInt(index)).StringArrayRef(entries);
    RaiseControlEvent(PROPERTYLIST_EVENT_NEEDDATA, args);
    const unique_safearray owned(entries);
    return EntriesOf(owned.get());
}

std::wstring PropertyList::ControlName() { return AmbientProperties().DisplayName(); }

void PropertyList::RaiseKeyPressEdit(int16_t& keyAscii) {
    EventArgs args;
    args.ShortRef(keyAscii);
    RaiseControlEvent(PROPERTYLIST_EVENT_KEYPRESSEDIT, args);
}

void PropertyList::DoCommitPending(bool notifyChange) { m_editors.CommitPending(notifyChange); }

void PropertyList::DoHideControls() {
    HideSinkEditor();
    m_editors.HideAll();
    m_editors.EndTextEdit();
    DrawList();
}

STDMETHODIMP PropertyList::CommitPending(VARIANT_BOOL* NotifyChange) {
    const bool notify = !NotifyChange || *NotifyChange != VARIANT_FALSE;
    const com_ptr<IUnknown> self = KeepAlive();
    // Errors met while committing are ignored.
    Skipping([&] { DoCommitPending(notify); });
    return S_OK;
}

STDMETHODIMP PropertyList::HideControls() {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] { DoHideControls(); });
}

}  // namespace zo
