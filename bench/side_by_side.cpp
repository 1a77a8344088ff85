// PropertyList beside the platform's own lists: a report-view ListView and a
// LISTBOX, each in a visible 1920 x 1080 window of this process, each filled
// as a new user would fill it (rows "Row i" / "Value i"; the PropertyList
// called late-bound by name with HoldDraw True, the platform's lists with
// their redrawing turned off meanwhile). For each list: the time to append
// 10,000 and 100,000 rows, one full repaint of the list's own window, one
// line scrolled and repainted, the time to clear, and the memory per row.
// Prints one line per figure and the ratios last; not a test, asserts
// nothing.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/support/build_type.h"
#include "bench/support/hosted_list.h"
#include "tests/host/dispatch_call.h"

namespace {

using zo::bench::ElapsedMs;
using zo::bench::MedianMs;
using zo::bench::RepaintNow;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kManyRows = 100000, kFewerRows = 10000;
constexpr int kRuns = 51;

std::wstring RowName(int i) { return L"Row " + std::to_wstring(i); }
std::wstring RowValue(int i) { return L"Value " + std::to_wstring(i); }

// The text a row carries, in bytes of UTF-16 without terminators.
size_t TextBytes(int rows) {
    size_t bytes = 0;
    for (int i = 0; i < rows; ++i) bytes += (RowName(i).size() + RowValue(i).size()) * sizeof(wchar_t);
    return bytes;
}

// Committed private memory of the process, over its whole address space.
double CommittedBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr; ::VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return static_cast<double>(total);
}

// Bytes in busy blocks of every heap of the process.
double HeapBytesInUse() {
    HANDLE heaps[256];
    const DWORD count = ::GetProcessHeaps(256, heaps);
    double total = 0;
    for (DWORD h = 0; h < count && h < 256; ++h) {
        if (!::HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[h], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData + entry.cbOverhead;
        }
        ::HeapUnlock(heaps[h]);
    }
    return total;
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// One list under test: how it is filled, cleared and scrolled.
class Contender {
public:
    virtual ~Contender() = default;
    [[nodiscard]] virtual const char* Name() const = 0;
    [[nodiscard]] virtual HWND Window() const = 0;
    virtual void Append(int rows) = 0;
    virtual void Clear() = 0;
    // One line down (or back up), repainted.
    virtual void ScrollLine(bool down) {
        ::SendMessageW(Window(), WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
        ::UpdateWindow(Window());
    }
};

class PropertyListContender final : public Contender {
public:
    PropertyListContender() : m_hosted(kWidth, kHeight) {}
    [[nodiscard]] bool Ok() const { return m_hosted.ok; }
    [[nodiscard]] const char* Name() const override { return "PropertyList"; }
    [[nodiscard]] HWND Window() const override { return m_hosted.container.ControlHwnd(); }
    void Append(int rows) override {
        using zo::test::Variant;
        IDispatch* list = m_hosted.list.get();
        (void)zo::test::Put(list, L"HoldDraw", Variant(true));
        for (int i = 0; i < rows; ++i) (void)zo::test::Call(list, L"Add", {Variant(RowName(i)), Variant(RowValue(i))});
        (void)zo::test::Put(list, L"HoldDraw", Variant(false));
        ::UpdateWindow(Window());
    }
    void Clear() override {
        (void)zo::test::Call(m_hosted.list.get(), L"Clear");
        ::UpdateWindow(Window());
    }

private:
    zo::bench::HostedList m_hosted;
};

// A platform list in a visible top-level window of its own.
class PlatformContender : public Contender {
public:
    PlatformContender(const wchar_t* className, DWORD style, UINT clearMessage) : m_clearMessage(clearMessage) {
        RECT frame{0, 0, kWidth, kHeight};
        ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        m_frame = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr,
                                    nullptr);
        m_list = ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 0, 0, kWidth,
                                   kHeight, m_frame, nullptr, nullptr, nullptr);
        Pump();
    }
    ~PlatformContender() override {
        if (m_frame) ::DestroyWindow(m_frame);
    }
    [[nodiscard]] HWND Window() const override { return m_list; }
    void Append(int rows) override {
        ::SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < rows; ++i) AddRow(i);
        ::SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_list, nullptr, TRUE);
        ::UpdateWindow(m_list);
    }
    void Clear() override {
        ::SendMessageW(m_list, m_clearMessage, 0, 0);
        ::UpdateWindow(m_list);
    }

protected:
    virtual void AddRow(int i) = 0;
    UINT m_clearMessage;
    HWND m_frame = nullptr;
    HWND m_list = nullptr;
};

class ListViewContender final : public PlatformContender {
public:
    ListViewContender() : PlatformContender(WC_LISTVIEWW, LVS_REPORT, LVM_DELETEALLITEMS) {
        for (int column = 0; column < 2; ++column) {
            LVCOLUMNW definition{};
            definition.mask = LVCF_WIDTH | LVCF_TEXT;
            definition.cx = kWidth / 2 - 20;
            definition.pszText = const_cast<wchar_t*>(column == 0 ? L"Name" : L"Value");
            ::SendMessageW(m_list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&definition));
        }
    }
    [[nodiscard]] const char* Name() const override { return "ListView"; }

private:
    void AddRow(int i) override {
        std::wstring name = RowName(i), value = RowValue(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name.data();
        const LRESULT at = ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = value.data();
        ::SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
    }
};

class ListBoxContender final : public PlatformContender {
public:
    ListBoxContender()
        : PlatformContender(L"LISTBOX", LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_NOTIFY, LB_RESETCONTENT) {}
    [[nodiscard]] const char* Name() const override { return "LISTBOX"; }

private:
    void AddRow(int i) override {
        const std::wstring text = RowName(i) + L"\t" + RowValue(i);
        ::SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
};

struct Figures {
    double fewerSeconds = 0, manySeconds = 0, repaintMs = 0, scrollMs = 0, clearMs = 0;
    double committedPerRow = 0, inUsePerRow = 0;
};

Figures Measure(Contender& list) {
    Figures figures;
    figures.fewerSeconds = ElapsedMs([&] { list.Append(kFewerRows); }) / 1000;
    list.Clear();
    Pump();
    const double committedBefore = CommittedBytes(), inUseBefore = HeapBytesInUse();
    figures.manySeconds = ElapsedMs([&] { list.Append(kManyRows); }) / 1000;
    Pump();
    const double text = static_cast<double>(TextBytes(kManyRows));
    figures.committedPerRow = (CommittedBytes() - committedBefore - text) / kManyRows;
    figures.inUsePerRow = (HeapBytesInUse() - inUseBefore - text) / kManyRows;
    RepaintNow(list.Window());
    figures.repaintMs = MedianMs(kRuns, [&](int) { RepaintNow(list.Window()); });
    figures.scrollMs = MedianMs(kRuns, [&](int run) { list.ScrollLine(run % 2 == 0); });
    figures.clearMs = ElapsedMs([&] { list.Clear(); });
    Pump();
    std::printf("%s: append %d rows %.3f s, %d rows %.3f s; full repaint %.3f ms; one line scrolled %.3f ms; "
                "clear %.3f ms; memory per row beyond its text: %.0f B committed, %.0f B in use\n",
                list.Name(), kFewerRows, figures.fewerSeconds, kManyRows, figures.manySeconds, figures.repaintMs,
                figures.scrollMs, figures.clearMs, figures.committedPerRow, figures.inUsePerRow);
    return figures;
}

}  // namespace

int main() {
    if (!zo::bench::OptimisedBuild()) return 2;
    if (FAILED(::OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    int status = 0;
    {
        PropertyListContender propertyList;
        ListViewContender listView;
        ListBoxContender listBox;
        if (!propertyList.Ok()) {
            std::printf("could not host the control (is ZoPropList.ocx registered?)\n");
            status = 1;
        } else {
            const Figures list = Measure(propertyList);
            const Figures view = Measure(listView);
            const Figures box = Measure(listBox);
            std::printf("ratio append %d rows, PropertyList / ListView: %.2f (target at most 1.0)\n", kManyRows,
                        list.manySeconds / view.manySeconds);
            std::printf("ratio PropertyList append %d / %d rows: %.2f (target at most 11)\n", kManyRows, kFewerRows,
                        list.manySeconds / list.fewerSeconds);
            std::printf("ratio full repaint, PropertyList / LISTBOX: %.2f (target at most 2)\n",
                        list.repaintMs / box.repaintMs);
            std::printf("ratio full repaint, PropertyList / ListView: %.2f (target at most 0.5)\n",
                        list.repaintMs / view.repaintMs);
            std::printf("PropertyList memory per row beyond its text: %.0f B committed (target at most 100)\n",
                        list.committedPerRow);
        }
    }
    ::OleUninitialize();
    return status;
}
