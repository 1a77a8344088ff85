// The demo's shape takes a row's text or refuses it with a reason; a refused
// text changes nothing (the inspector then cancels the list's ValueChanged).
#include <gtest/gtest.h>

#include <string>

#include "demo/shape_model.h"

namespace zo::demo {
namespace {

TEST(ShapeModel, TakesWhatFitsAndRefusesTheRestUnchanged) {
    struct Case {
        const wchar_t* property;
        std::wstring text;
        bool taken;
        std::wstring shown;  // the property's text afterwards
    };
    const Case cases[] = {
        {shape_property::kWidth, L"300", true, L"300"},
        {shape_property::kWidth, L" 41 ", true, L"41"},
        {shape_property::kWidth, L"900", false, L"270"},
        {shape_property::kWidth, L"12.5", false, L"270"},
        {shape_property::kWidth, L"", false, L"270"},
        {shape_property::kHeight, L"29", false, L"150"},
        {shape_property::kFontSize, L"48", true, L"48"},
        {shape_property::kFontSize, L"1,5", false, L"14"},
        {shape_property::kBorderWidth, L"0", false, L"3"},
        {shape_property::kCaption, std::wstring(40, L'x'), true, std::wstring(40, L'x')},
        {shape_property::kCaption, std::wstring(41, L'x'), false, L"Quarterly report"},
        {shape_property::kVisible, L"false", true, L"False"},
        {shape_property::kVisible, L"no", false, L"True"},
        {shape_property::kBorderStyle, L"dash dot", true, L"Dash dot"},
        {shape_property::kBorderStyle, L"Wavy", false, L"Solid"},
        {shape_property::kOutline, L"ELLIPSE", true, L"Ellipse"},
        {shape_property::kFont, L"courier new", true, L"Courier New"},
        {shape_property::kFont, L"Missing Sans", false, L"Tahoma"},
        {shape_property::kFill, L"-2147483633", true, L"-2147483633"},
        {shape_property::kFill, L"&HFF", false, L"16113584"},
        {shape_property::kPicture, L"", true, L"(none)"},
        {L"Colour", L"1", false, L""},
    };
    for (const Case& c : cases) {
        ShapeModel model({L"Courier New", L"Tahoma"});
        const std::optional<std::wstring> refusal = model.Apply(c.property, c.text);
        EXPECT_EQ(!refusal, c.taken) << c.property << L" = \"" << c.text << L"\"";
        if (refusal) {
            EXPECT_FALSE(refusal->empty()) << "a refusal says why";
        }
        EXPECT_EQ(model.TextOf(c.property), c.shown) << c.property << L" = \"" << c.text << L"\"";
    }
}

}  // namespace
}  // namespace zo::demo
