// The memory property bag, alone and as the standard font object reads it
// through IPersistPropertyBag.
#include <gtest/gtest.h>

#include <olectl.h>

#include "tests/host/ambient_properties.h"
#include "tests/host/com_object.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/gtest_support.h"
#include "tests/host/property_bag.h"

namespace zo::test {
namespace {

HRESULT ReadAs(IPropertyBag* bag, const wchar_t* name, VARTYPE type, Variant& value) {
    value = Variant();
    value.ptr()->vt = type;
    return bag->Read(name, value.ptr(), nullptr);
}

TEST(MemoryPropertyBag, ReadsIgnoreCaseAndConvertToTheRequestedType) {
    MemoryPropertyBag bag;
    bag.Set(L"Caption", L"12");
    bag.Set(L"Enabled", true);
    Variant value;

    const struct {
        const wchar_t* name;
        VARTYPE requested;
        HRESULT hr;
        Variant expected;
    } kCases[] = {
        {L"caption", VT_EMPTY, S_OK, Variant(L"12")},
        {L"CAPTION", VT_I4, S_OK, Variant(12)},
        {L"Caption", VT_I2, S_OK, Variant(std::int16_t{12})},
        {L"enabled", VT_BSTR, S_OK, Variant(L"-1")},  // VariantChangeType's text for True
        {L"Missing", VT_EMPTY, E_INVALIDARG, Variant()},
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(Narrow(test.name));
        EXPECT_EQ(test.hr, ReadAs(bag.get(), test.name, test.requested, value));
        if (SUCCEEDED(test.hr)) {
            EXPECT_EQ(test.expected, value);
        }
    }
    bag.Set(L"Caption", L"twelve");
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ReadAs(bag.get(), L"Caption", VT_I4, value));
    EXPECT_EQ((std::vector<std::wstring>{L"caption", L"CAPTION", L"Caption", L"enabled", L"Missing", L"Caption"}),
              bag.Reads());
}

TEST(MemoryPropertyBag, KeepsKeysInWriteOrderAndReplacesInPlace) {
    MemoryPropertyBag bag;
    Variant one(1), two(2), three(3);
    EXPECT_EQ(S_OK, bag.get()->Write(L"Alpha", one.ptr()));
    EXPECT_EQ(S_OK, bag.get()->Write(L"Beta", two.ptr()));
    EXPECT_EQ(S_OK, bag.get()->Write(L"ALPHA", three.ptr()));
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta"}), bag.Keys());
    EXPECT_EQ(Variant(3), bag.Get(L"alpha").value());
    EXPECT_TRUE(bag.Has(L"beta"));
    EXPECT_FALSE(bag.Get(L"Gamma").has_value());
    bag.Remove(L"ALPHA");
    EXPECT_EQ((std::vector<std::wstring>{L"Beta"}), bag.Keys());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta", L"ALPHA"}), bag.Writes());
}

TEST(MemoryPropertyBag, FailuresAreInjectedPerKeyAndDirection) {
    MemoryPropertyBag bag;
    bag.Set(L"Size", 10);
    bag.FailRead(L"size", E_ACCESSDENIED);
    bag.FailWrite(L"Name", STG_E_MEDIUMFULL);
    Variant value(L"Tahoma");
    EXPECT_EQ(E_ACCESSDENIED, ReadAs(bag.get(), L"Size", VT_EMPTY, value));
    EXPECT_EQ(STG_E_MEDIUMFULL, bag.get()->Write(L"Name", value.ptr()));
    EXPECT_FALSE(bag.Has(L"Name"));
    bag.FailRead(L"Size", S_OK);
    EXPECT_EQ(S_OK, ReadAs(bag.get(), L"Size", VT_EMPTY, value));
    EXPECT_EQ(Variant(10), value);
}

// A real consumer: the font object skips keys the bag lacks (E_INVALIDARG)
// and fails on any other read error.
TEST(MemoryPropertyBag, StandardFontLoadsFromItAndSkipsMissingKeys) {
    com_ptr<IFontDisp> font = MakeFont(L"Tahoma", 9);
    auto persist = font.query<IPersistPropertyBag>();
    ASSERT_TRUE(persist);
    {
        MemoryPropertyBag bag;
        bag.Set(L"size", L"12");  // text, and a key in another case (12 pt is 16 px)
        bag.Set(L"Weight", 700);
        EXPECT_EQ(S_OK, persist->Load(bag.get(), nullptr));
        EXPECT_DOUBLE_EQ(12.0, Get(font.get(), L"Size").value.ToDouble());
        EXPECT_TRUE(Get(font.get(), L"Bold").value.ToBool());
        EXPECT_FALSE(Get(font.get(), L"Italic").value.ToBool());
        EXPECT_TRUE(std::find(bag.Reads().begin(), bag.Reads().end(), L"Italic") != bag.Reads().end());

        bag.FailRead(L"Size", E_FAIL);
        EXPECT_EQ(E_FAIL, persist->Load(bag.get(), nullptr));
    }
    persist = nullptr;
    EXPECT_EQ(0u, ReleaseLast(font));
}

TEST(MemoryPropertyBag, ObjectsByReferenceComeBackAsTheSameObject) {
    com_ptr<IFontDisp> font = MakeFont(L"Tahoma", 12);
    {
        MemoryPropertyBag bag(ObjectStorage::ByReference);
        Variant written(static_cast<IDispatch*>(font.get()));
        EXPECT_EQ(S_OK, bag.get()->Write(L"Font", written.ptr()));
        Variant read;
        EXPECT_EQ(S_OK, ReadAs(bag.get(), L"Font", VT_EMPTY, read));
        EXPECT_EQ(written, read);
    }
    EXPECT_EQ(0u, ReleaseLast(font));
}

// By value, the bag keeps the font's saved state: a later change to the
// original does not reach the copy, and the copy is another object.
TEST(MemoryPropertyBag, ObjectsByValueGoThroughSerialisation) {
    com_ptr<IFontDisp> font = MakeFont(L"Tahoma", 12);
    ASSERT_TRUE(DispOk(Put(font.get(), L"Italic", true)));
    const Variant face = Get(font.get(), L"Name").value;
    {
        MemoryPropertyBag bag(ObjectStorage::ByValue);
        Variant written(static_cast<IDispatch*>(font.get()));
        EXPECT_EQ(S_OK, bag.get()->Write(L"Font", written.ptr()));
        ASSERT_TRUE(DispOk(Put(font.get(), L"Size", 18)));

        Variant read;
        read.ptr()->vt = VT_DISPATCH;
        ASSERT_EQ(S_OK, bag.get()->Read(L"Font", read.ptr(), nullptr));
        ASSERT_EQ(VT_DISPATCH, read.vt());
        EXPECT_FALSE(read == written);
        com_ptr<IDispatch> copy = read.ToDispatch();
        EXPECT_DOUBLE_EQ(12.0, Get(copy.get(), L"Size").value.ToDouble());
        EXPECT_TRUE(Get(copy.get(), L"Italic").value.ToBool());
        EXPECT_EQ(face, Get(copy.get(), L"Name").value);
        read = Variant();
        EXPECT_EQ(0u, ReleaseLast(copy));
    }
    EXPECT_EQ(0u, ReleaseLast(font));
}

}  // namespace
}  // namespace zo::test
