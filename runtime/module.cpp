#include "runtime/module.h"

#include <atomic>

#include "common/module_file.h"

namespace zo {

namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_uses{0};

// Finds the module that holds this code even before DllMain has recorded it
// (static libraries linked into an executable, for instance).
HINSTANCE ModuleOfThisCode() noexcept {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleOfThisCode), &module);
    return module;
}
}  // namespace

void SetModuleInstance(HINSTANCE instance) noexcept { g_instance = instance; }

HINSTANCE ModuleInstance() noexcept {
    if (!g_instance) g_instance = ModuleOfThisCode();
    return g_instance;
}

std::wstring ModulePath() { return ModuleFileName(ModuleInstance()); }

void ModuleAddRef() noexcept { ++g_uses; }
void ModuleRelease() noexcept { --g_uses; }
long ModuleUseCount() noexcept { return g_uses.load(); }

}  // namespace zo
