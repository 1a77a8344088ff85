// Layout of the editors and the scroll bar, and scrolling.
#include <algorithm>
#include <cstdint>

#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/do_events.h"
#include "runtime/event_args.h"
#include "runtime/skipping.h"

namespace zo {

namespace {
constexpr double kMinimumSize = 1200;  // twips
}  // namespace

RowMetrics PropertyList::MeasureRows() {
    RowMetrics metrics;
    metrics.lineTwips = Surface().TextHeight(L"Qq");
    metrics.tppx = CLng(TwipsPerPixelX());
    metrics.tppy = CLng(TwipsPerPixelY());
    metrics.scaleWidth = Surface().ScaleWidth();
    metrics.scaleHeight = Surface().ScaleHeight();
    return metrics;
}

RowGeometry PropertyList::Geometry() {
    return RowGeometry(MeasureRows(), m_rows.LastIndex(), m_vsb ? m_vsb->Value() : 0);
}

void PropertyList::UserControl_Resize() { LayoutControl(); }

void PropertyList::LayoutControl() {
    const com_ptr<IUnknown> self = KeepAlive();
    if (WidthTwips() < kMinimumSize) SetExtentTwips(kMinimumSize, HeightTwips());
    if (HeightTwips() < kMinimumSize) SetExtentTwips(WidthTwips(), kMinimumSize);
    // A host holding the drawing while it fills the list lets pending
    // messages run once, when it lets go, not once per row.
    if (!m_holdDraw) DoEvents();
    const RowMetrics metrics = MeasureRows();

    Skipping([&] {
        const double barWidth = m_scrollShown ? Vsb().Width() : 0;
        const RowGeometry geometry(metrics, m_rows.LastIndex(), 0);
        m_editors.Layout(geometry.ValueLeftTwips(m_rows.LongestItem()), metrics.scaleWidth, barWidth,
                         metrics.lineTwips);
    });
    Skipping([&] {
        // Exactly the system's scroll bar width at the right edge. (12 twips
        // more, which once let it reach past the edge, come to less than a
        // pixel at 96 DPI but to a whole one at higher DPIs.)
        const int32_t barWidth = CLng(TwipsPerPixelX() * ::GetSystemMetrics(SM_CXVSCROLL));
        Vsb().Move(CLng(metrics.scaleWidth - barWidth), 0, barWidth, CLng(metrics.scaleHeight));
    });
    Skipping([&] {
        const RowGeometry geometry(metrics, m_rows.LastIndex(), 0);
        CScrollbar& bar = Vsb();
        if (geometry.NeedsScrolling()) {
            bar.SetMax(m_rows.LastIndex());
            bar.SetLargeChange(CInt(geometry.RowsThatFit()));
            if (!bar.Visible()) bar.SetValue(0);
            bar.SetEnabled(true);
            bar.SetVisible(true);
            m_scrollShown = true;
        } else {
            bar.SetMax(0);
            bar.SetValue(0);
            bar.SetVisible(false);
            m_scrollShown = false;
        }
    });
    Skipping([&] { DrawList(); });
    EventArgs none;
    RaiseControlEvent(PROPERTYLIST_EVENT_RESIZE, none);
}

void PropertyList::ScrollTo(int64_t firstRow) {
    Skipping([&] {
        const RowGeometry geometry = Geometry();
        const int64_t lastFirst = RowGeometry::LastFirstRow(m_rows.LastIndex(), geometry.RowsThatFit());
        Vsb().SetValue(static_cast<int32_t>(std::clamp<int64_t>(firstRow, 0, lastFirst)));
    });
    vsb_Scroll();
}

// Two rows per notch; only the direction of the wheel counts.
void PropertyList::vsb_MouseWheel(int16_t delta) {
    if (!m_vsb) return;
    ScrollTo(int64_t{m_vsb->Value()} + (delta > 0 ? -2 : 2));
}

void PropertyList::vsb_Scroll() {
    const com_ptr<IUnknown> self = KeepAlive();
    Skipping([&] { HideSinkEditor(); });
    m_editors.HideAll();
    m_editors.EndTextEdit();
    Skipping([&] { DrawList(); });
    EventArgs none;
    RaiseControlEvent(PROPERTYLIST_EVENT_SCROLL, none);
}

}  // namespace zo
