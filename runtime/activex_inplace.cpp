// In-place activation, sizing, rendering and the control window's messages.

#include <cmath>

#include "common/handles.h"
#include "common/twips.h"
#include "runtime/activex_control.h"
#include "runtime/child_controls.h"
#include "runtime/mouse_pointer.h"

namespace zo {

namespace {

constexpr double kHimetricPerInch = 2540.0;
constexpr double kTwipsPerInch = 1440.0;

int PixelsPerInch(int axis) noexcept {
    unique_hdc_window screen(nullptr);
    return screen ? ::GetDeviceCaps(screen.get(), axis) : 96;
}

LONG HimetricToPixels(LONG himetric, int axis) noexcept {
    return static_cast<LONG>(std::lround(himetric * PixelsPerInch(axis) / kHimetricPerInch));
}

LONG PixelsToHimetric(LONG pixels, int axis) noexcept {
    return static_cast<LONG>(std::lround(pixels * kHimetricPerInch / PixelsPerInch(axis)));
}

RECT WindowRectInParent(HWND window) noexcept {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

HRESULT ActiveXControl::InPlaceActivate(LONG verb, IOleClientSite* site, HWND parent, LPCRECT position) noexcept {
    if (site && !m_site) SetClientSite(site);
    HWND window = m_surface.hWnd();
    if (!window) return E_UNEXPECTED;
    if (!m_inPlaceActive) {
        if (!m_inPlaceSite) m_inPlaceSite = m_site.query<IOleInPlaceSite>();
        RECT placement = position ? *position : RECT{0, 0, 0, 0};
        HWND container = parent;
        if (m_inPlaceSite) {
            if (m_inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
            m_inPlaceSite->OnInPlaceActivate();
            HWND siteWindow = nullptr;
            if (SUCCEEDED(m_inPlaceSite->GetWindow(&siteWindow)) && siteWindow) container = siteWindow;
            com_ptr<IOleInPlaceFrame> frame;
            com_ptr<IOleInPlaceUIWindow> document;
            RECT clip{};
            OLEINPLACEFRAMEINFO frameInfo{};
            frameInfo.cb = sizeof(frameInfo);
            if (SUCCEEDED(m_inPlaceSite->GetWindowContext(frame.put(), document.put(), &placement, &clip,
                                                          &frameInfo))) {
                frame.reset();
                document.reset();
            } else if (position) {
                placement = *position;
            }
        }
        if (!container) return E_FAIL;
        m_inPlaceActive = true;
        ::SetParent(window, container);
        if (placement.right > placement.left && placement.bottom > placement.top) {
            ::SetWindowPos(window, nullptr, placement.left, placement.top, placement.right - placement.left,
                           placement.bottom - placement.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (verb != OLEIVERB_INPLACEACTIVATE || !::IsWindowVisible(window)) {
        const bool wasVisible = ::IsWindowVisible(window) != FALSE;
        ::ShowWindow(window, SW_SHOWNA);
        if (!wasVisible && m_initialised) {
            try {
                UserControl_Show();
            } catch (...) {
            }
        }
    }
    return S_OK;
}

HRESULT ActiveXControl::UIActivate() noexcept {
    if (!m_inPlaceActive) return E_UNEXPECTED;
    if (m_uiActive) return S_OK;
    m_uiActive = true;
    if (m_inPlaceSite) {
        m_inPlaceSite->OnUIActivate();
        com_ptr<IOleInPlaceFrame> frame;
        com_ptr<IOleInPlaceUIWindow> document;
        RECT position{}, clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        if (SUCCEEDED(m_inPlaceSite->GetWindowContext(frame.put(), document.put(), &position, &clip, &frameInfo))) {
            if (frame) frame->SetActiveObject(this, nullptr);
            if (document) document->SetActiveObject(this, nullptr);
        }
    }
    if (::GetFocus() != m_surface.hWnd() && !::IsChild(m_surface.hWnd(), ::GetFocus())) ::SetFocus(m_surface.hWnd());
    return S_OK;
}

STDMETHODIMP ActiveXControl::UIDeactivate() {
    if (!m_uiActive) return S_OK;
    m_uiActive = false;
    if (m_inPlaceSite) {
        com_ptr<IOleInPlaceFrame> frame;
        com_ptr<IOleInPlaceUIWindow> document;
        RECT position{}, clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        if (SUCCEEDED(m_inPlaceSite->GetWindowContext(frame.put(), document.put(), &position, &clip, &frameInfo))) {
            if (frame) frame->SetActiveObject(nullptr, nullptr);
            if (document) document->SetActiveObject(nullptr, nullptr);
        }
        m_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

STDMETHODIMP ActiveXControl::InPlaceDeactivate() {
    if (!m_inPlaceActive) return S_OK;
    UIDeactivate();
    m_inPlaceActive = false;
    if (HWND window = m_surface.hWnd()) {
        ::ShowWindow(window, SW_HIDE);
        ::SetParent(window, ParkingWindow());
    }
    if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_surface.hWnd();
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP ActiveXControl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    if (HWND window = m_surface.hWnd()) {
        const RECT current = WindowRectInParent(window);
        if (!::EqualRect(&current, position)) {
            ::SetWindowPos(window, nullptr, position->left, position->top, position->right - position->left,
                           position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    m_extent = {PixelsToHimetric(position->right - position->left, LOGPIXELSX),
                PixelsToHimetric(position->bottom - position->top, LOGPIXELSY)};
    return S_OK;
}

// A container that pre-translates keys (dialog navigation) offers them here
// first. The keys a control uses for itself (arrows, Tab, Enter, Escape, the
// navigation keys) go straight to the window of the control that has the
// focus, so that the container does not turn them into navigation.
STDMETHODIMP ActiveXControl::TranslateAccelerator(LPMSG message) {
    if (!message) return E_POINTER;
    HWND window = m_surface.hWnd();
    if (!window || !message->hwnd || (message->hwnd != window && !::IsChild(window, message->hwnd)))
        return S_FALSE;
    if (message->message != WM_KEYDOWN && message->message != WM_KEYUP) return S_FALSE;
    switch (message->wParam) {
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_TAB: case VK_RETURN: case VK_ESCAPE:
        case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_F4:
            break;
        default:
            return S_FALSE;
    }
    if (::GetKeyState(VK_MENU) < 0) return S_FALSE;  // Alt combinations stay the container's
    ::TranslateMessage(message);
    ::DispatchMessageW(message);
    return S_OK;
}

STDMETHODIMP ActiveXControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    m_extent = *size;
    if (!m_inPlaceActive) {
        if (HWND window = m_surface.hWnd()) {
            ::SetWindowPos(window, nullptr, 0, 0, HimetricToPixels(size->cx, LOGPIXELSX),
                           HimetricToPixels(size->cy, LOGPIXELSY), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    if (HWND window = m_surface.hWnd(); window && m_inPlaceActive) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        m_extent = {PixelsToHimetric(rect.right - rect.left, LOGPIXELSX),
                    PixelsToHimetric(rect.bottom - rect.top, LOGPIXELSY)};
    }
    *size = m_extent;
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

double ActiveXControl::WidthTwips() const noexcept {
    RECT rect{};
    ::GetWindowRect(m_surface.hWnd(), &rect);
    return static_cast<double>(rect.right - rect.left) * TwipsPerPixelX();
}

double ActiveXControl::HeightTwips() const noexcept {
    RECT rect{};
    ::GetWindowRect(m_surface.hWnd(), &rect);
    return static_cast<double>(rect.bottom - rect.top) * TwipsPerPixelY();
}

void ActiveXControl::SetExtentTwips(double widthTwips, double heightTwips) noexcept {
    HWND window = m_surface.hWnd();
    if (!window) return;
    const int width = static_cast<int>(std::lround(widthTwips / TwipsPerPixelX()));
    const int height = static_cast<int>(std::lround(heightTwips / TwipsPerPixelY()));
    RECT rect = WindowRectInParent(window);
    if (rect.right - rect.left == width && rect.bottom - rect.top == height) return;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    m_extent = {PixelsToHimetric(width, LOGPIXELSX), PixelsToHimetric(height, LOGPIXELSY)};
    // Ask the container first; one that does not manage positions leaves
    // the window to us.
    if (m_inPlaceSite && SUCCEEDED(m_inPlaceSite->OnPosRectChange(&rect))) {
        const RECT now = WindowRectInParent(window);
        if (now.right - now.left == width && now.bottom - now.top == height) return;
    }
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ActiveXControl::ShowPopupMenu(HMENU menu, UINT flags, const POINT* twips, UINT defaultItem) noexcept {
    HWND window = m_surface.hWnd();
    POINT where{};
    if (twips) {
        where = {PixelsFromTwipsX(twips->x), PixelsFromTwipsY(twips->y)};
        ::ClientToScreen(window, &where);
    } else {
        ::GetCursorPos(&where);
    }
    if (defaultItem) ::SetMenuDefaultItem(menu, defaultItem, FALSE);
    ::TrackPopupMenuEx(menu, flags, where.x, where.y, window, nullptr);
}

// --- IViewObject2 -----------------------------------------------------

void ActiveXControl::PaintInto(HDC dc) noexcept {
    m_surface.SetDrawTarget(dc);
    m_surface.Erase(dc);
    if (m_initialised) {
        try {
            UserControl_Paint();
        } catch (...) {
        }
    }
    m_surface.SetDrawTarget(nullptr);
}

STDMETHODIMP ActiveXControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!drawDc) return E_INVALIDARG;
    const int saved = ::SaveDC(drawDc);
    if (bounds) {
        POINT origin{};
        ::GetViewportOrgEx(drawDc, &origin);
        ::SetViewportOrgEx(drawDc, origin.x + bounds->left, origin.y + bounds->top, nullptr);
        ::IntersectClipRect(drawDc, 0, 0, bounds->right - bounds->left, bounds->bottom - bounds->top);
    }
    PaintInto(drawDc);
    ::RestoreDC(drawDc, saved);
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours) {
    if (colours) *colours = nullptr;
    return S_FALSE;
}

STDMETHODIMP ActiveXControl::SetAdvise(DWORD, DWORD flags, IAdviseSink* sink) {
    m_viewSink = com_ptr<IAdviseSink>(sink);
    m_viewAdviseFlags = flags;
    return S_OK;
}

STDMETHODIMP ActiveXControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = DVASPECT_CONTENT;
    if (flags) *flags = m_viewAdviseFlags;
    if (sink) m_viewSink.copy_to(sink);
    return S_OK;
}

// --- Window messages ----------------------------------------------------

void ActiveXControl::FocusEntered() noexcept {
    if (m_inPlaceActive && !m_uiActive) UIActivate();
    if (m_hasFocus) return;
    m_hasFocus = true;
    if (com_ptr<IOleControlSite> site = m_site.query<IOleControlSite>()) site->OnFocus(TRUE);
}

void ActiveXControl::FocusLeft(HWND newFocus) noexcept {
    HWND window = m_surface.hWnd();
    if (!m_hasFocus || (newFocus && (newFocus == window || ::IsChild(window, newFocus)))) return;
    m_hasFocus = false;
    if (com_ptr<IOleControlSite> site = m_site.query<IOleControlSite>()) site->OnFocus(FALSE);
}

bool ActiveXControl::RouteKey(UINT message, WPARAM& wParam) noexcept {
    try {
        auto key = static_cast<int16_t>(wParam);
        if (message == WM_CHAR) {
            UserControl_KeyPress(key);
        } else {
            int16_t shift = KeyboardShiftState();
            if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
                UserControl_KeyDown(key, shift);
            } else {
                UserControl_KeyUp(key, shift);
            }
        }
        if (key == 0) return false;
        wParam = static_cast<WPARAM>(static_cast<uint16_t>(key));
        return true;
    } catch (...) {
        return false;
    }
}

bool ActiveXControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (!m_initialised || m_terminated) return false;
    try {
        return m_mouse.Route(m_surface.hWnd(), message, wParam, lParam, *this);
    } catch (...) {
        return true;
    }
}

void ActiveXControl::OnMouseDown(SurfaceMouse& mouse) {
    if (!m_terminated) UserControl_MouseDown(mouse);
}
void ActiveXControl::OnMouseMove(SurfaceMouse& mouse) {
    if (!m_terminated) UserControl_MouseMove(mouse);
}
void ActiveXControl::OnMouseUp(SurfaceMouse& mouse) {
    if (!m_terminated) UserControl_MouseUp(mouse);
}
void ActiveXControl::OnClick() {
    if (!m_terminated) UserControl_Click();
}
void ActiveXControl::OnDblClick() {
    if (!m_terminated) UserControl_DblClick();
}

bool ActiveXControl::OnControlMessage(UINT, WPARAM, LPARAM, LRESULT*) noexcept { return false; }

namespace {
// WM_DPICHANGED_AFTERPARENT, which older headers lack.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
}  // namespace

bool ActiveXControl::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result) noexcept {
    // Handlers raise events, and a host may release the control inside one.
    const com_ptr<IUnknown> self = KeepAlive();
    if (m_initialised && !m_terminated && OnControlMessage(message, wParam, lParam, result)) return true;
    switch (message) {
        case WM_ERASEBKGND:
            m_surface.Erase(reinterpret_cast<HDC>(wParam));
            *result = 1;
            return true;
        case WM_PAINT: {
            unique_hdc_paint paint(window);
            if (m_initialised && !m_terminated) {
                try {
                    UserControl_Paint();
                } catch (...) {
                }
            }
            *result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            PaintInto(reinterpret_cast<HDC>(wParam));
            *result = 0;
            return true;
        case WM_SIZE:
        case kDpiChangedAfterParent:
            // After a move to a monitor of another DPI the container sizes the
            // control and hands it fonts for that DPI; the layout is measured
            // again from them, in the same windows.
            if (m_initialised && !m_terminated) {
                try {
                    UserControl_Resize();
                } catch (...) {
                }
            }
            if (message == kDpiChangedAfterParent) ::InvalidateRect(window, nullptr, TRUE);
            return false;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT &&
                ApplyMousePointer(m_surface.MousePointer(), m_surface.MouseIcon().get())) {
                *result = TRUE;
                return true;
            }
            return false;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            if (ChildControl* child = ChildControl::FromWindow(reinterpret_cast<HWND>(lParam))) {
                *result = reinterpret_cast<LRESULT>(child->PrepareColours(reinterpret_cast<HDC>(wParam)));
                return true;
            }
            return false;
        case WM_MOUSEACTIVATE:
            if (m_inPlaceActive && !m_uiActive) UIActivate();
            return false;
        case WM_SETFOCUS:
            FocusEntered();
            return false;
        case WM_GETDLGCODE:
            // A dialog's navigation leaves every key to the control.
            *result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
            return true;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_CHAR: case WM_KEYUP: case WM_SYSKEYUP:
            if (!m_initialised || m_terminated) return false;
            if (!RouteKey(message, wParam)) {
                *result = 0;
                return true;
            }
            return false;
        case WM_KILLFOCUS:
            FocusLeft(reinterpret_cast<HWND>(wParam));
            return false;
        case WM_COMMAND:
            if (ChildControl* child = ChildControl::FromWindow(reinterpret_cast<HWND>(lParam))) {
                child->OnCommand(HIWORD(wParam));  // may end the control; it is kept alive above
                *result = 0;
                return true;
            }
            return false;
        default:
            if (message == ChildFocusMessage()) {
                if (wParam) {
                    FocusEntered();
                } else {
                    FocusLeft(reinterpret_cast<HWND>(lParam));
                }
                *result = 0;
                return true;
            }
            return RouteMouse(message, wParam, lParam);
    }
}

}  // namespace zo
