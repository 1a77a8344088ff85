// Rows, text, selection and keys of the combo box.
#include <gtest/gtest.h>

#include "common/vb_error.h"
#include "runtime/fonts.h"
#include "tests/combo_box/combo_fixture.h"
#include "tests/host/message_pump.h"

namespace zo::test {
namespace {

using ComboModelTest = ComboFixture;

TEST_F(ComboModelTest, RowsKeepTheirOrderAndAnyUnicodeText) {
    const std::vector<std::wstring> rows{L"b", L"a", L"\u03A9\u03BC\u03AD\u03B3\u03B1", L"\u65E5\u672C\u8A9E \U0001F600", L""};
    AddRows(rows);
    EXPECT_EQ(combo->ListCount(), 5);
    EXPECT_EQ(combo->List(), rows);
    combo->Remove(0);
    EXPECT_EQ(combo->List(0), L"a");
    combo->Remove(7);  // no such row: nothing changes
    EXPECT_EQ(combo->ListCount(), 4);
    combo->Clear();
    EXPECT_EQ(combo->ListCount(), 0);
}

TEST_F(ComboModelTest, ListOfAMissingRowIsAnInvalidArgument) {
    AddRows({L"x"});
    for (const long index : {-1L, 1L, 40000L}) {
        try {
            (void)combo->List(index);
            ADD_FAILURE() << "no error for row " << index;
        } catch (const VbError& error) {
            EXPECT_EQ(error.Number(), 5) << index;
        }
    }
}

TEST_F(ComboModelTest, ItemDataFollowsItsRow) {
    AddRows({L"x", L"y"});
    combo->SetItemData(1, -123456);
    combo->SetItemData(0, 0x7FFFFFFF);
    EXPECT_EQ(combo->ItemData(1), -123456);
    EXPECT_EQ(combo->ItemData(0), 0x7FFFFFFF);
    combo->SetItemData(5, 9);
    EXPECT_EQ(combo->ItemData(5), -1);
}

TEST_F(ComboModelTest, NextItemStepsToTheRowAfterTheExactMatch) {
    AddRows({L"x", L"y", L"z"});
    struct Case {
        const wchar_t* text;
        const wchar_t* next;
    };
    for (const Case& c : {Case{L"y", L"z"}, Case{L"z", L"x"}, Case{L"Y", L"x"}, Case{L" y", L"x"}, Case{L"", L"x"}}) {
        combo->SetText(c.text);
        EXPECT_EQ(combo->NextItemText(), c.next) << c.text;
        EXPECT_EQ(combo->Text(), c.text) << "NextItemText changed the text";
        combo->NextItem();
        EXPECT_EQ(combo->Text(), c.next) << c.text;
        EXPECT_EQ(combo->List(combo->Selected()), c.next) << c.text;
    }
}

TEST_F(ComboModelTest, NextItemOnAnEmptyListChangesNothing) {
    combo->SetText(L"keep");
    EXPECT_EQ(combo->NextItemText(), L"");
    combo->NextItem();
    EXPECT_EQ(combo->Text(), L"keep");
}

TEST_F(ComboModelTest, SelectedShowsTheRowWithChangeButNoPick) {
    AddRows({L"x", L"y"});
    combo->SetText(L"x");
    events.names.clear();
    combo->SetSelected(1);
    EXPECT_EQ(combo->Text(), L"y");
    EXPECT_EQ(events.names, std::vector<std::wstring>{L"Change"});
    combo->SetSelected(1);  // same text: no Change
    EXPECT_EQ(events.names.size(), 1u);

    EXPECT_THROW(combo->SetSelected(-1), VbError);
    EXPECT_EQ(combo->Selected(), -1);
    EXPECT_EQ(combo->Text(), L"y");
}

TEST_F(ComboModelTest, StyleLocksTheTextBoxForAnyNonzeroValue) {
    const auto locked = [this] {
        return (::GetWindowLongPtrW(combo->TextWindow(), GWL_STYLE) & ES_READONLY) != 0;
    };
    for (const int32_t style : {0, 1, -1, 2, 0}) {
        combo->SetStyle(style);
        EXPECT_EQ(locked(), style != 0) << style;
        EXPECT_EQ(combo->Style(), style);
    }
}

TEST_F(ComboModelTest, KeysInTheTextBoxRaiseKeyDownAndKeyPress) {
    combo->SetText(L"");
    ::SetFocus(combo->TextWindow());
    events.onKeyPress = [](int16_t& key) {
        if (key == 'a') key = 'b';  // a handler may replace the character
        if (key == 'x') key = 0;    // or drop it
    };
    for (const wchar_t c : {L'a', L'x', L'\u00E9', L'\r'}) ::SendMessageW(combo->TextWindow(), WM_CHAR, c, 1);
    EXPECT_EQ(combo->Text(), L"b\u00E9");
    EXPECT_EQ(events.keyPresses, (std::vector<int16_t>{'a', 'x', 0xE9, 13}));

    events.onKeyDown = [](int16_t& key) {
        if (key == VK_END) key = 0;
    };
    combo->SetText(L"abc");
    combo->SetSelStart(1);
    ::SendMessageW(combo->TextWindow(), WM_KEYDOWN, VK_END, 1);
    EXPECT_EQ(combo->SelStart(), 1);  // dropped by the handler
    ::SendMessageW(combo->TextWindow(), WM_KEYDOWN, VK_HOME, 1);
    EXPECT_EQ(combo->SelStart(), 0);
    EXPECT_EQ(events.Count(L"KeyDown"), 2);
}

TEST_F(ComboModelTest, KeysOnTheButtonRaiseKeyDownAndKeyPress) {
    ::SendMessageW(combo->ButtonWindow(), WM_KEYDOWN, VK_F4, 1);
    ::SendMessageW(combo->ButtonWindow(), WM_CHAR, 13, 1);
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"KeyDown", L"KeyPress"}));
    EXPECT_EQ(events.keyPresses, std::vector<int16_t>{13});
}

TEST_F(ComboModelTest, SystemKeysOnTheButtonRaiseKeyDownLikeTheTextBox) {
    std::vector<int16_t> codes;
    events.onKeyDown = [&](int16_t& key) { codes.push_back(key); };
    constexpr LPARAM kAltDown = 1 << 29;
    for (HWND window : {combo->ButtonWindow(), combo->TextWindow()}) {
        ::SendMessageW(window, WM_SYSKEYDOWN, VK_F10, 1);
        ::SendMessageW(window, WM_SYSKEYDOWN, 'X', 1 | kAltDown);
    }
    test::PumpMessages();
    EXPECT_EQ(codes, (std::vector<int16_t>{VK_F10, 'X', VK_F10, 'X'}));
}

TEST_F(ComboModelTest, AChangedFontObjectLeavesEveryWindowWithItsNewLiveHandle) {
    const com_ptr<IFont> font = CreateStdFont(FontDescription{});
    combo->SetFont(font);
    CY size{};
    size.int64 = 120000;  // 12 pt
    ASSERT_EQ(font->put_Size(size), S_OK);
    ASSERT_EQ(font->put_Bold(TRUE), S_OK);
    HFONT current = nullptr;
    ASSERT_EQ(font->get_hFont(&current), S_OK);
    for (HWND window : {combo->hWnd(), combo->TextWindow(), combo->ListWindow()}) {
        const auto shown = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
        EXPECT_EQ(::GetObjectType(shown), static_cast<DWORD>(OBJ_FONT)) << "a deleted font is in use";
        EXPECT_EQ(shown, current);
    }
}

TEST_F(ComboModelTest, LayoutPutsTheButtonAtTheRightEdge) {
    RECT client{}, text{}, button{};
    ::GetClientRect(combo->hWnd(), &client);
    ::GetWindowRect(combo->TextWindow(), &text);
    ::GetWindowRect(combo->ButtonWindow(), &button);
    ::MapWindowPoints(nullptr, combo->hWnd(), reinterpret_cast<POINT*>(&text), 2);
    ::MapWindowPoints(nullptr, combo->hWnd(), reinterpret_cast<POINT*>(&button), 2);
    const int buttonPx = static_cast<int>(ZoComboBox::kButtonWidthTwips) / 15;
    EXPECT_EQ(button.right, client.right);
    EXPECT_EQ(button.right - button.left, buttonPx);
    EXPECT_EQ(button.top, 0);
    EXPECT_EQ(button.bottom, client.bottom);
    EXPECT_EQ(text.left, 0);
    EXPECT_EQ(text.right, client.right - buttonPx - 1);
    EXPECT_EQ(text.bottom, client.bottom - 1);
    RECT list{};
    ::GetWindowRect(combo->ListWindow(), &list);
    EXPECT_EQ(list.right - list.left, client.right);
}

TEST_F(ComboModelTest, SubclassPropertiesComeAndGoWithTheProcedure) {
    HWND list = combo->ListWindow();
    const LONG_PTR subclassed = ::GetWindowLongPtrW(list, GWLP_WNDPROC);
    const HANDLE previous = ::GetPropW(list, L"ZoComboProc");
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(::GetPropW(list, L"ZoComboPtr"), static_cast<HANDLE>(combo.get()));

    combo->UnSubclass();
    EXPECT_EQ(::GetWindowLongPtrW(list, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(previous));
    EXPECT_EQ(::GetPropW(list, L"ZoComboProc"), nullptr);
    EXPECT_EQ(::GetPropW(list, L"ZoComboPtr"), nullptr);
    combo->UnSubclass();  // twice does nothing

    combo->Subclass();
    combo->Subclass();  // once only: the previous procedure stays the list box's
    EXPECT_EQ(::GetWindowLongPtrW(list, GWLP_WNDPROC), subclassed);
    EXPECT_EQ(::GetPropW(list, L"ZoComboProc"), previous);
}

TEST_F(ComboModelTest, ListWindowDestroyedUnderTheComboBoxLeavesItSafe) {
    AddRows({L"a"});
    combo->Dropdown();
    ::DestroyWindow(combo->ListWindow());
    EXPECT_FALSE(combo->Subclassed());
    EXPECT_FALSE(combo->DroppedDown());
    combo->Dropdown();  // no list: nothing happens
    combo->Rollup();
    EXPECT_EQ(combo->ListCount(), 0);
}

}  // namespace
}  // namespace zo::test
