#include "runtime/event_args.h"

#include <algorithm>
#include <cstring>

#include "runtime/connection_point.h"
#include "runtime/guarded_call.h"

namespace zo {

VARIANT& EventArgs::Push() {
    // Room in the reversed view first, so that Params() never allocates.
    m_reversed.reserve(m_args.size() + 1);
    VARIANT& arg = m_args.emplace_back();
    m_reversed.emplace_back();
    return arg;
}

EventArgs& EventArgs::String(std::wstring_view text) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *this;
}

EventArgs& EventArgs::Short(int16_t value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_I2;
    V_I2(&arg) = value;
    return *this;
}

EventArgs& EventArgs::Long(int32_t value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = value;
    return *this;
}

EventArgs& EventArgs::Bool(bool value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_BOOL;
    V_BOOL(&arg) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return *this;
}

EventArgs& EventArgs::ShortRef(int16_t& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_I2 | VT_BYREF;
    V_I2REF(&arg) = reinterpret_cast<SHORT*>(&value);
    return *this;
}

EventArgs& EventArgs::LongRef(int32_t& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_I4 | VT_BYREF;
    V_I4REF(&arg) = reinterpret_cast<LONG*>(&value);
    return *this;
}

EventArgs& EventArgs::BoolRef(VARIANT_BOOL& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&arg) = &value;
    return *this;
}

EventArgs& EventArgs::SingleRef(float& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_R4 | VT_BYREF;
    V_R4REF(&arg) = &value;
    return *this;
}

EventArgs& EventArgs::StringRef(BSTR& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&arg) = &value;
    return *this;
}

EventArgs& EventArgs::StringArrayRef(SAFEARRAY*& value) {
    VARIANT& arg = Push();
    V_VT(&arg) = VT_ARRAY | VT_BSTR | VT_BYREF;
    V_ARRAYREF(&arg) = &value;
    return *this;
}

DISPPARAMS EventArgs::Params() noexcept {
    std::copy(m_args.rbegin(), m_args.rend(), m_reversed.begin());
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(m_reversed.size());
    params.rgvarg = m_reversed.empty() ? nullptr : m_reversed.data();
    return params;
}

void EventArgs::ReleaseReplaced() noexcept {
    for (size_t i = 0; i < m_reversed.size(); ++i) {
        const VARIANT& passed = m_args[m_args.size() - 1 - i];
        if (std::memcmp(&m_reversed[i], &passed, sizeof(VARIANT)) != 0) ::VariantClear(&m_reversed[i]);
    }
}

void RaiseEvent(const ConnectionPoint& point, DISPID dispid, EventArgs& args) noexcept {
    // An event that cannot be delivered is dropped; the control goes on.
    (void)GuardedCall(point.Iid(), [&] {
        point.ForEachSink([&](IUnknown& sink) {
            IDispatch& dispatch = static_cast<IDispatch&>(sink);
            DISPPARAMS params = args.Params();
            EXCEPINFO exception{};
            UINT argError = 0;
            unique_variant result;
            dispatch.Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.put(), &exception,
                            &argError);
            args.ReleaseReplaced();
            // What a failing sink reports is of no use to the control.
            const unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
                helpFile(exception.bstrHelpFile);
        });
    });
}

}  // namespace zo
