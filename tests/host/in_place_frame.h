// The container's top-level window, and the IOleInPlaceFrame object that an
// in-place active control reaches through IOleInPlaceSite::GetWindowContext.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <memory>
#include <utility>

#include "common/com_ptr.h"
#include "tests/host/com_object.h"
#include "tests/host/site_state.h"

namespace zo::test {

// A visible WS_OVERLAPPEDWINDOW with the given client size, painted with the
// button-face colour and clipping its children.
class FrameWindow {
public:
    FrameWindow(SIZE clientSize, const wchar_t* title);
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;
    ~FrameWindow();

    [[nodiscard]] HWND hwnd() const noexcept { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

class InPlaceFrame final : public IOleInPlaceFrame, public ComObject {
public:
    [[nodiscard]] static com_ptr<InPlaceFrame> Create(std::shared_ptr<SiteState> state);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) override;

private:
    explicit InPlaceFrame(std::shared_ptr<SiteState> state) noexcept : m_state(std::move(state)) {}

    std::shared_ptr<SiteState> m_state;
};

}  // namespace zo::test
