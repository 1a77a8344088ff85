// The MousePointer property of the controls: 0 leaves the cursor to the
// window class, 1 to 15 name the system cursors, 99 shows the control's own
// MouseIcon.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>

namespace zo {

inline constexpr int16_t kCustomMousePointer = 99;

// Throws Invalid property value (380) for a value that names no pointer.
void CheckMousePointer(int16_t pointer);

// Sets the cursor `pointer` stands for (answering WM_SETCURSOR); false when
// the window's own cursor should show: pointer 0, or a custom pointer without
// an icon picture.
bool ApplyMousePointer(int16_t pointer, IPictureDisp* mouseIcon) noexcept;

}  // namespace zo
