#include "tests/host/soak/list_soak.h"

#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ZoPropertyList.h"
#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/message_pump.h"
#include "tests/host/soak/list_model.h"
#include "tests/host/soak/modal_guard.h"
#include "tests/host/soak/soak_random.h"
#include "tests/host/variant.h"

namespace zo::test {

namespace {

constexpr wchar_t kProgId[] = L"ZoPropertyList.PropertyList";
constexpr int32_t kManyRows = 40;

namespace event {
constexpr DISPID ValueChanged = 1, Browse = 2, NeedData = 3, Click = 4, DblClick = 5, KeyDown = 6, KeyPress = 7,
                 MouseDown = 9, Resize = 12, SelChange = 13, Scroll = 14, KeyPressEdit = 15;
}

// What a handler does wrong on purpose, once, the first time its event comes.
enum class Misdeed { ClearList, RemoveRow, InsertRow, SetSelected, ToggleHoldDraw, RaiseError, Release };

const char* NameOf(Misdeed misdeed) {
    switch (misdeed) {
    case Misdeed::ClearList: return "clears the list";
    case Misdeed::RemoveRow: return "removes a row";
    case Misdeed::InsertRow: return "inserts a row";
    case Misdeed::SetSelected: return "sets Selected";
    case Misdeed::ToggleHoldDraw: return "changes HoldDraw";
    case Misdeed::RaiseError: return "raises an error";
    case Misdeed::Release: return "releases the control";
    }
    return "?";
}

std::string Text(std::wstring_view text) {
    std::string shown = Narrow(text.substr(0, 24));
    if (text.size() > 24) shown += "...(" + std::to_string(text.size()) + " chars)";
    return "\"" + shown + "\"";
}

unique_bstr Bstr(const std::wstring& text) {
    return unique_bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring Take(BSTR text) {
    std::wstring taken = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return taken;
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

CanUnloadNow DllCanUnloadNowOf() {
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    return library ? reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(library, "DllCanUnloadNow")))
                   : nullptr;
}

struct WindowList {
    std::vector<HWND> windows;
    static BOOL CALLBACK Collect(HWND window, LPARAM list) {
        if (::IsWindowVisible(window)) reinterpret_cast<WindowList*>(list)->windows.push_back(window);
        return TRUE;
    }
};

// A screen point inside `window`, now and then just outside its edge.
POINT PointIn(HWND window, SoakRandom& random) {
    RECT area{};
    ::GetWindowRect(window, &area);
    const int slack = random.Percent(10) ? 4 : 0;
    return POINT{random.Between(area.left - slack, std::max(area.left, area.right - 1) + slack),
                 random.Between(area.top - slack, std::max(area.top, area.bottom - 1) + slack)};
}

bool IsScrollBar(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return ::lstrcmpiW(name, L"ScrollBar") == 0;
}

// What a scroll bar tells its parent when it is pressed somewhere.
void ScrollBarNotice(HWND bar, SoakRandom& random) {
    const WORD code = random.Pick<WORD>({SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK,
                                         SB_THUMBPOSITION, SB_TOP, SB_BOTTOM});
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    ::GetScrollInfo(bar, SB_CTL, &info);
    const WORD position = static_cast<WORD>(random.Between(0, std::max(0, info.nMax) + 2));
    HWND parent = ::GetParent(bar);
    ::SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
    if (::IsWindow(bar)) ::SendMessageW(parent, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
}

// The class of the window a press at `screen` goes to, for the journal.
std::string ClassAt(POINT screen) {
    HWND target = ::GetCapture();
    if (!target) target = ::WindowFromPoint(screen);
    wchar_t name[32] = L"nothing";
    if (target) ::GetClassNameW(target, name, 32);
    return Narrow(name);
}

// Mouse input routed as the system routes it, to the window holding the
// capture or else the one under the point, except that a press on a scroll
// bar becomes the notice the bar would send: the bar's own tracking loop
// waits for real input that a soak never gives.
void MouseAt(UINT message, WPARAM keys, POINT screen, SoakRandom& random) {
    HWND target = ::GetCapture();
    if (!target) target = ::WindowFromPoint(screen);
    if (!target || ::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId()) return;
    if (IsScrollBar(target)) {
        if (message == WM_LBUTTONDOWN) ScrollBarNotice(target, random);
        return;
    }
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::SendMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    PumpMessages();
}

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

void ListSoak::Run() {
    const HRESULT ole = ::OleInitialize(nullptr);
    {
        ModalGuard guard;
        // One control hosted and closed first, so that what the library makes
        // once per process is not counted as left behind.
        if (Host()) Unhost();
        m_report.before = TakeLiveCounts();
        m_report.hostings = 0;
        const auto start = std::chrono::steady_clock::now();
        if (Host()) {
            for (int64_t step = 0; step < m_options.steps && !Failed(); ++step) {
                Step(step);
                m_report.stepsRun = step + 1;
            }
            if (m_container) Unhost();
        }
        m_report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        PumpMessages();
        m_report.after = TakeLiveCounts();
    }
    if (SUCCEEDED(ole)) ::OleUninitialize();
}

bool ListSoak::Host() {
    m_container = std::make_unique<TestContainer>(SIZE{360, 280});
    HostOptions options;
    options.position = RECT{10, 10, 330, 250};
    const HostResult hosted = m_container->Host(kProgId, options);
    m_list = m_container->Query<_PropertyList>();
    m_dispatch = m_container->Dispatch();
    m_window = m_container->ControlHwnd();
    if (!hosted.ok() || !m_list || !m_dispatch || !m_window) {
        Mismatch("could not host the control: " + hosted.Describe());
        return false;
    }
    m_events = std::make_unique<EventRecorder>();
    if (FAILED(m_events->Connect(m_container->Control()))) {
        Mismatch("could not connect to the control's events");
        return false;
    }
    for (DISPID dispid : {event::ValueChanged, event::Browse, event::NeedData, event::Click, event::DblClick,
                          event::KeyDown, event::KeyPress, event::MouseDown, event::Resize, event::SelChange,
                          event::Scroll, event::KeyPressEdit})
        m_events->On(dispid, [this, dispid](EventArgs& args) { OnEvent(dispid, args); });
    m_boxes = std::make_unique<MessageBoxRecorder>(IDOK);
    m_model = ListModel{};
    ++m_report.hostings;
    return true;
}

void ListSoak::Unhost() {
    m_list.reset();
    m_dispatch.reset();
    m_boxes.reset();
    m_events.reset();
    if (!m_released) {
        m_container->Close();
        m_report.refsLeft = std::max(m_report.refsLeft, m_container->ControlRefsAfterClose());
    }
    m_container.reset();
    m_window = nullptr;
    PumpMessages();
    // Every object of the library must be gone with its container, also
    // one released inside its own event.
    if (auto canUnload = DllCanUnloadNowOf(); canUnload && canUnload() != S_OK)
        Mismatch("objects of the library are still alive after their container closed");
}

void ListSoak::Mismatch(const std::string& what) {
    ++m_report.mismatchCount;
    if (m_report.mismatches.size() < 5) m_report.mismatches.push_back(what + "\n" + m_journal.Replay());
}

void ListSoak::Step(int64_t step) {
    m_journal.Begin(step, "");
    m_handlerActed = false;
    m_released = false;
    m_expectedBoxes = 0;
    m_allowed.clear();
    m_armed.reset();
    if (m_random.Percent(25)) ArmMisdeed();
    if (m_boxes) m_boxes->Clear();
    if (m_events) m_events->Clear();

    // The text box may commit into the selected row without an event.
    const int16_t selected = [&] {
        short index = -1;
        m_list->get_Selected(&index);
        return index;
    }();
    const std::wstring textBefore = TextBoxText();

    m_apiStep = m_random.Percent(50);
    if (m_apiStep)
        ApiStep();
    else
        InputStep();
    if (m_container && !m_released) m_container->Pump();

    // Every step when asked (ZO_SOAK_HEAP_CHECK), else now and then and after
    // a control was released inside its own event.
    static const bool checkEveryStep = std::getenv("ZO_SOAK_HEAP_CHECK") != nullptr;
    if ((checkEveryStep || m_released || step % 64 == 0) && !HeapsAreSound())
        Mismatch("the process heap is damaged after this step");
    if (m_released) {
        Unhost();
        if (!Failed()) Host();
        return;
    }
    if (selected >= 0 && selected < m_model.Count()) {
        const ModelRow& row = m_model.Row(selected);
        AllowWrite(row.id, row.type, textBefore);
        AllowWrite(row.id, row.type, TextBoxText());
    }
    Compare();
}

void ListSoak::AllowWrite(uint64_t id, int32_t type, const std::wstring& value) {
    m_allowed.push_back({id, {value, m_model.ValueToStore(type, value)}});
}

std::wstring ListSoak::TextBoxText() const {
    HWND box = TextBox();
    if (!box) return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ListSoak::ArmMisdeed() {
    const DISPID dispid = m_random.Pick({event::ValueChanged, event::SelChange, event::NeedData, event::Browse,
                                         event::Scroll, event::Resize, event::KeyDown, event::Click});
    const Misdeed misdeed = m_random.Percent(3)
                                ? Misdeed::Release
                                : m_random.Pick({Misdeed::ClearList, Misdeed::RemoveRow, Misdeed::InsertRow,
                                                 Misdeed::SetSelected, Misdeed::ToggleHoldDraw, Misdeed::RaiseError});
    m_armed = std::make_pair(dispid, misdeed);
}

int32_t ListSoak::AnyIndex() {
    const int32_t count = m_model.Count();
    if (m_random.Percent(80)) return RowIndex();
    return m_random.Pick<int32_t>({-32768, -2, -1, count, count + 1, 32767});
}

int32_t ListSoak::AnyType() {
    if (m_random.Percent(92)) return m_random.Between(0, 7);
    return m_random.Pick<int32_t>({-1, 8, 1000, INT32_MIN, INT32_MAX});
}

std::wstring ListSoak::AnyText() {
    if (m_random.Below(4000) == 0) {
        // A megabyte of text with characters outside the BMP in it.
        std::wstring huge(1 << 20, L'x');
        huge.replace(100, 2, L"\U0001F600");
        return huge;
    }
    static const wchar_t* const kTexts[] = {
        L"",       L"A",         L"Name",   L"True",        L"true",      L"FALSE", L"Yes",
        L"12",     L"&H8000000F", L"&HFF",  L"12abc",       L"-5",        L"3.5",   L"\U0001F600 smile",
        L"\xD800", L"tab\there", L"a&b",    L"line\r\nnext", L"&&H1",     L"0",     L"Browse...",
    };
    if (m_random.Percent(70)) return kTexts[m_random.Below(std::size(kTexts))];
    std::wstring text;
    const int length = m_random.Between(1, 30);
    for (int i = 0; i < length; ++i) text += static_cast<wchar_t>(m_random.Between(0x20, 0x7E));
    return text;
}

void ListSoak::CheckHr(HRESULT hr, const char* member) {
    if (FAILED(hr) && !m_released)
        Mismatch(std::string(member) + " failed with " + HResultText(hr) + " where it should succeed");
}

void ListSoak::Add(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t type,
                   int32_t index) {
    if (!m_list) return;
    m_journal.Note("Add(" + Text(name) + ", " + Text(content) + ", " + std::to_string(readOnly) + ", " +
                   std::to_string(type) + ", " + std::to_string(index) + ")");
    if (!m_model.Add(name, content, readOnly, type, index)) ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Add(Bstr(name).get(), Bstr(content).get(), readOnly ? VARIANT_TRUE : VARIANT_FALSE,
                      static_cast<ItemTypes>(type), static_cast<short>(index)),
            "Add");
}

void ListSoak::Remove(int32_t index) {
    if (!m_list) return;
    m_journal.Note("Remove(" + std::to_string(index) + ")");
    m_model.Remove(index);
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Remove(static_cast<short>(index)), "Remove");
}

void ListSoak::Clear() {
    if (!m_list) return;
    m_journal.Note("Clear");
    m_model.Clear();
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Clear(), "Clear");
}

void ListSoak::Select(int32_t index) {
    if (!m_list) return;
    m_journal.Note("Selected = " + std::to_string(index));
    m_model.Select(index);
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Selected(static_cast<short>(index)), "Selected");
}

void ListSoak::SetHoldDraw(bool hold) {
    if (!m_list) return;
    m_journal.Note("HoldDraw = " + std::to_string(hold));
    m_model.holdDraw = hold;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_HoldDraw(hold ? VARIANT_TRUE : VARIANT_FALSE), "HoldDraw");
}

void ListSoak::SetName(int32_t index, const std::wstring& name) {
    if (!m_list) return;
    m_journal.Note("Item(" + std::to_string(index) + ") = " + Text(name));
    if (ModelRow* row = m_model.Record(index))
        row->name = name;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Item(static_cast<short>(index), Bstr(name).get()), "Item");
}

void ListSoak::SetValue(int32_t index, const std::wstring& value) {
    if (!m_list) return;
    m_journal.Note("Value(" + std::to_string(index) + ") = " + Text(value));
    if (ModelRow* row = m_model.Record(index)) {
        // An owner-drawn row asks the host first, which may change the list.
        if (row->type == 6)
            AllowWrite(row->id, row->type, value);
        else
            row->value = m_model.ValueToStore(row->type, value);
    } else {
        ++m_expectedBoxes;
    }
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Value(static_cast<short>(index), Bstr(value).get()), "Value");
}

void ListSoak::SetType(int32_t index, int32_t type) {
    if (!m_list) return;
    m_journal.Note("ItemType(" + std::to_string(index) + ") = " + std::to_string(type));
    if (ModelRow* row = m_model.Record(index))
        row->type = type;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    short at = static_cast<short>(index);
    CheckHr(list->put_ItemType(&at, static_cast<ItemTypes>(type)), "ItemType");
}

void ListSoak::SetReadOnly(int32_t index, bool readOnly) {
    if (!m_list) return;
    m_journal.Note("ReadOnly(" + std::to_string(index) + ") = " + std::to_string(readOnly));
    if (ModelRow* row = m_model.Record(index))
        row->readOnly = readOnly;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_ReadOnly(static_cast<short>(index), readOnly ? VARIANT_TRUE : VARIANT_FALSE), "ReadOnly");
}

void ListSoak::SetItemData(int32_t index, int32_t data) {
    if (!m_list) return;
    m_journal.Note("ItemData(" + std::to_string(index) + ") = " + std::to_string(data));
    if (ModelRow* row = m_model.Record(index))
        row->itemData = data;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    short at = static_cast<short>(index);
    Variant value(data);
    CheckHr(list->put_ItemData(&at, value.get()), "ItemData");
}

// Reads every per-row member at `index`: the model's record, or a message
// box and empty answers where there is none.
void ListSoak::ReadAt(int32_t index) {
    m_journal.Note("read row " + std::to_string(index));
    const ModelRow* row = m_model.Record(index);
    const short at = static_cast<short>(index);
    BSTR name = nullptr, value = nullptr;
    ItemTypes type{};
    VARIANT_BOOL readOnly = VARIANT_FALSE;
    Variant data;
    short byRef = at;
    CheckHr(m_list->get_Item(at, &name), "Item");
    CheckHr(m_list->get_Value(at, &value), "Value");
    CheckHr(m_list->get_ItemType(&byRef, &type), "ItemType");
    CheckHr(m_list->get_ReadOnly(at, &readOnly), "ReadOnly");
    byRef = at;
    CheckHr(m_list->get_ItemData(&byRef, data.put()), "ItemData");
    const std::wstring nameRead = Take(name), valueRead = Take(value);
    if (!row) {
        m_expectedBoxes += 5;
        if (!nameRead.empty() || !valueRead.empty() || type != 0 || readOnly || !data.IsEmpty())
            Mismatch("reading row " + std::to_string(index) + ", which does not exist, gave values");
        return;
    }
    const bool same = nameRead == row->name && type == row->type && (readOnly != VARIANT_FALSE) == row->readOnly &&
                      (row->itemData ? data == Variant(*row->itemData) : data.IsEmpty());
    // The value may be the one the text box holds for the selected row.
    if (!same) Mismatch("row " + std::to_string(index) + " reads differently from the model");
}

void ListSoak::ApiStep() {
    if (m_model.Count() < 3 && m_random.Percent(60)) {
        Add(AnyText(), AnyText(), m_random.Percent(15), AnyType(), m_random.Percent(70) ? -1 : AnyIndex());
        return;
    }
    const com_ptr<_PropertyList> list = m_list;
    const uint32_t roll = m_random.Below(100);
    if (roll < 16) {
        if (m_model.Count() < kManyRows)
            Add(AnyText(), AnyText(), m_random.Percent(15), AnyType(), m_random.Percent(50) ? -1 : AnyIndex());
        else
            Remove(AnyIndex());
    } else if (roll < 23) {
        Remove(AnyIndex());
    } else if (roll < 24) {
        Clear();
    } else if (roll < 28) {
        SetName(AnyIndex(), AnyText());
    } else if (roll < 37) {
        SetValue(AnyIndex(), AnyText());
    } else if (roll < 42) {
        SetType(AnyIndex(), AnyType());
    } else if (roll < 45) {
        SetReadOnly(AnyIndex(), m_random.Percent(50));
    } else if (roll < 48) {
        SetItemData(AnyIndex(), static_cast<int32_t>(m_random.Next()));
    } else if (roll < 53) {
        ReadAt(AnyIndex());
    } else if (roll < 61) {
        Select(m_random.Percent(85) ? m_random.Between(-1, m_model.Count() - 1) : AnyIndex());
    } else if (roll < 65) {
        const int32_t top = m_random.Percent(80) ? RowIndex() : m_random.Pick<int32_t>({-32768, -1, 32767});
        m_journal.Note("TopIndex = " + std::to_string(top));
        CheckHr(list->put_TopIndex(static_cast<short>(top)), "TopIndex");
    } else if (roll < 68) {
        SetHoldDraw(!m_model.holdDraw);
    } else if (roll < 71) {
        const std::wstring text = m_random.Pick<const wchar_t*>({L"True", L"False", L"Yes", L"No", L"", L"\U0001F600"});
        const bool isTrue = m_random.Percent(50);
        m_journal.Note(std::string(isTrue ? "TextTrue" : "TextFalse") + " = " + Text(text));
        (isTrue ? m_model.textTrue : m_model.textFalse) = text;
        CheckHr(isTrue ? list->put_TextTrue(Bstr(text).get()) : list->put_TextFalse(Bstr(text).get()), "TextTrue/False");
    } else if (roll < 73) {
        const bool allow = m_random.Percent(70);
        m_journal.Note("AllowEdit = " + std::to_string(allow));
        CheckHr(list->put_AllowEdit(allow ? VARIANT_TRUE : VARIANT_FALSE), "AllowEdit");
    } else if (roll < 78) {
        VARIANT_BOOL notify = m_random.Percent(50) ? VARIANT_TRUE : VARIANT_FALSE;
        const bool omitted = m_random.Percent(30);
        m_journal.Note("CommitPending(" + std::string(omitted ? "" : notify ? "True" : "False") + ")");
        CheckHr(list->CommitPending(omitted ? nullptr : &notify), "CommitPending");
    } else if (roll < 80) {
        m_journal.Note("HideControls");
        CheckHr(list->HideControls(), "HideControls");
    } else if (roll < 81) {
        m_journal.Note("LongestItem = 5");
        if (SUCCEEDED(list->put_LongestItem(5))) Mismatch("setting LongestItem succeeded");
    } else if (roll < 83) {
        // Arguments a script host may pass that cannot become an Integer.
        m_journal.Note("Remove and Add with arguments of the wrong type");
        if (Call(m_dispatch.get(), L"Remove", {Variant(70000L)}).ok()) Mismatch("Remove(70000) succeeded");
        if (Call(m_dispatch.get(), L"Add", {Variant(L"x"), Variant(L""), Variant(false), Variant(0L), Variant(L"abc")})
                .ok())
            Mismatch("Add with Index \"abc\" succeeded");
    } else {
        // Many rows at once, held or not.
        const int rows = m_random.Between(1, 12);
        const bool hold = m_random.Percent(50);
        if (hold) SetHoldDraw(true);
        for (int i = 0; i < rows && m_list && m_model.Count() < kManyRows * 2; ++i)
            Add(L"Row " + std::to_wstring(i), AnyText(), m_random.Percent(15), AnyType(), -1);
        if (hold) SetHoldDraw(false);
    }
}

void ListSoak::InputStep() {
    const uint32_t roll = m_random.Below(100);
    HWND frame = m_container->FrameHwnd();
    const WPARAM button = m_random.Percent(85) ? MK_LBUTTON : MK_RBUTTON;
    const UINT down = button == MK_LBUTTON ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    const UINT up = button == MK_LBUTTON ? WM_LBUTTONUP : WM_RBUTTONUP;
    auto press = [&](HWND target, bool twice) {
        const POINT at = PointIn(target, m_random);
        m_journal.Note(std::string(twice ? "double-click" : "press") + " at " + std::to_string(at.x) + "," +
                       std::to_string(at.y) + " on " + ClassAt(at));
        MouseAt(down, button, at, m_random);
        MouseAt(up, 0, at, m_random);
        if (twice) {
            MouseAt(button == MK_LBUTTON ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK, button, at, m_random);
            MouseAt(up, 0, at, m_random);
        }
    };
    if (roll < 20) {
        press(m_window, false);
    } else if (roll < 28) {
        press(m_window, true);
    } else if (roll < 32) {
        const int notches = m_random.Pick({-3, -1, 1, 2});
        const POINT at = PointIn(m_window, m_random);
        m_journal.Note("wheel " + std::to_string(notches));
        ::SendMessageW(m_window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(at.x, at.y));
    } else if (roll < 45) {
        // An editor, the "..." button, the colour arrow or the scroll bar.
        WindowList children;
        ::EnumChildWindows(m_window, &WindowList::Collect, reinterpret_cast<LPARAM>(&children));
        if (children.windows.empty()) return press(m_window, false);
        HWND child = children.windows[m_random.Below(static_cast<uint32_t>(children.windows.size()))];
        if (m_random.Percent(15)) {
            const POINT from = PointIn(child, m_random), to = PointIn(child, m_random);
            m_journal.Note("drag in a child");
            MouseAt(WM_LBUTTONDOWN, MK_LBUTTON, from, m_random);
            MouseAt(WM_MOUSEMOVE, MK_LBUTTON, to, m_random);
            MouseAt(WM_LBUTTONUP, 0, to, m_random);
        } else {
            press(child, m_random.Percent(10));
        }
    } else if (roll < 52) {
        // A popup (the colour form, a drop-down list), or the frame outside it.
        WindowList popups;
        ::EnumThreadWindows(::GetCurrentThreadId(), &WindowList::Collect, reinterpret_cast<LPARAM>(&popups));
        std::erase(popups.windows, frame);
        press(popups.windows.empty() || m_random.Percent(20)
                  ? frame
                  : popups.windows[m_random.Below(static_cast<uint32_t>(popups.windows.size()))],
              false);
    } else if (roll < 80) {
        static const WPARAM kKeys[] = {VK_UP,   VK_DOWN,   VK_TAB, VK_RETURN, VK_ESCAPE, VK_F4,  VK_HOME,
                                       VK_END,  VK_PRIOR,  VK_NEXT, VK_SPACE, VK_LEFT,   VK_RIGHT, VK_DELETE,
                                       'A',     'T',       'F',     '1',      VK_BACK};
        const WPARAM key = kKeys[m_random.Below(std::size(kKeys))];
        HWND focus = ::GetFocus();
        HWND target = focus && (focus == m_window || ::IsChild(m_window, focus)) ? focus : m_window;
        if (m_random.Percent(10)) target = m_window;
        m_journal.Note("key " + std::to_string(key));
        if (m_random.Percent(50)) {
            ::PostMessageW(target, WM_KEYDOWN, key, 1);
            ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        } else {
            ::SendMessageW(target, WM_KEYDOWN, key, 1);
            ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_KEYUP, key, 0xC0000001);
        }
    } else if (roll < 94) {
        static const wchar_t kChars[] = L"aZ09.,-+ &\x8\xD\x1B\x3\x16\xE9";
        HWND focus = ::GetFocus();
        HWND target = focus && (focus == m_window || ::IsChild(m_window, focus)) ? focus : m_window;
        if (m_random.Percent(5)) {
            m_journal.Note("type a character outside the BMP");
            ::SendMessageW(target, WM_CHAR, 0xD83D, 1);
            ::SendMessageW(target, WM_CHAR, 0xDE00, 1);
        } else {
            const wchar_t typed = kChars[m_random.Below(std::size(kChars) - 1)];
            m_journal.Note("type " + std::to_string(typed));
            ::SendMessageW(target, WM_CHAR, typed, 1);
        }
    } else {
        const bool onList = m_random.Percent(60);
        m_journal.Note(onList ? "focus the list" : "focus the frame");
        ::SetFocus(onList ? m_window : frame);
    }
}

void ListSoak::OnEvent(DISPID dispid, EventArgs& args) {
    if (dispid == event::ValueChanged) {
        const std::wstring name = args.Value(0).ToString(), value = args.Value(2).ToString();
        const int32_t index = args.Value(1).ToLong();
        m_journal.Note("ValueChanged(" + std::to_string(index) + ", " + Text(value) + ")");
        if (index < 0 || index >= m_model.Count() || m_model.Row(index).name != name) {
            Mismatch("ValueChanged names row " + std::to_string(index) + " " + Text(name) +
                     ", which is not that row of the list");
        } else {
            const ModelRow& row = m_model.Row(index);
            AllowWrite(row.id, row.type, value);
        }
        if (m_random.Percent(15)) args.SetBool(3, true);
    } else if (dispid == event::NeedData) {
        std::vector<std::wstring> entries;
        const int count = m_random.Between(0, 6);
        for (int i = 0; i < count; ++i) entries.push_back(AnyText());
        if (m_random.Percent(90)) args.SetStringArray(1, entries);
    } else if (dispid == event::Browse) {
        if (m_random.Percent(80)) args.SetString(2, AnyText());
    } else if (dispid == event::SelChange) {
        const int32_t chosen = args.Value(1).ToLong();
        if (chosen < -1 || chosen >= m_model.Count())
            Mismatch("SelChange chose row " + std::to_string(chosen) + " of a list of " +
                     std::to_string(m_model.Count()));
    } else if (dispid == event::KeyPressEdit) {
        if (m_random.Percent(10)) args.SetShort(0, 0);
    }
    if (m_armed && m_armed->first == dispid) {
        const Misdeed misdeed = m_armed->second;
        m_armed.reset();
        Misbehave(misdeed, args);
    }
}

void ListSoak::Misbehave(Misdeed misdeed, EventArgs& args) {
    m_journal.Note(std::string("the handler ") + NameOf(misdeed));
    m_handlerActed = true;
    ++m_report.misdeeds;
    switch (misdeed) {
    case Misdeed::ClearList: Clear(); break;
    case Misdeed::RemoveRow: Remove(RowIndex()); break;
    case Misdeed::InsertRow: Add(AnyText(), AnyText(), false, AnyType(), AnyIndex()); break;
    case Misdeed::SetSelected: Select(m_random.Between(-1, m_model.Count() - 1)); break;
    case Misdeed::ToggleHoldDraw: SetHoldDraw(!m_model.holdDraw); break;
    case Misdeed::RaiseError:
        args.result = m_random.Pick<HRESULT>({E_FAIL, DISP_E_EXCEPTION, static_cast<HRESULT>(0x800A0009)});
        break;
    case Misdeed::Release:
        // Everything the host holds goes, inside the event.
        if (!m_container) break;
        m_released = true;
        ++m_report.releases;
        (void)m_events->Disconnect();
        m_list.reset();
        m_dispatch.reset();
        m_container->Close();
        break;
    }
}

void ListSoak::Compare() {
    short count = -1;
    CheckHr(m_list->get_ListCount(&count), "ListCount");
    if (count != m_model.Count()) {
        return Mismatch("the list has " + std::to_string(count) + " rows, the model " +
                        std::to_string(m_model.Count()));
    }
    for (int32_t i = 0; i < count; ++i) {
        ModelRow& row = m_model.Row(i);
        BSTR name = nullptr, value = nullptr;
        ItemTypes type{};
        VARIANT_BOOL readOnly = VARIANT_FALSE;
        Variant data;
        short at = static_cast<short>(i);
        m_list->get_Item(at, &name);
        m_list->get_Value(at, &value);
        m_list->get_ItemType(&at, &type);
        m_list->get_ReadOnly(at, &readOnly);
        at = static_cast<short>(i);
        m_list->get_ItemData(&at, data.put());
        const std::wstring nameRead = Take(name), valueRead = Take(value);
        const std::string where = "row " + std::to_string(i) + " " + Text(row.name);
        if (nameRead != row.name) return Mismatch(where + " is named " + Text(nameRead));
        if (type != row.type) return Mismatch(where + " has type " + std::to_string(type));
        if ((readOnly != VARIANT_FALSE) != row.readOnly) return Mismatch(where + " has the wrong read-only flag");
        if (row.itemData ? !(data == Variant(*row.itemData)) : !data.IsEmpty())
            return Mismatch(where + " has item data " + Narrow(data.Describe()));
        if (valueRead != row.value) {
            const bool allowed = std::any_of(m_allowed.begin(), m_allowed.end(), [&](const AllowedWrite& write) {
                return write.id == row.id &&
                       std::find(write.values.begin(), write.values.end(), valueRead) != write.values.end();
            });
            if (!allowed)
                return Mismatch(where + " holds " + Text(valueRead) + " where the model has " + Text(row.value));
            row.value = valueRead;
        }
    }
    short selected = -2;
    m_list->get_Selected(&selected);
    if (selected < -1 || selected >= count) return Mismatch("Selected reads " + std::to_string(selected));
    if (m_apiStep && !m_handlerActed && selected != m_model.Selected())
        return Mismatch("Selected reads " + std::to_string(selected) + ", the model " +
                        std::to_string(m_model.Selected()));
    m_model.AdoptSelection(selected);

    VARIANT_BOOL hold = VARIANT_FALSE;
    m_list->get_HoldDraw(&hold);
    if ((hold != VARIANT_FALSE) != m_model.holdDraw) return Mismatch("HoldDraw reads differently from the model");
    BSTR textTrue = nullptr, textFalse = nullptr;
    m_list->get_TextTrue(&textTrue);
    m_list->get_TextFalse(&textFalse);
    if (Take(textTrue) != m_model.textTrue || Take(textFalse) != m_model.textFalse)
        return Mismatch("TextTrue or TextFalse reads differently from the model");

    if (!m_handlerActed && m_boxes && m_boxes->Count() != m_expectedBoxes) {
        std::string shown;
        for (const MessageBoxCall& box : m_boxes->Calls()) shown += " " + Text(box.text) + "/" + Text(box.title);
        Mismatch(std::to_string(m_boxes->Count()) + " message boxes where " + std::to_string(m_expectedBoxes) +
                 " were due:" + shown);
    }
}

}  // namespace

SoakReport RunListSoak(const SoakOptions& options) {
    SoakReport report;
    report.seed = options.seed;
    ListSoak(options, report).Run();
    return report;
}

}  // namespace zo::test
