// A ZoColorPicker and the popup form's palette file facing stored data a
// broken or hostile host or disk hands them: every persisted key holding
// every kind of wrong or out-of-range value, the picker's saved stream and
// storage cut short or damaged at every byte, and a palette file of every
// length up to 1,024 bytes, unreadable, a folder, or locked while saving.
#include <gtest/gtest.h>

#include <iostream>

#include "colour_picking/colour_form.h"
#include "colour_picking/palette_file.h"
#include "tests/colour_picking/picker_fixture.h"
#include "tests/host/ambient_properties.h"
#include "tests/host/hostile_data.h"
#include "tests/host/memory_stream.h"
#include "tests/host/property_bag.h"
#include "tests/host/scratch_folder.h"

namespace zo::test {
namespace {

std::vector<PersistedKey> PickerKeys(const std::wstring& ambientFont) {
    const auto fixed = [](std::wstring text) { return [text](const MemoryPropertyBag&) { return text; }; };
    const auto number = [&](std::wstring name, uint32_t fallback) {
        return PersistedKey{std::move(name), VT_I4, {}, fixed(std::to_wstring(static_cast<int32_t>(fallback)))};
    };
    std::vector<PersistedKey> keys = {
        {L"BorderStyle", VT_I2, [](const Variant& v) { return V_I2(&v.get()) == 0 || V_I2(&v.get()) == 1; },
         fixed(L"1")},
        number(L"BackColor", 0x8000000F),
        number(L"ForeColor", 0x80000012),
        {L"Font", VT_DISPATCH, {}, fixed(ambientFont)},
    };
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 8; ++y) keys.push_back(number(L"Colors" + std::to_wstring(x * 10 + y), 0x00FFFFFF));
    keys.push_back(number(L"Color", 0));
    keys.push_back(number(L"Style", 2));
    return keys;
}

// Hosts a picker loaded from `bag` in a container of its own and saves it
// into `saved`.
::testing::AssertionResult LoadAndSave(MemoryPropertyBag& bag, MemoryPropertyBag& saved) {
    TestContainer container;
    HostOptions options;
    options.bag = bag.get();
    if (auto hosted = Hosted(container.Host(kColorPickerProgId, options)); !hosted) return hosted;
    const HRESULT hr = container.Save(saved.get());
    container.Close();
    if (hr != S_OK) return ::testing::AssertionFailure() << "saving again failed: " << HResultText(hr);
    return ::testing::AssertionSuccess();
}

TEST(PickerHostileStoredData, EveryKeyKeepsItsValueUnlessTheStoredOneReadsAsAnAcceptableValue) {
    const std::vector<PersistedKey> keys = PickerKeys(DescribeFont(DefaultAmbientFont().get()));
    MemoryPropertyBag unreadable, present, empty;
    for (const PersistedKey& key : keys) {
        unreadable.Set(key.name, Variant(L"x"));
        unreadable.FailRead(key.name, STG_E_READFAULT);
    }
    ASSERT_TRUE(LoadAndSave(unreadable, present));
    // Which is what an empty bag gives: keys that cannot be read are not
    // taken for values, and the palette starts white.
    MemoryPropertyBag defaults;
    ASSERT_TRUE(LoadAndSave(empty, defaults));
    for (const PersistedKey& key : keys) EXPECT_EQ(Narrow(Saved(present, key)), Narrow(Saved(defaults, key)));

    const HostileTally tally = TryHostileValues(keys, present, empty, 4, LoadAndSave);
    std::cout << "ZoColorPicker persisted keys, hostile stored values: " << tally.Summary() << std::endl;
    RecordProperty("hostile_values_tried", tally.tried);
}

void ExpectConsistentPicker(IUnknown& control) {
    com_ptr<IDispatch> picker = com_ptr<IUnknown>(&control).query<IDispatch>();
    ASSERT_TRUE(picker);
    const DispResult border = Get(picker.get(), L"BorderStyle");
    ASSERT_TRUE(DispOk(border));
    EXPECT_TRUE(border.value.ToLong() == 0 || border.value.ToLong() == 1) << border.value.ToLong();
    EXPECT_TRUE(Get(picker.get(), L"Font").value.ToUnknown());
    EXPECT_TRUE(DispOk(Get(picker.get(), L"Colors", int16_t{8}, int16_t{8})));
}

// One medium, one kind of damage and a quarter of the offsets per test case.
class PickerDamagedSavedDataTest : public PickerTest,
                                   public ::testing::WithParamInterface<DamageRun> {};

TEST_P(PickerDamagedSavedDataTest, LoadsCleanlyOrConsistentlyAndThePickerSavesAgain) {
    const DamageRun& run = GetParam();
    ASSERT_TRUE(DispOk(Put(picker.get(), L"BorderStyle", Variant(0))));
    ASSERT_TRUE(DispOk(Put(picker.get(), L"BackColor", Variant(0x00102030ul))));
    ASSERT_TRUE(DispOk(Put(picker.get(), L"ForeColor", Variant(0x00302010ul))));
    ASSERT_TRUE(DispOk(PutRef(picker.get(), L"Font", Variant(MakeFont(L"DejaVu Serif", 10, FW_BOLD).get()))));
    for (int x = 1; x <= 8; ++x)
        for (int y = 1; y <= 8; ++y) SetColors(x, y, 0x00010203 * (x * 8 + y));
    ASSERT_TRUE(DispOk(Put(picker.get(), L"Color", Variant(int16_t{1234}))));
    MemoryStream stream;
    ASSERT_EQ(container.Save(stream.get()), S_OK);
    const std::vector<BYTE> saved = stream.Bytes();
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromProgID(kColorPickerProgId, &clsid), S_OK);
    HostileTally tally;
    LoadDamagedCopies(clsid, saved, run, 16, ExpectConsistentPicker, tally);
    std::cout << "ZoColorPicker, " << saved.size() << " saved bytes " << NameOf(run.damage) << " (part " << run.part + 1
              << " of " << run.parts << "), through " << NameOf(run.medium) << ": " << tally.Summary() << std::endl;
    RecordProperty("hostile_inputs_tried", tally.tried);
}

INSTANTIATE_TEST_SUITE_P(EveryOffset, PickerDamagedSavedDataTest, ::testing::ValuesIn(EveryDamageRun(4)),
                         [](const auto& info) { return NameOf(info.param); });

}  // namespace
}  // namespace zo::test

namespace zo::test {
namespace {

constexpr wchar_t kPaletteFileName[] = L"ZoPropList.sys";

PaletteColours Decoded(const Bytes& bytes) {
    PaletteColours colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        uint32_t value = 0;
        for (size_t b = 0; b < 4; ++b) value |= uint32_t{bytes[i * 4 + b]} << (8 * b);
        colours[i] = static_cast<int32_t>(value);
    }
    return colours;
}

Bytes Encoded(const PaletteColours& colours) {
    Bytes bytes;
    for (int32_t colour : colours)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(colour) >> shift));
    return bytes;
}

// A file of `length` bytes that differs from one length to the next.
Bytes FileOfLength(size_t length) {
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<unsigned char>(i * 31 + length);
    return bytes;
}

// The form's palette file in a scratch folder, with no user copy elsewhere.
class PaletteFileHostileTest : public ::testing::Test {
protected:
    [[nodiscard]] std::wstring Path() const { return folder / kPaletteFileName; }
    // Gives the form a palette in memory from a whole file.
    void LoadWholePalette(const PaletteColours& colours) {
        ASSERT_TRUE(WriteBytes(Path(), Encoded(colours)));
        form.LoadSavedColors();
        ASSERT_EQ(form.SavedColors(), colours);
    }
    ScratchFolder folder;
    ColorForm form{PaletteFile({folder.Root(), L""})};
};

// A file shorter than a palette is no palette: the one in memory stays and
// the next save replaces the short file by a whole one. A longer file gives
// its first 256 bytes, and the next save leaves exactly those.
TEST_F(PaletteFileHostileTest, EveryLengthUpTo1024BytesGivesAWholePaletteOrKeepsTheOneInMemory) {
    PaletteColours inMemory{};
    for (size_t i = 0; i < inMemory.size(); ++i) inMemory[i] = static_cast<int32_t>(0x01020304u * (i + 1));
    LoadWholePalette(inMemory);
    HostileTally tally;
    // Through a CPU emulator, every 16th length and those around a palette's.
    std::vector<size_t> lengths;
    for (size_t length = 0; length <= 1024; ++length)
        if (!RunsUnderCpuEmulator() || length % 16 == 0 || (length >= 255 && length <= 257)) lengths.push_back(length);
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        const Bytes file = FileOfLength(length);
        ASSERT_TRUE(WriteBytes(Path(), file));
        form.LoadSavedColors();
        const bool whole = length >= PaletteFile::kFileBytes;
        if (whole) inMemory = Decoded(file);
        EXPECT_EQ(form.SavedColors(), inMemory);
        form.SaveSavedColors();
        EXPECT_EQ(folder.Take(), (Snapshot{{kPaletteFileName, Encoded(inMemory)}})) << "a whole palette, nothing else";
        tally.Add(whole ? "read its first 256 bytes" : "kept the palette in memory");
    }
    std::cout << "Palette file of every length from 0 to 1,024 bytes: " << tally.Summary() << std::endl;
}

// Whatever stands at the file's place, loading keeps the palette in memory
// when the file gives none, saving either writes the whole palette or leaves
// the old file exactly as it was with nothing beside it, and the palette in
// memory survives a failed save to be written by the next one.
TEST(PaletteFileHostile, AnUnusableFileNeverCostsThePaletteInMemoryNorLeavesAHalfWrittenFile) {
    PaletteColours inMemory{};
    for (size_t i = 0; i < inMemory.size(); ++i) inMemory[i] = static_cast<int32_t>(0x7F000000u + i);
    const Bytes onDisk = FileOfLength(300);
    constexpr DWORD kNotHeld = ~0u;
    const struct {
        const char* what;
        bool folder;  // a folder stands at the file's place
        DWORD share;  // how another program holds the file open
        bool loads;   // the file gives its palette
    } cases[] = {
        {"unreadable: held open with no sharing", false, 0, false},
        {"a folder", true, kNotHeld, false},
        {"held open for writing by another program", false, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"held open for reading, deletable", false, FILE_SHARE_READ | FILE_SHARE_DELETE, true},
    };
    HostileTally tally;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        ColorForm form{PaletteFile({folder.Root(), L""})};
        const std::wstring path = folder / kPaletteFileName;
        ASSERT_TRUE(WriteBytes(path, Encoded(inMemory)));
        form.LoadSavedColors();
        ASSERT_EQ(form.SavedColors(), inMemory);
        ASSERT_TRUE(::DeleteFileW(path.c_str()));
        if (c.folder)
            ASSERT_TRUE(folder.MakeFolder(kPaletteFileName) && WriteBytes(path + L"\\in", {1}));
        else
            ASSERT_TRUE(WriteBytes(path, onDisk));
        const Snapshot before = folder.Take();
        const PaletteColours expected = c.loads ? Decoded(onDisk) : inMemory;
        {
            const unique_hfile held = c.share == kNotHeld ? unique_hfile() : Lock(path, c.share);
            ASSERT_EQ(c.share == kNotHeld, !held);
            form.LoadSavedColors();
            EXPECT_EQ(form.SavedColors(), expected);
            form.SaveSavedColors();
            EXPECT_EQ(form.SavedColors(), expected) << "the palette in memory survives the save";
        }
        // Whether a file held open can be replaced is the system's choice;
        // either way no half-written file and nothing beside it.
        Snapshot saved = before;
        saved[kPaletteFileName] = Encoded(expected);
        const Snapshot after = folder.Take();
        EXPECT_TRUE(after == before || (!c.folder && after == saved))
            << "neither the old file as it was nor the whole palette";
        const bool replaced = after != before;
        if (!c.folder) {
            form.SaveSavedColors();
            EXPECT_EQ(ReadBytes(path), Encoded(expected)) << "once free, the file takes the palette kept in memory";
        }
        tally.Add(std::string(c.loads ? "read the file" : "kept the palette in memory") +
                  (replaced ? ", saved" : ", old file left whole") + (c.folder ? "" : ", saved once free"));
    }
    std::cout << "Unusable palette files: " << tally.Summary() << std::endl;
}

}  // namespace
}  // namespace zo::test
