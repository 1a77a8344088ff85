// A window's font taken from an OLE font object, kept alive and kept current.
//
// A font object owns its GDI font and replaces it after any property put
// (Size, Bold, Name, ...), deleting the old one unless someone still holds
// it. A window given the object's handle by WM_SETFONT would then draw with
// a deleted font. So the handle is held (IFont::AddRefHfont, released with
// ReleaseHfont), and the object's changes are followed: it reports them to
// IPropertyNotifySink sinks of its connection point, and on each one the
// window is given the new handle.
#pragma once

#include <ocidl.h>

#include <utility>

#include "common/com_ptr.h"

namespace zo {

// A font object's current GDI font, held: AddRefHfont when taken,
// ReleaseHfont when the holder lets go. The holder also holds the object,
// which keeps the handle's bookkeeping alive.
class unique_ole_hfont {
public:
    unique_ole_hfont() noexcept = default;
    // Takes and holds `font`'s current handle; empty when it has none.
    explicit unique_ole_hfont(IFont* font) noexcept;
    unique_ole_hfont(unique_ole_hfont&& other) noexcept { swap(other); }
    unique_ole_hfont& operator=(unique_ole_hfont&& other) noexcept {
        unique_ole_hfont(std::move(other)).swap(*this);
        return *this;
    }
    ~unique_ole_hfont() { reset(); }
    void swap(unique_ole_hfont& other) noexcept {
        m_font.swap(other.m_font);
        std::swap(m_handle, other.m_handle);
    }

    [[nodiscard]] HFONT get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }
    void reset() noexcept;

private:
    com_ptr<IFont> m_font;
    HFONT m_handle = nullptr;
};

// The font of one window, following its font object: WM_SETFONT with the
// object's handle now and after every change of the object. Neither copied
// nor moved (its members are not copyable and the destructor is declared):
// the object's notifications reach it by address.
class WindowFont {
public:
    WindowFont() noexcept = default;
    ~WindowFont() { Reset(); }

    // Gives `window` (may be null: nothing is sent) the font of `font` and
    // follows it from now on, no longer following the previous object. The
    // window has the new handle before the old one is let go. A null font
    // sends WM_SETFONT with no font.
    void Attach(HWND window, com_ptr<IFont> font) noexcept;
    // The window is going: no more WM_SETFONT to it; the font stays.
    void DetachWindow() noexcept { m_window = nullptr; }
    // Stops following and lets go of the font and its handle.
    void Reset() noexcept;

    [[nodiscard]] const com_ptr<IFont>& Font() const noexcept { return m_font; }
    [[nodiscard]] HFONT Handle() const noexcept { return m_handle.get(); }

private:
    class ChangeSink;
    void Apply() noexcept;
    void Follow() noexcept;
    void StopFollowing() noexcept;

    HWND m_window = nullptr;
    com_ptr<IFont> m_font;
    unique_ole_hfont m_handle;
    com_ptr<IConnectionPoint> m_changes;
    com_ptr<IPropertyNotifySink> m_sink;
    ChangeSink* m_sinkObject = nullptr;  // m_sink's object, to detach it
    DWORD m_cookie = 0;
};

}  // namespace zo
