#include "runtime/message_box.h"

#include <string>

namespace {
ZoMessageBoxHook g_hook = nullptr;
}

extern "C" void WINAPI ZoSetMessageBoxHook(ZoMessageBoxHook hook) { g_hook = hook; }

namespace zo {

int ShowMessageBox(HWND owner, std::wstring_view text, UINT style, std::wstring_view title) {
    const std::wstring textCopy(text);
    const std::wstring titleCopy(title);
    if (g_hook) return g_hook(owner, textCopy.c_str(), titleCopy.c_str(), style);
    return ::MessageBoxW(owner, textCopy.c_str(), titleCopy.c_str(), style);
}

}  // namespace zo
