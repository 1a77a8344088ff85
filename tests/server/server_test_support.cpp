#include "server_test_support.h"

#include <cstdio>

#include "common/module_file.h"

namespace zo::server_tests {

namespace {

// A BSTR filled by a type-library call; freed when it goes.
class OutBstr {
public:
    OutBstr() = default;
    OutBstr(const OutBstr&) = delete;
    OutBstr& operator=(const OutBstr&) = delete;
    ~OutBstr() { ::SysFreeString(m_text); }
    BSTR* put() noexcept { ::SysFreeString(m_text); m_text = nullptr; return &m_text; }
    [[nodiscard]] std::wstring str() const {
        return m_text ? std::wstring(m_text, ::SysStringLen(m_text)) : std::wstring();
    }

private:
    BSTR m_text = nullptr;
};

std::wstring Hex(unsigned long value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", value);
    return text;
}

std::wstring RenderMemberId(MEMBERID id) {
    // Small and negative ids (events, standard DISPIDs) read better in decimal.
    if (id >= -1000 && id <= 1000) return std::to_wstring(id);
    return Hex(static_cast<unsigned long>(id));
}

bool IsInheritedDispatchMember(MEMBERID id) {
    // IUnknown (0x60000000..2) and IDispatch (0x60010000..3) as a dispatch
    // view of a dual interface lists them.
    return (id >= 0x60000000 && id <= 0x60000002) || (id >= 0x60010000 && id <= 0x60010003);
}

}  // namespace

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size, nullptr, nullptr);
    return result;
}

std::wstring OcxPath() { return BesideModule(nullptr, L"ZoPropList.ocx"); }

com_ptr<ITypeLib> LoadOcxTypeLib(int resource, HRESULT* result) {
    std::wstring path = OcxPath();
    if (resource != 1) path += L"\\" + std::to_wstring(resource);
    com_ptr<ITypeLib> library;
    const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (result) *result = hr;
    return library;
}

com_ptr<ITypeInfo> TypeInfoOf(ITypeLib* library, REFGUID guid) {
    com_ptr<ITypeInfo> info;
    if (library) (void)library->GetTypeInfoOfGuid(guid, info.put());
    return info;
}

com_ptr<ITypeInfo> InterfaceHalf(ITypeInfo* dual) {
    com_ptr<ITypeInfo> result;
    HREFTYPE handle = 0;
    if (dual && SUCCEEDED(dual->GetRefTypeOfImplType(static_cast<UINT>(-1), &handle)))
        (void)dual->GetRefTypeInfo(handle, result.put());
    return result;
}

com_ptr<ITypeInfo> VtableHalf(ITypeInfo* info) {
    if (!info) return {};
    {
        TypeAttr attr(info);
        if (!attr.get() || attr->typekind != TKIND_DISPATCH) return com_ptr<ITypeInfo>(info);
    }
    com_ptr<ITypeInfo> half = InterfaceHalf(info);
    return half ? half : com_ptr<ITypeInfo>(info);
}

GUID GuidFromString(std::wstring_view text) {
    GUID guid{};
    std::wstring braced = L"{" + std::wstring(text) + L"}";
    if (FAILED(::CLSIDFromString(braced.c_str(), &guid))) return GUID{};
    return guid;
}

std::wstring GuidToString(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

Documentation DocumentationOf(ITypeInfo* info, MEMBERID member) {
    OutBstr name, help;
    if (FAILED(info->GetDocumentation(member, name.put(), help.put(), nullptr, nullptr))) return {};
    return {name.str(), help.str()};
}

Documentation DocumentationOf(ITypeLib* library, int index) {
    OutBstr name, help;
    if (FAILED(library->GetDocumentation(index, name.put(), help.put(), nullptr, nullptr))) return {};
    return {name.str(), help.str()};
}

std::wstring RenderType(ITypeInfo* owner, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_PTR: return RenderType(owner, *type.lptdesc) + L"*";
    case VT_SAFEARRAY: return L"SAFEARRAY(" + RenderType(owner, *type.lptdesc) + L")";
    case VT_USERDEFINED: {
        com_ptr<ITypeInfo> referenced;
        if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put())))
            return L"<unresolved>";
        return DocumentationOf(referenced.get(), MEMBERID_NIL).name;
    }
    case VT_I2: return L"short";
    case VT_I4: return L"long";
    case VT_R4: return L"float";
    case VT_R8: return L"double";
    case VT_INT: return L"int";
    case VT_UI4: return L"unsigned long";
    case VT_BSTR: return L"BSTR";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_VARIANT: return L"VARIANT";
    case VT_DISPATCH: return L"IDispatch*";
    case VT_UNKNOWN: return L"IUnknown*";
    case VT_HRESULT: return L"HRESULT";
    case VT_VOID: return L"void";
    default: return L"<vt " + std::to_wstring(type.vt) + L">";
    }
}

std::wstring RenderVariant(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_I2: return L"I2:" + std::to_wstring(V_I2(&value));
    case VT_I4: return L"I4:" + std::to_wstring(V_I4(&value));
    case VT_INT: return L"INT:" + std::to_wstring(V_INT(&value));
    case VT_BOOL: return L"BOOL:" + std::to_wstring(V_BOOL(&value));
    case VT_BSTR:
        return L"BSTR:\"" + std::wstring(V_BSTR(&value) ? V_BSTR(&value) : L"") + L"\"";
    default: return L"vt" + std::to_wstring(V_VT(&value));
    }
}

std::wstring RenderFunction(ITypeInfo* info, const FUNCDESC& function) {
    std::vector<BSTR> names(static_cast<size_t>(function.cParams) + 1, nullptr);
    UINT count = 0;
    (void)info->GetNames(function.memid, names.data(), static_cast<UINT>(names.size()), &count);
    auto name_at = [&](size_t i) {
        return i < count && names[i] ? std::wstring(names[i]) : std::wstring(L"<unnamed>");
    };

    std::wstring text = L"[id(" + RenderMemberId(function.memid) + L")";
    switch (function.invkind) {
    case INVOKE_PROPERTYGET: text += L", propget"; break;
    case INVOKE_PROPERTYPUT: text += L", propput"; break;
    case INVOKE_PROPERTYPUTREF: text += L", propputref"; break;
    default: break;
    }
    const WORD flags = function.wFuncFlags;
    if (flags & FUNCFLAG_FRESTRICTED) text += L", restricted";
    if (flags & FUNCFLAG_FHIDDEN) text += L", hidden";
    if (flags & FUNCFLAG_FNONBROWSABLE) text += L", nonbrowsable";
    if (flags & FUNCFLAG_FBINDABLE) text += L", bindable";
    if (flags & FUNCFLAG_FDEFAULTBIND) text += L", defaultbind";
    if (flags & FUNCFLAG_FSOURCE) text += L", source";
    text += L"] " + name_at(0) + L"(";

    for (SHORT i = 0; i < function.cParams; ++i) {
        const ELEMDESC& element = function.lprgelemdescParam[i];
        const USHORT param_flags = element.paramdesc.wParamFlags;
        std::wstring attributes;
        auto add = [&](const std::wstring& attribute) {
            attributes += (attributes.empty() ? L"" : L", ") + attribute;
        };
        if (param_flags & PARAMFLAG_FIN) add(L"in");
        if (param_flags & PARAMFLAG_FOUT) add(L"out");
        if (param_flags & PARAMFLAG_FRETVAL) add(L"retval");
        if (param_flags & PARAMFLAG_FLCID) add(L"lcid");
        if (param_flags & PARAMFLAG_FOPT) add(L"optional");
        if ((param_flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex)
            add(L"defaultvalue(" + RenderVariant(element.paramdesc.pparamdescex->varDefaultValue) + L")");
        if (i) text += L", ";
        text += L"[" + attributes + L"] " + RenderType(info, element.tdesc);
        const bool assigned_value = (function.invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) &&
                                    i + 1 == function.cParams;
        if (!assigned_value) text += L" " + name_at(static_cast<size_t>(i) + 1);
    }
    text += L")";
    for (BSTR name : names) ::SysFreeString(name);
    return text;
}

FuncDesc::FuncDesc(ITypeInfo* info, UINT index) : m_info(info) {
    if (FAILED(info->GetFuncDesc(index, &m_desc))) m_desc = nullptr;
}
FuncDesc::~FuncDesc() {
    if (m_desc) m_info->ReleaseFuncDesc(m_desc);
}

TypeAttr::TypeAttr(ITypeInfo* info) : m_info(info) {
    if (FAILED(info->GetTypeAttr(&m_attr))) m_attr = nullptr;
}
TypeAttr::~TypeAttr() {
    if (m_attr) m_info->ReleaseTypeAttr(m_attr);
}

VarDesc::VarDesc(ITypeInfo* info, UINT index) : m_info(info) {
    if (FAILED(info->GetVarDesc(index, &m_desc))) m_desc = nullptr;
}
VarDesc::~VarDesc() {
    if (m_desc) m_info->ReleaseVarDesc(m_desc);
}

std::vector<RenderedFunction> RenderFunctions(ITypeInfo* info) {
    std::vector<RenderedFunction> result;
    if (!info) return result;
    TypeAttr attr(info);
    if (!attr.get()) return result;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDesc function(info, i);
        if (!function.get() || IsInheritedDispatchMember(function->memid)) continue;
        result.push_back({function->memid, function->invkind, function->cParams,
                          function->cParamsOpt, RenderFunction(info, *function.get()),
                          DocumentationOf(info, function->memid).help});
    }
    return result;
}

}  // namespace zo::server_tests
