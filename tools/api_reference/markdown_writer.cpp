#include "markdown_writer.h"

#include <cstdio>
#include <map>

#include "common/handles.h"

namespace zo::api_reference {

namespace {

// A table cell may not hold a bare "|" or a line break.
std::wstring Cell(const std::wstring& text) {
    std::wstring result;
    for (wchar_t c : text) {
        if (c == L'|') result += L"\\|";
        else if (c == L'\r' || c == L'\n') result += L' ';
        else result += c;
    }
    return result;
}

std::wstring Code(const std::wstring& text) { return text.empty() ? std::wstring() : L"`" + text + L"`"; }

bool IsReturnValue(const ParameterInfo& parameter) { return (parameter.flags & PARAMFLAG_FRETVAL) != 0; }

// What a caller gets back: the [retval] type less the pointer that carries it.
std::wstring ReturnType(const MemberInfo& member) {
    for (const ParameterInfo& parameter : member.parameters) {
        if (!IsReturnValue(parameter)) continue;
        std::wstring type = parameter.type;
        if (!type.empty() && type.back() == L'*') type.pop_back();
        return type;
    }
    return {};
}

std::wstring KindText(const MemberInfo& member) {
    std::wstring text;
    switch (member.kind) {
    case INVOKE_PROPERTYGET: text = L"get"; break;
    case INVOKE_PROPERTYPUT: text = L"put"; break;
    case INVOKE_PROPERTYPUTREF: text = L"putref"; break;
    default: text = L"method"; break;
    }
    const std::pair<WORD, const wchar_t*> flags[] = {
        {FUNCFLAG_FRESTRICTED, L"restricted"}, {FUNCFLAG_FHIDDEN, L"hidden"},
        {FUNCFLAG_FNONBROWSABLE, L"nonbrowsable"}, {FUNCFLAG_FBINDABLE, L"bindable"},
        {FUNCFLAG_FDEFAULTBIND, L"defaultbind"}, {FUNCFLAG_FUIDEFAULT, L"uidefault"}};
    for (const auto& [flag, name] : flags)
        if (member.flags & flag) text += std::wstring(L", ") + name;
    return text;
}

std::wstring InterfaceTitle(const InterfaceInfo& info) {
    if (info.events) return L"event interface";
    switch (info.kind) {
    case InterfaceKind::Dual: return L"dual interface";
    case InterfaceKind::Dispatch: return L"dispatch interface";
    case InterfaceKind::Custom: break;
    }
    return L"interface";
}

void AppendClasses(std::wstring& out, const std::vector<ClassInfo>& classes) {
    if (classes.empty()) return;
    out += L"### Classes\n\n| Class | CLSID | Interfaces | Description |\n|---|---|---|---|\n";
    for (const ClassInfo& info : classes) {
        std::wstring interfaces;
        for (const std::wstring& implemented : info.interfaces)
            interfaces += (interfaces.empty() ? L"" : L"<br>") + Code(implemented);
        out += L"| " + Code(info.name) + L" | " + Code(info.guid) + L" | " + Cell(interfaces) + L" | " +
               Cell(info.help) + L" |\n";
    }
    out += L"\n";
}

void AppendEnumerations(std::wstring& out, const std::vector<EnumerationInfo>& enumerations) {
    if (enumerations.empty()) return;
    out += L"### Enumerations\n\n";
    for (const EnumerationInfo& info : enumerations) {
        out += L"#### " + Code(info.name) + L"\n\n";
        if (!info.help.empty()) out += info.help + L"\n\n";
        out += L"| Constant | Value |\n|---|---:|\n";
        for (const auto& [name, value] : info.constants)
            out += L"| " + Code(name) + L" | " + std::to_wstring(value) + L" |\n";
        out += L"\n";
    }
}

// An interface that a library shares with one written before it (a type it
// uses from another library) is described once, where it first appears.
void AppendInterface(std::wstring& out, const InterfaceInfo& info, std::map<std::wstring, std::wstring>& written,
                     const std::wstring& library) {
    out += L"#### " + Code(info.name) + L" (" + InterfaceTitle(info) + L")\n\n";
    const auto [first, added] = written.emplace(info.guid, library);
    if (!added) {
        out += L"IID " + Code(info.guid) + L": as described under library " + Code(first->second) + L" above.\n\n";
        return;
    }
    out += L"IID " + Code(info.guid) + L"." + (info.help.empty() ? L"" : L" " + info.help) + L"\n\n";
    if (info.members.empty()) {
        out += L"No members.\n\n";
        return;
    }
    out += L"| DISPID | Member | Kind | Arguments | Returns | Description |\n|---:|---|---|---|---|---|\n";
    for (const MemberInfo& member : info.members) out += FormatMemberRow(member) + L"\n";
    out += L"\n";
}

}  // namespace

std::wstring BaseTypeName(VARTYPE vt) {
    switch (vt) {
    case VT_I1: return L"char";
    case VT_UI1: return L"unsigned char";
    case VT_I2: return L"short";
    case VT_UI2: return L"unsigned short";
    case VT_I4: return L"long";
    case VT_UI4: return L"unsigned long";
    case VT_INT: return L"int";
    case VT_UINT: return L"unsigned int";
    case VT_R4: return L"float";
    case VT_R8: return L"double";
    case VT_CY: return L"CURRENCY";
    case VT_DATE: return L"DATE";
    case VT_BSTR: return L"BSTR";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_VARIANT: return L"VARIANT";
    case VT_DISPATCH: return L"IDispatch*";
    case VT_UNKNOWN: return L"IUnknown*";
    case VT_HRESULT: return L"HRESULT";
    case VT_VOID: return L"void";
    case VT_ERROR: return L"SCODE";
    case VT_LPSTR: return L"LPSTR";
    case VT_LPWSTR: return L"LPWSTR";
    default: return L"VARTYPE " + std::to_wstring(vt);
    }
}

std::wstring FormatDefaultValue(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_BSTR: {
        std::wstring text = L"\"";
        const BSTR string = V_BSTR(&value);
        for (UINT i = 0; string && i < ::SysStringLen(string); ++i) {
            if (string[i] == L'"' || string[i] == L'\\') text += L'\\';
            text += string[i];
        }
        return text + L"\"";
    }
    case VT_BOOL: return V_BOOL(&value) ? L"VARIANT_TRUE" : L"VARIANT_FALSE";
    case VT_EMPTY: return L"Empty";
    case VT_NULL: return L"Null";
    default: break;
    }
    // Numbers in the invariant locale, so that the document is the same
    // wherever it is generated. The source is only read; the declaration
    // lacks the const.
    unique_variant text;
    if (FAILED(::VariantChangeTypeEx(&text, const_cast<VARIANT*>(&value), LOCALE_INVARIANT, 0, VT_BSTR)) || !V_BSTR(&text))
        return L"VARTYPE " + std::to_wstring(V_VT(&value));
    return std::wstring(V_BSTR(&text), ::SysStringLen(V_BSTR(&text)));
}

std::wstring FormatImplementedInterface(const std::wstring& name, INT flags) {
    std::wstring attributes;
    const std::pair<INT, const wchar_t*> known[] = {{IMPLTYPEFLAG_FDEFAULT, L"default"},
                                                    {IMPLTYPEFLAG_FSOURCE, L"source"},
                                                    {IMPLTYPEFLAG_FRESTRICTED, L"restricted"},
                                                    {IMPLTYPEFLAG_FDEFAULTVTABLE, L"defaultvtable"}};
    for (const auto& [flag, word] : known)
        if (flags & flag) attributes += (attributes.empty() ? L"" : L", ") + std::wstring(word);
    return attributes.empty() ? name : L"[" + attributes + L"] " + name;
}

std::wstring FormatMemberId(MEMBERID id) {
    if (id >= -1000 && id <= 1000) return std::to_wstring(id);
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(id));
    return text;
}

std::wstring FormatParameter(const ParameterInfo& parameter) {
    std::wstring attributes;
    auto add = [&](const std::wstring& attribute) { attributes += (attributes.empty() ? L"" : L", ") + attribute; };
    if (parameter.flags & PARAMFLAG_FIN) add(L"in");
    if (parameter.flags & PARAMFLAG_FOUT) add(L"out");
    if (parameter.flags & PARAMFLAG_FRETVAL) add(L"retval");
    if (parameter.flags & PARAMFLAG_FLCID) add(L"lcid");
    if (parameter.flags & PARAMFLAG_FOPT) add(L"optional");
    if (parameter.defaultValue) add(L"defaultvalue(" + *parameter.defaultValue + L")");
    std::wstring text = L"[" + attributes + L"] " + parameter.type;
    if (!parameter.name.empty()) text += L" " + parameter.name;
    // [in, out]: the caller's variable is passed, and the callee may change it.
    if ((parameter.flags & PARAMFLAG_FOUT) && !(parameter.flags & PARAMFLAG_FRETVAL)) text += L" (by reference)";
    return text;
}

std::wstring FormatMemberRow(const MemberInfo& member) {
    std::wstring arguments;
    for (const ParameterInfo& parameter : member.parameters) {
        if (IsReturnValue(parameter)) continue;
        arguments += (arguments.empty() ? L"" : L"<br>") + Code(FormatParameter(parameter));
    }
    return L"| " + FormatMemberId(member.id) + L" | " + Code(member.name) + L" | " + KindText(member) + L" | " +
           Cell(arguments) + L" | " + Cell(Code(ReturnType(member))) + L" | " + Cell(member.help) + L" |";
}

std::wstring FormatDocument(const std::vector<LibraryInfo>& libraries) {
    std::wstring out =
        L"# ZoPropList.ocx API reference\n\n"
        L"Generated by `zo_api_reference` from the type libraries embedded in ZoPropList.ocx; do not edit it by\n"
        L"hand (`cmake --build build/x86_64 --target zo_api_doc` writes it again, and the tests fail while it\n"
        L"differs from what the OCX describes). Types and attributes are spelled as in IDL: `[in, out]` with a\n"
        L"pointer type is an argument passed by reference, which the member (or, for an event, the host) may\n"
        L"change; `optional` arguments may be left out, and `defaultvalue(...)` is what a left-out argument\n"
        L"is. Dual interfaces are listed by their vtable half: `Returns` is the `[out, retval]` argument, and\n"
        L"the last, unnamed argument of a `put` or `putref` is the value assigned.\n\n";
    std::map<std::wstring, std::wstring> written;  // IID -> the library whose section describes it
    for (const LibraryInfo& library : libraries) {
        out += L"## Library " + Code(library.name) + L" " + library.version + L"\n\n";
        out += L"LIBID " + Code(library.guid) + L"." + (library.help.empty() ? L"" : L" " + library.help) + L"\n\n";
        AppendClasses(out, library.classes);
        AppendEnumerations(out, library.enumerations);
        if (!library.interfaces.empty()) out += L"### Interfaces\n\n";
        for (const InterfaceInfo& info : library.interfaces) AppendInterface(out, info, written, library.name);
    }
    while (out.size() >= 2 && out[out.size() - 1] == L'\n' && out[out.size() - 2] == L'\n') out.pop_back();
    return out;
}

}  // namespace zo::api_reference
