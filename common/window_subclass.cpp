#include "common/window_subclass.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zo {

namespace {

// The subclasses this process installed, as their properties hold them.
struct InstalledSubclass {
    HWND window;
    std::wstring procProperty;
    std::wstring objectProperty;
    WNDPROC previous;
    void* object;
};

SRWLOCK g_installedLock = SRWLOCK_INIT;
std::vector<InstalledSubclass>& InstalledSubclasses() noexcept {
    static std::vector<InstalledSubclass> installed;
    return installed;
}

// Holds the record's lock, shared or exclusive, for a scope.
template <void(WINAPI* Acquire)(PSRWLOCK), void(WINAPI* Release)(PSRWLOCK)>
class LockGuard {
public:
    LockGuard() noexcept { Acquire(&g_installedLock); }
    ~LockGuard() { Release(&g_installedLock); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;
};
using SharedLock = LockGuard<::AcquireSRWLockShared, ::ReleaseSRWLockShared>;
using ExclusiveLock = LockGuard<::AcquireSRWLockExclusive, ::ReleaseSRWLockExclusive>;

void Forget(HWND window, const wchar_t* procProperty) noexcept {
    const ExclusiveLock lock;
    std::vector<InstalledSubclass>& installed = InstalledSubclasses();
    installed.erase(std::remove_if(installed.begin(), installed.end(),
                                   [&](const InstalledSubclass& entry) {
                                       return entry.window == window && entry.procProperty == procProperty;
                                   }),
                    installed.end());
}

void Remember(HWND window, const wchar_t* procProperty, const wchar_t* objectProperty, WNDPROC previous,
              void* object) noexcept {
    try {
        Forget(window, procProperty);
        const ExclusiveLock lock;
        InstalledSubclasses().push_back({window, procProperty, objectProperty, previous, object});
    } catch (...) {
        // Not remembered: the window's properties still answer.
    }
}

}  // namespace

void* WindowSubclass::ObjectOf(HWND window, const wchar_t* objectProperty) noexcept {
    {
        const SharedLock lock;
        for (const InstalledSubclass& entry : InstalledSubclasses())
            if (entry.window == window && entry.objectProperty == objectProperty) return entry.object;
    }
    return ::GetPropW(window, objectProperty);
}

WNDPROC WindowSubclass::PreviousOf(HWND window, const wchar_t* procProperty) noexcept {
    {
        const SharedLock lock;
        for (const InstalledSubclass& entry : InstalledSubclasses())
            if (entry.window == window && entry.procProperty == procProperty) return entry.previous;
    }
    return reinterpret_cast<WNDPROC>(::GetPropW(window, procProperty));
}

bool WindowSubclass::Install(HWND window, WNDPROC procedure, void* object) noexcept {
    if (m_window || !window || !::IsWindow(window) || !procedure) return false;
    if (::GetPropW(window, m_procProperty)) return false;
    const LONG_PTR previous = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    unique_window_property previousProperty(window, m_procProperty, reinterpret_cast<HANDLE>(previous));
    unique_window_property objectProperty(window, m_objectProperty, static_cast<HANDLE>(object));
    if (!previousProperty || !objectProperty) return false;
    Remember(window, m_procProperty, m_objectProperty, reinterpret_cast<WNDPROC>(previous), object);
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
    // From here the window's properties answer: its previous procedure while
    // a later subclasser still calls ours, and no object.
    Forget(window, m_procProperty);
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
