#include "server/registration.h"

#include <oleauto.h>

#include <array>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

#include "ZoPropertyList.h"
#include "common/com_ptr.h"
#include "common/version.h"

namespace zo {

namespace {

constexpr std::array kControlClasses{
    ControlClassRegistration{
        &CLSID_PropertyList,
        L"ZoPropertyList.PropertyList",
        L"Vantrel PropertyList Control",
        kWindowedControlMiscStatus,
        ZO_RES_TOOLBOX_PROPERTYLIST,
        false,
    },
    ControlClassRegistration{
        &CLSID_ZoColorPicker,
        L"ZoPropertyList.ZoColorPicker",
        L"ZoColorPicker",
        kWindowedControlMiscStatus,
        ZO_RES_TOOLBOX_COLORPICKER,
        false,
    },
};

// The TYPELIB resources of the module, in registration order. The property
// list's library also describes IPropOwnerDrawSink (so that its own
// references resolve without the other library); registering the owner-draw
// library last leaves the sink interface's registry entry pointing at the
// library that owns it.
constexpr std::array kTypeLibraryResources{ZO_RES_TYPELIB_PROPERTYLIST, ZO_RES_TYPELIB_OWNERDRAW};

constexpr wchar_t kControlVersion[] = L"" ZO_TYPELIB_VERSION_STRING;

// An open registry key, closed when it goes.
class unique_hkey {
public:
    unique_hkey() noexcept = default;
    unique_hkey(const unique_hkey&) = delete;
    unique_hkey& operator=(const unique_hkey&) = delete;
    ~unique_hkey() { reset(); }
    [[nodiscard]] HKEY get() const noexcept { return m_key; }
    [[nodiscard]] HKEY* put() noexcept { reset(); return &m_key; }
    void reset(HKEY key = nullptr) noexcept {
        if (m_key) ::RegCloseKey(m_key);
        m_key = key;
    }
    [[nodiscard]] HKEY release() noexcept { return std::exchange(m_key, nullptr); }

private:
    HKEY m_key = nullptr;
};

[[nodiscard]] HRESULT FromWin32(LSTATUS status) noexcept {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

[[nodiscard]] std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
    return text;
}

// Full path of the module; empty (with *result set) on failure.
[[nodiscard]] std::wstring ModulePath(HMODULE module, HRESULT* result) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            const DWORD error = ::GetLastError();
            *result = HRESULT_FROM_WIN32(error ? error : ERROR_MOD_NOT_FOUND);
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            *result = S_OK;
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
}

// "path" for resource 1 (LoadTypeLib's default), "path\N" for another.
[[nodiscard]] std::wstring TypeLibraryPath(const std::wstring& module_path, int resource) {
    if (resource == 1) return module_path;
    return module_path + L"\\" + std::to_wstring(resource);
}

// Creates (or opens) a key under parent and sets its default value when one
// is given.
[[nodiscard]] HRESULT WriteKey(HKEY parent, const std::wstring& subkey, const wchar_t* default_value,
                               unique_hkey* opened = nullptr) noexcept {
    unique_hkey key;
    LSTATUS status = ::RegCreateKeyExW(parent, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return FromWin32(status);
    if (default_value) {
        const auto bytes = static_cast<DWORD>((std::wcslen(default_value) + 1) * sizeof(wchar_t));
        status = ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(default_value), bytes);
        if (status != ERROR_SUCCESS) return FromWin32(status);
    }
    if (opened) opened->reset(key.release());
    return S_OK;
}

[[nodiscard]] HRESULT WriteValue(HKEY key, const wchar_t* name, const std::wstring& value) noexcept {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return FromWin32(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                      bytes));
}

// Deletes a key with everything below it; a key that is not there is fine.
[[nodiscard]] HRESULT DeleteTree(HKEY parent, const std::wstring& subkey) noexcept {
    const LSTATUS status = ::RegDeleteTreeW(parent, subkey.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        // Some systems' RegDeleteTreeW only empties a named key; remove the key too.
        const LSTATUS removed = ::RegDeleteKeyW(parent, subkey.c_str());
        if (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND) return S_OK;
        return FromWin32(removed);
    }
    return FromWin32(status);
}

// The default value of HKCR\<subkey>, or an empty string.
[[nodiscard]] std::wstring ReadDefaultValue(const std::wstring& subkey) {
    wchar_t buffer[256] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer,
                       &bytes) != ERROR_SUCCESS)
        return {};
    return buffer;
}

[[nodiscard]] HRESULT RemoveClassKeys(const ControlClassRegistration& control) {
    const std::wstring clsid = GuidText(*control.clsid);
    HRESULT result = S_OK;
    // A ProgID that now names another class belongs to someone else.
    const std::wstring prog_id_class = ReadDefaultValue(std::wstring(control.prog_id) + L"\\CLSID");
    if (prog_id_class.empty() || _wcsicmp(prog_id_class.c_str(), clsid.c_str()) == 0) {
        if (const HRESULT hr = DeleteTree(HKEY_CLASSES_ROOT, control.prog_id); FAILED(hr)) result = hr;
    }
    if (const HRESULT hr = DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid); FAILED(hr) && SUCCEEDED(result))
        result = hr;
    return result;
}

[[nodiscard]] HRESULT WriteClassKeys(const ControlClassRegistration& control, const std::wstring& module_path) {
    const std::wstring clsid = GuidText(*control.clsid);
    const std::wstring library = GuidText(LIBID_ZoPropertyList);
    const std::wstring class_key = L"CLSID\\" + clsid;

    unique_hkey key;
    HRESULT hr = WriteKey(HKEY_CLASSES_ROOT, class_key, control.description, &key);
    if (FAILED(hr)) return hr;
    HKEY root = key.get();

    const std::wstring misc_status = std::to_wstring(control.misc_status);
    const std::wstring toolbox = module_path + L", " + std::to_wstring(control.toolbox_bitmap);
    unique_hkey server;
    if (FAILED(hr = WriteKey(root, L"Control", nullptr))) return hr;
    if (FAILED(hr = control.insertable ? WriteKey(root, L"Insertable", nullptr) : DeleteTree(root, L"Insertable")))
        return hr;
    if (FAILED(hr = WriteKey(root, L"MiscStatus", L"0"))) return hr;
    if (FAILED(hr = WriteKey(root, L"MiscStatus\\1", misc_status.c_str()))) return hr;
    if (FAILED(hr = WriteKey(root, L"ToolboxBitmap32", toolbox.c_str()))) return hr;
    if (FAILED(hr = WriteKey(root, L"InprocServer32", module_path.c_str(), &server))) return hr;
    if (FAILED(hr = WriteValue(server.get(), L"ThreadingModel", L"Apartment"))) return hr;
    if (FAILED(hr = WriteKey(root, L"ProgID", control.prog_id))) return hr;
    if (FAILED(hr = WriteKey(root, L"TypeLib", library.c_str()))) return hr;
    if (FAILED(hr = WriteKey(root, L"Version", kControlVersion))) return hr;

    unique_hkey prog_id;
    if (FAILED(hr = WriteKey(HKEY_CLASSES_ROOT, control.prog_id, control.description, &prog_id))) return hr;
    if (FAILED(hr = WriteKey(prog_id.get(), L"CLSID", clsid.c_str()))) return hr;
    if (FAILED(hr = control.insertable ? WriteKey(prog_id.get(), L"Insertable", nullptr)
                                       : DeleteTree(prog_id.get(), L"Insertable")))
        return hr;
    return S_OK;
}

[[nodiscard]] HRESULT RegisterTypeLibrary(const std::wstring& path) {
    com_ptr<ITypeLib> library;
    HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    std::wstring full_path = path;  // the declaration takes a non-const OLECHAR*
    return ::RegisterTypeLib(library.get(), full_path.data(), nullptr);
}

[[nodiscard]] const wchar_t* SysKindKey(SYSKIND kind) noexcept {
    switch (kind) {
    case SYS_WIN16: return L"win16";
    case SYS_WIN32: return L"win32";
    case SYS_MAC: return L"mac";
    case SYS_WIN64: return L"win64";
    }
    return L"win32";
}

// Unregisters the library the module carries as this resource, if this
// build of it (its version, locale and bitness) is registered. A library
// registered by the other bitness of the control is left alone.
[[nodiscard]] HRESULT UnregisterTypeLibrary(const std::wstring& path) {
    com_ptr<ITypeLib> library;
    HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    TLIBATTR* attributes = nullptr;
    if (FAILED(hr = library->GetLibAttr(&attributes))) return hr;
    const TLIBATTR attr = *attributes;
    library->ReleaseTLibAttr(attributes);

    wchar_t key[128] = {};
    std::swprintf(key, std::size(key), L"TypeLib\\%ls\\%x.%x\\%lx\\%ls", GuidText(attr.guid).c_str(),
                  attr.wMajorVerNum, attr.wMinorVerNum, static_cast<unsigned long>(attr.lcid),
                  SysKindKey(attr.syskind));
    unique_hkey registered;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, registered.put());
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;
    if (status != ERROR_SUCCESS) return FromWin32(status);
    registered.reset();
    return ::UnRegisterTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid, attr.syskind);
}

}  // namespace

std::span<const ControlClassRegistration> RegisteredControlClasses() noexcept {
    return kControlClasses;
}

HRESULT RegisterServer(HMODULE module) noexcept {
    try {
        HRESULT hr = S_OK;
        const std::wstring path = ModulePath(module, &hr);
        if (FAILED(hr)) return hr;

        // Keys are rewritten in place rather than deleted first, so that a
        // host creating the control meanwhile never finds it unregistered.
        for (const ControlClassRegistration& control : kControlClasses) {
            if (FAILED(hr = WriteClassKeys(control, path))) break;
        }
        if (SUCCEEDED(hr)) {
            for (const int resource : kTypeLibraryResources) {
                if (FAILED(hr = RegisterTypeLibrary(TypeLibraryPath(path, resource)))) break;
            }
        }
        if (FAILED(hr)) (void)UnregisterServer(module);  // leave no half registration
        return hr;
    } catch (...) {
        (void)UnregisterServer(module);
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(HMODULE module) noexcept {
    try {
        HRESULT hr = S_OK;
        const std::wstring path = ModulePath(module, &hr);
        if (FAILED(hr)) return hr;

        // Every step runs even after one fails; the first failure is reported.
        HRESULT result = S_OK;
        for (const ControlClassRegistration& control : kControlClasses) {
            if (FAILED(hr = RemoveClassKeys(control)) && SUCCEEDED(result)) result = hr;
        }
        for (auto resource = kTypeLibraryResources.rbegin(); resource != kTypeLibraryResources.rend();
             ++resource) {
            hr = UnregisterTypeLibrary(TypeLibraryPath(path, *resource));
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
        return result;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace zo
