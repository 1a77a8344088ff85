// The object the demo inspects: a shape with a caption, colours, a border,
// a font, a picture, visibility and a size. Every property is read and
// written as the text a PropertyList row holds; a write that the shape
// cannot take is refused with the reason, and changes nothing.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zo::demo {

// The names of the shape's properties, as the inspector's rows show them.
namespace shape_property {
inline constexpr wchar_t kCaption[] = L"Caption";
inline constexpr wchar_t kFont[] = L"Font";
inline constexpr wchar_t kFontSize[] = L"Font size";
inline constexpr wchar_t kBold[] = L"Bold";
inline constexpr wchar_t kFill[] = L"Fill colour";
inline constexpr wchar_t kPicture[] = L"Picture";
inline constexpr wchar_t kBorderColour[] = L"Border colour";
inline constexpr wchar_t kBorderStyle[] = L"Border style";
inline constexpr wchar_t kBorderWidth[] = L"Border width";
inline constexpr wchar_t kOutline[] = L"Outline";
inline constexpr wchar_t kVisible[] = L"Visible";
inline constexpr wchar_t kWidth[] = L"Width";
inline constexpr wchar_t kHeight[] = L"Height";
}  // namespace shape_property

enum class ShapeOutline { Rectangle, RoundedRectangle, Ellipse };
enum class BorderStyle { Solid, Dashed, Dotted, DashDot, None };

inline constexpr wchar_t kNoPicture[] = L"(none)";

struct Shape {
    std::wstring caption = L"Quarterly report";
    std::wstring fontName = L"Tahoma";
    int fontSize = 14;
    bool bold = true;
    OLE_COLOR fill = 0x00F5DFB0;    // a light blue (&H00BBGGRR)
    OLE_COLOR border = 0x00803000;  // a dark blue
    BorderStyle borderStyle = BorderStyle::Solid;
    int borderWidth = 3;
    ShapeOutline outline = ShapeOutline::RoundedRectangle;
    bool visible = true;
    int width = 270;
    int height = 150;
    std::wstring picture = kNoPicture;  // a file path, or kNoPicture
};

// The limits the shape keeps to, so that it stays on its canvas and legible.
inline constexpr int kMinWidth = 40, kMaxWidth = 320;
inline constexpr int kMinHeight = 30, kMaxHeight = 240;
inline constexpr int kMinFontSize = 6, kMaxFontSize = 48;
inline constexpr int kMinBorderWidth = 1, kMaxBorderWidth = 8;
inline constexpr size_t kMaxCaptionLength = 40;

class ShapeModel {
public:
    // `fontFamilies`: the font names the Font property accepts.
    explicit ShapeModel(std::vector<std::wstring> fontFamilies);

    [[nodiscard]] const Shape& Get() const noexcept { return m_shape; }

    // The property's value as the row shows it; "" for an unknown name.
    [[nodiscard]] std::wstring TextOf(std::wstring_view property) const;
    // Stores `text` in the property, or returns why it cannot be stored.
    [[nodiscard]] std::optional<std::wstring> Apply(std::wstring_view property, std::wstring_view text);
    // The entries a list row offers (outlines, border styles, fonts).
    [[nodiscard]] std::vector<std::wstring> ChoicesFor(std::wstring_view property) const;

private:
    Shape m_shape;
    std::vector<std::wstring> m_fontFamilies;
};

[[nodiscard]] const wchar_t* OutlineName(ShapeOutline outline) noexcept;
[[nodiscard]] const wchar_t* BorderStyleName(BorderStyle style) noexcept;

}  // namespace zo::demo
