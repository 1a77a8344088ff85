// What the two halves of the colour-picking soak share: the run (random
// source, journal, report), mouse messages routed the way the system routes
// them, and the stage interface each half implements.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "tests/host/soak/soak_journal.h"
#include "tests/host/soak/soak_random.h"

namespace zo::test::picker_soak {

class SoakRun {
public:
    SoakRun(const SoakOptions& options, SoakReport& report);

    // A difference between a control and its model, at the current step.
    void Mismatch(const std::string& what);
    template <typename A, typename E>
    void Expect(const A& actual, const E& expected, const std::string& what) {
        if (actual == expected) return;
        std::ostringstream text;
        text << what << ": got " << actual << ", model says " << expected;
        Mismatch(text.str());
    }
    [[nodiscard]] bool Failed() const noexcept { return report.mismatchCount > 0; }

    SoakRandom random;
    SoakJournal journal;
    SoakReport& report;
};

// One half of the soak: hosts its control(s), runs single random steps and
// checks them, and closes everything, counting the references left.
class Stage {
public:
    virtual ~Stage() = default;
    [[nodiscard]] virtual bool Host() = 0;
    virtual void Step(int64_t step) = 0;
    virtual void Close() = 0;
};

[[nodiscard]] std::unique_ptr<Stage> MakePickerStage(SoakRun& run);
[[nodiscard]] std::unique_ptr<Stage> MakePopupStage(SoakRun& run);

// The window a mouse message for this screen point goes to: the one holding
// the capture, else the one under the point.
[[nodiscard]] HWND MouseTarget(POINT screen);
// Sends the message there in its client coordinates and returns the window.
HWND SendMouse(UINT message, WPARAM keys, POINT screen);
// Runs the queue as PumpMessages does, less the mouse moves the system makes
// up by itself (when a window appears or goes under the pointer, say). Every
// mouse message the soak means is sent by the soak; a made-up move that comes
// a moment earlier or later on another run would make the runs differ, and
// one that lands while the grid holds the mouse moves its selection.
int PumpWithoutMadeUpMoves();
// Whether the library holds no object any more (its DllCanUnloadNow).
[[nodiscard]] bool LibraryObjectsGone();
[[nodiscard]] std::string Hex(int32_t value);
[[nodiscard]] std::string Narrow(const std::wstring& text);
// A colour of each kind the interface may meet: plain, out of range,
// negative, system colours with an index in and out of range.
[[nodiscard]] int32_t RandomColour(SoakRandom& random);

}  // namespace zo::test::picker_soak
