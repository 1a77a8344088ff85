// Times Add on a PropertyList created through COM, as a host creates it:
// 10,000 and 100,000 rows appended with HoldDraw True, the ratio of the two
// times (linear growth gives about 10), and the memory each row costs beyond
// its text. Prints one line per figure; not a test, asserts nothing.
#include <windows.h>
#include <ocidl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ZoPropertyList.h"
#include "common/com_ptr.h"
#include "common/handles.h"

namespace {

using zo::com_ptr;

com_ptr<_PropertyList> CreateList() {
    com_ptr<_PropertyList> list;
    if (FAILED(::CoCreateInstance(CLSID_PropertyList, nullptr, CLSCTX_INPROC_SERVER, IID__PropertyList,
                                  list.put_void())))
        return nullptr;
    if (com_ptr<IPersistStreamInit> persist = list.query<IPersistStreamInit>()) persist->InitNew();
    list->put_HoldDraw(VARIANT_TRUE);
    return list;
}

// Committed private memory of the process, summed over its address space:
// the heap grows by committing pages, whatever the allocator's own counters
// report.
SIZE_T PrivateBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         ::VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return total;
}

// Seconds to append `rows` rows, and the text bytes they carry.
double TimeAdds(_PropertyList& list, int rows, size_t* textBytes) {
    zo::unique_bstr content(::SysAllocString(L"Value"));
    size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rows; ++i) {
        const std::wstring name = L"Row " + std::to_wstring(i);
        zo::unique_bstr bstrName(::SysAllocStringLen(name.data(), static_cast<UINT>(name.size())));
        list.Add(bstrName.get(), content.get(), VARIANT_FALSE, ZoPropStringValue, -1);
        bytes += (name.size() + 5) * sizeof(wchar_t);
    }
    const auto stop = std::chrono::steady_clock::now();
    if (textBytes) *textBytes = bytes;
    return std::chrono::duration<double>(stop - start).count();
}

}  // namespace

int main() {
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int status = 0;
    {
        com_ptr<_PropertyList> small = CreateList();
        com_ptr<_PropertyList> large = CreateList();
        if (!small || !large) {
            std::printf("could not create the control (is ZoPropList.ocx registered?)\n");
            status = 1;
        } else {
            const double smallSeconds = TimeAdds(*small.get(), 10000, nullptr);
            const SIZE_T before = PrivateBytes();
            size_t textBytes = 0;
            const double largeSeconds = TimeAdds(*large.get(), 100000, &textBytes);
            const SIZE_T after = PrivateBytes();
            const double perRow = (static_cast<double>(after) - static_cast<double>(before) -
                                   static_cast<double>(textBytes)) / 100000.0;
            std::printf("add 10000 rows: %.3f s\n", smallSeconds);
            std::printf("add 100000 rows: %.3f s\n", largeSeconds);
            std::printf("ratio 100000/10000: %.2f (target at most 12)\n", largeSeconds / smallSeconds);
            std::printf("memory per row beyond its text: %.0f bytes (target under 200)\n", perRow);
        }
    }
    ::OleUninitialize();
    return status;
}
