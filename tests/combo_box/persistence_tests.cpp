// The twelve property-bag keys: defaults of a new instance, loading, saving.
#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>

#include "runtime/fonts.h"
#include "tests/combo_box/combo_fixture.h"
#include "tests/host/hostile_data.h"
#include "tests/host/property_bag.h"

#include <iostream>

namespace zo::test {
namespace {

using ComboPersistenceTest = ComboFixture;

const std::vector<std::wstring> kKeys{L"BackColor", L"ForeColor", L"Enabled",  L"Font",
                                      L"MaxLength", L"MouseIcon", L"MousePointer", L"SelLength",
                                      L"SelStart",  L"SelText",   L"Text",      L"Style"};

com_ptr<IFont> Ambient() { return CreateStdFont(FontDescription{}); }

com_ptr<IPictureDisp> EmptyPicture() {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(PICTDESC);
    description.picType = PICTYPE_NONE;
    com_ptr<IPictureDisp> picture;
    EXPECT_EQ(::OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void()), S_OK);
    return picture;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    return a && b && com_ptr<IUnknown>(a).query<IUnknown>().get() == com_ptr<IUnknown>(b).query<IUnknown>().get();
}

bool Locked(const ZoComboBox& combo) {
    return (::GetWindowLongPtrW(combo.TextWindow(), GWL_STYLE) & ES_READONLY) != 0;
}

TEST_F(ComboPersistenceTest, NewInstanceSavesNothingAndShowsItsDefaults) {
    combo->SetStyle(1);
    combo->InitProperties(Ambient());
    EXPECT_EQ(combo->Text(), L"ZoComboBox");
    EXPECT_EQ(combo->Style(), 0);
    EXPECT_FALSE(Locked(*combo));
    EXPECT_TRUE(SameFont(combo->Font().get(), Ambient().get()));
    EXPECT_EQ(::SendMessageW(combo->ListWindow(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(BorrowedFontHandle(combo->Font().get())));

    MemoryPropertyBag bag;
    combo->WriteProperties(*bag.get(), Ambient().get());
    EXPECT_EQ(bag.Writes(), std::vector<std::wstring>{});
}

TEST_F(ComboPersistenceTest, LoadingAnEmptyBagAppliesEveryDefault) {
    combo->SetText(L"old");
    MemoryPropertyBag bag;
    combo->ReadProperties(*bag.get(), Ambient());
    // A missing key is asked for once more, as stored, which tells it from
    // a stored value the bag cannot convert.
    std::vector<std::wstring> reads = bag.Reads();
    reads.erase(std::unique(reads.begin(), reads.end()), reads.end());
    EXPECT_EQ(reads, kKeys);
    EXPECT_EQ(combo->Text(), L"ZoComboBox");
    EXPECT_EQ(combo->BackColor(), 0x80000005u);
    EXPECT_EQ(combo->ChildControl::BackColor(), 0x80000005u);
    EXPECT_EQ(combo->ForeColor(), 0x80000008u);
    EXPECT_TRUE(::IsWindowEnabled(combo->hWnd()));
    EXPECT_EQ(combo->MaxLength(), 0);
    EXPECT_EQ(combo->MousePointer(), 0);
    EXPECT_FALSE(Locked(*combo));
}

TEST_F(ComboPersistenceTest, LoadedValuesGoWhereTheyShowAndSaveBackUnchanged) {
    MemoryPropertyBag bag;
    const com_ptr<IFont> font = CreateStdFont({L"Arial", 12, FW_BOLD});
    bag.Set(L"BackColor", Variant(int32_t{0x0000FF}));
    bag.Set(L"ForeColor", Variant(int32_t{0x00FF00}));
    bag.Set(L"Enabled", Variant(false));
    bag.Set(L"Font", Variant(font.query<IDispatch>().get()));
    bag.Set(L"MaxLength", Variant(int32_t{12}));
    bag.Set(L"MousePointer", Variant(int16_t{2}));
    bag.Set(L"Text", Variant(L"Hello \u00FC"));
    bag.Set(L"Style", Variant(int32_t{2}));
    combo->ReadProperties(*bag.get(), Ambient());

    EXPECT_EQ(combo->Text(), L"Hello \u00FC");
    EXPECT_EQ(combo->BackColor(), 0x0000FFu);
    EXPECT_EQ(combo->ChildControl::BackColor(), 0x0000FFu);
    EXPECT_EQ(combo->ForeColor(), 0x00FF00u);
    EXPECT_FALSE(::IsWindowEnabled(combo->hWnd()));
    EXPECT_EQ(::SendMessageW(combo->TextWindow(), EM_GETLIMITTEXT, 0, 0), 12);
    EXPECT_EQ(combo->MousePointer(), 2);
    EXPECT_TRUE(Locked(*combo));
    EXPECT_TRUE(SameFont(combo->Font().get(), font.get()));
    EXPECT_EQ(::SendMessageW(combo->TextWindow(), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(BorrowedFontHandle(combo->Font().get())));

    MemoryPropertyBag saved;
    combo->WriteProperties(*saved.get(), Ambient().get());
    EXPECT_EQ(saved.Keys(), (std::vector<std::wstring>{L"BackColor", L"ForeColor", L"Enabled", L"Font", L"MaxLength",
                                                        L"MousePointer", L"Text", L"Style"}));
    for (const wchar_t* key : {L"BackColor", L"ForeColor", L"Enabled", L"MaxLength", L"MousePointer", L"Text", L"Style"})
        EXPECT_EQ(saved.Get(key), bag.Get(key)) << key;
}

TEST_F(ComboPersistenceTest, StoredNegativeStyleLoadsUnlockedUnlikeTheSetter) {
    MemoryPropertyBag bag;
    bag.Set(L"Style", Variant(int32_t{-1}));
    combo->ReadProperties(*bag.get(), Ambient());
    EXPECT_EQ(combo->Style(), -1);
    EXPECT_FALSE(Locked(*combo));
    combo->SetStyle(-1);
    EXPECT_TRUE(Locked(*combo));
}

TEST_F(ComboPersistenceTest, SelectionIsSavedFromTheTextBox) {
    combo->SetText(L"abcdef");
    combo->SetSelStart(2);
    combo->SetSelLength(3);
    MemoryPropertyBag bag;
    combo->WriteProperties(*bag.get(), Ambient().get());
    EXPECT_EQ(bag.Get(L"SelStart"), Variant(int32_t{2}));
    EXPECT_EQ(bag.Get(L"SelLength"), Variant(int32_t{3}));
    EXPECT_EQ(bag.Get(L"SelText"), Variant(L"cde"));
    EXPECT_EQ(bag.Get(L"Text"), Variant(L"abcdef"));
}

TEST_F(ComboPersistenceTest, UnreadableKeysAreSkippedOneByOne) {
    MemoryPropertyBag bag;
    bag.Set(L"Text", Variant(L"kept"));
    bag.Set(L"MaxLength", Variant(int32_t{4}));
    bag.FailRead(L"Font");
    bag.FailRead(L"Enabled");
    combo->ReadProperties(*bag.get(), Ambient());
    EXPECT_EQ(combo->Text(), L"kept");
    EXPECT_EQ(combo->MaxLength(), 4);
    EXPECT_TRUE(::IsWindowEnabled(combo->hWnd()));
}


// Each hostile value goes under every key of a combo that has a value of
// its own, not the default, under each: a key whose stored value does not
// read as one the combo accepts keeps that value. The selection keys depend
// on the text and are only read without harm.
TEST_F(ComboPersistenceTest, EveryKeyKeepsItsValueUnlessTheStoredOneReadsAsAnAcceptableValue) {
    const auto fixed = [](std::wstring text) { return [text](const MemoryPropertyBag&) { return text; }; };
    const std::vector<PersistedKey> checked = {
        {L"BackColor", VT_I4, {}, fixed(std::to_wstring(static_cast<int32_t>(0x80000005)))},
        {L"ForeColor", VT_I4, {}, fixed(std::to_wstring(static_cast<int32_t>(0x80000008)))},
        {L"Enabled", VT_BOOL, {}, fixed(L"True")},
        {L"Font", VT_DISPATCH, {}, fixed(DescribeFont(Ambient().get()))},
        {L"MaxLength", VT_I4, [](const Variant& v) { return V_I4(&v.get()) >= 0; }, fixed(L"0")},
        {L"MousePointer", VT_I2,
         [](const Variant& v) { return (V_I2(&v.get()) >= 0 && V_I2(&v.get()) <= 15) || V_I2(&v.get()) == 99; },
         fixed(L"0")},
        {L"Text", VT_BSTR, {}, fixed(L"\"ZoComboBox\"")},
        {L"Style", VT_I4, {}, fixed(L"0")},
    };
    MemoryPropertyBag own;
    own.Set(L"BackColor", Variant(int32_t{0x000123}));
    own.Set(L"ForeColor", Variant(int32_t{0x000456}));
    own.Set(L"Enabled", Variant(false));
    own.Set(L"Font", Variant(CreateStdFont({L"DejaVu Serif", 10, FW_BOLD}).query<IDispatch>().get()));
    own.Set(L"MaxLength", Variant(int32_t{50}));
    own.Set(L"MousePointer", Variant(int16_t{2}));
    own.Set(L"Text", Variant(L"its own"));
    own.Set(L"Style", Variant(int32_t{1}));
    const com_ptr<IPictureDisp> ownIcon = EmptyPicture();
    own.Set(L"MouseIcon", Variant(static_cast<IDispatch*>(ownIcon.get())));
    HostileTally tally;
    for (const HostileValue& value : HostileValues()) {
        SCOPED_TRACE(value.what);
        combo->ReadProperties(*own.get(), Ambient());
        MemoryPropertyBag present, bag, saved;
        combo->WriteProperties(*present.get(), Ambient().get());
        for (const std::wstring& key : kKeys) bag.Set(key, value.value);
        combo->ReadProperties(*bag.get(), Ambient());
        combo->WriteProperties(*saved.get(), Ambient().get());
        for (const PersistedKey& key : checked) {
            std::optional<std::wstring> readable = ReadableAs(value.value, key);
            // A text box holds a text up to its first NUL.
            if (const size_t nul = readable ? readable->find(L'\0') : std::wstring::npos;
                key.name == L"Text" && nul != std::wstring::npos)
                readable = readable->substr(0, nul) + L"\"";
            EXPECT_EQ(Narrow(Saved(saved, key)), Narrow(readable.value_or(Saved(present, key)))) << Narrow(key.name);
            tally.Add(readable ? "read as the converted value" : "kept its present value");
        }
        // The icon: a stored picture or Nothing replaces it, anything else leaves it.
        VARIANT asObject;
        ::VariantInit(&asObject);
        const bool converts = SUCCEEDED(::VariantChangeType(&asObject, const_cast<VARIANT*>(&value.value.get()), 0,
                                                            VT_DISPATCH));
        const Variant object = Variant::Attach(asObject);
        const com_ptr<IUnknown> stored(converts ? V_UNKNOWN(&object.get()) : nullptr);
        const bool picture = stored && stored.query<IPictureDisp>();
        const std::optional<Variant> icon = saved.Get(L"MouseIcon");
        const com_ptr<IUnknown> expected = picture ? stored : com_ptr<IUnknown>(ownIcon.get());
        if (converts && !stored)
            EXPECT_FALSE(icon) << "Nothing clears the icon";
        else
            EXPECT_TRUE(icon && SameObject(icon->get().punkVal, expected.get())) << "MouseIcon";
        tally.Add(converts && (!stored || picture) ? "read as the converted value" : "kept its present value");
        const int32_t start = saved.Get(L"SelStart").value_or(Variant(int32_t{0})).ToLong();
        const int32_t length = saved.Get(L"SelLength").value_or(Variant(int32_t{0})).ToLong();
        EXPECT_GE(start, 0);
        EXPECT_GE(length, 0);
        EXPECT_LE(static_cast<size_t>(start) + static_cast<size_t>(length), combo->Text().size())
            << "the selection lies inside the text";
        tally.Add("selection inside the text");
    }
    std::cout << "ZoComboBox persisted keys, hostile stored values: " << tally.Summary() << std::endl;
}


// A bag that cannot convert a stored value answers as it answers for a
// missing key (E_INVALIDARG, for a date out of range): the key is there, so
// the text stays as it was and does not become the default.
TEST_F(ComboPersistenceTest, AValueTheBagCannotConvertIsNotTakenForAMissingKey) {
    combo->SetText(L"as it was");
    MemoryPropertyBag bag;
    VARIANT date;
    ::VariantInit(&date);
    V_VT(&date) = VT_DATE;
    V_DATE(&date) = 1e10;
    bag.Set(L"Text", Variant::Attach(date));
    combo->ReadProperties(*bag.get(), Ambient());
    EXPECT_EQ(combo->Text(), L"as it was");
}

// A stored icon that is no picture leaves the icon as it was; Nothing clears it.
TEST_F(ComboPersistenceTest, AStoredIconThatIsNoPictureLeavesTheIcon) {
    const com_ptr<IPictureDisp> icon = EmptyPicture();
    combo->SetMouseIcon(icon);
    MemoryPropertyBag bag;
    bag.Set(L"MouseIcon", Variant(L"no picture"));
    combo->ReadProperties(*bag.get(), Ambient());
    EXPECT_EQ(combo->MouseIcon().get(), icon.get());
    bag.Set(L"MouseIcon", Variant::Nothing());
    combo->ReadProperties(*bag.get(), Ambient());
    EXPECT_FALSE(combo->MouseIcon());
}

}  // namespace
}  // namespace zo::test
