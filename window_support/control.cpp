#include "window_support/control.h"

#include <utility>

#include "runtime/module.h"

namespace zo {

namespace {

// Resizing keeps the window where it is in the z-order and does not activate
// it: a drop-down list must not take activation from the host's window.
constexpr UINT kResizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

RECT WindowRectOf(HWND window) noexcept {
    RECT rect{};
    if (window) ::GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

CControl::~CControl() { Destroy(); }

void CControl::SetParent(HWND parent) noexcept {
    m_parent = parent;
    if (m_window) ::SetParent(m_window, parent);
}

const std::wstring& CControl::Caption() {
    if (m_window) {
        const int length = ::GetWindowTextLengthW(m_window);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        const int copied = ::GetWindowTextW(m_window, text.data(), static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        m_caption = std::move(text);
    }
    return m_caption;
}

void CControl::SetCaption(std::wstring caption) {
    m_caption = std::move(caption);
    if (m_window) ::SetWindowTextW(m_window, m_caption.c_str());
}

HWND CControl::Create() noexcept {
    Destroy();
    m_window = ::CreateWindowExW(m_styleEx, m_className.c_str(), m_caption.c_str(), m_style, 0, 0, 100, 100,
                                 m_parent, nullptr, ModuleInstance(), nullptr);
    return m_window;
}

void CControl::Destroy() noexcept {
    // The window may have gone with its parent already; a handle that no
    // longer names a window is only forgotten.
    if (HWND window = std::exchange(m_window, nullptr); window && ::IsWindow(window)) {
        ::DestroyWindow(window);
    }
}

void CControl::SetStyle(DWORD bits, bool set) noexcept {
    m_style = set ? (m_style | bits) : (m_style & ~bits);
    if (m_window) ::SetWindowLongPtrW(m_window, GWL_STYLE, static_cast<LONG_PTR>(m_style));
}

void CControl::SetStyleEx(DWORD bits, bool set) noexcept {
    m_styleEx = set ? (m_styleEx | bits) : (m_styleEx & ~bits);
    if (m_window) ::SetWindowLongPtrW(m_window, GWL_EXSTYLE, static_cast<LONG_PTR>(m_styleEx));
}

std::optional<PixelBounds> CControl::Move(int left, std::optional<int> top, std::optional<int> width,
                                          std::optional<int> height) noexcept {
    if (!m_window) return std::nullopt;
    RECT rect = WindowRectOf(m_window);
    if (m_parent) {
        // MoveWindow places a child in its parent's client area and any other
        // window on the screen; GA_PARENT names that space (the desktop for a
        // pop-up, whose owner GetParent would return instead).
        ::MapWindowPoints(nullptr, ::GetAncestor(m_window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    }
    const PixelBounds bounds{left, top.value_or(rect.top), width.value_or(rect.right - rect.left),
                             height.value_or(rect.bottom - rect.top)};
    ::MoveWindow(m_window, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
    return bounds;
}

int CControl::Width() const noexcept {
    const RECT rect = WindowRectOf(m_window);
    return rect.right - rect.left;
}

int CControl::Height() const noexcept {
    const RECT rect = WindowRectOf(m_window);
    return rect.bottom - rect.top;
}

void CControl::SetWidth(int width) noexcept {
    if (m_window) ::SetWindowPos(m_window, nullptr, 0, 0, width, Height(), kResizeFlags);
}

void CControl::SetHeight(int height) noexcept {
    if (m_window) ::SetWindowPos(m_window, nullptr, 0, 0, Width(), height, kResizeFlags);
}

}  // namespace zo
