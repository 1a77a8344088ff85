// How a PropertyList lets the host's sink draw owner-drawn rows: the DrawItem
// calls, their order and arguments, the Bottom the sink leaves, and rows
// scrolled out of view that are not drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/twips.h"
#include "tests/property_list/painted_list.h"
#include "tests/property_list/recording_sink.h"

namespace zo::test {
namespace {

// DrawItem's arguments in call order.
enum DrawArg { kName, kIndex, kSelected, kDc, kLeft, kTop, kRight, kBottom };

// The by-reference Long argument `arg` (in call order) of a DrawItem call.
LONG* LongRef(DISPPARAMS& params, int arg) {
    VARIANT& v = params.rgvarg[params.cArgs - 1 - arg];
    return V_VT(&v) == (VT_I4 | VT_BYREF) ? V_I4REF(&v) : nullptr;
}

class OwnerDrawPaintingTest : public PaintedListTest {
protected:
    void SetUp() override {
        container.Ambient().displayName = L"Painted";
        PaintedListTest::SetUp();
        sink = RecordingSink::Create();
        ASSERT_TRUE(DispOk(Call(list.get(), L"SetOwnerDrawSink", {Variant(static_cast<IDispatch*>(sink.get()))})));
    }
    void TearDown() override {
        CloseList();
        sink = nullptr;
    }
    // Repaints now and returns the DrawItem calls of that repaint.
    std::vector<SinkCall> Repaint() {
        sink->calls.clear();
        ::RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        container.Pump();
        return sink->DrawCalls();
    }

    com_ptr<RecordingSink> sink;
    long editorTop = 0;
};

TEST_F(OwnerDrawPaintingTest, DrawItemReceivesTheRowsRectangleByReferenceInRowOrder) {
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    ASSERT_TRUE(DispOk(Add(L"Drawn A", L"a", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Add(L"Drawn B", L"b", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(2))));
    const std::vector<SinkCall> calls = Repaint();
    ASSERT_EQ(calls.size(), 2u);

    RECT client{};
    ::GetClientRect(ListWindow(), &client);
    const std::vector<VARTYPE> kinds{VT_BSTR,          VT_I2 | VT_BYREF, VT_BOOL, VT_I4 | VT_BYREF,
                                     VT_I4,            VT_I4 | VT_BYREF, VT_I4 | VT_BYREF, VT_I4 | VT_BYREF};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(testing::Message() << "call " << k);
        const SinkCall& call = calls[k];
        ASSERT_EQ(call.args.size(), 8u);
        EXPECT_EQ(call.types, kinds);
        const int row = k + 1;
        EXPECT_EQ(call.args[kName].ToString(), L"Painted");
        EXPECT_EQ(call.args[kIndex].ToShort(), row);
        EXPECT_EQ(call.args[kSelected].ToBool(), row == 2);
        EXPECT_NE(call.args[kDc].ToLong(), 0);
        EXPECT_EQ(call.args[kLeft].ToLong(), 2);
        EXPECT_EQ(call.args[kTop].ToLong(), RowTop(row) + 1);
        EXPECT_EQ(call.args[kRight].ToLong(), client.right);
        EXPECT_EQ(call.args[kBottom].ToLong(), RowTop(row + 1));
    }
}

TEST_F(OwnerDrawPaintingTest, TheControlDrawsNothingInAnOwnerDrawnRowNotEvenTheSelection) {
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"value text", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(0))));
    const CapturedBitmap picture = Picture();
    const RECT row{0, RowTop(0) + 1, picture.Width(), RowTop(1) - 1};
    EXPECT_EQ(picture.CountColor(kHighlight, &row), 0);
    EXPECT_EQ(picture.CountColor(kBlack, &row), 0);
}

TEST_F(OwnerDrawPaintingTest, TheNextRowStartsAtTheBottomTheSinkLeaves) {
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Add(L"Text", L"t")));
    const int tall = RowTop(0) + 40;
    sink->onDrawItem = [&](DISPPARAMS& params) {
        if (LONG* bottom = LongRef(params, kBottom)) *bottom = tall;
        if (LONG* top = LongRef(params, kTop)) *top = 999;  // ignored by the control
        return S_OK;
    };
    const CapturedBitmap picture = Picture();
    const int column = (picture.Width() - 10) & ~1;
    std::vector<int> lines;
    for (int y = 0; y < picture.Height(); ++y)
        if (picture.At(column, y) == kGrid) lines.push_back(y);
    EXPECT_EQ(lines, (std::vector<int>{0, EvenRow(tall), EvenRow(tall + Pitch())}));
}

TEST_F(OwnerDrawPaintingTest, RowsScrolledOutOfViewAreNotDrawn) {
    const int fit = RowsThatFit();
    for (int i = 0; i < fit + 10; ++i) ASSERT_TRUE(DispOk(Add(L"Drawn " + std::to_wstring(i), L"", kOwnerDrawRow)));
    auto drawnRows = [&] {
        std::vector<int> rows;
        for (const SinkCall& call : Repaint()) rows.push_back(call.args[kIndex].ToShort());
        return rows;
    };
    std::vector<int> expected;
    for (int i = 0; i <= fit; ++i) expected.push_back(i);  // the whole rows and the part row below
    EXPECT_EQ(drawnRows(), expected);

    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(5))));
    expected.clear();
    for (int i = 5; i <= 5 + fit; ++i) expected.push_back(i);
    EXPECT_EQ(drawnRows(), expected);
}

TEST_F(OwnerDrawPaintingTest, ScrollingHidesTheHostEditorAndShowsNoneAgain) {
    const int fit = RowsThatFit();
    for (int i = 0; i < fit + 4; ++i) ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(1))));
    EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"HideEditor(Painted)", L"ShowEditor(Painted)"}));
    sink->calls.clear();
    ::SendMessageW(ListWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    container.Pump();
    EXPECT_TRUE(SequenceIs(sink->EditorCalls(), {L"HideEditor(Painted)"}));
}

// The host's editor is placed at the selected row's top, in twips; a row
// scrolled out of view has no top on screen and the editor goes to -90.
TEST_F(OwnerDrawPaintingTest, TheHostEditorIsPlacedAtTheSelectedRowOrAboveTheTopWhenItIsOutOfView) {
    const int fit = RowsThatFit();
    for (int i = 0; i < fit + 10; ++i) ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
    auto shownTop = [&] {
        ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(3))));
        for (const SinkCall& call : sink->calls)
            if (call.dispid == kShowEditor) editorTop = call.args[3].ToLong();
        sink->calls.clear();
    };
    shownTop();
    EXPECT_EQ(editorTop, (RowTop(3) + 1) * zo::TwipsPerPixelY());
    ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(6))));
    shownTop();
    EXPECT_EQ(editorTop, -90);
}

// The picture is composed in a buffer kept between paints: a sink that
// leaves its DC changed (the origin moved) changes nothing in the next one.
TEST_F(OwnerDrawPaintingTest, ASinkThatLeavesTheDcChangedDoesNotMoveTheNextPicture) {
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Add(L"Text", L"text")));
    const CapturedBitmap clean = Picture();
    sink->onDrawItem = [](DISPPARAMS& params) {
        const VARIANT& dc = params.rgvarg[params.cArgs - 1 - kDc];
        const LONG handle = V_VT(&dc) == (VT_I4 | VT_BYREF) ? *V_I4REF(&dc) : V_I4(&dc);
        ::SetViewportOrgEx(reinterpret_cast<HDC>(static_cast<INT_PTR>(handle)), 40, 40, nullptr);
        return S_OK;
    };
    EXPECT_GT(CountDifferences(Picture(), clean), 0) << "the moved origin shows in that paint";
    sink->onDrawItem = nullptr;
    EXPECT_EQ(CountDifferences(Picture(), clean), 0);
}

TEST_F(OwnerDrawPaintingTest, AFailingSinkLeavesTheRestOfThePictureDrawn) {
    ASSERT_TRUE(DispOk(Add(L"Drawn", L"", kOwnerDrawRow)));
    ASSERT_TRUE(DispOk(Add(L"Text", L"shown")));
    sink->onDrawItem = [](DISPPARAMS&) { return E_FAIL; };
    const CapturedBitmap picture = Picture();
    const RECT second{2, RowTop(1) + 1, picture.Width(), RowTop(2)};
    EXPECT_GT(picture.CountColor(kBlack, &second), 0);
}

}  // namespace
}  // namespace zo::test
