#include "demo/script_player.h"

#include <shlwapi.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "demo/report.h"

namespace zo::demo {

namespace {

constexpr wchar_t kPopupClass[] = L"ZoColorForm";
constexpr wchar_t kPictureBoxClass[] = L"ZoPictureBox";
constexpr int kPaletteCellPitch = 17;  // the picker's palette grid
constexpr int kPaletteSide = 8;

struct NamedKey {
    const wchar_t* name;
    WORD key;
};
constexpr NamedKey kKeys[] = {
    {L"Enter", VK_RETURN}, {L"Escape", VK_ESCAPE}, {L"Tab", VK_TAB},     {L"Up", VK_UP},
    {L"Down", VK_DOWN},    {L"Left", VK_LEFT},     {L"Right", VK_RIGHT}, {L"Home", VK_HOME},
    {L"End", VK_END},      {L"Space", VK_SPACE},   {L"Backspace", VK_BACK}, {L"Delete", VK_DELETE},
    {L"F4", VK_F4},        {L"F6", VK_F6},
};
constexpr const wchar_t* kVerbs[] = {L"select", L"type", L"key", L"colour", L"answer-file"};

std::wstring Trim(const std::wstring& text) {
    size_t first = 0, last = text.size();
    while (first < last && std::iswspace(text[first])) ++first;
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);  // mingw's libstdc++ takes a wide name
    if (!file) throw DemoError(L"Cannot read the script " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class StepError : public DemoError {
public:
    StepError(const ScriptStep& step, const std::wstring& why)
        : DemoError(L"Script line " + std::to_wstring(step.line) + L" (" + step.verb + L" " + step.argument +
                    L"): " + why) {}
};

// ---- Input through the system's queue ----

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (::SendInput(1, &input, sizeof(input)) != 1)
        throw DemoError(L"SendInput refused a key", HRESULT_FROM_WIN32(::GetLastError()));
}

void PressKey(WORD key, ScriptTarget& target) {
    SendKey(key, false);
    target.Settle();
    SendKey(key, true);
    target.Settle();
}

// A character with the keys that type it on the current layout (Shift
// included), or as a Unicode character where no key types it.
void TypeCharacter(wchar_t character, ScriptTarget& target) {
    const SHORT scan = ::VkKeyScanW(character);
    const bool viaKeys = scan != -1 && (HIBYTE(scan) & ~1) == 0;  // Shift at most
    if (!viaKeys) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = character;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
        target.Settle();
        return;
    }
    const bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) SendKey(VK_SHIFT, false);
    PressKey(LOBYTE(scan), target);
    if (shift) SendKey(VK_SHIFT, true);
    target.Settle();
}

INPUT MouseInput(POINT screen, DWORD flags) noexcept {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = ::MulDiv(screen.y, 65535, height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | flags;
    return input;
}

void SendMouse(INPUT input, ScriptTarget& target) {
    if (::SendInput(1, &input, sizeof(INPUT)) != 1)
        throw DemoError(L"SendInput refused a mouse action", HRESULT_FROM_WIN32(::GetLastError()));
    target.Settle();
}

// Clicks at `screen`, then puts the pointer back where it was: a pointer
// left over a list that drops down later would choose its entry.
void ClickAt(POINT screen, ScriptTarget& target) {
    POINT before{};
    ::GetCursorPos(&before);
    SendMouse(MouseInput(screen, MOUSEEVENTF_MOVE), target);
    SendMouse(MouseInput(screen, MOUSEEVENTF_LEFTDOWN), target);
    SendMouse(MouseInput(screen, MOUSEEVENTF_LEFTUP), target);
    SendMouse(MouseInput(before, MOUSEEVENTF_MOVE), target);
}

// ---- Finding the colour popup's palette ----

struct WindowSearch {
    const wchar_t* className;
    HWND found = nullptr;
    LONG area = 0;  // the largest one wins
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM searchPointer) noexcept {
    auto& search = *reinterpret_cast<WindowSearch*>(searchPointer);
    wchar_t className[64] = L"";
    ::GetClassNameW(window, className, ARRAYSIZE(className));
    RECT client{};
    if (::IsWindowVisible(window) && ::lstrcmpiW(className, search.className) == 0 && ::GetClientRect(window, &client)) {
        const LONG area = client.right * client.bottom;
        if (area > search.area) {
            search.found = window;
            search.area = area;
        }
    }
    return TRUE;
}

HWND ShownColourPopup() {
    WindowSearch search{kPopupClass};
    ::EnumThreadWindows(::GetCurrentThreadId(), ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The palette grid is the popup's largest picture box.
HWND PaletteGrid(HWND popup) {
    WindowSearch search{kPictureBoxClass};
    ::EnumChildWindows(popup, ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// ---- The steps ----

void SelectRow(const ScriptStep& step, ScriptTarget& target) {
    const long wanted = target.RowIndexOf(step.argument);
    if (wanted < 0) throw StepError(step, L"the inspector has no such row");
    if (::GetFocus() != target.ListWindow() && !::IsChild(target.ListWindow(), ::GetFocus())) {
        ::SetFocus(target.ListWindow());
        target.Settle();
    }
    // Each press moves one row; more presses than rows means the list does not follow.
    for (long presses = 0; presses <= 64; ++presses) {
        const long selected = target.SelectedRow();
        if (selected == wanted) return;
        if (selected < 0) throw StepError(step, L"no row is selected, so the arrow keys cannot move");
        PressKey(selected < wanted ? VK_DOWN : VK_UP, target);
    }
    throw StepError(step, L"the arrow keys did not reach the row");
}

void PressNamedKey(const ScriptStep& step, ScriptTarget& target) {
    std::wistringstream words(step.argument);
    std::wstring name;
    int count = 1;
    words >> name >> count;
    if (count < 1 || count > 100) throw StepError(step, L"the count must be 1 to 100");
    for (const NamedKey& key : kKeys) {
        if (::lstrcmpiW(key.name, name.c_str()) != 0) continue;
        for (int i = 0; i < count; ++i) PressKey(key.key, target);
        return;
    }
    throw StepError(step, L"no key of that name");
}

void PickColour(const ScriptStep& step, ScriptTarget& target) {
    std::wistringstream words(step.argument);
    int column = 0, row = 0;
    words >> column >> row;
    if (column < 1 || column > kPaletteSide || row < 1 || row > kPaletteSide)
        throw StepError(step, L"a palette cell is <column> <row>, each 1 to 8");
    PressKey(VK_RETURN, target);  // a colour row opens its picker when Enter is released
    const HWND popup = ShownColourPopup();
    if (!popup) throw StepError(step, L"the colour picker did not open (is the selected row a colour row?)");
    const HWND grid = PaletteGrid(popup);
    if (!grid) throw StepError(step, L"the colour picker shows no palette");
    POINT cell{(column - 1) * kPaletteCellPitch + kPaletteCellPitch / 2,
               (row - 1) * kPaletteCellPitch + kPaletteCellPitch / 2};
    ::ClientToScreen(grid, &cell);
    ClickAt(cell, target);
    if (::IsWindowVisible(popup)) throw StepError(step, L"the picker stayed open after the click");
}

void QueueAnswer(const ScriptStep& step, const std::wstring& folder, ScriptTarget& target) {
    if (step.argument.empty()) throw StepError(step, L"which file?");
    std::wstring path = step.argument;
    if (::PathIsRelativeW(path.c_str())) path = folder + L"\\" + path;
    wchar_t full[MAX_PATH] = L"";
    if (::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr) == 0) throw StepError(step, L"not a file name");
    target.QueueBrowseAnswer(full);
}

}  // namespace

std::vector<ScriptStep> ReadScript(const std::wstring& path) {
    std::wistringstream lines(FromUtf8(ReadFileBytes(path)));
    std::vector<ScriptStep> steps;
    std::wstring text;
    for (int number = 1; std::getline(lines, text); ++number) {
        const std::wstring trimmed = Trim(text);
        if (trimmed.empty() || trimmed[0] == L'#') continue;
        const size_t blank = trimmed.find_first_of(L" \t");
        ScriptStep step{number, trimmed.substr(0, blank), blank == std::wstring::npos ? L"" : Trim(trimmed.substr(blank))};
        bool known = false;
        for (const wchar_t* verb : kVerbs) known = known || step.verb == verb;
        if (!known) throw StepError(step, L"unknown step; the steps are select, type, key, colour and answer-file");
        steps.push_back(std::move(step));
    }
    return steps;
}

void PlayScript(const std::vector<ScriptStep>& steps, const std::wstring& folder, ScriptTarget& target) {
    ::SetForegroundWindow(target.Frame());
    target.Settle();
    for (const ScriptStep& step : steps) {
        PrintLine(L"script line " + std::to_wstring(step.line) + L": " + step.verb + L" " + step.argument);
        if (step.verb == L"select") SelectRow(step, target);
        if (step.verb == L"type")
            for (const wchar_t character : step.argument) TypeCharacter(character, target);
        if (step.verb == L"key") PressNamedKey(step, target);
        if (step.verb == L"colour") PickColour(step, target);
        if (step.verb == L"answer-file") QueueAnswer(step, folder, target);
    }
}

}  // namespace zo::demo
