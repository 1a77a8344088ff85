// The recorders and late-bound calls against the standard font object, a
// real COM object with connection points for IPropertyNotifySink and for its
// FontEvents dispinterface.
#include <gtest/gtest.h>

#include <olectl.h>

#include "tests/host/ambient_properties.h"
#include "tests/host/com_object.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/gtest_support.h"
#include "tests/host/property_notify.h"

namespace zo::test {
namespace {

// The font object reports the face and size it realised, which depend on
// the fonts installed; 12 pt is a whole number of pixels at 96 DPI (16 px),
// so the size survives, and the face is compared with what the font reports.
constexpr wchar_t kFace[] = L"Tahoma";
constexpr double kPoints = 12.0;

TEST(StandardFont, PropertyNotifyRecorderSeesEachChangeUntilDisconnected) {
    com_ptr<IFontDisp> font = MakeFont(kFace, kPoints);
    ASSERT_TRUE(font);
    {
        PropertyNotifyRecorder changes;
        ASSERT_EQ(S_OK, changes.Connect(font.get()));
        EXPECT_TRUE(DispOk(Put(font.get(), L"Size", 12)));
        EXPECT_TRUE(DispOk(Put(font.get(), L"Italic", true)));
        EXPECT_EQ((std::vector<DISPID>{DISPID_FONT_SIZE, DISPID_FONT_ITALIC}), changes.Changes());
        EXPECT_EQ(1u, changes.Count(DISPID_FONT_SIZE));

        EXPECT_EQ(S_OK, changes.Disconnect());
        EXPECT_TRUE(DispOk(Put(font.get(), L"Size", 14)));
        EXPECT_EQ(2u, changes.Changes().size());
    }
    EXPECT_EQ(0u, ReleaseLast(font));
}

TEST(StandardFont, EventRecorderNamesTheEventAndRecordsItsArgument) {
    com_ptr<IFontDisp> font = MakeFont(kFace, kPoints);
    EventRecorder events;
    ASSERT_EQ(S_OK, events.Connect(font.get(), IID_IFontEventsDisp));
    EXPECT_TRUE(events.Connected());
    EXPECT_EQ(DISPID_FONT_CHANGED, events.DispIdOf(L"FontChanged"));
    EXPECT_EQ(DISPID_FONT_CHANGED, events.DispIdOf(L"fontchanged"));

    EXPECT_TRUE(DispOk(Put(font.get(), L"Size", 12)));
    EXPECT_TRUE(DispOk(Put(font.get(), L"Name", L"Courier New")));
    EXPECT_TRUE(SequenceIs(events.Names(), {L"FontChanged", L"FontChanged"}));
    ASSERT_EQ(2u, events.Calls().size());
    EXPECT_EQ((std::vector<Variant>{Variant(L"Size")}), events.Calls()[0].args);
    EXPECT_EQ(Variant(L"Name"), events.Last(L"FontChanged").args.at(0));
    EXPECT_EQ(2u, events.Count(DISPID_FONT_CHANGED));
    events.Clear();
    EXPECT_TRUE(events.Calls().empty());

    ASSERT_EQ(S_OK, events.Disconnect());
    EXPECT_TRUE(DispOk(Put(font.get(), L"Size", 9)));
    EXPECT_TRUE(events.Calls().empty());
    EXPECT_EQ(0u, ReleaseLast(font));
}

TEST(StandardFont, HandlerCanCallBackIntoTheObjectAndItsFailuresAreKept) {
    com_ptr<IFontDisp> font = MakeFont(kFace, kPoints);
    EventRecorder events;
    ASSERT_EQ(S_OK, events.Connect(font.get(), IID_IFontEventsDisp));
    const std::wstring face = Get(font.get(), L"Name").value.ToString();
    ASSERT_FALSE(face.empty());
    std::wstring nameSeenInHandler;
    events.On(L"FontChanged", [&](EventArgs& args) {
        if (args.Value(0).ToString() == L"Bold") {
            nameSeenInHandler = Get(font.get(), L"Name").value.ToString();
            (void)args.Value(1);  // there is no second argument: throws
        }
    });
    EXPECT_TRUE(DispOk(Put(font.get(), L"Bold", true)));
    EXPECT_EQ(face, nameSeenInHandler);
    ASSERT_EQ(1u, events.HandlerErrors().size());
    EXPECT_EQ(1u, events.Count(L"FontChanged"));
    EXPECT_THROW(events.On(L"NoSuchEvent", [](EventArgs&) {}), std::invalid_argument);
}

TEST(StandardFont, LateBoundCallsReportResultsAndFailures) {
    com_ptr<IFontDisp> font = MakeFont(kFace, kPoints);
    IDispatch* object = font.get();

    DispResult size = Get(object, L"Size");
    ASSERT_TRUE(DispOk(size));
    EXPECT_EQ(VT_CY, size.value.vt());
    EXPECT_DOUBLE_EQ(kPoints, size.value.ToDouble());
    // Names resolve whatever their case.
    EXPECT_EQ(Get(object, L"Name").value, ExpectOk(Get(object, L"name")).value);
    EXPECT_FALSE(Get(object, L"NAME").value.ToString().empty());

    EXPECT_EQ(DISP_E_UNKNOWNNAME, Get(object, L"NoSuchProperty").hr);
    EXPECT_FALSE(DispIdOf(object, L"NoSuchProperty"));
    EXPECT_EQ(DISPID_FONT_SIZE, DispIdOf(object, L"Size").value_or(DISPID_UNKNOWN));

    const DispResult mismatch = Put(object, L"Size", L"not a number");
    EXPECT_FALSE(mismatch.ok());
    EXPECT_NE(std::string::npos, mismatch.Describe().find(HResultText(mismatch.hr)));
    EXPECT_DOUBLE_EQ(kPoints, Get(object, L"Size").value.ToDouble());
}

// A control raises an event with by-reference arguments; the handler's
// assignments reach the control, and the record keeps the values on entry.
TEST(EventRecorder, HandlerAssignsByReferenceArgumentsInCallOrder) {
    EventRecorder events;
    constexpr DISPID kEvent = 7;
    events.On(kEvent, [](EventArgs& args) {
        ASSERT_EQ(5u, args.Count());
        args.SetBool(0, true);
        args.SetString(1, L"new");
        args.Set(2, Variant(42));
        args.SetStringArray(3, {L"a", L"b"});
        EXPECT_EQ(Variant(std::int16_t{3}), args.Value(4));
        EXPECT_THROW(args.SetShort(4, 5), std::invalid_argument);  // passed by value
    });

    VARIANT_BOOL cancel = VARIANT_FALSE;
    BSTR text = ::SysAllocString(L"old");
    Variant filled;
    SAFEARRAY* list = nullptr;
    const DispResult result =
        InvokeById(events.Sink(), kEvent, DISPATCH_METHOD,
                   {Variant::RefBool(&cancel), Variant::RefBstr(&text), Variant::Ref(filled.ptr()),
                    Variant::RefStringArray(&list), Variant(std::int16_t{3})});
    EXPECT_TRUE(DispOk(result));
    EXPECT_TRUE(events.HandlerErrors().empty());
    EXPECT_EQ(VARIANT_TRUE, cancel);
    EXPECT_STREQ(L"new", text);
    EXPECT_EQ(Variant(42), filled);
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Variant::RefStringArray(&list).ToStringArray());

    ASSERT_EQ(1u, events.Calls().size());
    const EventCall& call = events.Calls()[0];
    EXPECT_EQ(L"#7", events.Names().at(0));
    ASSERT_EQ(5u, call.args.size());
    EXPECT_EQ(Variant(false), call.args[0]);
    EXPECT_EQ(Variant(L"old"), call.args[1]);
    EXPECT_TRUE(call.args[2].IsEmpty());
    EXPECT_EQ(Variant(std::int16_t{3}), call.args[4]);

    ::SysFreeString(text);
    ::SafeArrayDestroy(list);
}

TEST(EventRecorder, SinkAnswersOnlyForItsSourceInterface) {
    com_ptr<IFontDisp> font = MakeFont(kFace, kPoints);
    EventRecorder events;
    ASSERT_EQ(S_OK, events.Connect(font.get(), IID_IFontEventsDisp));
    com_ptr<IUnknown> sink(events.Sink());
    EXPECT_TRUE(sink.query<IUnknown>(IID_IFontEventsDisp));
    EXPECT_FALSE(sink.query<IPropertyNotifySink>());
    // The font has no event interface of this kind: nothing to connect.
    EXPECT_TRUE(FAILED(events.Connect(font.get(), IID_IPropertyBag)));
    EXPECT_FALSE(events.Connected());
}

}  // namespace
}  // namespace zo::test
