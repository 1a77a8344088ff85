#include "tests/host/atl_host.h"

namespace zo::test {

namespace {

struct AtlLibrary {
    const wchar_t* file;
    const wchar_t* windowClass;
};

AtlLibrary LibraryFor(AtlVersion version) {
    switch (version) {
    case AtlVersion::Atl100: return {L"atl100.dll", L"AtlAxWin100"};
    case AtlVersion::Atl: break;
    }
    return {L"atl.dll", L"AtlAxWin"};
}

}  // namespace

AtlHost::AtlHost(AtlVersion version, SIZE frameSize) : m_frame(frameSize, L"ZoTestAtlContainer") {
    const AtlLibrary library = LibraryFor(version);
    m_library = ::LoadLibraryW(library.file);
    if (!m_library) return;
    auto init = reinterpret_cast<AxWinInit>(reinterpret_cast<void*>(::GetProcAddress(m_library, "AtlAxWinInit")));
    m_getControl =
        reinterpret_cast<AxGetControl>(reinterpret_cast<void*>(::GetProcAddress(m_library, "AtlAxGetControl")));
    if (!init || !m_getControl) return;
    // A second call in the process fails because the class is already
    // registered: what counts is that the class is there afterwards.
    (void)init();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (::GetClassInfoExW(nullptr, library.windowClass, &windowClass) ||
        ::GetClassInfoExW(::GetModuleHandleW(nullptr), library.windowClass, &windowClass))
        m_className = library.windowClass;
}

AtlHost::~AtlHost() {
    Destroy();
    // The library stays loaded: its window class and container objects may
    // still be referenced by other hosts in this process.
}

HRESULT AtlHost::Create(std::wstring_view progIdOrClsid, RECT position) {
    Destroy();
    if (m_className.empty()) return HRESULT_FROM_WIN32(ERROR_CLASS_DOES_NOT_EXIST);
    const std::wstring text(progIdOrClsid);
    m_host = ::CreateWindowExW(0, m_className.c_str(), text.c_str(), WS_CHILD | WS_VISIBLE, position.left,
                               position.top, position.right - position.left, position.bottom - position.top,
                               m_frame.hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_host) return HRESULT_FROM_WIN32(::GetLastError());
    // The container window is created even when the control is not: check.
    return Control() ? S_OK : REGDB_E_CLASSNOTREG;
}

void AtlHost::Destroy() {
    if (m_host && ::IsWindow(m_host)) ::DestroyWindow(m_host);
    m_host = nullptr;
}

com_ptr<IUnknown> AtlHost::Control() const {
    com_ptr<IUnknown> control;
    if (m_host && m_getControl && FAILED(m_getControl(m_host, control.put()))) return nullptr;
    return control;
}

com_ptr<IDispatch> AtlHost::Dispatch() const { return Control().query<IDispatch>(); }

}  // namespace zo::test
