#include "property_list/offscreen_buffer.h"

namespace zo {

HDC OffscreenBuffer::Prepare(int width, int height) noexcept {
    if (width <= 0 || height <= 0) return nullptr;
    if (!m_dc || !m_bitmap || width != m_width || height != m_height) {
        Release();
        unique_hdc_window screen(nullptr);
        m_dc.reset(::CreateCompatibleDC(screen.get()));
        m_bitmap.reset(::CreateCompatibleBitmap(screen.get(), width, height));
        if (!m_dc || !m_bitmap) {
            Release();
            return nullptr;
        }
        m_selection.emplace(m_dc.get(), m_bitmap.get());
        m_width = width;
        m_height = height;
    }
    m_savedState = ::SaveDC(m_dc.get());
    return m_dc.get();
}

void OffscreenBuffer::Finish() noexcept {
    if (m_dc && m_savedState > 0) ::RestoreDC(m_dc.get(), m_savedState);
    m_savedState = 0;
}

void OffscreenBuffer::Release() noexcept {
    m_selection.reset();
    m_bitmap.reset();
    m_dc.reset();
    m_width = m_height = 0;
    m_savedState = 0;
}

}  // namespace zo
