#include "tests/host/soak/picker_model.h"

#include <olectl.h>

#include <algorithm>

#include "common/com_ptr.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/soak/picker_soak_stages.h"

namespace zo::test::picker_soak {

namespace {

// The palette of a new picker, row by row (&H00BBGGRR); rows 7 and 8 are white.
constexpr int32_t kDefaultRows[6][8] = {
    {0xFFFFFF, 0xC0C0FF, 0xC0E0FF, 0xC0FFFF, 0xC0FFC0, 0xFFFFC0, 0xFFC0C0, 0xFFC0FF},
    {0xE0E0E0, 0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF8080, 0xFF80FF},
    {0xC0C0C0, 0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF},
    {0x808080, 0x0000C0, 0x0040C0, 0x00C0C0, 0x00C000, 0xC0C000, 0xC00000, 0xC000C0},
    {0x404040, 0x000080, 0x004080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080},
    {0x000000, 0x000040, 0x404080, 0x004040, 0x004000, 0x404000, 0x400000, 0x400040},
};

// The system list's items in order: &H80000000 plus these indexes.
constexpr int kListIndexes[28] = {0x00, 0x01, 0x02, 0x1B, 0x03, 0x1C, 0x04, 0x05, 0x06, 0x07,
                                  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11,
                                  0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x1A};

constexpr int kPitch = 17;

bool IsCell(int x, int y) { return x >= 1 && x <= 8 && y >= 1 && y <= 8; }
size_t IndexOf(int x, int y) { return static_cast<size_t>((x - 1) + (y - 1) * 8); }
// The column or row under a grid position, held to the grid.
int CellAt(int position) { return std::clamp((position + 1) / kPitch + 1, 1, 8); }

}  // namespace

void PickerModel::Restart(bool fresh) {
    if (fresh) {
        palette.fill(0x00FFFFFF);
        for (int y = 1; y <= 6; ++y)
            for (int x = 1; x <= 8; ++x) palette[IndexOf(x, y)] = kDefaultRows[y - 1][x - 1];
        color = 0;
        back = static_cast<int32_t>(0x8000000Fu);
        fore = static_cast<int32_t>(0x80000012u);
        border = 1;
        fontPoints = 0;
    }
    Reloaded();
}

void PickerModel::Reloaded() {
    tag = 0;
    selX = selY = 0;
    tracking = false;
    listIndex = -1;
}

int32_t PickerModel::Cell(int x, int y) const { return IsCell(x, y) ? palette[IndexOf(x, y)] : 0; }

void PickerModel::SetCell(int x, int y, int32_t colour) {
    if (IsCell(x, y)) palette[IndexOf(x, y)] = colour;
}

// Finds the colour in the system list (a negative one) or the palette,
// column by column, and selects it; the tab follows at the next paint.
void PickerModel::SetColor(int32_t colour) {
    if (colour < 0) {
        tag = 2;
        for (int i = 0; i < 28; ++i) {
            if (SystemColourAt(i) == colour) {
                listIndex = i;
                return;
            }
        }
        return;
    }
    tag = 1;
    for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) {
            if (palette[IndexOf(x, y)] == colour) {
                selX = x;
                selY = y;
                return;
            }
        }
    }
}

void PickerModel::Press(int x, int y) {
    selX = CellAt(x);
    selY = CellAt(y);
    tracking = true;
}

void PickerModel::Move(int x, int y) {
    if (!tracking) return;
    selX = CellAt(x);
    selY = CellAt(y);
}

int32_t PickerModel::Release() {
    // A right release on rows 7 and 8 opens the colour dialog first, which
    // the soak's guard cancels: the cell keeps its colour.
    color = Cell(selX, selY);
    tracking = false;
    return color;
}

int32_t PickerModel::InterestingColour(SoakRandom& random) const {
    switch (random.Below(4)) {
        case 0: return palette[random.Below(64)];
        case 1: return SystemColourAt(static_cast<int>(random.Below(28)));
        default: return RandomColour(random);
    }
}

int32_t SystemColourAt(int index) {
    return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(kListIndexes[std::clamp(index, 0, 27)]));
}

int64_t ReadFontPoints(IDispatch* controlOrFont) {
    if (!controlOrFont) return 0;
    com_ptr<IFont> font;
    if (FAILED(controlOrFont->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put())))) {
        const DispResult got = Get(controlOrFont, L"Font");
        if (!got.ok()) return 0;
        font = got.value.ToUnknown().query<IFont>();
    }
    CY size{};
    if (!font || FAILED(font->get_Size(&size))) return 0;
    return size.int64;
}

std::vector<int32_t> ArrayValues(SAFEARRAY* array) {
    std::vector<int32_t> values;
    if (!array || ::SafeArrayGetDim(array) != 1) return values;
    LONG lower = 0, upper = -1;
    ::SafeArrayGetLBound(array, 1, &lower);
    ::SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        LONG value = 0;
        ::SafeArrayGetElement(array, &i, &value);
        values.push_back(value);
    }
    return values;
}

}  // namespace zo::test::picker_soak
