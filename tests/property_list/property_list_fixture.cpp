#include "tests/property_list/property_list_fixture.h"

#include <ostream>

#include "ZoPropertyList.h"
#include "common/handles.h"
#include "tests/host/ambient_properties.h"

namespace zo::test {

namespace {

// The whole test program runs on one OLE apartment thread, as a form does.
class OleEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const kOleEnvironment =
    ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace

unsigned long ColourOf(const Variant& value) {
    switch (value.vt()) {
    case VT_I4: return static_cast<unsigned long>(static_cast<std::uint32_t>(value.get().lVal));
    case VT_INT: return static_cast<unsigned long>(static_cast<std::uint32_t>(value.get().intVal));
    case VT_UINT: return value.get().uintVal;
    default: return value.ToULong();
    }
}

void PrintTo(const FontFacts& font, std::ostream* out) {
    *out << '"' << Narrow(font.name) << "\" " << font.points << " pt, weight " << font.weight
         << (font.italic ? ", italic" : "");
}

std::optional<FontFacts> FactsOf(IUnknown* object) {
    if (!object) return std::nullopt;
    com_ptr<IFont> font = com_ptr<IUnknown>(object).query<IFont>();
    if (!font) return std::nullopt;
    FontFacts facts;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name) facts.name.assign(name, ::SysStringLen(name));
    ::SysFreeString(name);
    CY size{};
    if (SUCCEEDED(font->get_Size(&size))) facts.points = static_cast<double>(size.int64) / 10000.0;
    (void)font->get_Weight(&facts.weight);
    BOOL italic = FALSE;
    (void)font->get_Italic(&italic);
    facts.italic = italic != FALSE;
    return facts;
}

std::optional<FontFacts> FactsOf(const Variant& object) {
    if (!object.IsObject()) return std::nullopt;
    return FactsOf(object.ToUnknown().get());
}

FontFacts Realized(const FontFacts& wanted) {
    com_ptr<IFontDisp> font = MakeFont(wanted.name.c_str(), wanted.points, wanted.weight, wanted.italic);
    return FactsOf(font.get()).value_or(FontFacts{L"(no font)"});
}

int TextWidthPixels(IUnknown* object, std::wstring_view text) {
    com_ptr<IFont> font = com_ptr<IUnknown>(object).query<IFont>();
    HFONT handle = nullptr;
    if (!font || FAILED(font->get_hFont(&handle)) || !handle) return -1;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_select selection(dc.get(), handle);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

int TwipsPerPixelX() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return 1440 / (dpi > 0 ? dpi : 96);
}

::testing::AssertionResult PropertyListTest::HostList(const HostOptions& options) {
    const HostResult hosted = container.Host(kPropertyListProgId, options);
    if (!hosted.ok()) return ::testing::AssertionFailure() << "hosting failed: " << hosted.Describe();
    list = container.Dispatch();
    if (!list) return ::testing::AssertionFailure() << "the control has no IDispatch";
    events.Clear();
    changes.Clear();
    if (FAILED(events.Connect(container.Control(), DIID___PropertyList)))
        return ::testing::AssertionFailure() << "no connection point for the event interface";
    if (FAILED(changes.Connect(container.Control())))
        return ::testing::AssertionFailure() << "no connection point for IPropertyNotifySink";
    // After the control: the recorder hooks the library the control came from.
    boxes.emplace();
    if (!boxes->Installed()) return ::testing::AssertionFailure() << "the message box hook could not be installed";
    return ::testing::AssertionSuccess();
}

void PropertyListTest::CloseList() {
    (void)events.Disconnect();
    (void)changes.Disconnect();
    list = nullptr;
    const bool hosted = container.Control() != nullptr;
    container.Close();
    if (hosted) {
        EXPECT_EQ(container.ControlRefsAfterClose(), 0u) << "the control outlived its container";
    }
    EXPECT_TRUE(events.HandlerErrors().empty()) << events.HandlerErrors().front();
    if (boxes) {
        for (const MessageBoxCall& box : boxes->Calls())
            ADD_FAILURE() << "unexpected message box \"" << Narrow(box.text) << "\" titled \"" << Narrow(box.title)
                          << "\"";
        boxes.reset();
    }
}

void PropertyListTest::TearDown() { CloseList(); }

DispResult PropertyListTest::Add(std::wstring_view name, std::wstring_view content, int kind, int index,
                                 bool readOnly) {
    return Call(list.get(), L"Add", {Variant(name), Variant(content), Variant(readOnly), Variant(kind), Short(index)});
}

void PropertyListTest::AddNamed(std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names) ExpectOk(Call(list.get(), L"Add", {Variant(name)}));
}

int PropertyListTest::ListCount() { return ExpectOk(Get(list.get(), L"ListCount")).value.ToShort(); }
std::wstring PropertyListTest::Item(int index) { return ExpectOk(Get(list.get(), L"Item", index)).value.ToString(); }
std::wstring PropertyListTest::Value(int index) { return ExpectOk(Get(list.get(), L"Value", index)).value.ToString(); }
int PropertyListTest::ItemType(int index) { return ExpectOk(Get(list.get(), L"ItemType", index)).value.ToLong(); }
bool PropertyListTest::ReadOnly(int index) { return ExpectOk(Get(list.get(), L"ReadOnly", index)).value.ToBool(); }
int PropertyListTest::Selected() { return ExpectOk(Get(list.get(), L"Selected")).value.ToShort(); }

std::vector<std::wstring> PropertyListTest::Names() {
    std::vector<std::wstring> names;
    for (int i = 0, count = ListCount(); i < count; ++i) names.push_back(Item(i));
    return names;
}

std::vector<std::wstring> PropertyListTest::Values() {
    std::vector<std::wstring> values;
    for (int i = 0, count = ListCount(); i < count; ++i) values.push_back(Value(i));
    return values;
}

Variant PropertyListTest::Property(std::wstring_view name) { return ExpectOk(Get(list.get(), name)).value; }

std::vector<MessageBoxCall> PropertyListTest::TakeMessageBoxes() {
    if (!boxes) return {};
    std::vector<MessageBoxCall> calls = boxes->Calls();
    boxes->Clear();
    return calls;
}

}  // namespace zo::test
