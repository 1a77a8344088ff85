#include "demo/atl_container.h"

#include "demo/report.h"

namespace zo::demo {

namespace {

using AxWinInit = BOOL(WINAPI*)();
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

struct AtlLibrary {
    AxGetControl getControl = nullptr;
    const wchar_t* className = nullptr;
    HINSTANCE classOwner = nullptr;
};

// atl.dll, initialised once: it registers its window class only the first
// time, and stays loaded for the life of the process, since its window class
// and container objects are in use as long as the windows exist.
AtlLibrary FindAtl() {
    AtlLibrary found;
    const HMODULE atl = ::LoadLibraryW(L"atl.dll");
    if (!atl) throw DemoError(L"Loading atl.dll (the ATL container)", HRESULT_FROM_WIN32(::GetLastError()));
    const auto init = reinterpret_cast<AxWinInit>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxWinInit")));
    found.getControl =
        reinterpret_cast<AxGetControl>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxGetControl")));
    if (!init || !found.getControl) throw DemoError(L"atl.dll lacks AtlAxWinInit or AtlAxGetControl");
    if (!init()) throw DemoError(L"AtlAxWinInit failed");

    // The container's class name depends on the ATL version the library
    // implements; take the first one it registered, and the module that
    // owns it in case it is not a global class.
    for (const wchar_t* candidate : {L"AtlAxWin", L"AtlAxWin80", L"AtlAxWin90", L"AtlAxWin100", L"AtlAxWin110",
                                     L"AtlAxWin140"}) {
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        if (::GetClassInfoExW(nullptr, candidate, &info) || ::GetClassInfoExW(atl, candidate, &info)) {
            found.className = candidate;
            found.classOwner = info.hInstance;
            break;
        }
    }
    if (!found.className) throw DemoError(L"atl.dll registered no AtlAxWin window class");

    return found;
}

const AtlLibrary& LoadAtl() {
    static const AtlLibrary atl = FindAtl();
    return atl;
}

}  // namespace

HostedControl HostInAtlContainer(HWND parent, const wchar_t* progId) {
    CLSID clsid{};
    Check(::CLSIDFromProgID(progId, &clsid),
          std::wstring(L"Looking up ") + progId + L" (register ZoPropList.ocx with regsvr32)");

    const AtlLibrary& atl = LoadAtl();
    HostedControl hosted;
    hosted.container = ::CreateWindowExW(0, atl.className, progId, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                         parent, nullptr, atl.classOwner, nullptr);
    if (!hosted.container)
        throw DemoError(std::wstring(L"Creating the ") + atl.className + L" window",
                        HRESULT_FROM_WIN32(::GetLastError()));
    // The container window exists even when the control could not be made.
    const HRESULT hr = atl.getControl(hosted.container, hosted.control.put());
    if (FAILED(hr) || !hosted.control)
        throw DemoError(std::wstring(atl.className) + L" did not create " + progId,
                        FAILED(hr) ? hr : E_NOINTERFACE);
    PrintLine(std::wstring(L"hosted ") + progId + L" in " + atl.className);
    return hosted;
}

}  // namespace zo::demo
