#include "common/ole_colour.h"

#include <ole2.h>

namespace zo {

COLORREF TranslateColour(OLE_COLOR colour) noexcept {
    COLORREF rgb = 0;
    if (FAILED(::OleTranslateColor(colour, nullptr, &rgb))) return RGB(0, 0, 0);
    return rgb;
}

COLORREF SystemColourOf(std::int32_t value) noexcept {
    return ::GetSysColor(static_cast<int>(value & 0x7FFFFFFF));
}

}  // namespace zo
