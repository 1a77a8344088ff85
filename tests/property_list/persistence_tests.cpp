// Saving and loading a PropertyList: the keys it writes and reads, the
// defaults it leaves out and falls back to, and round trips through a
// property bag, a stream and a storage.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/host/ambient_properties.h"
#include "tests/host/memory_stream.h"
#include "tests/host/property_bag.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

using Keys = std::vector<std::wstring>;

const Keys kPersistedKeys = {L"BorderStyle", L"HighlightColor", L"HighlightText", L"AllowEdit", L"BackColor",
                             L"ForeColor",   L"Font",           L"FontHeader",    L"TextTrue",  L"TextFalse"};

// Every persisted property of a control, as a host reads it back.
struct Persisted {
    int borderStyle = 0;
    unsigned long highlightColor = 0, highlightText = 0;
    bool allowEdit = false;
    unsigned long backColor = 0, foreColor = 0;
    FontFacts font, fontHeader;
    std::wstring textTrue, textFalse;

    friend bool operator==(const Persisted&, const Persisted&) = default;
};

void PrintTo(const Persisted& p, std::ostream* out) {
    *out << std::hex << "{BorderStyle " << p.borderStyle << ", HighlightColor " << p.highlightColor
         << ", HighlightText " << p.highlightText << ", AllowEdit " << p.allowEdit << ", BackColor " << p.backColor
         << ", ForeColor " << p.foreColor << std::dec << ", Font ";
    PrintTo(p.font, out);
    *out << ", FontHeader ";
    PrintTo(p.fontHeader, out);
    *out << ", TextTrue \"" << Narrow(p.textTrue) << "\", TextFalse \"" << Narrow(p.textFalse) << "\"}";
}

// Values that differ from every default. The faces are ones the test
// machine has, so that a lost face shows; the sizes are whole pixels.
const Persisted kChanged = {
    0,
    0x00123456,
    0x00654321,
    false,
    0x00ABCDEF,
    0x00FEDCBA,
    {L"DejaVu Sans Mono", 12, FW_BOLD, false},
    {L"DejaVu Serif", 9, FW_NORMAL, true},
    L"Ja",
    L"Nein",
};

// `p` with its fonts as the system realizes them, which is how a control
// reports them back.
Persisted RealizedFonts(Persisted p) {
    p.font = Realized(p.font);
    p.fontHeader = Realized(p.fontHeader);
    return p;
}

class PersistenceTest : public PropertyListTest {
protected:
    [[nodiscard]] Persisted Read() {
        Persisted p;
        p.borderStyle = Property(L"BorderStyle").ToLong();
        p.highlightColor = ColourOf(Property(L"HighlightColor"));
        p.highlightText = ColourOf(Property(L"HighlightText"));
        p.allowEdit = Property(L"AllowEdit").ToBool();
        p.backColor = ColourOf(Property(L"BackColor"));
        p.foreColor = ColourOf(Property(L"ForeColor"));
        p.font = FactsOf(Property(L"Font")).value_or(FontFacts{L"(no font)"});
        p.fontHeader = FactsOf(Property(L"FontHeader")).value_or(FontFacts{L"(no font)"});
        p.textTrue = Property(L"TextTrue").ToString();
        p.textFalse = Property(L"TextFalse").ToString();
        return p;
    }

    void Apply(const Persisted& p) {
        ExpectOk(Put(list.get(), L"BorderStyle", Variant(p.borderStyle)));
        ExpectOk(Put(list.get(), L"HighlightColor", Colour(p.highlightColor)));
        ExpectOk(Put(list.get(), L"HighlightText", Colour(p.highlightText)));
        ExpectOk(Put(list.get(), L"AllowEdit", Variant(p.allowEdit)));
        ExpectOk(Put(list.get(), L"BackColor", Colour(p.backColor)));
        ExpectOk(Put(list.get(), L"ForeColor", Colour(p.foreColor)));
        ExpectOk(PutRef(list.get(), L"Font", Font(p.font)));
        ExpectOk(PutRef(list.get(), L"FontHeader", Font(p.fontHeader)));
        ExpectOk(Put(list.get(), L"TextTrue", Variant(p.textTrue)));
        ExpectOk(Put(list.get(), L"TextFalse", Variant(p.textFalse)));
    }

    static Variant Font(const FontFacts& facts) {
        return Variant(MakeFont(facts.name.c_str(), facts.points, facts.weight, facts.italic).get());
    }

    // Hosts a control loaded from `bag`.
    ::testing::AssertionResult LoadFrom(MemoryPropertyBag& bag) {
        HostOptions options;
        options.bag = bag.get();
        return HostList(options);
    }

    // Makes a new control's fonts equal to the container's font, so that
    // the control has nothing to write.
    void UseAmbientFonts() {
        ExpectOk(PutRef(list.get(), L"Font", Variant(DefaultAmbientFont().get())));
        ExpectOk(PutRef(list.get(), L"FontHeader", Variant(DefaultAmbientFont().get())));
    }
};

TEST_F(PersistenceTest, SavingWritesEveryChangedPropertyUnderItsKeyInOrder) {
    ASSERT_TRUE(HostList());
    Apply(kChanged);
    MemoryPropertyBag bag(ObjectStorage::ByValue);

    ASSERT_EQ(container.Save(bag.get()), S_OK);

    EXPECT_EQ(bag.Writes(), kPersistedKeys);
    EXPECT_EQ(bag.Get(L"BorderStyle")->ToLong(), 0);
    EXPECT_EQ(ColourOf(*bag.Get(L"HighlightColor")), 0x00123456u);
    EXPECT_EQ(ColourOf(*bag.Get(L"HighlightText")), 0x00654321u);
    EXPECT_FALSE(bag.Get(L"AllowEdit")->ToBool());
    EXPECT_EQ(ColourOf(*bag.Get(L"BackColor")), 0x00ABCDEFu);
    EXPECT_EQ(ColourOf(*bag.Get(L"ForeColor")), 0x00FEDCBAu);
    EXPECT_EQ(FactsOf(*bag.Get(L"Font")), Realized(kChanged.font));
    EXPECT_EQ(FactsOf(*bag.Get(L"FontHeader")), Realized(kChanged.fontHeader));
    EXPECT_EQ(bag.Get(L"TextTrue")->ToString(), L"Ja");
    EXPECT_EQ(bag.Get(L"TextFalse")->ToString(), L"Nein");
}

TEST_F(PersistenceTest, ANewInstanceWritesNoDefaultValueButItsBoldHeaderFont) {
    ASSERT_TRUE(HostList());
    MemoryPropertyBag bag;

    ASSERT_EQ(container.Save(bag.get()), S_OK);

    // The header font differs from the list font; every other value is a default.
    EXPECT_TRUE(bag.Has(L"FontHeader"));
    for (const std::wstring& key : kPersistedKeys) {
        if (key == L"Font" || key == L"FontHeader") continue;
        EXPECT_FALSE(bag.Has(key)) << Narrow(key) << " was written";
    }
}

TEST_F(PersistenceTest, AValueEqualToItsDefaultIsNotWritten) {
    ASSERT_TRUE(HostList());
    struct Case {
        const char* what;
        std::function<void()> change;
        Keys written;
        std::function<void()> restore;
    };
    const Case cases[] = {
        {"BorderStyle", [&] { ExpectOk(Put(list.get(), L"BorderStyle", Variant(0))); }, {L"BorderStyle"},
         [&] { ExpectOk(Put(list.get(), L"BorderStyle", Variant(1))); }},
        {"HighlightColor", [&] { ExpectOk(Put(list.get(), L"HighlightColor", Colour(0xFF))); }, {L"HighlightColor"},
         [&] { ExpectOk(Put(list.get(), L"HighlightColor", Colour(0x8000000D))); }},
        {"HighlightText", [&] { ExpectOk(Put(list.get(), L"HighlightText", Colour(0xFF))); }, {L"HighlightText"},
         [&] { ExpectOk(Put(list.get(), L"HighlightText", Colour(0x8000000E))); }},
        {"AllowEdit", [&] { ExpectOk(Put(list.get(), L"AllowEdit", Variant(false))); }, {L"AllowEdit"},
         [&] { ExpectOk(Put(list.get(), L"AllowEdit", Variant(true))); }},
        {"BackColor", [&] { ExpectOk(Put(list.get(), L"BackColor", Colour(0xFF))); }, {L"BackColor"},
         [&] { ExpectOk(Put(list.get(), L"BackColor", Colour(0x80000005))); }},
        {"ForeColor", [&] { ExpectOk(Put(list.get(), L"ForeColor", Colour(0xFF))); }, {L"ForeColor"},
         [&] { ExpectOk(Put(list.get(), L"ForeColor", Colour(0x80000008))); }},
        // The header font's default is the list font, so both go out.
        {"Font", [&] { ExpectOk(PutRef(list.get(), L"Font", Variant(MakeFont(L"Arial", 12).get()))); },
         {L"Font", L"FontHeader"}, [&] { UseAmbientFonts(); }},
        {"FontHeader", [&] { ExpectOk(PutRef(list.get(), L"FontHeader", Variant(MakeFont(L"Arial", 12).get()))); },
         {L"FontHeader"}, [&] { UseAmbientFonts(); }},
        {"TextTrue", [&] { ExpectOk(Put(list.get(), L"TextTrue", Variant(L"Yes"))); }, {L"TextTrue"},
         [&] { ExpectOk(Put(list.get(), L"TextTrue", Variant(L"True"))); }},
        {"TextFalse", [&] { ExpectOk(Put(list.get(), L"TextFalse", Variant(L"No"))); }, {L"TextFalse"},
         [&] { ExpectOk(Put(list.get(), L"TextFalse", Variant(L"False"))); }},
    };
    UseAmbientFonts();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        MemoryPropertyBag changed;
        ASSERT_EQ(container.Save(changed.get()), S_OK);
        EXPECT_EQ(changed.Keys(), c.written);

        c.restore();
        MemoryPropertyBag restored;
        ASSERT_EQ(container.Save(restored.get()), S_OK);
        EXPECT_EQ(restored.Keys(), Keys{});
    }
}

TEST_F(PersistenceTest, LoadingReadsTheTenKeysInOrderAndAppliesThem) {
    MemoryPropertyBag bag(ObjectStorage::ByValue);
    // Keys are matched whatever their case.
    bag.Set(L"borderstyle", Variant(static_cast<std::int16_t>(0)));
    bag.Set(L"HIGHLIGHTCOLOR", Variant(static_cast<std::int32_t>(0x00123456)));
    bag.Set(L"HighlightText", Variant(static_cast<std::int32_t>(0x00654321)));
    bag.Set(L"allowEdit", Variant(false));
    bag.Set(L"BackColor", Variant(static_cast<std::int32_t>(0x00ABCDEF)));
    bag.Set(L"foreColor", Variant(static_cast<std::int32_t>(0x00FEDCBA)));
    bag.Set(L"Font", Font(kChanged.font));
    bag.Set(L"FONTHEADER", Font(kChanged.fontHeader));
    bag.Set(L"TextTrue", Variant(L"Ja"));
    bag.Set(L"textfalse", Variant(L"Nein"));

    ASSERT_TRUE(LoadFrom(bag));

    EXPECT_EQ(bag.Reads(), kPersistedKeys);
    EXPECT_EQ(Read(), RealizedFonts(kChanged));
}

TEST_F(PersistenceTest, AMissingKeyReadsAsItsDefault) {
    // A container font unlike the control's own shows where fonts come from.
    container.Ambient().font = MakeFont(L"DejaVu Serif", 12);
    const FontFacts ambient = Realized({L"DejaVu Serif", 12, FW_NORMAL, false});
    const Persisted defaults = {
        1, 0x8000000D, 0x8000000E, true, 0x80000005, 0x80000008, ambient, ambient, L"True", L"False",
    };
    for (bool empty : {true, false}) {
        SCOPED_TRACE(empty ? "empty bag" : "bag with only other keys");
        MemoryPropertyBag bag;
        if (!empty) bag.Set(L"SomethingElse", Variant(L"x"));

        ASSERT_TRUE(LoadFrom(bag));

        EXPECT_EQ(Read(), defaults);
        CloseList();
    }
}

TEST_F(PersistenceTest, AKeyThatCannotBeReadLeavesItsPropertyAsItWas) {
    // The fonts of a control before anything is read: those of a new one.
    ASSERT_TRUE(HostList());
    const Persisted fresh = Read();
    CloseList();
    container.Ambient().font = MakeFont(L"DejaVu Serif", 12);
    ASSERT_NE(fresh.font, *FactsOf(container.Ambient().font.get()));
    ASSERT_NE(fresh.fontHeader, *FactsOf(container.Ambient().font.get()));

    struct Case {
        const wchar_t* key;
        Variant stored;          // when the value is of a type that does not convert
        HRESULT readFailure;     // when the bag cannot read it at all
    };
    const Case cases[] = {
        {L"Font", Variant(L"not a font"), S_OK},
        {L"FontHeader", Variant(L"not a font"), S_OK},
        {L"Font", Variant(L"Arial"), E_FAIL},
        {L"FontHeader", Variant(L"Arial"), STG_E_READFAULT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.key) << " holding " << Narrow(c.stored.Describe())
                                        << ", read failing with " << HResultText(c.readFailure));
        MemoryPropertyBag bag;
        bag.Set(c.key, c.stored);
        if (FAILED(c.readFailure)) bag.FailRead(c.key, c.readFailure);
        // Later keys are still read.
        bag.Set(L"TextTrue", Variant(L"Ja"));

        ASSERT_TRUE(LoadFrom(bag));

        const Persisted loaded = Read();
        if (std::wstring(c.key) == L"Font")
            EXPECT_EQ(loaded.font, fresh.font);
        else
            EXPECT_EQ(loaded.fontHeader, fresh.fontHeader);
        EXPECT_EQ(loaded.textTrue, L"Ja");
        CloseList();
    }
}

TEST_F(PersistenceTest, EveryPersistedPropertySurvivesASaveAndLoad) {
    enum class Medium { PropertyBag, Stream, Storage };
    for (Medium medium : {Medium::PropertyBag, Medium::Stream, Medium::Storage}) {
        const char* name = medium == Medium::PropertyBag ? "property bag"
                           : medium == Medium::Stream    ? "stream"
                                                         : "storage";
        SCOPED_TRACE(name);
        MemoryPropertyBag bag(ObjectStorage::ByValue);
        MemoryStream stream;
        MemoryStorage storage;
        HostOptions options;
        switch (medium) {
        case Medium::PropertyBag: break;
        case Medium::Stream: options.persistence = Persistence::StreamInit; break;
        case Medium::Storage:
            options.persistence = Persistence::Storage;
            options.storage = storage.get();
            break;
        }
        ASSERT_TRUE(HostList(options));
        Apply(kChanged);
        ASSERT_EQ(Read(), RealizedFonts(kChanged));
        switch (medium) {
        case Medium::PropertyBag:
            ASSERT_EQ(container.Save(bag.get()), S_OK);
            options.bag = bag.get();
            break;
        case Medium::Stream:
            ASSERT_EQ(container.Save(stream.get()), S_OK);
            stream.Rewind();
            options.stream = stream.get();
            break;
        case Medium::Storage:
            ASSERT_EQ(container.Save(storage.get()), S_OK);
            ASSERT_EQ(storage.Reopen(), S_OK);
            options.storage = storage.get();
            break;
        }
        CloseList();

        ASSERT_TRUE(HostList(options));

        EXPECT_EQ(Read(), RealizedFonts(kChanged));
        CloseList();
    }
}

}  // namespace
}  // namespace zo::test

namespace zo::test {
namespace {

// A bag without "Font" gives the container's font; the list keeps a copy,
// so a change to the list's font leaves the container's font alone.
TEST_F(PersistenceTest, AListLoadedWithoutAFontChangesACopyOfTheContainersFont) {
    container.Ambient().font = MakeFont(L"Arial", 10);
    MemoryPropertyBag bag;
    ASSERT_TRUE(LoadFrom(bag));
    com_ptr<IFont> listFont = Property(L"Font").ToUnknown().query<IFont>();
    ASSERT_TRUE(listFont);
    ASSERT_EQ(listFont->put_Bold(TRUE), S_OK);
    com_ptr<IFont> ambient = container.Ambient().font.query<IFont>();
    BOOL bold = TRUE;
    ASSERT_EQ(ambient->get_Bold(&bold), S_OK);
    EXPECT_FALSE(bold);
    EXPECT_EQ(FactsOf(Property(L"Font"))->weight, FW_BOLD);
}

}  // namespace
}  // namespace zo::test
