// The colour popup of colour rows: made once by the run-time setup with the
// user's palette from the palette file, opened under the colour box's arrow,
// and the colour picked in it turned into a value.
#include "colour_picking/zo_color_picker.h"
#include "common/handles.h"
#include "common/vb_conversions.h"
#include "property_list/popup_placement.h"
#include "property_list/property_list.h"
#include "runtime/bstr_text.h"
#include "runtime/event_args.h"

namespace zo {

// The colour popup form of colour rows, with the user's palette from the
// palette file. Made once, by the run-time setup.
void PropertyList::CreateColourPopup() {
    if (m_cPicker) return;
    m_cPicker = std::make_unique<ColorForm>();
    m_cPicker->LoadSavedColors();
    m_cPicker->SetColorPickedListener([this](int32_t& colour) { CPicker_ColorPicked(colour); });
}

void PropertyList::HideColourPopup() noexcept {
    if (m_cPicker) m_cPicker->Hide();
}

void PropertyList::SaveAndUnloadColourPopup() noexcept {
    std::unique_ptr<ColorForm> form = std::move(m_cPicker);
    if (!form) return;
    form->SaveSavedColors();
    form->Unload();
}

// A press on the arrow while the popup shows unloads it; otherwise, when
// the user may edit, the popup opens right-aligned under the arrow with the
// row's colour chosen, inside the monitor that holds the arrow.
void PropertyList::ToggleColourPopup(HWND arrowButton, int32_t colour) {
    if (!m_cPicker) return;
    if (m_cPicker->Visible()) {
        m_cPicker->Unload();
        return;
    }
    if (!m_allowEdit || !arrowButton) return;
    HWND form = m_cPicker->hWnd();
    if (!form) return;
    RECT button{}, popup{};
    ::GetWindowRect(arrowButton, &button);
    ::GetWindowRect(form, &popup);
    const POINT place = PlaceColourPopup(button, SIZE{popup.right - popup.left, popup.bottom - popup.top},
                                         MonitorRectOf(arrowButton));
    if (const PropItem* row = m_rows.Selected()) m_cPicker->SetAccessibleName(L"Colour for " + std::wstring(row->Name()));
    LONG chosen = colour;
    m_cPicker->Picker().SetColor(&chosen);
    ::SetWindowPos(form, HWND_TOPMOST, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    m_cPicker->Popup();
}

void PropertyList::CPicker_ColorPicked(int32_t colour) {
    const com_ptr<IUnknown> self = KeepAlive();
    if (m_cPicker) m_cPicker->Unload();
    m_editors.CommitPickedColour(colour);
}

void PropertyList::RaiseBrowse(const std::wstring& name, int32_t index, std::wstring& fillWith) {
    unique_bstr fill(::SysAllocStringLen(fillWith.data(), static_cast<UINT>(fillWith.size())));
    // The arguments are made first: once the string is handed to the event,
    // nothing can fail before it is taken back.
    BSTR raw = nullptr;
    EventArgs args;
    args.String(name).Short(CInt(index)).StringRef(raw);
    raw = fill.release();
    RaiseControlEvent(PROPERTYLIST_EVENT_BROWSE, args);
    fill.reset(raw);
    fillWith = TextOf(fill.get());
}

}  // namespace zo
