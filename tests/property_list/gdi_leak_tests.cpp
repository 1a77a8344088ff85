// Repainting a PropertyList many times leaves no GDI object behind. The
// library counts the GDI objects its own holders own (exported as
// ZoLiveGdiObjects); the system's own count is compared as well where the
// platform answers GetGuiResources (some return 0 whatever is live).
#include <gtest/gtest.h>

#include <string>

#include "tests/property_list/painted_list.h"

namespace zo::test {
namespace {

using LiveGdiObjects = long(WINAPI*)();

LiveGdiObjects LibraryCounter() {
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    if (!library) return nullptr;
    return reinterpret_cast<LiveGdiObjects>(reinterpret_cast<void*>(::GetProcAddress(library, "ZoLiveGdiObjects")));
}

// How many times the list is repainted: 10,000 natively. Where the process
// runs through a CPU emulator (ZO_EMULATED_CPU=1, which scripts/wine-env.sh
// gives 32-bit programs where the kernel hands them to qemu-i386) a repaint
// costs many times more and 10,000 do not fit in a test's 60 s, so there the
// list is repainted 1,000 times. Both counts visit the same ten scroll
// positions, and the counts are compared exactly, so a repaint or a scroll
// that leaks even one object fails at either count; the larger one natively
// also catches a leak that happens only now and then.
int Repaints() { return RunsUnderCpuEmulator() ? 1000 : 10000; }

class GdiLeakTest : public PaintedListTest {};

TEST_F(GdiLeakTest, ManyRepaintsLeaveTheGdiObjectCountUnchanged) {
    const LiveGdiObjects libraryCount = LibraryCounter();
    ASSERT_NE(libraryCount, nullptr) << "the control's library exports no GDI count";
    // Every kind of row, a header, a selection and more rows than fit, so
    // that each repaint uses every brush, font and line of the painting.
    const int kinds[] = {kStringRow, kNumericRow, kBooleanRow, kBrowseRow, kColourRow, kCustomRow, kHeaderRow};
    for (int i = 0; i < 40; ++i) {
        const int kind = kinds[i % 7];
        ASSERT_TRUE(DispOk(Add(L"Row " + std::to_wstring(i), kind == kColourRow ? L"&H8000000F" : L"12", kind)));
    }
    ASSERT_TRUE(DispOk(Put(list.get(), L"Selected", Short(4))));
    auto repaint = [&] { ::RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    repaint();  // anything made once, on first use, is made now
    container.Pump();

    const long libraryBefore = libraryCount();
    EXPECT_GT(libraryBefore, 0) << "the control's own brushes and fonts are counted";
    const DWORD systemBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    const int repaints = Repaints(), perPosition = repaints / 10;
    SCOPED_TRACE(std::to_string(repaints) + " repaints");
    for (int i = 0; i < repaints; ++i) {
        if (i % perPosition == perPosition / 2) {
            ASSERT_TRUE(DispOk(Put(list.get(), L"TopIndex", Short(i / perPosition))));
        }
        repaint();
    }
    container.Pump();
    EXPECT_EQ(libraryCount(), libraryBefore);
    if (systemBefore != 0) {
        EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), systemBefore);
    }
}

}  // namespace
}  // namespace zo::test
