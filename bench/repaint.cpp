// Times full repaints of a PropertyList hosted in the test container, as a
// host's window shows it:
//  - the same 640 x 240 control with 20 rows and with 1,000,000 rows (the
//    cost must not grow with the list: only the visible rows are visited;
//    both lists fill the control, so both draw the same rows and the bar);
//  - a 1920 x 1080 pixel list, against one 60 Hz frame (16.7 ms).
// Each figure is the median of many repaints (RedrawWindow with
// RDW_UPDATENOW: WM_PAINT, the off-screen composition and its BitBlt).
// Prints one line per figure; not a test, asserts nothing.
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/build_type.h"
#include "bench/support/hosted_list.h"

namespace {

using zo::bench::AddRows;
using zo::bench::HostedList;
using zo::bench::MedianMs;
using zo::bench::RepaintNow;

constexpr int kRepaints = 101;

// Median milliseconds of one full repaint of the window.
double MedianRepaintMs(HWND window) {
    RepaintNow(window);
    return MedianMs(kRepaints, [&](int) { RepaintNow(window); });
}

double TimedRepaint(int width, int height, int rows, double* fillSeconds) {
    HostedList hosted(width, height);
    if (!hosted.ok) return -1;
    const auto start = std::chrono::steady_clock::now();
    AddRows(*hosted.list.get(), rows);
    if (fillSeconds)
        *fillSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    hosted.list->put_Selected(3);
    hosted.container.Pump();
    return MedianRepaintMs(hosted.container.ControlHwnd());
}

}  // namespace

int main(int argc, char** argv) {
    if (!zo::bench::OptimisedBuild()) return 2;
    // The long list's length may be given, to try the benchmark quickly.
    const int manyRows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int status = 0;
    {
        const double few = TimedRepaint(640, 240, 20, nullptr);
        double fill = 0;
        const double many = TimedRepaint(640, 240, manyRows, &fill);
        const double large = TimedRepaint(1920, 1080, 200, nullptr);
        if (few < 0 || many < 0 || large < 0) {
            std::printf("could not host the control (is ZoPropList.ocx registered?)\n");
            status = 1;
        } else {
            std::printf("repaint 640x240, 20 rows: %.3f ms (median of %d)\n", few, kRepaints);
            std::printf("repaint 640x240, %d rows: %.3f ms (median of %d; filling took %.1f s)\n", manyRows, many,
                        kRepaints, fill);
            std::printf("ratio %d/20 rows: %.2f (target at most 1.2)\n", manyRows, many / few);
            std::printf("repaint 1920x1080: %.3f ms (median of %d; target well under 16.7 ms)\n", large, kRepaints);
        }
    }
    ::OleUninitialize();
    return status;
}
