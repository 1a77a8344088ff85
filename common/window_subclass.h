// Holders for the two paired calls of subclassing a window the library
// does not own: a window property (SetPropW / RemovePropW) and the window
// procedure itself (SetWindowLongPtrW(GWLP_WNDPROC) and back).
//
// A subclass keeps two properties with a common stem: "<stem>Proc" holds the
// window's previous procedure and "<stem>Ptr" the handling object (borrowed,
// never counted). Both are set before the procedure is replaced, so the new
// procedure always finds them, and both go when the subclass is taken out.
// The process also keeps what the subclasses it installed hold, so that the
// procedure finds them on every message without asking the window for its
// properties; windows it did not subclass are asked.
#pragma once

#include <windows.h>

#include <utility>

namespace zo {

// One window property, removed when the holder goes (or on Reset).
class unique_window_property {
public:
    unique_window_property() noexcept = default;
    unique_window_property(HWND window, const wchar_t* name, HANDLE value) noexcept
        : m_window(::SetPropW(window, name, value) ? window : nullptr), m_name(name) {}
    unique_window_property(const unique_window_property&) = delete;
    unique_window_property& operator=(const unique_window_property&) = delete;
    unique_window_property(unique_window_property&& other) noexcept
        : m_window(std::exchange(other.m_window, nullptr)), m_name(other.m_name) {}
    unique_window_property& operator=(unique_window_property&& other) noexcept {
        if (this != &other) {
            reset();
            m_window = std::exchange(other.m_window, nullptr);
            m_name = other.m_name;
        }
        return *this;
    }
    ~unique_window_property() { reset(); }

    explicit operator bool() const noexcept { return m_window != nullptr; }
    // Forgets the property without removing it.
    void release() noexcept { m_window = nullptr; }
    void reset() noexcept {
        if (HWND window = std::exchange(m_window, nullptr)) ::RemovePropW(window, m_name);
    }

private:
    HWND m_window = nullptr;
    const wchar_t* m_name = nullptr;
};

class WindowSubclass {
public:
    // The property names must outlive the holder (string literals).
    WindowSubclass(const wchar_t* procProperty, const wchar_t* objectProperty) noexcept
        : m_procProperty(procProperty), m_objectProperty(objectProperty) {}
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    ~WindowSubclass() { Remove(); }

    // Installs `procedure` for `object`, unless this holder has a window
    // already or the window carries a subclass under these names. True when
    // installed.
    bool Install(HWND window, WNDPROC procedure, void* object) noexcept;
    // Takes the subclass out. The previous procedure comes back only when the
    // window still has ours; otherwise a later subclasser still calls ours,
    // which then only forwards, finding no object. Twice does nothing; so
    // does a window that has gone.
    void Remove() noexcept;

    [[nodiscard]] bool Installed() const noexcept { return m_window != nullptr; }
    [[nodiscard]] HWND Window() const noexcept { return m_window; }

    // The handling object of a subclassed window, or null.
    [[nodiscard]] static void* ObjectOf(HWND window, const wchar_t* objectProperty) noexcept;
    // The procedure the window had before the subclass, or null.
    [[nodiscard]] static WNDPROC PreviousOf(HWND window, const wchar_t* procProperty) noexcept;

private:
    const wchar_t* m_procProperty;
    const wchar_t* m_objectProperty;
    HWND m_window = nullptr;
    WNDPROC m_procedure = nullptr;
    unique_window_property m_previous;
    unique_window_property m_object;
};

// Passes a message on to `previous`, or to the default procedure when there
// is none.
inline LRESULT ForwardMessage(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                    : ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace zo
