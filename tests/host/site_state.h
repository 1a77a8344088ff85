// What the container's site objects share: the ambient properties they
// answer, the window and rectangle they give the control, and the log of the
// calls the control made on them. The site objects hold it by shared_ptr so
// that a control which keeps its site too long never reaches a dead container.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/ambient_properties.h"

namespace zo::test {

struct SiteState {
    AmbientProperties ambient;
    HWND frame = nullptr;
    RECT position{};  // the control's rectangle in the frame's client area, pixels

    // Every call the control made on the site and frame objects, by method
    // name ("OnInPlaceActivate", "SetActiveObject", ...), in order.
    std::vector<std::wstring> calls;
    // Every ambient property the control asked for, answered or not.
    std::vector<DISPID> ambientReads;
    // IAdviseSink::OnViewChange calls, counted apart: a control sends one
    // per repaint, which would drown the sequence above.
    int viewChanges = 0;

    bool inPlaceActive = false;
    bool uiActive = false;
    // Set by IOleInPlaceFrame::SetActiveObject; the container offers it
    // keyboard messages before dispatching them.
    com_ptr<IOleInPlaceActiveObject> activeObject;
    // Called by IOleInPlaceSite::OnPosRectChange with the rectangle the
    // control asked for; the container answers with SetObjectRects.
    std::function<void(const RECT&)> onPosRectChange;

    void Record(std::wstring_view call) { calls.emplace_back(call); }
    [[nodiscard]] size_t CountCalls(std::wstring_view call) const {
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
};

}  // namespace zo::test
