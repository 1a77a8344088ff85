// The colour picker as the soak expects it to be: what a host can read back
// (palette, Color, appearance) and what shows (the tab, the selected cell,
// the list's selection), changed by the calls and the input the soak makes.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "tests/host/soak/soak_random.h"

namespace zo::test::picker_soak {

struct PickerModel {
    static constexpr int kUnknown = -2;  // a list selection only the list box knows

    std::array<int32_t, 64> palette{};
    int32_t color = 0;
    int32_t back = 0, fore = 0, border = 1;
    int64_t fontPoints = 0;  // the font's size in ten-thousandths of a point; 0 unknown
    int tag = 0;             // the tab shown after the next paint; 0 none yet
    int selX = 0, selY = 0;  // the selected palette cell, 0 while none
    bool tracking = false;   // a press on the grid has not been released
    int listIndex = -1;      // the system list's selection

    // A new instance (the default palette and properties), or one loaded
    // from a bag, which keeps the persisted state.
    void Restart(bool fresh);
    void Reloaded();

    [[nodiscard]] int32_t Cell(int x, int y) const;
    void SetCell(int x, int y, int32_t colour);
    void SetColor(int32_t colour);
    // The grid's mouse: a press selects the cell under it and starts
    // tracking, a move while tracking follows, a release picks.
    void Press(int x, int y);
    void Move(int x, int y);
    [[nodiscard]] int32_t Release();

    // A colour that SetColor may find: a palette cell, a listed system
    // colour, or one of the others RandomColour gives.
    [[nodiscard]] int32_t InterestingColour(SoakRandom& random) const;
};

// The system colour of the list's item at this position.
[[nodiscard]] int32_t SystemColourAt(int index);
// The size of a control's (or a font object's) font; 0 when unreadable.
[[nodiscard]] int64_t ReadFontPoints(IDispatch* controlOrFont);
// The values of a one-dimensional array of Longs.
[[nodiscard]] std::vector<int32_t> ArrayValues(SAFEARRAY* array);

}  // namespace zo::test::picker_soak
