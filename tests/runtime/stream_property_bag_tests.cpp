// The property bag behind IPersistStreamInit and IPersistStorage makes the
// objects a stream holds only of the classes the controls store, so that a
// damaged or hostile stream cannot have any other class created and loaded.
#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>

#include "runtime/fonts.h"
#include "runtime/stream_property_bag.h"
#include "tests/host/com_object.h"
#include "tests/host/memory_stream.h"

namespace zo {
namespace {

// {5A0F3C11-6E7B-4D2A-9C1E-3B8F0A7D6E52}: a class of this test only.
constexpr CLSID kForeignClass = {0x5a0f3c11, 0x6e7b, 0x4d2a, {0x9c, 0x1e, 0x3b, 0x8f, 0x0a, 0x7d, 0x6e, 0x52}};

int g_created = 0;

// An object of the foreign class: loads from any stream without reading.
class ForeignObject final : public test::NoTypeInfoDispatch<IDispatch>, public IPersistStream, public test::ComObject {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch) *object = static_cast<IDispatch*>(this);
        if (iid == IID_IPersist || iid == IID_IPersistStream) *object = static_cast<IPersistStream*>(this);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = kForeignClass;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return S_OK; }
    STDMETHODIMP Save(IStream*, BOOL) override { return S_OK; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
};

class ForeignFactory final : public IClassFactory, public test::ComObject {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        ++g_created;
        const com_ptr<IDispatch> created = com_ptr<IDispatch>::attach(new ForeignObject());
        return created->QueryInterface(iid, object);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

// The saved bytes of a bag holding one font.
std::vector<BYTE> SavedFont() {
    StreamPropertyBag* bag = StreamPropertyBag::Create();
    const com_ptr<IFont> font = CreateStdFont(FontDescription{});
    VARIANT value;
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = font.query<IDispatch>().get();
    EXPECT_EQ(bag->Write(L"Font", &value), S_OK);
    test::MemoryStream stream;
    EXPECT_EQ(bag->SaveTo(*stream.get()), S_OK);
    bag->Release();
    return stream.Bytes();
}

HRESULT LoadInto(const std::vector<BYTE>& bytes, VARIANT& font) {
    StreamPropertyBag* bag = StreamPropertyBag::Create();
    const test::MemoryStream stream = test::MemoryStream::FromBytes(bytes);
    HRESULT hr = bag->LoadFrom(*stream.get());
    ::VariantInit(&font);
    V_VT(&font) = VT_DISPATCH;  // the type wanted
    if (SUCCEEDED(hr)) hr = bag->Read(L"Font", &font, nullptr);
    if (FAILED(hr)) ::VariantInit(&font);
    bag->Release();
    return hr;
}

TEST(StreamPropertyBag, AStoredObjectOfAnyClassButAFontOrPictureIsRefusedUnmade) {
    DWORD cookie = 0;
    const com_ptr<IClassFactory> factory = com_ptr<IClassFactory>::attach(new ForeignFactory());
    ASSERT_EQ(::CoRegisterClassObject(kForeignClass, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                      &cookie),
              S_OK);
    const std::vector<BYTE> saved = SavedFont();
    VARIANT font;
    ::VariantInit(&font);
    ASSERT_EQ(LoadInto(saved, font), S_OK) << "a font loads";
    EXPECT_TRUE(com_ptr<IUnknown>(V_UNKNOWN(&font)).query<IFont>());
    ::VariantClear(&font);

    // The same bytes naming the foreign class where the font's class stood.
    std::vector<BYTE> foreign = saved;
    const auto* fontClass = reinterpret_cast<const BYTE*>(&CLSID_StdFont);
    const auto at = std::search(foreign.begin(), foreign.end(), fontClass, fontClass + sizeof(CLSID));
    ASSERT_NE(at, foreign.end());
    std::copy_n(reinterpret_cast<const BYTE*>(&kForeignClass), sizeof(CLSID), at);
    g_created = 0;
    EXPECT_EQ(LoadInto(foreign, font), STG_E_READFAULT);
    EXPECT_EQ(g_created, 0) << "the class the stream named was made";
    ::VariantClear(&font);
    EXPECT_EQ(::CoRevokeClassObject(cookie), S_OK);
}

}  // namespace
}  // namespace zo
