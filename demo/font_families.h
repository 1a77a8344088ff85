// The font families installed on the system, for the shape's Font row.
#pragma once

#include <string>
#include <vector>

namespace zo::demo {

// Sorted, each once; vertical ("@") faces left out.
[[nodiscard]] std::vector<std::wstring> InstalledFontFamilies();

}  // namespace zo::demo
