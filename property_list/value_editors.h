// The in-place editors of a PropertyList: the text box (text, number and
// browse rows), the "..." button, the list editor (Boolean and custom rows),
// the colour box with its arrow, and the host's own editor for owner-drawn
// rows through the sink. Opening the editor of a row, hiding them all, the
// text that is pending for a row, and the ValueChanged contract live here.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "combo_box/zo_combo_box.h"
#include "common/com_ptr.h"
#include "property_list/row_store.h"
#include "runtime/accessible_hook.h"
#include "runtime/child_controls.h"

namespace zo {

class OwnerDrawSink;

// What the editors ask of the control that owns them.
class EditorHost {
public:
    // Raises ValueChanged; true when the host set Cancel.
    virtual bool RaiseValueChanged(const std::wstring& name, int32_t index, const std::wstring& newValue) = 0;
    // Raises NeedData; the entries the host supplied, as far as they read.
    virtual std::vector<std::wstring> RaiseNeedData(int32_t index) = 0;
    // The name every sink call carries.
    [[nodiscard]] virtual std::wstring ControlName() = 0;
    virtual void Repaint() = 0;
    // Raises KeyPressEdit; the host may change or zero the key.
    virtual void RaiseKeyPressEdit(int16_t& keyAscii) = 0;
    [[nodiscard]] virtual bool AllowEdit() const = 0;
    // The control's own window, which gets the focus back from a closed editor.
    [[nodiscard]] virtual HWND SurfaceWindow() const = 0;
    // Raises Browse; the host may put the new value into fillWith.
    virtual void RaiseBrowse(const std::wstring& name, int32_t index, std::wstring& fillWith) = 0;
    // Opens the colour popup under the arrow button with `colour` chosen in
    // it, or unloads the popup when it shows.
    virtual void ToggleColourPopup(HWND arrowButton, int32_t colour) = 0;
    // The list's own key handlers, for keys that reach the editors.
    virtual void ListKeyDown(int16_t& keyCode, int16_t& shift) = 0;
    virtual void ListKeyPress(int16_t& keyAscii) = 0;

protected:
    ~EditorHost() = default;
};

// Where the editors of the selected row go, in twips of the surface.
struct EditorPlace {
    double top = 0;    // the row's editor line
    double right = 0;  // the value column's right edge
};

class ValueEditors : private ZoComboBoxEvents {
public:
    ValueEditors(RowStore& rows, OwnerDrawSink& sink, EditorHost& host) noexcept;

    void Create(HWND surface, com_ptr<IFont> listFont);

    // Horizontal layout and heights, from the value column and the line height.
    void Layout(double valueLeft, double scaleWidth, double barWidth, double lineTwips) noexcept;
    void SetFont(com_ptr<IFont> font, int32_t linePx, double twipsPerPixelY) noexcept;
    void SetBackColor(OLE_COLOR colour) noexcept;
    void SetForeColor(OLE_COLOR colour) noexcept;
    // The header font is kept by the colour arrow, which draws no text.
    [[nodiscard]] com_ptr<IFont> HeaderFont() const noexcept { return m_cmdDown.Font(); }
    void SetHeaderFont(com_ptr<IFont> font) noexcept { m_cmdDown.SetFont(std::move(font)); }
    // The colour box's client height, which sizes a colour row's swatch.
    [[nodiscard]] double SwatchTwips() const noexcept { return m_picValue.ScaleHeight(); }
    [[nodiscard]] double ValueLeft() const noexcept { return m_txtValue.Left(); }

    // Hides the control's own editors (not the sink's); the list takes the
    // focus one of them had.
    void HideAll() noexcept;
    // As HideAll, but a shown text box stays when `next` (the row about to
    // get its editor; null for none) uses the text box too. True when it
    // stayed: opening the editor then moves it, before the list is drawn.
    [[nodiscard]] bool HideAllButReusedTextBox(const PropItem* next) noexcept;
    // Hides the text box, the list editor and the colour box (Clear).
    void HideValueEditors() noexcept;
    // Opens the editor of the selected row. NeedData and the sink may change
    // the list: the editor opens only while the same row is still selected.
    void OpenSelected(const EditorPlace& place);
    void ComboSubclass() noexcept { m_cboValue.Subclass(); }

    [[nodiscard]] bool TextEditActive() const noexcept { return m_textEditActive; }
    void EndTextEdit() noexcept { m_textEditActive = false; }
    // The text box shows a value just stored in row `id`, closed.
    void ShowStoredText(RowId id, const std::wstring& value) noexcept;
    // The text box is emptied and belongs to no row (its row went).
    void DropText() noexcept;

    // Stores `newValue` in row `id` (at `index` when the caller looked it up)
    // unless the host cancels ValueChanged; with `notify` False no event is
    // raised. The row is found again after the event: a row the host removed
    // is not written, and a row that moved is written where it is now.
    // Returns whether the value was stored.
    bool CommitValue(RowId id, int32_t index, const std::wstring& newValue, bool notify);
    // Commits the text typed for the selected row, or the sink's editor of a
    // selected owner-drawn row. Text counts as pending only when the text
    // box was filled for the row that is selected now.
    void CommitPending(bool notify);

    // The text box's own events (text_editor.cpp).
    void txtValue_GotFocus() noexcept { m_textEditActive = true; }
    void txtValue_Change();
    // KeyPressEdit first; then Enter commits, Escape cancels, and a number
    // row lets only numeric keys through.
    void txtValue_KeyPress(int16_t& keyAscii);
    // A press on the list commits text typed for the selected text or number
    // row the way Enter does.
    void CommitTypedText();
    // What a double-click on the list does to the selected row.
    void DoubleClickSelected();
    [[nodiscard]] bool TextBoxShown() const noexcept { return m_txtValue.Visible(); }
    // Opens the text box of the selected row with the typed character in
    // place of its text (a number row takes a digit, or 0 for anything
    // else), and gives it the focus with the caret after the character.
    void StartTyping(const EditorPlace& place, wchar_t typed);
    void DropDownList() { m_cboValue.Dropdown(); }
    // Closes the list editor's drop-down; a closed one is left alone, since
    // closing it again would only repaint its button and move the focus.
    void Rollup() noexcept {
        if (m_cboValue.DroppedDown()) m_cboValue.Rollup();
    }
    // Picks the first list entry whose upper-cased first character is
    // `keyCode`; throws at an empty entry, which ends the search.
    void ChooseByFirstLetter(int16_t keyCode);

    // The list editor, the "..." button and the colour box (choice_editors.cpp).
    void cmdBrowse_MouseDown(int16_t button);
    void cmdDown_MouseDown();
    // A colour picked in the popup: ValueChanged, then stored unless the
    // host cancels or the row is read-only.
    void CommitPickedColour(int32_t colour);
    void cboValue_PickItem();

private:
    void OpenTextBox(const PropItem& item, const EditorPlace& place) noexcept;
    void OpenListEditor(RowId id, const EditorPlace& place);
    void OpenColourBox(const EditorPlace& place) noexcept;
    void OpenSinkEditor(const EditorPlace& place);
    [[nodiscard]] bool StillSelected(RowId id) noexcept;
    [[nodiscard]] bool TextPendingFor(const PropItem& item) const;
    void ConnectChoiceEditors();
    void PaintBrowseButton(HDC dc, const RECT& client) const;
    void PaintColourBox(HDC dc, const RECT& client) const;
    void picValue_Resize() noexcept;
    // Raises ValueChanged for the selected row and stores `value` unless the
    // host cancels or `mayStore` is false; the stored value, or nullopt when
    // the row went during the event.
    std::optional<std::wstring> RaiseAndStore(const std::wstring& value, bool mayStore);
    // ZoComboBoxEvents of the list editor.
    void BeforeDropdown(bool& cancel) override;
    void PickItem(int16_t index) override;
    void KeyPress(int16_t& keyAscii) override { keyAscii = 0; }
    void KeyDown(int16_t& keyCode, int16_t& shift) override;
    void ConnectEditorKeys();
    void txtValue_KeyDown(int16_t& keyCode, int16_t& shift);
    // Keys on the colour box, its arrow and the "..." button.
    void picValue_KeyDown(int16_t& keyCode, int16_t& shift);
    // Hides the text box after a commit or a cancel.
    void CloseTextBox() noexcept;
    void ReclaimFocus() noexcept;
    // The text box, the list editor and the colour box carry the name of
    // the row they edit (editor_names.cpp).
    void NameEditorsForAccessibility() noexcept;
    [[nodiscard]] std::wstring EditedRowName() const;

    RowStore& m_rows;
    OwnerDrawSink& m_sink;
    EditorHost& m_host;
    bool m_textEditActive = false;
    RowId m_textRow = 0;  // the row whose value the text box was filled with

    TextBox m_txtValue;
    PictureBox m_cmdBrowse;
    ZoComboBox m_cboValue;
    PictureBox m_picValue;
    PictureBox m_cmdDown;
    // After the editors, so that each comes out of its window first.
    AccessibleHook m_txtValueName;
    AccessibleHook m_cboValueName;
    AccessibleHook m_cboTextName;
    AccessibleHook m_picValueName;
};

}  // namespace zo
