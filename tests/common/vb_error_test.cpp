// The error type: numbers, codes, wording, and how it crosses a COM method.
#include "common/com_ptr.h"
#include "common/handles.h"
#include "common/vb_error.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <string>

namespace zo {
namespace {

std::wstring TextOf(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

TEST(VbError, RuntimeErrorsCarryCodeNumberAndWording) {
    struct Case {
        int number;
        HRESULT scode;
        std::wstring_view description;
    };
    const Case cases[] = {
        {5, static_cast<HRESULT>(0x800A0005), L"Invalid procedure call or argument"},
        {6, static_cast<HRESULT>(0x800A0006), L"Overflow"},
        {9, static_cast<HRESULT>(0x800A0009), L"Subscript out of range"},
        {11, static_cast<HRESULT>(0x800A000B), L"Division by zero"},
        {13, static_cast<HRESULT>(0x800A000D), L"Type mismatch"},
        {91, static_cast<HRESULT>(0x800A005B), L"Object variable or With block variable not set"},
        {380, static_cast<HRESULT>(0x800A017C), L"Invalid property value"},
        {383, static_cast<HRESULT>(0x800A017F), L"Set not supported (read-only property)"},
        {398, static_cast<HRESULT>(0x800A018E), L"Client Site not available"},
        {438, static_cast<HRESULT>(0x800A01B6), L"Object doesn't support this property or method"},
        {31000, static_cast<HRESULT>(0x800A7918), L"Application-defined or object-defined error"},
    };
    for (const Case& c : cases) {
        const VbError error = VbError::Runtime(c.number);
        EXPECT_EQ(error.scode, c.scode) << c.number;
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_TRUE(error.IsRuntime());
        EXPECT_EQ(error.description, c.description);
        EXPECT_EQ(error.source, L"ZoPropertyList");
        EXPECT_EQ(RuntimeErrorCode(c.number), c.scode);
    }
    EXPECT_EQ(VbError::Runtime(9, L"PropertyList.Item").source, L"PropertyList.Item");
}

TEST(VbError, ObjectErrorsKeepTheirCodeAsTheNumber) {
    const VbError error = VbError::Object(static_cast<HRESULT>(0x80040001), L"PropertyList.LongestItem",
                                          L"Property Let not supported.");
    EXPECT_EQ(error.Number(), -2147221503);
    EXPECT_FALSE(error.IsRuntime());
    EXPECT_EQ(error.source, L"PropertyList.LongestItem");
    EXPECT_EQ(error.description, L"Property Let not supported.");
}

TEST(VbError, IsAStandardExceptionWithTheDescriptionInUtf8) {
    try {
        throw VbError::Object(E_FAIL, L"x", L"Gr\u00F6\u00DFe \u20AC");
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
    }
    VbError changed = VbError::Runtime(6);
    changed.description = L"Changed";
    EXPECT_STREQ(changed.what(), "Changed");
}

TEST(VbError, FailedCallsMapToTheRuntimeErrors) {
    struct Case {
        HRESULT hr;
        int number;
        std::wstring_view description;
    };
    const Case cases[] = {
        {DISP_E_TYPEMISMATCH, 13, L"Type mismatch"},
        {DISP_E_OVERFLOW, 6, L"Overflow"},
        {DISP_E_BADINDEX, 9, L"Subscript out of range"},
        {DISP_E_DIVBYZERO, 11, L"Division by zero"},
        {DISP_E_MEMBERNOTFOUND, 438, L"Object doesn't support this property or method"},
        {DISP_E_UNKNOWNNAME, 438, L"Object doesn't support this property or method"},
        {DISP_E_BADPARAMCOUNT, 450, L"Wrong number of arguments or invalid property assignment"},
        {DISP_E_PARAMNOTOPTIONAL, 449, L"Argument not optional"},
        {E_NOINTERFACE, 430, L"Class does not support Automation or does not support expected interface"},
        {E_INVALIDARG, 5, L"Invalid procedure call or argument"},
        {E_OUTOFMEMORY, 7, L"Out of memory"},
        {static_cast<HRESULT>(0x800A005B), 91, L"Object variable or With block variable not set"},
        {static_cast<HRESULT>(0x80040001), -2147221503, L"Automation error"},
        {E_FAIL, static_cast<int>(E_FAIL), L"Automation error"},
    };
    for (const Case& c : cases) {
        const VbError error = VbError::FromHResult(c.hr);
        EXPECT_EQ(error.Number(), c.number) << std::hex << c.hr;
        EXPECT_EQ(error.description, c.description) << std::hex << c.hr;
    }
}

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* info) {
    info->scode = static_cast<HRESULT>(0x80040002);
    info->bstrSource = ::SysAllocString(L"Later");
    info->bstrDescription = ::SysAllocString(L"Filled in later");
    return S_OK;
}

TEST(VbError, ReadsAndEmptiesAnExcepInfo) {
    struct Case {
        HRESULT scode;
        WORD wCode;
        const wchar_t* source;
        const wchar_t* description;
        int number;
        std::wstring_view expectedSource;
        std::wstring_view expectedDescription;
    };
    const Case cases[] = {
        {static_cast<HRESULT>(0x80040001), 0, L"Host.Form1", L"Refused", -2147221503, L"Host.Form1", L"Refused"},
        {static_cast<HRESULT>(0x800A000D), 0, L"Host", nullptr, 13, L"Host", L"Type mismatch"},
        {static_cast<HRESULT>(0x800A000D), 0, L"Host", L"Not a number", 13, L"Host", L"Not a number"},
        {S_OK, 1001, L"Script", L"Own error", 1001, L"Script", L"Own error"},
        {S_OK, 11, nullptr, nullptr, 11, L"", L"Division by zero"},
    };
    for (const Case& c : cases) {
        EXCEPINFO info{};
        info.scode = c.scode;
        info.wCode = c.wCode;
        info.bstrSource = c.source ? ::SysAllocString(c.source) : nullptr;
        info.bstrDescription = c.description ? ::SysAllocString(c.description) : nullptr;
        info.bstrHelpFile = ::SysAllocString(L"help.chm");
        const VbError error = VbError::FromExcepInfo(info);
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_EQ(error.source, c.expectedSource);
        EXPECT_EQ(error.description, c.expectedDescription);
        EXPECT_EQ(info.bstrSource, nullptr);
        EXPECT_EQ(info.bstrDescription, nullptr);
        EXPECT_EQ(info.bstrHelpFile, nullptr);
    }

    EXCEPINFO deferred{};
    deferred.pfnDeferredFillIn = FillInLater;
    const VbError error = VbError::FromExcepInfo(deferred);
    EXPECT_EQ(error.scode, static_cast<HRESULT>(0x80040002));
    EXPECT_EQ(error.source, L"Later");
    EXPECT_EQ(error.description, L"Filled in later");
    EXPECT_EQ(deferred.pfnDeferredFillIn, nullptr);
}

TEST(VbError, FillsAnExcepInfo) {
    EXCEPINFO info{};
    const VbError error = VbError::Object(static_cast<HRESULT>(0x80040001), L"PropertyList.LongestItem",
                                          L"Property Let not supported.");
    EXPECT_EQ(FillExcepInfo(error, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<HRESULT>(0x80040001));
    EXPECT_EQ(info.wCode, 0);
    EXPECT_EQ(TextOf(info.bstrSource), L"PropertyList.LongestItem");
    EXPECT_EQ(TextOf(info.bstrDescription), L"Property Let not supported.");
    unique_bstr source(info.bstrSource), description(info.bstrDescription);
    EXPECT_EQ(FillExcepInfo(error, nullptr), DISP_E_EXCEPTION);
}

class ComErrorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
    void TearDown() override { ::CoUninitialize(); }
};

// {5E1B2C43-9A77-4C1E-8B55-0D7B4E0C1A01}
constexpr GUID kTestInterface = {0x5e1b2c43, 0x9a77, 0x4c1e, {0x8b, 0x55, 0x0d, 0x7b, 0x4e, 0x0c, 0x1a, 0x01}};

TEST_F(ComErrorTest, RaiseComErrorPublishesSourceDescriptionAndInterface) {
    const VbError error = VbError::Runtime(91, L"PropertyList.OwnerDrawSink");
    EXPECT_EQ(RaiseComError(error, kTestInterface), static_cast<HRESULT>(0x800A005B));

    com_ptr<IErrorInfo> info;
    ASSERT_EQ(::GetErrorInfo(0, info.put()), S_OK);
    BSTR source = nullptr, description = nullptr;
    GUID guid{};
    ASSERT_EQ(info->GetSource(&source), S_OK);
    ASSERT_EQ(info->GetDescription(&description), S_OK);
    ASSERT_EQ(info->GetGUID(&guid), S_OK);
    unique_bstr ownedSource(source), ownedDescription(description);
    EXPECT_EQ(TextOf(source), L"PropertyList.OwnerDrawSink");
    EXPECT_EQ(TextOf(description), L"Object variable or With block variable not set");
    EXPECT_TRUE(IsEqualGUID(guid, kTestInterface));
}

// A dual-style object whose only method fails through RaiseComError, called
// late-bound through the standard dispatch implementation: the caller must
// see DISP_E_EXCEPTION and the error in the EXCEPINFO.
class FailingObject {
public:
    struct Vtbl {
        HRESULT(STDMETHODCALLTYPE* QueryInterface)(FailingObject*, REFIID, void**);
        ULONG(STDMETHODCALLTYPE* AddRef)(FailingObject*);
        ULONG(STDMETHODCALLTYPE* Release)(FailingObject*);
        HRESULT(STDMETHODCALLTYPE* Fail)(FailingObject*);
    };
    const Vtbl* vtbl = &kVtbl;
    LONG refs = 1;

private:
    static HRESULT STDMETHODCALLTYPE QueryInterfaceImpl(FailingObject* self, REFIID iid, void** out) {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kTestInterface)) {
            *out = self;
            self->refs++;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static ULONG STDMETHODCALLTYPE AddRefImpl(FailingObject* self) { return ++self->refs; }
    static ULONG STDMETHODCALLTYPE ReleaseImpl(FailingObject* self) { return --self->refs; }
    static HRESULT STDMETHODCALLTYPE FailImpl(FailingObject*) {
        return RaiseComError(VbError::Object(static_cast<HRESULT>(0x80040001), L"PropertyList.LongestItem",
                                             L"Property Let not supported."),
                             kTestInterface);
    }
    static constexpr Vtbl kVtbl = {QueryInterfaceImpl, AddRefImpl, ReleaseImpl, FailImpl};
};

TEST_F(ComErrorTest, DispatchReportsARaisedErrorAsAnException) {
    METHODDATA method{};
    method.szName = const_cast<OLECHAR*>(L"Fail");
    method.dispid = 1;
    method.iMeth = 3;
    method.cc = CC_STDCALL;
    method.wFlags = DISPATCH_METHOD;
    method.vtReturn = VT_HRESULT;
    INTERFACEDATA data{&method, 1};

    com_ptr<ITypeInfo> classInfo;
    ASSERT_EQ(::CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, classInfo.put()), S_OK);
    // CreateDispTypeInfo describes a class; dispatch goes through the
    // interface it implements.
    com_ptr<ITypeInfo> typeInfo;
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(classInfo->GetTypeAttr(&attributes), S_OK);
    const TYPEKIND kind = attributes->typekind;
    classInfo->ReleaseTypeAttr(attributes);
    if (kind == TKIND_COCLASS) {
        HREFTYPE interfaceRef = 0;
        ASSERT_EQ(classInfo->GetRefTypeOfImplType(0, &interfaceRef), S_OK);
        ASSERT_EQ(classInfo->GetRefTypeInfo(interfaceRef, typeInfo.put()), S_OK);
    } else {
        typeInfo = classInfo;
    }
    FailingObject object;
    {
        com_ptr<IUnknown> dispatchUnknown;
        ASSERT_EQ(::CreateStdDispatch(nullptr, &object, typeInfo.get(), dispatchUnknown.put()), S_OK);
        com_ptr<IDispatch> dispatch = dispatchUnknown.query<IDispatch>(IID_IDispatch);
        ASSERT_TRUE(dispatch);

        DISPPARAMS noArguments{};
        EXCEPINFO info{};
        UINT argumentError = 0;
        const HRESULT hr = dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments,
                                            nullptr, &info, &argumentError);
        EXPECT_EQ(hr, DISP_E_EXCEPTION);
        const VbError error = VbError::FromExcepInfo(info);
        EXPECT_EQ(error.Number(), -2147221503);
        EXPECT_EQ(error.source, L"PropertyList.LongestItem");
        EXPECT_EQ(error.description, L"Property Let not supported.");
    }
    EXPECT_EQ(object.refs, 1);
}

}  // namespace
}  // namespace zo
