// The picker soak's interface calls: every member of ZoColorPicker with
// valid and invalid arguments, the appearance, the font, saving into a bag
// and hosting again from it, each checked against the model.
#include <algorithm>

#include "tests/host/dispatch_call.h"
#include "tests/host/message_pump.h"
#include "tests/host/property_bag.h"
#include "tests/host/soak/picker_stage.h"

namespace zo::test::picker_soak {

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
    const auto putColour = [&](const wchar_t* name, int32_t& modelled) {
        const int32_t colour = RandomColour(m_random);
        m_run.journal.Begin(m_step, Narrow(name) + " = " + Hex(colour));
        if (Put(m_picker.get(), name, Variant(static_cast<unsigned long>(colour))).ok()) modelled = colour;
        else m_run.Mismatch(Narrow(name) + " let failed");
    };
    switch (m_random.Below(3)) {
        case 0: putColour(L"BackColor", m_model.back); break;
        case 1: putColour(L"ForeColor", m_model.fore); break;
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
}  // namespace zo::test::picker_soak
