// The demo's IPropOwnerDrawSink: the property list calls it late-bound, by
// DISPID, to draw its owner-drawn rows and to show, hide and commit the
// host's own editor for them. The sink turns each call into a call on the
// host's OwnerDrawnRows, in pixels.
#pragma once

#include <windows.h>

#include "IPropOwnerDraw.h"
#include "common/com_ptr.h"

namespace zo::demo {

class OwnerDrawnRows {
public:
    // `row`: the row's band in the list's off-screen picture, in its pixels.
    virtual void DrawRow(HDC dc, int index, bool selected, const RECT& row) = 0;
    // `cell`: the value column of the selected row, in the list window's client pixels.
    virtual void ShowRowEditor(int index, const RECT& cell) = 0;
    virtual void HideRowEditor() = 0;
    virtual void CommitRowEditor() = 0;

protected:
    ~OwnerDrawnRows() = default;
};

// Makes a sink serving `rows`, which must outlive it (the list holds the
// sink until it is closed). Twips from the list are turned into pixels of
// the screen.
[[nodiscard]] com_ptr<IPropOwnerDrawSink> CreateOwnerDrawSink(OwnerDrawnRows& rows);

}  // namespace zo::demo
