// The runtime's message box. Every message the controls show goes through
// ShowMessageBox; one replaceable hook lets a host (or a test) answer it
// instead of the modal MessageBoxW.
#pragma once

#include <windows.h>

#include <string_view>

extern "C" {
// Receives the text, title and style that would have been shown and returns
// the button the "user" chose (IDOK, IDCANCEL, ...).
typedef int(CALLBACK* ZoMessageBoxHook)(HWND owner, LPCWSTR text, LPCWSTR title, UINT style);

// Exported from ZoPropList.ocx. A null hook restores MessageBoxW.
void WINAPI ZoSetMessageBoxHook(ZoMessageBoxHook hook);
}

namespace zo {

// Title used when a caller gives none: the library's application title.
inline constexpr std::wstring_view kDefaultMessageBoxTitle = L"ZoPropertyList";

int ShowMessageBox(HWND owner, std::wstring_view text, UINT style,
                   std::wstring_view title = kDefaultMessageBoxTitle);

}  // namespace zo
