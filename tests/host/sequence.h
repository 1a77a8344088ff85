// Comparing a recorded sequence of calls or events with the expected one,
// where some expected entries may be absent, with a readable diff.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zo::test {

struct Expected {
    Expected(const wchar_t* entry) : name(entry) {}
    Expected(std::wstring entry) : name(std::move(entry)) {}
    std::wstring name;
    bool optional = false;
};

// An entry that may or may not appear at that point.
[[nodiscard]] Expected Optional(std::wstring name);

// Empty when `actual` matches `expected` entry by entry (optional entries may
// be missing); else both sequences side by side with the first difference marked.
[[nodiscard]] std::string CompareSequence(const std::vector<std::wstring>& actual,
                                          const std::vector<Expected>& expected);

}  // namespace zo::test
