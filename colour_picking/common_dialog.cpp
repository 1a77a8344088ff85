#include "colour_picking/common_dialog.h"

#include "common/ole_colour.h"
#include "runtime/module.h"

namespace zo {

namespace {

// These flags make the dialog call a hook or load a template through the
// record's lpfnHook, hInstance and lpTemplateName, which this wrapper never
// fills: with them the dialog would call a null hook or read the module's
// header as a dialog template.
constexpr DWORD kUnsupportedFlags = CC_ENABLEHOOK | CC_ENABLETEMPLATE | CC_ENABLETEMPLATEHANDLE;

constexpr COLORREF kWhite = 0x00FFFFFF;

bool IsCustomIndex(int index) noexcept { return index >= 0 && index < CommonDialog::kCustomColourCount; }

}  // namespace

CommonDialog::CommonDialog() noexcept { m_customColours.fill(kWhite); }

std::int32_t CommonDialog::CustomColors(int index) const noexcept {
    return IsCustomIndex(index) ? static_cast<std::int32_t>(m_customColours[static_cast<size_t>(index)]) : 0;
}

void CommonDialog::SetCustomColors(int index, std::int32_t colour) noexcept {
    if (IsCustomIndex(index)) m_customColours[static_cast<size_t>(index)] = static_cast<COLORREF>(colour);
}

std::int32_t CommonDialog::ShowColor(std::int32_t initColor) noexcept {
    CHOOSECOLORW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = ::GetActiveWindow();
    record.hInstance = reinterpret_cast<HWND>(ModuleInstance());
    // A system colour (high bit set) is no RGB value: start on the colour it
    // names.
    const auto initial = static_cast<OLE_COLOR>(initColor);
    record.rgbResult = IsSystemColour(initial) ? TranslateColour(initial) : static_cast<COLORREF>(initColor);
    record.lpCustColors = m_customColours.data();
    record.Flags = (m_flags | kAlwaysFlags) & ~kUnsupportedFlags;
    m_color = ::ChooseColorW(&record) ? static_cast<std::int32_t>(record.rgbResult) : -1;
    return m_color;
}

}  // namespace zo
