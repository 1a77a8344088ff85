// Stored data a broken or hostile host may hand a control: property-bag
// values of every type and at the limits of the types the controls read,
// and the saved bytes of a control cut short or damaged at every offset.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/host/property_bag.h"
#include "tests/host/variant.h"

namespace zo::test {

struct HostileValue {
    std::string what;
    Variant value;
};

// Every VARIANT type a bag can hold (empty, null, errors, numbers of every
// width at and beyond their limits, NaN and infinities, dates and currency
// out of range, texts that are no number, a very long text, a font, another
// object, nothing, arrays), so that each key of a control meets each.
[[nodiscard]] std::vector<HostileValue> HostileValues();
// All of them natively; every `emulatedStride`-th through a CPU emulator,
// where hosting a control for each costs many times more.
[[nodiscard]] std::vector<HostileValue> HostileValuesToTry(size_t emulatedStride);

// A persisted key of a control, as the tests compare what is saved.
struct PersistedKey {
    std::wstring name;
    // VT_I2, VT_I4, VT_BOOL, VT_BSTR, or VT_DISPATCH for a font object.
    VARTYPE type = VT_EMPTY;
    // Whether a converted value is one the control accepts; empty: all are.
    std::function<bool(const Variant&)> accepts;
    // What an absent key in a saved bag stands for (its default when
    // writing), described as Describe does.
    std::function<std::wstring(const MemoryPropertyBag&)> absent;
};

// A value as the tests compare it: numbers in decimal, Booleans as
// True/False, texts quoted, fonts by face, size, weight and style.
[[nodiscard]] std::wstring Describe(const Variant& value, VARTYPE type);
[[nodiscard]] std::wstring DescribeFont(IUnknown* font);

// What a saved bag holds for `key`: its value, or what its absence stands for.
[[nodiscard]] std::wstring Saved(const MemoryPropertyBag& bag, const PersistedKey& key);

// What a control that reads `stored` under `key` must save back: the value
// converted to the key's type when that works and the control accepts it,
// otherwise nullopt (the control keeps the value it had).
[[nodiscard]] std::optional<std::wstring> ReadableAs(const Variant& stored, const PersistedKey& key);

// Counts of what the controls made of the hostile values, by outcome.
struct HostileTally {
    std::map<std::string, int> outcomes;
    int tried = 0;
    void Add(const std::string& outcome) {
        ++outcomes[outcome];
        ++tried;
    }
    [[nodiscard]] std::string Summary() const;
};

// Stores each hostile value (every `emulatedStride`-th one under a CPU
// emulator) under every key at once and loads it, once through a bag that
// converts to the type asked for and once through one that answers the
// stored type (that pass only natively); each key must save again as the
// value read as its type, or else as what `present` (the control loaded
// with every key unreadable) holds. `empty` is a bag with no keys, for
// telling a kept default from a kept value. Returns what each key gave.
using LoadAndSaveFunction = std::function<::testing::AssertionResult(MemoryPropertyBag& bag, MemoryPropertyBag& saved)>;
[[nodiscard]] HostileTally TryHostileValues(const std::vector<PersistedKey>& keys, const MemoryPropertyBag& present,
                                            const MemoryPropertyBag& empty, size_t emulatedStride,
                                            const LoadAndSaveFunction& loadAndSave);

// The saved bytes with the last `cut` bytes missing, or with byte `at`
// inverted.
[[nodiscard]] std::vector<BYTE> Truncated(const std::vector<BYTE>& bytes, size_t length);
[[nodiscard]] std::vector<BYTE> Flipped(const std::vector<BYTE>& bytes, size_t at);

// A compound-file storage in memory whose "Contents" stream holds `bytes`,
// as a control's IPersistStorage::Save leaves it.
// An empty compound file in memory, open for reading and writing.
[[nodiscard]] com_ptr<IStorage> StorageInMemory();
[[nodiscard]] com_ptr<IStorage> StorageWithContents(const std::vector<BYTE>& bytes);

// Offsets to damage: every one natively; every `stride`-th one (and the
// last) through a CPU emulator, where each load costs many times more.
[[nodiscard]] std::vector<size_t> OffsetsToTry(size_t size, size_t emulatedStride);

// How damaged saved data reaches a control, and how it is damaged.
enum class SavedMedium { Stream, Storage };
enum class Damage { CutShort, ByteInverted };
[[nodiscard]] const char* NameOf(SavedMedium medium) noexcept;
[[nodiscard]] const char* NameOf(Damage damage) noexcept;

// Loads every truncation of `saved` (lengths 0 to size - 1), or every copy
// with one byte inverted, into controls of `clsid` that have no site, as a
// host makes one before loading it, through `medium`. A load that fails must
// fail with an error and leave the control unloaded (it cannot save), so the
// next input goes to the same control; a load that works must leave a
// consistent control, which `consistent` checks and which must save again.
// Last, the control that took the failures loads the intact bytes and saves
// them back unchanged. Each outcome is counted in `tally`. Through a CPU
// emulator every `emulatedStride`-th input is tried.
// The offsets are split into `parts` runs of about equal length, of which
// `part` is tried, so that each test case stays short.
struct DamageRun {
    SavedMedium medium = SavedMedium::Stream;
    Damage damage = Damage::CutShort;
    size_t part = 0, parts = 1;
};
void LoadDamagedCopies(const CLSID& clsid, const std::vector<BYTE>& saved, const DamageRun& run,
                       size_t emulatedStride, const std::function<void(IUnknown& control)>& consistent,
                       HostileTally& tally);

// Every medium, damage and part, for INSTANTIATE_TEST_SUITE_P, and a name
// for each ("Stream_CutShort_1of4").
[[nodiscard]] std::vector<DamageRun> EveryDamageRun(size_t parts);
[[nodiscard]] std::string NameOf(const DamageRun& run);
void PrintTo(const DamageRun& run, std::ostream* out);

}  // namespace zo::test
