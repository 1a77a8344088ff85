// What the tests of editing a PropertyList share: real mouse messages at row
// positions worked out from the measured pitch, the text box, typing into
// it, and the events as a readable story.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/property_list/painted_list.h"

namespace zo::test {

class EditingListTest : public PaintedListTest {
protected:
    [[nodiscard]] int RowMiddle(int row) { return RowTop(row - TopIndex()) + Pitch() / 2; }
    void Mouse(UINT message, int x, int y, WPARAM keys = 0) {
        ::SendMessageW(ListWindow(), message, keys, MAKELPARAM(x, y));
        container.Pump();
    }
    // A press and release at pixel line y, in the name column.
    void ClickAt(int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        Mouse(down, 4, y);
        Mouse(up, 4, y);
    }
    void ClickRow(int row) { ClickAt(RowMiddle(row)); }
    void DoubleClickRow(int row) {
        ClickRow(row);
        Mouse(WM_LBUTTONDBLCLK, 4, RowMiddle(row));
        Mouse(WM_LBUTTONUP, 4, RowMiddle(row));
    }
    [[nodiscard]] HWND TextBox() { return ::FindWindowExW(ListWindow(), nullptr, L"Edit", nullptr); }
    [[nodiscard]] bool TextBoxShown() { return ::IsWindowVisible(TextBox()) != FALSE; }
    [[nodiscard]] std::wstring TextBoxText() {
        wchar_t text[256] = {};
        ::GetWindowTextW(TextBox(), text, 256);
        return text;
    }
    // Clicks into the text box, which takes the focus, puts the caret at
    // the end of its text and types.
    void Type(std::wstring_view keys) {
        ::SendMessageW(TextBox(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(TextBox(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        const WPARAM end = TextBoxText().size();
        ::SendMessageW(TextBox(), EM_SETSEL, end, static_cast<LPARAM>(end));
        for (wchar_t key : keys) ::SendMessageW(::GetFocus(), WM_CHAR, key, 0);
        container.Pump();
    }
    void IgnoreEvents(std::initializer_list<DISPID> dispids) {
        for (DISPID dispid : dispids) events.On(dispid, [](EventArgs&) {});
    }
    // Event names with their arguments, mouse moves left out:
    // "SelChange(-1,1)", "ValueChanged(Name,0,typed)", "MouseDown(1)".
    [[nodiscard]] std::vector<std::wstring> Story() {
        std::vector<std::wstring> story;
        for (const EventCall& call : events.Calls()) {
            if (call.name == L"MouseMove") continue;
            std::wstring entry = call.name;
            if (call.name == L"SelChange")
                entry += L"(" + call.args[0].ToString() + L"," + call.args[1].ToString() + L")";
            if (call.name == L"ValueChanged")
                entry += L"(" + call.args[0].ToString() + L"," + call.args[1].ToString() + L"," +
                         call.args[2].ToString() + L")";
            if (call.name == L"MouseDown" || call.name == L"KeyPress") entry += L"(" + call.args[0].ToString() + L")";
            if (call.name == L"KeyDown" || call.name == L"KeyUp")
                entry += L"(" + call.args[0].ToString() + L"," + call.args[1].ToString() + L")";
            story.push_back(entry);
        }
        events.Clear();
        return story;
    }
    // A key pressed and released where the focus is, the list's own window
    // when the focus is elsewhere.
    void Key(WPARAM key) {
        HWND target = FocusInList();
        ::SendMessageW(target, WM_KEYDOWN, key, 0);
        ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_KEYUP, key, 0);
        container.Pump();
    }
    void Char(wchar_t key) {
        ::SendMessageW(FocusInList(), WM_CHAR, key, 0);
        container.Pump();
    }
    [[nodiscard]] HWND FocusInList() {
        HWND focus = ::GetFocus();
        if (focus != ListWindow() && !::IsChild(ListWindow(), focus)) {
            ::SetFocus(ListWindow());
            focus = ListWindow();
        }
        return focus;
    }
    // Changes the size of the font object a font property holds, in place.
    void SetFontPoints(const wchar_t* property, int points) {
        com_ptr<IFont> font = Property(property).ToUnknown().query<IFont>();
        ASSERT_TRUE(font);
        CY size{};
        size.int64 = points * 10000LL;
        ASSERT_HRESULT_SUCCEEDED(font->put_Size(size));
    }
    void CancelValueChanged() {
        events.On(list_event::ValueChanged, [](EventArgs& args) { args.SetBool(3, true); });
    }
};

}  // namespace zo::test
