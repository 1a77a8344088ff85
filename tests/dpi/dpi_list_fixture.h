// A PropertyList hosted at a size designed at 96 DPI and scaled to the DPI
// the test runs at, in plain colours, holding one row of every kind; the
// pixel geometry the tests expect is worked out from the list font the way
// a user measures it on screen, never from the control's own arithmetic.
#pragma once

#include <string>

#include "tests/dpi/dpi_scale.h"
#include "tests/host/pixels.h"
#include "tests/property_list/property_list_fixture.h"

namespace zo::test {

inline constexpr COLORREF kPaper = RGB(0xFF, 0xFF, 0xFF);
inline constexpr COLORREF kInk = RGB(0, 0, 0);
inline constexpr COLORREF kDots = RGB(0x80, 0x80, 0x80);
inline constexpr COLORREF kMarked = RGB(0, 0, 0xFF);

struct RowCase {
    int kind;
    const wchar_t* name;
    const wchar_t* content;
    const wchar_t* shown;  // the value text as painted; nullptr: none
};

// One row of every kind, in this order, row k holding kRowCases[k].
inline constexpr RowCase kRowCases[] = {
    {kHeaderRow, L"Appearance", L"", nullptr},
    {kStringRow, L"Caption", L"Jumpy quay", L"Jumpy quay"},
    {kNumericRow, L"Height", L"1234", L"1234"},
    {kBooleanRow, L"Visible", L"True", L"True"},
    {kBrowseRow, L"Picture", L"(Bitmap)", L"(Bitmap)"},
    {kColourRow, L"BackColor", L"255", L"&HFF"},
    {kCustomRow, L"Alignment", L"Justify", L"Justify"},
    {kOwnerDrawRow, L"Drawn", L"Qgjy", L"Qgjy"},
};
inline constexpr int kRowCaseCount = static_cast<int>(sizeof(kRowCases) / sizeof(kRowCases[0]));

class DpiListTest : public PropertyListTest {
protected:
    void SetUp() override;
    void AddEveryRowKind();

    [[nodiscard]] HWND ListWindow() { return container.ControlHwnd(); }
    [[nodiscard]] CapturedBitmap Picture(CaptureMethod method = CaptureMethod::PrintClient);
    [[nodiscard]] RECT Client();
    // The list font's text line (GetTextExtentPoint32 of "Qq"), in pixels.
    [[nodiscard]] int LineHeight();
    [[nodiscard]] int Pitch() { return LineHeight() + 3; }
    // The first pixel line of the k-th row on screen (its separator above).
    [[nodiscard]] int RowTop(int k) { return 1 + k * Pitch(); }
    [[nodiscard]] int Divider();
    // A press with the left button at a point of the list's client area.
    void PressAt(int x, int y);
    // Visible children of the list, in its client coordinates, by class.
    [[nodiscard]] HWND ShownChild(const wchar_t* className);
    [[nodiscard]] RECT RectInList(HWND window);
};

// The font object's GDI font (borrowed from the object).
[[nodiscard]] HFONT FontHandle(const Variant& font);
// Pixels of `text` drawn with `font` with nothing to clip it: what a row must
// show of it.
[[nodiscard]] long InkOf(HFONT font, const std::wstring& text);
// Pixels of `colour` in an area of a picture.
[[nodiscard]] long CountIn(const CapturedBitmap& picture, COLORREF colour, int left, int top, int right, int bottom);

// Saves a picture as <ZO_DPI_SCREENSHOTS>\<name>-<dpi>dpi.png when that
// folder is named; does nothing otherwise.
void SaveScreenshot(const CapturedBitmap& picture, const wchar_t* name);

}  // namespace zo::test
