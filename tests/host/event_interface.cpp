#include "tests/host/event_interface.h"

#include <ocidl.h>

#include "common/com_ptr.h"
#include "common/handles.h"

namespace zo::test {

namespace {

// The interface's member names, by DISPID.
std::map<DISPID, std::wstring> MemberNames(ITypeInfo* info) {
    std::map<DISPID, std::wstring> names;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return names;
    const WORD functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) continue;
        const MEMBERID member = function->memid;
        info->ReleaseFuncDesc(function);
        BSTR raw = nullptr;
        if (SUCCEEDED(info->GetDocumentation(member, &raw, nullptr, nullptr, nullptr))) {
            unique_bstr name(raw);
            names[member] = std::wstring(raw, ::SysStringLen(raw));
        }
    }
    return names;
}

std::optional<EventInterface> Describe(ITypeInfo* info) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return std::nullopt;
    EventInterface result;
    result.iid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    result.names = MemberNames(info);
    return result;
}

std::optional<EventInterface> FromClassInfo(ITypeInfo* coclass, const IID* iid) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(coclass->GetTypeAttr(&attributes))) return std::nullopt;
    const WORD implemented = attributes->cImplTypes;
    coclass->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < implemented; ++i) {
        INT flags = 0;
        HREFTYPE reference = 0;
        com_ptr<ITypeInfo> source;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FSOURCE)) continue;
        if (FAILED(coclass->GetRefTypeOfImplType(i, &reference)) ||
            FAILED(coclass->GetRefTypeInfo(reference, source.put())))
            continue;
        std::optional<EventInterface> candidate = Describe(source.get());
        if (!candidate) continue;
        if (iid ? candidate->iid == *iid : (flags & IMPLTYPEFLAG_FDEFAULT) != 0) return candidate;
    }
    return std::nullopt;
}

}  // namespace

std::optional<EventInterface> FindEventInterface(IUnknown* control, const IID* iid) {
    if (!control) return std::nullopt;
    com_ptr<IUnknown> object(control);
    if (auto provider = object.query<IProvideClassInfo>()) {
        com_ptr<ITypeInfo> coclass;
        if (SUCCEEDED(provider->GetClassInfo(coclass.put())) && coclass)
            if (auto found = FromClassInfo(coclass.get(), iid)) return found;
    }
    if (!iid) return std::nullopt;
    auto dispatch = object.query<IDispatch>();
    com_ptr<ITypeInfo> info;
    com_ptr<ITypeLib> library;
    UINT index = 0;
    com_ptr<ITypeInfo> source;
    if (!dispatch || FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) || !info ||
        FAILED(info->GetContainingTypeLib(library.put(), &index)) ||
        FAILED(library->GetTypeInfoOfGuid(*iid, source.put())))
        return std::nullopt;
    return Describe(source.get());
}

}  // namespace zo::test
