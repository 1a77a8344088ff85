// Rows of a list are numbered from 0 with a 16-bit signed index.
#pragma once

#include <cstdint>

namespace zo {

using ItemIndex = std::int16_t;

// No row: the selection of an empty list, or "at the end" for an insertion.
inline constexpr ItemIndex kNoItem = -1;

}  // namespace zo
