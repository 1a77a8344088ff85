#include "demo/shape_model.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

namespace zo::demo {

namespace {

using namespace shape_property;

constexpr ShapeOutline kOutlines[] = {ShapeOutline::Rectangle, ShapeOutline::RoundedRectangle, ShapeOutline::Ellipse};
constexpr BorderStyle kBorderStyles[] = {BorderStyle::Solid, BorderStyle::Dashed, BorderStyle::Dotted,
                                         BorderStyle::DashDot, BorderStyle::None};
// The words of Boolean rows (the control's TextTrue and TextFalse).
constexpr wchar_t kTrue[] = L"True";
constexpr wchar_t kFalse[] = L"False";

bool SameText(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

std::wstring_view Trimmed(std::wstring_view text) noexcept {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    return text;
}

// A whole number, the whole text; nothing for "12.5", "1,2", "" or "x".
std::optional<long> WholeNumber(std::wstring_view text) {
    const std::wstring digits(Trimmed(text));
    if (digits.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const long number = std::wcstol(digits.c_str(), &end, 10);
    if (errno || *end) return std::nullopt;
    return number;
}

std::optional<std::wstring> ApplyNumber(int& target, std::wstring_view text, const wchar_t* what, int low,
                                        int high) {
    const std::optional<long> number = WholeNumber(text);
    if (!number || *number < low || *number > high)
        return std::wstring(what) + L" must be a whole number from " + std::to_wstring(low) + L" to " +
               std::to_wstring(high) + L"; \"" + std::wstring(text) + L"\" is not.";
    target = static_cast<int>(*number);
    return std::nullopt;
}

std::optional<std::wstring> ApplyFlag(bool& target, std::wstring_view text, const wchar_t* what) {
    if (!SameText(text, kTrue) && !SameText(text, kFalse))
        return std::wstring(what) + L" is either True or False.";
    target = SameText(text, kTrue);
    return std::nullopt;
}

// A colour row holds the decimal text of an OLE colour (negative for a
// system colour).
std::optional<std::wstring> ApplyColour(OLE_COLOR& target, std::wstring_view text, const wchar_t* what) {
    const std::optional<long> number = WholeNumber(text);
    if (!number) return std::wstring(what) + L" must be a colour number.";
    target = static_cast<OLE_COLOR>(*number);
    return std::nullopt;
}

template <typename Enum, size_t N>
std::optional<std::wstring> ApplyChoice(Enum& target, std::wstring_view text, const Enum (&values)[N],
                                        const wchar_t* (*nameOf)(Enum), const wchar_t* what) {
    for (const Enum value : values) {
        if (SameText(text, nameOf(value))) {
            target = value;
            return std::nullopt;
        }
    }
    return std::wstring(what) + L" has no choice \"" + std::wstring(text) + L"\"; pick one from its list.";
}

std::wstring ColourText(OLE_COLOR colour) { return std::to_wstring(static_cast<long>(colour)); }

}  // namespace

const wchar_t* OutlineName(ShapeOutline outline) noexcept {
    switch (outline) {
        case ShapeOutline::Rectangle: return L"Rectangle";
        case ShapeOutline::RoundedRectangle: return L"Rounded rectangle";
        case ShapeOutline::Ellipse: return L"Ellipse";
    }
    return L"";
}

const wchar_t* BorderStyleName(BorderStyle style) noexcept {
    switch (style) {
        case BorderStyle::Solid: return L"Solid";
        case BorderStyle::Dashed: return L"Dashed";
        case BorderStyle::Dotted: return L"Dotted";
        case BorderStyle::DashDot: return L"Dash dot";
        case BorderStyle::None: return L"None";
    }
    return L"";
}

ShapeModel::ShapeModel(std::vector<std::wstring> fontFamilies) : m_fontFamilies(std::move(fontFamilies)) {}

std::wstring ShapeModel::TextOf(std::wstring_view property) const {
    const Shape& s = m_shape;
    if (property == kCaption) return s.caption;
    if (property == kFont) return s.fontName;
    if (property == kFontSize) return std::to_wstring(s.fontSize);
    if (property == kBold) return s.bold ? kTrue : kFalse;
    if (property == kFill) return ColourText(s.fill);
    if (property == kPicture) return s.picture;
    if (property == kBorderColour) return ColourText(s.border);
    if (property == kBorderStyle) return BorderStyleName(s.borderStyle);
    if (property == kBorderWidth) return std::to_wstring(s.borderWidth);
    if (property == kOutline) return OutlineName(s.outline);
    if (property == kVisible) return s.visible ? kTrue : kFalse;
    if (property == kWidth) return std::to_wstring(s.width);
    if (property == kHeight) return std::to_wstring(s.height);
    return {};
}

std::optional<std::wstring> ShapeModel::Apply(std::wstring_view property, std::wstring_view text) {
    Shape& s = m_shape;
    if (property == kCaption) {
        if (text.size() > kMaxCaptionLength)
            return L"A caption has at most " + std::to_wstring(kMaxCaptionLength) + L" characters.";
        s.caption = text;
        return std::nullopt;
    }
    if (property == kFont) {
        for (const std::wstring& family : m_fontFamilies) {
            if (SameText(text, family)) {
                s.fontName = family;
                return std::nullopt;
            }
        }
        return L"No font \"" + std::wstring(text) + L"\" is installed.";
    }
    if (property == kFontSize) return ApplyNumber(s.fontSize, text, L"Font size", kMinFontSize, kMaxFontSize);
    if (property == kBold) return ApplyFlag(s.bold, text, L"Bold");
    if (property == kFill) return ApplyColour(s.fill, text, L"Fill colour");
    if (property == kPicture) {
        s.picture = Trimmed(text).empty() ? std::wstring(kNoPicture) : std::wstring(text);
        return std::nullopt;
    }
    if (property == kBorderColour) return ApplyColour(s.border, text, L"Border colour");
    if (property == kBorderStyle) return ApplyChoice(s.borderStyle, text, kBorderStyles, BorderStyleName, L"Border style");
    if (property == kBorderWidth)
        return ApplyNumber(s.borderWidth, text, L"Border width", kMinBorderWidth, kMaxBorderWidth);
    if (property == kOutline) return ApplyChoice(s.outline, text, kOutlines, OutlineName, L"Outline");
    if (property == kVisible) return ApplyFlag(s.visible, text, L"Visible");
    if (property == kWidth) return ApplyNumber(s.width, text, L"Width", kMinWidth, kMaxWidth);
    if (property == kHeight) return ApplyNumber(s.height, text, L"Height", kMinHeight, kMaxHeight);
    return L"The shape has no property \"" + std::wstring(property) + L"\".";
}

std::vector<std::wstring> ShapeModel::ChoicesFor(std::wstring_view property) const {
    std::vector<std::wstring> choices;
    if (property == kOutline)
        for (const ShapeOutline outline : kOutlines) choices.emplace_back(OutlineName(outline));
    if (property == kBorderStyle)
        for (const BorderStyle style : kBorderStyles) choices.emplace_back(BorderStyleName(style));
    if (property == kFont) choices = m_fontFamilies;
    return choices;
}

}  // namespace zo::demo
