// Paths of loaded modules: the file a module was loaded from, however long,
// and a file beside it.
#pragma once

#include <windows.h>

#include <string>

namespace zo {

// The full path of `module`'s file (the program's for null); empty when the
// system cannot tell.
[[nodiscard]] std::wstring ModuleFileName(HMODULE module);

// `fileName` in the folder of `module`'s file; `fileName` alone when that
// folder is unknown.
[[nodiscard]] std::wstring BesideModule(HMODULE module, const wchar_t* fileName);

}  // namespace zo
