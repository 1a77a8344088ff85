// The library module: its instance handle, its path, and the counts that
// decide whether it may be unloaded.
#pragma once

#include <windows.h>

#include <string>

namespace zo {

void SetModuleInstance(HINSTANCE instance) noexcept;
[[nodiscard]] HINSTANCE ModuleInstance() noexcept;
[[nodiscard]] std::wstring ModulePath();

// Live COM objects and server locks; DllCanUnloadNow answers S_OK only at zero.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
[[nodiscard]] long ModuleUseCount() noexcept;

}  // namespace zo
