// Answers the real colour dialog from inside its own modal loop: a window
// hook copies the record the dialog was given, and a thread timer that the
// dialog's loop dispatches types the answer and closes it.
#pragma once

#include <windows.h>
#include <colordlg.h>
#include <commdlg.h>

#include <array>
#include <optional>
#include <string>

namespace zo::test {

struct DialogSeen {
    HWND dialog = nullptr;
    DWORD structSize = 0;
    DWORD flags = 0;
    COLORREF initial = 0;
    HWND owner = nullptr;
    std::array<COLORREF, 16> custom{};
};

struct Answer {
    std::optional<COLORREF> colour;  // typed into the red, green and blue boxes
    bool addToCustom = false;        // "Add to Custom Colors" before closing
    bool accept = true;              // OK, or Cancel
};

// Answers the next colour dialog of this thread, once. Every path ends the
// dialog: an answer, or Cancel after about ten seconds without one.
class ColourDialogDriver {
public:
    explicit ColourDialogDriver(Answer answer) : m_answer(answer) {
        s_current = this;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &WatchMessages, nullptr, ::GetCurrentThreadId());
        m_timer = ::SetTimer(nullptr, 0, 10, &Tick);
    }
    ColourDialogDriver(const ColourDialogDriver&) = delete;
    ColourDialogDriver& operator=(const ColourDialogDriver&) = delete;
    ~ColourDialogDriver() {
        ::KillTimer(nullptr, m_timer);
        ::UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    [[nodiscard]] bool Ready() const { return m_hook && m_timer; }
    [[nodiscard]] const std::optional<DialogSeen>& Seen() const { return m_seen; }
    [[nodiscard]] bool Answered() const { return m_answered; }

private:
    static constexpr int kGiveUpTicks = 1000;

    static LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && s_current && call->message == WM_INITDIALOG && call->lParam) {
            const auto* record = reinterpret_cast<const CHOOSECOLORW*>(call->lParam);
            if (record->lStructSize == sizeof(CHOOSECOLORW) && !s_current->m_seen) {
                DialogSeen seen;
                seen.dialog = call->hwnd;
                seen.structSize = record->lStructSize;
                seen.flags = record->Flags;
                seen.initial = record->rgbResult;
                seen.owner = record->hwndOwner;
                for (size_t i = 0; i < seen.custom.size(); ++i) seen.custom[i] = record->lpCustColors[i];
                s_current->m_seen = seen;
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ColourDialogDriver* self = s_current;
        if (!self || self->m_answered) return;
        if (self->m_seen && ::IsWindow(self->m_seen->dialog)) {
            self->AnswerDialog(self->m_seen->dialog);
        } else if (++self->m_ticks > kGiveUpTicks) {
            self->m_answered = true;
            ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
        }
    }

    static BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770") ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    void AnswerDialog(HWND dialog) {
        m_answered = true;
        if (m_answer.colour) {
            ::SetDlgItemInt(dialog, COLOR_RED, GetRValue(*m_answer.colour), FALSE);
            ::SetDlgItemInt(dialog, COLOR_GREEN, GetGValue(*m_answer.colour), FALSE);
            ::SetDlgItemInt(dialog, COLOR_BLUE, GetBValue(*m_answer.colour), FALSE);
        }
        if (m_answer.addToCustom) Press(dialog, COLOR_ADD);
        Press(dialog, m_answer.accept ? IDOK : IDCANCEL);
    }

    static void Press(HWND dialog, int id) {
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    static inline ColourDialogDriver* s_current = nullptr;
    Answer m_answer;
    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    bool m_answered = false;
    std::optional<DialogSeen> m_seen;
};

}  // namespace zo::test
