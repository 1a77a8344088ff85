// What a screen reader sees of a PropertyList, and what it costs:
//  - the accessible tree of a sample list (name, role, value and state of
//    each row), read through oleacc as a client reads it;
//  - one WM_GETOBJECT (AccessibleObjectFromWindow: the request, the
//    marshalled answer and its unmarshalling) on a list of 20 rows and on a
//    list of 100,000 rows (rows are not objects: the cost must not grow);
//  - reading the name and value of every one of the 100,000 rows.
// Medians of many runs. Not a test, asserts nothing.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

void Add(zo::_PropertyList& list, const wchar_t* name, const wchar_t* value, ItemTypes kind, bool readOnly = false) {
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
    HostedList hosted(320, 120);
    if (!hosted.ok) return false;
    zo::_PropertyList& list = *hosted.list.get();
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
    std::printf("the accessible tree of a sample list (row 1 selected; the list is 120 pixels high):\n");
    PrintTree(*object.get());
    return true;
}

// Microseconds of one AccessibleObjectFromWindow on a list of `rows` rows.
double GetObjectMicroseconds(int rows) {
    HostedList hosted(640, 240);
    if (!hosted.ok) return -1;
    AddRows(*hosted.list.get(), rows);
    hosted.container.Pump();
    HWND window = hosted.container.ControlHwnd();
    return 1000.0 * MedianMs(kRuns, [&](int) { (void)AccessibleOf(window); });
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
            const double few = GetObjectMicroseconds(20);
            const double many = GetObjectMicroseconds(manyRows);
            std::printf("WM_GETOBJECT (AccessibleObjectFromWindow), 20 rows: %.1f us (median of %d)\n", few, kRuns);
            std::printf("WM_GETOBJECT (AccessibleObjectFromWindow), %d rows: %.1f us (median of %d)\n", manyRows,
                        many, kRuns);
            if (!EnumerateRows(manyRows)) status = 1;
        }
    }
    ::OleUninitialize();
    return status;
}
