// The PropertyList control: a two-column list of named values, each row
// edited in place by the editor its kind calls for.
//
// The control is the COM surface (dispatch, events, lifecycle, persistence)
// wiring plain parts together:
//   RowStore      the rows and their rules             property_list/row_store.h
//   RowGeometry   where rows are on screen              property_list/row_geometry.h
//   PaintList     drawing the rows                      property_list/list_painter.h
//   OffscreenBuffer the picture kept between paints     property_list/offscreen_buffer.h
//   ValueEditors  the in-place editors, ValueChanged    property_list/value_editors.h
//   OwnerDrawSink the host's sink for owner-drawn rows  property_list/owner_draw_sink.h
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZoPropertyList.h"
#include "colour_picking/colour_form.h"
#include "colour_picking/paint_effects.h"
#include "common/handles.h"
#include "property_list/list_accessible.h"
#include "property_list/offscreen_buffer.h"
#include "property_list/owner_draw_sink.h"
#include "property_list/row_geometry.h"
#include "property_list/row_store.h"
#include "property_list/value_editors.h"
#include "runtime/dual_control.h"
#include "window_support/scrollbar.h"

namespace zo {

// IUnknown and IDispatch of the dual interface come from DualControl.
class PropertyList final : public DualControl<_PropertyList>,
                           private CScrollbarEvents,
                           private EditorHost,
                           private AccessibleListHost,
                           private RowObserver {
public:
    static HRESULT Create(REFIID iid, void** out);

    // _PropertyList
    STDMETHODIMP Add(BSTR Name, BSTR Content, VARIANT_BOOL ReadOnly, ItemTypes ItemType, short Index) override;
    STDMETHODIMP get_ListCount(short* result) override;
    STDMETHODIMP Remove(short Index) override;
    STDMETHODIMP Clear() override;
    STDMETHODIMP get_Item(short Index, BSTR* result) override;
    STDMETHODIMP put_Item(short Index, BSTR value) override;
    STDMETHODIMP get_Value(short Index, BSTR* result) override;
    STDMETHODIMP put_Value(short Index, BSTR value) override;
    STDMETHODIMP get_ItemType(short* Index, ItemTypes* result) override;
    STDMETHODIMP put_ItemType(short* Index, ItemTypes value) override;
    STDMETHODIMP get_ReadOnly(short Index, VARIANT_BOOL* result) override;
    STDMETHODIMP put_ReadOnly(short Index, VARIANT_BOOL value) override;
    STDMETHODIMP get_ItemData(short* Index, VARIANT* result) override;
    STDMETHODIMP put_ItemData(short* Index, VARIANT value) override;
    STDMETHODIMP get_Selected(short* result) override;
    STDMETHODIMP put_Selected(short value) override;
    STDMETHODIMP get_TopIndex(short* result) override;
    STDMETHODIMP put_TopIndex(short value) override;
    STDMETHODIMP get_HoldDraw(VARIANT_BOOL* result) override;
    STDMETHODIMP put_HoldDraw(VARIANT_BOOL value) override;
    STDMETHODIMP get_LongestItem(LONG* result) override;
    STDMETHODIMP put_LongestItem(LONG value) override;
    STDMETHODIMP get_TextTrue(BSTR* result) override;
    STDMETHODIMP put_TextTrue(BSTR value) override;
    STDMETHODIMP get_TextFalse(BSTR* result) override;
    STDMETHODIMP put_TextFalse(BSTR value) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* result) override;
    STDMETHODIMP put_BackColor(OLE_COLOR value) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* result) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR value) override;
    STDMETHODIMP get_Enabled(VARIANT_BOOL* result) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL value) override;
    STDMETHODIMP get_Font(IFontDisp** result) override;
    STDMETHODIMP putref_Font(IFontDisp* value) override;
    STDMETHODIMP put_Font(IFontDisp* value) override { return putref_Font(value); }
    STDMETHODIMP get_BorderStyle(PropBorderStyles* result) override;
    STDMETHODIMP put_BorderStyle(PropBorderStyles value) override;
    STDMETHODIMP get_hWnd(LONG* result) override;
    STDMETHODIMP get_MouseIcon(IPictureDisp** result) override;
    STDMETHODIMP putref_MouseIcon(IPictureDisp* value) override;
    STDMETHODIMP put_MouseIcon(IPictureDisp* value) override { return putref_MouseIcon(value); }
    STDMETHODIMP get_MousePointer(short* result) override;
    STDMETHODIMP put_MousePointer(short value) override;
    STDMETHODIMP get_HighlightColor(OLE_COLOR* result) override;
    STDMETHODIMP put_HighlightColor(OLE_COLOR value) override;
    STDMETHODIMP get_HighlightText(OLE_COLOR* result) override;
    STDMETHODIMP put_HighlightText(OLE_COLOR value) override;
    STDMETHODIMP get_AllowEdit(VARIANT_BOOL* result) override;
    STDMETHODIMP put_AllowEdit(VARIANT_BOOL value) override;
    STDMETHODIMP get_FontHeader(IFontDisp** result) override;
    STDMETHODIMP putref_FontHeader(IFontDisp* value) override;
    STDMETHODIMP put_FontHeader(IFontDisp* value) override { return putref_FontHeader(value); }
    STDMETHODIMP PopupMenu(IDispatch** Menu, VARIANT* Flags, VARIANT* x, VARIANT* Y, VARIANT* DefaultMenu) override;
    STDMETHODIMP SetOwnerDrawSink(IPropOwnerDrawSink** sink) override;
    STDMETHODIMP ShowAboutBox() override;
    STDMETHODIMP CommitPending(VARIANT_BOOL* NotifyChange) override;
    STDMETHODIMP HideControls() override;

    // The rows, for the library's own code and benchmarks.
    void AddItem(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                 int32_t index);
    [[nodiscard]] const RowStore& Rows() const noexcept { return m_rows; }

protected:
    // Completes CommitPending's omitted by-reference argument before dispatch.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                         UINT* argError) override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(IPropertyBag& bag) override;
    void UserControl_WriteProperties(IPropertyBag& bag) override;
    void UserControl_Show() override;
    void UserControl_Paint() override;
    void UserControl_Resize() override;
    void UserControl_AmbientChanged(const std::wstring& propertyName) override;
    void UserControl_Terminate() override;
    void UserControl_Sited() override;
    void UserControl_MouseDown(SurfaceMouse& mouse) override;
    void UserControl_MouseMove(SurfaceMouse& mouse) override;
    void UserControl_MouseUp(SurfaceMouse& mouse) override;
    void UserControl_Click() override;
    void UserControl_DblClick() override;
    void UserControl_KeyDown(int16_t& keyCode, int16_t& shift) override;
    void UserControl_KeyPress(int16_t& keyAscii) override;
    void UserControl_KeyUp(int16_t& keyCode, int16_t& shift) override;

private:
    PropertyList();
    ~PropertyList() override;
    void UserControl_Initialize();

    // Rows and values (item_store.cpp)
    void RemoveItem(int32_t index);
    void ClearItems();
    void StoreValue(int32_t index, const std::wstring& value);
    void ResetScrollAfterRemove();
    void SetSelected(int32_t index);
    void SetHoldDraw(bool hold);
    void SetTextTrue(const std::wstring& text);
    void SetTextFalse(const std::wstring& text);

    // Appearance (appearance.cpp)
    void SetBackColor(OLE_COLOR colour);
    void SetForeColor(OLE_COLOR colour);
    void SetFont(com_ptr<IFont> font);
    void SetFontHeader(com_ptr<IFont> font);
    void ShowItemError(const VbError& error, const wchar_t* title) const;

    // Lifecycle (lifecycle.cpp)
    void CheckDesignMode() noexcept;
    void SetupRuntime();
    [[nodiscard]] CScrollbar& Vsb();
    void CreateColourPopup();
    void HideColourPopup() noexcept;
    void SaveAndUnloadColourPopup() noexcept;

    // Editing (editing.cpp)
    // Closes every editor, repaints and opens the selected row's editor;
    // RefreshEditors then gives the list the focus.
    void ReopenEditors();
    void RefreshEditors();
    void OpenSelectedEditor();
    // The value column's right edge: the scroll bar's left when it shows.
    [[nodiscard]] double EditorRight();
    void HideSinkEditor();
    void DoCommitPending(bool notifyChange);
    void DoHideControls();
    bool RaiseValueChanged(const std::wstring& name, int32_t index, const std::wstring& newValue) override;
    std::vector<std::wstring> RaiseNeedData(int32_t index) override;
    std::wstring ControlName() override;
    void Repaint() override { DrawList(); }
    void RaiseKeyPressEdit(int16_t& keyAscii) override;
    [[nodiscard]] bool AllowEdit() const override { return m_allowEdit; }
    [[nodiscard]] HWND SurfaceWindow() const override { return Surface().hWnd(); }
    void RaiseBrowse(const std::wstring& name, int32_t index, std::wstring& fillWith) override;
    void ToggleColourPopup(HWND arrowButton, int32_t colour) override;
    void CPicker_ColorPicked(int32_t colour);

    // The keyboard on the list (keyboard.cpp)
    void ListKeyDown(int16_t& keyCode, int16_t& shift) override;
    void ListKeyPress(int16_t& keyAscii) override;
    [[nodiscard]] bool ActOnKey(int16_t& keyCode, bool& focusMoved);
    void MoveSelection(int step);
    void WrapToFirstRow();
    void KeepInView(int32_t row, int step);
    void DoubleClickAction();

    // The mouse on the list (mouse_input.cpp)
    void PressRowAt(float yTwips);
    // Commits the text typed for the selected row, as a press does first;
    // false when the control ended meanwhile.
    [[nodiscard]] bool CommitBeforePress();
    // A press on row `pressed` (-1 for none): SelChange, then its editor.
    void PressRow(int32_t pressed);
    void RaiseSelChange(int32_t oldSel, int32_t newSel);
    void RaiseMouseEvent(DISPID id, const SurfaceMouse& mouse);

    // Painting, layout and scrolling (painting.cpp, layout.cpp)
    [[nodiscard]] RowMetrics MeasureRows();
    [[nodiscard]] RowGeometry Geometry();
    void DrawList();
    void SyncHeaderFontSize() noexcept;
    void LayoutControl();
    void Change() override { vsb_Change(); }
    void Scroll() override { vsb_Scroll(); }
    void MouseWheel(int16_t& delta) override { vsb_MouseWheel(delta); }
    void vsb_Change() { vsb_Scroll(); }
    void vsb_Scroll();
    void vsb_MouseWheel(int16_t delta);
    void ScrollTo(int64_t firstRow);

    // Accessibility: the list's accessible object and its win events
    // (accessibility.cpp).
    bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept override;
    [[nodiscard]] const RowStore& AccessibleRows() const noexcept override { return m_rows; }
    [[nodiscard]] RowGeometry AccessibleGeometry() override { return Geometry(); }
    [[nodiscard]] bool AccessibleAllowEdit() const noexcept override { return m_allowEdit; }
    [[nodiscard]] bool FocusInList() const noexcept override;
    bool SelectRowAsPress(int32_t row) override;
    void DoubleClickSelectedRow() override { UserControl_DblClick(); }
    void RowsChanged(RowChange change, int32_t index) noexcept override;
    void SelectionChanged(int32_t before, int32_t now) noexcept override;
    void ValueStored(int32_t index) noexcept override;
    void NotifyAccessible(DWORD event, LONG child) const noexcept;
    // Rows added or removed while the drawing was held are announced once,
    // when it is released.
    void AnnounceHeldRowChanges() noexcept;

    RowStore m_rows;
    OwnerDrawSink m_ownerDrawSink;
    ValueEditors m_editors{m_rows, m_ownerDrawSink, *this};
    OffscreenBuffer m_paintBuffer;
    bool m_holdDraw = false;
    OLE_COLOR m_highlightColor = 0x8000000D;
    OLE_COLOR m_highlightText = 0x8000000E;
    bool m_allowEdit = true;
    bool m_designMode = true;
    bool m_scrollShown = false;

    std::unique_ptr<CScrollbar> m_vsb;
    std::shared_ptr<PaintEffects> m_paintFx;
    std::unique_ptr<ColorForm> m_cPicker;
    bool m_rowsChangedWhileHeld = false;
    // Last, so that it is disconnected before anything it reads goes.
    AccessibleOwner<ListAccessible> m_accessible;
};

}  // namespace zo
