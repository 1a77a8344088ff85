#include "type_library_reader.h"

#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "markdown_writer.h"

namespace zo::api_reference {

namespace {

// The descriptions a type information hands out and takes back.
class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) : m_info(info) {
        if (FAILED(info->GetTypeAttr(&m_attr))) m_attr = nullptr;
    }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    ~TypeAttr() {
        if (m_attr) m_info->ReleaseTypeAttr(m_attr);
    }
    explicit operator bool() const noexcept { return m_attr != nullptr; }
    const TYPEATTR* operator->() const noexcept { return m_attr; }
    const TYPEATTR& operator*() const noexcept { return *m_attr; }

private:
    ITypeInfo* m_info;
    TYPEATTR* m_attr = nullptr;
};

class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, UINT index) : m_info(info) {
        if (FAILED(info->GetFuncDesc(index, &m_desc))) m_desc = nullptr;
    }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    ~FuncDesc() {
        if (m_desc) m_info->ReleaseFuncDesc(m_desc);
    }
    explicit operator bool() const noexcept { return m_desc != nullptr; }
    const FUNCDESC* operator->() const noexcept { return m_desc; }
    const FUNCDESC& operator*() const noexcept { return *m_desc; }

private:
    ITypeInfo* m_info;
    FUNCDESC* m_desc = nullptr;
};

class VarDesc {
public:
    VarDesc(ITypeInfo* info, UINT index) : m_info(info) {
        if (FAILED(info->GetVarDesc(index, &m_desc))) m_desc = nullptr;
    }
    VarDesc(const VarDesc&) = delete;
    VarDesc& operator=(const VarDesc&) = delete;
    ~VarDesc() {
        if (m_desc) m_info->ReleaseVarDesc(m_desc);
    }
    explicit operator bool() const noexcept { return m_desc != nullptr; }
    const VARDESC* operator->() const noexcept { return m_desc; }

private:
    ITypeInfo* m_info;
    VARDESC* m_desc = nullptr;
};

std::wstring Text(const unique_bstr& text) {
    return text ? std::wstring(text.get(), ::SysStringLen(text.get())) : std::wstring();
}

std::pair<std::wstring, std::wstring> NameAndHelp(ITypeInfo* info, MEMBERID member) {
    BSTR name = nullptr, help = nullptr;
    if (FAILED(info->GetDocumentation(member, &name, &help, nullptr, nullptr))) return {};
    const unique_bstr ownedName(name), ownedHelp(help);
    return {Text(ownedName), Text(ownedHelp)};
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

bool IsInheritedDispatchMember(MEMBERID id) {
    // IUnknown (0x60000000..2) and IDispatch (0x60010000..3) as a dispatch
    // interface lists them.
    return id >= 0x60000000 && id <= 0x60010003;
}

// The names GetNames reports: the member's, then its parameters'.
std::vector<std::wstring> Names(ITypeInfo* info, MEMBERID member, size_t parameters) {
    std::vector<BSTR> names(parameters + 1, nullptr);
    UINT count = 0;
    (void)info->GetNames(member, names.data(), static_cast<UINT>(names.size()), &count);
    std::vector<std::wstring> result;
    for (UINT i = 0; i < count; ++i) {
        const unique_bstr owned(names[i]);
        result.push_back(Text(owned));
    }
    return result;
}

MemberInfo ReadMember(ITypeInfo* info, const FUNCDESC& function) {
    MemberInfo member;
    member.id = function.memid;
    member.kind = function.invkind;
    member.flags = function.wFuncFlags;
    member.help = NameAndHelp(info, function.memid).second;
    const std::vector<std::wstring> names = Names(info, function.memid, static_cast<size_t>(function.cParams));
    member.name = names.empty() ? std::wstring() : names[0];
    for (SHORT i = 0; i < function.cParams; ++i) {
        const ELEMDESC& element = function.lprgelemdescParam[i];
        ParameterInfo parameter;
        // GetNames reports the names of the member's first function (the
        // get), so the value a put assigns would borrow the get's RetVal.
        const bool assignedValue =
            (function.invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) && i + 1 == function.cParams;
        const size_t nameIndex = static_cast<size_t>(i) + 1;
        if (!assignedValue && nameIndex < names.size()) parameter.name = names[nameIndex];
        parameter.type = TypeName(info, element.tdesc);
        parameter.flags = element.paramdesc.wParamFlags;
        if ((parameter.flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex)
            parameter.defaultValue = FormatDefaultValue(element.paramdesc.pparamdescex->varDefaultValue);
        member.parameters.push_back(std::move(parameter));
    }
    return member;
}

// The description whose members a reader of the reference calls: for a dual
// interface its vtable half (HRESULT and [retval] spelled out).
com_ptr<ITypeInfo> MemberSource(ITypeInfo* info, const TYPEATTR& attr) {
    if (attr.typekind == TKIND_DISPATCH && (attr.wTypeFlags & TYPEFLAG_FDUAL)) {
        HREFTYPE handle = 0;
        com_ptr<ITypeInfo> half;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &handle)) &&
            SUCCEEDED(info->GetRefTypeInfo(handle, half.put())))
            return half;
    }
    return com_ptr<ITypeInfo>(info);
}

InterfaceInfo ReadInterface(ITypeInfo* info, const TYPEATTR& attr, bool events) {
    InterfaceInfo result;
    std::tie(result.name, result.help) = NameAndHelp(info, MEMBERID_NIL);
    result.guid = GuidText(attr.guid);
    result.events = events;
    result.kind = attr.typekind == TKIND_INTERFACE        ? InterfaceKind::Custom
                  : (attr.wTypeFlags & TYPEFLAG_FDUAL) ? InterfaceKind::Dual
                                                         : InterfaceKind::Dispatch;
    const com_ptr<ITypeInfo> source = MemberSource(info, attr);
    const TypeAttr sourceAttr(source.get());
    if (!sourceAttr) return result;
    for (UINT i = 0; i < sourceAttr->cFuncs; ++i) {
        const FuncDesc function(source.get(), i);
        if (!function || IsInheritedDispatchMember(function->memid)) continue;
        result.members.push_back(ReadMember(source.get(), *function));
    }
    return result;
}

EnumerationInfo ReadEnumeration(ITypeInfo* info, const TYPEATTR& attr) {
    EnumerationInfo result;
    std::tie(result.name, result.help) = NameAndHelp(info, MEMBERID_NIL);
    for (UINT i = 0; i < attr.cVars; ++i) {
        const VarDesc constant(info, i);
        if (!constant || constant->varkind != VAR_CONST) continue;
        unique_variant value;
        if (FAILED(::VariantChangeType(&value, constant->lpvarValue, 0, VT_I4))) continue;
        result.constants.emplace_back(NameAndHelp(info, constant->memid).first, V_I4(&value));
    }
    return result;
}

ClassInfo ReadClass(ITypeInfo* info, const TYPEATTR& attr, std::set<std::wstring>& sourceGuids) {
    ClassInfo result;
    std::tie(result.name, result.help) = NameAndHelp(info, MEMBERID_NIL);
    result.guid = GuidText(attr.guid);
    for (UINT i = 0; i < attr.cImplTypes; ++i) {
        HREFTYPE handle = 0;
        com_ptr<ITypeInfo> implemented;
        INT flags = 0;
        if (FAILED(info->GetRefTypeOfImplType(i, &handle)) || FAILED(info->GetRefTypeInfo(handle, implemented.put())) ||
            FAILED(info->GetImplTypeFlags(i, &flags)))
            continue;
        const TypeAttr implementedAttr(implemented.get());
        if (implementedAttr && (flags & IMPLTYPEFLAG_FSOURCE)) sourceGuids.insert(GuidText(implementedAttr->guid));
        result.interfaces.push_back(FormatImplementedInterface(NameAndHelp(implemented.get(), MEMBERID_NIL).first, flags));
    }
    return result;
}

}  // namespace

std::wstring TypeName(ITypeInfo* owner, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_PTR: return TypeName(owner, *type.lptdesc) + L"*";
    case VT_SAFEARRAY: return L"SAFEARRAY(" + TypeName(owner, *type.lptdesc) + L")";
    case VT_USERDEFINED: {
        com_ptr<ITypeInfo> referenced;
        if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put()))) return L"<unresolved>";
        return NameAndHelp(referenced.get(), MEMBERID_NIL).first;
    }
    default: return BaseTypeName(type.vt);
    }
}

LibraryInfo ReadLibrary(ITypeLib* library) {
    LibraryInfo result;
    BSTR name = nullptr, help = nullptr;
    if (SUCCEEDED(library->GetDocumentation(-1, &name, &help, nullptr, nullptr))) {
        const unique_bstr ownedName(name), ownedHelp(help);
        result.name = Text(ownedName);
        result.help = Text(ownedHelp);
    }
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attr))) {
        result.guid = GuidText(attr->guid);
        result.version = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
        library->ReleaseTLibAttr(attr);
    }

    // Classes first: they say which interfaces are event interfaces.
    std::vector<com_ptr<ITypeInfo>> types;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        com_ptr<ITypeInfo> info;
        if (SUCCEEDED(library->GetTypeInfo(i, info.put()))) types.push_back(std::move(info));
    }
    std::set<std::wstring> sourceGuids;
    for (const com_ptr<ITypeInfo>& info : types) {
        const TypeAttr typeAttr(info.get());
        if (typeAttr && typeAttr->typekind == TKIND_COCLASS)
            result.classes.push_back(ReadClass(info.get(), *typeAttr, sourceGuids));
    }
    for (const com_ptr<ITypeInfo>& info : types) {
        const TypeAttr typeAttr(info.get());
        if (!typeAttr) continue;
        if (typeAttr->typekind == TKIND_DISPATCH || typeAttr->typekind == TKIND_INTERFACE)
            result.interfaces.push_back(ReadInterface(info.get(), *typeAttr,
                                                      sourceGuids.count(GuidText(typeAttr->guid)) > 0));
        else if (typeAttr->typekind == TKIND_ENUM)
            result.enumerations.push_back(ReadEnumeration(info.get(), *typeAttr));
    }
    return result;
}

}  // namespace zo::api_reference
