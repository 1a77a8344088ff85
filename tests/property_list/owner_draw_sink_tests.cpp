// The calls a PropertyList makes to the host's owner-draw sink when the host
// commits, hides or stores values, as the host's sink receives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/property_list/recording_sink.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {
namespace {

class OwnerDrawSinkTest : public PropertyListTest {
protected:
    void SetUp() override {
        container.Ambient().displayName = L"Properties";
        ASSERT_TRUE(HostList());
        sink = RecordingSink::Create();
        ASSERT_TRUE(DispOk(SetSink(sink.get())));
    }
    void TearDown() override {
        CloseList();
        if (sink) {
            EXPECT_EQ(RefCount(static_cast<IPropOwnerDrawSink*>(sink.get())), 1u) << "the control kept the sink";
        }
        sink = nullptr;
    }

    DispResult SetSink(RecordingSink* object) {
        return Call(list.get(), L"SetOwnerDrawSink", {Variant(static_cast<IDispatch*>(object))});
    }

    com_ptr<RecordingSink> sink;
};

TEST_F(OwnerDrawSinkTest, CommitPendingOnASelectedOwnerDrawnRowCommitsThenHidesTheHostEditor) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"d", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(1))));
    VARIANT_BOOL byReference = VARIANT_TRUE;
    struct Case {
        const char* what;
        std::vector<Variant> args;
    };
    const Case cases[] = {
        {"NotifyChange True", {Variant(true)}},
        {"NotifyChange False", {Variant(false)}},
        {"NotifyChange by reference", {Variant::RefBool(&byReference)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sink->calls.clear();
        events.Clear();

        ASSERT_TRUE(DispOk(Call(list.get(), L"CommitPending", c.args)));

        EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"CommitEdit(Properties)", L"HideEditor(Properties)"}));
        EXPECT_EQ(events.Count(list_event::ValueChanged), 0u);
        EXPECT_EQ(Value(1), L"d");
    }
}

// As a script host calls it: no argument, so the type library's default applies.
TEST_F(OwnerDrawSinkTest, CommitPendingWithItsArgumentOmittedCommitsTheHostEditor) {
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"d", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(0))));
    sink->calls.clear();

    ASSERT_TRUE(DispOk(Call(list.get(), L"CommitPending")));

    EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"CommitEdit(Properties)", L"HideEditor(Properties)"}));
}

TEST_F(OwnerDrawSinkTest, CommitPendingOnOtherRowsDoesNotCommitTheHostEditor) {
    const int kinds[] = {kStringRow, kNumericRow, kBooleanRow, kColourRow, kCustomRow, kHeaderRow};
    for (int kind : kinds) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
        ASSERT_TRUE(DispOk(Add(L"Row", L"1", kind)));
        ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(1))));
        sink->calls.clear();

        ASSERT_TRUE(DispOk(Call(list.get(), L"CommitPending", {Variant(true)})));

        for (const SinkCall& call : sink->calls) EXPECT_NE(call.dispid, kCommitEdit);
    }
    // Nor does it with no row selected.
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(-1))));
    sink->calls.clear();
    ASSERT_TRUE(DispOk(Call(list.get(), L"CommitPending", {Variant(true)})));
    EXPECT_TRUE(sink->EditorCalls().empty());
}

TEST_F(OwnerDrawSinkTest, HideControlsTellsTheSinkToHideItsEditor) {
    for (int rows : {0, 2}) {
        SCOPED_TRACE(testing::Message() << rows << " rows");
        ASSERT_TRUE(DispOk(Call(list.get(), L"Clear")));
        for (int i = 0; i < rows; ++i) ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
        sink->calls.clear();

        ASSERT_TRUE(DispOk(Call(list.get(), L"HideControls")));

        EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"HideEditor(Properties)"}));
    }
}

TEST_F(OwnerDrawSinkTest, StoringAnOwnerDrawnValueHidesTheHostEditor) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"old", kOwnerDrawRow)));
    for (int selected : {-1, 0, 1}) {
        SCOPED_TRACE(testing::Message() << "row " << selected << " selected");
        ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(selected))));
        sink->calls.clear();
        events.Clear();

        const std::wstring value = L"new " + std::to_wstring(selected);
        ASSERT_TRUE(DispOk(PutIndexed(list.get(), L"Value", {Short(1)}, Variant(value))));

        EXPECT_EQ(events.Count(list_event::ValueChanged), 1u);
        EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"HideEditor(Properties)"}));
        EXPECT_EQ(Value(1), value);
    }
}

TEST_F(OwnerDrawSinkTest, ANewSinkReplacesTheOldOneWhichIsReleased) {
    com_ptr<RecordingSink> second = RecordingSink::Create();
    const ULONG held = RefCount(static_cast<IPropOwnerDrawSink*>(sink.get()));
    ASSERT_GT(held, 1u) << "the control holds no reference to its sink";

    ASSERT_TRUE(DispOk(SetSink(second.get())));
    ASSERT_TRUE(DispOk(Call(list.get(), L"HideControls")));

    EXPECT_EQ(RefCount(static_cast<IPropOwnerDrawSink*>(sink.get())), 1u);
    EXPECT_TRUE(sink->calls.empty());
    EXPECT_TRUE(SequenceIs(second->EditorCalls(), {L"HideEditor(Properties)"}));

    CloseList();
    EXPECT_EQ(RefCount(static_cast<IPropOwnerDrawSink*>(second.get())), 1u) << "the control kept the sink";
}

// A host class whose default interface is a dual of its own implements the
// sink as a second interface: its IDispatch is that other interface, where
// the sink's DISPIDs mean other methods. Only the sink's own face records.
class SecondaryInterfaceSink final : public NoTypeInfoDispatch<IDispatch>, public ComObject {
public:
    [[nodiscard]] static com_ptr<SecondaryInterfaceSink> Create() {
        return com_ptr<SecondaryInterfaceSink>::attach(new SecondaryInterfaceSink);
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IPropOwnerDrawSink) return face->QueryInterface(iid, object);
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    // The default interface's own methods, reached by the same DISPIDs.
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        defaultInterfaceCalls.push_back(dispid);
        return DISP_E_MEMBERNOTFOUND;
    }

    com_ptr<RecordingSink> face = RecordingSink::Create();
    std::vector<DISPID> defaultInterfaceCalls;

private:
    SecondaryInterfaceSink() = default;
};

TEST_F(OwnerDrawSinkTest, ASinkThatIsASecondInterfaceOfTheHostsClassIsCalledOnThatInterface) {
    com_ptr<SecondaryInterfaceSink> host = SecondaryInterfaceSink::Create();
    ASSERT_TRUE(DispOk(Call(list.get(), L"SetOwnerDrawSink", {Variant(static_cast<IDispatch*>(host.get()))})));
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"d", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(0))));
    ASSERT_TRUE(DispOk(Call(list.get(), L"CommitPending", {Variant(true)})));

    EXPECT_TRUE(host->defaultInterfaceCalls.empty());
    EXPECT_TRUE(SequenceIs(host->face->EditorCalls(), {L"HideEditor(Properties)", L"ShowEditor(Properties)",
                                                       L"CommitEdit(Properties)", L"HideEditor(Properties)"}));
    EXPECT_FALSE(host->face->DrawCalls().empty());
    ASSERT_TRUE(DispOk(Call(list.get(), L"SetOwnerDrawSink", {Variant(static_cast<IDispatch*>(nullptr))})));
}

TEST(OwnerDrawSinkSharing, TwoListsSharingOneSinkNameThemselvesInEveryCall) {
    com_ptr<RecordingSink> shared = RecordingSink::Create();
    {
        TestContainer first, second;
        first.Ambient().displayName = L"LeftList";
        second.Ambient().displayName = L"RightList";
        ASSERT_TRUE(Hosted(first.Host(kPropertyListProgId)));
        ASSERT_TRUE(Hosted(second.Host(kPropertyListProgId)));
        MessageBoxRecorder boxes;
        {
            com_ptr<IDispatch> left = first.Dispatch(), right = second.Dispatch();
            for (IDispatch* control : {left.get(), right.get()})
                ASSERT_TRUE(DispOk(Call(control, L"SetOwnerDrawSink", {Variant(static_cast<IDispatch*>(shared.get()))})));
            shared->calls.clear();

            ASSERT_TRUE(DispOk(Call(left.get(), L"HideControls")));
            ASSERT_TRUE(DispOk(Call(right.get(), L"HideControls")));
            ASSERT_TRUE(DispOk(Call(left.get(), L"HideControls")));
        }
        EXPECT_TRUE(SequenceIs(shared->EditorCalls(),
                               {L"HideEditor(LeftList)", L"HideEditor(RightList)", L"HideEditor(LeftList)"}));
        EXPECT_EQ(boxes.Count(), 0u);
        first.Close();
        second.Close();
        EXPECT_EQ(first.ControlRefsAfterClose(), 0u);
        EXPECT_EQ(second.ControlRefsAfterClose(), 0u);
    }
    EXPECT_EQ(RefCount(static_cast<IPropOwnerDrawSink*>(shared.get())), 1u);
}

}  // namespace
}  // namespace zo::test
