#include "common/window_subclass.h"

namespace zo {

bool WindowSubclass::Install(HWND window, WNDPROC procedure, void* object) noexcept {
    if (m_window || !window || !::IsWindow(window) || !procedure) return false;
    if (::GetPropW(window, m_procProperty)) return false;
    const LONG_PTR previous = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    unique_window_property previousProperty(window, m_procProperty, reinterpret_cast<HANDLE>(previous));
    unique_window_property objectProperty(window, m_objectProperty, static_cast<HANDLE>(object));
    if (!previousProperty || !objectProperty) return false;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    m_previous = std::move(previousProperty);
    m_object = std::move(objectProperty);
    m_window = window;
    m_procedure = procedure;
    return true;
}

void WindowSubclass::Remove() noexcept {
    HWND window = std::exchange(m_window, nullptr);
    if (!window) return;
    if (!::IsWindow(window)) {
        // The window went without telling us: its properties went with it.
        m_previous.release();
        m_object.release();
        return;
    }
    const LONG_PTR current = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(m_procedure)) {
        if (const WNDPROC previous = PreviousOf(window, m_procProperty))
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        m_previous.reset();
        m_object.reset();
    } else {
        // A later subclasser still calls our procedure: keep it forwarding
        // to the previous one, with no object to reach.
        m_previous.release();
        ::SetPropW(window, m_objectProperty, nullptr);
        m_object.release();
    }
}

}  // namespace zo
