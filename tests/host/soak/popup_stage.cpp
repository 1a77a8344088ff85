// The popup half of the colour-picking soak: a PropertyList with a few
// colour rows, the colour form popped up with the row's arrow (or Enter),
// random presses inside the form (palette cells, tabs, the system list,
// the user's own rows) and outside it, keys, changes through the interface,
// and ValueChanged handlers that cancel, clear the list, remove or insert
// rows, move the selection, fail or release the control. The model is the
// rows (names, values, read-only flags): a pick changes only the row it was
// made for, to the colour ValueChanged reported, unless cancelled, read-only
// or gone.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/message_pump.h"
#include "tests/host/pixels.h"
#include "tests/host/soak/picker_soak_stages.h"

namespace zo::test::picker_soak {

namespace {

constexpr wchar_t kProgId[] = L"ZoPropertyList.PropertyList";
constexpr DISPID kValueChanged = 1;
constexpr int32_t kColourRow = 4;

enum class Hostile {
    None, Cancel, Clear, RemoveRow, RemoveOther, Insert, Select, HoldDraw, SetValue, Arrow, Pump, Fail, Release
};

const char* NameOf(Hostile hostile) {
    static const char* const names[] = {"none",         "cancel",       "clear the list", "remove the row",
                                        "remove another row", "insert a row before", "set Selected",
                                        "toggle HoldDraw", "set the row's Value", "press the arrow again", "pump",
                                        "fail", "release the control"};
    return names[static_cast<int>(hostile)];
}

struct Row {
    std::wstring name, value;
    bool readOnly = false;
};

// The windows of the popped-up form: its palette grid is its largest
// visible picture box, its system list its list box.
struct FormWindows {
    HWND form = nullptr, picker = nullptr, grid = nullptr, list = nullptr;
};

BOOL CALLBACK CollectFormChild(HWND child, LPARAM found) {
    auto* windows = reinterpret_cast<FormWindows*>(found);
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    RECT rect{};
    ::GetClientRect(child, &rect);
    const std::wstring className = name;
    if (className == L"ZoPictureBox" && rect.right > 100 && rect.bottom > 100) windows->grid = child;
    else if (className == L"ListBox") windows->list = child;
    else if (::GetParent(child) == windows->form) windows->picker = child;
    return TRUE;
}

class PopupStage final : public Stage {
public:
    explicit PopupStage(SoakRun& run) : m_run(run), m_random(run.random) {}
    ~PopupStage() override { Close(); }

    bool Host() override;
    void Step(int64_t step) override;
    void Close() override;

private:
    // Steps
    void PressArrow(bool withEnter);
    void PickInForm();
    void PressOutside();
    void KeyStep();
    void CallMember();
    void AddRow(int at);

    [[nodiscard]] FormWindows Form() const;
    [[nodiscard]] bool FormShown() const;
    [[nodiscard]] int Selected();
    [[nodiscard]] HWND ShownArrow() const;
    void ExpectPick(int32_t colour);
    void OnValueChanged(EventArgs& args);
    void Verify();

    SoakRun& m_run;
    SoakRandom& m_random;
    std::unique_ptr<TestContainer> m_container;
    std::unique_ptr<EventRecorder> m_events;
    std::optional<MessageBoxRecorder> m_boxes;
    com_ptr<IDispatch> m_list;
    HWND m_window = nullptr;
    bool m_released = false;
    bool m_frozen = false;  // the container froze the list's events
    int m_nextName = 1;

    std::vector<Row> m_rows;
    bool m_allowEdit = true;
    std::optional<bool> m_formShown;  // nullopt: not known to the model

    // The pick this step expects: the row (by name), its index, the value.
    struct Pick {
        std::wstring name, value;
        int index = -1;
    };
    std::optional<Pick> m_pick;
    int m_valueChangedSeen = 0;
    std::optional<Hostile> m_hostile;
    bool m_reopened = false;  // a handler pressed the arrow inside the pick
    int64_t m_step = 0;
};

bool PopupStage::Host() {
    m_boxes.reset();
    m_container = std::make_unique<TestContainer>();
    HostOptions options;
    options.position = {10, 10, 330, 250};
    const HostResult hosted = m_container->Host(kProgId, options);
    if (!hosted.ok()) {
        m_run.Mismatch("hosting the list failed: " + hosted.Describe());
        return false;
    }
    ++m_run.report.hostings;
    m_list = m_container->Dispatch();
    m_events = std::make_unique<EventRecorder>();
    if (!m_list || FAILED(m_events->Connect(m_container->Control()))) {
        m_run.Mismatch("the hosted list has no dispatch interface or no events");
        return false;
    }
    m_events->On(kValueChanged, [this](EventArgs& args) { OnValueChanged(args); });
    m_boxes.emplace();
    m_window = m_container->ControlHwnd();
    ::SetForegroundWindow(m_container->FrameHwnd());
    m_released = false;
    m_frozen = false;
    m_rows.clear();
    m_allowEdit = true;
    m_formShown = false;
    const int rows = m_random.Between(2, 6);
    for (int i = 0; i < rows; ++i) AddRow(-1);
    PumpWithoutMadeUpMoves();
    return true;
}

void PopupStage::Close() {
    if (m_events) (void)m_events->Disconnect();
    m_list.reset();
    if (m_container && m_container->Control()) {
        m_container->Close();
        const ULONG left = m_container->ControlRefsAfterClose();
        if (left != 0) m_run.Mismatch("the list kept " + std::to_string(left) + " references after its container closed");
        m_run.report.refsLeft += left;
    }
    m_boxes.reset();
    m_container.reset();
    m_events.reset();
    PumpWithoutMadeUpMoves();
}

// Odd contents for a colour row and the decimal text Add makes of them
// (nullptr: whatever the list's number reading makes of it is taken).
struct OddContent {
    const wchar_t* content;
    const wchar_t* stored;
};
constexpr OddContent kOddContents[] = {
    {L"abc", L"0"},         {L"", L"0"},     {L"&H8000000F", L"-2147483633"}, {L"&HFF", L"255"},
    {L"99999999999", nullptr}, {L"-1", L"-1"}, {L"&HFFFFFFFF", L"-1"},         {L"-2147483633", L"-2147483633"},
    {L"12.5", nullptr},     {L" 42", L"42"}, {L"&O17", L"15"},                {L"7abc", L"7"},
};

void PopupStage::AddRow(int at) {
    const std::wstring name = L"C" + std::to_wstring(m_nextName++);
    std::wstring content, stored;
    if (m_random.Percent(60)) {
        content = stored = std::to_wstring(RandomColour(m_random));
    } else {
        const OddContent& odd = kOddContents[m_random.Below(std::size(kOddContents))];
        content = odd.content;
        stored = odd.stored ? odd.stored : L"";
    }
    const bool readOnly = m_random.Percent(20);
    const DispResult added = Call(m_list.get(), L"Add",
                                  {Variant(name), Variant(content), Variant(readOnly), Variant(kColourRow),
                                   Variant(static_cast<int16_t>(at))});
    if (!added.ok()) return m_run.Mismatch("Add failed: " + added.Describe());
    const size_t position = at < 0 || at > static_cast<int>(m_rows.size()) ? m_rows.size() : static_cast<size_t>(at);
    if (stored.empty()) {
        stored = Get(m_list.get(), L"Value", static_cast<int16_t>(position)).value.ToString();
        if (stored.empty()) m_run.Mismatch("Add of colour " + Narrow(content) + " stored no number");
    }
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(position), Row{name, stored, readOnly});
}

void PopupStage::Step(int64_t step) {
    m_step = step;
    if (m_released) {
        m_events.reset();
        m_container.reset();
        m_run.journal.Begin(step, "host a new PropertyList");
        if (!Host()) return;
    }
    m_events->Clear();
    m_pick.reset();
    m_valueChangedSeen = 0;
    m_hostile.reset();
    m_reopened = false;
    if (m_random.Percent(45)) {
        m_hostile = static_cast<Hostile>(m_random.Below(static_cast<uint32_t>(Hostile::Release) + 1));
        if (*m_hostile == Hostile::Release && !m_random.Percent(30)) m_hostile = Hostile::Cancel;
    }
    const uint32_t kind = m_random.Below(100);
    if (m_rows.empty() && kind < 50) {
        m_run.journal.Begin(m_step, "Add to the empty list");
        AddRow(-1);
    } else if (kind < 25)
        PressArrow(false);
    else if (kind < 30)
        PressArrow(true);
    else if (kind < 65)
        PickInForm();
    else if (kind < 75)
        PressOutside();
    else if (kind < 82)
        KeyStep();
    else
        CallMember();
    PumpWithoutMadeUpMoves();
    if (m_pick && m_frozen) {
        // No ValueChanged: nothing cancels, the pick is stored.
        auto row = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.name == m_pick->name; });
        if (row != m_rows.end() && !row->readOnly) row->value = m_pick->value;
    }
    if (m_released) {
        if (!LibraryObjectsGone()) m_run.Mismatch("the list released inside ValueChanged is still alive");
        return;
    }
    Verify();
}

// --- Steps ---------------------------------------------------------------------

// The arrow of the selected colour row (or Enter in the list) opens the
// form under the arrow, or closes it when it shows.
void PopupStage::PressArrow(bool withEnter) {
    if (Selected() < 0 && m_rows.size() > 0) {
        const int row = static_cast<int>(m_random.Below(static_cast<uint32_t>(m_rows.size())));
        (void)Put(m_list.get(), L"Selected", Variant(static_cast<int16_t>(row)));
        PumpWithoutMadeUpMoves();
    }
    HWND arrow = ShownArrow();
    const bool wasShown = FormShown();
    m_run.journal.Begin(m_step, std::string(withEnter ? "Enter on" : "press the arrow of") + " row " +
                                    std::to_string(Selected()) + (wasShown ? " (form shown)" : ""));
    if (!arrow) {
        m_formShown.reset();
        return;
    }
    if (withEnter) {
        ::SetFocus(m_window);
        HWND focus = ::GetFocus() ? ::GetFocus() : m_window;
        ::SendMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
        ::SendMessageW(::GetFocus() ? ::GetFocus() : focus, WM_KEYUP, VK_RETURN, 0xC0000001);
        m_formShown.reset();  // where the focus went decides
        return;
    }
    ::SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    m_formShown = wasShown ? false : m_allowEdit;
    if (!wasShown && m_allowEdit && FormShown()) {
        // Right-aligned under the arrow, or above it near the screen's bottom.
        RECT button{}, popup{};
        ::GetWindowRect(arrow, &button);
        ::GetWindowRect(Form().form, &popup);
        if (popup.top != button.bottom && popup.bottom != button.top)
            m_run.Mismatch("the form is neither under nor above the arrow");
    }
}

void PopupStage::PickInForm() {
    const FormWindows form = Form();
    if (!form.form || !::IsWindowVisible(form.form) || !form.grid) {
        m_run.journal.Begin(m_step, "pick in the form: none shown");
        return;
    }
    const int selected = Selected();
    const bool onList = form.list && ::IsWindowVisible(form.list);
    const uint32_t kind = m_random.Below(20);
    if (kind < 2) {
        // A tab: the other page shows, nothing is picked.
        const int x = m_random.Pick({10, 60, 80, 140}), y = m_random.Between(0, 24);
        m_run.journal.Begin(m_step, "press the form's tab strip at " + std::to_string(x) + ", " + std::to_string(y));
        ::SendMessageW(form.picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(form.picker, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        return;
    }
    if (onList) {
        if (kind > 3) {
            // Back to the palette first.
            ::SendMessageW(form.picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
            ::SendMessageW(form.picker, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        } else {
            const int itemHeight = static_cast<int>(::SendMessageW(form.list, LB_GETITEMHEIGHT, 0, 0));
            const int top = static_cast<int>(::SendMessageW(form.list, LB_GETTOPINDEX, 0, 0));
            const int visible = std::max(1, 130 / std::max(1, itemHeight));
            const int item = m_random.Between(0, visible - 1);
            const LPARAM at = MAKELPARAM(10, item * itemHeight + itemHeight / 2);
            m_run.journal.Begin(m_step, "press item " + std::to_string(top + item) + " of the form's system list");
            if (selected >= 0) {
                static constexpr int kIndexes[28] = {0x00, 0x01, 0x02, 0x1B, 0x03, 0x1C, 0x04, 0x05, 0x06, 0x07,
                                                     0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11,
                                                     0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x1A};
                if (top + item < 28)
                    ExpectPick(static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(kIndexes[top + item])));
            }
            ::SendMessageW(form.list, WM_LBUTTONDOWN, MK_LBUTTON, at);
            if (::IsWindow(form.list)) ::SendMessageW(form.list, WM_LBUTTONUP, 0, at);
            m_formShown = m_pick ? std::optional<bool>(false) : std::nullopt;
            return;
        }
    }
    if (!::IsWindowVisible(form.grid)) return;
    const int x = m_random.Between(1, 8), y = m_random.Between(1, 8);
    const bool right = m_random.Percent(y >= 7 ? 10 : 20);
    const LPARAM at = MAKELPARAM((x - 1) * 17 + m_random.Between(2, 14), (y - 1) * 17 + m_random.Between(2, 14));
    m_run.journal.Begin(m_step, std::string(right ? "right-" : "") + "pick cell (" + std::to_string(x) + ", " +
                                    std::to_string(y) + ") of the form for row " + std::to_string(selected));
    // The colour the cell shows is the colour it picks.
    const CapturedBitmap grid = CapturedBitmap::Capture(form.grid, CaptureMethod::PrintClient);
    const COLORREF shown = grid.At((x - 1) * 17 + 8, (y - 1) * 17 + 8);
    if (selected >= 0) ExpectPick(static_cast<int32_t>(shown));
    ::SendMessageW(form.grid, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    if (::IsWindow(form.grid)) ::SendMessageW(form.grid, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    m_formShown = false;
}

void PopupStage::ExpectPick(int32_t colour) {
    const int selected = Selected();
    if (selected < 0 || selected >= static_cast<int>(m_rows.size())) return;
    m_pick = Pick{m_rows[static_cast<size_t>(selected)].name, std::to_wstring(colour), selected};
}

// A press outside the form: on the list (a row, which moves the
// selection), or the user activating the container's frame.
void PopupStage::PressOutside() {
    if (m_random.Percent(40)) {
        m_run.journal.Begin(m_step, "activate the container's frame");
        ::SetActiveWindow(m_container->FrameHwnd());
        ::SetForegroundWindow(m_container->FrameHwnd());
        PumpWithoutMadeUpMoves();
        m_formShown = false;
        return;
    }
    RECT client{};
    ::GetClientRect(m_window, &client);
    const int x = m_random.Between(0, std::max(1L, client.right - 1)), y = m_random.Between(0, std::max(1L, client.bottom - 1));
    const bool twice = m_random.Percent(25);
    m_run.journal.Begin(m_step, std::string(twice ? "double-click" : "press") + " the list at " + std::to_string(x) + ", " + std::to_string(y));
    ::SendMessageW(m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    // A press on a row hides the form; one below the rows leaves it.
    if (Selected() >= 0) m_formShown = false;
    if (twice) {
        ::SendMessageW(m_window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        m_formShown.reset();  // a double-click on a colour row opens the form
    }
}

void PopupStage::KeyStep() {
    if (m_random.Percent(25)) {
        // Wheel notches over the list, or over the form when it shows.
        const FormWindows form = Form();
        const bool overForm = form.form && ::IsWindowVisible(form.form) && m_random.Percent(50);
        HWND target = overForm ? (form.list && ::IsWindowVisible(form.list) ? form.list : form.grid) : m_window;
        const int notches = m_random.Pick({-3, -1, 1, 2});
        m_run.journal.Begin(m_step, "wheel " + std::to_string(notches) + (overForm ? " over the form" : " over the list"));
        RECT place{};
        ::GetWindowRect(target, &place);
        ::SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA),
                       MAKELPARAM(place.left + 5, place.top + 5));
        if (!overForm) m_formShown.reset();  // scrolling the list closes the editors
        return;
    }
    const WPARAM key = m_random.Pick<WPARAM>({VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_ESCAPE, VK_F4,
                                              VK_TAB, VK_SPACE, VK_DELETE, 'A', '7'});
    m_run.journal.Begin(m_step, "key " + std::to_string(key) + " in the list");
    HWND focus = ::GetFocus();
    if (focus != m_window && !::IsChild(m_window, focus)) {
        ::SetFocus(m_window);
        focus = m_window;
    }
    ::SendMessageW(focus, WM_KEYDOWN, key, 1);
    if (key == 'A' || key == '7') ::SendMessageW(::GetFocus() ? ::GetFocus() : focus, WM_CHAR, key, 1);
    ::SendMessageW(::GetFocus() ? ::GetFocus() : focus, WM_KEYUP, key, 0xC0000001);
    m_formShown.reset();
}

void PopupStage::CallMember() {
    const int count = static_cast<int>(m_rows.size());
    switch (m_random.Below(10)) {
        case 0: {
            if (count == 0) return AddRow(-1);
            const int row = m_random.Between(0, count - 1);
            const int32_t colour = RandomColour(m_random);
            const std::wstring value = m_random.Percent(70) ? std::to_wstring(colour) : L"&H" + std::to_wstring(colour & 0xFFFF);
            m_run.journal.Begin(m_step, "Value(" + std::to_string(row) + ") = " + Narrow(value));
            if (!PutIndexed(m_list.get(), L"Value", {Variant(static_cast<int16_t>(row))}, Variant(value)).ok())
                return m_run.Mismatch("Value let failed");
            m_rows[static_cast<size_t>(row)].value = value;
            m_formShown = false;  // the editors are refreshed, the form hidden
            return;
        }
        case 1: {
            m_allowEdit = !m_allowEdit;
            m_run.journal.Begin(m_step, std::string("AllowEdit = ") + (m_allowEdit ? "True" : "False"));
            if (!Put(m_list.get(), L"AllowEdit", Variant(m_allowEdit)).ok()) m_run.Mismatch("AllowEdit let failed");
            return;
        }
        case 2: {
            const int at = m_random.Percent(50) ? -1 : m_random.Between(0, count);
            m_run.journal.Begin(m_step, "Add at " + std::to_string(at));
            if (count < 12) AddRow(at);
            return;
        }
        case 3: {
            if (count == 0) return;
            const int row = m_random.Between(0, count - 1);
            m_run.journal.Begin(m_step, "Remove " + std::to_string(row));
            if (!Call(m_list.get(), L"Remove", {Variant(static_cast<int16_t>(row))}).ok()) return m_run.Mismatch("Remove failed");
            m_rows.erase(m_rows.begin() + row);
            m_formShown.reset();
            return;
        }
        case 4: {
            if (!m_random.Percent(20)) return;
            m_run.journal.Begin(m_step, "Clear");
            if (!Call(m_list.get(), L"Clear").ok()) return m_run.Mismatch("Clear failed");
            m_rows.clear();
            m_formShown.reset();
            return;
        }
        case 5: {
            if (count == 0) return;
            const int row = m_random.Between(0, count - 1);
            const bool readOnly = !m_rows[static_cast<size_t>(row)].readOnly;
            m_run.journal.Begin(m_step, "ReadOnly(" + std::to_string(row) + ") = " + (readOnly ? "True" : "False"));
            if (!PutIndexed(m_list.get(), L"ReadOnly", {Variant(static_cast<int16_t>(row))}, Variant(readOnly)).ok())
                return m_run.Mismatch("ReadOnly let failed");
            m_rows[static_cast<size_t>(row)].readOnly = readOnly;
            m_formShown.reset();
            return;
        }
        case 6: {
            const int row = m_random.Between(-1, count - 1);
            m_run.journal.Begin(m_step, "Selected = " + std::to_string(row));
            (void)Put(m_list.get(), L"Selected", Variant(static_cast<int16_t>(row)));
            m_formShown = false;
            return;
        }
        case 7: {
            const bool hold = m_random.Percent(30);
            m_run.journal.Begin(m_step, std::string("HoldDraw = ") + (hold ? "True" : "False"));
            (void)Put(m_list.get(), L"HoldDraw", Variant(hold));
            return;
        }
        case 8: {
            m_frozen = !m_frozen;
            m_run.journal.Begin(m_step, m_frozen ? "freeze events" : "thaw events");
            if (FAILED(m_container->FreezeEvents(m_frozen))) m_run.Mismatch("FreezeEvents failed");
            return;
        }
        default: {
            m_run.journal.Begin(m_step, "HideControls");
            (void)Call(m_list.get(), L"HideControls");
            m_formShown.reset();
            return;
        }
    }
}

// --- ValueChanged --------------------------------------------------------------

void PopupStage::OnValueChanged(EventArgs& args) {
    ++m_valueChangedSeen;
    if (m_frozen) return m_run.Mismatch("ValueChanged raised while the container froze the events");
    if (!m_pick) return m_run.Mismatch("ValueChanged raised where no pick was made: " + Narrow(args.Value(2).ToString()));
    const std::wstring name = args.Value(0).ToString(), value = args.Value(2).ToString();
    const int index = args.Value(1).ToShort();
    if (name != m_pick->name || index != m_pick->index || value != m_pick->value) {
        m_run.Mismatch("ValueChanged(" + Narrow(name) + ", " + std::to_string(index) + ", " + Narrow(value) +
                       "); model says (" + Narrow(m_pick->name) + ", " + std::to_string(m_pick->index) + ", " +
                       Narrow(m_pick->value) + ")");
    }
    auto row = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.name == m_pick->name; });
    const bool mayStore = row != m_rows.end() && !row->readOnly;
    bool cancelled = false;
    const Hostile hostile = m_hostile.value_or(Hostile::None);
    m_hostile.reset();
    m_run.journal.Note(std::string("handler: ") + NameOf(hostile));
    // Cancelling is what a host may do; everything else misbehaves.
    if (hostile != Hostile::None && hostile != Hostile::Cancel) ++m_run.report.misdeeds;
    if (hostile == Hostile::Release) ++m_run.report.releases;
    const auto removeAt = [&](int at) {
        if (at < 0 || at >= static_cast<int>(m_rows.size())) return;
        if (Call(m_list.get(), L"Remove", {Variant(static_cast<int16_t>(at))}).ok()) m_rows.erase(m_rows.begin() + at);
    };
    switch (hostile) {
        case Hostile::None: break;
        case Hostile::Cancel:
            args.SetBool(3, true);
            cancelled = true;
            break;
        case Hostile::Clear:
            if (Call(m_list.get(), L"Clear").ok()) m_rows.clear();
            break;
        case Hostile::RemoveRow:
            removeAt(index);
            break;
        case Hostile::RemoveOther:
            if (m_rows.size() > 1) removeAt(index == 0 ? 1 : 0);
            break;
        case Hostile::Insert: {
            const int at = m_random.Between(0, std::max(0, index));
            AddRow(at);
            break;
        }
        case Hostile::Select:
            (void)Put(m_list.get(), L"Selected",
                      Variant(static_cast<int16_t>(m_random.Between(-1, static_cast<int>(m_rows.size()) - 1))));
            break;
        case Hostile::HoldDraw:
            (void)Put(m_list.get(), L"HoldDraw", Variant(m_random.Percent(50)));
            break;
        case Hostile::SetValue: {
            // Overwritten by the pick's own store afterwards.
            const std::wstring value = std::to_wstring(RandomColour(m_random));
            if (row != m_rows.end() &&
                PutIndexed(m_list.get(), L"Value", {Variant(static_cast<int16_t>(index))}, Variant(value)).ok())
                row->value = value;
            break;
        }
        case Hostile::Arrow:
            // The form is unloaded by now: the arrow loads it again.
            if (HWND arrow = ShownArrow()) {
                ::SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                ::SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            }
            m_reopened = true;
            break;
        case Hostile::Pump:
            PumpWithoutMadeUpMoves();
            break;
        case Hostile::Fail:
            args.result = m_random.Pick<HRESULT>({E_FAIL, DISP_E_EXCEPTION, E_OUTOFMEMORY});
            break;
        case Hostile::Release:
            (void)m_events->Disconnect();
            m_list.reset();
            m_boxes.reset();
            m_container->Close();
            m_released = true;
            return;
    }
    if (!mayStore || cancelled) return;
    // The value goes to the picked row wherever it went, or nowhere.
    row = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.name == m_pick->name; });
    if (row != m_rows.end()) row->value = m_pick->value;
}

// --- Checks --------------------------------------------------------------------

FormWindows PopupStage::Form() const {
    FormWindows windows;
    windows.form = ::FindWindowW(L"ZoColorForm", nullptr);
    if (windows.form) ::EnumChildWindows(windows.form, &CollectFormChild, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool PopupStage::FormShown() const {
    HWND form = ::FindWindowW(L"ZoColorForm", nullptr);
    return form && ::IsWindowVisible(form);
}

int PopupStage::Selected() {
    const DispResult got = Get(m_list.get(), L"Selected");
    return got.ok() ? got.value.ToShort() : -1;
}

HWND PopupStage::ShownArrow() const {
    for (HWND child = ::GetWindow(m_window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (HWND arrow = ::GetWindow(child, GW_CHILD); ::IsWindowVisible(child) && arrow) {
            wchar_t name[32] = {};
            ::GetClassNameW(arrow, name, 32);
            if (std::wstring(name) == L"ZoPictureBox") return arrow;
        }
    }
    return nullptr;
}

void PopupStage::Verify() {
    if (!m_events->HandlerErrors().empty()) return m_run.Mismatch("a handler failed: " + m_events->HandlerErrors().front());
    if (m_pick && m_valueChangedSeen != (m_frozen ? 0 : 1))
        m_run.Mismatch("a pick raised ValueChanged " + std::to_string(m_valueChangedSeen) + " times");
    if (m_boxes && m_boxes->Count() != 0) {
        m_run.Mismatch("a message box: " + Narrow(m_boxes->Calls().front().text));
        m_boxes->Clear();
    }
    const DispResult count = Get(m_list.get(), L"ListCount");
    if (!count.ok() || count.value.ToLong() != static_cast<int32_t>(m_rows.size()))
        return m_run.Mismatch("ListCount is " + count.Describe() + ", model says " + std::to_string(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const auto index = static_cast<int16_t>(i);
        const std::wstring name = Get(m_list.get(), L"Item", index).value.ToString();
        const std::wstring value = Get(m_list.get(), L"Value", index).value.ToString();
        if (name != m_rows[i].name || value != m_rows[i].value) {
            return m_run.Mismatch("row " + std::to_string(i) + " is " + Narrow(name) + " = " + Narrow(value) +
                                  ", model says " + Narrow(m_rows[i].name) + " = " + Narrow(m_rows[i].value));
        }
    }
    if (m_reopened) m_formShown.reset();
    if (m_formShown) m_run.Expect(FormShown(), *m_formShown, "the colour form shows");
}

}  // namespace

std::unique_ptr<Stage> MakePopupStage(SoakRun& run) { return std::make_unique<PopupStage>(run); }

}  // namespace zo::test::picker_soak
