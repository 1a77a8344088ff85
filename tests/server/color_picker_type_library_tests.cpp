// ZoColorPicker as the ZoPropertyList type library (TYPELIB 1 of
// ZoPropList.ocx) describes it: what hosts see of the picker when they bind
// to it, call it through IDispatch, sink its event or list it in a property
// browser.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "member_rendering.h"
#include "server_test_support.h"

namespace zo::server_tests {
namespace {

const std::wstring kHelpColors = L"Returns/sets an array of colors to use in the Palette tab.";
const std::wstring kHelpColor = L"Returns/sets the color index of the current color.";
const std::wstring kHelpFont = L"Returns the Font object used for the control's font.";

constexpr MEMBERID kColors = 0x68030000, kColor = 0x68030001, kStreamSerialize = 0x60030002,
                   kStreamRead = 0x60030003, kBackColor = 0x68030004, kForeColor = 0x68030005,
                   kFont = 0x68030006, kBorderStyle = 0x68030007, kHWnd = 0x68030008, kHDC = 0x68030009,
                   kShow = 0x6003000A, kHWndColors = 0x6803000B, kHWndList = 0x6803000C,
                   kSetColor = 0x6003000D, kSubclass = 0x6003000E, kUnSubclass = 0x6003000F;

const ExpectedMembers& ExpectedColorPickerMembers() {
    static const ExpectedMembers members{
        {kColors,
         {kGet,
          L"[id(0x68030000), propget] Colors([in, out] short* x, [in, out] short* Y, [out, retval] long* RetVal)",
          3, 0, kHelpColors}},
        {kColors,
         {kPut, L"[id(0x68030000), propput] Colors([in, out] short* x, [in, out] short* Y, [in] long)", 3, 0,
          kHelpColors}},
        {kColor, {kGet, L"[id(0x68030001), propget] Color([out, retval] long* RetVal)", 1, 0, kHelpColor}},
        {kColor, {kPut, L"[id(0x68030001), propput] Color([in] long)", 1, 0, kHelpColor}},
        {kStreamSerialize,
         {kMethod, L"[id(0x60030002)] StreamSerialize([in, out] SAFEARRAY(long)* RetArr)", 1, 0,
          L"Returns the 64-element array of Longs  that is used to fill the palette color list."}},
        {kStreamRead,
         {kMethod, L"[id(0x60030003)] StreamRead([in, out] SAFEARRAY(long)* StreamIn)", 1, 0,
          L"Takes a 64-element array of Longs and uses it to fill the palette color list."}},
        {kBackColor, {kGet, L"[id(0x68030004), propget] BackColor([out, retval] OLE_COLOR* RetVal)", 1, 0, L""}},
        {kBackColor, {kPut, L"[id(0x68030004), propput] BackColor([in] OLE_COLOR)", 1, 0, L""}},
        {kForeColor, {kGet, L"[id(0x68030005), propget] ForeColor([out, retval] OLE_COLOR* RetVal)", 1, 0, L""}},
        {kForeColor, {kPut, L"[id(0x68030005), propput] ForeColor([in] OLE_COLOR)", 1, 0, L""}},
        {kFont, {kGet, L"[id(0x68030006), propget] Font([out, retval] IFontDisp** RetVal)", 1, 0, kHelpFont}},
        {kFont, {kPutRef, L"[id(0x68030006), propputref] Font([in] IFontDisp*)", 1, 0, kHelpFont}},
        {kBorderStyle,
         {kGet, L"[id(0x68030007), propget] BorderStyle([out, retval] zocrBorderStyles* RetVal)", 1, 0, L""}},
        {kBorderStyle, {kPut, L"[id(0x68030007), propput] BorderStyle([in] zocrBorderStyles)", 1, 0, L""}},
        {kHWnd, {kGet, L"[id(0x68030008), propget] hWnd([out, retval] long* RetVal)", 1, 0, L""}},
        {kHDC, {kGet, L"[id(0x68030009), propget] hDC([out, retval] long* RetVal)", 1, 0, L""}},
        {kShow,
         {kMethod, L"[id(0x6003000A)] Show([in, optional, defaultvalue(I2:1)] short ShowTab)", 1, 1,
          L"Determines which tab to display."}},
        {kHWndColors, {kGet, L"[id(0x6803000B), propget] hWndColors([out, retval] long* RetVal)", 1, 0, L""}},
        {kHWndList, {kGet, L"[id(0x6803000C), propget] hWndList([out, retval] long* RetVal)", 1, 0, L""}},
        {kSetColor,
         {kMethod, L"[id(0x6003000D)] SetColor([in, out] long* NewColor)", 1, 0,
          L"Finds the correct color in either the palette or system color list and selects it."}},
        {kSubclass, {kMethod, L"[id(0x6003000E), hidden] Subclass()", 0, 0, L""}},
        {kUnSubclass, {kMethod, L"[id(0x6003000F), hidden] UnSubclass()", 0, 0, L""}},
    };
    return members;
}

class ColorPickerTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        HRESULT hr = E_FAIL;
        m_library = LoadOcxTypeLib(1, &hr);
        ASSERT_TRUE(m_library) << "LoadTypeLibEx(" << Narrow(OcxPath()) << ") failed: 0x" << std::hex << hr;
        m_dispatch = TypeInfoOf(m_library.get(), GuidFromString(kIidColorPicker));
        ASSERT_TRUE(m_dispatch) << "_ZoColorPicker is missing";
        m_vtable = InterfaceHalf(m_dispatch.get());
        ASSERT_TRUE(m_vtable) << "_ZoColorPicker has no vtable half (not dual?)";
    }

    com_ptr<ITypeLib> m_library;
    com_ptr<ITypeInfo> m_dispatch;  // what IDispatch clients see
    com_ptr<ITypeInfo> m_vtable;    // the dual interface's vtable description
};

TEST_F(ColorPickerTypeLibrary, DefaultInterfaceIsAHiddenNonextensibleDualInterface) {
    EXPECT_EQ(Narrow(DocumentationOf(m_dispatch.get(), MEMBERID_NIL).name), "_ZoColorPicker");
    ExpectHiddenNonextensibleDual(m_dispatch.get(), m_vtable.get());
}

TEST_F(ColorPickerTypeLibrary, EveryMemberHasItsDispidArgumentsFlagsAndHelpString) {
    ExpectMembersAre(m_vtable.get(), ExpectedColorPickerMembers());
}

TEST_F(ColorPickerTypeLibrary, DispatchViewOffersTheSameMembersWithTheSameFlags) {
    // Subclass and UnSubclass must stay hidden for late-bound browsers too.
    ExpectDispatchViewMatches(m_dispatch.get(), m_vtable.get());
}

TEST_F(ColorPickerTypeLibrary, VtableSlotsFollowTheDeclarationOrder) {
    // Early-bound clients call through fixed slots after the seven of
    // IDispatch: reordering the declarations breaks every compiled host.
    const std::vector<std::pair<MEMBERID, INVOKEKIND>> order{
        {kColors, kGet}, {kColors, kPut}, {kColor, kGet}, {kColor, kPut},
        {kStreamSerialize, kMethod}, {kStreamRead, kMethod},
        {kBackColor, kGet}, {kBackColor, kPut}, {kForeColor, kGet}, {kForeColor, kPut},
        {kFont, kGet}, {kFont, kPutRef}, {kBorderStyle, kGet}, {kBorderStyle, kPut},
        {kHWnd, kGet}, {kHDC, kGet}, {kShow, kMethod}, {kHWndColors, kGet}, {kHWndList, kGet},
        {kSetColor, kMethod}, {kSubclass, kMethod}, {kUnSubclass, kMethod},
    };
    std::vector<std::pair<MEMBERID, INVOKEKIND>> by_slot(order.size(), {0, kMethod});
    TypeAttr attr(m_vtable.get());
    ASSERT_EQ(attr->cFuncs, order.size());
    EXPECT_EQ(attr->cbSizeVft, (7 + order.size()) * sizeof(void*));
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDesc function(m_vtable.get(), i);
        const size_t slot = static_cast<size_t>(function->oVft) / sizeof(void*);
        ASSERT_GE(slot, 7u) << "member " << std::hex << function->memid;
        ASSERT_LT(slot - 7, by_slot.size()) << "member " << std::hex << function->memid;
        by_slot[slot - 7] = {function->memid, function->invkind};
    }
    EXPECT_EQ(by_slot, order);
}

TEST_F(ColorPickerTypeLibrary, ColourValuesAreLongsThroughout) {
    // A picked colour (0x00BBGGRR) does not fit the 16 bits of a short:
    // every place a colour value crosses the interface is a 32-bit long, as
    // late-bound callers see it in the dispatch view.
    struct Place {
        const char* what;
        MEMBERID id;
        INVOKEKIND kind;
        SHORT param;  // -1: the function's result (the property's value)
        bool by_reference;
    };
    const std::vector<Place> places{
        {"Color get", kColor, kGet, -1, false},  {"Color put", kColor, kPut, 0, false},
        {"Colors get", kColors, kGet, -1, false}, {"Colors put", kColors, kPut, 2, false},
        {"SetColor", kSetColor, kMethod, 0, true},
    };
    TypeAttr attr(m_dispatch.get());
    for (const Place& place : places) {
        SCOPED_TRACE(place.what);
        int found = 0;
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FuncDesc function(m_dispatch.get(), i);
            if (function->memid != place.id || function->invkind != place.kind) continue;
            ++found;
            ASSERT_LT(place.param, function->cParams);
            const TYPEDESC* type = place.param < 0 ? &function->elemdescFunc.tdesc
                                                   : &function->lprgelemdescParam[place.param].tdesc;
            if (place.by_reference) {
                ASSERT_EQ(type->vt, VT_PTR);
                type = type->lptdesc;
            }
            EXPECT_EQ(type->vt, VT_I4);
        }
        EXPECT_EQ(found, 1);
    }
}

TEST_F(ColorPickerTypeLibrary, NamesBindToTheirDispidsWhateverTheirCase) {
    struct Binding {
        std::vector<std::wstring> names;  // member, then named arguments
        std::vector<MEMBERID> ids;
    };
    const std::vector<Binding> bindings{
        {{L"colors", L"X", L"y"}, {kColors, 0, 1}},
        {{L"COLOR"}, {kColor}},
        {{L"streamserialize", L"retarr"}, {kStreamSerialize, 0}},
        {{L"streamread", L"streamin"}, {kStreamRead, 0}},
        {{L"backcolor"}, {kBackColor}},
        {{L"forecolor"}, {kForeColor}},
        {{L"font"}, {kFont}},
        {{L"borderstyle"}, {kBorderStyle}},
        {{L"HWND"}, {kHWnd}},
        {{L"hdc"}, {kHDC}},
        {{L"show", L"SHOWTAB"}, {kShow, 0}},
        {{L"hwndcolors"}, {kHWndColors}},
        {{L"hwndlist"}, {kHWndList}},
        {{L"setcolor", L"newcolor"}, {kSetColor, 0}},
        {{L"subclass"}, {kSubclass}},
        {{L"unsubclass"}, {kUnSubclass}},
    };
    for (const Binding& binding : bindings) {
        SCOPED_TRACE(Narrow(binding.names.front()));
        EXPECT_EQ(IdsOfNames(m_dispatch.get(), binding.names), binding.ids);
    }
}

TEST_F(ColorPickerTypeLibrary, EveryIdentifierKeepsItsOwnSpelling) {
    // The picker shares the library with the property list, so a name both
    // use (x, Y, BackColor, Font, hWnd, hDC of the owner-draw sink) keeps
    // one spelling: the one each declares.
    const std::vector<std::wstring> identifiers{
        L"Colors", L"Color", L"StreamSerialize", L"StreamRead", L"BackColor", L"ForeColor", L"Font",
        L"BorderStyle", L"hWnd", L"hDC", L"Show", L"hWndColors", L"hWndList", L"SetColor", L"Subclass",
        L"UnSubclass", L"x", L"Y", L"RetVal", L"RetArr", L"StreamIn", L"ShowTab", L"NewColor", L"ColorPicked",
        L"ColorVal", L"PickerTypes", L"zocrBorderStyles", L"_ZoColorPicker", L"__ZoColorPicker",
        L"ZoColorPicker", L"zocrCustomPalettePicker", L"zocrSystemColorPicker", L"zocrCustomSystemColorPicker",
        L"zocrNone", L"zocrFixedSingle",
    };
    const auto spellings = SpellingsOf(m_library.get());
    for (const std::wstring& identifier : identifiers) {
        const auto found = spellings.find(Lower(identifier));
        ASSERT_NE(found, spellings.end()) << "not in the library: " << Narrow(identifier);
        EXPECT_EQ(found->second.size(), 1u) << "several spellings of " << Narrow(identifier);
        EXPECT_EQ(Narrow(*found->second.begin()), Narrow(identifier));
    }
}

TEST_F(ColorPickerTypeLibrary, EventInterfaceDeclaresColorPicked) {
    com_ptr<ITypeInfo> events = TypeInfoOf(m_library.get(), GuidFromString(kDiidColorPickerEvents));
    ASSERT_TRUE(events);
    EXPECT_EQ(Narrow(DocumentationOf(events.get(), MEMBERID_NIL).name), "__ZoColorPicker");
    TypeAttr attr(events.get());
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FHIDDEN) << std::hex << attr->wTypeFlags;
    ExpectEventsAre(events.get(), {{1, L"[id(1)] ColorPicked([in] long ColorVal)",
                                    L"Fires when a color has been chosen from the color list."}});
}

TEST_F(ColorPickerTypeLibrary, EnumerationsHaveTheirMembersAndValues) {
    const std::vector<ExpectedEnumeration> enumerations{
        {kGuidPickerTypes,
         "PickerTypes",
         {{"zocrCustomPalettePicker", 0}, {"zocrSystemColorPicker", 1}, {"zocrCustomSystemColorPicker", 2}}},
        {kGuidZocrBorderStyles, "zocrBorderStyles", {{"zocrNone", 0}, {"zocrFixedSingle", 1}}},
    };
    for (const ExpectedEnumeration& enumeration : enumerations) {
        SCOPED_TRACE(enumeration.name);
        ExpectEnumeration(m_library.get(), enumeration);
    }
}

TEST_F(ColorPickerTypeLibrary, CoclassIsACreatableControlWithItsTwoInterfaces) {
    ExpectCreatableControl(m_library.get(), kClsidColorPicker, "ZoColorPicker", kIidColorPicker,
                           kDiidColorPickerEvents);
}

TEST_F(ColorPickerTypeLibrary, PropertyTypesResolveToTheirDeclaringLibraries) {
    // Property browsers offer a colour or font editor only for the types of
    // the standard OLE library; the border style is the picker's own
    // enumeration, not the property list's.
    struct Reference {
        MEMBERID id;
        INVOKEKIND kind;
        std::string type_name;
        std::string library;
        std::string guid;  // empty: not pinned
    };
    const std::vector<Reference> references{
        {kBackColor, kPut, "OLE_COLOR", NarrowBraced(kLibIdStdOle), NarrowBraced(kGuidOleColor)},
        {kForeColor, kPut, "OLE_COLOR", NarrowBraced(kLibIdStdOle), NarrowBraced(kGuidOleColor)},
        {kFont, kPutRef, "IFontDisp", NarrowBraced(kLibIdStdOle), ""},
        {kBorderStyle, kPut, "zocrBorderStyles", NarrowBraced(kLibIdZoPropertyList),
         NarrowBraced(kGuidZocrBorderStyles)},
    };
    for (const Reference& reference : references) {
        SCOPED_TRACE(reference.type_name + " of " + std::to_string(reference.id));
        com_ptr<ITypeInfo> type = ParameterType(m_vtable.get(), reference.id, reference.kind);
        ASSERT_TRUE(type) << "not a user-defined type";
        EXPECT_EQ(Narrow(DocumentationOf(type.get(), MEMBERID_NIL).name), reference.type_name);
        EXPECT_EQ(ContainingLibrary(type.get()), reference.library);
        if (!reference.guid.empty()) {
            TypeAttr attr(type.get());
            EXPECT_EQ(Narrow(GuidToString(attr->guid)), reference.guid);
        }
    }
}

}  // namespace
}  // namespace zo::server_tests
