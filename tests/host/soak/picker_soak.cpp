#include "tests/host/soak/picker_soak.h"

#include <chrono>
#include <cstdio>
#include <exception>

#include "tests/host/message_pump.h"
#include "tests/host/soak/live_counts.h"
#include "tests/host/soak/modal_guard.h"
#include "tests/host/soak/picker_soak_stages.h"

namespace zo::test {

namespace picker_soak {

namespace {

constexpr size_t kKeptMismatches = 8;

}  // namespace

SoakRun::SoakRun(const SoakOptions& options, SoakReport& report)
    : random(options.seed), journal("picker", options), report(report) {}

void SoakRun::Mismatch(const std::string& what) {
    ++report.mismatchCount;
    if (report.mismatches.size() < kKeptMismatches)
        report.mismatches.push_back("step " + std::to_string(journal.Step()) + ": " + what);
}

HWND MouseTarget(POINT screen) {
    HWND target = ::GetCapture();
    return target ? target : ::WindowFromPoint(screen);
}

HWND SendMouse(UINT message, WPARAM keys, POINT screen) {
    // The pointer goes there too: the moves the system makes up (after a
    // capture ends, say) then agree with the messages sent.
    ::SetCursorPos(screen.x, screen.y);
    HWND target = MouseTarget(screen);
    if (!target) return nullptr;
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    return target;
}

int PumpWithoutMadeUpMoves() {
    return PumpMessages([](MSG& message) { return message.message == WM_MOUSEMOVE; });
}

bool LibraryObjectsGone() {
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    if (!library) return true;
    auto canUnload =
        reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(library, "DllCanUnloadNow")));
    return !canUnload || canUnload() == S_OK;
}

std::string Hex(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%X", static_cast<unsigned>(value));
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

int32_t RandomColour(SoakRandom& random) {
    switch (random.Below(8)) {
        case 0: return random.Between(0, 255);
        case 1: return static_cast<int32_t>(random.Next() & 0x00FFFFFF);
        case 2: return static_cast<int32_t>(0x80000000u | random.Below(0x1D));       // system colour, in range
        case 3: return static_cast<int32_t>(0x80000000u | random.Between(0x19, 0x400));  // index out of range
        case 4: return -random.Between(1, 1000);
        case 5: return static_cast<int32_t>(random.Next());                          // anything
        case 6: return random.Pick<int32_t>({0, 0x00FFFFFF, 0x01000000, 0x7FFFFFFF, -1,
                                             static_cast<int32_t>(0x80000000u), static_cast<int32_t>(0xFFFFFFFFu)});
        default: return random.Pick<int32_t>({0x000000FF, 0x0000C0C0, 0x00FF0000, 0x00400040, 0x00E0E0E0});
    }
}

}  // namespace picker_soak

namespace {

using picker_soak::SoakRun;
using picker_soak::Stage;

// Each half runs for a stretch of this many steps before the other takes over.
constexpr int kShortestStretch = 80;
constexpr int kLongestStretch = 400;
constexpr int kWarmUpSteps = 20;

// One step; a check that cannot even read what it compares counts as a mismatch.
void RunStep(SoakRun& run, Stage& stage, int64_t step) {
    try {
        stage.Step(step);
    } catch (const std::exception& error) {
        run.Mismatch(std::string("the step threw: ") + error.what());
    }
}

std::unique_ptr<Stage> MakeStage(SoakRun& run, bool picker) {
    return picker ? picker_soak::MakePickerStage(run) : picker_soak::MakePopupStage(run);
}

// Hosts each half once and runs a few steps in it, so that what the process
// or the library makes once (classes, caches, the shared painter) is there
// before the starting counts are taken.
void WarmUp(SoakReport& report) {
    SoakOptions options;
    options.seed = 0x5EED;
    options.steps = 0;
    SoakReport warm;
    SoakRun run(options, warm);
    for (bool picker : {true, false}) {
        std::unique_ptr<Stage> stage = MakeStage(run, picker);
        if (stage->Host()) {
            for (int step = 0; step < kWarmUpSteps; ++step) {
                run.journal.Begin(step, "warm-up");
                RunStep(run, *stage, step);
            }
        }
        stage->Close();
    }
    PumpMessages();
    if (warm.mismatchCount > 0) warm.mismatches.push_back(run.journal.Replay());
    for (const std::string& mismatch : warm.mismatches) report.mismatches.push_back("warm-up " + mismatch);
    report.mismatchCount += warm.mismatchCount;
    report.refsLeft += warm.refsLeft;
}

// The soak moves the real pointer; this puts it back where it was, so that the
// moves the system makes up later (when a capture ends, say) do not land on
// whatever the soak left under it.
class PointerKept {
public:
    PointerKept() { kept_ = ::GetCursorPos(&position_) != FALSE; }
    ~PointerKept() {
        if (kept_) ::SetCursorPos(position_.x, position_.y);
    }
    PointerKept(const PointerKept&) = delete;
    PointerKept& operator=(const PointerKept&) = delete;

private:
    POINT position_{};
    bool kept_ = false;
};

}  // namespace

SoakReport RunPickerSoak(const SoakOptions& options) {
    SoakReport report;
    report.seed = options.seed;
    PointerKept pointer;
    ModalGuard guard;
    WarmUp(report);
    report.before = TakeLiveCounts();
    const auto started = std::chrono::steady_clock::now();
    {
        SoakRun run(options, report);
        std::unique_ptr<Stage> stage;
        bool pickerTurn = true;
        int64_t stretchEnd = 0;
        for (int64_t step = 0; step < options.steps && !run.Failed(); ++step) {
            if (!stage || step >= stretchEnd) {
                if (stage) stage->Close();
                stage = MakeStage(run, pickerTurn);
                pickerTurn = !pickerTurn;
                stretchEnd = step + run.random.Between(kShortestStretch, kLongestStretch);
                run.journal.Begin(step, pickerTurn ? "host a PropertyList with colour rows" : "host a ZoColorPicker");
                if (!stage->Host()) {
                    run.Mismatch("the control could not be hosted");
                    break;
                }
            }
            RunStep(run, *stage, step);
            report.stepsRun = step + 1;
        }
        if (stage) stage->Close();
        stage.reset();
        PumpMessages();
        report.after = TakeLiveCounts();
        if (!report.ok()) report.mismatches.push_back(run.journal.Replay());
    }
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return report;
}

}  // namespace zo::test
