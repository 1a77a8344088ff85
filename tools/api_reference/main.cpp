// zo_api_reference: writes the API reference (docs/api.md) from the type
// libraries embedded in ZoPropList.ocx, or checks that a written one is
// still what the OCX describes.
//
//   zo_api_reference <api.md> [ZoPropList.ocx]           writes the file
//   zo_api_reference --check <api.md> [ZoPropList.ocx]   exit code 1 when it differs
//
// Without an OCX named, the one beside this program is read.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "common/module_file.h"
#include "common/version.h"
#include "markdown_writer.h"
#include "type_library_reader.h"

namespace {

using namespace zo;
using namespace zo::api_reference;

constexpr int kTypeLibraryResources[] = {ZO_RES_TYPELIB_PROPERTYLIST, ZO_RES_TYPELIB_OWNERDRAW};

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

// The document for the OCX's type libraries; nothing when one cannot be loaded.
std::optional<std::string> Generate(const std::wstring& ocx) {
    std::vector<LibraryInfo> libraries;
    for (int resource : kTypeLibraryResources) {
        const std::wstring path = resource == ZO_RES_TYPELIB_PROPERTYLIST ? ocx : ocx + L"\\" + std::to_wstring(resource);
        com_ptr<ITypeLib> library;
        const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
        if (FAILED(hr)) {
            std::fprintf(stderr, "zo_api_reference: cannot load type library %d of %s (0x%08lX)\n", resource,
                         Utf8(ocx).c_str(), static_cast<unsigned long>(hr));
            return std::nullopt;
        }
        libraries.push_back(ReadLibrary(library.get()));
    }
    return Utf8(FormatDocument(libraries));
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    const unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    const unique_hfile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Says where the checked-in document first differs from the generated one.
void ReportDifference(const std::wstring& document, const std::string& checkedIn, const std::string& generated) {
    const std::vector<std::string_view> have = Lines(checkedIn), want = Lines(generated);
    size_t line = 0;
    while (line < have.size() && line < want.size() && have[line] == want[line]) ++line;
    std::fprintf(stderr,
                 "%s is out of date: it differs from what the type libraries in ZoPropList.ocx describe,\n"
                 "first at line %zu:\n  checked in: %s\n  generated:  %s\n",
                 Utf8(document).c_str(), line + 1,
                 line < have.size() ? std::string(have[line]).c_str() : "<end of file>",
                 line < want.size() ? std::string(want[line]).c_str() : "<end of file>");
    const std::wstring fresh = BesideModule(nullptr, L"api.md.generated");
    if (WriteFileBytes(fresh, generated))
        std::fprintf(stderr, "The generated reference is in %s.\n", Utf8(fresh).c_str());
    std::fprintf(stderr,
                 "Regenerate it with: cmake --build build/x86_64 --target zo_api_doc (and commit docs/api.md)\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> arguments(argv + 1, argv + argc);
    const bool check = !arguments.empty() && arguments.front() == L"--check";
    if (check) arguments.erase(arguments.begin());
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: zo_api_reference [--check] <api.md> [ZoPropList.ocx]\n");
        return 2;
    }
    const std::wstring& document = arguments[0];
    const std::wstring ocx = arguments.size() > 1 ? arguments[1] : BesideModule(nullptr, L"ZoPropList.ocx");

    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    const std::optional<std::string> generated = Generate(ocx);
    ::CoUninitialize();
    if (!generated) return 3;

    if (!check) {
        if (WriteFileBytes(document, *generated)) return 0;
        std::fprintf(stderr, "zo_api_reference: cannot write %s\n", Utf8(document).c_str());
        return 3;
    }
    const std::optional<std::string> checkedIn = ReadFileBytes(document);
    if (!checkedIn) {
        std::fprintf(stderr, "zo_api_reference: cannot read %s\n", Utf8(document).c_str());
        return 3;
    }
    if (*checkedIn == *generated) return 0;
    ReportDifference(document, *checkedIn, *generated);
    return 1;
}
