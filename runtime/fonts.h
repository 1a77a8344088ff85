// Standard OLE font objects: creating, copying, comparing, and the GDI
// handle a font object owns (borrowed, never deleted by us).
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "common/com_ptr.h"

namespace zo {

struct FontDescription {
    std::wstring name = L"MS Sans Serif";
    double points = 8.25;
    short weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    short charset = DEFAULT_CHARSET;
};

[[nodiscard]] com_ptr<IFont> CreateStdFont(const FontDescription& description) noexcept;
// The system's default GUI font as a font object.
[[nodiscard]] com_ptr<IFont> CreateDefaultGuiFont() noexcept;
// A new, independent font object with the same attributes.
[[nodiscard]] com_ptr<IFont> CloneFont(IFont* font) noexcept;
[[nodiscard]] FontDescription DescribeFont(IFont* font) noexcept;
// Same face, size, weight, style and character set.
[[nodiscard]] bool SameFont(IFont* a, IFont* b) noexcept;
// The font object behind any interface pointer (IFontDisp, IDispatch, IUnknown).
[[nodiscard]] com_ptr<IFont> FontFrom(IUnknown* object) noexcept;
// The GDI font of the object; it belongs to the object.
[[nodiscard]] HFONT BorrowedFontHandle(IFont* font) noexcept;

}  // namespace zo
