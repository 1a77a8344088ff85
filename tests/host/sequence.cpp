#include "tests/host/sequence.h"

#include <algorithm>

#include "tests/host/variant.h"

namespace zo::test {

Expected Optional(std::wstring name) {
    Expected entry(std::move(name));
    entry.optional = true;
    return entry;
}

std::string CompareSequence(const std::vector<std::wstring>& actual, const std::vector<Expected>& expected) {
    size_t a = 0, e = 0;
    while (a < actual.size() && e < expected.size()) {
        if (actual[a] == expected[e].name) {
            ++a;
            ++e;
        } else if (expected[e].optional) {
            ++e;
        } else {
            break;
        }
    }
    while (e < expected.size() && expected[e].optional && a == actual.size()) ++e;
    if (a == actual.size() && e == expected.size()) return {};

    std::string diff = "sequences differ at expected entry " + std::to_string(e) + ", actual entry " +
                       std::to_string(a) + " (marked >)\n  expected" + std::string(26, ' ') + " |  actual\n";
    const size_t rows = std::max(actual.size(), expected.size());
    for (size_t i = 0; i < rows; ++i) {
        std::string left = i < expected.size()
                               ? (expected[i].optional ? "(" + Narrow(expected[i].name) + ")"
                                                       : Narrow(expected[i].name))
                               : "";
        std::string right = i < actual.size() ? Narrow(actual[i]) : "";
        left.resize(std::max<size_t>(left.size(), 32), ' ');
        diff += std::string(i == e ? "> " : "  ") + left + (i == a ? " |> " : " |  ") + right + "\n";
    }
    return diff;
}

}  // namespace zo::test
