#include "tests/host/in_place_frame.h"

namespace zo::test {

namespace {

constexpr wchar_t kFrameClass[] = L"ZoTestContainerFrame";

void RegisterFrameClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kFrameClass, &windowClass)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    // The frame has no behaviour of its own: the control lives in its client area.
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kFrameClass;
    ::RegisterClassExW(&windowClass);
}

}  // namespace

FrameWindow::FrameWindow(SIZE clientSize, const wchar_t* title) {
    RegisterFrameClass();
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT bounds{0, 0, clientSize.cx, clientSize.cy};
    ::AdjustWindowRectEx(&bounds, kStyle, FALSE, 0);
    m_hwnd = ::CreateWindowExW(0, kFrameClass, title, kStyle, 0, 0, bounds.right - bounds.left,
                               bounds.bottom - bounds.top, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                               nullptr);
    if (m_hwnd) {
        ::ShowWindow(m_hwnd, SW_SHOW);
        ::UpdateWindow(m_hwnd);
        ::SetForegroundWindow(m_hwnd);
    }
}

FrameWindow::~FrameWindow() {
    if (m_hwnd && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
}

com_ptr<InPlaceFrame> InPlaceFrame::Create(std::shared_ptr<SiteState> state) {
    return com_ptr<InPlaceFrame>::attach(new InPlaceFrame(std::move(state)));
}

STDMETHODIMP InPlaceFrame::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
        iid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP InPlaceFrame::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_state->frame;
    return S_OK;
}

STDMETHODIMP InPlaceFrame::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP InPlaceFrame::GetBorder(LPRECT border) {
    if (!border) return E_POINTER;
    return ::GetClientRect(m_state->frame, border) ? S_OK : E_FAIL;
}

// No toolbars: the frame has no room to give, but any control that asks for
// none is satisfied.
STDMETHODIMP InPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS widths) {
    m_state->Record(L"RequestBorderSpace");
    if (widths && (widths->left || widths->top || widths->right || widths->bottom))
        return INPLACE_E_NOTOOLSPACE;
    return S_OK;
}

STDMETHODIMP InPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS widths) {
    m_state->Record(L"SetBorderSpace");
    if (widths && (widths->left || widths->top || widths->right || widths->bottom))
        return OLE_E_INVALIDRECT;
    return S_OK;
}

STDMETHODIMP InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    m_state->Record(active ? L"SetActiveObject" : L"SetActiveObject(null)");
    m_state->activeObject = com_ptr<IOleInPlaceActiveObject>(active);
    return S_OK;
}

STDMETHODIMP InPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths) {
    if (widths)
        for (LONG& width : widths->width) width = 0;
    return S_OK;
}

STDMETHODIMP InPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP InPlaceFrame::RemoveMenus(HMENU) { return S_OK; }

STDMETHODIMP InPlaceFrame::SetStatusText(LPCOLESTR) {
    m_state->Record(L"SetStatusText");
    return S_OK;
}

STDMETHODIMP InPlaceFrame::EnableModeless(BOOL enable) {
    m_state->Record(enable ? L"EnableModeless(TRUE)" : L"EnableModeless(FALSE)");
    return S_OK;
}

// The frame has no accelerators of its own.
STDMETHODIMP InPlaceFrame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace zo::test
