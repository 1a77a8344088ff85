#include "runtime/fonts.h"

#include <cmath>

#include "common/handles.h"

namespace zo {

namespace {
CY PointsToCurrency(double points) noexcept {
    CY size{};
    size.int64 = std::llround(points * 10000.0);
    return size;
}
}  // namespace

com_ptr<IFont> CreateStdFont(const FontDescription& description) noexcept {
    unique_bstr name(::SysAllocStringLen(description.name.data(), static_cast<UINT>(description.name.size())));
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof(FONTDESC);
    desc.lpstrName = name.get();
    desc.cySize = PointsToCurrency(description.points);
    desc.sWeight = description.weight;
    desc.sCharset = description.charset;
    desc.fItalic = description.italic;
    desc.fUnderline = description.underline;
    desc.fStrikethrough = description.strikethrough;
    com_ptr<IFont> font;
    if (FAILED(::OleCreateFontIndirect(&desc, IID_IFont, font.put_void()))) font.reset();
    return font;
}

com_ptr<IFont> CreateDefaultGuiFont() noexcept {
    LOGFONTW logFont{};
    if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont)) return CreateStdFont({});
    FontDescription description;
    description.name = logFont.lfFaceName;
    unique_hdc_window screen(nullptr);
    const int pixelsPerInch = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    description.points = std::abs(logFont.lfHeight) * 72.0 / pixelsPerInch;
    description.weight = static_cast<short>(logFont.lfWeight);
    description.italic = logFont.lfItalic != 0;
    description.charset = logFont.lfCharSet;
    return CreateStdFont(description);
}

FontDescription DescribeFont(IFont* font) noexcept {
    FontDescription description;
    if (!font) return description;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name) {
        const unique_bstr owned(name);
        description.name.assign(owned.get(), ::SysStringLen(owned.get()));
    }
    CY size{};
    if (SUCCEEDED(font->get_Size(&size))) description.points = static_cast<double>(size.int64) / 10000.0;
    font->get_Weight(&description.weight);
    BOOL flag = FALSE;
    if (SUCCEEDED(font->get_Italic(&flag))) description.italic = flag != FALSE;
    if (SUCCEEDED(font->get_Underline(&flag))) description.underline = flag != FALSE;
    if (SUCCEEDED(font->get_Strikethrough(&flag))) description.strikethrough = flag != FALSE;
    font->get_Charset(&description.charset);
    return description;
}

com_ptr<IFont> CloneFont(IFont* font) noexcept {
    com_ptr<IFont> copy;
    if (font && SUCCEEDED(font->Clone(copy.put()))) return copy;
    return CreateStdFont(DescribeFont(font));
}

bool SameFont(IFont* a, IFont* b) noexcept {
    if (a == b) return true;
    if (!a || !b) return false;
    const FontDescription x = DescribeFont(a);
    const FontDescription y = DescribeFont(b);
    return ::CompareStringOrdinal(x.name.c_str(), -1, y.name.c_str(), -1, TRUE) == CSTR_EQUAL &&
           std::llround(x.points * 10000) == std::llround(y.points * 10000) && x.weight == y.weight &&
           x.italic == y.italic && x.underline == y.underline && x.strikethrough == y.strikethrough &&
           x.charset == y.charset;
}

com_ptr<IFont> FontFrom(IUnknown* object) noexcept {
    com_ptr<IFont> font;
    if (object && FAILED(object->QueryInterface(IID_IFont, font.put_void()))) font.reset();
    return font;
}

HFONT BorrowedFontHandle(IFont* font) noexcept {
    HFONT handle = nullptr;
    if (font && FAILED(font->get_hFont(&handle))) handle = nullptr;
    return handle;
}

}  // namespace zo
