// The appearance and container members of a PropertyList: the values a new
// instance starts with, each setter keeping its value and telling the
// container, the fonts and the window handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/host/ambient_properties.h"
#include "tests/host/memory_stream.h"
#include "tests/host/property_notify.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

class AppearanceTest : public PropertyListTest {
protected:
    void SetUp() override { ASSERT_TRUE(HostList()); }

    // S_OK when the control has changes its container has not saved.
    HRESULT IsDirty() {
        auto persist = container.Query<IPersistStreamInit>();
        return persist ? persist->IsDirty() : E_NOINTERFACE;
    }
};

// A picture object holding a standard icon, as a host passes for MouseIcon.
com_ptr<IPictureDisp> IconPicture() {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = PICTYPE_ICON;
    description.icon.hicon = ::LoadIconW(nullptr, IDI_APPLICATION);
    com_ptr<IPictureDisp> picture;
    if (FAILED(::OleCreatePictureIndirect(&description, IID_IPictureDisp, FALSE, picture.put_void()))) return nullptr;
    return picture;
}

TEST_F(AppearanceTest, ANewInstanceStartsWithTheDocumentedValues) {
    struct ColourCase {
        const wchar_t* property;
        unsigned long expected;
    };
    const ColourCase colours[] = {
        {L"BackColor", 0x80000005},
        {L"HighlightColor", 0x8000000D},
        {L"HighlightText", 0x8000000E},
    };
    for (const ColourCase& c : colours) {
        SCOPED_TRACE(Narrow(c.property));
        EXPECT_EQ(ColourOf(Property(c.property)), c.expected);
    }
    struct Case {
        const wchar_t* property;
        Variant expected;
    };
    const Case others[] = {
        {L"AllowEdit", Variant(true)},  {L"TextTrue", Variant(L"True")}, {L"TextFalse", Variant(L"False")},
        {L"ListCount", Variant(0)},     {L"HoldDraw", Variant(false)},   {L"Selected", Variant(-1)},
        {L"Enabled", Variant(true)},
    };
    for (const Case& c : others) {
        SCOPED_TRACE(Narrow(c.property));
        EXPECT_EQ(Property(c.property).ToString(), c.expected.ToString());
    }
    const std::optional<FontFacts> header = FactsOf(Property(L"FontHeader"));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->weight, FW_BOLD);
    const std::optional<FontFacts> font = FactsOf(Property(L"Font"));
    ASSERT_TRUE(font);
    EXPECT_EQ(font->weight, FW_NORMAL);
}

TEST_F(AppearanceTest, EachSetterKeepsItsValueAndReportsItsDispId) {
    struct Case {
        const wchar_t* property;
        DISPID dispid;
        Variant value;
    };
    const Case cases[] = {
        {L"BackColor", list_dispid::BackColor, Colour(0x000000FF)},
        {L"BackColor", list_dispid::BackColor, Colour(0x8000000F)},
        {L"ForeColor", list_dispid::ForeColor, Colour(0x00FF0000)},
        {L"HighlightColor", list_dispid::HighlightColor, Colour(0x0000FF00)},
        {L"HighlightText", list_dispid::HighlightText, Colour(0x00FFFFFF)},
        {L"Enabled", list_dispid::Enabled, Variant(false)},
        {L"Enabled", list_dispid::Enabled, Variant(true)},
        {L"BorderStyle", list_dispid::BorderStyle, Variant(0)},
        {L"BorderStyle", list_dispid::BorderStyle, Variant(1)},
        {L"MousePointer", list_dispid::MousePointer, Short(11)},
        {L"MousePointer", list_dispid::MousePointer, Short(0)},
        {L"AllowEdit", list_dispid::AllowEdit, Variant(false)},
        {L"AllowEdit", list_dispid::AllowEdit, Variant(true)},
        {L"TextTrue", list_dispid::TextTrue, Variant(L"Ja")},
        {L"TextFalse", list_dispid::TextFalse, Variant(L"Nein")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.property) << " = " << Narrow(c.value.Describe()));
        changes.Clear();
        ASSERT_TRUE(DispOk(Put(list.get(), c.property, c.value)));

        EXPECT_EQ(changes.Count(c.dispid), 1u);
        const Variant read = Property(c.property);
        if (c.value.vt() == VT_UI4)
            EXPECT_EQ(ColourOf(read), c.value.ToULong());
        else
            EXPECT_EQ(read.ToString(), c.value.ToString());
    }
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(AppearanceTest, ObjectPropertiesKeepTheObjectsTheyAreGiven) {
    const com_ptr<IPictureDisp> icon = IconPicture();
    ASSERT_TRUE(icon);
    struct Case {
        const wchar_t* property;
        DISPID dispid;
        WORD how;
        com_ptr<IDispatch> value;
    };
    const Case cases[] = {
        {L"Font", list_dispid::Font, DISPATCH_PROPERTYPUTREF, com_ptr<IDispatch>(MakeFont(L"Arial", 12, FW_BOLD).get())},
        {L"Font", list_dispid::Font, DISPATCH_PROPERTYPUT,
         com_ptr<IDispatch>(MakeFont(L"Courier New", 9.75, FW_NORMAL, true).get())},
        {L"FontHeader", list_dispid::FontHeader, DISPATCH_PROPERTYPUTREF,
         com_ptr<IDispatch>(MakeFont(L"Times New Roman", 14, FW_NORMAL, true).get())},
        {L"FontHeader", list_dispid::FontHeader, DISPATCH_PROPERTYPUT,
         com_ptr<IDispatch>(MakeFont(L"Arial", 8, FW_BOLD).get())},
        {L"MouseIcon", list_dispid::MouseIcon, DISPATCH_PROPERTYPUTREF, com_ptr<IDispatch>(icon.get())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.property)
                                        << (c.how == DISPATCH_PROPERTYPUT ? " let" : " set by reference"));
        ASSERT_TRUE(c.value);
        changes.Clear();
        const std::optional<DISPID> id = DispIdOf(list.get(), c.property);
        ASSERT_TRUE(id);
        ASSERT_TRUE(DispOk(InvokeById(list.get(), *id, c.how, {Variant(c.value.get())})));

        EXPECT_EQ(changes.Count(c.dispid), 1u);
        const Variant read = Property(c.property);
        ASSERT_TRUE(read.IsObject());
        if (const std::optional<FontFacts> expected = FactsOf(c.value.get()))
            EXPECT_EQ(FactsOf(read), expected);
        else
            EXPECT_EQ(read.ToUnknown(), c.value.query<IUnknown>());
    }
}

TEST_F(AppearanceTest, HWndIsTheControlsInPlaceWindow) {
    HWND window = container.ControlHwnd();
    ASSERT_TRUE(window);
    EXPECT_EQ(Property(L"hWnd").ToLong(), static_cast<LONG>(reinterpret_cast<INT_PTR>(window)));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::IsChild(container.FrameHwnd(), window));
}

TEST_F(AppearanceTest, ATallerFontMakesNamesAddedLaterWider) {
    const wchar_t name[] = L"A property name long enough to measure";
    const int twips = TwipsPerPixelX();
    LONG widths[2] = {};
    const double sizes[] = {8.25, 16.5};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << sizes[i] << " pt");
        ASSERT_TRUE(DispOk(PutRef(list.get(), L"Font", Variant(MakeFont(L"Arial", sizes[i]).get()))));
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(name)));

        const Variant font = Property(L"Font");
        const int pixels = TextWidthPixels(font.ToUnknown().get(), name);
        ASSERT_GT(pixels, 0);
        widths[i] = Property(L"LongestItem").ToLong();
        EXPECT_EQ(widths[i], pixels * twips + 3 * twips);
    }
    EXPECT_GT(widths[1], widths[0] * 3 / 2);
}

// Painting keeps the header font's size equal to the list font's. An OLE
// font makes a new handle on every put, so a size that is already equal is
// not put again, also when the header font is the list font itself.
TEST_F(AppearanceTest, PaintingPutsNoHeaderFontSizeThatIsAlreadyEqual) {
    const com_ptr<IFontDisp> shared = MakeFont(L"Arial", 9);
    ASSERT_TRUE(DispOk(PutRef(list.get(), L"Font", Variant(shared.get()))));
    ASSERT_TRUE(DispOk(PutRef(list.get(), L"FontHeader", Variant(shared.get()))));
    ASSERT_TRUE(DispOk(Add(L"Header", L"", kHeaderRow)));
    PropertyNotifyRecorder fontChanges;
    ASSERT_EQ(fontChanges.Connect(shared.get()), S_OK);
    for (int i = 0; i < 3; ++i) {
        ::RedrawWindow(container.ControlHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        container.Pump();
    }
    EXPECT_TRUE(fontChanges.Changes().empty());
    (void)fontChanges.Disconnect();
}

TEST_F(AppearanceTest, ChangingAPersistedPropertyMakesTheControlDirty) {
    using Change = std::function<DispResult()>;
    struct Case {
        const char* what;
        Change change;
    };
    const Case cases[] = {
        {"BackColor", [&] { return Put(list.get(), L"BackColor", Colour(0x00112233)); }},
        {"ForeColor", [&] { return Put(list.get(), L"ForeColor", Colour(0x00332211)); }},
        {"HighlightColor", [&] { return Put(list.get(), L"HighlightColor", Colour(0x00445566)); }},
        {"HighlightText", [&] { return Put(list.get(), L"HighlightText", Colour(0x00665544)); }},
        {"AllowEdit", [&] { return Put(list.get(), L"AllowEdit", Variant(false)); }},
        {"BorderStyle", [&] { return Put(list.get(), L"BorderStyle", Variant(0)); }},
        {"TextTrue", [&] { return Put(list.get(), L"TextTrue", Variant(L"On")); }},
        {"TextFalse", [&] { return Put(list.get(), L"TextFalse", Variant(L"Off")); }},
        {"Font", [&] { return PutRef(list.get(), L"Font", Variant(MakeFont(L"Arial", 11).get())); }},
        {"FontHeader", [&] { return PutRef(list.get(), L"FontHeader", Variant(MakeFont(L"Arial", 11).get())); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryStream saved;
        ASSERT_EQ(container.Save(saved.get(), true), S_OK);
        ASSERT_EQ(IsDirty(), S_FALSE);
        ASSERT_TRUE(DispOk(c.change()));
        EXPECT_EQ(IsDirty(), S_OK);
    }
}

}  // namespace
}  // namespace zo::test
