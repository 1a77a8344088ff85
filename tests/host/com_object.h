// Reference counting for the container's own COM objects, and the two places
// where the test container looks at another object's reference count.
#pragma once

#include <oaidl.h>
#include <unknwn.h>

#include "common/com_ptr.h"

namespace zo::test {

// Base of every COM object the container implements. Objects start with one
// reference, owned by whoever created them (usually through com_ptr::attach).
class ComObject {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

protected:
    ComObject() noexcept = default;
    virtual ~ComObject() = default;
    ULONG AddRefImpl() noexcept { return ++m_refs; }
    ULONG ReleaseImpl() noexcept {
        const ULONG remaining = --m_refs;
        if (remaining == 0) delete this;
        return remaining;
    }

private:
    ULONG m_refs = 1;
};

// An IDispatch (or dual) interface answered by Invoke alone: the container's
// sinks are called by DISPID and describe no type.
template <typename Interface>
class NoTypeInfoDispatch : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
};

// Current reference count of an object, as its own AddRef/Release report it.
[[nodiscard]] inline ULONG RefCount(IUnknown* object) noexcept {
    if (!object) return 0;
    object->AddRef();
    return object->Release();
}

// Drops the reference held by `pointer` and returns what the object reports
// is left: 0 means that this was the last reference and the object is gone.
template <typename T>
[[nodiscard]] ULONG ReleaseLast(com_ptr<T>& pointer) noexcept {
    T* raw = pointer.detach();
    return raw ? raw->Release() : 0;
}

}  // namespace zo::test
