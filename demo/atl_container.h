// The system's ATL container window ("AtlAxWin" from atl.dll), which creates
// and activates a control named by its window text.
#pragma once

#include <windows.h>

#include <string>

#include "common/com_ptr.h"

namespace zo::demo {

struct HostedControl {
    HWND container = nullptr;
    com_ptr<IUnknown> control;
};

// Creates a child container window of `parent` hosting the control of
// `progId`. Throws DemoError, naming the step that failed.
[[nodiscard]] HostedControl HostInAtlContainer(HWND parent, const wchar_t* progId);

}  // namespace zo::demo
