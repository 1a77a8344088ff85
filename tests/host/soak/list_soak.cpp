#include "tests/host/soak/list_soak.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "tests/host/dispatch_call.h"
#include "tests/host/message_pump.h"
#include "tests/host/soak/list_soak_driver.h"
#include "tests/host/soak/modal_guard.h"
#include "tests/host/variant.h"

namespace zo::test {

namespace list_soak {

namespace {

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

CanUnloadNow DllCanUnloadNowOf() {
    HMODULE library = ::GetModuleHandleW(L"ZoPropList.ocx");
    return library ? reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(library, "DllCanUnloadNow")))
                   : nullptr;
}

}  // namespace

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

std::wstring Take(BSTR text) { return std::wstring(ViewOf(unique_bstr(text))); }

std::wstring_view ViewOf(const unique_bstr& text) {
    return text ? std::wstring_view(text.get(), ::SysStringLen(text.get())) : std::wstring_view();
}

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
        // Read in place: a row may hold a megabyte, and this runs every step.
        const unique_bstr nameHeld(name), valueHeld(value);
        const std::wstring_view nameRead = ViewOf(nameHeld), valueRead = ViewOf(valueHeld);
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
            row.value = std::wstring(valueRead);
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

}  // namespace list_soak

SoakReport RunListSoak(const SoakOptions& options) {
    SoakReport report;
    report.seed = options.seed;
    list_soak::ListSoak(options, report).Run();
    return report;
}

}  // namespace zo::test
