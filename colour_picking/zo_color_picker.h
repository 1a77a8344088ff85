// ZoColorPicker: a colour chooser with a "Palette" tab of 64 colours (48
// preset, 16 of the user's own, redefinable through the colour dialog) and a
// "System" tab listing 28 Windows system colours. A pick raises ColorPicked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ZoPropertyList.h"
#include "colour_picking/common_dialog.h"
#include "colour_picking/palette.h"
#include "colour_picking/picker_accessible.h"
#include "common/handles.h"
#include "common/window_subclass.h"
#include "runtime/child_controls.h"
#include "runtime/dual_control.h"

namespace zo {

// IUnknown and IDispatch of the dual interface come from DualControl.
class ZoColorPicker final : public DualControl<_ZoColorPicker> {
    // Reads the tabs, the cells and the list where they are drawn.
    friend class PickerAccessible;

public:
    static HRESULT Create(REFIID iid, void** out);
    // A new picker for the library's own forms (one reference, the caller's).
    [[nodiscard]] static com_ptr<ZoColorPicker> CreateInstance();

    // _ZoColorPicker
    STDMETHODIMP get_Colors(short* x, short* Y, LONG* result) override;
    STDMETHODIMP put_Colors(short* x, short* Y, LONG value) override;
    STDMETHODIMP get_Color(LONG* result) override;
    STDMETHODIMP put_Color(LONG value) override;
    STDMETHODIMP StreamSerialize(SAFEARRAY** RetArr) override;
    STDMETHODIMP StreamRead(SAFEARRAY** StreamIn) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* result) override;
    STDMETHODIMP put_BackColor(OLE_COLOR value) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* result) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR value) override;
    STDMETHODIMP get_Font(IFontDisp** result) override;
    STDMETHODIMP putref_Font(IFontDisp* value) override;
    STDMETHODIMP get_BorderStyle(zocrBorderStyles* result) override;
    STDMETHODIMP put_BorderStyle(zocrBorderStyles value) override;
    STDMETHODIMP get_hWnd(LONG* result) override;
    STDMETHODIMP get_hDC(LONG* result) override;
    STDMETHODIMP Show(short ShowTab) override;
    STDMETHODIMP get_hWndColors(LONG* result) override;
    STDMETHODIMP get_hWndList(LONG* result) override;
    STDMETHODIMP SetColor(LONG* NewColor) override;
    STDMETHODIMP Subclass() override;
    STDMETHODIMP UnSubclass() override;

    // For the library's own code.
    [[nodiscard]] int32_t Style() const noexcept { return m_style; }
    void SetStyle(int32_t style) noexcept;
    [[nodiscard]] int32_t CurrentColor() const noexcept { return m_color; }
    [[nodiscard]] const PaletteColours& Palette() const noexcept { return m_colors; }
    void SetPalette(const PaletteColours& colours) noexcept { m_colors = colours; }
    [[nodiscard]] HWND Window() const noexcept { return Surface().hWnd(); }
    // The selected palette cell (0, 0 while none) and the tab last drawn
    // ("1", "2", or empty before the first).
    [[nodiscard]] POINT SelectedCell() const noexcept { return {m_selX, m_selY}; }
    [[nodiscard]] const std::wstring& Tag() const noexcept { return m_tag; }
    // Called after ColorPicked has been raised to the container, with the
    // same value: how a form of the library hosting the picker hears of a pick.
    void SetColorPickedListener(std::function<void(int32_t)> listener) { m_onColorPicked = std::move(listener); }

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(IPropertyBag& bag) override;
    void UserControl_WriteProperties(IPropertyBag& bag) override;
    void UserControl_Paint() override;
    void UserControl_Resize() override;
    void UserControl_Terminate() override;
    void UserControl_Sited() override;
    bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept override;

private:
    ZoColorPicker();
    ~ZoColorPicker() override;
    void UserControl_Initialize();
    void RaiseColorPicked(int32_t colour) noexcept;

    // Palette model and persistence
    [[nodiscard]] int32_t CellColour(int x, int y) const noexcept;
    void SetFont(com_ptr<IFont> font);
    void CheckDesignMode() noexcept;
    void StartRunMode() noexcept;

    // A length designed in pixels at 96 DPI, at the picker's DPI; the
    // palette's cell pitch (17 pixels at 96 DPI).
    [[nodiscard]] int Scaled(int pixelsAt96) const noexcept;
    [[nodiscard]] int CellPitch() const noexcept;
    static constexpr int kCellPitchAt96 = 17;

    // Tabs
    void DrawTabs(int tab, int x, int y);
    [[nodiscard]] int TabLeft(int tab) const;
    [[nodiscard]] int TabWidth(int tab) const;
    // The band of tab `tab` in the picker's pixels, as an active tab draws it.
    [[nodiscard]] RECT TabRectPx(int tab) const;
    void DrawTab(HDC dc, int tab, bool active) const;
    void DrawBodyFrame(HDC dc) const;
    void ShowTabPage(int tab);
    [[nodiscard]] double TextWidthPx(const std::wstring& text) const noexcept;
    [[nodiscard]] double TextHeightPx(const std::wstring& text) const noexcept;
    [[nodiscard]] int ScaleWidthPx() const noexcept;
    [[nodiscard]] int ScaleHeightPx() const noexcept;

    // Palette grid
    void picCustom_Paint(HDC dc);
    void picCustom_Mouse(const MouseEvent& event);
    void picCustom_MouseUp(int16_t button);
    void DrawCell(HDC dc, int x, int y, bool selected) const;
    void DrawCellNow(int x, int y, bool selected) const;
    // Where cell (x, y) is, in pixels of the palette grid.
    [[nodiscard]] RECT CellRectPx(int x, int y) const noexcept;
    // WM_GETOBJECT for the picker's client area (picker_accessible.cpp).
    [[nodiscard]] bool AnswerAccessibleObject(WPARAM wParam, LPARAM lParam, LRESULT* result) noexcept;
    void RedefineUserColour();

    // System colour list
    void AddSystemColours();
    void ResetListColors(bool freeOnly) noexcept;
    [[nodiscard]] HBRUSH GetListBrush(int index) noexcept;
    [[nodiscard]] LRESULT ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void DrawListItem(const DRAWITEMSTRUCT& item) noexcept;
    void DrawListSwatch(DRAWITEMSTRUCT& item) const noexcept;
    void DrawListItemText(DRAWITEMSTRUCT& item) noexcept;
    void DrawListFocus(const DRAWITEMSTRUCT& item) const noexcept;
    [[nodiscard]] int32_t ListCaretIndex() const noexcept;
    void zocr_MouseDown(const MouseEvent& event);
    void UpdateListItemHeight() noexcept;
    void FindColour(int32_t colour);
    void DoSubclass() noexcept;
    void DoUnSubclass() noexcept;
    static LRESULT CALLBACK ColorPickerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // White until a new instance takes the default table or a bag is read.
    PaletteColours m_colors = WhitePalette();
    int32_t m_color = 0;
    int32_t m_style = 2;
    int m_selX = 0;
    int m_selY = 0;
    bool m_tracking = false;
    bool m_designMode = true;
    std::wstring m_tag;
    std::unique_ptr<CommonDialog> m_colorDialog;
    WNDPROC m_oldWndProc = nullptr;
    std::wstring m_subclassProperty;
    std::unique_ptr<WindowSubclass> m_subclass;
    COLORREF m_listColors[4] = {};
    unique_hbrush m_listBrushes[4];

    PictureBox m_picCustom;
    ListBox m_zocr;
    std::function<void(int32_t)> m_onColorPicked;
    // Last, so that it is disconnected before anything it reads goes.
    AccessibleOwner<PickerAccessible> m_accessible;
};

}  // namespace zo
