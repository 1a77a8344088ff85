// The off-screen picture the list is composed in before one BitBlt shows it.
// It is kept from one paint to the next and made again only when the size
// changes: allocating and first touching a screen-sized bitmap on every
// repaint cost more than drawing the rows into it.
#pragma once

#include <windows.h>

#include <optional>

#include "common/handles.h"

namespace zo {

class OffscreenBuffer {
public:
    // A memory DC holding a screen-compatible bitmap of exactly this size,
    // in the state a new memory DC has; null when none can be made.
    [[nodiscard]] HDC Prepare(int width, int height) noexcept;
    // Ends a paint: whatever the drawing changed in the DC (an owner-drawn
    // row's pen, brush or mapping, say) does not reach the next one.
    void Finish() noexcept;
    // Gives the bitmap's memory back, as when the window is hidden for good.
    void Release() noexcept;

private:
    // Declared in this order so that the bitmap leaves the DC before it is
    // deleted, and the DC goes last.
    unique_hdc m_dc;
    unique_hbitmap m_bitmap;
    std::optional<unique_select> m_selection;
    int m_width = 0;
    int m_height = 0;
    int m_savedState = 0;
};

}  // namespace zo
