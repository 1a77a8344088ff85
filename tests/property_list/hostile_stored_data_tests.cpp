// A PropertyList loaded from stored data a broken or hostile host hands it:
// every persisted key holding every kind of wrong or out-of-range value, and
// its saved stream and storage cut short or damaged at every byte. It keeps
// the values it had where a stored one cannot be used, fails cleanly or loads
// a consistent state, never crashes, and saves again afterwards.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/host/ambient_properties.h"
#include "tests/host/hostile_data.h"
#include "tests/host/memory_stream.h"
#include "tests/host/property_bag.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

std::wstring LongText(int32_t value) { return std::to_wstring(value); }

class HostileStoredDataTest : public PropertyListTest {
protected:
    [[nodiscard]] std::vector<PersistedKey> Keys() {
        const auto fixed = [](std::wstring text) { return [text](const MemoryPropertyBag&) { return text; }; };
        const auto colour = [&](const wchar_t* name, uint32_t fallback) {
            return PersistedKey{name, VT_I4, {}, fixed(LongText(static_cast<int32_t>(fallback)))};
        };
        const std::wstring ambient = DescribeFont(container.Ambient().font.get());
        PersistedKey font{L"Font", VT_DISPATCH, {}, fixed(ambient)};
        // The header font is not written when it equals the list font.
        PersistedKey header{L"FontHeader", VT_DISPATCH, {},
                            [font](const MemoryPropertyBag& bag) { return Saved(bag, font); }};
        return {
            {L"BorderStyle", VT_I2, [](const Variant& v) { return V_I2(&v.get()) == 0 || V_I2(&v.get()) == 1; },
             fixed(L"1")},
            colour(L"HighlightColor", 0x8000000D),
            colour(L"HighlightText", 0x8000000E),
            {L"AllowEdit", VT_BOOL, {}, fixed(L"True")},
            colour(L"BackColor", 0x80000005),
            colour(L"ForeColor", 0x80000008),
            font,
            header,
            {L"TextTrue", VT_BSTR, {}, fixed(L"\"True\"")},
            {L"TextFalse", VT_BSTR, {}, fixed(L"\"False\"")},
        };
    }

    // Hosts a list loaded from `bag`, saves it into a new bag and closes it.
    ::testing::AssertionResult LoadAndSave(MemoryPropertyBag& bag, MemoryPropertyBag& saved) {
        HostOptions options;
        options.bag = bag.get();
        if (auto hosted = HostList(options); !hosted) return hosted;
        const HRESULT hr = container.Save(saved.get());
        CloseList();
        if (hr != S_OK) return ::testing::AssertionFailure() << "saving again failed: " << HResultText(hr);
        return ::testing::AssertionSuccess();
    }
};

// Each hostile value goes under every key at once, which the control reads
// one by one; once through a bag that converts to the type asked for, once
// through one that answers the stored type and leaves converting to the
// control.
TEST_F(HostileStoredDataTest, EveryKeyKeepsItsValueUnlessTheStoredOneReadsAsAnAcceptableValue) {
    const std::vector<PersistedKey> keys = Keys();
    // What the control has before it reads anything: every read failing.
    MemoryPropertyBag unreadable, present;
    for (const PersistedKey& key : keys) {
        unreadable.Set(key.name, Variant(L"x"));
        unreadable.FailRead(key.name, STG_E_READFAULT);
    }
    ASSERT_TRUE(LoadAndSave(unreadable, present));
    // Which is what a new instance has: keys that cannot be read are not
    // taken for values.
    MemoryPropertyBag empty, fresh;
    ASSERT_TRUE(HostList());
    ASSERT_EQ(container.Save(fresh.get()), S_OK);
    CloseList();
    for (const PersistedKey& key : keys) EXPECT_EQ(Narrow(Saved(present, key)), Narrow(Saved(fresh, key)));

    const HostileTally tally = TryHostileValues(
        keys, present, empty, 2, [this](MemoryPropertyBag& bag, MemoryPropertyBag& saved) { return LoadAndSave(bag, saved); });
    std::cout << "PropertyList persisted keys, hostile stored values: " << tally.Summary() << std::endl;
    RecordProperty("hostile_values_tried", tally.tried);
}

}  // namespace
}  // namespace zo::test

namespace zo::test {
namespace {

// The saved data of a list with every persisted property changed.
std::vector<BYTE> SavedWithEveryPropertySet(TestContainer& container, IDispatch* list) {
    EXPECT_TRUE(DispOk(Put(list, L"BorderStyle", Variant(0))));
    EXPECT_TRUE(DispOk(Put(list, L"HighlightColor", Colour(0x00123456))));
    EXPECT_TRUE(DispOk(Put(list, L"HighlightText", Colour(0x00654321))));
    EXPECT_TRUE(DispOk(Put(list, L"AllowEdit", Variant(false))));
    EXPECT_TRUE(DispOk(Put(list, L"BackColor", Colour(0x00ABCDEF))));
    EXPECT_TRUE(DispOk(Put(list, L"ForeColor", Colour(0x00FEDCBA))));
    EXPECT_TRUE(DispOk(PutRef(list, L"Font", Variant(MakeFont(L"DejaVu Sans Mono", 12, FW_BOLD).get()))));
    EXPECT_TRUE(DispOk(PutRef(list, L"FontHeader", Variant(MakeFont(L"DejaVu Serif", 9).get()))));
    EXPECT_TRUE(DispOk(Put(list, L"TextTrue", Variant(L"Ja"))));
    EXPECT_TRUE(DispOk(Put(list, L"TextFalse", Variant(L"Nein"))));
    MemoryStream stream;
    EXPECT_EQ(container.Save(stream.get()), S_OK);
    return stream.Bytes();
}

// What a loaded list must show, whatever the damage: a border style the
// control knows, and a list font and header font.
void ExpectConsistentList(IUnknown& control) {
    com_ptr<IDispatch> list = com_ptr<IUnknown>(&control).query<IDispatch>();
    ASSERT_TRUE(list);
    const DispResult border = Get(list.get(), L"BorderStyle");
    ASSERT_TRUE(DispOk(border));
    EXPECT_TRUE(border.value.ToLong() == 0 || border.value.ToLong() == 1) << border.value.ToLong();
    EXPECT_TRUE(Get(list.get(), L"Font").value.ToUnknown());
    EXPECT_TRUE(Get(list.get(), L"FontHeader").value.ToUnknown());
    EXPECT_TRUE(DispOk(Get(list.get(), L"TextTrue")));
}

// One medium, one kind of damage and a quarter of the offsets per test case.
class DamagedSavedDataTest : public PropertyListTest,
                             public ::testing::WithParamInterface<DamageRun> {};

TEST_P(DamagedSavedDataTest, LoadsCleanlyOrConsistentlyAndTheListSavesAgain) {
    const DamageRun& run = GetParam();
    ASSERT_TRUE(HostList());
    const std::vector<BYTE> saved = SavedWithEveryPropertySet(container, list.get());
    CloseList();
    ASSERT_FALSE(saved.empty());
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromProgID(kPropertyListProgId, &clsid), S_OK);
    HostileTally tally;
    LoadDamagedCopies(clsid, saved, run, 8, ExpectConsistentList, tally);
    std::cout << "PropertyList, " << saved.size() << " saved bytes " << NameOf(run.damage) << " (part " << run.part + 1
              << " of " << run.parts << "), through " << NameOf(run.medium) << ": " << tally.Summary() << std::endl;
    RecordProperty("hostile_inputs_tried", tally.tried);
}

INSTANTIATE_TEST_SUITE_P(EveryOffset, DamagedSavedDataTest, ::testing::ValuesIn(EveryDamageRun(4)),
                         [](const auto& info) { return NameOf(info.param); });

// A compound file another tool wrote: no "Contents" stream at all, or a
// folder of that name. Both controls refuse it cleanly and stay free to be
// initialised afresh, and then save.
TEST(StorageWithoutContents, IsRefusedCleanlyAndTheControlCanStillStartAfresh) {
    for (const wchar_t* progId : {kPropertyListProgId, L"ZoPropertyList.ZoColorPicker"}) {
        for (const bool contentsIsAFolder : {false, true}) {
            SCOPED_TRACE(std::string(contentsIsAFolder ? "a folder named Contents, " : "no Contents, ") +
                         (progId == kPropertyListProgId ? "PropertyList" : "ZoColorPicker"));
            const com_ptr<IStorage> storage = StorageInMemory();
            com_ptr<IStorage> folder;
            if (contentsIsAFolder) {
                ASSERT_EQ(storage->CreateStorage(L"Contents", STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, folder.put()),
                          S_OK);
            }
            CLSID clsid{};
            ASSERT_EQ(::CLSIDFromProgID(progId, &clsid), S_OK);
            com_ptr<IPersistStorage> persist;
            ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStorage,
                                         persist.put_void()),
                      S_OK);
            const HRESULT loaded = persist->Load(storage.get());
            EXPECT_TRUE(FAILED(loaded)) << HResultText(loaded);
            EXPECT_NE(loaded, E_UNEXPECTED);
            EXPECT_EQ(persist->InitNew(storage.get()), S_OK);
            EXPECT_EQ(persist->Save(StorageInMemory().get(), FALSE), S_OK);
        }
    }
}

}  // namespace
}  // namespace zo::test
