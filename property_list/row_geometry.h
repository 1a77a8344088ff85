// Where the rows of a PropertyList are: one measurement of the row pitch
// from the list font, the rows that fit, the first visible row held in
// range, the mapping between rows and pixel lines (the same for painting and
// for hit tests), the value column, and the editor line of the selected row.
// Plain arithmetic over a measurement, so it is the same whoever asks.
#pragma once

#include <cstdint>
#include <optional>

namespace zo {

// The facts the geometry is computed from, measured once on the surface.
struct RowMetrics {
    double lineTwips = 0;     // TextHeight("Qq") with the list font
    int32_t tppx = 15;        // twips per pixel, rounded
    int32_t tppy = 15;
    double scaleWidth = 0;    // client size, twips
    double scaleHeight = 0;
};

class RowGeometry {
public:
    // `scrollValue` is the scroll bar's position (0 without a scroll bar);
    // it is held within the rows, so the list never scrolls into blank space.
    RowGeometry(const RowMetrics& metrics, int32_t lastIndex, int32_t scrollValue);

    [[nodiscard]] const RowMetrics& Metrics() const noexcept { return m_metrics; }
    // Text line height and row pitch (line + separator) in pixels.
    [[nodiscard]] int32_t LinePx() const noexcept { return m_linePx; }
    [[nodiscard]] int32_t PitchPx() const noexcept { return m_linePx + 3; }
    [[nodiscard]] int32_t WidthPx() const noexcept { return m_widthPx; }
    [[nodiscard]] int32_t HeightPx() const noexcept { return m_heightPx; }

    // Whole rows that fit the client height (the scroll bar's page).
    [[nodiscard]] int32_t RowsThatFit() const noexcept { return m_rowsThatFit; }
    // Whether the rows need more height than the client has.
    [[nodiscard]] bool NeedsScrolling() const noexcept;
    // The first row on screen, and the last one painted (it may be cut by
    // the bottom edge); Last < First when the list is empty.
    [[nodiscard]] int32_t FirstVisibleRow() const noexcept { return m_first; }
    [[nodiscard]] int32_t LastVisibleRow() const noexcept;
    [[nodiscard]] bool IsVisible(int32_t row) const noexcept;
    // The largest first row that still ends the list at the last row.
    [[nodiscard]] static int32_t LastFirstRow(int32_t lastIndex, int32_t rowsThatFit) noexcept;

    // The top pixel line of a visible row (its separator above is one less).
    [[nodiscard]] int32_t RowTopPx(int32_t row) const noexcept;
    // The row whose band holds pixel line `y`: ceiling(y / pitch + first) - 1,
    // so a line that is an exact multiple of the pitch belongs to the row
    // above it. Line 0 (the top border) and lines below the last row give
    // nullopt.
    [[nodiscard]] std::optional<int32_t> RowAtPx(int32_t y) const noexcept;

    // The column divider (pixels) and the value column's left edge (twips).
    [[nodiscard]] int32_t DividerPx(int32_t longestItem) const noexcept;
    [[nodiscard]] double ValueLeftTwips(int32_t longestItem) const noexcept;
    // The twips line the editors of `row` are placed from, when the row is
    // on screen; nullopt otherwise, so no editor is shown over another row.
    [[nodiscard]] std::optional<double> EditorTopTwips(int32_t row) const noexcept;

private:
    [[nodiscard]] double RowPaddingTwips() const noexcept;

    RowMetrics m_metrics;
    int32_t m_lastIndex;
    int32_t m_linePx = 0;
    int32_t m_widthPx = 0;
    int32_t m_heightPx = 0;
    int32_t m_rowsThatFit = 0;
    int32_t m_first = 0;
};

}  // namespace zo
