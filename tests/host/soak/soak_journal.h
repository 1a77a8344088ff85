// What a soak run reports, and the journal of its steps: a failure names its
// seed and step, the command that runs the same sequence again, and the
// steps that led there; a crash prints the same from the process's
// unhandled-exception filter before the process goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "tests/host/soak/live_counts.h"

namespace zo::test {

struct SoakOptions {
    uint64_t seed = 1;
    int64_t steps = 1000;
    int64_t progressEvery = 0;  // prints "step N" to stderr every this many steps; 0 prints nothing
};

struct SoakReport {
    uint64_t seed = 0;
    int64_t stepsRun = 0;
    int64_t mismatchCount = 0;
    std::vector<std::string> mismatches;  // the first few, each with its step
    int hostings = 0;                     // controls hosted (a misbehaving host may release one)
    int64_t misdeeds = 0;                 // handlers that misbehaved on purpose
    int64_t releases = 0;                 // of them, those that released the control inside its event
    ULONG refsLeft = 0;                   // references left on any hosted control after its container closed
    LiveCounts before, after;
    double seconds = 0;

    [[nodiscard]] bool ok() const noexcept {
        return mismatchCount == 0 && refsLeft == 0 && before == after;
    }
    [[nodiscard]] std::string Describe() const;
};

class SoakJournal {
public:
    // `program` names the control in the command that reproduces a run.
    SoakJournal(std::string program, const SoakOptions& options);
    SoakJournal(const SoakJournal&) = delete;
    SoakJournal& operator=(const SoakJournal&) = delete;
    ~SoakJournal();

    void Begin(int64_t step, std::string what);
    // Adds a detail to the current step ("handler: Clear in SelChange").
    void Note(const std::string& detail);
    [[nodiscard]] int64_t Step() const noexcept { return m_step; }
    // Seed, step, the command that repeats the run and the recent steps.
    [[nodiscard]] std::string Replay() const;

private:
    static LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception);

    std::string m_program;
    SoakOptions m_options;
    int64_t m_step = -1;
    std::deque<std::string> m_recent;
    LPTOP_LEVEL_EXCEPTION_FILTER m_previousFilter = nullptr;
    SoakJournal* m_previousJournal = nullptr;
};

}  // namespace zo::test
