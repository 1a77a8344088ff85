// What the PropertyList benchmarks share: a list hosted in the test
// container at a given pixel size, rows of every kind, and the median of a
// series of timings.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "ZoPropertyList.h"
#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/control_site.h"

namespace zo::bench {

// Appends rows of every kind but owner-drawn, with drawing held meanwhile.
inline void AddRows(_PropertyList& list, int rows) {
    const short kinds[] = {ZoPropStringValue, ZoPropNumericValue, ZoPropBoolValue, ZoPropBrowseButton,
                           ZoPropOleColor,    ZoPropCustomValue,  ZoPropPropertyHeader};
    list.put_HoldDraw(VARIANT_TRUE);
    for (int i = 0; i < rows; ++i) {
        const short kind = kinds[i % 7];
        const std::wstring name = L"Property " + std::to_wstring(i);
        const wchar_t* value = kind == ZoPropOleColor ? L"&H8000000F" : kind == ZoPropBoolValue ? L"True" : L"1234";
        unique_bstr bstrName(::SysAllocString(name.c_str()));
        unique_bstr bstrValue(::SysAllocString(value));
        list.Add(bstrName.get(), bstrValue.get(), VARIANT_FALSE, static_cast<ItemTypes>(kind), -1);
    }
    list.put_HoldDraw(VARIANT_FALSE);
}

struct HostedList {
    test::TestContainer container;
    com_ptr<_PropertyList> list;
    bool ok = false;

    HostedList(int width, int height) : container(SIZE{width + 20, height + 20}) {
        test::HostOptions options;
        options.position = RECT{0, 0, width, height};
        if (!container.Host(L"ZoPropertyList.PropertyList", options).ok()) return;
        list = container.Query<_PropertyList>();
        ok = list && container.ControlHwnd();
    }
};

// Milliseconds one run of `action` takes.
template <typename Action>
double ElapsedMs(Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The middle one of a series of timings.
inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds `action` takes, the median of `runs` runs.
template <typename Action>
double MedianMs(int runs, Action&& action) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(ElapsedMs([&] { action(i); }));
    return Median(std::move(times));
}

// One full repaint of the window: WM_PAINT, the composition and its BitBlt.
inline void RepaintNow(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

}  // namespace zo::bench
