// The soak's source of random choices: SplitMix64, so that one seed gives
// the same sequence of steps on every machine and bitness.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace zo::test {

class SoakRandom {
public:
    explicit SoakRandom(uint64_t seed) noexcept : m_state(seed) {}

    [[nodiscard]] uint64_t Next() noexcept {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. count-1; 0 when count is 0.
    [[nodiscard]] uint32_t Below(uint32_t count) noexcept {
        return count ? static_cast<uint32_t>(Next() % count) : 0;
    }
    // low .. high inclusive.
    [[nodiscard]] int32_t Between(int32_t low, int32_t high) noexcept {
        return low + static_cast<int32_t>(Below(static_cast<uint32_t>(high - low + 1)));
    }
    // True about `percent` times in a hundred.
    [[nodiscard]] bool Percent(uint32_t percent) noexcept { return Below(100) < percent; }
    template <typename T>
    [[nodiscard]] T Pick(std::initializer_list<T> choices) noexcept {
        return choices.begin()[Below(static_cast<uint32_t>(choices.size()))];
    }

private:
    uint64_t m_state;
};

}  // namespace zo::test
