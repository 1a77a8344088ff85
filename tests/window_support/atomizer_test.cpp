// Atomizer against the real global atom table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/module.h"
#include "window_support/atomizer.h"

namespace {

std::wstring ExpectedName(const zo::Atomizer& atomizer) {
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(&atomizer)) +
           std::to_wstring(reinterpret_cast<std::uintptr_t>(zo::ModuleInstance()));
}

std::wstring NameOf(ATOM atom) {
    wchar_t name[256] = {};
    const UINT length = ::GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, length);
}

TEST(AtomizerTest, ValueIsTheSignedAtomOfItsName) {
    const zo::Atomizer atomizer;
    const std::wstring name = ExpectedName(atomizer);
    const ATOM found = ::GlobalFindAtomW(name.c_str());
    ASSERT_NE(found, 0) << "the atom is in the global table under the address-and-instance name";
    EXPECT_EQ(atomizer.Atom(), found);
    EXPECT_EQ(atomizer.Value(), static_cast<std::int16_t>(found));
    EXPECT_GE(atomizer.Value(), -16384) << "a string atom reads negative";
    EXPECT_LE(atomizer.Value(), -1);
    EXPECT_EQ(atomizer.PropertyName(), std::to_wstring(atomizer.Value()));
    EXPECT_EQ(atomizer.PropertyName().front(), L'-');
}

TEST(AtomizerTest, AtomsAreWidenedAsSigned16BitNumbers) {
    struct Case {
        ATOM atom;
        std::int32_t value;
    };
    const Case cases[] = {{0xC001, -16383}, {0xC000, -16384}, {0xFFFF, -1}, {0x7FFF, 32767}, {1, 1}, {0, 0}};
    for (const Case& c : cases) EXPECT_EQ(zo::Atomizer::ValueOf(c.atom), c.value) << std::hex << c.atom;
}

TEST(AtomizerTest, EachObjectOwnsItsAtomUntilItEnds) {
    std::wstring firstName;
    ATOM first = 0;
    {
        const zo::Atomizer one;
        const zo::Atomizer two;
        EXPECT_NE(one.Atom(), two.Atom()) << "two objects, two names, two atoms";
        first = one.Atom();
        firstName = ExpectedName(one);
        EXPECT_EQ(NameOf(first), firstName);
    }
    EXPECT_EQ(::GlobalFindAtomW(firstName.c_str()), 0) << "the atom is deleted with its object";
}

TEST(AtomizerTest, LibraryAtomizerLivesUntilReleased) {
    const zo::Atomizer& shared = zo::LibraryAtomizer();
    EXPECT_EQ(&zo::LibraryAtomizer(), &shared) << "one shared object";
    const std::wstring name = ExpectedName(shared);
    ASSERT_NE(::GlobalFindAtomW(name.c_str()), 0);

    zo::ReleaseLibraryAtomizer();
    EXPECT_EQ(::GlobalFindAtomW(name.c_str()), 0) << "unloading deletes the atom";
    zo::ReleaseLibraryAtomizer();  // a second unload does nothing

    const zo::Atomizer& again = zo::LibraryAtomizer();
    EXPECT_NE(again.Atom(), 0);
    EXPECT_EQ(::GlobalFindAtomW(ExpectedName(again).c_str()), again.Atom());
    zo::ReleaseLibraryAtomizer();
}

}  // namespace
