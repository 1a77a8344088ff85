#include "demo/font_families.h"

#include <windows.h>

#include <algorithm>

#include "common/handles.h"

namespace zo::demo {

namespace {

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM families) noexcept {
    try {
        if (font->lfFaceName[0] != L'@')
            reinterpret_cast<std::vector<std::wstring>*>(families)->emplace_back(font->lfFaceName);
    } catch (...) {
        return 0;  // out of memory: stop listing
    }
    return 1;
}

}  // namespace

std::vector<std::wstring> InstalledFontFamilies() {
    std::vector<std::wstring> families;
    const unique_hdc_window screen(nullptr);
    if (!screen) return families;
    LOGFONTW any{};
    any.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen.get(), &any, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

}  // namespace zo::demo
