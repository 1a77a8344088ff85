// Diagnostics exported for tests and support tools.
#include <windows.h>

#include "common/handles.h"

// GDI objects (brushes, pens, fonts, bitmaps, palettes, regions, device
// contexts) that the library's own handle holders own right now. Unlike
// GetGuiResources it answers on every platform, and it counts only what the
// library itself made.
extern "C" long WINAPI ZoLiveGdiObjects() { return zo::LiveGdiHandles(); }
