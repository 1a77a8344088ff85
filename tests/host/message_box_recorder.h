// MessageBoxRecorder: while it lives, every message box the control library
// would show is recorded instead and answered without a person.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace zo::test {

struct MessageBoxCall {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring title;
    UINT style = 0;
};

class MessageBoxRecorder {
public:
    // Finds ZoPropList.ocx in the process, or loads the one beside the test
    // executable, and installs the hook through ZoSetMessageBoxHook. Create it
    // after the control: if the library is not loaded yet, the copy beside
    // the executable is the one that gets the hook.
    explicit MessageBoxRecorder(int answer = IDOK);
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    // Removes the hook (restoring the one of an enclosing recorder, if any).
    ~MessageBoxRecorder();

    [[nodiscard]] bool Installed() const noexcept { return m_setHook != nullptr; }

    // The button every box answers with, unless queued answers remain.
    void SetAnswer(int answer) noexcept { m_answer = answer; }
    // Answers for the next boxes, one each, before falling back to SetAnswer's.
    void QueueAnswers(std::vector<int> answers);

    [[nodiscard]] const std::vector<MessageBoxCall>& Calls() const noexcept { return m_calls; }
    [[nodiscard]] size_t Count() const noexcept { return m_calls.size(); }
    void Clear() noexcept { m_calls.clear(); }

private:
    static int CALLBACK Hook(HWND owner, LPCWSTR text, LPCWSTR title, UINT style);

    using SetHook = void(WINAPI*)(int(CALLBACK*)(HWND, LPCWSTR, LPCWSTR, UINT));

    HMODULE m_loaded = nullptr;  // set only when this recorder loaded the library
    SetHook m_setHook = nullptr;
    MessageBoxRecorder* m_previous = nullptr;
    int m_answer;
    std::deque<int> m_answers;
    std::vector<MessageBoxCall> m_calls;
};

}  // namespace zo::test
