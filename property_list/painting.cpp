// The control's side of painting: the design-time picture, the header font
// following the list font, and the rows drawn by the painter.
#include "common/ole_colour.h"
#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/list_painter.h"
#include "property_list/property_list.h"
#include "runtime/fonts.h"

namespace zo {

void PropertyList::UserControl_Paint() { DrawList(); }

// The header font's size follows the list font's. The size is put only when
// it differs: an OLE font replaces its handle on every put, and the header
// font may be the list font itself.
void PropertyList::SyncHeaderFontSize() noexcept {
    const com_ptr<IFont> header = m_editors.HeaderFont();
    if (!header) return;
    try {
        CY size{};
        size.int64 = static_cast<LONGLONG>(Surface().FontSize() * 10000.0 + 0.5);
        CY current{};
        if (SUCCEEDED(header->get_Size(&current)) && current.int64 == size.int64) return;
        header->put_Size(size);
    } catch (...) {
    }
}

void PropertyList::DrawList() {
    if (m_holdDraw) return;
    ControlSurface& surface = Surface();
    try {
        if (!AmbientProperties().UserMode()) {
            surface.Print(5.0 * TwipsPerPixelX(), 5.0 * TwipsPerPixelY(), AmbientProperties().DisplayName());
            return;
        }
    } catch (...) {
        // Without a site there is no display name to show.
        return;
    }
    if (m_rows.LastIndex() < 0) return;
    const com_ptr<IUnknown> self = KeepAlive();
    try {
        SyncHeaderFontSize();
        const RowGeometry geometry = Geometry();
        ListPaintStyle style;
        style.foreColour = TranslateColour(surface.ForeColor());
        style.backColour = TranslateColour(surface.BackColor());
        style.highlightColour = TranslateColour(m_highlightColor);
        style.listFont = BorrowedFontHandle(surface.Font().get());
        style.headerFont = BorrowedFontHandle(m_editors.HeaderFont().get());
        style.swatchPx = IntDiv(CLng(m_editors.SwatchTwips()), CLng(TwipsPerPixelY()));
        OwnerDrawing ownerDrawing{&m_ownerDrawSink, {}};
        if (m_ownerDrawSink) ownerDrawing.controlName = ControlName();
        PaintList(surface.hDC(), m_paintBuffer, m_rows, geometry, style, ownerDrawing);
        surface.MarkPainted();
    } catch (...) {
        // A picture that cannot be composed leaves the previous one.
    }
}

}  // namespace zo
