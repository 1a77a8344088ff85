// The message-box recorder against the library itself: the property list's
// About box goes through the library's message box, which the recorder
// answers instead of a person.
#include <gtest/gtest.h>

#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/gtest_support.h"
#include "tests/host/message_box_recorder.h"

namespace zo::test {
namespace {

DispResult ShowAboutBox(IDispatch* list) { return InvokeById(list, DISPID_ABOUTBOX, DISPATCH_METHOD); }

TEST(MessageBoxRecorder, RecordsTheLibrarysMessageBoxesInsteadOfShowingThem) {
    TestContainer container;
    ASSERT_TRUE(Hosted(container.Host(L"ZoPropertyList.PropertyList")));
    com_ptr<IDispatch> list = container.Dispatch();
    {
        MessageBoxRecorder outer;
        ASSERT_TRUE(outer.Installed());
        {
            MessageBoxRecorder inner(IDCANCEL);
            ASSERT_TRUE(inner.Installed());
            EXPECT_TRUE(DispOk(ShowAboutBox(list.get())));
            ASSERT_EQ(1u, inner.Count());
            const MessageBoxCall& box = inner.Calls()[0];
            EXPECT_EQ(L"About ZoPropertyList", box.title);
            EXPECT_NE(std::wstring::npos, box.text.find(L"ZoPropertyList"));
            EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.style & MB_ICONMASK);
            EXPECT_EQ(container.ControlHwnd(), box.owner);
            EXPECT_EQ(0u, outer.Count());
        }
        // The inner recorder is gone: the enclosing one answers again.
        EXPECT_TRUE(DispOk(ShowAboutBox(list.get())));
        EXPECT_EQ(1u, outer.Count());
        outer.Clear();
        EXPECT_EQ(0u, outer.Count());
    }
    list = nullptr;
    container.Close();
    EXPECT_EQ(0u, container.ControlRefsAfterClose());
}

}  // namespace
}  // namespace zo::test
