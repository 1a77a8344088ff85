// The PropertyList control: a two-column list of named values, each row
// edited in place by the editor its kind calls for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZoPropertyList.h"
#include "colour_picking/colour_form.h"
#include "colour_picking/paint_effects.h"
#include "combo_box/zo_combo_box.h"
#include "common/handles.h"
#include "runtime/child_controls.h"
#include "runtime/dual_control.h"
#include "window_support/scrollbar.h"

namespace zo {

// One row. The value is always kept as text.
struct PropItem {
    std::wstring Name;
    std::wstring Value;
    unique_variant ItemData;
    bool ReadOnly = false;
    int32_t ItemType = ZoPropStringValue;

    PropItem() = default;
    PropItem(const PropItem&) = delete;
    PropItem& operator=(const PropItem&) = delete;
    PropItem(PropItem&& other) noexcept;
    PropItem& operator=(PropItem&& other) noexcept;
};

// Events of the control's event interface.
namespace property_list_event {
inline constexpr DISPID ValueChanged = 1, Browse = 2, NeedData = 3, Click = 4, DblClick = 5, KeyDown = 6,
                        KeyPress = 7, KeyUp = 8, MouseDown = 9, MouseMove = 10, MouseUp = 11, Resize = 12,
                        SelChange = 13, Scroll = 14, KeyPressEdit = 15;
}

// IUnknown and IDispatch of the dual interface come from DualControl.
class PropertyList final : public DualControl<_PropertyList>, private CScrollbarEvents {
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

    // The store, for the library's own code and benchmarks.
    void AddItem(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t itemType,
                 int32_t index);
    [[nodiscard]] int32_t LastIndex() const noexcept { return m_lastIndex; }
    [[nodiscard]] int32_t LongestItem() const noexcept { return m_longestItem; }

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

private:
    PropertyList();
    ~PropertyList() override;
    void UserControl_Initialize();
    void CreateChildControls();

    // Item store
    void RemoveItem(int32_t index);
    void ClearItems();
    [[nodiscard]] PropItem& ItemAt(int32_t index);
    [[nodiscard]] PropItem* SelectedItem() noexcept;
    [[nodiscard]] std::wstring NormaliseBoolean(const std::wstring& text) const;
    void DropSelectionPastEnd() noexcept;
    void StoreValue(int32_t index, const std::wstring& value);
    void ResetScrollAfterRemove();
    [[nodiscard]] int32_t ListCount32() const noexcept { return m_lastIndex + 1; }
    [[nodiscard]] int16_t SelectedIndex() const noexcept;
    void SetSelected(int32_t index);
    void SetHoldDraw(bool hold);
    void SetTextTrue(const std::wstring& text);
    void SetTextFalse(const std::wstring& text);

    // Appearance
    void SetBackColor(OLE_COLOR colour);
    void SetForeColor(OLE_COLOR colour);
    void SetFont(com_ptr<IFont> font);
    void SetFontHeader(com_ptr<IFont> font);
    void UpdateTextHeight();

    // Lifecycle
    void CheckDesignMode() noexcept;
    void SetupRuntime();
    [[nodiscard]] CScrollbar& Vsb();

    // Editors
    void RefreshEditors();
    void HideEditors() noexcept;
    void ShowEditControl();
    void DoCommitPending(bool notifyChange);
    void DoHideControls();
    [[nodiscard]] bool RaiseValueChanged(int32_t index, const std::wstring& newValue);

    // Owner-draw sink (called late-bound by DISPID)
    void SinkCommitEdit();
    void SinkHideEditor();
    void SinkShowEditor(double left, double top, double width, double height);
    HRESULT InvokeSink(DISPID dispid, std::vector<VARIANT>& args);

    // Painting and layout
    void DrawList();
    void PaintRows();
    void DrawColourValue(HDC dc, const std::wstring& value, int left, int top, int right, int bottom);
    [[nodiscard]] int32_t SinkDrawItem(int32_t index, bool selected, HDC dc, int32_t top, int32_t right,
                                       int32_t bottom);
    void LayoutControl();
    // The first row on screen: the scroll position held within the rows, so
    // that the list never scrolls into blank space.
    [[nodiscard]] int32_t FirstVisibleRow();
    [[nodiscard]] int32_t RowsThatFit();

    // Events of the scroll bar.
    void Change() override { vsb_Change(); }
    void Scroll() override { vsb_Scroll(); }
    void MouseWheel(int16_t& delta) override { vsb_MouseWheel(delta); }
    void vsb_Change() { vsb_Scroll(); }
    void vsb_Scroll();
    void vsb_MouseWheel(int16_t delta);
    void ScrollTo(int64_t firstRow);

    // Colour popup (the popup form)
    void CreateColourPopup();
    void HideColourPopup() noexcept;
    void SaveAndUnloadColourPopup() noexcept;

    void ShowItemError(const VbError& error, const wchar_t* title) const;

    std::vector<PropItem> m_items;
    bool m_itemsAllocated = false;
    int32_t m_lastIndex = -1;
    int32_t m_selIndex = -1;
    int32_t m_longestItem = 0;
    std::wstring m_textTrue = L"True";
    std::wstring m_textFalse = L"False";
    bool m_holdDraw = false;
    bool m_textEditActive = false;
    OLE_COLOR m_highlightColor = 0x8000000D;
    OLE_COLOR m_highlightText = 0x8000000E;
    bool m_allowEdit = true;
    bool m_designMode = true;
    bool m_scrollShown = false;
    int16_t m_editTop = -90;
    com_ptr<IDispatch> m_ownerDrawSink;

    TextBox m_txtValue;
    PictureBox m_cmdBrowse;
    ZoComboBox m_cboValue;
    PictureBox m_picValue;
    PictureBox m_cmdDown;
    std::unique_ptr<CScrollbar> m_vsb;
    std::shared_ptr<PaintEffects> m_paintFx;
    std::unique_ptr<ColorForm> m_cPicker;
};

// Draws a grey dotted line on even coordinates (horizontal when x1 != x2).
void DrawDottedLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) noexcept;

// The text height in pixels of the last control font measured on this thread.
[[nodiscard]] int32_t TextHeightPx() noexcept;

}  // namespace zo
