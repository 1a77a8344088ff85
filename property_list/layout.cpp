// Layout of the editors and the scroll bar, and scrolling.
#include <algorithm>
#include <cstdint>

#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/skipping.h"
#include "runtime/do_events.h"
#include "runtime/event_args.h"

namespace zo {

namespace {
constexpr double kMinimumSize = 1200;  // twips
constexpr int kSmCxVScroll = SM_CXVSCROLL;

}  // namespace

void PropertyList::UserControl_Resize() { LayoutControl(); }

void PropertyList::LayoutControl() {
    if (WidthTwips() < kMinimumSize) SetExtentTwips(kMinimumSize, HeightTwips());
    if (HeightTwips() < kMinimumSize) SetExtentTwips(WidthTwips(), kMinimumSize);
    DoEvents();
    const double tx = TwipsPerPixelX();
    const double scaleWidth = Surface().ScaleWidth();
    const double scaleHeight = Surface().ScaleHeight();
    const double lineHeight = Surface().TextHeight(L"Qq");

    Skipping([&] {
        m_txtValue.SetLeft(7 * tx + m_longestItem);
        const double barWidth = m_scrollShown ? Vsb().Width() : 0;
        m_txtValue.SetWidth(scaleWidth - m_txtValue.Left() - barWidth);
        m_cmdBrowse.SetLeft(scaleWidth - m_cmdBrowse.Width() - barWidth);
    });
    Skipping([&] {
        m_txtValue.SetHeight(lineHeight);
        m_cmdBrowse.SetHeight(m_txtValue.Height() + 45);
        m_cboValue.Move(m_txtValue.Left(), m_cboValue.Top(), m_txtValue.Width(), m_txtValue.Height() + 30);
        m_picValue.Move(m_txtValue.Left(), m_picValue.Top(), m_txtValue.Width(), m_txtValue.Height() + 30);
    });
    Skipping([&] {
        const int32_t barWidth = CLng(tx * ::GetSystemMetrics(kSmCxVScroll));
        Vsb().Move(CLng(scaleWidth - barWidth), 0, barWidth + 12, CLng(scaleHeight));
    });
    Skipping([&] {
        const int16_t rows = CInt(IntDiv(CLng(scaleHeight), CLng(lineHeight + 45)));
        CScrollbar& bar = Vsb();
        if ((lineHeight + 45) * (m_lastIndex + 1.0) > scaleHeight) {
            bar.SetMax(m_lastIndex);
            bar.SetLargeChange(rows);
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
    RaiseControlEvent(property_list_event::Resize, none);
}

int32_t PropertyList::RowsThatFit() {
    const double lineHeight = Surface().TextHeight(L"Qq");
    return CInt(IntDiv(CLng(Surface().ScaleHeight()), CLng(lineHeight + 45)));
}

int32_t PropertyList::FirstVisibleRow() {
    if (!m_vsb) return 0;
    const int32_t lastFirst = std::max(0, m_lastIndex + 1 - RowsThatFit());
    return std::clamp(m_vsb->Value(), 0, lastFirst);
}

void PropertyList::ScrollTo(int64_t firstRow) {
    Skipping([&] {
        const int64_t lastFirst = std::max(0, m_lastIndex + 1 - RowsThatFit());
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
    Skipping([&] {
        if (m_ownerDrawSink) SinkHideEditor();
    });
    HideEditors();
    m_textEditActive = false;
    Skipping([&] { DrawList(); });
    EventArgs none;
    RaiseControlEvent(property_list_event::Scroll, none);
}

}  // namespace zo
