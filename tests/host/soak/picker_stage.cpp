// The picker half of the colour-picking soak: a ZoColorPicker hosted on its
// own, its whole interface called with valid and invalid arguments, mouse,
// key and wheel messages at random places of its tabs, palette grid and
// system list, and ColorPicked handlers that call back in, fail, or release
// the control. The model is the palette, Color, the tab, the selected cell,
// the list's selection and the appearance properties.
#include "tests/host/soak/picker_stage.h"

#include <algorithm>

#include "tests/host/ambient_properties.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/message_pump.h"
#include "tests/host/pixels.h"
#include "tests/host/property_bag.h"

namespace zo::test::picker_soak {

const char* NameOf(Hostile hostile) {
    static const char* const names[] = {"none",   "set Color", "set Colors",   "SetColor", "Show", "StreamRead",
                                        "UnSubclass/Subclass", "fail", "pump", "nested click", "nested press",
                                        "set Font", "move the control", "read Color", "release the control"};
    return names[static_cast<int>(hostile)];
}

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
    PumpWithoutMadeUpMoves();
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
    PumpWithoutMadeUpMoves();
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
    PumpWithoutMadeUpMoves();
    if (m_released) {
        // The handler closed the container inside the event: once the event
        // has returned nothing of the library may be left.
        if (!LibraryObjectsGone()) m_run.Mismatch("the picker released inside ColorPicked is still alive");
        return;
    }
    Verify();
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
    if (hostile != Hostile::None) ++m_run.report.misdeeds;
    if (hostile == Hostile::Release) ++m_run.report.releases;
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
            PumpWithoutMadeUpMoves();
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
                // What was seen, so that a failure that does not repeat can still be told apart.
                RECT client{};
                ::GetClientRect(m_grid, &client);
                return m_run.Mismatch("cell (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                                      (ringed ? "" : "not ") + "drawn selected; the model's selection is (" +
                                      std::to_string(m_model.selX) + ", " + std::to_string(m_model.selY) +
                                      "); its edge shows " + Hex(static_cast<int32_t>(grid.At(x0, y0 + 8))) +
                                      " and " + Hex(static_cast<int32_t>(grid.At(x0 + 1, y0 + 8))) + " in a " +
                                      std::to_string(grid.Width()) + " x " + std::to_string(grid.Height()) +
                                      " capture of a " + std::to_string(client.right) + " x " +
                                      std::to_string(client.bottom) + " grid, " +
                                      (::IsWindowVisible(m_grid) ? "shown" : "hidden"));
            }
        }
    }
}

std::unique_ptr<Stage> MakePickerStage(SoakRun& run) { return std::make_unique<PickerStage>(run); }
}  // namespace zo::test::picker_soak
