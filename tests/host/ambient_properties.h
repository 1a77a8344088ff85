// The ambient properties a test container answers through its site's
// IDispatch, configurable per container.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <map>
#include <string>

#include "common/com_ptr.h"
#include "tests/host/variant.h"

namespace zo::test {

enum class AmbientSupply {
    All,         // answers the properties below
    None,        // the site has IDispatch but every ambient is DISP_E_MEMBERNOTFOUND
    NoDispatch,  // the site does not even answer QueryInterface for IDispatch
};

struct AmbientProperties {
    AmbientSupply supply = AmbientSupply::All;
    bool userMode = true;
    std::wstring displayName = L"PropertyList1";
    com_ptr<IFontDisp> font;  // DefaultAmbientFont() unless a test sets another
    OLE_COLOR backColor = 0x80000005;  // window background (COLOR_WINDOW)
    OLE_COLOR foreColor = 0x80000008;  // window text (COLOR_WINDOWTEXT)
    LCID localeId = 0x0409;
    bool uiDead = false;
    bool messageReflect = false;
    bool showGrabHandles = false;
    bool showHatching = false;
    bool supportsMnemonics = true;
    short appearance = 1;  // 3D
    // Any other ambient a test wants answered, or a different value for one
    // above; consulted first.
    std::map<DISPID, Variant> custom;

    // Fills `result` with the ambient `dispid`; DISP_E_MEMBERNOTFOUND for one
    // this container does not supply (or for all of them under AmbientSupply::None).
    [[nodiscard]] HRESULT Read(DISPID dispid, VARIANT* result) const;
};

// "MS Sans Serif", 8.25 pt, regular: the font a form gives its controls.
[[nodiscard]] com_ptr<IFontDisp> DefaultAmbientFont();
// A new font object with the given face, size in points and weight.
[[nodiscard]] com_ptr<IFontDisp> MakeFont(const wchar_t* face, double points, short weight = FW_NORMAL,
                                          bool italic = false);

// The ambient's name ("UserMode") for DISPID_AMBIENT_USERMODE etc.; empty when unknown.
[[nodiscard]] std::wstring AmbientName(DISPID dispid);
// DISPID_UNKNOWN when `name` is not an ambient this container knows.
[[nodiscard]] DISPID AmbientDispId(const wchar_t* name);

}  // namespace zo::test
