// The parts of the picker half of the colour-picking soak that its files
// share: the stage class, the misdeeds its ColorPicked handler commits, and
// the small helpers of its calls. Internal to the soak.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/handles.h"
#include "tests/host/control_site.h"
#include "tests/host/event_sink.h"
#include "tests/host/soak/picker_model.h"
#include "tests/host/soak/picker_soak_stages.h"
#include "tests/host/variant.h"

namespace zo::test::picker_soak {

inline constexpr wchar_t kProgId[] = L"ZoPropertyList.ZoColorPicker";
inline constexpr DISPID kColorPicked = 1;
inline constexpr SCODE kInvalidPropertyValue = static_cast<SCODE>(0x800A017C);
inline constexpr SCODE kSubscriptOutOfRange = static_cast<SCODE>(0x800A0009);
// Ring colours of the selected cell.
inline constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// What the host's ColorPicked handler does for the first pick of a step.
enum class Hostile {
    None, SetColour, SetCell, Find, Show, Stream, Subclass, Fail, Pump, NestedClick, NestedPress, Font, Move, ReadBack,
    Release
};

[[nodiscard]] const char* NameOf(Hostile hostile);
// Puts the pointer at a point of a window, as a real press there would.
void PointerAt(HWND window, POINT client);
[[nodiscard]] unique_safearray LongArray(const std::vector<int32_t>& values, LONG lower);
[[nodiscard]] Variant ArrayRef(SAFEARRAY** array);

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

}  // namespace zo::test::picker_soak
