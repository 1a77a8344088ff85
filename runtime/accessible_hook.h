// Answers WM_GETOBJECT for a window the library subclasses (an editor, a
// native list box, a popup form) with an accessible object of its own, made
// afresh for every request; other requests and every other message go on to
// the window's procedure. The hook comes out when its holder goes or the
// window is destroyed.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>

#include "common/com_ptr.h"
#include "common/window_subclass.h"

namespace zo {

class AccessibleHook {
public:
    // The object for an object id (OBJID_CLIENT, OBJID_WINDOW...); null
    // leaves the request to the window.
    using Answer = std::function<com_ptr<IAccessible>(LONG objectId)>;

    AccessibleHook() noexcept : m_subclass(kProcProperty, kObjectProperty) {}
    AccessibleHook(const AccessibleHook&) = delete;
    AccessibleHook& operator=(const AccessibleHook&) = delete;
    ~AccessibleHook() { Detach(); }

    // Hooks `window`; a holder already hooked, or a window hooked by another
    // holder, is left as it is.
    void Attach(HWND window, Answer answer) noexcept;
    void Detach() noexcept { m_subclass.Remove(); }
    [[nodiscard]] HWND Window() const noexcept { return m_subclass.Window(); }

private:
    static constexpr wchar_t kProcProperty[] = L"ZoAccessibleProc";
    static constexpr wchar_t kObjectProperty[] = L"ZoAccessiblePtr";
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    Answer m_answer;
    WindowSubclass m_subclass;
};

// The object id a WM_GETOBJECT's lParam names (a signed 32-bit value).
[[nodiscard]] inline LONG ObjectIdOf(LPARAM lParam) noexcept {
    return static_cast<LONG>(static_cast<DWORD>(lParam));
}

}  // namespace zo
