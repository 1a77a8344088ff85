// The item members of the dispatch interface. The per-row members catch
// their own errors and show them in a message box; the others raise them to
// the caller.
#include "common/vb_conversions.h"
#include "property_list/property_list.h"
#include "runtime/bstr_text.h"
#include "runtime/message_box.h"
#include "runtime/skipping.h"

namespace zo {

namespace {
void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw std::bad_alloc();
}
}  // namespace

void PropertyList::ShowItemError(const VbError& error, const wchar_t* title) const {
    ShowMessageBox(Surface().hWnd(), error.description, MB_ICONINFORMATION,
                   title ? std::wstring_view(title) : kDefaultMessageBoxTitle);
}

// Runs a per-row member: a failure is shown, never raised.
template <typename Body>
static HRESULT RowMember(const PropertyList& control, Body&& body, void (PropertyList::*show)(const VbError&,
                                                                                           const wchar_t*) const) {
    try {
        body();
    } catch (const VbError& error) {
        (control.*show)(error, nullptr);
    } catch (...) {
        return ResultOfCurrentException(IID__PropertyList);
    }
    return S_OK;
}

STDMETHODIMP PropertyList::Add(BSTR Name, BSTR Content, VARIANT_BOOL ReadOnly, ItemTypes ItemType, short Index) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] {
        AddItem(TextOf(Name), TextOf(Content), ReadOnly != VARIANT_FALSE, ItemType, Index);
    });
}

STDMETHODIMP PropertyList::get_ListCount(short* result) {
    if (!result) return E_POINTER;
    return GuardedCall(IID__PropertyList, [&] { *result = m_rows.CountForInterface(); });
}

STDMETHODIMP PropertyList::Remove(short Index) {
    const com_ptr<IUnknown> self = KeepAlive();
    // Nothing a removal meets reaches the caller.
    Skipping([&] { RemoveItem(Index); });
    return S_OK;
}

STDMETHODIMP PropertyList::Clear() {
    return GuardedCall(IID__PropertyList, [&] { ClearItems(); });
}

STDMETHODIMP PropertyList::get_Item(short Index, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return RowMember(*this, [&] { ThrowIfFailed(NewBstr(m_rows.At(Index).Name(), result)); }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::put_Item(short Index, BSTR value) {
    return RowMember(*this, [&] {
        m_rows.At(Index).SetName(TextOf(value));
        DrawList();
    }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::get_Value(short Index, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return RowMember(*this, [&] { ThrowIfFailed(NewBstr(m_rows.At(Index).Value(), result)); }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::put_Value(short Index, BSTR value) {
    const com_ptr<IUnknown> self = KeepAlive();
    try {
        StoreValue(Index, TextOf(value));
    } catch (const VbError& error) {
        if (error.Number() != vb_error::kClientSiteNotAvailable) ShowItemError(error, L"ZoPropList.Value");
    } catch (...) {
        return ResultOfCurrentException(IID__PropertyList);
    }
    return S_OK;
}

STDMETHODIMP PropertyList::get_ItemType(short* Index, ItemTypes* result) {
    if (!Index || !result) return E_POINTER;
    *result = ZoPropStringValue;
    return RowMember(*this, [&] { *result = static_cast<ItemTypes>(m_rows.At(*Index).ItemType); },
                     &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::put_ItemType(short* Index, ItemTypes value) {
    if (!Index) return E_POINTER;
    const com_ptr<IUnknown> self = KeepAlive();
    return RowMember(*this, [&] {
        m_rows.At(*Index).ItemType = value;
        RefreshEditors();
        if (HWND window = Surface().hWnd()) {
            RECT client{};
            ::GetClientRect(window, &client);
            ::InvalidateRect(window, &client, TRUE);
        }
    }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::get_ReadOnly(short Index, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = VARIANT_FALSE;
    return RowMember(*this, [&] { *result = m_rows.At(Index).ReadOnly ? VARIANT_TRUE : VARIANT_FALSE; },
                     &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::put_ReadOnly(short Index, VARIANT_BOOL value) {
    return RowMember(*this, [&] { m_rows.At(Index).ReadOnly = value != VARIANT_FALSE; }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::get_ItemData(short* Index, VARIANT* result) {
    if (!Index || !result) return E_POINTER;
    ::VariantInit(result);
    return RowMember(*this, [&] {
        const VARIANT* data = m_rows.ItemDataOf(m_rows.At(*Index));
        if (!data) return;
        const HRESULT hr = ::VariantCopy(result, const_cast<VARIANT*>(data));
        if (FAILED(hr)) throw VbError::FromHResult(hr);
    }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::put_ItemData(short* Index, VARIANT value) {
    if (!Index) return E_POINTER;
    return RowMember(*this, [&] {
        PropItem& item = m_rows.At(*Index);
        // A by-reference argument is stored as the value it refers to.
        const HRESULT hr = ::VariantCopyInd(&m_rows.ItemDataFor(item), &value);
        if (FAILED(hr)) throw VbError::FromHResult(hr);
    }, &PropertyList::ShowItemError);
}

STDMETHODIMP PropertyList::get_Selected(short* result) {
    if (!result) return E_POINTER;
    return GuardedCall(IID__PropertyList, [&] { *result = m_rows.SelectedForInterface(); });
}

STDMETHODIMP PropertyList::put_Selected(short value) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] { SetSelected(value); });
}

STDMETHODIMP PropertyList::get_TopIndex(short* result) {
    if (!result) return E_POINTER;
    return GuardedCall(IID__PropertyList, [&] { *result = CInt(Vsb().Value()); });
}

STDMETHODIMP PropertyList::put_TopIndex(short value) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] {
        static_cast<void>(Vsb());  // design time has no scroll bar: error 91
        ScrollTo(value);
    });
}

STDMETHODIMP PropertyList::get_HoldDraw(VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = m_holdDraw ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP PropertyList::put_HoldDraw(VARIANT_BOOL value) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] { SetHoldDraw(value != VARIANT_FALSE); });
}

STDMETHODIMP PropertyList::get_LongestItem(LONG* result) {
    if (!result) return E_POINTER;
    *result = m_rows.LongestItem();
    return S_OK;
}

STDMETHODIMP PropertyList::put_LongestItem(LONG) {
    return GuardedCall(IID__PropertyList, [] {
        throw VbError::Object(static_cast<HRESULT>(0x80040001), L"PropertyList.LongestItem",
                              L"Property Let not supported.");
    });
}

STDMETHODIMP PropertyList::get_TextTrue(BSTR* result) {
    if (!result) return E_POINTER;
    return NewBstr(m_rows.TextTrue(), result);
}

STDMETHODIMP PropertyList::put_TextTrue(BSTR value) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] { SetTextTrue(TextOf(value)); });
}

STDMETHODIMP PropertyList::get_TextFalse(BSTR* result) {
    if (!result) return E_POINTER;
    return NewBstr(m_rows.TextFalse(), result);
}

STDMETHODIMP PropertyList::put_TextFalse(BSTR value) {
    const com_ptr<IUnknown> self = KeepAlive();
    return GuardedCall(IID__PropertyList, [&] { SetTextFalse(TextOf(value)); });
}

}  // namespace zo
