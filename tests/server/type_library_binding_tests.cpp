// How late-bound calls bind through the ZoPropertyList type library. The
// control's IDispatch forwards to ITypeInfo::Invoke on this library, so the
// defaults, optional arguments and by-reference arguments a script host or
// VB client relies on are decided here, before any control code runs.
//
// The calls go to a recording object laid out as the vtable the library
// describes (slot offsets read from the library itself), so what arrives is
// exactly what the dispatch layer passes for each declaration.
#include <gtest/gtest.h>

#include <olectl.h>

#include <string>
#include <vector>

#include "server_test_support.h"

namespace zo::server_tests {
namespace {

struct Recorder;

// A receiver laid out as a COM object: its first member is the vtable.
struct FakePropertyList {
    void** vtable;
    Recorder* recorder;
};

struct Recorder {
    int unexpected_calls = 0;
    // Add
    int add_calls = 0;
    std::wstring name, content;
    bool content_is_null = false;
    VARIANT_BOOL read_only = 1;
    LONG item_type = -99;
    short index = -99;
    // CommitPending
    int commit_calls = 0;
    bool notify_pointer_null = true;
    VARIANT_BOOL notify_change = 1;
    // ItemType get
    short item_type_index = -99;
    // SetOwnerDrawSink
    IUnknown* sink = nullptr;
    // PopupMenu
    std::vector<VARTYPE> popup_types;
    std::vector<SCODE> popup_codes;
};

Recorder& RecorderOf(void* self) { return *static_cast<FakePropertyList*>(self)->recorder; }

HRESULT STDMETHODCALLTYPE Unexpected(void* self) {
    ++RecorderOf(self).unexpected_calls;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Add(void* self, BSTR name, BSTR content, VARIANT_BOOL read_only, LONG item_type,
                              short index) {
    Recorder& r = RecorderOf(self);
    ++r.add_calls;
    r.name = name ? name : L"";
    r.content_is_null = content == nullptr;
    r.content = content ? content : L"";
    r.read_only = read_only;
    r.item_type = item_type;
    r.index = index;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CommitPending(void* self, VARIANT_BOOL* notify_change) {
    Recorder& r = RecorderOf(self);
    ++r.commit_calls;
    r.notify_pointer_null = notify_change == nullptr;
    if (notify_change) r.notify_change = *notify_change;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetItemType(void* self, short* index, LONG* result) {
    Recorder& r = RecorderOf(self);
    r.item_type_index = index ? *index : -1;
    if (index) *index = 42;  // a by-reference argument: the caller sees this
    *result = 4;             // ZoPropOleColor
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SetOwnerDrawSink(void* self, IUnknown** sink) {
    RecorderOf(self).sink = sink ? *sink : nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PopupMenu(void* self, IDispatch** /*menu*/, VARIANT* flags, VARIANT* x, VARIANT* y,
                                    VARIANT* default_menu) {
    Recorder& r = RecorderOf(self);
    for (VARIANT* v : {flags, x, y, default_menu}) {
        r.popup_types.push_back(v ? V_VT(v) : static_cast<VARTYPE>(VT_ILLEGAL));
        r.popup_codes.push_back(v && V_VT(v) == VT_ERROR ? V_ERROR(v) : S_OK);
    }
    return S_OK;
}

class PropertyListBinding : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = LoadOcxTypeLib(1);
        ASSERT_TRUE(m_library);
        m_dispatch = TypeInfoOf(m_library.get(), GuidFromString(kIidPropertyList));
        ASSERT_TRUE(m_dispatch);
        m_vtable_info = InterfaceHalf(m_dispatch.get());
        ASSERT_TRUE(m_vtable_info);

        TypeAttr attr(m_vtable_info.get());
        m_slots.assign(attr->cbSizeVft / sizeof(void*), reinterpret_cast<void*>(&Unexpected));
        Place(0x6003002A, INVOKE_FUNC, reinterpret_cast<void*>(&Add));
        Place(0x60030069, INVOKE_FUNC, reinterpret_cast<void*>(&CommitPending));
        Place(0x6803002E, INVOKE_PROPERTYGET, reinterpret_cast<void*>(&GetItemType));
        Place(0x6003006A, INVOKE_FUNC, reinterpret_cast<void*>(&SetOwnerDrawSink));
        Place(0x60030026, INVOKE_FUNC, reinterpret_cast<void*>(&PopupMenu));
        m_object = {m_slots.data(), &m_recorder};
    }

    void Place(MEMBERID id, INVOKEKIND kind, void* function) {
        TypeAttr attr(m_vtable_info.get());
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FuncDesc desc(m_vtable_info.get(), i);
            if (desc->memid == id && desc->invkind == kind) {
                m_slots.at(static_cast<size_t>(desc->oVft) / sizeof(void*)) = function;
                return;
            }
        }
        ADD_FAILURE() << "no function " << std::hex << id;
    }

    // Positional arguments in call order (they are passed reversed).
    HRESULT Invoke(MEMBERID id, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                          static_cast<UINT>(reversed.size()), 0};
        EXCEPINFO exception{};
        UINT argument_error = 0;
        return m_vtable_info->Invoke(&m_object, id, flags, &params, result, &exception, &argument_error);
    }

    com_ptr<ITypeLib> m_library;
    com_ptr<ITypeInfo> m_dispatch;
    com_ptr<ITypeInfo> m_vtable_info;
    std::vector<void*> m_slots;
    Recorder m_recorder;
    FakePropertyList m_object{};
};

VARIANT BstrArg(const wchar_t* text) {
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = const_cast<BSTR>(text);  // read only by Invoke; never freed here
    return v;
}

TEST_F(PropertyListBinding, AddWithOnlyANameReceivesTheDeclaredDefaults) {
    BSTR name = ::SysAllocString(L"A");
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x6003002A, DISPATCH_METHOD, {BstrArg(name)}));
    ::SysFreeString(name);

    EXPECT_EQ(m_recorder.add_calls, 1);
    EXPECT_EQ(m_recorder.unexpected_calls, 0);
    EXPECT_EQ(Narrow(m_recorder.name), "A");
    EXPECT_EQ(Narrow(m_recorder.content), "");
    EXPECT_EQ(m_recorder.read_only, VARIANT_FALSE);
    EXPECT_EQ(m_recorder.item_type, 0);  // ZoPropStringValue
    EXPECT_EQ(m_recorder.index, -1);     // append
}

TEST_F(PropertyListBinding, CommitPendingTakesItsFlagByReference) {
    // Only the explicit form is bound here. With the argument omitted, the
    // dispatch layer of some platforms (Wine's ITypeInfo::Invoke) passes the
    // declared default True by value where the method expects a pointer, so
    // the control's IDispatch supplies omitted by-reference defaults itself;
    // its own tests cover that call.
    VARIANT_BOOL flag = VARIANT_FALSE;
    VARIANT notify;
    V_VT(&notify) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&notify) = &flag;
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x60030069, DISPATCH_METHOD, {notify}));
    EXPECT_EQ(m_recorder.commit_calls, 1);
    EXPECT_FALSE(m_recorder.notify_pointer_null);
    EXPECT_EQ(m_recorder.notify_change, VARIANT_FALSE);

    // A plain Boolean value is accepted too and arrives through a pointer.
    VARIANT by_value;
    V_VT(&by_value) = VT_BOOL;
    V_BOOL(&by_value) = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x60030069, DISPATCH_METHOD, {by_value}));
    EXPECT_EQ(m_recorder.commit_calls, 2);
    EXPECT_FALSE(m_recorder.notify_pointer_null);
    EXPECT_EQ(m_recorder.notify_change, VARIANT_TRUE);
}

TEST_F(PropertyListBinding, ItemTypeTakesItsIndexByReference) {
    short index = 3;
    VARIANT by_ref;
    V_VT(&by_ref) = VT_I2 | VT_BYREF;
    V_I2REF(&by_ref) = &index;
    VARIANT result;
    ::VariantInit(&result);
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x6803002E, DISPATCH_PROPERTYGET, {by_ref}, &result));
    EXPECT_EQ(m_recorder.item_type_index, 3);
    EXPECT_EQ(index, 42) << "the index was passed by value";
    VARIANT as_long;
    ::VariantInit(&as_long);
    ASSERT_HRESULT_SUCCEEDED(::VariantChangeType(&as_long, &result, 0, VT_I4));
    EXPECT_EQ(V_I4(&as_long), 4);
    ::VariantClear(&result);
}

TEST_F(PropertyListBinding, PopupMenuReportsOmittedOptionalArgumentsAsMissing) {
    VARIANT menu;
    V_VT(&menu) = VT_DISPATCH;
    V_DISPATCH(&menu) = nullptr;
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x60030026, DISPATCH_METHOD, {menu}));
    ASSERT_EQ(m_recorder.popup_types.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(m_recorder.popup_types[i], VT_ERROR) << i;
        EXPECT_EQ(m_recorder.popup_codes[i], DISP_E_PARAMNOTFOUND) << i;
    }
}

TEST_F(PropertyListBinding, SetOwnerDrawSinkBindsWithoutTheOwnerDrawLibraryRegistered) {
    // The argument's interface type is described inside this library, so
    // the call binds from the module alone. Any dispatch object will do as
    // the sink here: a standard font.
    FONTDESC description{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {100000, 0}, FW_NORMAL,
                         ANSI_CHARSET, FALSE, FALSE, FALSE};
    com_ptr<IDispatch> font;
    ASSERT_HRESULT_SUCCEEDED(::OleCreateFontIndirect(&description, IID_IDispatch, font.put_void()));
    VARIANT sink;
    V_VT(&sink) = VT_DISPATCH;
    V_DISPATCH(&sink) = font.get();
    ASSERT_HRESULT_SUCCEEDED(Invoke(0x6003006A, DISPATCH_METHOD, {sink}));
    EXPECT_NE(m_recorder.sink, nullptr);
    EXPECT_EQ(m_recorder.unexpected_calls, 0);
}

}  // namespace
}  // namespace zo::server_tests
