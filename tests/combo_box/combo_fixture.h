// A combo box on a visible test window, with its events recorded, and mouse
// input routed the way the system routes it: to the window holding the
// capture, else to the window under the point.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "combo_box/zo_combo_box.h"

namespace zo::test {

struct RecordedComboEvents final : ZoComboBoxEvents {
    std::vector<std::wstring> names;
    std::vector<int16_t> picks;
    std::vector<int16_t> keyPresses;
    std::function<void(bool&)> onBeforeDropdown;
    std::function<void(int16_t)> onPickItem;
    std::function<void(int16_t&)> onKeyPress;
    std::function<void(int16_t&)> onKeyDown;

    void Change() override { names.push_back(L"Change"); }
    void KeyDown(int16_t& keyCode, int16_t&) override {
        names.push_back(L"KeyDown");
        if (onKeyDown) onKeyDown(keyCode);
    }
    void KeyPress(int16_t& keyAscii) override {
        names.push_back(L"KeyPress");
        keyPresses.push_back(keyAscii);
        if (onKeyPress) onKeyPress(keyAscii);
    }
    void BeforeDropdown(bool& cancel) override {
        names.push_back(L"BeforeDropdown");
        if (onBeforeDropdown) onBeforeDropdown(cancel);
    }
    void PickItem(int16_t index) override {
        names.push_back(L"PickItem");
        picks.push_back(index);
        if (onPickItem) onPickItem(index);
    }
    [[nodiscard]] int Count(const wchar_t* name) const;
};

class ComboFixture : public ::testing::Test {
protected:
    // The control: 150 x 20 pixels at (20, 20) of the test window's client
    // area, which sits at (100, 100) on the screen.
    static constexpr int kLeftPx = 20, kTopPx = 20, kWidthPx = 150, kHeightPx = 20;

    void SetUp() override;
    void TearDown() override;

    [[nodiscard]] HWND List() const { return combo->ListWindow(); }
    [[nodiscard]] bool ListVisible() const { return ::IsWindowVisible(List()) != FALSE; }
    void AddRows(const std::vector<std::wstring>& rows);
    void AddNumberedRows(int count);

    // Left-button press / release at a screen point.
    static void Press(POINT screen);
    static void Release(POINT screen);
    static void MoveMouse(POINT screen);
    static void Click(POINT screen) { Press(screen), Release(screen); }
    [[nodiscard]] POINT ButtonCentre() const;
    // The centre of a row of the open list, on the screen.
    [[nodiscard]] POINT RowCentre(int row) const;
    // Opens the list with the button, leaving it open and captured.
    void OpenWithButton();

    HWND parent = nullptr;
    std::unique_ptr<ZoComboBox> combo;
    RecordedComboEvents events;
};

}  // namespace zo::test
