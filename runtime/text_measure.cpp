#include "runtime/text_measure.h"

namespace zo {

bool TextMeasurer::Prepare(HFONT font) noexcept {
    if (!m_dc) m_dc.reset(::CreateCompatibleDC(nullptr));
    if (!m_dc) return false;
    if (font == m_source && (m_copy || !font)) return true;
    m_selection.reset();
    m_copy.reset();
    m_source = nullptr;
    if (font) {
        // A copy of our own: the source font may be deleted by its owner at
        // any time, which it could not be while selected here.
        LOGFONTW description{};
        if (::GetObjectW(font, sizeof(description), &description) != sizeof(description)) return false;
        m_copy.reset(::CreateFontIndirectW(&description));
        if (!m_copy) return false;
        m_selection.emplace(m_dc.get(), m_copy.get());
    }
    m_source = font;
    return true;
}

bool TextMeasurer::Extent(HFONT font, std::wstring_view text, SIZE& extent) noexcept {
    if (!Prepare(font)) return false;
    extent = SIZE{};
    if (text.empty()) {
        TEXTMETRICW metrics{};
        if (!::GetTextMetricsW(m_dc.get(), &metrics)) return false;
        extent.cy = metrics.tmHeight;
        return true;
    }
    return ::GetTextExtentPoint32W(m_dc.get(), text.data(), static_cast<int>(text.size()), &extent) != FALSE;
}

}  // namespace zo
