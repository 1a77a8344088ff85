// Subclassing of a window that the subclasser does not own, through two
// window properties: "<prefix>Proc" holds the window's previous procedure and
// "<prefix>Ptr" the object that handles its messages. The properties are set
// before the procedure is replaced, so the new procedure always finds them,
// and a window carries at most one such subclass per prefix.
#pragma once

#include <windows.h>

#include <string>

namespace zo {

class ParentSubclass {
public:
    ParentSubclass(std::wstring procProperty, std::wstring objectProperty) noexcept;
    ParentSubclass(const ParentSubclass&) = delete;
    ParentSubclass& operator=(const ParentSubclass&) = delete;
    ~ParentSubclass();

    // Installs `procedure` on `window` for `object` unless the window already
    // carries a subclass under these property names. True when installed.
    bool Install(HWND window, WNDPROC procedure, void* object) noexcept;
    // Takes the subclass out: the previous procedure comes back only when the
    // window still has ours (a later subclasser keeps its chain, and our
    // procedure then merely forwards); the object is detached either way.
    // Doing it twice does nothing.
    void Remove() noexcept;

    [[nodiscard]] HWND Window() const noexcept { return m_window; }
    [[nodiscard]] bool Installed() const noexcept { return m_window != nullptr; }

    // The handling object of a subclassed window, or null.
    [[nodiscard]] static void* ObjectOf(HWND window, const wchar_t* objectProperty) noexcept;
    // Passes a message to the procedure the window had before the subclass;
    // with none recorded, to the default procedure.
    static LRESULT CallPrevious(HWND window, const wchar_t* procProperty, UINT message, WPARAM wParam,
                                LPARAM lParam) noexcept;

private:
    std::wstring m_procProperty;
    std::wstring m_objectProperty;
    HWND m_window = nullptr;
    WNDPROC m_procedure = nullptr;
};

}  // namespace zo
