// A picture file (BMP, PNG, JPEG, GIF, ICO: whatever the system's imaging
// component decodes) read into a 32-bit bitmap with premultiplied alpha,
// ready for AlphaBlend.
#pragma once

#include <windows.h>

#include <string>

#include "common/handles.h"

namespace zo::demo {

struct Picture {
    unique_hbitmap bitmap;
    int width = 0;
    int height = 0;
};

// Throws DemoError saying why the file cannot be read as a picture.
[[nodiscard]] Picture LoadPictureFile(const std::wstring& path);

}  // namespace zo::demo
