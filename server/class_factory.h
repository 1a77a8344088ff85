// The class factory of one creatable control class.
#pragma once

#include <unknwn.h>

namespace zo {

using CreateInstanceFunction = HRESULT (*)(REFIID iid, void** out);

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(CreateInstanceFunction create) noexcept;
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory();
    LONG m_refs = 1;
    CreateInstanceFunction m_create;
};

}  // namespace zo
