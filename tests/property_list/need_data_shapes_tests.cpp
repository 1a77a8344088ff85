// NeedData answers of every shape a host can give, whatever the event's
// declaration says: arrays of other dimensions, element types, bounds and
// features, and an answer that is no array at all. The list editor opens
// with the entries that read as text, in order, up to the first that does
// not, and the control goes on working.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <iostream>

#include "common/handles.h"
#include "tests/host/ambient_properties.h"
#include "tests/host/com_object.h"
#include "tests/host/hostile_data.h"
#include "tests/property_list/editing_fixture.h"

namespace zo::test {
namespace {

using Entries = std::vector<std::wstring>;

// Puts `array` into the by-reference array argument, destroying what was there.
void Answer(EventArgs& args, SAFEARRAY* array) {
    SAFEARRAY** slot = V_ARRAYREF(&args.Raw(1));
    if (*slot) ::SafeArrayDestroy(*slot);
    *slot = array;
}

SAFEARRAY* Texts(const Entries& items, LONG lower = 0) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_BSTR, lower, static_cast<ULONG>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        LONG index = lower + static_cast<LONG>(i);
        // A null BSTR is how an untouched String element looks.
        if (items[i] == L"(null)") continue;
        const unique_bstr item(::SysAllocString(items[i].c_str()));
        ::SafeArrayPutElement(array, &index, item.get());
    }
    return array;
}

SAFEARRAY* Variants(std::vector<Variant> items) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) ::SafeArrayPutElement(array, &i, items[i].ptr());
    return array;
}

SAFEARRAY* TextMatrix() {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    SAFEARRAY* array = ::SafeArrayCreate(VT_BSTR, 2, bounds);
    LONG index[2] = {0, 0};
    const unique_bstr item(::SysAllocString(L"cell"));
    ::SafeArrayPutElement(array, index, item.get());
    return array;
}

SAFEARRAY* Longs(std::vector<LONG> items) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) ::SafeArrayPutElement(array, &i, &items[i]);
    return array;
}

SAFEARRAY* Objects() {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_DISPATCH, 0, 1);
    com_ptr<IFontDisp> font = MakeFont(L"Arial", 10);
    LONG index = 0;
    ::SafeArrayPutElement(array, &index, font.get());
    return array;
}

BOOL CALLBACK FindListBox(HWND window, LPARAM result) {
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    if (std::wstring(name) != L"ListBox") return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

class NeedDataShapesTest : public EditingListTest {
protected:
    // The rows of the list editor's drop-down list, a top-level list box of
    // this thread.
    [[nodiscard]] static Entries ListEditorEntries() {
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindListBox, reinterpret_cast<LPARAM>(&found));
        Entries entries;
        if (!found) return entries;
        const LRESULT count = ::SendMessageW(found, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(::SendMessageW(found, LB_GETTEXTLEN, i, 0)), L'\0');
            ::SendMessageW(found, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            entries.push_back(text);
        }
        return entries;
    }
};

TEST_F(NeedDataShapesTest, TheListEditorTakesTheEntriesThatReadAsTextUpToTheFirstThatDoesNot) {
    ASSERT_TRUE(DispOk(Add(L"Name", L"n")));
    ASSERT_TRUE(DispOk(Add(L"Pick", L"stored", kCustomRow)));
    SAFEARRAY* hostsOwn = Texts({L"the host's own"});
    const struct {
        const char* what;
        std::function<void(EventArgs&)> answer;
        Entries entries;
    } cases[] = {
        {"no answer", [](EventArgs&) {}, {}},
        {"an empty array", [](EventArgs& a) { Answer(a, Texts({})); }, {}},
        {"texts, some never set", [](EventArgs& a) { Answer(a, Texts({L"a", L"(null)", L"c"})); }, {L"a", L"", L"c"}},
        {"a 2-D array of texts", [](EventArgs& a) { Answer(a, TextMatrix()); }, {}},
        {"an array of Longs", [](EventArgs& a) { Answer(a, Longs({1, 2})); }, {}},
        {"an array of objects", [](EventArgs& a) { Answer(a, Objects()); }, {}},
        {"Variants holding numbers", [](EventArgs& a) { Answer(a, Variants({Variant(7), Variant(-2.5)})); },
         {L"7", L"-2.5"}},
        {"Variants holding Empty, then Nothing", [](EventArgs& a) {
             Answer(a, Variants({Variant(), Variant(L"x"), Variant::Nothing(), Variant(L"y")}));
         }, {L"", L"x"}},
        {"Variants holding Null first", [](EventArgs& a) { Answer(a, Variants({Variant::Null(), Variant(L"x")})); },
         {}},
        {"Variants holding an error", [](EventArgs& a) { Answer(a, Variants({Variant(L"x"), Variant::Missing()})); },
         {L"x"}},
        {"Variants holding arrays", [](EventArgs& a) { Answer(a, Variants({Variant::StringArray({L"in"})})); }, {}},
        {"a lower bound near the largest Long", [](EventArgs& a) { Answer(a, Texts({L"a", L"b"}, LONG_MAX - 9)); },
         {L"a", L"b"}},
        // The system itself reaches no element of an array whose bounds end
        // at the largest Long.
        {"bounds ending at the largest Long", [](EventArgs& a) { Answer(a, Texts({L"a", L"b"}, LONG_MAX - 1)); },
         {}},
        {"the lowest lower bound", [](EventArgs& a) { Answer(a, Texts({L"a", L"b"}, LONG_MIN)); }, {L"a", L"b"}},
        {"a fixed-size array", [](EventArgs& a) {
             SAFEARRAY* array = Texts({L"f1", L"f2"});
             array->fFeatures |= FADF_FIXEDSIZE;
             Answer(a, array);
         }, {L"f1", L"f2"}},
        {"the argument replaced by a text", [](EventArgs& a) {
             VARIANT& arg = a.Raw(1);
             V_VT(&arg) = VT_BSTR;
             V_BSTR(&arg) = ::SysAllocString(L"not an array");
         }, {}},
        {"the reference pointed at the host's own array", [&](EventArgs& a) { V_ARRAYREF(&a.Raw(1)) = &hostsOwn; },
         {}},
    };
    HostileTally tally;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        events.On(list_event::NeedData, c.answer);
        ClickRow(0);
        ClickRow(1);
        EXPECT_EQ(events.Count(list_event::NeedData), 1u);
        EXPECT_EQ(ListEditorEntries(), c.entries);
        EXPECT_EQ(Value(1), L"stored");
        events.Clear();
        tally.Add(c.entries.empty() ? "empty list" : "the readable entries");
    }
    // The host's own array was neither freed nor changed.
    LONG first = 0;
    BSTR raw = nullptr;
    ASSERT_EQ(::SafeArrayGetElement(hostsOwn, &first, &raw), S_OK);
    const unique_bstr kept(raw);
    EXPECT_STREQ(kept.get(), L"the host's own");
    ::SafeArrayDestroy(hostsOwn);
    // The control still works: a usable answer fills the list.
    events.On(list_event::NeedData, [](EventArgs& a) { a.SetStringArray(1, {L"p", L"q"}); });
    ClickRow(0);
    ClickRow(1);
    EXPECT_EQ(ListEditorEntries(), (Entries{L"p", L"q"}));
    std::cout << "NeedData answer shapes: " << tally.Summary() << std::endl;
}


// The list editor counts its rows in an Integer: an answer with more
// entries gives the first 32,767, and stepping through them still works.
TEST_F(NeedDataShapesTest, AnAnswerLongerThanTheListEditorCanCountGivesItsFirst32767Entries) {
    constexpr ULONG kAnswered = 40000;
    ASSERT_TRUE(DispOk(Add(L"Pick", L"e0", kCustomRow)));
    events.On(list_event::NeedData, [&](EventArgs& a) {
        SAFEARRAY* array = ::SafeArrayCreateVector(VT_BSTR, 0, kAnswered);
        BSTR* items = nullptr;
        ASSERT_EQ(::SafeArrayAccessData(array, reinterpret_cast<void**>(&items)), S_OK);
        for (ULONG i = 0; i < kAnswered; ++i) items[i] = ::SysAllocString((L"e" + std::to_wstring(i)).c_str());
        ::SafeArrayUnaccessData(array);
        Answer(a, array);
    });
    ClickRow(0);
    const Entries entries = ListEditorEntries();
    EXPECT_EQ(entries.size(), 32767u);
    EXPECT_EQ(entries.at(32766), L"e32766");
    DoubleClickRow(0);
    EXPECT_EQ(Value(0), L"e1") << "a double-click steps to the next entry";
}


// A host that puts an object of its own in place of the array argument
// hands it to the control, which owns the arguments it passed and releases
// it with them.
TEST_F(NeedDataShapesTest, AnObjectPutInPlaceOfTheArrayArgumentIsReleased) {
    ASSERT_TRUE(DispOk(Add(L"Pick", L"stored", kCustomRow)));
    const com_ptr<IFontDisp> font = MakeFont(L"Arial", 10);
    const ULONG before = RefCount(font.get());
    events.On(list_event::NeedData, [&](EventArgs& a) {
        VARIANT& arg = a.Raw(1);
        V_VT(&arg) = VT_DISPATCH;
        V_DISPATCH(&arg) = font.get();
        font->AddRef();
    });
    ClickRow(0);
    EXPECT_EQ(events.Count(list_event::NeedData), 1u);
    EXPECT_EQ(ListEditorEntries(), Entries{});
    EXPECT_EQ(RefCount(font.get()), before) << "the object put in the argument's place was leaked";
}

}  // namespace
}  // namespace zo::test
