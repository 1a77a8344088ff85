#include "property_list/row_geometry.h"

#include <algorithm>

#include "common/vb_conversions.h"

namespace zo {

namespace {
// The separator and the padding a row adds to its text line: whole pixels
// at every DPI, so the rows that fit agree with the pitch rows are painted at.
constexpr int32_t kRowPaddingPx = 3;
// The value column starts this many pixels right of the widest name.
constexpr int32_t kValueGapPx = 7;
}  // namespace

RowGeometry::RowGeometry(const RowMetrics& metrics, int32_t lastIndex, int32_t scrollValue)
    : m_metrics(metrics), m_lastIndex(lastIndex) {
    m_linePx = IntDiv(CLng(metrics.lineTwips), metrics.tppy);
    m_widthPx = IntDiv(metrics.scaleWidth, metrics.tppx);
    m_heightPx = IntDiv(metrics.scaleHeight, metrics.tppy);
    m_rowsThatFit = IntDiv(CLng(metrics.scaleHeight), CLng(metrics.lineTwips + RowPaddingTwips()));
    m_first = std::clamp(scrollValue, 0, LastFirstRow(lastIndex, m_rowsThatFit));
}

double RowGeometry::RowPaddingTwips() const noexcept {
    return static_cast<double>(kRowPaddingPx) * m_metrics.tppy;
}

int32_t RowGeometry::LastFirstRow(int32_t lastIndex, int32_t rowsThatFit) noexcept {
    const int64_t last = int64_t{lastIndex} + 1 - rowsThatFit;
    return static_cast<int32_t>(std::max<int64_t>(0, last));
}

bool RowGeometry::NeedsScrolling() const noexcept {
    return (m_metrics.lineTwips + RowPaddingTwips()) * (m_lastIndex + 1.0) > m_metrics.scaleHeight;
}

int32_t RowGeometry::LastVisibleRow() const noexcept {
    const int32_t painted = std::min(m_rowsThatFit, m_lastIndex);
    return static_cast<int32_t>(std::min<int64_t>(int64_t{m_first} + painted, m_lastIndex));
}

bool RowGeometry::IsVisible(int32_t row) const noexcept {
    return row >= m_first && row <= LastVisibleRow();
}

// Rows far out of view lie beyond the 32-bit range: they are kept at its ends.
int32_t RowGeometry::RowTopPx(int32_t row) const noexcept {
    const int64_t top = 1 + (int64_t{row} - m_first) * PitchPx();
    return static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
}

std::optional<int32_t> RowGeometry::RowAtPx(int32_t y) const noexcept {
    if (y < 1) return std::nullopt;
    const int64_t row = int64_t{m_first} + (y - 1) / PitchPx();
    if (row > m_lastIndex) return std::nullopt;
    return static_cast<int32_t>(row);
}

int32_t RowGeometry::DividerPx(int32_t longestItem) const noexcept { return longestItem / m_metrics.tppx; }

double RowGeometry::ValueLeftTwips(int32_t longestItem) const noexcept {
    return kValueGapPx * static_cast<double>(m_metrics.tppx) + longestItem;
}

std::optional<double> RowGeometry::EditorTopTwips(int32_t row) const noexcept {
    if (!IsVisible(row)) return std::nullopt;
    return (RowTopPx(row) + 1.0) * m_metrics.tppy;
}

}  // namespace zo
