#include "window_support/parent_subclass.h"

#include <utility>

namespace zo {

ParentSubclass::ParentSubclass(std::wstring procProperty, std::wstring objectProperty) noexcept
    : m_procProperty(std::move(procProperty)), m_objectProperty(std::move(objectProperty)) {}

ParentSubclass::~ParentSubclass() { Remove(); }

bool ParentSubclass::Install(HWND window, WNDPROC procedure, void* object) noexcept {
    if (m_window || !window || !::IsWindow(window)) return false;
    if (::GetPropW(window, m_procProperty.c_str())) return false;
    const LONG_PTR previous = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (!::SetPropW(window, m_procProperty.c_str(), reinterpret_cast<HANDLE>(previous))) return false;
    if (!::SetPropW(window, m_objectProperty.c_str(), static_cast<HANDLE>(object))) {
        ::RemovePropW(window, m_procProperty.c_str());
        return false;
    }
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    m_window = window;
    m_procedure = procedure;
    return true;
}

void ParentSubclass::Remove() noexcept {
    HWND window = std::exchange(m_window, nullptr);
    if (!window || !::IsWindow(window)) return;
    const LONG_PTR current = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(m_procedure)) {
        const HANDLE previous = ::GetPropW(window, m_procProperty.c_str());
        if (previous) ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropW(window, m_procProperty.c_str());
        ::RemovePropW(window, m_objectProperty.c_str());
    } else {
        // Someone subclassed the window after us and still calls our
        // procedure; it must go on forwarding, but to no object.
        ::SetPropW(window, m_objectProperty.c_str(), nullptr);
    }
}

void* ParentSubclass::ObjectOf(HWND window, const wchar_t* objectProperty) noexcept {
    return static_cast<void*>(::GetPropW(window, objectProperty));
}

LRESULT ParentSubclass::CallPrevious(HWND window, const wchar_t* procProperty, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
    const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(window, procProperty));
    if (!previous) return ::DefWindowProcW(window, message, wParam, lParam);
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace zo
