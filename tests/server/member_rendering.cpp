#include "member_rendering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

namespace zo::server_tests {

namespace {

bool IsInheritedDispatchMember(MEMBERID id) {
    // IUnknown (0x60000000..2) and IDispatch (0x60010000..3) as a dispatch
    // view of a dual interface lists them.
    return id >= 0x60000000 && id <= 0x60010003;
}

}  // namespace

void ExpectMembersAre(ITypeInfo* info, const ExpectedMembers& expected) {
    ASSERT_NE(info, nullptr);
    const std::vector<RenderedFunction> actual = RenderFunctions(info);

    std::set<std::pair<MEMBERID, int>> seen;
    for (const RenderedFunction& function : actual) {
        SCOPED_TRACE(Narrow(function.text));
        EXPECT_TRUE(seen.insert({function.id, function.kind}).second) << "declared twice";
        const auto [first, last] = expected.equal_range(function.id);
        const auto match =
            std::find_if(first, last, [&](const auto& entry) { return entry.second.kind == function.kind; });
        if (match == last) {
            ADD_FAILURE() << "unexpected member";
            continue;
        }
        EXPECT_EQ(Narrow(function.text), Narrow(match->second.text));
        EXPECT_EQ(function.params, match->second.params);
        EXPECT_EQ(function.optional_params, match->second.optional_params);
        EXPECT_EQ(Narrow(function.help), Narrow(match->second.help));
    }
    for (const auto& [id, member] : expected) {
        EXPECT_TRUE(seen.count({id, member.kind})) << "missing: " << Narrow(member.text);
    }
    EXPECT_EQ(actual.size(), expected.size());
}

void ExpectEventsAre(ITypeInfo* events, const std::vector<ExpectedEvent>& expected) {
    ASSERT_NE(events, nullptr);
    TypeAttr attr(events);
    ASSERT_TRUE(attr.get());
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_FALSE(attr->wTypeFlags & TYPEFLAG_FDUAL) << "an event interface is a pure dispinterface";

    const std::vector<RenderedFunction> actual = RenderFunctions(events);
    ASSERT_EQ(actual.size(), expected.size());
    for (const ExpectedEvent& event : expected) {
        const auto found = std::find_if(actual.begin(), actual.end(),
                                        [&](const RenderedFunction& f) { return f.id == event.id; });
        ASSERT_NE(found, actual.end()) << "missing event " << event.id;
        EXPECT_EQ(found->kind, INVOKE_FUNC);
        EXPECT_EQ(Narrow(found->text), Narrow(event.text));
        EXPECT_EQ(Narrow(found->help), Narrow(event.help));
    }
}

void ExpectDispatchViewMatches(ITypeInfo* dispatch, ITypeInfo* vtable) {
    ASSERT_NE(dispatch, nullptr);
    ASSERT_NE(vtable, nullptr);
    std::map<std::pair<MEMBERID, int>, WORD> vtable_flags;
    TypeAttr vtable_attr(vtable);
    for (UINT i = 0; i < vtable_attr->cFuncs; ++i) {
        FuncDesc function(vtable, i);
        vtable_flags[{function->memid, function->invkind}] = function->wFuncFlags;
    }
    std::map<std::pair<MEMBERID, int>, WORD> dispatch_flags;
    TypeAttr dispatch_attr(dispatch);
    for (UINT i = 0; i < dispatch_attr->cFuncs; ++i) {
        FuncDesc function(dispatch, i);
        if (IsInheritedDispatchMember(function->memid)) continue;
        EXPECT_EQ(function->funckind, FUNC_DISPATCH);
        dispatch_flags[{function->memid, function->invkind}] = function->wFuncFlags;
    }
    EXPECT_EQ(dispatch_flags, vtable_flags);
}

void ExpectHiddenNonextensibleDual(ITypeInfo* dispatch, ITypeInfo* vtable) {
    ASSERT_NE(dispatch, nullptr);
    ASSERT_NE(vtable, nullptr);
    TypeAttr dispatch_attr(dispatch);
    ASSERT_TRUE(dispatch_attr.get());
    EXPECT_EQ(dispatch_attr->typekind, TKIND_DISPATCH);
    const WORD expected = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE;
    EXPECT_EQ(dispatch_attr->wTypeFlags & expected, expected) << std::hex << dispatch_attr->wTypeFlags;

    TypeAttr vtable_attr(vtable);
    ASSERT_TRUE(vtable_attr.get());
    EXPECT_EQ(vtable_attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(vtable_attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) << std::hex << vtable_attr->wTypeFlags;
    EXPECT_TRUE(vtable_attr->wTypeFlags & TYPEFLAG_FDUAL) << std::hex << vtable_attr->wTypeFlags;
    EXPECT_FALSE(vtable_attr->wTypeFlags & TYPEFLAG_FRESTRICTED);

    ExpectDerivedFromIDispatch(vtable);
}

void ExpectDerivedFromIDispatch(ITypeInfo* vtable) {
    TypeAttr vtable_attr(vtable);
    ASSERT_TRUE(vtable_attr.get());
    ASSERT_EQ(vtable_attr->cImplTypes, 1);
    HREFTYPE base_handle = 0;
    ASSERT_HRESULT_SUCCEEDED(vtable->GetRefTypeOfImplType(0, &base_handle));
    com_ptr<ITypeInfo> base;
    ASSERT_HRESULT_SUCCEEDED(vtable->GetRefTypeInfo(base_handle, base.put()));
    TypeAttr base_attr(base.get());
    EXPECT_TRUE(IsEqualGUID(base_attr->guid, IID_IDispatch));
}

void ExpectEnumeration(ITypeLib* library, const ExpectedEnumeration& expected) {
    com_ptr<ITypeInfo> info = TypeInfoOf(library, GuidFromString(expected.guid));
    ASSERT_TRUE(info) << "no type " << Narrow(expected.guid);
    TypeAttr attr(info.get());
    ASSERT_TRUE(attr.get());
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    EXPECT_FALSE(attr->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FRESTRICTED));
    EXPECT_EQ(Narrow(DocumentationOf(info.get(), MEMBERID_NIL).name), expected.name);

    std::vector<std::pair<std::string, LONG>> members;
    for (UINT i = 0; i < attr->cVars; ++i) {
        VarDesc var(info.get(), i);
        ASSERT_TRUE(var.get());
        ASSERT_EQ(var->varkind, VAR_CONST);
        VARIANT value;
        ::VariantInit(&value);
        ASSERT_HRESULT_SUCCEEDED(::VariantChangeType(&value, var->lpvarValue, 0, VT_I4));
        members.emplace_back(Narrow(DocumentationOf(info.get(), var->memid).name), V_I4(&value));
    }
    EXPECT_EQ(members, expected.members);
}

void ExpectCreatableControl(ITypeLib* library, std::wstring_view clsid, const std::string& name,
                            std::wstring_view iid, std::wstring_view events_iid) {
    com_ptr<ITypeInfo> coclass = TypeInfoOf(library, GuidFromString(clsid));
    ASSERT_TRUE(coclass) << "no class " << Narrow(clsid);
    TypeAttr attr(coclass.get());
    ASSERT_TRUE(attr.get());
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_EQ(Narrow(DocumentationOf(coclass.get(), MEMBERID_NIL).name), name);
    EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL),
              TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
    EXPECT_FALSE(attr->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FRESTRICTED | TYPEFLAG_FNONEXTENSIBLE));

    std::vector<std::pair<std::string, INT>> interfaces;
    for (UINT i = 0; i < attr->cImplTypes; ++i) {
        HREFTYPE handle = 0;
        ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(i, &handle));
        com_ptr<ITypeInfo> implemented;
        ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(handle, implemented.put()));
        INT flags = 0;
        ASSERT_HRESULT_SUCCEEDED(coclass->GetImplTypeFlags(i, &flags));
        TypeAttr implemented_attr(implemented.get());
        interfaces.emplace_back(Narrow(GuidToString(implemented_attr->guid)), flags);
    }
    const std::vector<std::pair<std::string, INT>> expected{
        {NarrowBraced(iid), IMPLTYPEFLAG_FDEFAULT},
        {NarrowBraced(events_iid), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
    };
    EXPECT_EQ(interfaces, expected);
}

std::vector<MEMBERID> IdsOfNames(ITypeInfo* info, std::vector<std::wstring> names) {
    std::vector<LPOLESTR> pointers;
    for (std::wstring& name : names) pointers.push_back(name.data());
    std::vector<MEMBERID> ids(pointers.size(), DISPID_UNKNOWN);
    EXPECT_HRESULT_SUCCEEDED(info->GetIDsOfNames(pointers.data(), static_cast<UINT>(pointers.size()), ids.data()));
    return ids;
}

com_ptr<ITypeInfo> ParameterType(ITypeInfo* info, MEMBERID id, INVOKEKIND kind) {
    TypeAttr attr(info);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDesc function(info, i);
        if (function->memid != id || function->invkind != kind || function->cParams < 1) continue;
        const TYPEDESC* type = &function->lprgelemdescParam[0].tdesc;
        while (type->vt == VT_PTR) type = type->lptdesc;
        com_ptr<ITypeInfo> referenced;
        if (type->vt == VT_USERDEFINED) (void)info->GetRefTypeInfo(type->hreftype, referenced.put());
        return referenced;
    }
    return {};
}

std::string ContainingLibrary(ITypeInfo* info) {
    com_ptr<ITypeLib> library;
    UINT index = 0;
    if (FAILED(info->GetContainingTypeLib(library.put(), &index))) return "<none>";
    TLIBATTR* attr = nullptr;
    if (FAILED(library->GetLibAttr(&attr))) return "<none>";
    std::string guid = Narrow(GuidToString(attr->guid));
    library->ReleaseTLibAttr(attr);
    return guid;
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::map<std::wstring, std::set<std::wstring>> SpellingsOf(ITypeLib* library) {
    std::vector<std::wstring> names;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        com_ptr<ITypeInfo> info;
        if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
        const com_ptr<ITypeInfo> vtable = VtableHalf(info.get());
        for (ITypeInfo* view : {info.get(), vtable.get()}) {
            names.push_back(DocumentationOf(view, MEMBERID_NIL).name);
            TypeAttr attr(view);
            for (UINT f = 0; f < attr->cFuncs; ++f) {
                FuncDesc function(view, f);
                std::vector<BSTR> found(static_cast<size_t>(function->cParams) + 1, nullptr);
                UINT count = 0;
                if (SUCCEEDED(view->GetNames(function->memid, found.data(), static_cast<UINT>(found.size()), &count))) {
                    for (UINT n = 0; n < count; ++n) {
                        if (found[n]) names.emplace_back(found[n]);
                    }
                }
                for (BSTR name : found) ::SysFreeString(name);
            }
            for (UINT v = 0; v < attr->cVars; ++v) {
                VarDesc var(view, v);
                names.push_back(DocumentationOf(view, var->memid).name);
            }
        }
    }
    std::map<std::wstring, std::set<std::wstring>> spellings;
    for (const std::wstring& name : names) spellings[Lower(name)].insert(name);
    return spellings;
}

std::string NarrowBraced(std::wstring_view guid) { return "{" + Narrow(guid) + "}"; }

}  // namespace zo::server_tests
