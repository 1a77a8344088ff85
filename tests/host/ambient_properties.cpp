#include "tests/host/ambient_properties.h"

#include <cmath>
#include <cwchar>
#include <iterator>

namespace zo::test {

namespace {

struct AmbientEntry {
    DISPID dispid;
    const wchar_t* name;
};

constexpr AmbientEntry kAmbients[] = {
    {DISPID_AMBIENT_BACKCOLOR, L"BackColor"},
    {DISPID_AMBIENT_DISPLAYNAME, L"DisplayName"},
    {DISPID_AMBIENT_FONT, L"Font"},
    {DISPID_AMBIENT_FORECOLOR, L"ForeColor"},
    {DISPID_AMBIENT_LOCALEID, L"LocaleID"},
    {DISPID_AMBIENT_MESSAGEREFLECT, L"MessageReflect"},
    {DISPID_AMBIENT_SCALEUNITS, L"ScaleUnits"},
    {DISPID_AMBIENT_TEXTALIGN, L"TextAlign"},
    {DISPID_AMBIENT_USERMODE, L"UserMode"},
    {DISPID_AMBIENT_UIDEAD, L"UIDead"},
    {DISPID_AMBIENT_SHOWGRABHANDLES, L"ShowGrabHandles"},
    {DISPID_AMBIENT_SHOWHATCHING, L"ShowHatching"},
    {DISPID_AMBIENT_DISPLAYASDEFAULT, L"DisplayAsDefault"},
    {DISPID_AMBIENT_SUPPORTSMNEMONICS, L"SupportsMnemonics"},
    {DISPID_AMBIENT_AUTOCLIP, L"AutoClip"},
    {DISPID_AMBIENT_APPEARANCE, L"Appearance"},
    {DISPID_AMBIENT_PALETTE, L"Palette"},
};

void SetBool(VARIANT* result, bool value) {
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetColor(VARIANT* result, OLE_COLOR value) {
    // Handed out as a Long: a system colour (high bit set) must survive a
    // conversion to the signed type a control stores it in.
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(value);
}

}  // namespace

HRESULT AmbientProperties::Read(DISPID dispid, VARIANT* result) const {
    if (!result) return E_POINTER;
    ::VariantInit(result);
    if (supply != AmbientSupply::All) return DISP_E_MEMBERNOTFOUND;
    if (auto value = custom.find(dispid); value != custom.end())
        return ::VariantCopy(result, const_cast<VARIANT*>(&value->second.get()));
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE: SetBool(result, userMode); return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocStringLen(displayName.data(), static_cast<UINT>(displayName.size()));
        return result->bstrVal ? S_OK : E_OUTOFMEMORY;
    case DISPID_AMBIENT_FONT:
        if (!font) return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_DISPATCH;
        font.copy_to(reinterpret_cast<IFontDisp**>(&result->pdispVal));
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR: SetColor(result, backColor); return S_OK;
    case DISPID_AMBIENT_FORECOLOR: SetColor(result, foreColor); return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(localeId);
        return S_OK;
    case DISPID_AMBIENT_UIDEAD: SetBool(result, uiDead); return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT: SetBool(result, messageReflect); return S_OK;
    case DISPID_AMBIENT_SHOWGRABHANDLES: SetBool(result, showGrabHandles); return S_OK;
    case DISPID_AMBIENT_SHOWHATCHING: SetBool(result, showHatching); return S_OK;
    case DISPID_AMBIENT_SUPPORTSMNEMONICS: SetBool(result, supportsMnemonics); return S_OK;
    case DISPID_AMBIENT_APPEARANCE:
        result->vt = VT_I2;
        result->iVal = appearance;
        return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

com_ptr<IFontDisp> MakeFont(const wchar_t* face, double points, short weight, bool italic) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.lpstrName = const_cast<LPOLESTR>(face);
    description.cySize.int64 = std::llround(points * 10000.0);
    description.sWeight = weight;
    description.sCharset = ANSI_CHARSET;
    description.fItalic = italic;
    com_ptr<IFontDisp> font;
    if (FAILED(::OleCreateFontIndirect(&description, IID_IFontDisp, font.put_void()))) return nullptr;
    return font;
}

com_ptr<IFontDisp> DefaultAmbientFont() { return MakeFont(L"MS Sans Serif", 8.25); }

std::wstring AmbientName(DISPID dispid) {
    for (const AmbientEntry& entry : kAmbients)
        if (entry.dispid == dispid) return entry.name;
    return {};
}

DISPID AmbientDispId(const wchar_t* name) {
    for (const AmbientEntry& entry : kAmbients)
        if (name && _wcsicmp(entry.name, name) == 0) return entry.dispid;
    return DISPID_UNKNOWN;
}

}  // namespace zo::test
