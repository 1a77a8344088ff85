// RAII holders for every kind of Windows and OLE handle the library owns.
//
// One template, unique_any<Traits>, owns a handle and closes it with the
// traits' close function. Aliases are named for what they hold. Borrowed
// handles stay plain values; a holder in a signature means ownership.
//
// Every holder keeps a live count per handle kind so that tests can prove
// that repeated painting leaks nothing (GetGuiResources is a stub on Wine).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <utility>

namespace zo {

enum class HandleKind : int {
    Brush, Pen, Font, Bitmap, Palette, Region, MemoryDc, WindowDc, PaintDc,
    Bstr, Variant, SafeArray, File, Count
};

namespace detail {
std::atomic<long>& LiveCounter(HandleKind kind) noexcept;
}

// Number of holders of this kind that currently own a handle.
[[nodiscard]] long LiveHandles(HandleKind kind) noexcept;
// Sum over the GDI kinds (brush, pen, font, bitmap, palette, region, DCs).
[[nodiscard]] long LiveGdiHandles() noexcept;

template <typename Traits>
class unique_any {
public:
    using handle_type = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(handle_type handle) noexcept : m_handle(handle) { Track(); }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : m_handle(other.release()) { Track(); }
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    [[nodiscard]] handle_type get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::invalid(); }

    void reset(handle_type handle = Traits::invalid()) noexcept {
        if (m_handle != Traits::invalid()) {
            Traits::close(m_handle);
            --detail::LiveCounter(Traits::kind);
        }
        m_handle = handle;
        Track();
    }
    [[nodiscard]] handle_type release() noexcept {
        if (m_handle != Traits::invalid()) --detail::LiveCounter(Traits::kind);
        return std::exchange(m_handle, Traits::invalid());
    }

private:
    void Track() noexcept {
        if (m_handle != Traits::invalid()) ++detail::LiveCounter(Traits::kind);
    }
    handle_type m_handle = Traits::invalid();
};

template <typename T, HandleKind K, void (*Close)(T) noexcept>
struct handle_traits {
    using type = T;
    static constexpr HandleKind kind = K;
    static constexpr T invalid() noexcept { return nullptr; }
    static void close(T handle) noexcept { Close(handle); }
};

namespace detail {
inline void FreeGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void FreeBrushHandle(HBRUSH h) noexcept { FreeGdiObject(h); }
inline void FreePenHandle(HPEN h) noexcept { FreeGdiObject(h); }
inline void FreeFontHandle(HFONT h) noexcept { FreeGdiObject(h); }
inline void FreeBitmapHandle(HBITMAP h) noexcept { FreeGdiObject(h); }
inline void FreePaletteHandle(HPALETTE h) noexcept { FreeGdiObject(h); }
inline void FreeRegionHandle(HRGN h) noexcept { FreeGdiObject(h); }
inline void FreeMemoryDcHandle(HDC h) noexcept { ::DeleteDC(h); }
inline void FreeBstr(BSTR s) noexcept { ::SysFreeString(s); }
inline void DestroySafeArray(SAFEARRAY* a) noexcept { ::SafeArrayDestroy(a); }
}  // namespace detail

using unique_hbrush = unique_any<handle_traits<HBRUSH, HandleKind::Brush, detail::FreeBrushHandle>>;
using unique_hpen = unique_any<handle_traits<HPEN, HandleKind::Pen, detail::FreePenHandle>>;
using unique_hfont = unique_any<handle_traits<HFONT, HandleKind::Font, detail::FreeFontHandle>>;
using unique_hbitmap = unique_any<handle_traits<HBITMAP, HandleKind::Bitmap, detail::FreeBitmapHandle>>;
using unique_hpalette = unique_any<handle_traits<HPALETTE, HandleKind::Palette, detail::FreePaletteHandle>>;
using unique_hrgn = unique_any<handle_traits<HRGN, HandleKind::Region, detail::FreeRegionHandle>>;
using unique_hdc = unique_any<handle_traits<HDC, HandleKind::MemoryDc, detail::FreeMemoryDcHandle>>;
using unique_bstr = unique_any<handle_traits<BSTR, HandleKind::Bstr, detail::FreeBstr>>;
using unique_safearray = unique_any<handle_traits<SAFEARRAY*, HandleKind::SafeArray, detail::DestroySafeArray>>;

// A kernel file handle. CreateFileW reports failure as INVALID_HANDLE_VALUE,
// not null, so this holder cannot use handle_traits.
struct file_handle_traits {
    using type = HANDLE;
    static constexpr HandleKind kind = HandleKind::File;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};
using unique_hfile = unique_any<file_handle_traits>;

// A DC obtained with GetDC, released with ReleaseDC on the same window.
class unique_hdc_window {
public:
    unique_hdc_window() noexcept = default;
    explicit unique_hdc_window(HWND window) noexcept;  // GetDC(window); nullptr means the screen
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    unique_hdc_window(unique_hdc_window&& other) noexcept;
    unique_hdc_window& operator=(unique_hdc_window&& other) noexcept;
    ~unique_hdc_window() { reset(); }
    [[nodiscard]] HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }
    void reset() noexcept;

private:
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
};

// BeginPaint / EndPaint.
class unique_hdc_paint {
public:
    explicit unique_hdc_paint(HWND window) noexcept;
    unique_hdc_paint(const unique_hdc_paint&) = delete;
    unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
    ~unique_hdc_paint();
    [[nodiscard]] HDC get() const noexcept { return m_dc; }
    [[nodiscard]] const PAINTSTRUCT& paint() const noexcept { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// SelectObject that puts the previous object back when it goes.
class unique_select {
public:
    unique_select() noexcept = default;
    unique_select(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    unique_select(const unique_select&) = delete;
    unique_select& operator=(const unique_select&) = delete;
    unique_select(unique_select&& other) noexcept
        : m_dc(other.m_dc), m_previous(std::exchange(other.m_previous, nullptr)) {}
    ~unique_select() { reset(); }
    void reset() noexcept {
        if (m_previous) ::SelectObject(m_dc, std::exchange(m_previous, nullptr));
    }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// SelectPalette with the previous palette restored.
class unique_select_palette {
public:
    unique_select_palette(HDC dc, HPALETTE palette, bool background) noexcept
        : m_dc(dc), m_previous(palette ? ::SelectPalette(dc, palette, background) : nullptr) {}
    unique_select_palette(const unique_select_palette&) = delete;
    unique_select_palette& operator=(const unique_select_palette&) = delete;
    ~unique_select_palette() {
        if (m_previous) ::SelectPalette(m_dc, m_previous, TRUE);
    }

private:
    HDC m_dc;
    HPALETTE m_previous;
};

// A VARIANT that is cleared when it goes. It is a VARIANT, so its address
// goes wherever one is wanted; moving hands the value over and leaves the
// source empty. A by-reference value (VT_BYREF) only points at its target:
// clearing it frees nothing.
class unique_variant : public VARIANT {
public:
    unique_variant() noexcept { ::VariantInit(this); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    unique_variant(unique_variant&& other) noexcept : VARIANT(other) { ::VariantInit(&other); }
    unique_variant& operator=(unique_variant&& other) noexcept {
        if (this != &other) {
            ::VariantClear(this);
            *static_cast<VARIANT*>(this) = other;
            ::VariantInit(&other);
        }
        return *this;
    }
    ~unique_variant() { ::VariantClear(this); }

    // Adopts a value the caller owns; the caller must not clear it again.
    [[nodiscard]] static unique_variant attach(const VARIANT& owned) noexcept {
        unique_variant value;
        *static_cast<VARIANT*>(&value) = owned;
        return value;
    }
    void reset() noexcept { ::VariantClear(this); }
    // Address for an out parameter; clears what was held.
    [[nodiscard]] VARIANT* put() noexcept { ::VariantClear(this); return this; }
    // Hands the value to the caller, who then owns it; this is left empty.
    [[nodiscard]] VARIANT release() noexcept {
        const VARIANT value = *this;
        ::VariantInit(this);
        return value;
    }
    // Replaces the value with a deep copy of `source` (VariantCopy).
    [[nodiscard]] HRESULT CopyFrom(const VARIANT& source) noexcept {
        return ::VariantCopy(this, const_cast<VARIANT*>(&source));
    }
};

}  // namespace zo
