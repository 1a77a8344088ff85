// Registration of the COM server: the controls' class keys, their ProgIDs
// and the two embedded type libraries. DllRegisterServer and
// DllUnregisterServer call these with the library's own module handle.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <span>

namespace zo {

// What a control class writes under HKEY_CLASSES_ROOT. Adding a control to
// the library is adding a row to the table behind RegisteredControlClasses.
struct ControlClassRegistration {
    const CLSID* clsid;
    const wchar_t* prog_id;      // HKCR\<prog_id>\CLSID = the class
    const wchar_t* description;  // default value of the CLSID and ProgID keys
    DWORD misc_status;           // OLEMISC_* bits for every aspect ("MiscStatus\1")
    int toolbox_bitmap;          // bitmap resource named by ToolboxBitmap32
    bool insertable;             // offered in containers' "Insert Object" lists
};

// The bits a windowed, in-place-active control reports; IOleObject::
// GetMiscStatus returns the same value as the registry holds.
inline constexpr DWORD kWindowedControlMiscStatus =
    OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
    OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

// The public, creatable controls of the library (private controls such as
// the combo box are never registered).
[[nodiscard]] std::span<const ControlClassRegistration> RegisteredControlClasses() noexcept;

// Writes the class keys of every control and registers both type libraries
// from the module's resources. Running it again rewrites the same keys. On
// failure nothing of the registration is left behind and the failure is
// returned.
[[nodiscard]] HRESULT RegisterServer(HMODULE module) noexcept;

// Removes every key RegisterServer writes. Succeeds when nothing is left,
// including when nothing was registered.
[[nodiscard]] HRESULT UnregisterServer(HMODULE module) noexcept;

}  // namespace zo
