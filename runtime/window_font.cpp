#include "runtime/window_font.h"

#include <new>

#include "runtime/com_object.h"

namespace zo {

unique_ole_hfont::unique_ole_hfont(IFont* font) noexcept {
    HFONT handle = nullptr;
    if (!font || FAILED(font->get_hFont(&handle)) || !handle) return;
    if (FAILED(font->AddRefHfont(handle))) return;
    m_font = com_ptr<IFont>(font);
    m_handle = handle;
}

void unique_ole_hfont::reset() noexcept {
    if (HFONT handle = std::exchange(m_handle, nullptr)) m_font->ReleaseHfont(handle);
    m_font.reset();
}

// The sink the font object reports its changes to. It belongs to the font's
// connection point as much as to the WindowFont, so it is counted on its
// own and only points back while the WindowFont follows the font.
class WindowFont::ChangeSink final : public ComObject<IPropertyNotifySink> {
public:
    explicit ChangeSink(WindowFont& owner) noexcept : m_owner(&owner) {}

    void Detach() noexcept { m_owner = nullptr; }

    STDMETHODIMP OnChanged(DISPID) override {
        if (m_owner) m_owner->Apply();
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    WindowFont* m_owner;
};

void WindowFont::Attach(HWND window, com_ptr<IFont> font) noexcept {
    StopFollowing();
    m_window = window;
    m_font = std::move(font);
    Follow();
    Apply();
}

void WindowFont::Reset() noexcept {
    StopFollowing();
    m_handle.reset();
    m_font.reset();
    m_window = nullptr;
}

void WindowFont::Apply() noexcept {
    unique_ole_hfont current(m_font.get());
    if (m_window && ::IsWindow(m_window))
        ::SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(current.get()), TRUE);
    // The window has the new handle: the old one may go now.
    m_handle = std::move(current);
}

void WindowFont::Follow() noexcept {
    // A font object without the connection point keeps its first handle,
    // which stays valid while held; it is only not followed.
    com_ptr<IConnectionPointContainer> container = m_font.query<IConnectionPointContainer>();
    if (!container || FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, m_changes.put()))) {
        m_changes.reset();
        return;
    }
    auto* sink = new (std::nothrow) ChangeSink(*this);
    if (!sink) {
        m_changes.reset();
        return;
    }
    m_sink = com_ptr<IPropertyNotifySink>::attach(sink);
    m_sinkObject = sink;
    if (FAILED(m_changes->Advise(m_sink.get(), &m_cookie))) StopFollowing();
}

void WindowFont::StopFollowing() noexcept {
    if (m_sinkObject) std::exchange(m_sinkObject, nullptr)->Detach();
    if (m_changes && m_cookie) m_changes->Unadvise(m_cookie);
    m_cookie = 0;
    m_changes.reset();
    m_sink.reset();
}

}  // namespace zo
