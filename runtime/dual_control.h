// The IUnknown and IDispatch of a public control's dual interface, written
// once. A control derives from DualControl<its dual interface> instead of
// from ActiveXControl and the interface side by side:
//
//   class PropertyList final : public DualControl<_PropertyList>, ... {
//       PropertyList() : DualControl(kPropertyListClass) {}
//   };
//
// IUnknown goes to the control base, so every interface shares one identity
// and one count; IDispatch is served from the embedded type library, so
// DISPIDs, optional arguments, defaults and by-reference arguments are
// exactly those declared.
#pragma once

#include "common/com_ptr.h"
#include "runtime/activex_control.h"
#include "runtime/guarded_call.h"
#include "runtime/type_library.h"

namespace zo {

template <typename Dual>
class DualControl : public ActiveXControl, public Dual {
public:
    // IUnknown, shared by ActiveXControl's interfaces and the dual interface.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return ActiveXControl::QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return ActiveXControl::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return ActiveXControl::Release(); }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return DualTypeInfo(__uuidof(Dual), index, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DualIdsOfNames(__uuidof(Dual), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        // The host may release its last reference from inside an event raised
        // by this call; keep the control alive until the call returns.
        com_ptr<IUnknown> self(static_cast<Dual*>(this));
        return GuardedInvoke(__uuidof(Dual), exception,
                             [&] { return InvokeMember(id, flags, params, result, exception, argError); });
    }

protected:
    explicit DualControl(const ControlClassInfo& info) : ActiveXControl(info) {}
    ~DualControl() override = default;

    IDispatch* DefaultDispatch() noexcept override { return static_cast<Dual*>(this); }

    // Dispatches one call through the type library. The hook for a control
    // whose members need the caller's arguments completed first: it overrides
    // this and calls DualControl::InvokeMember with DISPPARAMS of its own. It
    // runs inside Invoke's error boundary, so it may throw.
    virtual HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                 UINT* argError) {
        return DualInvoke(__uuidof(Dual), static_cast<Dual*>(this), id, flags, params, result, exception, argError);
    }
};

}  // namespace zo
