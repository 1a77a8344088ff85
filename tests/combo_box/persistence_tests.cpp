// The twelve property-bag keys: defaults of a new instance, loading, saving.
#include <gtest/gtest.h>

#include "runtime/fonts.h"
#include "tests/combo_box/combo_fixture.h"
#include "tests/host/property_bag.h"

namespace zo::test {
namespace {

using ComboPersistenceTest = ComboFixture;

const std::vector<std::wstring> kKeys{L"BackColor", L"ForeColor", L"Enabled",  L"Font",
                                      L"MaxLength", L"MouseIcon", L"MousePointer", L"SelLength",
                                      L"SelStart",  L"SelText",   L"Text",      L"Style"};

com_ptr<IFont> Ambient() { return CreateStdFont(FontDescription{}); }

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
    EXPECT_EQ(bag.Reads(), kKeys);
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

}  // namespace
}  // namespace zo::test
