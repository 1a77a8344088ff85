#include "runtime/accessible_hook.h"

#include "runtime/accessible_object.h"

namespace zo {

void AccessibleHook::Attach(HWND window, Answer answer) noexcept {
    if (m_subclass.Installed() || !window) return;
    m_answer = std::move(answer);
    (void)m_subclass.Install(window, &HookProc, this);
}

LRESULT CALLBACK AccessibleHook::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC previous = WindowSubclass::PreviousOf(window, kProcProperty);
    auto* hook = static_cast<AccessibleHook*>(WindowSubclass::ObjectOf(window, kObjectProperty));
    if (hook && message == WM_GETOBJECT && hook->m_answer) {
        try {
            const com_ptr<IAccessible> object = hook->m_answer(ObjectIdOf(lParam));
            if (const LRESULT answer = AnswerGetObject(object.get(), wParam)) return answer;
        } catch (...) {
            // No object of ours: the window's own answer stands.
        }
    }
    if (hook && message == WM_NCDESTROY) hook->Detach();
    return ForwardMessage(previous, window, message, wParam, lParam);
}

}  // namespace zo
