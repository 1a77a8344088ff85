// DllRegisterServer / DllUnregisterServer of ZoPropList.ocx: the keys a
// container needs to find, create and list the control, and that nothing of
// them is left after unregistering.
//
// The tests redirect HKEY_CLASSES_ROOT of this process to a private key
// (RegOverridePredefKey), so they see exactly what registration writes, and
// the registration other test processes rely on is never touched: the
// control stays registered for them throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "server_test_support.h"

namespace zo::server_tests {
namespace {

using HResultFunction = HRESULT(STDAPICALLTYPE*)();

HResultFunction Export(HMODULE module, const char* name) {
    // FARPROC is the generic export type; the entry points take no argument.
    return reinterpret_cast<HResultFunction>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Key path (relative to the root) -> value name -> rendered data.
using RegistrySnapshot = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

void Capture(HKEY key, const std::wstring& path, RegistrySnapshot& snapshot) {
    auto& values = snapshot[path];
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD name_length = 512;
        BYTE data[2048];
        DWORD data_size = sizeof(data);
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &name_length, nullptr, &type, data, &data_size) != ERROR_SUCCESS)
            break;
        std::wstring rendered;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            rendered.assign(reinterpret_cast<const wchar_t*>(data), data_size / sizeof(wchar_t));
            while (!rendered.empty() && rendered.back() == L'\0') rendered.pop_back();
        } else {
            rendered = L"type" + std::to_wstring(type) + L":";
            for (DWORD i = 0; i < data_size; ++i) rendered += std::to_wstring(data[i]) + L" ";
        }
        values[std::wstring(name, name_length)] = rendered;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD name_length = 512;
        if (::RegEnumKeyExW(key, index, name, &name_length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
        Capture(child, path.empty() ? name : path + L"\\" + name, snapshot);
        ::RegCloseKey(child);
    }
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::wstring Braced(std::wstring_view guid) { return L"{" + std::wstring(guid) + L"}"; }

// The library's public controls, each registered with its own keys.
struct ControlClass {
    std::string name;
    std::wstring_view clsid;
    std::wstring prog_id;
    std::wstring description;
    std::wstring_view iid;
    std::wstring_view events_iid;

    [[nodiscard]] std::wstring ClassKey() const { return L"CLSID\\" + Braced(clsid); }
};

const std::vector<ControlClass>& ControlClasses() {
    static const std::vector<ControlClass> classes{
        {"PropertyList", kClsidPropertyList, L"ZoPropertyList.PropertyList", L"Vantrel PropertyList Control",
         kIidPropertyList, kDiidPropertyListEvents},
        {"ZoColorPicker", kClsidColorPicker, L"ZoPropertyList.ZoColorPicker", L"ZoColorPicker", kIidColorPicker,
         kDiidColorPickerEvents},
    };
    return classes;
}

class ServerRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        m_com_initialised = true;

        m_root_path = L"Software\\ZoPropListTests\\ClassesRoot" + std::to_wstring(::GetCurrentProcessId());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_root_path.c_str());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_root_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &m_root, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root), ERROR_SUCCESS);
        m_overridden = true;

        m_path = OcxPath();
        m_module = ::LoadLibraryW(m_path.c_str());
        ASSERT_NE(m_module, nullptr) << "cannot load " << Narrow(m_path);
        m_register = Export(m_module, "DllRegisterServer");
        m_unregister = Export(m_module, "DllUnregisterServer");
        ASSERT_NE(m_register, nullptr);
        ASSERT_NE(m_unregister, nullptr);
    }

    void TearDown() override {
        if (m_module) ::FreeLibrary(m_module);
        if (m_overridden) ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        if (m_root) ::RegCloseKey(m_root);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_root_path.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_root_path.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\ZoPropListTests");
        if (m_com_initialised) ::CoUninitialize();
    }

    [[nodiscard]] RegistrySnapshot Snapshot() const {
        RegistrySnapshot snapshot;
        Capture(m_root, L"", snapshot);
        return snapshot;
    }

    // Default value (or the named value) of a key under the redirected root;
    // nullopt-like "<missing>" when the key or value is not there.
    [[nodiscard]] std::wstring Read(const std::wstring& key, const wchar_t* value = nullptr) const {
        wchar_t buffer[1024] = {};
        DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
        if (::RegGetValueW(m_root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
            return L"<missing>";
        return buffer;
    }

    [[nodiscard]] bool Exists(const std::wstring& key) const {
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(m_root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        ::RegCloseKey(opened);
        return true;
    }

    [[nodiscard]] std::vector<std::wstring> Subkeys(const std::wstring& key) const {
        std::vector<std::wstring> names;
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(m_root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD length = 256;
            if (::RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        ::RegCloseKey(opened);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Keys that name this library's classes, interfaces or libraries.
    [[nodiscard]] std::vector<std::wstring> OwnKeysIn(const RegistrySnapshot& snapshot) const {
        std::vector<std::wstring> markers{Upper(std::wstring(kLibIdZoPropertyList)),
                                          Upper(std::wstring(kLibIdOwnerDraw)),
                                          Upper(std::wstring(kIidOwnerDrawSink))};
        for (const ControlClass& control : ControlClasses()) {
            for (std::wstring_view guid : {control.clsid, control.iid, control.events_iid})
                markers.push_back(Upper(std::wstring(guid)));
            markers.push_back(Upper(control.prog_id));
        }
        std::vector<std::wstring> own;
        for (const auto& [path, values] : snapshot) {
            const std::wstring upper = Upper(path);
            for (const std::wstring& marker : markers) {
                if (upper.find(marker) != std::wstring::npos) {
                    own.push_back(path);
                    break;
                }
            }
        }
        return own;
    }

    std::wstring m_root_path;
    HKEY m_root = nullptr;
    bool m_overridden = false;
    bool m_com_initialised = false;
    std::wstring m_path;
    HMODULE m_module = nullptr;
    HResultFunction m_register = nullptr;
    HResultFunction m_unregister = nullptr;
};

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST_F(ServerRegistration, RegisteringWritesTheControlClassKeys) {
    ASSERT_HRESULT_SUCCEEDED(m_register());

    const std::wstring misc_status = std::to_wstring(OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                                     OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                                     OLEMISC_SETCLIENTSITEFIRST);
    struct Value {
        std::wstring key;
        const wchar_t* name;
        std::wstring data;
    };
    for (const ControlClass& control : ControlClasses()) {
        SCOPED_TRACE(control.name);
        const std::wstring class_key = control.ClassKey();
        const std::vector<Value> values{
            {class_key, nullptr, control.description},
            {class_key + L"\\MiscStatus", nullptr, L"0"},
            {class_key + L"\\MiscStatus\\1", nullptr, misc_status},
            {class_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {class_key + L"\\ProgID", nullptr, control.prog_id},
            {class_key + L"\\TypeLib", nullptr, Braced(kLibIdZoPropertyList)},
            {class_key + L"\\Version", nullptr, L"1.0"},
            {control.prog_id, nullptr, control.description},
            {control.prog_id + L"\\CLSID", nullptr, Braced(control.clsid)},
        };
        for (const Value& value : values) {
            EXPECT_EQ(Narrow(Upper(Read(value.key, value.name))), Narrow(Upper(value.data)))
                << Narrow(value.key) << " " << (value.name ? Narrow(value.name) : "(default)");
        }
        EXPECT_TRUE(SamePath(Read(class_key + L"\\InprocServer32"), m_path))
            << Narrow(Read(class_key + L"\\InprocServer32"));

        // The control key marks it for containers' toolboxes; it is not
        // offered as an insertable document object.
        const std::vector<std::wstring> expected_subkeys{L"Control", L"InprocServer32", L"MiscStatus", L"ProgID",
                                                         L"ToolboxBitmap32", L"TypeLib", L"Version"};
        EXPECT_EQ(Subkeys(class_key), expected_subkeys);
        EXPECT_EQ(Subkeys(control.prog_id), std::vector<std::wstring>{L"CLSID"});
    }
}

TEST_F(ServerRegistration, ToolboxBitmapNamesASixteenByFifteenBitmapOfTheModule) {
    ASSERT_HRESULT_SUCCEEDED(m_register());
    std::set<int> resources;
    for (const ControlClass& control : ControlClasses()) {
        SCOPED_TRACE(control.name);
        const std::wstring toolbox = Read(control.ClassKey() + L"\\ToolboxBitmap32");
        const size_t comma = toolbox.rfind(L',');
        ASSERT_NE(comma, std::wstring::npos) << Narrow(toolbox);
        EXPECT_TRUE(SamePath(toolbox.substr(0, comma), m_path)) << Narrow(toolbox);
        const int resource = std::stoi(toolbox.substr(comma + 1));
        resources.insert(resource);

        HBITMAP bitmap = static_cast<HBITMAP>(
            ::LoadImageW(m_module, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << "no bitmap resource " << resource;
        BITMAP info{};
        EXPECT_NE(::GetObjectW(bitmap, sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 15);
        ::DeleteObject(bitmap);
    }
    // Each control shows its own picture in a toolbox.
    EXPECT_EQ(resources.size(), ControlClasses().size());
}

TEST_F(ServerRegistration, RegisteringRegistersBothTypeLibrariesFromTheModule) {
    ASSERT_HRESULT_SUCCEEDED(m_register());
    const wchar_t* const platform = sizeof(void*) == 8 ? L"win64" : L"win32";
    struct Library {
        std::wstring_view guid;
        std::wstring path;
        std::wstring description;
    };
    const std::vector<Library> libraries{
        {kLibIdZoPropertyList, m_path, L"Vantrel PropertyList Control"},
        {kLibIdOwnerDraw, m_path + L"\\2", L"Vantrel PropertyList Owner-Draw Interface"},
    };
    for (const Library& library : libraries) {
        SCOPED_TRACE(Narrow(library.guid));
        const std::wstring key = L"TypeLib\\" + Braced(library.guid) + L"\\1.0";
        EXPECT_EQ(Narrow(Read(key)), Narrow(library.description));
        EXPECT_TRUE(SamePath(Read(key + L"\\0\\" + platform), library.path)) << Narrow(Read(key + L"\\0\\" + platform));

        // The registration is usable: the library loads by its GUID.
        com_ptr<ITypeLib> loaded;
        ASSERT_HRESULT_SUCCEEDED(::LoadRegTypeLib(GuidFromString(library.guid), 1, 0, 0, loaded.put()));
        TLIBATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(loaded->GetLibAttr(&attr));
        EXPECT_TRUE(IsEqualGUID(attr->guid, GuidFromString(library.guid)));
        loaded->ReleaseTLibAttr(attr);
    }

    // Interfaces that cross apartments are marshalled from their library;
    // the sink interface belongs to IPropOwnerDraw.
    std::vector<std::pair<std::wstring_view, std::wstring_view>> interfaces{{kIidOwnerDrawSink, kLibIdOwnerDraw}};
    for (const ControlClass& control : ControlClasses()) {
        interfaces.emplace_back(control.iid, kLibIdZoPropertyList);
        interfaces.emplace_back(control.events_iid, kLibIdZoPropertyList);
    }
    for (const auto& [iid, library] : interfaces) {
        EXPECT_EQ(Narrow(Upper(Read(L"Interface\\" + Braced(iid) + L"\\TypeLib"))), Narrow(Upper(Braced(library))))
            << Narrow(iid);
    }
}

TEST_F(ServerRegistration, RegisteringAgainChangesNothing) {
    ASSERT_HRESULT_SUCCEEDED(m_register());
    const RegistrySnapshot first = Snapshot();
    ASSERT_HRESULT_SUCCEEDED(m_register());
    EXPECT_EQ(Snapshot(), first);
}

TEST_F(ServerRegistration, UnregisteringRemovesEveryKeyItWrote) {
    const RegistrySnapshot before = Snapshot();
    ASSERT_HRESULT_SUCCEEDED(m_register());
    for (const ControlClass& control : ControlClasses()) {
        ASSERT_TRUE(Exists(control.ClassKey())) << control.name;
        ASSERT_TRUE(Exists(control.prog_id)) << control.name;
    }

    ASSERT_HRESULT_SUCCEEDED(m_unregister());
    for (const ControlClass& control : ControlClasses()) {
        EXPECT_FALSE(Exists(control.ClassKey())) << control.name;
        EXPECT_FALSE(Exists(control.prog_id)) << control.name;
    }
    const RegistrySnapshot after = Snapshot();
    for (const std::wstring& left : OwnKeysIn(after)) ADD_FAILURE() << "left behind: " << Narrow(left);
    // Apart from our keys, at most the empty parent keys (CLSID, TypeLib,
    // Interface) that registration had to create remain.
    for (const auto& [path, values] : after) {
        if (before.count(path)) continue;
        const std::wstring key = Upper(path);  // registry names ignore case
        EXPECT_TRUE(key == L"CLSID" || key == L"TYPELIB" || key == L"INTERFACE") << Narrow(path);
        EXPECT_TRUE(values.empty()) << Narrow(path);
    }

    // Unregistering again finds nothing to do and says so with success.
    EXPECT_HRESULT_SUCCEEDED(m_unregister());
    EXPECT_TRUE(OwnKeysIn(Snapshot()).empty());
}

TEST_F(ServerRegistration, UnregisteringWhenNothingIsRegisteredSucceedsAndWritesNothing) {
    const RegistrySnapshot before = Snapshot();
    EXPECT_HRESULT_SUCCEEDED(m_unregister());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ServerRegistration, UnregisteringLeavesAProgIdThatAnotherClassNowOwns) {
    const std::wstring other_class = L"{0B9C1C8E-7D1A-4C52-9F0B-2B4E8F3A6D11}";
    for (const ControlClass& control : ControlClasses()) {
        SCOPED_TRACE(control.name);
        ASSERT_HRESULT_SUCCEEDED(m_register());
        HKEY prog_id_class = nullptr;
        ASSERT_EQ(::RegOpenKeyExW(m_root, (control.prog_id + L"\\CLSID").c_str(), 0, KEY_SET_VALUE, &prog_id_class),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(prog_id_class, nullptr, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(other_class.c_str()),
                                   static_cast<DWORD>((other_class.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        ::RegCloseKey(prog_id_class);

        EXPECT_HRESULT_SUCCEEDED(m_unregister());
        EXPECT_EQ(Narrow(Read(control.prog_id + L"\\CLSID")), Narrow(other_class));
        EXPECT_FALSE(Exists(control.ClassKey()));
        ::RegDeleteTreeW(m_root, control.prog_id.c_str());
        ::RegDeleteKeyW(m_root, control.prog_id.c_str());
    }
}

TEST_F(ServerRegistration, AFailedRegistrationReportsTheFailureAndLeavesNothing) {
    // A volatile class key refuses the non-volatile subkeys registration
    // writes beneath it, so registration fails halfway through: at the first
    // control, or after the first control's keys are all written.
    for (const ControlClass& control : ControlClasses()) {
        SCOPED_TRACE(control.name);
        HKEY blocking = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(m_root, control.ClassKey().c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &blocking, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(blocking);

        const HRESULT hr = m_register();
        EXPECT_TRUE(FAILED(hr)) << "registration reported success: 0x" << std::hex << hr;
        for (const std::wstring& left : OwnKeysIn(Snapshot())) ADD_FAILURE() << "left behind: " << Narrow(left);
        ::RegDeleteKeyW(m_root, control.ClassKey().c_str());
    }
}

}  // namespace
}  // namespace zo::server_tests
