// The text on the system clipboard.
#pragma once

#include <optional>
#include <string>

namespace zo {

// The clipboard's text, or nullopt when it holds none or cannot be opened.
[[nodiscard]] std::optional<std::wstring> ClipboardText();

}  // namespace zo
