// Times a mouse press on a PropertyList of 1,000 rows, from the press to the
// repainted list, beside one plain repaint of the same list, for a 640 x 480
// and a 1920 x 1080 list; a press on a header row, which opens no editor;
// and an Enter that commits typed text, likewise.
// A press or a commit should cost about one repaint (target: ratio at most
// 1.3). Each figure is the median of many runs. Prints one line per figure;
// not a test, asserts nothing.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "bench/support/build_type.h"
#include "bench/support/hosted_list.h"

namespace {

using zo::com_ptr;
using zo::bench::AddRows;
using zo::bench::ElapsedMs;
using zo::bench::Median;
using zo::bench::HostedList;
using zo::bench::MedianMs;
using zo::bench::RepaintNow;

constexpr int kRuns = 101;
constexpr int kRows = 1000;

// The row pitch in pixels: the list font's "Qq" height plus the separator.
int PitchOf(_PropertyList& list) {
    com_ptr<IFontDisp> fontDisp;
    if (FAILED(list.get_Font(fontDisp.put())) || !fontDisp) return -1;
    com_ptr<IFont> font = fontDisp.query<IFont>();
    HFONT handle = nullptr;
    if (!font || FAILED(font->get_hFont(&handle))) return -1;
    zo::unique_hdc dc(::CreateCompatibleDC(nullptr));
    zo::unique_select selection(dc.get(), handle);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), L"Qq", 2, &extent);
    return extent.cy + 3;
}

// Sends a press and release at pixel line y, then lets every pending paint
// of the list and its editors happen.
void PressAt(HWND window, int y) {
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, y));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(4, y));
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct Figures {
    double repaint = 0, press = 0, headerPress = 0, commit = 0;
};

bool Measure(int width, int height, Figures& figures) {
    HostedList hosted(width, height);
    if (!hosted.ok) return false;
    AddRows(*hosted.list.get(), kRows);
    HWND window = hosted.container.ControlHwnd();
    hosted.container.Pump();
    const int pitch = PitchOf(*hosted.list.get());
    if (pitch <= 3) return false;
    // Rows 0 and 7 are both text rows.
    const int rowY[2] = {1 + pitch / 2, 1 + 7 * pitch + pitch / 2};
    // Rows 6 and 13 are header rows, which open no editor.
    const int headerY[2] = {1 + 6 * pitch + pitch / 2, 1 + 13 * pitch + pitch / 2};

    RepaintNow(window);
    figures.repaint = MedianMs(kRuns, [&](int) { RepaintNow(window); });
    figures.press = MedianMs(kRuns, [&](int run) { PressAt(window, rowY[run % 2]); });
    figures.headerPress = MedianMs(kRuns, [&](int run) { PressAt(window, headerY[run % 2]); });

    // Enter in the text box of row 0, with text typed before the timing.
    HWND textBox = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
    if (!textBox) return false;
    std::vector<double> commits;
    for (int run = 0; run < kRuns; ++run) {
        PressAt(window, rowY[0]);
        ::SetWindowTextW(textBox, run % 2 ? L"odd" : L"even");
        commits.push_back(ElapsedMs([&] {
            ::SendMessageW(textBox, WM_CHAR, VK_RETURN, 0);
            ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }));
    }
    figures.commit = Median(std::move(commits));
    return true;
}

}  // namespace

int main() {
    if (!zo::bench::OptimisedBuild()) return 2;
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int status = 0;
    for (const SIZE size : {SIZE{640, 480}, SIZE{1920, 1080}}) {
        Figures figures;
        if (!Measure(size.cx, size.cy, figures)) {
            std::printf("could not host the control (is ZoPropList.ocx registered?)\n");
            status = 1;
            break;
        }
        std::printf("%ldx%ld, %d rows: repaint %.3f ms; press on a text row %.3f ms (ratio %.2f), on a header "
                    "row %.3f ms (ratio %.2f); Enter commit %.3f ms (ratio %.2f); medians of %d, target ratio at "
                    "most 1.3\n",
                    size.cx, size.cy, kRows, figures.repaint, figures.press, figures.press / figures.repaint,
                    figures.headerPress, figures.headerPress / figures.repaint, figures.commit,
                    figures.commit / figures.repaint, kRuns);
    }
    ::OleUninitialize();
    return status;
}
