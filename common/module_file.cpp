#include "common/module_file.h"

namespace zo {

std::wstring ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring BesideModule(HMODULE module, const wchar_t* fileName) {
    const std::wstring path = ModuleFileName(module);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return fileName;
    return path.substr(0, slash + 1) + fileName;
}

}  // namespace zo
