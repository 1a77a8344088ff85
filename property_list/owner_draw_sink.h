// The host's owner-draw sink, called late-bound by the DISPIDs its type
// library declares. Every call names the calling control by its display
// name, so that one sink can serve several lists.
//
// The calls go through the sink's own IPropOwnerDrawSink interface when it
// has one: a host class whose default dual interface is another one answers
// IDispatch with that interface, whose DISPIDs mean other methods. A plain
// dispatch object (a script's) is called through its IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

#include "common/com_ptr.h"

namespace zo {

class EventArgs;

class OwnerDrawSink {
public:
    // Takes the sink the host hands in (null clears it).
    void Set(IUnknown* sink) noexcept;
    [[nodiscard]] explicit operator bool() const noexcept { return static_cast<bool>(m_sink); }

    // Each throws the host's error (VbError) when its call fails.
    void CommitEdit(const std::wstring& controlName);
    void HideEditor(const std::wstring& controlName);
    // The host may change `index` (the selection) through its by-reference argument.
    void ShowEditor(const std::wstring& controlName, int16_t& index, int32_t left, int32_t top, int32_t width,
                    int32_t height);
    // Draws row `index`; returns where the host says the row ends (Bottom).
    [[nodiscard]] int32_t DrawItem(const std::wstring& controlName, int32_t index, bool selected, HDC dc,
                                   int32_t top, int32_t right, int32_t bottom);

private:
    void Invoke(DISPID dispid, EventArgs& args);

    com_ptr<IDispatch> m_sink;
};

}  // namespace zo
