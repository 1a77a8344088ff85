#include "property_list/owner_draw_sink.h"

#include "IPropOwnerDraw.h"
#include "common/handles.h"
#include "common/vb_conversions.h"
#include "common/vb_error.h"
#include "runtime/event_args.h"

namespace zo {

void OwnerDrawSink::Set(IUnknown* sink) noexcept {
    com_ptr<IDispatch> dispatch;
    if (sink) {
        if (FAILED(sink->QueryInterface(IID_IPropOwnerDrawSink, dispatch.put_void())))
            sink->QueryInterface(IID_IDispatch, dispatch.put_void());
    }
    m_sink = std::move(dispatch);
}

void OwnerDrawSink::Invoke(DISPID dispid, EventArgs& args) {
    // The host may clear or replace the sink from inside the call.
    const com_ptr<IDispatch> sink = m_sink;
    if (!sink) return;
    DISPPARAMS params = args.Params();
    EXCEPINFO exception{};
    UINT argError = 0;
    unique_variant result;
    const HRESULT hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                    &exception, &argError);
    if (hr == DISP_E_EXCEPTION) throw VbError::FromExcepInfo(exception);
    // A sink may fill the texts without reporting an exception; they are ours to free.
    const unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
        helpFile(exception.bstrHelpFile);
    if (FAILED(hr)) throw VbError::FromHResult(hr);
}

void OwnerDrawSink::CommitEdit(const std::wstring& controlName) {
    EventArgs args;
    args.String(controlName);
    Invoke(PROPOWNERDRAW_DISPID_COMMITEDIT, args);
}

void OwnerDrawSink::HideEditor(const std::wstring& controlName) {
    EventArgs args;
    args.String(controlName);
    Invoke(PROPOWNERDRAW_DISPID_HIDEEDITOR, args);
}

void OwnerDrawSink::ShowEditor(const std::wstring& controlName, int16_t& index, int32_t left, int32_t top,
                               int32_t width, int32_t height) {
    EventArgs args;
    args.String(controlName).ShortRef(index).Long(left).Long(top).Long(width).Long(height);
    Invoke(PROPOWNERDRAW_DISPID_SHOWEDITOR, args);
}

int32_t OwnerDrawSink::DrawItem(const std::wstring& controlName, int32_t index, bool selected, HDC dc, int32_t top,
                                int32_t right, int32_t bottom) {
    // The interface carries the row as an Integer (a row it cannot name is
    // an Overflow) and the DC as a Long.
    int16_t itemIndex = CInt(index);
    int32_t dcValue = static_cast<int32_t>(reinterpret_cast<INT_PTR>(dc));
    int32_t topValue = top, rightValue = right, bottomValue = bottom;
    EventArgs args;
    args.String(controlName).ShortRef(itemIndex).Bool(selected).LongRef(dcValue).Long(2).LongRef(topValue);
    args.LongRef(rightValue).LongRef(bottomValue);
    Invoke(PROPOWNERDRAW_DISPID_DRAWITEM, args);
    return bottomValue;
}

}  // namespace zo
