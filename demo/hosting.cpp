#include "demo/hosting.h"

#include <algorithm>

#include "demo/atl_container.h"
#include "demo/font_families.h"
#include "demo/inspector.h"
#include "demo/report.h"
#include "demo/screenshot.h"

namespace zo::demo {

namespace {

constexpr wchar_t kFrameClass[] = L"ZoDemoFrame";
constexpr wchar_t kTitle[] = L"ZoDemo - shape inspector";
constexpr int kMargin = 8;
constexpr int kClientWidth = 720;
constexpr int kClientHeight = 500;
constexpr int kCanvasWidth = 340;
constexpr int kLogHeight = 118;
constexpr int kStatusHeight = 22;

// The font of message boxes and dialogs, for the demo's own panes.
unique_hfont MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return unique_hfont(::CreateFontIndirectW(&metrics.lfMessageFont));
    return unique_hfont();
}

}  // namespace

DemoWindow::DemoWindow() : m_model(InstalledFontFamilies()) {}

DemoWindow::~DemoWindow() { Destroy(); }

void DemoWindow::Create() {
    Destroy();
    CreateFrame();
    CreatePanes();
    HostList();
    InspectorParts parts;
    parts.frame = m_frame;
    parts.list = m_list.get();
    parts.listWindow = ListWindow();
    parts.model = &m_model;
    parts.view = &m_view;
    parts.log = &m_log;
    parts.status = &m_status;
    parts.borderWidth = &m_borderWidth;
    if (!parts.listWindow) throw DemoError(L"The list did not show its window in the container");
    m_inspector = std::make_unique<Inspector>(parts);
    // The sink connects after the rows are in: filling raises a Resize per
    // row, which would bury the log's first screen.
    m_inspector->Fill();
    m_events.Connect(m_control.get(), *m_inspector);
    m_log.Add(L"The list's events show here as they arrive (F6 moves between the list and this log).");
    ::SetFocus(parts.listWindow);
}

void DemoWindow::Destroy() noexcept {
    m_events.Disconnect();
    if (m_inspector) m_inspector->Detach();
    m_list = nullptr;
    m_control = nullptr;
    // Destroying the frame destroys the container, which closes the control,
    // and the panes.
    if (m_frame && ::IsWindow(m_frame)) ::DestroyWindow(m_frame);
    m_frame = nullptr;
    m_container = nullptr;
    m_inspector.reset();
}

HWND DemoWindow::ListWindow() const {
    com_ptr<IOleWindow> window = m_control.query<IOleWindow>();
    HWND handle = nullptr;
    if (!window || FAILED(window->GetWindow(&handle))) return nullptr;
    return handle;
}

long DemoWindow::RowIndexOf(const std::wstring& name) const {
    return m_inspector ? m_inspector->RowIndexOf(name) : -1;
}

long DemoWindow::SelectedRow() const { return m_inspector ? m_inspector->SelectedRow() : -1; }

void DemoWindow::QueueBrowseAnswer(std::wstring path) {
    if (m_inspector) m_inspector->QueueBrowseAnswer(std::move(path));
}

void DemoWindow::UseScriptedBrowsing() noexcept {
    if (m_inspector) m_inspector->UseScriptedBrowsing();
}

void DemoWindow::Settle() {
    if (!PumpUntilPainted(m_frame, [this](MSG& message) { return PreTranslateMessage(message); }))
        PrintLine(L"warning: the window was still busy after the last round of messages", stderr);
}

RECT DemoWindow::ShapeBoundsInFrame() const noexcept {
    RECT bounds = m_view.ShapeBounds();
    if (m_view.Window()) ::MapWindowPoints(m_view.Window(), m_frame, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool DemoWindow::FocusIsInList() const noexcept {
    const HWND list = ListWindow(), focus = ::GetFocus();
    return list && focus && (focus == list || ::IsChild(list, focus));
}

// The panes that take the focus are the list and the event log; from the
// border width editor the focus goes to the log too.
void DemoWindow::FocusNextPane() noexcept {
    ::SetFocus(FocusIsInList() ? m_log.Window() : ListWindow());
}

bool DemoWindow::PreTranslateMessage(MSG& message) noexcept {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    // F6 moves between the panes anywhere; Tab does too from the log (in the
    // list, Tab steps through the rows).
    const bool nextPane = message.wParam == VK_F6 || (message.wParam == VK_TAB && message.hwnd == m_log.Window());
    if (message.message == WM_KEYDOWN && nextPane) {
        FocusNextPane();
        return true;
    }
    if (m_inspector && m_inspector->PreTranslateKey(message)) return true;
    if (!FocusIsInList()) return false;
    const com_ptr<IOleInPlaceActiveObject> active = m_control.query<IOleInPlaceActiveObject>();
    return active && active->TranslateAccelerator(&message) == S_OK;
}

LRESULT CALLBACK DemoWindow::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<DemoWindow*>(create->lpCreateParams)->m_frame = window;
    }
    auto* self = reinterpret_cast<DemoWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_frame = nullptr;
        self->m_container = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT DemoWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_ACTIVATE:
            // Leaving the window: remember which pane had the focus, to give it back.
            if (LOWORD(wParam) == WA_INACTIVE && ::IsChild(m_frame, ::GetFocus())) m_lastFocus = ::GetFocus();
            break;
        case WM_SETFOCUS:
            if (m_lastFocus && ::IsWindowVisible(m_lastFocus) && ::IsChild(m_frame, m_lastFocus))
                ::SetFocus(m_lastFocus);
            else if (const HWND list = ListWindow())
                ::SetFocus(list);
            return 0;
        case WM_COMMAND:
            if (m_inspector && reinterpret_cast<HWND>(lParam) == m_borderWidth.Editor())
                m_inspector->OnEditorNotification(HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == m_status.Window()) {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, m_status.TextColour());
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_CLOSE:
            Destroy();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(m_frame, message, wParam, lParam);
}

// The canvas on the left, the list on the right, the log across the bottom
// above the status line.
void DemoWindow::LayOut() const noexcept {
    if (!m_frame) return;
    RECT client{};
    ::GetClientRect(m_frame, &client);
    const long statusTop = std::max(0L, client.bottom - kStatusHeight);
    const long logTop = std::max(0L, statusTop - kMargin - kLogHeight);
    const long paneHeight = std::max(0L, logTop - 2 * kMargin);
    const long listLeft = kMargin + kCanvasWidth + kMargin;
    if (m_view.Window()) ::MoveWindow(m_view.Window(), kMargin, kMargin, kCanvasWidth, paneHeight, TRUE);
    if (m_container)
        ::MoveWindow(m_container, listLeft, kMargin, std::max(0L, client.right - kMargin - listLeft), paneHeight, TRUE);
    if (m_log.Window())
        ::MoveWindow(m_log.Window(), kMargin, logTop, std::max(0L, client.right - 2 * kMargin), kLogHeight, TRUE);
    if (m_status.Window()) ::MoveWindow(m_status.Window(), 0, statusTop, client.right, kStatusHeight, TRUE);
}

void DemoWindow::CreateFrame() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof(frameClass);
    if (!::GetClassInfoExW(instance, kFrameClass, &frameClass)) {
        frameClass = {};
        frameClass.cbSize = sizeof(frameClass);
        frameClass.lpfnWndProc = FrameProc;
        frameClass.hInstance = instance;
        frameClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        frameClass.lpszClassName = kFrameClass;
        if (!::RegisterClassExW(&frameClass))
            throw DemoError(L"Registering the frame window class", HRESULT_FROM_WIN32(::GetLastError()));
    }
    RECT bounds{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&bounds, style, FALSE, 0);
    m_frame = ::CreateWindowExW(0, kFrameClass, kTitle, style, 40, 40, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, nullptr, nullptr, instance, this);
    if (!m_frame) throw DemoError(L"Creating the frame window", HRESULT_FROM_WIN32(::GetLastError()));
    m_font = MessageFont();
}

void DemoWindow::CreatePanes() {
    const HFONT font = m_font ? m_font.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_view.Create(m_frame);
    m_log.Create(m_frame, font);
    m_status.Create(m_frame, font);
    m_borderWidth.Create(m_frame, font);
}

void DemoWindow::HostList() {
    HostedControl list = HostInAtlContainer(m_frame, kPropertyListProgId);
    m_container = list.container;
    m_control = std::move(list.control);
    m_list = m_control.query<IDispatch>();
    if (!m_list) throw DemoError(L"The property list has no IDispatch");
    LayOut();
}

}  // namespace zo::demo
