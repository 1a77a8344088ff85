// The popup colour form: placed and popped up top-most, hidden by a pick or
// by another window's activation, and keeping the palette between popups
// and, through the palette file, between runs of the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "colour_picking/colour_form.h"
#include "common/twips.h"
#include "tests/colour_picking/colour_dialog_driver.h"
#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/accessible_client.h"
#include "tests/host/message_pump.h"
#include "tests/host/scratch_folder.h"

namespace zo::test {

namespace {

constexpr wchar_t kFolderVariable[] = L"ZO_TEST_PALETTE_FOLDER";
// What the new process found in cell (6, 8), as decimal text.
constexpr wchar_t kSeenFile[] = L"seen.txt";

// The palette file in a scratch folder, with no user copy elsewhere.
PaletteFile FileIn(const std::wstring& folder) { return PaletteFile({folder, L""}); }

long FileSize(const ScratchFolder& folder) {
    const std::optional<Bytes> bytes = ReadBytes(folder / L"ZoPropList.sys");
    return bytes ? static_cast<long>(bytes->size()) : -1;
}

HWND CreateOtherWindow() {
    return ::CreateWindowExW(0, L"STATIC", L"another window", WS_POPUP | WS_VISIBLE | WS_CAPTION, 400, 300, 200, 100,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

class ColourFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        other = CreateOtherWindow();
        ASSERT_NE(other, nullptr);
        form = std::make_unique<ColorForm>(FileIn(folder.Root()));
        form->SetColorPickedListener([this](int32_t& colour) {
            picks.push_back(colour);
            visibleWhenPicked.push_back(form->Visible());
        });
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        form.reset();
        ::DestroyWindow(other);
        PumpMessages();
    }

    void PopUpAt(int x, int y) {
        ::SetWindowPos(form->hWnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        form->Popup();
        PumpMessages();
    }
    [[nodiscard]] POINT CellCentre(int x, int y) {
        LONG grid = 0;
        (void)form->Picker().get_hWndColors(&grid);
        POINT point{(x - 1) * kCellPitch + 8, (y - 1) * kCellPitch + 8};
        ::ClientToScreen(reinterpret_cast<HWND>(static_cast<LONG_PTR>(grid)), &point);
        return point;
    }
    void ClickCell(int x, int y, Button button = Button::Left) {
        const POINT point = CellCentre(x, y);
        PressAt(point, button);
        ReleaseAt(point, button);
    }
    [[nodiscard]] int32_t Cell(int x, int y) {
        short column = static_cast<short>(x), row = static_cast<short>(y);
        LONG colour = 0;
        (void)form->Picker().get_Colors(&column, &row, &colour);
        return colour;
    }

    ScratchFolder folder;
    HWND other = nullptr;
    std::unique_ptr<ColorForm> form;
    std::vector<int32_t> picks;
    std::vector<bool> visibleWhenPicked;
};

TEST_F(ColourFormTest, PopupShowsATopMostFormOfFixedSizeWhereTheCallerPlacedIt) {
    HWND window = form->hWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(form->Visible()) << "touching loads the form hidden";
    PopUpAt(120, 80);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(rect.right - rect.left, static_cast<int>(std::lround(2250.0 / TwipsPerPixelX())));
    EXPECT_EQ(rect.bottom - rect.top, 177);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::GetActiveWindow(), window);
    RECT picker{}, client{};
    ::GetWindowRect(form->Picker().Window(), &picker);
    ::GetClientRect(window, &client);
    EXPECT_EQ(picker.right - picker.left, client.right) << "the picker fills the form";
    EXPECT_EQ(picker.bottom - picker.top, client.bottom);
    EXPECT_EQ(form->Picker().Tag(), L"1") << "the Palette tab";

    const HANDLE previous = ::GetPropW(window, L"ColorProc");
    EXPECT_NE(previous, nullptr);
    EXPECT_EQ(::GetPropW(window, L"frmColorPtr"), form.get());
    form->Popup();
    EXPECT_EQ(::GetPropW(window, L"ColorProc"), previous) << "a second popup subclasses nothing new";
}

TEST_F(ColourFormTest, APickHidesTheFormThenReportsTheColourOnce) {
    PopUpAt(100, 100);
    ClickCell(4, 4);
    EXPECT_EQ(picks, (std::vector<int32_t>{0x0000C0C0}));
    EXPECT_EQ(visibleWhenPicked, (std::vector<bool>{false})) << "hidden before ColorPicked";
    EXPECT_FALSE(form->Visible());
}

TEST_F(ColourFormTest, AListPickReportsTheSystemColour) {
    PopUpAt(100, 100);
    LONG listHandle = 0;
    ASSERT_EQ(form->Picker().Show(2), S_OK);
    (void)form->Picker().get_hWndList(&listHandle);
    HWND list = reinterpret_cast<HWND>(static_cast<LONG_PTR>(listHandle));
    ::SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    RECT row{};
    ::SendMessageW(list, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&row));
    POINT point{row.left + 40, (row.top + row.bottom) / 2};
    ::ClientToScreen(list, &point);
    PressAt(point);
    ReleaseAt(point);
    EXPECT_EQ(picks, (std::vector<int32_t>{static_cast<int32_t>(0x80000005)})) << "Window Background";
}

TEST_F(ColourFormTest, ActivatingAnotherWindowHidesAndUnloadsTheFormWithoutAPick) {
    PopUpAt(100, 100);
    ASSERT_TRUE(form->Visible());
    ::SetActiveWindow(other);
    PumpMessages();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Loaded()) << "unloaded once the activation has run";
    EXPECT_TRUE(picks.empty());
    EXPECT_TRUE(form->SavedColors().has_value()) << "the palette was kept at the unload";
}

TEST_F(ColourFormTest, ARedefinedColourSurvivesTheDialogAndTheNextPopup) {
    PopUpAt(100, 100);
    HWND window = form->hWnd();
    {
        ColourDialogDriver driver({RGB(10, 20, 30)});
        ClickCell(2, 7, Button::Right);
        ASSERT_TRUE(driver.Seen().has_value());
        EXPECT_EQ(driver.Seen()->owner, window) << "the dialog belongs to the form";
    }
    EXPECT_EQ(picks, (std::vector<int32_t>{static_cast<int32_t>(RGB(10, 20, 30))}))
        << "the dialog did not dismiss the form: the pick came through";
    form->Unload();
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(Cell(2, 7), static_cast<int32_t>(RGB(10, 20, 30))) << "reloaded with the palette";
    EXPECT_EQ(Cell(2, 3), 0x000000FF) << "and the rest of it";
}

TEST_F(ColourFormTest, SavingWritesNothingUntilThereIsAPalette) {
    form->LoadSavedColors();  // no file
    EXPECT_FALSE(form->SavedColors().has_value());
    form->SaveSavedColors();
    EXPECT_EQ(FileSize(folder), -1) << "no file written for a form never loaded";
    EXPECT_EQ(Cell(1, 7), 0x00FFFFFF) << "the default palette without a file";
    form->SaveSavedColors();
    EXPECT_EQ(FileSize(folder), 256) << "a loaded form saves its picker's palette";
}

TEST_F(ColourFormTest, ThePaletteReachesANewProcessThroughTheFile) {
    PopUpAt(100, 100);
    {
        ColourDialogDriver driver({RGB(40, 50, 60)});
        ClickCell(6, 8, Button::Right);
    }
    form->Unload();
    form->SaveSavedColors();
    ASSERT_EQ(FileSize(folder), 256);

    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(program) + L"\" --gtest_also_run_disabled_tests --gtest_filter=ColourFormChild.*";
    ::SetEnvironmentVariableW(kFolderVariable, folder.Root().c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableW(kFolderVariable, nullptr);
    ASSERT_TRUE(started);
    const DWORD waited = ::WaitForSingleObject(process.hProcess, 40000);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, 0u);
    const std::optional<Bytes> seen = ReadBytes(folder / kSeenFile);
    ASSERT_TRUE(seen.has_value()) << "the new process ran the reading test";
    EXPECT_EQ(std::string(seen->begin(), seen->end()), std::to_string(RGB(40, 50, 60)))
        << "the new process read the redefined colour from the file";
}

// The new process of the test above, which runs it (disabled otherwise).
TEST(ColourFormChild, DISABLED_FirstPopupShowsThePaletteOfThePreviousRun) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(::GetEnvironmentVariableW(kFolderVariable, path, MAX_PATH))
        << "run by ThePaletteReachesANewProcessThroughTheFile";
    ColorForm form(FileIn(path));
    form.LoadSavedColors();
    short column = 6, row = 8;
    LONG colour = 0;
    ASSERT_EQ(form.Picker().get_Colors(&column, &row, &colour), S_OK);
    const std::string text = std::to_string(colour);
    EXPECT_TRUE(WriteBytes(std::wstring(path) + L"\\" + kSeenFile, Bytes(text.begin(), text.end())));
}

}  // namespace

}  // namespace zo::test

namespace zo::test {
namespace {

// Assistive clients see the popup as a dialog whose name says what it picks.
TEST_F(ColourFormTest, TheFormIsADialogNamedForWhatItPicks) {
    EXPECT_EQ(form->AccessibleName(), L"Colour");
    form->SetAccessibleName(L"Colour for BackColor");
    PopUpAt(100, 100);
    com_ptr<IAccessible> client = AccessibleOf(form->hWnd(), OBJID_CLIENT);
    com_ptr<IAccessible> window = AccessibleOf(form->hWnd(), OBJID_WINDOW);
    ASSERT_TRUE(client);
    ASSERT_TRUE(window);
    EXPECT_EQ(AccName(*client.get(), CHILDID_SELF), L"Colour for BackColor");
    EXPECT_EQ(AccRole(*client.get(), CHILDID_SELF), ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(AccName(*window.get(), CHILDID_SELF), L"Colour for BackColor");
}

}  // namespace
}  // namespace zo::test
