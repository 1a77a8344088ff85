// Writing a bitmap to a PNG file through WIC (windowscodecs).
#pragma once

#include <windows.h>

namespace zo::test {

// Encodes `bitmap` (any DDB or DIB section not selected into a DC) as a
// 24-bit PNG at `path`. Initialises COM on the calling thread if needed.
[[nodiscard]] HRESULT SaveBitmapAsPng(HBITMAP bitmap, const wchar_t* path);

}  // namespace zo::test
