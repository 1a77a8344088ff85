// The IPropOwnerDraw type library embedded in ZoPropList.ocx (TYPELIB 2):
// the sink interface that hosts implement to draw and edit owner-drawn rows.
// The control calls it late-bound by DISPID, so the DISPIDs and the
// by-value/by-reference kind of every argument are the contract.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "member_rendering.h"
#include "server_test_support.h"

namespace zo::server_tests {
namespace {

class OwnerDrawTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        HRESULT hr = E_FAIL;
        m_library = LoadOcxTypeLib(2, &hr);
        ASSERT_TRUE(m_library) << "LoadTypeLibEx(" << Narrow(OcxPath()) << "\\2) failed: 0x" << std::hex << hr;
        m_sink = TypeInfoOf(m_library.get(), GuidFromString(kIidOwnerDrawSink));
        ASSERT_TRUE(m_sink) << "IPropOwnerDrawSink is missing";
    }

    com_ptr<ITypeLib> m_library;
    com_ptr<ITypeInfo> m_sink;
};

TEST_F(OwnerDrawTypeLibrary, LibraryIsASeparateVersionedLibrary) {
    EXPECT_EQ(Narrow(DocumentationOf(m_library.get(), -1).name), "IPropOwnerDraw");
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(m_library->GetLibAttr(&attr));
    EXPECT_EQ(Narrow(GuidToString(attr->guid)), "{" + Narrow(kLibIdOwnerDraw) + "}");
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    m_library->ReleaseTLibAttr(attr);

    // It holds the sink interface and nothing else.
    ASSERT_EQ(m_library->GetTypeInfoCount(), 1u);
    com_ptr<ITypeInfo> only;
    ASSERT_HRESULT_SUCCEEDED(m_library->GetTypeInfo(0, only.put()));
    EXPECT_EQ(Narrow(DocumentationOf(only.get(), MEMBERID_NIL).name), "IPropOwnerDrawSink");
}

TEST_F(OwnerDrawTypeLibrary, SinkIsADualAutomationInterfaceHostsCanImplement) {
    TypeAttr dispatch(m_sink.get());
    EXPECT_EQ(dispatch->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(dispatch->wTypeFlags & TYPEFLAG_FDUAL);
    // Hidden or restricted interfaces cannot be implemented from
    // Automation languages.
    EXPECT_FALSE(dispatch->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FRESTRICTED));

    com_ptr<ITypeInfo> vtable = InterfaceHalf(m_sink.get());
    ASSERT_TRUE(vtable);
    TypeAttr attr(vtable.get());
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    ExpectDerivedFromIDispatch(vtable.get());
}

TEST_F(OwnerDrawTypeLibrary, SinkMethodsHaveTheirDispidsAndArgumentKinds) {
    struct Expected {
        MEMBERID id;
        std::wstring text;
    };
    const std::vector<Expected> expected{
        {0x60030001, L"[id(0x60030001)] CommitEdit([in] BSTR Name)"},
        {0x60030002,
         L"[id(0x60030002)] DrawItem([in] BSTR Name, [in, out] short* ItemIndex, [in] VARIANT_BOOL Selected, "
         L"[in, out] long* hDC, [in] long Left, [in, out] long* Top, [in, out] long* Right, "
         L"[in, out] long* Bottom)"},
        {0x60030003, L"[id(0x60030003)] HideEditor([in] BSTR Name)"},
        {0x60030004,
         L"[id(0x60030004)] ShowEditor([in] BSTR Name, [in, out] short* ItemIndex, [in] long Left, "
         L"[in] long Top, [in] long Width, [in] long Height)"},
    };
    const com_ptr<ITypeInfo> vtable = InterfaceHalf(m_sink.get());
    for (ITypeInfo* view : {m_sink.get(), vtable.get()}) {
        ASSERT_NE(view, nullptr);
        const std::vector<RenderedFunction> actual = RenderFunctions(view);
        ASSERT_EQ(actual.size(), expected.size());
        for (const Expected& method : expected) {
            const auto found = std::find_if(actual.begin(), actual.end(),
                                            [&](const RenderedFunction& f) { return f.id == method.id; });
            ASSERT_NE(found, actual.end()) << "missing DISPID " << std::hex << method.id;
            EXPECT_EQ(found->kind, INVOKE_FUNC);
            EXPECT_EQ(found->optional_params, 0);
            EXPECT_EQ(Narrow(found->text), Narrow(method.text));
            EXPECT_FALSE(found->help.empty()) << Narrow(found->text);
        }
    }
}

TEST_F(OwnerDrawTypeLibrary, SinkMethodsBindByNameForLateBoundHosts) {
    const std::vector<std::pair<std::wstring, MEMBERID>> names{
        {L"commitedit", 0x60030001}, {L"DRAWITEM", 0x60030002}, {L"HideEditor", 0x60030003},
        {L"showeditor", 0x60030004}};
    for (const auto& [name, id] : names) {
        std::wstring buffer = name;
        LPOLESTR names_array[] = {buffer.data()};
        MEMBERID found = DISPID_UNKNOWN;
        EXPECT_HRESULT_SUCCEEDED(m_sink->GetIDsOfNames(names_array, 1, &found)) << Narrow(name);
        EXPECT_EQ(found, id) << Narrow(name);
    }
}

}  // namespace
}  // namespace zo::server_tests
