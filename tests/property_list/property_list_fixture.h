// What every PropertyList behaviour test shares: a test container hosting one
// control by its ProgID, a sink on its event interface, a property-change
// sink, the message box recorder, and small helpers that call the control
// late-bound by name as a script host does.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/gtest_support.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/property_notify.h"
#include "tests/host/variant.h"

namespace zo::test {

inline constexpr wchar_t kPropertyListProgId[] = L"ZoPropertyList.PropertyList";

// Kinds of rows (the ItemTypes enumeration of the type library).
enum RowKind : int {
    kStringRow = 0,
    kNumericRow = 1,
    kBooleanRow = 2,
    kBrowseRow = 3,
    kColourRow = 4,
    kCustomRow = 5,
    kOwnerDrawRow = 6,
    kHeaderRow = 7,
};

// Events of the control's event interface, by DISPID.
namespace list_event {
inline constexpr DISPID ValueChanged = 1, Browse = 2, NeedData = 3, Click = 4, DblClick = 5, KeyDown = 6,
                        KeyPress = 7, KeyUp = 8, MouseDown = 9, MouseMove = 10, MouseUp = 11, Resize = 12,
                        SelChange = 13, Scroll = 14, KeyPressEdit = 15;
}

// DISPIDs of the control's properties, as a container sees them in
// IPropertyNotifySink::OnChanged.
namespace list_dispid {
inline constexpr DISPID HighlightText = 0x68030000, Selected = 0x68030001, AllowEdit = 0x68030004,
                        HighlightColor = 0x68030005, MousePointer = 0x68030007, MouseIcon = 0x68030008,
                        BorderStyle = 0x6803000A, Font = 0x6803000B, Enabled = 0x6803000C, ForeColor = 0x6803000D,
                        BackColor = 0x6803000E, FontHeader = 0x6803002F, TextFalse = 0x68030033,
                        TextTrue = 0x68030034;
}

// The runtime's error for an object used before it was set (number 91).
inline constexpr SCODE kObjectNotSetError = static_cast<SCODE>(0x800A005B);

// An OLE colour argument (VT_UI4), so that a literal such as 0x80000005 is not ambiguous.
[[nodiscard]] inline Variant Colour(unsigned long colour) { return Variant(colour); }
[[nodiscard]] inline Variant Short(int value) { return Variant(static_cast<std::int16_t>(value)); }
// An OLE colour read back, whether the call returned it signed or unsigned.
[[nodiscard]] unsigned long ColourOf(const Variant& value);

// The attributes of a font object that persistence must keep.
struct FontFacts {
    std::wstring name;
    double points = 0;
    short weight = 0;
    bool italic = false;

    friend bool operator==(const FontFacts&, const FontFacts&) = default;
};
void PrintTo(const FontFacts& font, std::ostream* out);

// Reads the attributes of a font object (IFont behind any interface);
// nullopt when `object` is no font.
[[nodiscard]] std::optional<FontFacts> FactsOf(IUnknown* object);
[[nodiscard]] std::optional<FontFacts> FactsOf(const Variant& object);
// What a font object asked for with `wanted` reports of itself once the
// system has chosen the face and size it can give (a face that is not
// installed reads as the one used instead).
[[nodiscard]] FontFacts Realized(const FontFacts& wanted);
// Width in pixels of `text` drawn with the font object's own GDI font.
[[nodiscard]] int TextWidthPixels(IUnknown* font, std::wstring_view text);
// The screen's twips per pixel (15 at 96 DPI).
[[nodiscard]] int TwipsPerPixelX();

class PropertyListTest : public ::testing::Test {
protected:
    // Hosts a control (new, or loaded as `options` says), then connects the
    // event sink and the property-change sink and records message boxes.
    ::testing::AssertionResult HostList(const HostOptions& options = {});
    // Drops every reference the test holds, closes the container and checks
    // that the control went away and left no unexpected message box.
    void CloseList();
    void TearDown() override;

    // Add(Name, Content, ReadOnly, ItemType, Index), every argument given.
    DispResult Add(std::wstring_view name, std::wstring_view content = L"", int kind = kStringRow, int index = -1,
                   bool readOnly = false);
    // Adds rows named after the entries, with default arguments.
    void AddNamed(std::initializer_list<const wchar_t*> names);

    [[nodiscard]] int ListCount();
    [[nodiscard]] std::wstring Item(int index);
    [[nodiscard]] std::wstring Value(int index);
    [[nodiscard]] int ItemType(int index);
    [[nodiscard]] bool ReadOnly(int index);
    [[nodiscard]] int Selected();
    [[nodiscard]] std::vector<std::wstring> Names();
    [[nodiscard]] std::vector<std::wstring> Values();
    // A property without index.
    [[nodiscard]] Variant Property(std::wstring_view name);

    // The message boxes shown since the last call, which are then forgotten.
    [[nodiscard]] std::vector<MessageBoxCall> TakeMessageBoxes();

    TestContainer container;
    com_ptr<IDispatch> list;
    EventRecorder events;
    PropertyNotifyRecorder changes;
    std::optional<MessageBoxRecorder> boxes;
};

}  // namespace zo::test
