// Times the keyboard and the colour popup on a PropertyList of 1,000 rows:
// one arrow key, from the key message to the repainted list with its editor
// moved, beside one plain repaint of the same list (target: ratio at most
// 1.3), for a 640 x 480 and a 1920 x 1080 list; and the time from a press on
// a colour row's arrow to the popup shown. Medians of many runs. Prints one
// line per figure; not a test, asserts nothing.
#include <windows.h>
#include <ocidl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/build_type.h"
#include "bench/support/hosted_list.h"

namespace {

using zo::bench::AddRows;
using zo::bench::ElapsedMs;
using zo::bench::HostedList;
using zo::bench::Median;
using zo::bench::MedianMs;
using zo::bench::RepaintNow;

constexpr int kRuns = 101;
constexpr int kRows = 1000;

void Flush(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void SendKey(HWND window, WPARAM key) {
    ::SendMessageW(window, WM_KEYDOWN, key, 0);
    ::SendMessageW(::GetFocus(), WM_KEYUP, key, 0);
    Flush(window);
}

// The arrow button of the colour box: the one child of a visible picture box.
HWND ShownArrow(HWND list) {
    for (HWND child = ::GetWindow(list, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND arrow = ::GetWindow(child, GW_CHILD); ::IsWindowVisible(child) && arrow) {
            wchar_t name[32] = {};
            ::GetClassNameW(arrow, name, 32);
            if (std::wstring(name) == L"ZoPictureBox") return arrow;
        }
    }
    return nullptr;
}

}  // namespace

int main() {
    if (!zo::bench::OptimisedBuild()) return 2;
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int status = 0;
    for (const SIZE size : {SIZE{640, 480}, SIZE{1920, 1080}}) {
        HostedList hosted(size.cx, size.cy);
        if (!hosted.ok) {
            std::printf("could not host the control (is ZoPropList.ocx registered?)\n");
            status = 1;
            break;
        }
        AddRows(*hosted.list.get(), kRows);
        HWND window = hosted.container.ControlHwnd();
        hosted.list->put_Selected(0);
        hosted.container.Pump();
        ::SetFocus(window);
        RepaintNow(window);
        const double repaint = MedianMs(kRuns, [&](int) { RepaintNow(window); });
        // Down and Up in turn: each a one-row step that keeps the row in view.
        const double arrow = MedianMs(kRuns, [&](int run) { SendKey(window, run % 2 ? VK_UP : VK_DOWN); });
        // Row 4 is a colour row; the popup is closed again outside the timing.
        hosted.list->put_Selected(4);
        hosted.container.Pump();
        HWND arrowButton = ShownArrow(window);
        const auto pressArrow = [&] {
            ::SendMessageW(arrowButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::SendMessageW(arrowButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        };
        double popup = -1;
        if (arrowButton) {
            std::vector<double> times;
            for (int run = 0; run < 21; ++run) {
                times.push_back(ElapsedMs([&] {
                    pressArrow();
                    if (HWND form = ::FindWindowW(L"ZoColorForm", nullptr)) Flush(form);
                }));
                pressArrow();  // a second press closes it again
                hosted.container.Pump();
            }
            popup = Median(std::move(times));
        }
        std::printf("%ldx%ld, %d rows: repaint %.3f ms; arrow key %.3f ms (ratio %.2f, target at most 1.3); "
                    "press on the colour arrow to the popup shown %.3f ms; medians\n",
                    size.cx, size.cy, kRows, repaint, arrow, arrow / repaint, popup);
    }
    ::OleUninitialize();
    return status;
}
