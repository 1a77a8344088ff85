// The IUnknown and IDispatch plumbing of an object the controls call only
// through Invoke (the event sink, the owner-draw sink): reference counting,
// QueryInterface for IUnknown, IDispatch and the one interface the object
// stands for, and no type information. Invoke is the derived class's.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>

namespace zo::demo {

template <class Interface>
class DispatchSink : public Interface {
public:
    explicit DispatchSink(const IID& answered) noexcept : m_answered(answered) {}
    DispatchSink(const DispatchSink&) = delete;
    DispatchSink& operator=(const DispatchSink&) = delete;
    virtual ~DispatchSink() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, m_answered))
            return E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }

private:
    std::atomic<ULONG> m_references{1};
    const IID m_answered;
};

}  // namespace zo::demo
