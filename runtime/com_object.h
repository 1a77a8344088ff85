// IUnknown for the library's small single-interface COM objects (sinks,
// enumerators, helper sites, property bags): QueryInterface answers IUnknown
// and the one interface, the count starts at one (the creator's, taken over
// with com_ptr::attach) and the object deletes itself at zero. A live object
// keeps the module loaded.
#pragma once

#include <unknwn.h>

#include "runtime/module.h"

namespace zo {

template <typename Interface>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

protected:
    ComObject() noexcept { ModuleAddRef(); }
    virtual ~ComObject() { ModuleRelease(); }

private:
    LONG m_refs = 1;
};

}  // namespace zo
