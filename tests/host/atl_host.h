// AtlHost: a control hosted in the system's ATL container window (class
// "AtlAxWin", from atl.dll), a container nobody on this project wrote. It
// answers no ambient properties and has no extender.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

#include "common/com_ptr.h"
#include "tests/host/in_place_frame.h"

namespace zo::test {

// Which ATL library supplies the container window.
enum class AtlVersion {
    Atl,     // atl.dll, class "AtlAxWin"
    Atl100,  // atl100.dll, class "AtlAxWin100"
};

class AtlHost {
public:
    explicit AtlHost(AtlVersion version = AtlVersion::Atl, SIZE frameSize = {640, 480});
    AtlHost(const AtlHost&) = delete;
    AtlHost& operator=(const AtlHost&) = delete;
    ~AtlHost();

    // Creates the container window with `progIdOrClsid` ("Lib.Class" or
    // "{CLSID}") as its text, which makes it create and activate the control.
    [[nodiscard]] HRESULT Create(std::wstring_view progIdOrClsid, RECT position = {10, 10, 330, 250});
    // Destroys the container window (the container closes the control). Idempotent.
    void Destroy();

    [[nodiscard]] com_ptr<IUnknown> Control() const;
    [[nodiscard]] com_ptr<IDispatch> Dispatch() const;
    [[nodiscard]] HWND HostWindow() const noexcept { return m_host; }
    [[nodiscard]] HWND FrameHwnd() const noexcept { return m_frame.hwnd(); }
    // The class name in use, e.g. L"AtlAxWin"; empty when the library could not be initialised.
    [[nodiscard]] const std::wstring& ClassName() const noexcept { return m_className; }

private:
    using AxWinInit = BOOL(WINAPI*)();
    using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

    FrameWindow m_frame;
    HMODULE m_library = nullptr;
    AxGetControl m_getControl = nullptr;
    std::wstring m_className;
    HWND m_host = nullptr;
};

}  // namespace zo::test
