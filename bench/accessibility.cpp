// What a screen reader sees of a PropertyList, and what it costs:
//  - the accessible tree of a sample list (name, role, value and state of
//    each row), read through oleacc as a client reads it;
//  - a client's request for the list's object: WM_GETOBJECT (the list
//    marshals its object), ObjectFromLresult (the client unmarshals it) and
//    AccessibleObjectFromWindow (both), beside the same call for a window
//    with the system's own object, on a list of 20 rows and on one of
//    100,000 rows (rows are not objects: the cost must not grow);
//  - reading the name and value of every one of the 100,000 rows.
// Medians of many runs. Not a test, asserts nothing.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/build_type.h"
#include "bench/support/hosted_list.h"
#include "tests/host/accessible_client.h"

namespace {

using zo::com_ptr;
using zo::bench::AddRows;
using zo::bench::ElapsedMs;
using zo::bench::HostedList;
using zo::bench::MedianMs;
using zo::test::AccessibleOf;
using zo::test::ChildVariant;

constexpr int kRuns = 201;

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

std::string RoleText(long role) {
    wchar_t text[64] = {};
    ::GetRoleTextW(static_cast<DWORD>(role), text, 64);
    return Narrow(text);
}

std::string StateText(long state) {
    std::string text;
    for (long bit = 1; bit != 0 && bit <= STATE_SYSTEM_VALID; bit <<= 1) {
        if (!(state & bit)) continue;
        wchar_t name[64] = {};
        ::GetStateTextW(static_cast<DWORD>(bit), name, 64);
        if (!text.empty()) text += ", ";
        text += Narrow(name);
    }
    return text.empty() ? "normal" : text;
}

void Add(_PropertyList& list, const wchar_t* name, const wchar_t* value, ItemTypes kind, bool readOnly = false) {
    zo::unique_bstr bstrName(::SysAllocString(name));
    zo::unique_bstr bstrValue(::SysAllocString(value));
    list.Add(bstrName.get(), bstrValue.get(), readOnly ? VARIANT_TRUE : VARIANT_FALSE, kind, -1);
}

void PrintTree(IAccessible& object) {
    std::printf("%s (%ld children)\n", RoleText(zo::test::AccRole(object, CHILDID_SELF)).c_str(),
                zo::test::AccChildCount(object));
    for (long id = 1; id <= zo::test::AccChildCount(object); ++id) {
        std::printf("  %-2ld %-12s %-10s value \"%s\"  [%s]\n", id, RoleText(zo::test::AccRole(object, id)).c_str(),
                    Narrow(zo::test::AccName(object, id)).c_str(), Narrow(zo::test::AccValue(object, id)).c_str(),
                    StateText(zo::test::AccState(object, id)).c_str());
    }
}

bool ShowSampleTree() {
    HostedList hosted(320, 90);
    if (!hosted.ok) return false;
    _PropertyList& list = *hosted.list.get();
    Add(list, L"Appearance", L"", ZoPropPropertyHeader);
    Add(list, L"Caption", L"Hello", ZoPropStringValue);
    Add(list, L"Visible", L"true", ZoPropBoolValue);
    Add(list, L"BackColor", L"&H8000000F", ZoPropOleColor);
    Add(list, L"ForeColor", L"255", ZoPropOleColor);
    Add(list, L"Width", L"1200", ZoPropNumericValue, true);
    Add(list, L"Picture", L"(None)", ZoPropBrowseButton);
    Add(list, L"Align", L"Left", ZoPropCustomValue);
    list.put_Selected(1);
    ::SetFocus(hosted.container.ControlHwnd());
    hosted.container.Pump();
    com_ptr<IAccessible> object = AccessibleOf(hosted.container.ControlHwnd());
    if (!object) return false;
    std::printf("the accessible tree of a sample list (row 1 selected, the list 90 pixels high):\n");
    PrintTree(*object.get());
    return true;
}

struct GetObjectCost {
    double message = -1;      // WM_GETOBJECT alone: the list marshals its object
    double unmarshal = -1;    // ObjectFromLresult: the client takes it
    double wholeCall = -1;    // AccessibleObjectFromWindow: both
    double plainWindow = -1;  // AccessibleObjectFromWindow on a window with the system's object
};

// Microseconds of a client's request for the object of a list of `rows` rows.
GetObjectCost MeasureGetObject(int rows) {
    GetObjectCost cost;
    HostedList hosted(640, 240);
    if (!hosted.ok) return cost;
    AddRows(*hosted.list.get(), rows);
    hosted.container.Pump();
    HWND window = hosted.container.ControlHwnd();
    (void)AccessibleOf(window);
    cost.wholeCall = 1000.0 * MedianMs(kRuns, [&](int) { (void)AccessibleOf(window); });
    cost.plainWindow = 1000.0 * MedianMs(kRuns, [&](int) { (void)AccessibleOf(hosted.container.FrameHwnd()); });
    std::vector<double> sends, takes;
    for (int i = 0; i < kRuns; ++i) {
        LRESULT answer = 0;
        sends.push_back(ElapsedMs([&] { answer = ::SendMessageW(window, WM_GETOBJECT, 0, OBJID_CLIENT); }));
        com_ptr<IAccessible> object;
        takes.push_back(ElapsedMs(
            [&] { (void)::ObjectFromLresult(answer, __uuidof(IAccessible), 0, object.put_void()); }));
    }
    cost.message = 1000.0 * zo::bench::Median(sends);
    cost.unmarshal = 1000.0 * zo::bench::Median(takes);
    return cost;
}

void PrintGetObjectCost(const char* what, const GetObjectCost& cost) {
    std::printf("%s: WM_GETOBJECT %.1f us, ObjectFromLresult %.1f us, AccessibleObjectFromWindow %.1f us "
                "(the system's object of a plain window: %.1f us); medians of %d\n",
                what, cost.message, cost.unmarshal, cost.wholeCall, cost.plainWindow, kRuns);
}

bool EnumerateRows(int rows) {
    HostedList hosted(640, 240);
    if (!hosted.ok) return false;
    AddRows(*hosted.list.get(), rows);
    hosted.container.Pump();
    com_ptr<IAccessible> object = AccessibleOf(hosted.container.ControlHwnd());
    if (!object) return false;
    long count = 0;
    size_t characters = 0;
    const double ms = ElapsedMs([&] {
        count = zo::test::AccChildCount(*object.get());
        for (long id = 1; id <= count; ++id) {
            characters += zo::test::AccName(*object.get(), id).size();
            characters += zo::test::AccValue(*object.get(), id).size();
        }
    });
    std::printf("names and values of %ld rows through the accessible object: %.1f ms (%.2f us per row, %zu "
                "characters)\n",
                count, ms, 1000.0 * ms / static_cast<double>(count), characters);
    const double statesMs = ElapsedMs([&] {
        for (long id = 1; id <= count; ++id) (void)zo::test::AccState(*object.get(), id);
    });
    std::printf("states of %ld rows: %.1f ms (%.2f us per row)\n", count, statesMs,
                1000.0 * statesMs / static_cast<double>(count));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!zo::bench::OptimisedBuild()) return 2;
    const int manyRows = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int status = 0;
    {
        if (!ShowSampleTree()) {
            std::printf("could not host the control (is ZoPropList.ocx registered?)\n");
            status = 1;
        } else {
            PrintGetObjectCost("20 rows", MeasureGetObject(20));
            PrintGetObjectCost((std::to_string(manyRows) + " rows").c_str(), MeasureGetObject(manyRows));
            if (!EnumerateRows(manyRows)) status = 1;
        }
    }
    ::OleUninitialize();
    return status;
}
