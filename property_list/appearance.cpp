// Appearance and container members: colours, fonts, border, pointer,
// highlight, editing permission, the popup menu, the owner-draw sink and the
// about box.
#include <olectl.h>

#include <string>

#include "common/twips.h"
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/fonts.h"
#include "runtime/message_box.h"
#include "common/version.h"

namespace zo {

namespace {

HRESULT CopyFontOut(const com_ptr<IFont>& font, IFontDisp** result) {
    *result = nullptr;
    if (!font) return S_OK;
    return font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(result));
}

// A Variant argument that a caller may omit.
bool IsMissing(const VARIANT* value) noexcept {
    return !value || (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND) || V_VT(value) == VT_EMPTY;
}

int32_t VariantToLong(const VARIANT* value) {
    unique_variant converted;
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_R8)))
        throw VbError::Runtime(vb_error::kTypeMismatch);
    return CLng(V_R8(&converted));
}

// The menu handle of a menu object: its "hMenu" property, read late-bound.
HMENU MenuHandleOf(IDispatch* menu) {
    if (!menu) throw VbError::Runtime(vb_error::kObjectNotSet);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"hMenu");
    DISPPARAMS none{};
    unique_variant handle;
    if (FAILED(menu->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) ||
        FAILED(menu->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &handle, nullptr,
                            nullptr)) ||
        FAILED(::VariantChangeType(&handle, &handle, 0, VT_I4)) || !::IsMenu(reinterpret_cast<HMENU>(
                                                                         static_cast<INT_PTR>(V_I4(&handle)))))
        throw VbError::Runtime(vb_error::kInvalidProcedureCall);
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(V_I4(&handle)));
}

}  // namespace

void PropertyList::SetBackColor(OLE_COLOR colour) {
    Surface().SetBackColor(colour);
    m_editors.SetBackColor(colour);
    DrawList();
    PropertyChanged(L"BackColor");
}

void PropertyList::SetForeColor(OLE_COLOR colour) {
    Surface().SetForeColor(colour);
    m_editors.SetForeColor(colour);
    DrawList();
    PropertyChanged(L"ForeColor");
}

void PropertyList::SetFont(com_ptr<IFont> font) {
    if (!font) throw VbError::Runtime(vb_error::kInvalidPropertyValue);
    Surface().SetFont(font);
    const RowGeometry geometry = Geometry();
    m_editors.SetFont(font, geometry.LinePx(), TwipsPerPixelY());
    DrawList();
    PropertyChanged(L"Font");
}

void PropertyList::SetFontHeader(com_ptr<IFont> font) {
    if (!font) throw VbError::Runtime(vb_error::kInvalidPropertyValue);
    m_editors.SetHeaderFont(std::move(font));
    PropertyChanged(L"FontHeader");
}

STDMETHODIMP PropertyList::get_BackColor(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = Surface().BackColor();
    return S_OK;
}

STDMETHODIMP PropertyList::put_BackColor(OLE_COLOR value) {
    return GuardedCall(IID__PropertyList, [&] { SetBackColor(value); });
}

STDMETHODIMP PropertyList::get_ForeColor(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = Surface().ForeColor();
    return S_OK;
}

STDMETHODIMP PropertyList::put_ForeColor(OLE_COLOR value) {
    return GuardedCall(IID__PropertyList, [&] { SetForeColor(value); });
}

STDMETHODIMP PropertyList::get_Enabled(VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = Surface().Enabled() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP PropertyList::put_Enabled(VARIANT_BOOL value) {
    Surface().SetEnabled(value != VARIANT_FALSE);
    PropertyChanged(L"Enabled");
    return S_OK;
}

STDMETHODIMP PropertyList::get_Font(IFontDisp** result) {
    if (!result) return E_POINTER;
    return CopyFontOut(Surface().Font(), result);
}

STDMETHODIMP PropertyList::putref_Font(IFontDisp* value) {
    return GuardedCall(IID__PropertyList, [&] { SetFont(FontFrom(value)); });
}

STDMETHODIMP PropertyList::get_FontHeader(IFontDisp** result) {
    if (!result) return E_POINTER;
    return CopyFontOut(m_editors.HeaderFont(), result);
}

STDMETHODIMP PropertyList::putref_FontHeader(IFontDisp* value) {
    return GuardedCall(IID__PropertyList, [&] { SetFontHeader(FontFrom(value)); });
}

STDMETHODIMP PropertyList::get_BorderStyle(PropBorderStyles* result) {
    if (!result) return E_POINTER;
    *result = static_cast<PropBorderStyles>(Surface().BorderStyle());
    return S_OK;
}

STDMETHODIMP PropertyList::put_BorderStyle(PropBorderStyles value) {
    return GuardedCall(IID__PropertyList, [&] {
        Surface().SetBorderStyle(CInt(static_cast<int32_t>(value)));
        PropertyChanged(L"BorderStyle");
    });
}

STDMETHODIMP PropertyList::get_hWnd(LONG* result) {
    if (!result) return E_POINTER;
    *result = static_cast<LONG>(reinterpret_cast<INT_PTR>(Surface().hWnd()));
    return S_OK;
}

STDMETHODIMP PropertyList::get_MouseIcon(IPictureDisp** result) {
    if (!result) return E_POINTER;
    Surface().MouseIcon().copy_to(result);
    return S_OK;
}

STDMETHODIMP PropertyList::putref_MouseIcon(IPictureDisp* value) {
    Surface().SetMouseIcon(com_ptr<IPictureDisp>(value));
    PropertyChanged(L"MouseIcon");
    return S_OK;
}

STDMETHODIMP PropertyList::get_MousePointer(short* result) {
    if (!result) return E_POINTER;
    *result = Surface().MousePointer();
    return S_OK;
}

STDMETHODIMP PropertyList::put_MousePointer(short value) {
    return GuardedCall(IID__PropertyList, [&] {
        Surface().SetMousePointer(value);
        PropertyChanged(L"MousePointer");
    });
}

STDMETHODIMP PropertyList::get_HighlightColor(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = m_highlightColor;
    return S_OK;
}

STDMETHODIMP PropertyList::put_HighlightColor(OLE_COLOR value) {
    m_highlightColor = value;
    PropertyChanged(L"HighlightColor");
    return S_OK;
}

STDMETHODIMP PropertyList::get_HighlightText(OLE_COLOR* result) {
    if (!result) return E_POINTER;
    *result = m_highlightText;
    return S_OK;
}

STDMETHODIMP PropertyList::put_HighlightText(OLE_COLOR value) {
    m_highlightText = value;
    PropertyChanged(L"HighlightText");
    return S_OK;
}

STDMETHODIMP PropertyList::get_AllowEdit(VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = m_allowEdit ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP PropertyList::put_AllowEdit(VARIANT_BOOL value) {
    m_allowEdit = value != VARIANT_FALSE;
    PropertyChanged(L"AllowEdit");
    return S_OK;
}

STDMETHODIMP PropertyList::PopupMenu(IDispatch** Menu, VARIANT* Flags, VARIANT* x, VARIANT* Y,
                                     VARIANT* DefaultMenu) {
    return GuardedCall(IID__PropertyList, [&] {
        const HMENU menu = MenuHandleOf(Menu ? *Menu : nullptr);
        const UINT flags = IsMissing(Flags) ? 0u : static_cast<UINT>(VariantToLong(Flags));
        POINT at{};
        const bool placed = !IsMissing(x) && !IsMissing(Y);
        if (placed) at = {VariantToLong(x), VariantToLong(Y)};
        // The default entry, shown bold, is named by its command identifier.
        const UINT defaultItem = IsMissing(DefaultMenu) ? 0u : static_cast<UINT>(VariantToLong(DefaultMenu));
        ShowPopupMenu(menu, flags, placed ? &at : nullptr, defaultItem);
    });
}

STDMETHODIMP PropertyList::SetOwnerDrawSink(IPropOwnerDrawSink** sink) {
    if (!sink) return E_POINTER;
    m_ownerDrawSink.Set(*sink);
    return S_OK;
}

STDMETHODIMP PropertyList::ShowAboutBox() {
    std::wstring text = L"ZoPropertyList\nVersion " + std::to_wstring(ZO_VERSION_MAJOR) + L"." +
                        std::to_wstring(ZO_VERSION_MINOR) + L"." + std::to_wstring(ZO_VERSION_REVISION) +
                        L"\n\nCopyright \u00A9 2026 Vantrel. All rights reserved.\n"
                        L"This control is licensed to the developer who installed it.";
    ShowMessageBox(Surface().hWnd(), text, MB_ICONINFORMATION, L"About ZoPropertyList");
    return S_OK;
}

}  // namespace zo
