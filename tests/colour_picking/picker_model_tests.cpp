// The picker's state as a host sees it: the default palette, the keys it is
// saved under, the 64-Long stream and the current colour.
#include <array>

#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/memory_stream.h"
#include "tests/host/property_bag.h"

namespace zo::test {

namespace {

constexpr SCODE kSubscriptOutOfRange = static_cast<SCODE>(0x800A0009);

// The Long array argument of StreamSerialize/StreamRead: a by-reference
// SAFEARRAY(long) of the caller's.
Variant ArrayRef(SAFEARRAY** array) {
    VARIANT ref;
    V_VT(&ref) = VT_ARRAY | VT_I4 | VT_BYREF;
    V_ARRAYREF(&ref) = array;
    return Variant::Attach(ref);
}

// A vector of Longs with bounds lower .. lower + values.size() - 1.
SAFEARRAY* LongArray(const std::vector<int32_t>& values, LONG lower) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lower};
    SAFEARRAY* array = ::SafeArrayCreate(VT_I4, 1, &bound);
    for (size_t i = 0; i < values.size(); ++i) {
        LONG index = lower + static_cast<LONG>(i);
        LONG value = values[i];
        ::SafeArrayPutElement(array, &index, &value);
    }
    return array;
}

std::vector<int32_t> Sequence(int count, int32_t first) {
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(first + i);
    return values;
}

using PickerModelTest = PickerTest;

TEST_F(PickerModelTest, ANewPickerHasTheDefaultPaletteWithWhiteUserRows) {
    EXPECT_EQ(Colors(1, 1), 0x00FFFFFF);
    EXPECT_EQ(Colors(2, 3), 0x000000FF) << "pure red";
    EXPECT_EQ(Colors(7, 3), 0x00FF0000) << "pure blue";
    EXPECT_EQ(Colors(8, 6), 0x00400040);
    EXPECT_EQ(Colors(1, 6), 0x00000000);
    EXPECT_EQ(Colors(4, 4), 0x0000C0C0);
    for (int y = 7; y <= 8; ++y)
        for (int x = 1; x <= 8; ++x) EXPECT_EQ(Colors(x, y), 0x00FFFFFF) << x << ", " << y;
    EXPECT_EQ(Color(), 0);
}

TEST_F(PickerModelTest, CellsOutsideTheGridReadZeroAndIgnoreWrites) {
    EXPECT_EQ(Colors(0, 1), 0);
    EXPECT_EQ(Colors(9, 1), 0);
    EXPECT_EQ(Colors(1, -1), 0);
    SetColors(9, 9, 0x00ABCDEF);
    SetColors(0, 0, 0x00ABCDEF);
    SetColors(1, 9, 0x00ABCDEF);
    for (int y = 1; y <= 8; ++y)
        for (int x = 1; x <= 8; ++x) EXPECT_NE(Colors(x, y), 0x00ABCDEF) << x << ", " << y;
    SetColors(3, 5, 0x123456);
    EXPECT_EQ(Colors(3, 5), 0x123456);
}

TEST_F(PickerModelTest, SavingWritesOnlyNonWhiteCellsColumnByColumnAndReadsBackExactly) {
    MemoryPropertyBag bag;
    ASSERT_EQ(container.Save(bag.get()), S_OK);
    EXPECT_FALSE(bag.Has(L"Colors11")) << "white is the default";
    EXPECT_FALSE(bag.Has(L"Colors17"));
    EXPECT_FALSE(bag.Has(L"Colors88"));
    EXPECT_EQ(bag.Get(L"Colors12")->ToLong(), 0x00E0E0E0) << "column 1, row 2";
    EXPECT_EQ(bag.Get(L"Colors21")->ToLong(), 0x00C0C0FF) << "column 2, row 1";
    // Column by column: Colors12 .. Colors16 come before Colors21.
    const std::vector<std::wstring> keys = bag.Keys();
    auto position = [&](const wchar_t* key) { return std::find(keys.begin(), keys.end(), key) - keys.begin(); };
    EXPECT_LT(position(L"Colors16"), position(L"Colors21"));
    EXPECT_LT(position(L"Colors86"), position(L"Color"));

    TestContainer second;
    HostOptions options;
    options.bag = bag.get();
    ASSERT_TRUE(Hosted(second.Host(kColorPickerProgId, options)));
    com_ptr<IDispatch> copy = second.Dispatch();
    for (int y = 1; y <= 8; ++y) {
        for (int x = 1; x <= 8; ++x) {
            EXPECT_EQ(Get(copy.get(), L"Colors", static_cast<int16_t>(x), static_cast<int16_t>(y)).value.ToLong(),
                      Colors(x, y))
                << x << ", " << y;
        }
    }
}

TEST_F(PickerModelTest, LoadingFindsKeysWhateverTheirCaseAndReadsMissingCellsAsWhite) {
    MemoryPropertyBag bag;
    bag.Set(L"colors12", Variant(int32_t{0x0000FF}));  // lower case, as a stored form holds them
    bag.Set(L"COLORS87", Variant(int32_t{0x00FF00}));
    bag.Set(L"color", Variant(int32_t{0x123456}));
    bag.Set(L"Colors33", Variant(L"not a colour"));  // unreadable: that cell alone keeps its value
    TestContainer loaded;
    HostOptions options;
    options.bag = bag.get();
    ASSERT_TRUE(Hosted(loaded.Host(kColorPickerProgId, options)));
    com_ptr<IDispatch> copy = loaded.Dispatch();
    auto cell = [&](int x, int y) {
        return Get(copy.get(), L"Colors", static_cast<int16_t>(x), static_cast<int16_t>(y)).value.ToLong();
    };
    EXPECT_EQ(cell(1, 2), 0x0000FF);
    EXPECT_EQ(cell(8, 7), 0x00FF00);
    EXPECT_EQ(cell(2, 3), 0x00FFFFFF) << "a missing key reads white, not the default table";
    EXPECT_EQ(cell(3, 3), 0x00FFFFFF) << "the initial palette stays where the bag's entry is unreadable";
    EXPECT_EQ(Get(copy.get(), L"Color").value.ToLong(), 0x123456);
}

TEST_F(PickerModelTest, ColorKeepsTheWholeValueAndIsSaved) {
    ASSERT_TRUE(DispOk(Put(picker.get(), L"Color", Variant(int16_t{5}))));
    EXPECT_EQ(Color(), 5);
    MemoryPropertyBag bag;
    ASSERT_EQ(container.Save(bag.get()), S_OK);
    EXPECT_EQ(bag.Get(L"Color")->ToLong(), 5);

    // A light colour does not fit 16 bits: the get must still answer it.
    ASSERT_TRUE(DispOk(Put(picker.get(), L"Color", Variant(int32_t{0x00C0FFFF}))));
    DispResult light = Get(picker.get(), L"Color");
    ASSERT_TRUE(DispOk(light));
    EXPECT_EQ(light.value.ToLong(), 0x00C0FFFF);
}

TEST_F(PickerModelTest, StreamSerializeGivesTheCallerSixtyFourLongsInStorageOrder) {
    SetColors(3, 2, 0x00ABCDEF);  // element (3 - 1) + (2 - 1) * 8 = 10
    SAFEARRAY* array = LongArray({1, 2, 3}, 5);  // a dynamic array of other bounds
    ASSERT_TRUE(DispOk(Call(picker.get(), L"StreamSerialize", {ArrayRef(&array)})));
    ASSERT_NE(array, nullptr);
    LONG lower = -1, upper = -1;
    ::SafeArrayGetLBound(array, 1, &lower);
    ::SafeArrayGetUBound(array, 1, &upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 63);
    LONG index = 10, value = 0;
    ::SafeArrayGetElement(array, &index, &value);
    EXPECT_EQ(value, 0x00ABCDEF);
    index = 17;  // column 2, row 3: pure red
    ::SafeArrayGetElement(array, &index, &value);
    EXPECT_EQ(value, 0x000000FF);
    ::SafeArrayDestroy(array);
}

TEST_F(PickerModelTest, StreamSerializeLeavesAFixedArrayAlone) {
    SAFEARRAY* array = LongArray({7, 8, 9}, 0);
    array->fFeatures |= FADF_FIXEDSIZE;
    ASSERT_TRUE(DispOk(Call(picker.get(), L"StreamSerialize", {ArrayRef(&array)})));
    LONG upper = -1;
    ::SafeArrayGetUBound(array, 1, &upper);
    EXPECT_EQ(upper, 2);
    array->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
    ::SafeArrayDestroy(array);
}

TEST_F(PickerModelTest, StreamReadTakesExactlySixtyFourLongsWhateverTheLowerBound) {
    struct Case {
        int count;
        LONG lower;
        bool taken;
    };
    for (const Case& c : {Case{64, 0, true}, Case{64, 1, true}, Case{64, -10, true}, Case{63, 0, false},
                          Case{65, 0, false}, Case{0, 0, false}}) {
        SetColors(1, 1, 0x00FFFFFF);
        SAFEARRAY* array = LongArray(Sequence(c.count, 1000), c.lower);
        EXPECT_TRUE(DispOk(Call(picker.get(), L"StreamRead", {ArrayRef(&array)})));
        if (c.taken) {
            EXPECT_EQ(Colors(1, 1), 1000) << c.count << " from " << c.lower;
            EXPECT_EQ(Colors(8, 8), 1063);
            EXPECT_EQ(Colors(2, 1), 1001) << "storage order: row by row";
        } else {
            EXPECT_EQ(Colors(1, 1), 0x00FFFFFF) << c.count << " elements change nothing";
        }
        ::SafeArrayDestroy(array);
    }
}

TEST_F(PickerModelTest, StreamReadOfATwoDimensionalOrMissingArrayRaisesSubscriptOutOfRange) {
    SAFEARRAYBOUND bounds[2] = {{8, 0}, {8, 0}};
    SAFEARRAY* square = ::SafeArrayCreate(VT_I4, 2, bounds);
    EXPECT_TRUE(DispRaised(Call(picker.get(), L"StreamRead", {ArrayRef(&square)}), kSubscriptOutOfRange));
    ::SafeArrayDestroy(square);
    SAFEARRAY* none = nullptr;
    EXPECT_TRUE(DispRaised(Call(picker.get(), L"StreamRead", {ArrayRef(&none)}), kSubscriptOutOfRange));
    EXPECT_EQ(Colors(2, 3), 0x000000FF) << "the palette is untouched";
}

TEST_F(PickerModelTest, StreamingCopiesAPaletteToAnotherPicker) {
    SetColors(5, 7, 0x00135790);
    SAFEARRAY* array = nullptr;
    ASSERT_TRUE(DispOk(Call(picker.get(), L"StreamSerialize", {ArrayRef(&array)})));
    TestContainer other;
    ASSERT_TRUE(Hosted(other.Host(kColorPickerProgId)));
    com_ptr<IDispatch> copy = other.Dispatch();
    ASSERT_TRUE(DispOk(Call(copy.get(), L"StreamRead", {ArrayRef(&array)})));
    EXPECT_EQ(Get(copy.get(), L"Colors", int16_t{5}, int16_t{7}).value.ToLong(), 0x00135790);
    EXPECT_EQ(Get(copy.get(), L"Colors", int16_t{2}, int16_t{3}).value.ToLong(), 0x000000FF);
    ::SafeArrayDestroy(array);
}

}  // namespace

}  // namespace zo::test
