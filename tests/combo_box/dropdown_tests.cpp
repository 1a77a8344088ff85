// Opening, tracking and closing the drop-down list with real windows and
// mouse messages routed as the system routes them.
#include <gtest/gtest.h>

#include "tests/combo_box/combo_fixture.h"
#include "tests/host/message_pump.h"
#include "tests/host/sequence.h"

namespace zo::test {
namespace {

using DropdownTest = ComboFixture;

TEST_F(DropdownTest, PressAndReleaseOnARowPicksItsTrimmedText) {
    AddRows({L"  Alpha ", L"Beta", L"Gamma  "});
    combo->SetText(L"  beta ");
    events.names.clear();

    Press(ButtonCentre());
    EXPECT_TRUE(ListVisible());
    EXPECT_TRUE(combo->DroppedDown());
    // The row whose trimmed text matches, whatever the case, is selected.
    EXPECT_EQ(combo->Selected(), 1);
    Release(ButtonCentre());
    EXPECT_EQ(::GetCapture(), List());

    Press(RowCentre(2));
    Release(RowCentre(2));
    EXPECT_FALSE(ListVisible());
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), L"Gamma");
    EXPECT_EQ(events.picks, std::vector<int16_t>{2});
    EXPECT_EQ(::GetFocus(), combo->ButtonWindow());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(CompareSequence(events.names, {L"BeforeDropdown", L"Change", L"PickItem"}), "");
}

TEST_F(DropdownTest, OpenListSelectsTheMatchingRowOrTheFirst) {
    AddRows({L"one", L"Two", L"three"});
    struct Case {
        const wchar_t* text;
        int selected;
    };
    for (const Case& c : {Case{L"THREE", 2}, Case{L"  two", 1}, Case{L"none of them", 0}, Case{L"", 0}}) {
        combo->SetText(c.text);
        combo->Dropdown();
        EXPECT_EQ(combo->Selected(), c.selected) << c.text;
        combo->Rollup();
    }
}

TEST_F(DropdownTest, ClickOutsideClosesWithoutPickOrTextChange) {
    AddRows({L"a", L"b"});
    RECT parentRect{};
    ::GetWindowRect(parent, &parentRect);
    // Above the list (where the list box itself would take the mouse and
    // select the top row) and below it.
    for (const POINT outside : {POINT{parentRect.left + 5, parentRect.top + 5},
                                POINT{parentRect.right - 10, parentRect.bottom - 10}}) {
        combo->SetText(L"b");
        OpenWithButton();
        events.names.clear();
        Press(outside);
        EXPECT_FALSE(ListVisible());
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(combo->Selected(), 1);
        Release(outside);
        EXPECT_TRUE(events.names.empty());
        EXPECT_EQ(combo->Text(), L"b");
    }
}

TEST_F(DropdownTest, BeforeDropdownCancelKeepsTheListClosed) {
    AddRows({L"a"});
    events.onBeforeDropdown = [](bool& cancel) { cancel = true; };
    Click(ButtonCentre());
    EXPECT_FALSE(ListVisible());
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_NE(::GetCapture(), List());
    EXPECT_EQ(events.Count(L"BeforeDropdown"), 1);
}

TEST_F(DropdownTest, EmptyListNeverOpensAndRaisesNothing) {
    combo->Dropdown();
    Click(ButtonCentre());
    EXPECT_FALSE(ListVisible());
    EXPECT_TRUE(events.names.empty());
}

TEST_F(DropdownTest, DropdownTwiceOpensThenClosesWithoutCapture) {
    AddRows({L"a", L"b"});
    combo->Dropdown();
    EXPECT_TRUE(ListVisible());
    EXPECT_NE(::GetCapture(), List());
    combo->Dropdown();
    EXPECT_FALSE(ListVisible());
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(events.Count(L"BeforeDropdown"), 1);
}

TEST_F(DropdownTest, ListHangsBelowTheControlWithAtMostEightRows) {
    const int rowPx = combo->RowHeightPixels();
    ASSERT_GT(rowPx, 0);
    for (const int rows : {1, 3, 8, 9, 20}) {
        combo->Clear();
        AddNumberedRows(rows);
        combo->Dropdown();
        ASSERT_TRUE(ListVisible()) << rows;
        RECT control{}, list{};
        ::GetWindowRect(combo->hWnd(), &control);
        ::GetWindowRect(List(), &list);
        EXPECT_EQ(list.left, control.left) << rows;
        EXPECT_EQ(list.top, control.bottom) << rows;
        EXPECT_EQ(list.right - list.left, control.right - control.left) << rows;
        // The list box trims its height to whole rows, never beyond what was asked.
        const int shown = std::min(rows, 8);
        const int itemPx = static_cast<int>(::SendMessageW(List(), LB_GETITEMHEIGHT, 0, 0));
        RECT client{};
        ::GetClientRect(List(), &client);
        EXPECT_LE(list.bottom - list.top, rowPx * shown) << rows;
        EXPECT_GT(list.bottom - list.top, rowPx * (shown - 1)) << rows;
        if (rows > 1) {
            EXPECT_EQ(client.bottom / itemPx, shown) << rows;
        }
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof(bar);
        ::GetScrollBarInfo(List(), OBJID_VSCROLL, &bar);
        EXPECT_EQ((bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0, rows > 8) << rows;
        combo->Rollup();
    }
}

TEST_F(DropdownTest, PressInTheScrollBarStripScrollsAndKeepsTheListCaptured) {
    AddNumberedRows(20);
    OpenWithButton();
    ASSERT_EQ(::SendMessageW(List(), LB_GETTOPINDEX, 0, 0), 0);
    RECT list{};
    ::GetWindowRect(List(), &list);
    // Low in the strip, below the thumb: a page down.
    const POINT strip{list.right - ::GetSystemMetrics(SM_CXVSCROLL) / 2 - 1, list.bottom - 25};
    MoveMouse(strip);
    // The scroll bar's own tracking loop runs until the button comes up:
    // the release is queued before the press so that the loop finds it.
    POINT client = strip;
    ::ScreenToClient(List(), &client);
    ::PostMessageW(List(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    Press(strip);
    EXPECT_GT(::SendMessageW(List(), LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_TRUE(ListVisible());
    EXPECT_EQ(::GetCapture(), List());
    EXPECT_EQ(events.Count(L"PickItem"), 0);
}

TEST_F(DropdownTest, PressBelowTheLastRowSelectsTheLastRow) {
    AddRows({L"a", L"b", L"c"});
    combo->SetText(L"a");
    OpenWithButton();
    RECT client{};
    ::GetClientRect(List(), &client);
    // The bottom edge counts as inside the list; LB_ITEMFROMPOINT answers
    // the last row there with its high word set.
    POINT below{client.right / 2, client.bottom};
    ::ClientToScreen(List(), &below);
    Press(below);
    EXPECT_EQ(combo->Selected(), 2);
    Release(below);
    EXPECT_EQ(events.picks, std::vector<int16_t>{2});
    EXPECT_EQ(combo->Text(), L"c");
}

TEST_F(DropdownTest, RollupClosesWithoutEventAndFocusesTheButton) {
    AddRows({L"a"});
    OpenWithButton();
    events.names.clear();
    combo->Rollup();
    EXPECT_FALSE(ListVisible());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(::GetFocus(), combo->ButtonWindow());
    EXPECT_TRUE(events.names.empty());
}

TEST_F(DropdownTest, RollupLeavesTheFocusAloneWhileTheButtonIsHiddenOrDisabled) {
    AddRows({L"a"});
    ::SetFocus(parent);
    combo->SetVisible(false);
    combo->Rollup();
    EXPECT_EQ(::GetFocus(), parent) << "hidden";
    combo->SetVisible(true);
    combo->SetEnabled(false);
    combo->Rollup();
    EXPECT_EQ(::GetFocus(), parent) << "disabled";
}

TEST_F(DropdownTest, FocusInTheTextBoxOrHidingTheControlClosesTheList) {
    AddRows({L"a"});
    combo->Dropdown();
    ::SetFocus(combo->TextWindow());
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(ListVisible());

    combo->Dropdown();
    combo->SetVisible(false);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(ListVisible());
}

TEST_F(DropdownTest, HostMayEndTheComboBoxInItsHandlers) {
    AddRows({L"a", L"b"});
    events.onPickItem = [this](int16_t) { combo.reset(); };
    OpenWithButton();
    const POINT row = RowCentre(1);
    Press(row);
    Release(row);
    EXPECT_EQ(combo, nullptr);
    EXPECT_EQ(events.picks, std::vector<int16_t>{1});
    EXPECT_EQ(::GetCapture(), nullptr);

    combo = std::make_unique<ZoComboBox>();
    combo->Create(parent);
    combo->Add(L"x");
    combo->SetEvents(&events);
    events.onBeforeDropdown = [this](bool&) { combo.reset(); };
    combo->Dropdown();
    EXPECT_EQ(combo, nullptr);
}

}  // namespace
}  // namespace zo::test
