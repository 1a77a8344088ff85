#include "tests/host/soak/soak_journal.h"

#include <cstdio>
#include <cstdlib>

namespace zo::test {

namespace {

constexpr size_t kRecentSteps = 24;
SoakJournal* g_journal = nullptr;

// ZO_SOAK_TRACE=1 prints every step and detail as it happens, for a run that
// hangs or ends without a word.
bool Tracing() {
    static const bool tracing = std::getenv("ZO_SOAK_TRACE") != nullptr;
    return tracing;
}

}  // namespace

std::string SoakReport::Describe() const {
    std::string text = "seed " + std::to_string(seed) + ": " + std::to_string(stepsRun) + " steps, " +
                       std::to_string(hostings) + " controls hosted, " + std::to_string(misdeeds) +
                       " misbehaving handlers (" + std::to_string(releases) + " released the control), " + std::to_string(mismatchCount) +
                       " mismatches, references left " + std::to_string(refsLeft) + "\n  before: " +
                       before.Describe() + "\n  after:  " + after.Describe() + "\n";
    for (const std::string& mismatch : mismatches) text += "  " + mismatch + "\n";
    return text;
}

SoakJournal::SoakJournal(std::string program, const SoakOptions& options)
    : m_program(std::move(program)), m_options(options), m_previousJournal(g_journal) {
    g_journal = this;
    m_previousFilter = ::SetUnhandledExceptionFilter(&OnCrash);
}

SoakJournal::~SoakJournal() {
    ::SetUnhandledExceptionFilter(m_previousFilter);
    g_journal = m_previousJournal;
}

void SoakJournal::Begin(int64_t step, std::string what) {
    if (step != m_step && step > 0 && m_options.progressEvery > 0 && step % m_options.progressEvery == 0)
        std::fprintf(stderr, "step %lld\n", static_cast<long long>(step));
    m_step = step;
    m_recent.push_back(std::to_string(step) + ": " + what);
    if (Tracing()) std::fprintf(stderr, "\n%s", m_recent.back().c_str());
    if (m_recent.size() > kRecentSteps) m_recent.pop_front();
}

void SoakJournal::Note(const std::string& detail) {
    if (m_recent.empty()) return;
    std::string& current = m_recent.back();
    current += current.ends_with(": ") ? detail : "; " + detail;
    if (Tracing()) {
        std::fprintf(stderr, " | %s", detail.c_str());
        std::fflush(stderr);
    }
}

std::string SoakJournal::Replay() const {
    std::string text = "seed " + std::to_string(m_options.seed) + ", step " + std::to_string(m_step) +
                       "; repeat with: zo_bench_soak " + m_program + " --seed " + std::to_string(m_options.seed) +
                       " --steps " + std::to_string(m_step + 1) + "\nthe steps before it:\n";
    for (const std::string& step : m_recent) text += "  " + step + "\n";
    return text;
}

LONG WINAPI SoakJournal::OnCrash(EXCEPTION_POINTERS* exception) {
    if (g_journal) {
        std::fprintf(stderr, "soak: exception 0x%08lx at step %lld\n%s", exception->ExceptionRecord->ExceptionCode,
                     static_cast<long long>(g_journal->m_step), g_journal->Replay().c_str());
        std::fflush(stderr);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace zo::test
