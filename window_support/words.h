// The signed 16-bit halves of a message parameter, as wheel and scroll
// notifications pack them.
#pragma once

#include <cstdint>

namespace zo {

[[nodiscard]] constexpr int16_t LoWord(intptr_t value) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uintptr_t>(value) & 0xFFFFu));
}

[[nodiscard]] constexpr int16_t HiWord(intptr_t value) noexcept {
    return static_cast<int16_t>(static_cast<uint16_t>((static_cast<uintptr_t>(value) >> 16) & 0xFFFFu));
}

}  // namespace zo
