// The client side of accessibility, as a screen reader uses it through
// oleacc: a window's accessible object, the properties of a child by id, and
// the win events a window raises, caught with an out-of-context hook and
// delivered while the test pumps messages.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "common/com_ptr.h"

namespace zo::test {

[[nodiscard]] com_ptr<IAccessible> AccessibleOf(HWND window, LONG objectId = OBJID_CLIENT);

// Properties of child `id` (0 for the object itself); HRESULTs other than
// S_OK give an empty text or -1.
[[nodiscard]] std::wstring AccName(IAccessible& object, long id);
[[nodiscard]] std::wstring AccValue(IAccessible& object, long id);
[[nodiscard]] std::wstring AccDefaultAction(IAccessible& object, long id);
[[nodiscard]] long AccRole(IAccessible& object, long id);
[[nodiscard]] long AccState(IAccessible& object, long id);
[[nodiscard]] long AccChildCount(IAccessible& object);
// Screen rectangle of child `id`.
[[nodiscard]] RECT AccLocation(IAccessible& object, long id);
// The child id a hit test at a screen point gives: -1 for VT_EMPTY, -2 for
// an object (VT_DISPATCH).
[[nodiscard]] long AccHitTest(IAccessible& object, POINT screen);
// The child id navigation from `start` gives; -1 when none (S_FALSE).
[[nodiscard]] long AccNavigate(IAccessible& object, long direction, long start);
[[nodiscard]] VARIANT ChildVariant(long id);

// Records the win events of one window's client area while alive (but the
// focus event the system raises for the window itself).
class WinEventRecorder {
public:
    explicit WinEventRecorder(HWND window);
    WinEventRecorder(const WinEventRecorder&) = delete;
    WinEventRecorder& operator=(const WinEventRecorder&) = delete;
    ~WinEventRecorder();

    // "Focus(2)", "Selection(2)", "ValueChange(1)", "Reorder(0)",
    // "SelectionRemove(3)": pumps the thread's messages first, so that every
    // event raised so far has arrived; the events are then forgotten.
    [[nodiscard]] std::vector<std::wstring> Take();

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId, LONG childId, DWORD,
                                 DWORD);
    HWINEVENTHOOK m_hook = nullptr;
};

}  // namespace zo::test
