// Helpers shared by the server tests: locating the built control module,
// loading its embedded type libraries, and rendering type information as
// IDL-like text so that a mismatch shows the whole declaration at once.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"

namespace zo::server_tests {

// The fixed GUIDs of the library. Hosts compile them into their projects, so
// the tests pin them: a changed GUID is a broken release.
inline constexpr std::wstring_view kLibIdZoPropertyList = L"11E06DDC-F4A8-4301-9984-DABC3C45064E";
inline constexpr std::wstring_view kGuidItemTypes = L"6EAAD0C0-F3DA-4A2E-86CA-56600097C7E8";
inline constexpr std::wstring_view kGuidPropBorderStyles = L"C8C51B25-0A6C-4C2C-A0F5-D3DD7313BF61";
inline constexpr std::wstring_view kIidPropertyList = L"B9B67833-4C68-4B48-84E0-9610B3B5B8A5";
inline constexpr std::wstring_view kDiidPropertyListEvents = L"D277326B-E3DD-4044-A8D9-502B304EBB7C";
inline constexpr std::wstring_view kClsidPropertyList = L"94A9973B-51B8-4F4B-9C34-3ECDA5DB2DD4";
inline constexpr std::wstring_view kGuidPickerTypes = L"5B0E7A0D-2F61-4C8B-9B47-4D2E8C1A7F30";
inline constexpr std::wstring_view kGuidZocrBorderStyles = L"0C4B1E52-8D7A-4F3E-A6C9-3B8E5D27F1A4";
inline constexpr std::wstring_view kIidColorPicker = L"E3A5C1F7-6B2D-4E98-8F14-7C0D9A6B2E51";
inline constexpr std::wstring_view kDiidColorPickerEvents = L"9D2F6B83-1A4E-4C57-B0E8-5F3C7A19D462";
inline constexpr std::wstring_view kClsidColorPicker = L"4F81C2D6-7E39-4A05-9B6C-E2D84A37F190";
inline constexpr std::wstring_view kLibIdOwnerDraw = L"C84109DD-6B75-4213-875F-B4708E17AFB7";
inline constexpr std::wstring_view kIidOwnerDrawSink = L"585AC755-CA4B-46E7-BB6F-3114EF7FF483";
// The standard OLE library (stdole2.tlb) and its colour type.
inline constexpr std::wstring_view kLibIdStdOle = L"00020430-0000-0000-C000-000000000046";
inline constexpr std::wstring_view kGuidOleColor = L"66504301-BE0F-101A-8BBB-00AA00300CAB";

// ZoPropList.ocx beside the test executable.
[[nodiscard]] std::wstring OcxPath();

// LoadTypeLibEx(OcxPath() [+ "\\resource"], REGKIND_NONE); null on failure
// (the HRESULT goes to *result when given).
[[nodiscard]] com_ptr<ITypeLib> LoadOcxTypeLib(int resource, HRESULT* result = nullptr);

// The type information with this GUID, or null.
[[nodiscard]] com_ptr<ITypeInfo> TypeInfoOf(ITypeLib* library, REFGUID guid);

// For a dual interface: the vtable (TKIND_INTERFACE) half of its description.
[[nodiscard]] com_ptr<ITypeInfo> InterfaceHalf(ITypeInfo* dual);
// The vtable half of a dual interface, or the description itself when it is
// one already.
[[nodiscard]] com_ptr<ITypeInfo> VtableHalf(ITypeInfo* info);

[[nodiscard]] GUID GuidFromString(std::wstring_view text);
[[nodiscard]] std::wstring GuidToString(REFGUID guid);

// Name, documentation string of a member (MEMBERID_NIL: the type itself).
struct Documentation {
    std::wstring name;
    std::wstring help;
};
[[nodiscard]] Documentation DocumentationOf(ITypeInfo* info, MEMBERID member);
[[nodiscard]] Documentation DocumentationOf(ITypeLib* library, int index);

// A type as IDL spells it: "short", "BSTR*", "SAFEARRAY(BSTR)*",
// "IPropOwnerDrawSink**"; user-defined types by their names.
[[nodiscard]] std::wstring RenderType(ITypeInfo* owner, const TYPEDESC& type);

// The value a parameter defaults to, as "vt:text" ("I2:-1", "BSTR:\"\"").
[[nodiscard]] std::wstring RenderVariant(const VARIANT& value);

// One function as a line of IDL: attributes, name and parameters, e.g.
// [id(0x68030003), propget] Item([in] short Index, [out, retval] BSTR* RetVal)
// (help strings are compared separately, the return type is left out). The
// value a property put assigns is shown without a name: clients never name
// it, and GetNames reports the names of a member's first function (the get).
[[nodiscard]] std::wstring RenderFunction(ITypeInfo* info, const FUNCDESC& function);

// A FUNCDESC / TYPEATTR / VARDESC that is handed back to its ITypeInfo.
class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, UINT index);
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    ~FuncDesc();
    [[nodiscard]] const FUNCDESC* get() const noexcept { return m_desc; }
    const FUNCDESC* operator->() const noexcept { return m_desc; }

private:
    ITypeInfo* m_info;
    FUNCDESC* m_desc = nullptr;
};

class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info);
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    ~TypeAttr();
    [[nodiscard]] const TYPEATTR* get() const noexcept { return m_attr; }
    const TYPEATTR* operator->() const noexcept { return m_attr; }

private:
    ITypeInfo* m_info;
    TYPEATTR* m_attr = nullptr;
};

class VarDesc {
public:
    VarDesc(ITypeInfo* info, UINT index);
    VarDesc(const VarDesc&) = delete;
    VarDesc& operator=(const VarDesc&) = delete;
    ~VarDesc();
    [[nodiscard]] const VARDESC* get() const noexcept { return m_desc; }
    const VARDESC* operator->() const noexcept { return m_desc; }

private:
    ITypeInfo* m_info;
    VARDESC* m_desc = nullptr;
};

// Every function a type describes itself (inherited IUnknown/IDispatch
// members of a dispatch view are skipped), rendered, with its help string.
struct RenderedFunction {
    MEMBERID id;
    INVOKEKIND kind;
    SHORT params;
    SHORT optional_params;
    std::wstring text;
    std::wstring help;
};
[[nodiscard]] std::vector<RenderedFunction> RenderFunctions(ITypeInfo* info);

// Narrow text for test messages.
[[nodiscard]] std::string Narrow(std::wstring_view text);

}  // namespace zo::server_tests
