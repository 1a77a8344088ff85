#include "runtime/module.h"

#include <atomic>

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

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ModuleAddRef() noexcept { ++g_uses; }
void ModuleRelease() noexcept { --g_uses; }
long ModuleUseCount() noexcept { return g_uses.load(); }

}  // namespace zo
