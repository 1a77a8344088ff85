#include "tests/host/message_box_recorder.h"

#include <string>
#include <type_traits>

#include "common/module_file.h"
#include "runtime/message_box.h"

namespace zo::test {

namespace {

constexpr wchar_t kLibraryName[] = L"ZoPropList.ocx";

// The recorder that answers now; the hook is a plain function, so the
// process has one at a time (nested recorders stack).
MessageBoxRecorder* g_active = nullptr;

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(int answer) : m_answer(answer) {
    HMODULE library = ::GetModuleHandleW(kLibraryName);
    if (!library) library = m_loaded = ::LoadLibraryW(BesideModule(nullptr, kLibraryName).c_str());
    if (!library) return;
    m_setHook = reinterpret_cast<SetHook>(reinterpret_cast<void*>(::GetProcAddress(library, "ZoSetMessageBoxHook")));
    if (!m_setHook) return;
    static_assert(std::is_same_v<SetHook, decltype(&ZoSetMessageBoxHook)>);
    m_previous = g_active;
    g_active = this;
    m_setHook(&MessageBoxRecorder::Hook);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    if (m_setHook) {
        g_active = m_previous;
        m_setHook(m_previous ? &MessageBoxRecorder::Hook : nullptr);
    }
    if (m_loaded) ::FreeLibrary(m_loaded);
}

void MessageBoxRecorder::QueueAnswers(std::vector<int> answers) {
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

int CALLBACK MessageBoxRecorder::Hook(HWND owner, LPCWSTR text, LPCWSTR title, UINT style) {
    MessageBoxRecorder* recorder = g_active;
    if (!recorder) return IDOK;
    try {
        recorder->m_calls.push_back({owner, text ? text : L"", title ? title : L"", style});
    } catch (...) {
        // Nothing may cross back into the library; the call just goes unrecorded.
    }
    if (!recorder->m_answers.empty()) {
        const int answer = recorder->m_answers.front();
        recorder->m_answers.pop_front();
        return answer;
    }
    return recorder->m_answer;
}

}  // namespace zo::test
