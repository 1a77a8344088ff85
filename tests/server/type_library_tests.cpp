// The ZoPropertyList type library embedded in ZoPropList.ocx (TYPELIB 1):
// what hosts see of PropertyList when they bind to it, call it through
// IDispatch, or list it in a property browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "member_rendering.h"
#include "server_test_support.h"

namespace zo::server_tests {
namespace {

const std::wstring kHelpItem = L"Returns/sets the string displayed in the first column for the specified item.";
const std::wstring kHelpValue = L"Returns/sets the string displayed in the second column for the specified item.";
const std::wstring kHelpItemType = L"Returns/sets the type of the specified item.";
const std::wstring kHelpReadOnly = L"Returns/sets the read-only flag for the specified item.";
const std::wstring kHelpItemData = L"Returns/sets the user-defined value for the specified item.";
const std::wstring kHelpSelected = L"Returns/sets the currently selected item in the list.";
const std::wstring kHelpTopIndex =
    L"Returns/sets the scrollbar's thumb position to display the specified item as the first in the list.";
const std::wstring kHelpHoldDraw = L"Determines whether the control will paint itself.";
const std::wstring kHelpLongestItem = L"Returns the width, in Twips, of the longest item in the first column.";
const std::wstring kHelpTextTrue =
    L"Returns/sets the string to display in a Boolean-valued item when the value is True.";
const std::wstring kHelpTextFalse =
    L"Returns/sets the string to display in a Boolean-valued item when the value is False.";
const std::wstring kHelpBackColor = L"Returns/sets the background color for the property list.";
const std::wstring kHelpForeColor = L"Returns/sets the color to use for non-selected text in the property list.";
const std::wstring kHelpEnabled = L"Returns/sets whether the control responds to user input.";
const std::wstring kHelpFont = L"Returns/sets the font to be used for the property list.";
const std::wstring kHelpBorderStyle = L"Adds or removes the border from the property list control.";
const std::wstring kHelpMouseIcon = L"Returns/sets a custom mouse pointer.";
const std::wstring kHelpMousePointer =
    L"Returns/sets the type of mouse pointer displayed when over part of an object.";
const std::wstring kHelpHighlightColor = L"Returns/sets the color to use for selected list items.";
const std::wstring kHelpHighlightText = L"Returns/sets the color to use for selected text.";
const std::wstring kHelpAllowEdit =
    L"Returns/sets whether the user is allowed to change values in the property list.";
const std::wstring kHelpFontHeader = L"Returns/sets the font to be used for header items in the property list.";

// Every function of the vtable half of _PropertyList, keyed by DISPID and
// invoke kind (several functions share the DISPID of their property).
const ExpectedMembers& ExpectedPropertyListMembers() {
    static const ExpectedMembers members{
        {0x6003002A,
         {kMethod,
          L"[id(0x6003002A)] Add([in] BSTR Name, [in, optional, defaultvalue(BSTR:\"\")] BSTR Content, "
          L"[in, optional, defaultvalue(BOOL:0)] VARIANT_BOOL ReadOnly, "
          L"[in, optional, defaultvalue(I4:0)] ItemTypes ItemType, "
          L"[in, optional, defaultvalue(I2:-1)] short Index)",
          5, 4, L"Adds an item to the property list."}},
        {0x68030006,
         {kGet, L"[id(0x68030006), propget] ListCount([out, retval] short* RetVal)", 1, 0,
          L"Returns the number of items in the list."}},
        {0x6003002B,
         {kMethod, L"[id(0x6003002B)] Remove([in] short Index)", 1, 0,
          L"Removes the specified item from the property list."}},
        {0x6003002D, {kMethod, L"[id(0x6003002D)] Clear()", 0, 0, L"Removes all items from the property list."}},
        {0x68030003,
         {kGet, L"[id(0x68030003), propget] Item([in] short Index, [out, retval] BSTR* RetVal)", 2, 0, kHelpItem}},
        {0x68030003, {kPut, L"[id(0x68030003), propput] Item([in] short Index, [in] BSTR)", 2, 0, kHelpItem}},
        {0x68030002,
         {kGet, L"[id(0x68030002), propget] Value([in] short Index, [out, retval] BSTR* RetVal)", 2, 0,
          kHelpValue}},
        {0x68030002, {kPut, L"[id(0x68030002), propput] Value([in] short Index, [in] BSTR)", 2, 0, kHelpValue}},
        {0x6803002E,
         {kGet, L"[id(0x6803002E), propget] ItemType([in, out] short* Index, [out, retval] ItemTypes* RetVal)", 2,
          0, kHelpItemType}},
        {0x6803002E,
         {kPut, L"[id(0x6803002E), propput] ItemType([in, out] short* Index, [in] ItemTypes)", 2, 0,
          kHelpItemType}},
        {0x68030035,
         {kGet, L"[id(0x68030035), propget] ReadOnly([in] short Index, [out, retval] VARIANT_BOOL* RetVal)", 2, 0,
          kHelpReadOnly}},
        {0x68030035,
         {kPut, L"[id(0x68030035), propput] ReadOnly([in] short Index, [in] VARIANT_BOOL)", 2, 0, kHelpReadOnly}},
        {0x68030036,
         {kGet, L"[id(0x68030036), propget] ItemData([in, out] short* Index, [out, retval] VARIANT* RetVal)", 2, 0,
          kHelpItemData}},
        {0x68030036,
         {kPut, L"[id(0x68030036), propput] ItemData([in, out] short* Index, [in] VARIANT)", 2, 0, kHelpItemData}},
        {0x68030001,
         {kGet, L"[id(0x68030001), propget, nonbrowsable] Selected([out, retval] short* RetVal)", 1, 0,
          kHelpSelected}},
        {0x68030001, {kPut, L"[id(0x68030001), propput, nonbrowsable] Selected([in] short)", 1, 0, kHelpSelected}},
        {0x68030032,
         {kGet, L"[id(0x68030032), propget] TopIndex([out, retval] short* RetVal)", 1, 0, kHelpTopIndex}},
        {0x68030032, {kPut, L"[id(0x68030032), propput] TopIndex([in] short)", 1, 0, kHelpTopIndex}},
        {0x68030031,
         {kGet, L"[id(0x68030031), propget, nonbrowsable] HoldDraw([out, retval] VARIANT_BOOL* RetVal)", 1, 0,
          kHelpHoldDraw}},
        {0x68030031,
         {kPut, L"[id(0x68030031), propput, nonbrowsable] HoldDraw([in] VARIANT_BOOL)", 1, 0, kHelpHoldDraw}},
        {0x68030030,
         {kGet, L"[id(0x68030030), propget, nonbrowsable] LongestItem([out, retval] long* RetVal)", 1, 0,
          kHelpLongestItem}},
        {0x68030030,
         {kPut, L"[id(0x68030030), propput, nonbrowsable] LongestItem([in] long)", 1, 0, kHelpLongestItem}},
        {0x68030034,
         {kGet, L"[id(0x68030034), propget] TextTrue([out, retval] BSTR* RetVal)", 1, 0, kHelpTextTrue}},
        {0x68030034, {kPut, L"[id(0x68030034), propput] TextTrue([in] BSTR)", 1, 0, kHelpTextTrue}},
        {0x68030033,
         {kGet, L"[id(0x68030033), propget] TextFalse([out, retval] BSTR* RetVal)", 1, 0, kHelpTextFalse}},
        {0x68030033, {kPut, L"[id(0x68030033), propput] TextFalse([in] BSTR)", 1, 0, kHelpTextFalse}},
        {0x6803000E,
         {kGet, L"[id(0x6803000E), propget] BackColor([out, retval] OLE_COLOR* RetVal)", 1, 0, kHelpBackColor}},
        {0x6803000E, {kPut, L"[id(0x6803000E), propput] BackColor([in] OLE_COLOR)", 1, 0, kHelpBackColor}},
        {0x6803000D,
         {kGet, L"[id(0x6803000D), propget] ForeColor([out, retval] OLE_COLOR* RetVal)", 1, 0, kHelpForeColor}},
        {0x6803000D, {kPut, L"[id(0x6803000D), propput] ForeColor([in] OLE_COLOR)", 1, 0, kHelpForeColor}},
        {0x6803000C,
         {kGet, L"[id(0x6803000C), propget] Enabled([out, retval] VARIANT_BOOL* RetVal)", 1, 0, kHelpEnabled}},
        {0x6803000C, {kPut, L"[id(0x6803000C), propput] Enabled([in] VARIANT_BOOL)", 1, 0, kHelpEnabled}},
        {0x6803000B, {kGet, L"[id(0x6803000B), propget] Font([out, retval] IFontDisp** RetVal)", 1, 0, kHelpFont}},
        {0x6803000B, {kPutRef, L"[id(0x6803000B), propputref] Font([in] IFontDisp*)", 1, 0, kHelpFont}},
        {0x6803000B, {kPut, L"[id(0x6803000B), propput] Font([in] IFontDisp*)", 1, 0, kHelpFont}},
        {0x6803000A,
         {kGet, L"[id(0x6803000A), propget] BorderStyle([out, retval] PropBorderStyles* RetVal)", 1, 0,
          kHelpBorderStyle}},
        {0x6803000A,
         {kPut, L"[id(0x6803000A), propput] BorderStyle([in] PropBorderStyles)", 1, 0, kHelpBorderStyle}},
        {0x68030009,
         {kGet, L"[id(0x68030009), propget] hWnd([out, retval] long* RetVal)", 1, 0,
          L"Returns the control's window handle."}},
        {0x68030008,
         {kGet, L"[id(0x68030008), propget] MouseIcon([out, retval] IPictureDisp** RetVal)", 1, 0,
          kHelpMouseIcon}},
        {0x68030008, {kPutRef, L"[id(0x68030008), propputref] MouseIcon([in] IPictureDisp*)", 1, 0, kHelpMouseIcon}},
        {0x68030008, {kPut, L"[id(0x68030008), propput] MouseIcon([in] IPictureDisp*)", 1, 0, kHelpMouseIcon}},
        {0x68030007,
         {kGet, L"[id(0x68030007), propget] MousePointer([out, retval] short* RetVal)", 1, 0, kHelpMousePointer}},
        {0x68030007, {kPut, L"[id(0x68030007), propput] MousePointer([in] short)", 1, 0, kHelpMousePointer}},
        {0x68030005,
         {kGet, L"[id(0x68030005), propget] HighlightColor([out, retval] OLE_COLOR* RetVal)", 1, 0,
          kHelpHighlightColor}},
        {0x68030005,
         {kPut, L"[id(0x68030005), propput] HighlightColor([in] OLE_COLOR)", 1, 0, kHelpHighlightColor}},
        {0x68030000,
         {kGet, L"[id(0x68030000), propget] HighlightText([out, retval] OLE_COLOR* RetVal)", 1, 0,
          kHelpHighlightText}},
        {0x68030000, {kPut, L"[id(0x68030000), propput] HighlightText([in] OLE_COLOR)", 1, 0, kHelpHighlightText}},
        {0x68030004,
         {kGet, L"[id(0x68030004), propget] AllowEdit([out, retval] VARIANT_BOOL* RetVal)", 1, 0, kHelpAllowEdit}},
        {0x68030004, {kPut, L"[id(0x68030004), propput] AllowEdit([in] VARIANT_BOOL)", 1, 0, kHelpAllowEdit}},
        {0x6803002F,
         {kGet, L"[id(0x6803002F), propget] FontHeader([out, retval] IFontDisp** RetVal)", 1, 0,
          kHelpFontHeader}},
        {0x6803002F, {kPutRef, L"[id(0x6803002F), propputref] FontHeader([in] IFontDisp*)", 1, 0, kHelpFontHeader}},
        {0x6803002F, {kPut, L"[id(0x6803002F), propput] FontHeader([in] IFontDisp*)", 1, 0, kHelpFontHeader}},
        {0x60030026,
         {kMethod,
          L"[id(0x60030026)] PopupMenu([in, out] IDispatch** Menu, [in, out, optional] VARIANT* Flags, "
          L"[in, out, optional] VARIANT* x, [in, out, optional] VARIANT* Y, "
          L"[in, out, optional] VARIANT* DefaultMenu)",
          5, 4, L""}},
        {0x6003006A,
         {kMethod, L"[id(0x6003006A)] SetOwnerDrawSink([in, out] IPropOwnerDrawSink** odsSinkObject)", 1, 0,
          L"Sets an object that implements IPropOwnerDrawSink that the propertylist uses for owner-drawn items."}},
        {-552, {kMethod, L"[id(-552), hidden] ShowAboutBox()", 0, 0, L"Display the PropertyList About Box."}},
        {0x60030069,
         {kMethod,
          L"[id(0x60030069)] CommitPending([in, out, optional, defaultvalue(BOOL:-1)] VARIANT_BOOL* NotifyChange)",
          1, 1, L"Saves the editing transaction currently in progress (if any)."}},
        {0x6003006B,
         {kMethod, L"[id(0x6003006B)] HideControls()", 0, 0, L"Hides all controls used to edit list items."}},
    };
    return members;
}

const std::vector<ExpectedEvent>& ExpectedEvents() {
    static const std::wstring mouse_args =
        L"([in, out] short* Button, [in, out] short* Shift, [in, out] float* x, [in, out] float* Y)";
    static const std::vector<ExpectedEvent> events{
        {1,
         L"[id(1)] ValueChanged([in] BSTR Name, [in] short ItemIndex, [in] BSTR NewValue, "
         L"[in, out] VARIANT_BOOL* Cancel)",
         L"Occurs when the value of a property in the list has been changed."},
        {2, L"[id(2)] Browse([in] BSTR Name, [in] short ItemIndex, [in, out] BSTR* FillWith)",
         L"Occurs when the user presses the \"...\" button in a BrowseButton list item."},
        {3, L"[id(3)] NeedData([in] short ItemIndex, [in, out] SAFEARRAY(BSTR)* sListItems)",
         L"Occurs when the propertylist needs to fill a custom dropdown list with list items."},
        {4, L"[id(4)] Click()", L"Occurs when the user clicks on the property list."},
        {5, L"[id(5)] DblClick()", L"Occurs when the user double-clicks on the property list."},
        {6, L"[id(6)] KeyDown([in, out] short* KeyCode, [in, out] short* Shift)",
         L"Occurs when the user presses a key while an object has the focus."},
        {7, L"[id(7)] KeyPress([in, out] short* KeyAscii)",
         L"Occurs when the user presses and releases an ANSI key while an object has the focus."},
        {8, L"[id(8)] KeyUp([in, out] short* KeyCode, [in, out] short* Shift)",
         L"Occurs when the user releases a key while an object has the focus."},
        {9, L"[id(9)] MouseDown" + mouse_args,
         L"Occurs when the user presses the mouse button while an object has the focus."},
        {10, L"[id(10)] MouseMove" + mouse_args, L"Occurs when the user moves the mouse cursor over an object."},
        {11, L"[id(11)] MouseUp" + mouse_args,
         L"Occurs when the user releases the mouse button while an object has the focus."},
        {12, L"[id(12)] Resize()", L"Occurs when the propertylist control is resized."},
        {13, L"[id(13)] SelChange([in] short OldSel, [in] short NewSel)",
         L"Fires when the user changes the current selection in the propertylist."},
        {14, L"[id(14)] Scroll()", L"Fires when the propertylist's scrollbar changes in position."},
        {15, L"[id(15)] KeyPressEdit([in, out] short* KeyAscii)",
         L"Occurs when the user presses a key in the property list's edit field."},
    };
    return events;
}

class PropertyListTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        HRESULT hr = E_FAIL;
        m_library = LoadOcxTypeLib(1, &hr);
        ASSERT_TRUE(m_library) << "LoadTypeLibEx(" << Narrow(OcxPath()) << ") failed: 0x" << std::hex << hr;
        m_dispatch = TypeInfoOf(m_library.get(), GuidFromString(kIidPropertyList));
        ASSERT_TRUE(m_dispatch) << "_PropertyList is missing";
        m_vtable = InterfaceHalf(m_dispatch.get());
        ASSERT_TRUE(m_vtable) << "_PropertyList has no vtable half (not dual?)";
    }

    com_ptr<ITypeLib> m_library;
    com_ptr<ITypeInfo> m_dispatch;  // what IDispatch clients see
    com_ptr<ITypeInfo> m_vtable;    // the dual interface's vtable description
};

TEST_F(PropertyListTypeLibrary, LibraryCarriesItsNameHelpStringGuidAndVersion) {
    const Documentation doc = DocumentationOf(m_library.get(), -1);
    EXPECT_EQ(Narrow(doc.name), "ZoPropertyList");
    EXPECT_EQ(Narrow(doc.help), "Vantrel PropertyList Control");

    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(m_library->GetLibAttr(&attr));
    EXPECT_EQ(Narrow(GuidToString(attr->guid)), "{" + Narrow(kLibIdZoPropertyList) + "}");
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0u);
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    m_library->ReleaseTLibAttr(attr);
}

TEST_F(PropertyListTypeLibrary, LibraryHoldsExactlyItsPublicTypes) {
    struct Entry {
        std::string name;
        TYPEKIND kind;
        std::string guid;
        bool operator<(const Entry& other) const { return name < other.name; }
        bool operator==(const Entry& other) const {
            return name == other.name && kind == other.kind && guid == other.guid;
        }
    };
    std::vector<Entry> expected{
        {"ItemTypes", TKIND_ENUM, NarrowBraced(kGuidItemTypes)},
        {"PropBorderStyles", TKIND_ENUM, NarrowBraced(kGuidPropBorderStyles)},
        // A copy of the owner-draw sink, so that SetOwnerDrawSink's argument
        // resolves without the IPropOwnerDraw library being registered.
        {"IPropOwnerDrawSink", TKIND_DISPATCH, NarrowBraced(kIidOwnerDrawSink)},
        {"_PropertyList", TKIND_DISPATCH, NarrowBraced(kIidPropertyList)},
        {"__PropertyList", TKIND_DISPATCH, NarrowBraced(kDiidPropertyListEvents)},
        {"PropertyList", TKIND_COCLASS, NarrowBraced(kClsidPropertyList)},
        {"PickerTypes", TKIND_ENUM, NarrowBraced(kGuidPickerTypes)},
        {"zocrBorderStyles", TKIND_ENUM, NarrowBraced(kGuidZocrBorderStyles)},
        {"_ZoColorPicker", TKIND_DISPATCH, NarrowBraced(kIidColorPicker)},
        {"__ZoColorPicker", TKIND_DISPATCH, NarrowBraced(kDiidColorPickerEvents)},
        {"ZoColorPicker", TKIND_COCLASS, NarrowBraced(kClsidColorPicker)},
    };
    std::vector<Entry> actual;
    for (UINT i = 0; i < m_library->GetTypeInfoCount(); ++i) {
        com_ptr<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(m_library->GetTypeInfo(i, info.put()));
        TypeAttr attr(info.get());
        ASSERT_TRUE(attr.get());
        actual.push_back({Narrow(DocumentationOf(info.get(), MEMBERID_NIL).name), attr->typekind,
                          Narrow(GuidToString(attr->guid))});
    }
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].name, expected[i].name);
        EXPECT_EQ(actual[i].kind, expected[i].kind) << expected[i].name;
        EXPECT_EQ(actual[i].guid, expected[i].guid) << expected[i].name;
    }
}

TEST_F(PropertyListTypeLibrary, DefaultInterfaceIsAHiddenNonextensibleDualInterface) {
    ExpectHiddenNonextensibleDual(m_dispatch.get(), m_vtable.get());
}

TEST_F(PropertyListTypeLibrary, EveryMemberHasItsDispidArgumentsFlagsAndHelpString) {
    ExpectMembersAre(m_vtable.get(), ExpectedPropertyListMembers());
}

TEST_F(PropertyListTypeLibrary, DispatchViewOffersTheSameMembersWithTheSameFlags) {
    // Late-bound clients read the dispatch half; it must not lose a member or
    // a flag of the vtable half.
    ExpectDispatchViewMatches(m_dispatch.get(), m_vtable.get());
}

TEST_F(PropertyListTypeLibrary, NamesBindToTheirDispidsWhateverTheirCase) {
    struct Binding {
        std::vector<std::wstring> names;  // member, then named arguments
        std::vector<DISPID> ids;
    };
    const std::vector<Binding> bindings{
        {{L"add", L"name", L"content", L"readonly", L"itemtype", L"index"}, {0x6003002A, 0, 1, 2, 3, 4}},
        {{L"LISTCOUNT"}, {0x68030006}},
        {{L"remove", L"INDEX"}, {0x6003002B, 0}},
        {{L"clear"}, {0x6003002D}},
        {{L"item", L"index"}, {0x68030003, 0}},
        {{L"value", L"index"}, {0x68030002, 0}},
        {{L"itemtype", L"index"}, {0x6803002E, 0}},
        {{L"readonly", L"index"}, {0x68030035, 0}},
        {{L"itemdata", L"index"}, {0x68030036, 0}},
        {{L"selected"}, {0x68030001}},
        {{L"topindex"}, {0x68030032}},
        {{L"holddraw"}, {0x68030031}},
        {{L"longestitem"}, {0x68030030}},
        {{L"texttrue"}, {0x68030034}},
        {{L"textfalse"}, {0x68030033}},
        {{L"backcolor"}, {0x6803000E}},
        {{L"forecolor"}, {0x6803000D}},
        {{L"enabled"}, {0x6803000C}},
        {{L"font"}, {0x6803000B}},
        {{L"borderstyle"}, {0x6803000A}},
        {{L"HWND"}, {0x68030009}},
        {{L"mouseicon"}, {0x68030008}},
        {{L"mousepointer"}, {0x68030007}},
        {{L"highlightcolor"}, {0x68030005}},
        {{L"highlighttext"}, {0x68030000}},
        {{L"allowedit"}, {0x68030004}},
        {{L"fontheader"}, {0x6803002F}},
        {{L"popupmenu", L"menu", L"flags", L"X", L"y", L"defaultmenu"}, {0x60030026, 0, 1, 2, 3, 4}},
        {{L"setownerdrawsink", L"odssinkobject"}, {0x6003006A, 0}},
        {{L"showaboutbox"}, {-552}},  // DISPID_ABOUTBOX
        {{L"commitpending", L"notifychange"}, {0x60030069, 0}},
        {{L"hidecontrols"}, {0x6003006B}},
    };
    for (const Binding& binding : bindings) {
        SCOPED_TRACE(Narrow(binding.names.front()));
        EXPECT_EQ(IdsOfNames(m_dispatch.get(), binding.names), binding.ids);
    }
}

TEST_F(PropertyListTypeLibrary, EveryIdentifierKeepsItsOwnSpelling) {
    // A type library keeps one spelling per identifier, whatever its case:
    // an argument spelled differently from a member would rename the member
    // for every client. Every name the library hands out must be spelled as
    // declared.
    const std::vector<std::wstring> identifiers{
        // members
        L"Add", L"ListCount", L"Remove", L"Clear", L"Item", L"Value", L"ItemType", L"ReadOnly", L"ItemData",
        L"Selected", L"TopIndex", L"HoldDraw", L"LongestItem", L"TextTrue", L"TextFalse", L"BackColor",
        L"ForeColor", L"Enabled", L"Font", L"BorderStyle", L"hWnd", L"MouseIcon", L"MousePointer",
        L"HighlightColor", L"HighlightText", L"AllowEdit", L"FontHeader", L"PopupMenu", L"SetOwnerDrawSink",
        L"ShowAboutBox", L"CommitPending", L"HideControls",
        // arguments
        L"Name", L"Content", L"Index", L"Menu", L"Flags", L"x", L"Y", L"DefaultMenu", L"odsSinkObject",
        L"NotifyChange", L"ItemIndex", L"NewValue", L"Cancel", L"FillWith", L"sListItems", L"KeyCode", L"Shift",
        L"KeyAscii", L"Button", L"OldSel", L"NewSel",
        // events
        L"ValueChanged", L"Browse", L"NeedData", L"Click", L"DblClick", L"KeyDown", L"KeyPress", L"KeyUp",
        L"MouseDown", L"MouseMove", L"MouseUp", L"Resize", L"SelChange", L"Scroll", L"KeyPressEdit",
        // types and constants
        L"ItemTypes", L"PropBorderStyles", L"_PropertyList", L"__PropertyList", L"PropertyList",
        L"ZoPropStringValue", L"ZoPropNumericValue", L"ZoPropBoolValue", L"ZoPropBrowseButton", L"ZoPropOleColor",
        L"ZoPropCustomValue", L"ZoPropOwnerDraw", L"ZoPropPropertyHeader", L"zopNone", L"zopFixedSingle",
    };
    const auto spellings = SpellingsOf(m_library.get());
    for (const auto& [lower, seen] : spellings) {
        EXPECT_EQ(seen.size(), 1u) << "several spellings of " << Narrow(lower);
    }
    for (const std::wstring& identifier : identifiers) {
        const auto found = spellings.find(Lower(identifier));
        ASSERT_NE(found, spellings.end()) << "not in the library: " << Narrow(identifier);
        EXPECT_EQ(Narrow(*found->second.begin()), Narrow(identifier));
    }
}

TEST_F(PropertyListTypeLibrary, EventInterfaceDeclaresTheFifteenEvents) {
    com_ptr<ITypeInfo> events = TypeInfoOf(m_library.get(), GuidFromString(kDiidPropertyListEvents));
    ASSERT_TRUE(events);
    EXPECT_EQ(Narrow(DocumentationOf(events.get(), MEMBERID_NIL).name), "__PropertyList");
    ExpectEventsAre(events.get(), ExpectedEvents());
}

TEST_F(PropertyListTypeLibrary, EnumerationsHaveTheirMembersAndValues) {
    const std::vector<ExpectedEnumeration> enumerations{
        {kGuidItemTypes,
         "ItemTypes",
         {{"ZoPropStringValue", 0},
          {"ZoPropNumericValue", 1},
          {"ZoPropBoolValue", 2},
          {"ZoPropBrowseButton", 3},
          {"ZoPropOleColor", 4},
          {"ZoPropCustomValue", 5},
          {"ZoPropOwnerDraw", 6},
          {"ZoPropPropertyHeader", 7}}},
        {kGuidPropBorderStyles, "PropBorderStyles", {{"zopNone", 0}, {"zopFixedSingle", 1}}},
    };
    for (const ExpectedEnumeration& enumeration : enumerations) {
        SCOPED_TRACE(enumeration.name);
        ExpectEnumeration(m_library.get(), enumeration);
    }
}

TEST_F(PropertyListTypeLibrary, CoclassIsACreatableControlWithItsTwoInterfaces) {
    ExpectCreatableControl(m_library.get(), kClsidPropertyList, "PropertyList", kIidPropertyList,
                           kDiidPropertyListEvents);
}

TEST_F(PropertyListTypeLibrary, ColoursFontsAndPicturesAreTheStandardOleTypes) {
    // Property browsers offer a colour, font or picture editor only for the
    // types of the standard OLE library.
    struct Standard {
        MEMBERID id;
        INVOKEKIND kind;
        std::string type_name;
    };
    const std::vector<Standard> cases{
        {0x6803000E, INVOKE_PROPERTYPUT, "OLE_COLOR"},      {0x6803000D, INVOKE_PROPERTYPUT, "OLE_COLOR"},
        {0x68030005, INVOKE_PROPERTYPUT, "OLE_COLOR"},      {0x68030000, INVOKE_PROPERTYPUT, "OLE_COLOR"},
        {0x6803000B, INVOKE_PROPERTYPUTREF, "IFontDisp"},   {0x6803002F, INVOKE_PROPERTYPUTREF, "IFontDisp"},
        {0x68030008, INVOKE_PROPERTYPUTREF, "IPictureDisp"},
    };
    for (const Standard& standard : cases) {
        SCOPED_TRACE(standard.id);
        com_ptr<ITypeInfo> type = ParameterType(m_vtable.get(), standard.id, standard.kind);
        ASSERT_TRUE(type) << "not a user-defined type";
        EXPECT_EQ(Narrow(DocumentationOf(type.get(), MEMBERID_NIL).name), standard.type_name);
        EXPECT_EQ(ContainingLibrary(type.get()), "{" + Narrow(kLibIdStdOle) + "}");
        if (standard.type_name == "OLE_COLOR") {
            TypeAttr attr(type.get());
            EXPECT_EQ(Narrow(GuidToString(attr->guid)), "{" + Narrow(kGuidOleColor) + "}");
            EXPECT_EQ(attr->typekind, TKIND_ALIAS);
            EXPECT_EQ(attr->tdescAlias.vt, VT_UI4);
        }
    }
}

TEST_F(PropertyListTypeLibrary, OwnerDrawSinkArgumentResolvesToTheSinkInterface) {
    com_ptr<ITypeInfo> sink = ParameterType(m_vtable.get(), 0x6003006A, INVOKE_FUNC);
    ASSERT_TRUE(sink);
    TypeAttr attr(sink.get());
    EXPECT_EQ(Narrow(GuidToString(attr->guid)), "{" + Narrow(kIidOwnerDrawSink) + "}");
    EXPECT_EQ(ContainingLibrary(sink.get()), "{" + Narrow(kLibIdZoPropertyList) + "}");

    // Both libraries describe the same interface.
    com_ptr<ITypeLib> owner_draw = LoadOcxTypeLib(2);
    ASSERT_TRUE(owner_draw);
    com_ptr<ITypeInfo> original = TypeInfoOf(owner_draw.get(), GuidFromString(kIidOwnerDrawSink));
    ASSERT_TRUE(original);
    const auto copy_members = RenderFunctions(VtableHalf(sink.get()).get());
    const auto original_members = RenderFunctions(VtableHalf(original.get()).get());
    ASSERT_EQ(copy_members.size(), 4u);
    ASSERT_EQ(copy_members.size(), original_members.size());
    for (size_t i = 0; i < copy_members.size(); ++i) {
        EXPECT_EQ(Narrow(copy_members[i].text), Narrow(original_members[i].text));
    }
}

}  // namespace
}  // namespace zo::server_tests
