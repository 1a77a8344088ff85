#include "common/handles.h"

namespace zo {

namespace detail {
std::atomic<long>& LiveCounter(HandleKind kind) noexcept {
    static std::atomic<long> counters[static_cast<int>(HandleKind::Count)];
    return counters[static_cast<int>(kind)];
}
}  // namespace detail

long LiveHandles(HandleKind kind) noexcept { return detail::LiveCounter(kind).load(); }

long LiveGdiHandles() noexcept {
    long total = 0;
    for (HandleKind kind : {HandleKind::Brush, HandleKind::Pen, HandleKind::Font, HandleKind::Bitmap,
                            HandleKind::Palette, HandleKind::Region, HandleKind::MemoryDc,
                            HandleKind::WindowDc, HandleKind::PaintDc})
        total += LiveHandles(kind);
    return total;
}

unique_hdc_window::unique_hdc_window(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {
    if (m_dc) ++detail::LiveCounter(HandleKind::WindowDc);
}

unique_hdc_window::unique_hdc_window(unique_hdc_window&& other) noexcept
    : m_window(other.m_window), m_dc(std::exchange(other.m_dc, nullptr)) {}

unique_hdc_window& unique_hdc_window::operator=(unique_hdc_window&& other) noexcept {
    if (this != &other) {
        reset();
        m_window = other.m_window;
        m_dc = std::exchange(other.m_dc, nullptr);
    }
    return *this;
}

void unique_hdc_window::reset() noexcept {
    if (m_dc) {
        ::ReleaseDC(m_window, std::exchange(m_dc, nullptr));
        --detail::LiveCounter(HandleKind::WindowDc);
    }
}

unique_hdc_paint::unique_hdc_paint(HWND window) noexcept
    : m_window(window), m_dc(::BeginPaint(window, &m_paint)) {
    if (m_dc) ++detail::LiveCounter(HandleKind::PaintDc);
}

unique_hdc_paint::~unique_hdc_paint() {
    if (m_dc) {
        ::EndPaint(m_window, &m_paint);
        --detail::LiveCounter(HandleKind::PaintDc);
    }
}

}  // namespace zo
