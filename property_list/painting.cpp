// Painting of the list.
#include "common/twips.h"
#include "property_list/property_list.h"

namespace zo {

void PropertyList::UserControl_Paint() { DrawList(); }

void PropertyList::DrawList() {
    if (m_holdDraw) return;
    try {
        if (!AmbientProperties().UserMode()) {
            Surface().Print(5.0 * TwipsPerPixelX(), 5.0 * TwipsPerPixelY(), AmbientProperties().DisplayName());
            return;
        }
    } catch (...) {
        // Without a site there is no display name to show.
        return;
    }
    m_editTop = -90;
}

}  // namespace zo
