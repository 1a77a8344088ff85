// ZoComboBox: the list editor of the property list. A text box with a drawn
// drop-down button at its right edge, and a list of rows that drops down
// below it in a window of its own. Hosted by our own controls only: its
// position, size and visibility are those of its window in the parent's
// twips (ChildControl), its events reach the host through ZoComboBoxEvents,
// and its design-time properties go through the host's property bag.
//
// The rows live only in the native list box: every row operation is a
// list-box message, and the text box is the only holder of the current text.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "combo_box/combo_button.h"
#include "common/com_ptr.h"
#include "common/window_subclass.h"
#include "runtime/child_controls.h"
#include "window_support/control.h"

namespace zo {

// What a combo box tells its host. Handlers run synchronously inside the
// combo box's window procedures and may change the combo box, or end it.
class ZoComboBoxEvents {
public:
    // The text box's text changed, by typing or by code.
    virtual void Change() {}
    // A key went down in the text box or on the button; keyCode 0 drops it.
    virtual void KeyDown(int16_t& keyCode, int16_t& shift) { (void)keyCode, (void)shift; }
    // A character key in the text box or on the button; keyAscii 0 drops it.
    virtual void KeyPress(int16_t& keyAscii) { (void)keyAscii; }
    // The list is about to open; setting `cancel` keeps it closed.
    virtual void BeforeDropdown(bool& cancel) { (void)cancel; }
    // A row was picked from the open list (-1 when none was selected).
    virtual void PickItem(int16_t index) { (void)index; }

protected:
    ~ZoComboBoxEvents() = default;
};

class ZoComboBox final : public ChildControl {
public:
    // Told the name of a persisted property that changed, so that the host
    // saves its form again.
    using PropertyChangedCallback = std::function<void(const wchar_t* name)>;

    // Width of the drop-down button in twips (fixed, as a design-time size).
    static constexpr double kButtonWidthTwips = 240;
    static constexpr const wchar_t* kDefaultText = L"ZoComboBox";

    ZoComboBox() noexcept;
    ~ZoComboBox() override;

    // Creates the control's window on `parent` with its text box and button,
    // and the hidden drop-down list window.
    void Create(HWND parent) noexcept;

    void SetEvents(ZoComboBoxEvents* events) noexcept { m_events = events; }
    void SetPropertyChanged(PropertyChangedCallback callback) { m_propertyChanged = std::move(callback); }

    // --- Appearance (these hide ChildControl's setters of the same name, so
    // that the text box and the list follow the control) ---
    void SetBackColor(OLE_COLOR colour) noexcept;
    [[nodiscard]] OLE_COLOR BackColor() const noexcept { return m_txtValue.BackColor(); }
    void SetForeColor(OLE_COLOR colour) noexcept;
    [[nodiscard]] OLE_COLOR ForeColor() const noexcept { return m_txtValue.ForeColor(); }
    void SetFont(com_ptr<IFont> font) noexcept;
    [[nodiscard]] bool Enabled() const noexcept { return m_enabled; }
    void SetEnabled(bool enabled) noexcept;
    [[nodiscard]] int16_t MousePointer() const noexcept { return m_mousePointer; }
    void SetMousePointer(int16_t pointer);  // 0..15 or 99; others: error 380
    [[nodiscard]] com_ptr<IPictureDisp> MouseIcon() const noexcept { return m_mouseIcon; }
    void SetMouseIcon(com_ptr<IPictureDisp> picture) noexcept;

    // --- Text box ---
    [[nodiscard]] std::wstring Text() const;
    // Raises Change only when the text differs.
    void SetText(const std::wstring& text) noexcept;
    [[nodiscard]] long MaxLength() const noexcept { return m_maxLength; }
    void SetMaxLength(long length);  // 0: no limit; negative: error 380
    [[nodiscard]] long SelStart() const noexcept { return m_txtValue.SelStart(); }
    void SetSelStart(long start) noexcept;
    [[nodiscard]] long SelLength() const noexcept { return m_txtValue.SelLength(); }
    void SetSelLength(long length) noexcept;
    [[nodiscard]] std::wstring SelText() const;
    void SetSelText(const std::wstring& text) noexcept;
    // 0: the text can be typed; any other value locks the text box.
    [[nodiscard]] int32_t Style() const noexcept { return m_style; }
    void SetStyle(int32_t style) noexcept;

    // --- Rows (each a list-box message to the list window) ---
    void Add(const std::wstring& item) noexcept;
    void Clear() noexcept;
    void Remove(int16_t index) noexcept;
    // Throws Overflow (6) beyond 32767 rows.
    [[nodiscard]] int16_t ListCount() const;
    // The text of row `index`; throws Invalid procedure call (5) when there is
    // no such row.
    [[nodiscard]] std::wstring List(long index) const;
    // Every row's text, in order.
    [[nodiscard]] std::vector<std::wstring> List() const;
    // Accepted and ignored.
    void SetList(long index, const std::wstring& text) noexcept { (void)index, (void)text; }
    [[nodiscard]] int32_t ItemData(int16_t index) const noexcept;  // -1 for no such row
    void SetItemData(int16_t index, int32_t data) noexcept;
    [[nodiscard]] int32_t Selected() const noexcept;
    // Selects the row and shows its text (Change, not PickItem); for an index
    // with no row the selection changes and then error 5 is thrown.
    void SetSelected(int32_t index);
    // Selects the row after the one whose text equals Text exactly (the
    // first row when none does, wrapping after the last).
    void NextItem();
    [[nodiscard]] std::wstring NextItemText() const;

    // --- Drop-down list ---
    // Acts as a left-button press on the button: opens a closed list,
    // closes an open one. Does not take the mouse capture.
    void Dropdown();
    // Closes the list and gives the button the focus (when the button is
    // shown and enabled); no event.
    void Rollup() noexcept;
    [[nodiscard]] bool DroppedDown() const noexcept { return m_droppedDown; }
    // Installs (once) and removes the list window's mouse handling.
    void Subclass() noexcept;
    void UnSubclass() noexcept;
    [[nodiscard]] bool Subclassed() const noexcept { return m_listSubclass.Installed(); }
    // Height of one row of the open list in pixels, from the control's font.
    [[nodiscard]] int RowHeightPixels() const noexcept;

    // --- Persistence through the host's property bag ---
    void InitProperties(com_ptr<IFont> ambientFont) noexcept;
    void ReadProperties(IPropertyBag& bag, com_ptr<IFont> ambientFont) noexcept;
    void WriteProperties(IPropertyBag& bag, IFont* ambientFont) const noexcept;

    // --- Child windows, for the host's layout and for tests ---
    [[nodiscard]] HWND TextWindow() const noexcept { return m_txtValue.hWnd(); }
    [[nodiscard]] HWND ButtonWindow() const noexcept { return m_cmdDown.hWnd(); }
    [[nodiscard]] HWND ListWindow() const noexcept { return m_lstValue.hWnd(); }

    // Window properties of the subclassed list window and text box: the
    // previous window procedure and the address of this object (borrowed).
    static constexpr wchar_t kListProcProperty[] = L"ZoComboProc";
    static constexpr wchar_t kListPtrProperty[] = L"ZoComboPtr";
    static constexpr wchar_t kTextProcProperty[] = L"ZoComboTextProc";
    static constexpr wchar_t kTextPtrProperty[] = L"ZoComboTextPtr";

private:
    friend class ComboButton;

    static LRESULT CALLBACK ComboWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // The subclass procedures of the list window and of the text box.
    static LRESULT CALLBACK ComboWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleComboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    void CreateListWindow() noexcept;
    // Puts the text into the text box when it differs (Change then runs).
    void ShowText(const std::wstring& text) noexcept;
    void Layout() noexcept;
    void PropertyChanged(const wchar_t* name) const noexcept;
    LRESULT SendToList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept;
    [[nodiscard]] std::weak_ptr<char> AliveToken() const noexcept { return m_alive; }
    [[nodiscard]] int NextIndex() const;

    // Button and keyboard input (combo_dropdown.cpp, combo_text_input.cpp).
    void ButtonPress();
    void ButtonRelease() noexcept;
    void ButtonKeyDown(WPARAM key) noexcept;
    // Alt+key and F10 on the button: KeyDown as in the text box. False when
    // the key was dropped or the handler ended the combo box; otherwise `key`
    // holds the key for the default handling.
    [[nodiscard]] bool ButtonSysKeyDown(WPARAM& key) noexcept;
    void ButtonChar(WPARAM character) noexcept;
    void TextGotFocus() noexcept;
    LRESULT HandleTextMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous) noexcept;
    void RaiseKeyDown(int16_t& keyCode) noexcept;
    void RaiseKeyPress(int16_t& keyAscii) noexcept;
    [[nodiscard]] bool OverScrollStrip(HWND list, int x, int y) const noexcept;
    // Hides the list; with `focusButton` the button takes the focus.
    void CloseList(bool focusButton) noexcept;
    // Gives the button the focus, only while it is shown and enabled.
    void FocusButton() const noexcept;
    void SelectRowMatchingText() noexcept;
    // The list's mouse handling; false when the press closed the list.
    bool ListMouseDown(int16_t code, int16_t keys, int x, int y) noexcept;
    void PickFromList(int16_t code, int16_t keys, int x, int y) noexcept;
    void ListWindowDestroyed() noexcept;

    TextBox m_txtValue;
    ComboButton m_cmdDown;
    CControl m_lstValue;
    WindowSubclass m_textSubclass;
    WindowSubclass m_listSubclass;

    ZoComboBoxEvents* m_events = nullptr;
    PropertyChangedCallback m_propertyChanged;
    int32_t m_style = 0;
    bool m_droppedDown = false;
    bool m_enabled = true;
    long m_maxLength = 0;
    int16_t m_mousePointer = 0;
    com_ptr<IPictureDisp> m_mouseIcon;
    HFONT m_fontHandle = nullptr;  // for WM_GETFONT; held by ChildControl's WindowFont
    // Dropped when the object goes, so that code resumed after an event can
    // tell whether the host ended the combo box in its handler.
    std::shared_ptr<char> m_alive;
};

}  // namespace zo
