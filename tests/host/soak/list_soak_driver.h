// The parts of the PropertyList soak that its files share: the driver
// class, the misdeeds its handlers commit, and the small helpers of its
// journal and its mouse input. Internal to the soak.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ZoPropertyList.h"
#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/control_site.h"
#include "tests/host/event_sink.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/soak/list_model.h"
#include "tests/host/soak/soak_journal.h"
#include "tests/host/soak/soak_random.h"

namespace zo::test::list_soak {

inline constexpr wchar_t kProgId[] = L"ZoPropertyList.PropertyList";
inline constexpr int32_t kManyRows = 40;

namespace event {
inline constexpr DISPID ValueChanged = 1, Browse = 2, NeedData = 3, Click = 4, DblClick = 5, KeyDown = 6, KeyPress = 7,
                        MouseDown = 9, Resize = 12, SelChange = 13, Scroll = 14, KeyPressEdit = 15;
}

// What a handler does wrong on purpose, once, the first time its event comes.
enum class Misdeed { ClearList, RemoveRow, InsertRow, SetSelected, ToggleHoldDraw, RaiseError, Release };

[[nodiscard]] const char* NameOf(Misdeed misdeed);
// A text for the journal: quoted, long ones cut short with their length.
[[nodiscard]] std::string Text(std::wstring_view text);
[[nodiscard]] unique_bstr Bstr(const std::wstring& text);
// The text of a BSTR the caller owns, which is freed.
[[nodiscard]] std::wstring Take(BSTR text);
// The text of a held BSTR, without copying it.
[[nodiscard]] std::wstring_view ViewOf(const unique_bstr& text);

struct WindowList {
    std::vector<HWND> windows;
    static BOOL CALLBACK Collect(HWND window, LPARAM list) {
        if (::IsWindowVisible(window)) reinterpret_cast<WindowList*>(list)->windows.push_back(window);
        return TRUE;
    }
};

// A screen point inside `window`, now and then just outside its edge.
[[nodiscard]] POINT PointIn(HWND window, SoakRandom& random);
// The class of the window a press at `screen` goes to, for the journal.
[[nodiscard]] std::string ClassAt(POINT screen);
// Mouse input routed as the system routes it; a press on a scroll bar
// becomes the notice the bar would send.
void MouseAt(UINT message, WPARAM keys, POINT screen, SoakRandom& random);

class ListSoak {
public:
    ListSoak(const SoakOptions& options, SoakReport& report)
        : m_options(options), m_report(report), m_random(options.seed), m_journal("list", options) {}

    void Run();

private:
    // Hosting.
    bool Host();
    void Unhost();

    // One step and its checks.
    void Step(int64_t step);
    void ApiStep();
    void InputStep();
    void ArmMisdeed();
    void Compare();
    void Mismatch(const std::string& what);
    [[nodiscard]] bool Failed() const noexcept { return m_report.mismatchCount > 0; }

    // The interface, keeping the model in step. Handlers use them too.
    void Add(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t type, int32_t index);
    void Remove(int32_t index);
    void Clear();
    void Select(int32_t index);
    void SetHoldDraw(bool hold);
    void SetName(int32_t index, const std::wstring& name);
    void SetValue(int32_t index, const std::wstring& value);
    void SetType(int32_t index, int32_t type);
    void SetReadOnly(int32_t index, bool readOnly);
    void SetItemData(int32_t index, int32_t data);
    void ReadAt(int32_t index);
    void CheckHr(HRESULT hr, const char* member);

    // Events.
    void OnEvent(DISPID dispid, EventArgs& args);
    void Misbehave(Misdeed misdeed, EventArgs& args);

    // Random arguments.
    [[nodiscard]] int32_t AnyIndex();
    [[nodiscard]] int32_t RowIndex() { return m_model.Count() ? m_random.Between(0, m_model.Count() - 1) : 0; }
    [[nodiscard]] int32_t AnyType();
    [[nodiscard]] std::wstring AnyText();
    [[nodiscard]] HWND TextBox() const { return ::FindWindowExW(m_window, nullptr, L"Edit", nullptr); }
    [[nodiscard]] std::wstring TextBoxText() const;
    void AllowWrite(uint64_t id, int32_t type, const std::wstring& value);

    SoakOptions m_options;
    SoakReport& m_report;
    SoakRandom m_random;
    SoakJournal m_journal;
    ListModel m_model;

    std::unique_ptr<TestContainer> m_container;
    com_ptr<_PropertyList> m_list;
    com_ptr<IDispatch> m_dispatch;
    std::unique_ptr<EventRecorder> m_events;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    HWND m_window = nullptr;

    // The current step.
    bool m_apiStep = false;
    bool m_handlerActed = false;
    bool m_released = false;
    size_t m_expectedBoxes = 0;
    std::optional<std::pair<DISPID, Misdeed>> m_armed;
    struct AllowedWrite {
        uint64_t id;
        std::vector<std::wstring> values;
    };
    std::vector<AllowedWrite> m_allowed;
};

}  // namespace zo::test::list_soak
