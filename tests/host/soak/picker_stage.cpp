// The picker half of the colour-picking soak: a ZoColorPicker hosted on its
// own, its whole interface called with valid and invalid arguments, mouse,
// key and wheel messages at random places of its tabs, palette grid and
// system list, and ColorPicked handlers that call back in, fail, or release
// the control. The model is the palette, Color, the tab, the selected cell,
// the list's selection and the appearance properties.
#include <olectl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/ambient_properties.h"
#include "tests/host/control_site.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/event_sink.h"
#include "tests/host/message_pump.h"
#include "tests/host/pixels.h"
#include "tests/host/property_bag.h"
#include "tests/host/soak/picker_model.h"
#include "tests/host/soak/picker_soak_stages.h"

namespace zo::test::picker_soak {

namespace {

constexpr wchar_t kProgId[] = L"ZoPropertyList.ZoColorPicker";
constexpr DISPID kColorPicked = 1;
constexpr SCODE kInvalidPropertyValue = static_cast<SCODE>(0x800A017C);
constexpr SCODE kSubscriptOutOfRange = static_cast<SCODE>(0x800A0009);
// Ring colours of the selected cell.
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// What the host's ColorPicked handler does for the first pick of a step.
enum class Hostile {
    None, SetColour, SetCell, Find, Show, Stream, Subclass, Fail, Pump, NestedClick, NestedPress, Font, Move, ReadBack,
    Release
};

const char* NameOf(Hostile hostile) {
    static const char* const names[] = {"none",   "set Color", "set Colors",   "SetColor", "Show", "StreamRead",
                                        "UnSubclass/Subclass", "fail", "pump", "nested click", "nested press",
                                        "set Font", "move the control", "read Color", "release the control"};
    return names[static_cast<int>(hostile)];
}

// Puts the pointer at a point of a window, as a real press there would.
void PointerAt(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    ::SetCursorPos(client.x, client.y);
}

unique_safearray LongArray(const std::vector<int32_t>& values, LONG lower) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lower};
    unique_safearray array(::SafeArrayCreate(VT_I4, 1, &bound));
    for (size_t i = 0; array && i < values.size(); ++i) {
        LONG index = lower + static_cast<LONG>(i);
        LONG value = values[i];
        ::SafeArrayPutElement(array.get(), &index, &value);
    }
    return array;
}

Variant ArrayRef(SAFEARRAY** array) {
    VARIANT ref;
    V_VT(&ref) = VT_ARRAY | VT_I4 | VT_BYREF;
    V_ARRAYREF(&ref) = array;
    return Variant::Attach(ref);
}

class PickerStage final : public Stage {
public:
    explicit PickerStage(SoakRun& run) : m_run(run), m_random(run.random) {}
    ~PickerStage() override { Close(); }

    bool Host() override { return HostFrom(nullptr); }
    void Step(int64_t step) override;
    void Close() override;

private:
    bool HostFrom(IPropertyBag* bag);
    void Note(const std::string& text) { m_run.journal.Note(text); }

    // Steps
    void CallMember();
    void PutColour();
    void PutCell();
    void GetCell();
    void StreamReadStep();
    void StreamSerializeStep();
    void SetColorStep(int32_t colour);
    void ShowStep();
    void Appearance();
    void FontStep();
    void WrongArguments();
    void Handles();
    void SaveAndReload();
    void MouseStep();
    void KeyStep();
    void WheelStep();
    void Resize();
    void FreezeEvents();

    // Mouse
    [[nodiscard]] POINT RandomPoint();
    void Mouse(UINT message, WPARAM keys, POINT screen);
    void PredictGrid(UINT message, POINT client);
    void PredictList(UINT message, POINT client);
    void PredictSurface(UINT message, POINT client);
    void ExpectPick(int32_t colour);
    void UpdateTabEdges();

    void OnColorPicked(EventArgs& args);
    void Verify();
    void VerifyRing();

    SoakRun& m_run;
    SoakRandom& m_random;
    std::unique_ptr<TestContainer> m_container;
    std::unique_ptr<EventRecorder> m_events;
    com_ptr<IDispatch> m_picker;
    HWND m_window = nullptr, m_grid = nullptr, m_list = nullptr;
    bool m_released = false;  // a handler released the control in this step
    bool m_frozen = false;    // the container froze the control's events
    PickerModel m_model;
    std::vector<std::optional<int32_t>> m_expectedPicks;  // nullopt: the list's selected item
    size_t m_picksSeen = 0;
    std::optional<Hostile> m_hostile;  // the handler for the next pick of this step
    int m_tabEdge2 = 0, m_tabEdge3 = 0;  // x(2) and x(3) of the tab strip
    int64_t m_step = 0;
};

bool PickerStage::HostFrom(IPropertyBag* bag) {
    m_container = std::make_unique<TestContainer>();
    HostOptions options;
    options.position = {20, 20, 170, 197};
    options.bag = bag;
    const HostResult hosted = m_container->Host(kProgId, options);
    if (!hosted.ok()) {
        m_run.Mismatch("hosting failed: " + hosted.Describe());
        return false;
    }
    ++m_run.report.hostings;
    m_picker = m_container->Dispatch();
    m_events = std::make_unique<EventRecorder>();
    if (!m_picker || FAILED(m_events->Connect(m_container->Control()))) {
        m_run.Mismatch("the hosted picker has no dispatch interface or no events");
        return false;
    }
    m_events->On(kColorPicked, [this](EventArgs& args) { OnColorPicked(args); });
    m_window = m_container->ControlHwnd();
    const auto handle = [&](const wchar_t* name) {
        return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Get(m_picker.get(), name).value.ToLong()));
    };
    m_grid = handle(L"hWndColors");
    m_list = handle(L"hWndList");
    ::SetForegroundWindow(m_container->FrameHwnd());
    PumpMessages();
    m_released = false;
    m_frozen = false;
    m_expectedPicks.clear();
    m_model.Restart(bag == nullptr);
    if (bag == nullptr) {
        m_model.fontPoints = ReadFontPoints(m_picker.get());
    }
    UpdateTabEdges();
    Verify();
    return true;
}

void PickerStage::Close() {
    if (m_events) (void)m_events->Disconnect();
    m_picker.reset();
    if (m_container && m_container->Control()) {
        m_container->Close();
        const ULONG left = m_container->ControlRefsAfterClose();
        if (left != 0) m_run.Mismatch("the picker kept " + std::to_string(left) + " references after its container closed");
        m_run.report.refsLeft += left;
    }
    m_container.reset();
    m_events.reset();
    PumpMessages();
}

void PickerStage::Step(int64_t step) {
    m_step = step;
    if (m_released) {
        m_events.reset();
        m_container.reset();
        m_run.journal.Begin(step, "host a new ZoColorPicker");
        if (!Host()) return;
    }
    m_events->Clear();
    m_expectedPicks.clear();
    m_picksSeen = 0;
    m_hostile.reset();
    if (m_random.Percent(35)) {
        m_hostile = static_cast<Hostile>(m_random.Below(static_cast<uint32_t>(Hostile::Release) + 1));
        // Releasing the control is rarer than the rest: it costs a hosting.
        if (*m_hostile == Hostile::Release && !m_random.Percent(25)) m_hostile = Hostile::SetColour;
    }
    const uint32_t kind = m_random.Below(100);
    if (kind < 40)
        MouseStep();
    else if (kind < 46)
        KeyStep();
    else if (kind < 50)
        WheelStep();
    else if (kind < 51)
        Resize();
    else
        CallMember();
    PumpMessages();
    if (m_released) {
        // The handler closed the container inside the event: once the event
        // has returned nothing of the library may be left.
        if (!LibraryObjectsGone()) m_run.Mismatch("the picker released inside ColorPicked is still alive");
        return;
    }
    Verify();
}

// --- Members -------------------------------------------------------------------

void PickerStage::CallMember() {
    switch (m_random.Below(17)) {
        case 0: case 1: PutColour(); break;
        case 2: case 3: PutCell(); break;
        case 4: GetCell(); break;
        case 5: StreamReadStep(); break;
        case 6: StreamSerializeStep(); break;
        case 7: case 8: SetColorStep(m_model.InterestingColour(m_random)); break;
        case 9: case 10: ShowStep(); break;
        case 11: Appearance(); break;
        case 12: FontStep(); break;
        case 13: WrongArguments(); break;
        case 14: Handles(); break;
        case 15: FreezeEvents(); break;
        default:
            if (m_random.Percent(20)) SaveAndReload();
            else {
                const bool subclass = m_random.Percent(50);
                m_run.journal.Begin(m_step, subclass ? "Subclass" : "UnSubclass");
                (void)Call(m_picker.get(), subclass ? L"Subclass" : L"UnSubclass");
            }
            break;
    }
}

void PickerStage::PutColour() {
    const int32_t colour = RandomColour(m_random);
    m_run.journal.Begin(m_step, "Color = " + Hex(colour));
    const DispResult put = Put(m_picker.get(), L"Color", Variant(colour));
    if (!put.ok()) m_run.Mismatch("Color = " + Hex(colour) + " failed: " + put.Describe());
    else m_model.color = colour;
}

void PickerStage::PutCell() {
    const int x = m_random.Percent(85) ? m_random.Between(1, 8) : m_random.Pick({0, 9, -1, 100, -32768, 32767});
    const int y = m_random.Percent(85) ? m_random.Between(1, 8) : m_random.Pick({0, 9, -1, 100, -32768, 32767});
    const int32_t colour = RandomColour(m_random);
    m_run.journal.Begin(m_step, "Colors(" + std::to_string(x) + ", " + std::to_string(y) + ") = " + Hex(colour));
    const DispResult put = PutIndexed(m_picker.get(), L"Colors",
                                      {Variant(static_cast<int16_t>(x)), Variant(static_cast<int16_t>(y))}, Variant(colour));
    if (!put.ok()) m_run.Mismatch("Colors let failed: " + put.Describe());
    m_model.SetCell(x, y, colour);
}

void PickerStage::GetCell() {
    const int x = m_random.Between(-1, 10), y = m_random.Between(-1, 10);
    m_run.journal.Begin(m_step, "get Colors(" + std::to_string(x) + ", " + std::to_string(y) + ")");
    const DispResult got = Get(m_picker.get(), L"Colors", static_cast<int16_t>(x), static_cast<int16_t>(y));
    if (!got.ok()) return m_run.Mismatch("Colors get failed: " + got.Describe());
    m_run.Expect(Hex(got.value.ToLong()), Hex(m_model.Cell(x, y)),
                 "Colors(" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

void PickerStage::StreamReadStep() {
    const int shape = static_cast<int>(m_random.Below(10));
    if (shape == 8 || shape == 9) {
        // Two dimensions, or no array at all: subscript out of range, no change.
        m_run.journal.Begin(m_step, shape == 8 ? "StreamRead of an 8 x 8 array" : "StreamRead of no array");
        SAFEARRAYBOUND bounds[2] = {{8, 0}, {8, 0}};
        unique_safearray square(shape == 8 ? ::SafeArrayCreate(VT_I4, 2, bounds) : nullptr);
        SAFEARRAY* raw = square.release();
        const DispResult read = Call(m_picker.get(), L"StreamRead", {ArrayRef(&raw)});
        square.reset(raw);
        m_run.Expect(HResultText(read.error()), HResultText(kSubscriptOutOfRange), "StreamRead's error");
        return;
    }
    const int count = shape < 6 ? 64 : m_random.Pick({0, 1, 63, 65, 128});
    const LONG lower = m_random.Pick<LONG>({0, 0, 1, -5, 1000});
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(m_random.Percent(70) ? m_random.Between(0, 0xFFFFFF) : RandomColour(m_random));
    m_run.journal.Begin(m_step, "StreamRead of " + std::to_string(count) + " Longs from " + std::to_string(lower));
    unique_safearray array = count ? LongArray(values, lower) : unique_safearray(::SafeArrayCreateVector(VT_I4, 0, 0));
    SAFEARRAY* raw = array.release();
    const DispResult read = Call(m_picker.get(), L"StreamRead", {ArrayRef(&raw)});
    array.reset(raw);
    if (!read.ok()) return m_run.Mismatch("StreamRead failed: " + read.Describe());
    if (count == 64) std::copy(values.begin(), values.end(), m_model.palette.begin());
}

void PickerStage::StreamSerializeStep() {
    const bool fixed = m_random.Percent(30);
    m_run.journal.Begin(m_step, fixed ? "StreamSerialize into a fixed array" : "StreamSerialize");
    unique_safearray array = LongArray({7, 8, 9}, 3);
    if (fixed) array.get()->fFeatures |= FADF_FIXEDSIZE;
    SAFEARRAY* raw = array.release();
    const DispResult serialized = Call(m_picker.get(), L"StreamSerialize", {ArrayRef(&raw)});
    array.reset(raw);
    if (!serialized.ok()) return m_run.Mismatch("StreamSerialize failed: " + serialized.Describe());
    const std::vector<int32_t> got = ArrayValues(array.get());
    if (fixed) {
        if (got != std::vector<int32_t>{7, 8, 9}) m_run.Mismatch("StreamSerialize changed a fixed array");
        if (array) array.get()->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
        return;
    }
    m_run.Expect(got.size(), size_t{64}, "StreamSerialize's element count");
}

void PickerStage::SetColorStep(int32_t colour) {
    m_run.journal.Begin(m_step, "SetColor " + Hex(colour));
    LONG value = colour;
    const DispResult found = Call(m_picker.get(), L"SetColor", {Variant::RefI4(&value)});
    if (!found.ok()) return m_run.Mismatch("SetColor failed: " + found.Describe());
    m_model.SetColor(colour);
}

void PickerStage::ShowStep() {
    const bool missing = m_random.Percent(15);
    const int16_t tab = m_random.Pick<int16_t>({1, 1, 2, 2, 0, 5, -1, 32767, -32768});
    m_run.journal.Begin(m_step, missing ? "Show" : "Show " + std::to_string(tab));
    const DispResult shown =
        Call(m_picker.get(), L"Show", {missing ? Variant::Missing() : Variant(static_cast<int16_t>(tab))});
    if (!shown.ok()) return m_run.Mismatch("Show failed: " + shown.Describe());
    m_model.tag = (missing || tab == 1) ? 1 : 2;
}

void PickerStage::Appearance() {
    switch (m_random.Below(3)) {
        case 0: {
            const int32_t colour = RandomColour(m_random);
            m_run.journal.Begin(m_step, "BackColor = " + Hex(colour));
            if (Put(m_picker.get(), L"BackColor", Variant(static_cast<unsigned long>(colour))).ok()) m_model.back = colour;
            else m_run.Mismatch("BackColor let failed");
            break;
        }
        case 1: {
            const int32_t colour = RandomColour(m_random);
            m_run.journal.Begin(m_step, "ForeColor = " + Hex(colour));
            if (Put(m_picker.get(), L"ForeColor", Variant(static_cast<unsigned long>(colour))).ok()) m_model.fore = colour;
            else m_run.Mismatch("ForeColor let failed");
            break;
        }
        default: {
            const int32_t style = m_random.Pick({0, 1, 0, 1, 2, -1, 255});
            m_run.journal.Begin(m_step, "BorderStyle = " + std::to_string(style));
            const DispResult put = Put(m_picker.get(), L"BorderStyle", Variant(style));
            if (style == 0 || style == 1) {
                if (!put.ok()) m_run.Mismatch("BorderStyle let failed: " + put.Describe());
                else m_model.border = style;
            } else {
                m_run.Expect(HResultText(put.error()), HResultText(kInvalidPropertyValue), "BorderStyle's error");
            }
            break;
        }
    }
}

void PickerStage::FontStep() {
    if (m_random.Percent(20)) {
        m_run.journal.Begin(m_step, "Font = Nothing");
        const DispResult put = PutRef(m_picker.get(), L"Font", Variant(static_cast<IDispatch*>(nullptr)));
        if (put.ok()) m_run.Mismatch("Font = Nothing was accepted");
    } else {
        const double points = m_random.Pick({6.0, 8.25, 10.0, 14.0, 20.0});
        m_run.journal.Begin(m_step, "Font = " + std::to_string(points) + " pt");
        com_ptr<IFontDisp> font = MakeFont(m_random.Pick({L"Arial", L"Tahoma", L"MS Sans Serif"}), points);
        const DispResult put = PutRef(m_picker.get(), L"Font", Variant(static_cast<IDispatch*>(font.get())));
        if (!put.ok()) return m_run.Mismatch("Font let failed: " + put.Describe());
        m_model.fontPoints = ReadFontPoints(font.get());
    }
    UpdateTabEdges();
}

void PickerStage::WrongArguments() {
    switch (m_random.Below(4)) {
        case 0: {
            m_run.journal.Begin(m_step, "get Colors(\"x\", 1)");
            if (Get(m_picker.get(), L"Colors", L"x", static_cast<int16_t>(1)).ok()) m_run.Mismatch("Colors took text");
            break;
        }
        case 1: {
            m_run.journal.Begin(m_step, "Show \"tab\"");
            if (Call(m_picker.get(), L"Show", {Variant(L"tab")}).ok()) m_run.Mismatch("Show took text");
            break;
        }
        case 2: {
            m_run.journal.Begin(m_step, "SetColor with no argument");
            if (Call(m_picker.get(), L"SetColor").ok()) m_run.Mismatch("SetColor ran without its argument");
            break;
        }
        default: {
            m_run.journal.Begin(m_step, "Color = \"red\"");
            if (Put(m_picker.get(), L"Color", Variant(L"red")).ok()) m_run.Mismatch("Color took text");
            break;
        }
    }
}

void PickerStage::Handles() {
    m_run.journal.Begin(m_step, "hWnd, hDC, hWndColors, hWndList");
    const auto handle = [&](const wchar_t* name) {
        return reinterpret_cast<HWND>(static_cast<LONG_PTR>(Get(m_picker.get(), name).value.ToLong()));
    };
    if (handle(L"hWnd") != m_window) m_run.Mismatch("hWnd is not the control's window");
    if (handle(L"hWndColors") != m_grid || ::GetParent(m_grid) != m_window) m_run.Mismatch("hWndColors changed");
    if (handle(L"hWndList") != m_list || ::GetParent(m_list) != m_window) m_run.Mismatch("hWndList changed");
    if (!Get(m_picker.get(), L"hDC").ok()) m_run.Mismatch("hDC failed");
}

// Saves the picker into a bag, closes it and hosts a new one from the bag:
// the palette, Color and the appearance come back; the tab and the
// selections start afresh.
void PickerStage::SaveAndReload() {
    m_run.journal.Begin(m_step, "save, close and load into a new picker");
    MemoryPropertyBag bag;
    const HRESULT saved = m_container->Save(bag.get());
    if (FAILED(saved)) return m_run.Mismatch("Save failed");
    if (::GetCapture()) ::ReleaseCapture();
    Close();
    const PickerModel kept = m_model;
    if (!HostFrom(bag.get())) return;
    m_model = kept;
    m_model.Reloaded();
    m_model.fontPoints = ReadFontPoints(m_picker.get());
}

void PickerStage::Resize() {
    const LONG width = m_random.Between(40, 320), height = m_random.Between(40, 300);
    m_run.journal.Begin(m_step, "move to 20, 20, size " + std::to_string(width) + " x " + std::to_string(height));
    (void)m_container->Move(RECT{20, 20, 20 + width, 20 + height});
}

// --- Input ---------------------------------------------------------------------

POINT PickerStage::RandomPoint() {
    POINT point{};
    HWND base = m_window;
    switch (m_random.Below(10)) {
        case 0: case 1: case 2: case 3: case 4:
            base = m_grid;
            point = {m_random.Between(-4, 140), m_random.Between(-4, 140)};
            break;
        case 5: case 6:
            point = {m_random.Between(-2, 150), m_random.Between(-2, 25)};
            break;
        case 7:
            base = m_list;
            point = {m_random.Between(-2, 140), m_random.Between(-2, 140)};
            break;
        default:
            point = {m_random.Between(-10, 170), m_random.Between(-10, 200)};
            break;
    }
    ::ClientToScreen(base, &point);
    return point;
}

void PickerStage::MouseStep() {
    static const UINT kDowns[] = {WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const POINT point = RandomPoint();
    const uint32_t kind = m_random.Below(10);
    if (kind < 3) {
        const UINT down = kDowns[m_random.Below(5)];
        m_run.journal.Begin(m_step, "press " + std::to_string(down) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(down, down == WM_LBUTTONDOWN ? MK_LBUTTON : down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON, point);
    } else if (kind < 5) {
        const bool held = m_random.Percent(80);
        m_run.journal.Begin(m_step, std::string(held ? "drag" : "hover") + " to " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(WM_MOUSEMOVE, held ? MK_LBUTTON : 0, point);
    } else if (kind < 8) {
        const UINT up = m_random.Pick<UINT>({WM_LBUTTONUP, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP});
        m_run.journal.Begin(m_step, "release " + std::to_string(up) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
        Mouse(up, 0, point);
    } else {
        // A whole click or double-click, as the system sends it.
        const bool right = m_random.Percent(20);
        const bool twice = m_random.Percent(40);
        m_run.journal.Begin(m_step, std::string(twice ? "double-click " : "click ") + (right ? "right " : "") + "at " +
                                        std::to_string(point.x) + ", " + std::to_string(point.y));
        const WPARAM keys = right ? MK_RBUTTON : MK_LBUTTON;
        Mouse(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys, point);
        Mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
        if (twice && !m_released) {
            Mouse(right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, keys, point);
            if (!m_released) Mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
        }
    }
}

void PickerStage::Mouse(UINT message, WPARAM keys, POINT screen) {
    HWND target = MouseTarget(screen);
    POINT client = screen;
    ::ScreenToClient(target, &client);
    RECT area{};
    ::GetClientRect(target, &area);
    if (!::GetCapture() && !::PtInRect(&area, client)) {
        // A border or a scroll bar: the system sends no client message there.
        Note("not in a client area");
        return;
    }
    const bool listPress = target == m_list && message != WM_MOUSEMOVE && message != WM_LBUTTONUP &&
                           message != WM_RBUTTONUP && message != WM_MBUTTONUP;
    // A press in the list lets the list capture the mouse: its release goes
    // with it, in the same step, so that no other step is routed there.
    if (listPress && message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) {
        // Right and middle presses change nothing of the picker's.
        SendMouse(message, keys, screen);
        m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
        return;
    }
    if (target == m_grid) PredictGrid(message, client);
    else if (listPress) PredictList(message, client);
    else if (target == m_window) PredictSurface(message, client);
    SendMouse(message, keys, screen);
    if (listPress && !m_released) {
        Note("the list selected " + std::to_string(::SendMessageW(m_list, LB_GETCURSEL, 0, 0)) + ", top " +
             std::to_string(::SendMessageW(m_list, LB_GETTOPINDEX, 0, 0)));
        // Routed like any release: a handler's press may have taken the mouse.
        Mouse(WM_LBUTTONUP, 0, screen);
        if (m_model.listIndex == PickerModel::kUnknown)
            m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
    }
}

void PickerStage::PredictGrid(UINT message, POINT client) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            m_model.Press(client.x, client.y);
            break;
        case WM_MOUSEMOVE:
            m_model.Move(client.x, client.y);
            break;
        default:
            if (m_model.tracking) ExpectPick(m_model.Release());
            break;
    }
}

// A left press on an item selects it and picks its system colour; a press
// below the items picks the item the list box selects for it. A double
// click picks the selected item again.
void PickerStage::PredictList(UINT message, POINT client) {
    if (message == WM_LBUTTONDBLCLK) {
        if (m_model.listIndex >= 0) ExpectPick(SystemColourAt(m_model.listIndex));
        return;
    }
    const LRESULT hit = ::SendMessageW(m_list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    Note("list item " + std::to_string(LOWORD(hit)) + (HIWORD(hit) ? " (outside)" : "") + " at " +
         std::to_string(client.x) + ", " + std::to_string(client.y) + ", top " +
         std::to_string(::SendMessageW(m_list, LB_GETTOPINDEX, 0, 0)) + ", selected " +
         std::to_string(::SendMessageW(m_list, LB_GETCURSEL, 0, 0)));
    if (HIWORD(hit) == 0 && client.x >= 0 && client.y >= 0) {
        m_model.listIndex = LOWORD(hit);
        ExpectPick(SystemColourAt(m_model.listIndex));
    } else {
        // Where the system's list box puts a press outside its items is its
        // own business: the pick must follow what it selected.
        m_model.listIndex = PickerModel::kUnknown;
        if (!m_frozen) m_expectedPicks.push_back(std::nullopt);
    }
}

void PickerStage::PredictSurface(UINT message, POINT client) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
            if (client.y < 3 || client.y > 21) return;
            if (client.x < m_tabEdge2) m_model.tag = 1;
            else if (client.x < m_tabEdge3) m_model.tag = 2;
            break;
        default:
            break;
    }
}

// While the container freezes the events a pick still sets Color but
// raises nothing, so no handler runs either.
void PickerStage::ExpectPick(int32_t colour) {
    if (!m_frozen) m_expectedPicks.push_back(colour);
}

void PickerStage::FreezeEvents() {
    m_frozen = !m_frozen;
    m_run.journal.Begin(m_step, m_frozen ? "freeze events" : "thaw events");
    if (FAILED(m_container->FreezeEvents(m_frozen))) m_run.Mismatch("FreezeEvents failed");
}

void PickerStage::UpdateTabEdges() {
    com_ptr<IFont> font;
    if (const DispResult got = Get(m_picker.get(), L"Font"); got.ok()) font = got.value.ToUnknown().query<IFont>();
    HFONT handle = nullptr;
    if (font) (void)font->get_hFont(&handle);
    unique_hdc_window dc(nullptr);
    unique_select selected(dc.get(), handle);
    SIZE palette{}, system{};
    ::GetTextExtentPoint32W(dc.get(), L"Palette", 7, &palette);
    ::GetTextExtentPoint32W(dc.get(), L"System", 6, &system);
    m_tabEdge2 = 3 + palette.cx + 2 * 8 + 1;
    m_tabEdge3 = m_tabEdge2 + system.cx + 2 * 8 + 1;
}

void PickerStage::KeyStep() {
    HWND focus = m_random.Pick({m_list, m_list, m_grid, m_window});
    const WPARAM key = m_random.Pick<WPARAM>({VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_LEFT, VK_RIGHT,
                                              VK_SPACE, VK_RETURN, VK_ESCAPE, VK_TAB, VK_F4, 'B', 'H', 'S', 'Z'});
    m_run.journal.Begin(m_step, "key " + std::to_string(key) + " in " + (focus == m_list ? "the list" : focus == m_grid ? "the grid" : "the picker"));
    ::SetFocus(focus);
    HWND target = ::GetFocus() ? ::GetFocus() : focus;
    ::SendMessageW(target, WM_KEYDOWN, key, 1);
    if (key >= 'A' && key <= 'Z') ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_CHAR, key + 32, 1);
    ::SendMessageW(::GetFocus() ? ::GetFocus() : target, WM_KEYUP, key, 0xC0000001);
    // The list box moves its own selection; the picker raises nothing for it.
    m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
}

void PickerStage::WheelStep() {
    const POINT point = RandomPoint();
    const int notches = m_random.Pick({-3, -1, 1, 2, 5});
    m_run.journal.Begin(m_step, "wheel " + std::to_string(notches) + " at " + std::to_string(point.x) + ", " + std::to_string(point.y));
    HWND target = ::WindowFromPoint(point);
    if (target) ::SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(point.x, point.y));
}

// --- ColorPicked ---------------------------------------------------------------

void PickerStage::OnColorPicked(EventArgs& args) {
    const int listed = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
    Note("picked " + Hex(args.Value(0).ToLong()) + " with the list on " + std::to_string(listed));
    // A press the list box placed itself picks the item it selected.
    if (m_picksSeen < m_expectedPicks.size() && !m_expectedPicks[m_picksSeen] && listed >= 0)
        m_expectedPicks[m_picksSeen] = SystemColourAt(listed);
    ++m_picksSeen;
    if (!m_hostile) return;
    const Hostile hostile = *m_hostile;
    m_hostile.reset();  // only the first pick of a step misbehaves
    m_run.journal.Note(std::string("handler: ") + NameOf(hostile));
    switch (hostile) {
        case Hostile::None: break;
        case Hostile::SetColour: {
            const int32_t colour = RandomColour(m_random);
            m_run.journal.Note("Color = " + Hex(colour));
            if (Put(m_picker.get(), L"Color", Variant(colour)).ok()) m_model.color = colour;
            break;
        }
        case Hostile::SetCell: {
            const int x = m_random.Between(1, 8), y = m_random.Between(1, 8);
            const int32_t colour = RandomColour(m_random);
            (void)PutIndexed(m_picker.get(), L"Colors", {Variant(static_cast<int16_t>(x)), Variant(static_cast<int16_t>(y))},
                             Variant(colour));
            m_model.SetCell(x, y, colour);
            break;
        }
        case Hostile::Find: {
            LONG colour = m_model.InterestingColour(m_random);
            m_run.journal.Note("SetColor " + Hex(colour));
            if (Call(m_picker.get(), L"SetColor", {Variant::RefI4(&colour)}).ok()) m_model.SetColor(colour);
            break;
        }
        case Hostile::Show: {
            const int16_t tab = m_random.Pick<int16_t>({1, 2});
            if (Call(m_picker.get(), L"Show", {Variant(tab)}).ok()) m_model.tag = tab;
            break;
        }
        case Hostile::Stream: {
            std::vector<int32_t> values;
            for (int i = 0; i < 64; ++i) values.push_back(m_random.Between(0, 0xFFFFFF));
            unique_safearray array = LongArray(values, 0);
            SAFEARRAY* raw = array.release();
            if (Call(m_picker.get(), L"StreamRead", {ArrayRef(&raw)}).ok())
                std::copy(values.begin(), values.end(), m_model.palette.begin());
            array.reset(raw);
            break;
        }
        case Hostile::Subclass:
            (void)Call(m_picker.get(), L"UnSubclass");
            if (m_random.Percent(70)) (void)Call(m_picker.get(), L"Subclass");
            break;
        case Hostile::Fail:
            args.result = m_random.Pick<HRESULT>({E_FAIL, DISP_E_EXCEPTION, E_OUTOFMEMORY, DISP_E_MEMBERNOTFOUND});
            break;
        case Hostile::Pump:
            PumpMessages();
            break;
        case Hostile::NestedClick: {
            const POINT cell{m_random.Between(0, 136), m_random.Between(0, 136)};
            m_model.Press(cell.x, cell.y);
            PointerAt(m_grid, cell);
            ::SendMessageW(m_grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
            ExpectPick(m_model.Release());
            ::SendMessageW(m_grid, WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
            break;
        }
        case Hostile::NestedPress: {
            // A press that is still held when the event returns.
            const POINT cell{m_random.Between(-3, 140), m_random.Between(-3, 140)};
            m_model.Press(cell.x, cell.y);
            PointerAt(m_grid, cell);
            ::SendMessageW(m_grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
            break;
        }
        case Hostile::Font: {
            com_ptr<IFontDisp> font = MakeFont(L"Arial", m_random.Pick({7.0, 12.0, 18.0}));
            if (PutRef(m_picker.get(), L"Font", Variant(static_cast<IDispatch*>(font.get()))).ok())
                m_model.fontPoints = ReadFontPoints(font.get());
            UpdateTabEdges();
            break;
        }
        case Hostile::Move: {
            const LONG width = m_random.Between(60, 300), height = m_random.Between(60, 300);
            (void)m_container->Move(RECT{20, 20, 20 + width, 20 + height});
            break;
        }
        case Hostile::ReadBack: {
            // The picker stores a palette pick before it reports it.
            const DispResult colour = Get(m_picker.get(), L"Color");
            if (!colour.ok() || colour.value.ToLong() != m_model.color)
                m_run.Mismatch("inside ColorPicked, Color reads " + colour.Describe() + ", model says " + Hex(m_model.color));
            break;
        }
        case Hostile::Release:
            (void)m_events->Disconnect();
            m_picker.reset();
            m_container->Close();
            m_released = true;
            break;
    }
}

// --- Checks --------------------------------------------------------------------

void PickerStage::Verify() {
    if (!m_events->HandlerErrors().empty()) {
        m_run.Mismatch("a handler failed: " + m_events->HandlerErrors().front());
        return;
    }
    // The picks of this step.
    std::vector<int32_t> picks;
    for (const EventCall& call : m_events->Calls())
        if (call.dispid == kColorPicked) picks.push_back(call.args.at(0).ToLong());
    if (m_model.listIndex == PickerModel::kUnknown)
        m_model.listIndex = static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0));
    // A press outside the list's items picks what the list box selected, if anything.
    std::vector<int32_t> expected;
    for (const std::optional<int32_t>& pick : m_expectedPicks)
        if (pick) expected.push_back(*pick);
    if (picks != expected) {
        std::string text = "ColorPicked raised with";
        for (int32_t pick : picks) text += " " + Hex(pick);
        text += "; model says";
        for (int32_t pick : expected) text += " " + Hex(pick);
        m_run.Mismatch(text);
    }
    m_run.Expect(Hex(Get(m_picker.get(), L"Color").value.ToLong()), Hex(m_model.color), "Color");
    // The palette, all 64 cells in storage order.
    unique_safearray array = LongArray({}, 0);
    SAFEARRAY* raw = array.release();
    (void)Call(m_picker.get(), L"StreamSerialize", {ArrayRef(&raw)});
    array.reset(raw);
    const std::vector<int32_t> cells = ArrayValues(array.get());
    if (cells.size() != 64 || !std::equal(cells.begin(), cells.end(), m_model.palette.begin())) {
        for (size_t i = 0; i < 64; ++i) {
            const int32_t got = i < cells.size() ? cells[i] : 0;
            if (got != m_model.palette[i]) {
                m_run.Mismatch("palette cell (" + std::to_string(i % 8 + 1) + ", " + std::to_string(i / 8 + 1) +
                               ") is " + Hex(got) + ", model says " + Hex(m_model.palette[i]));
                break;
            }
        }
    }
    m_run.Expect(static_cast<int32_t>(Get(m_picker.get(), L"BackColor").value.ToLong()), m_model.back, "BackColor");
    m_run.Expect(static_cast<int32_t>(Get(m_picker.get(), L"ForeColor").value.ToLong()), m_model.fore, "ForeColor");
    m_run.Expect(Get(m_picker.get(), L"BorderStyle").value.ToLong(), m_model.border, "BorderStyle");
    if (m_model.fontPoints != 0) m_run.Expect(ReadFontPoints(m_picker.get()), m_model.fontPoints, "the font's size");
    // A repaint draws the tab the picker last chose.
    ::RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    m_run.Expect(::IsWindowVisible(m_list) != FALSE, m_model.tag == 2, "the system list shows");
    m_run.Expect(static_cast<int>(::SendMessageW(m_list, LB_GETCURSEL, 0, 0)), m_model.listIndex, "the list's selection");
    m_run.Expect(::GetCapture() == m_grid, m_model.tracking, "the grid holds the mouse");
    if (m_step % 4 == 0) VerifyRing();
}

// The selected cell wears the white and black rings, no other cell does.
void PickerStage::VerifyRing() {
    const CapturedBitmap grid = CapturedBitmap::Capture(m_grid, CaptureMethod::PrintClient);
    if (!grid.Valid()) return m_run.Mismatch("the grid could not be captured");
    for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) {
            const int x0 = (x - 1) * 17, y0 = (y - 1) * 17;
            const bool ringed = grid.At(x0, y0 + 8) == kWhite && grid.At(x0 + 1, y0 + 8) == kBlack;
            const bool selected = x == m_model.selX && y == m_model.selY;
            if (ringed != selected) {
                return m_run.Mismatch("cell (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                                      (ringed ? "" : "not ") + "drawn selected; the model's selection is (" +
                                      std::to_string(m_model.selX) + ", " + std::to_string(m_model.selY) + ")");
            }
        }
    }
}

}  // namespace

std::unique_ptr<Stage> MakePickerStage(SoakRun& run) { return std::make_unique<PickerStage>(run); }

}  // namespace zo::test::picker_soak
