#include "runtime/embedded_site.h"

#include <new>

#include "runtime/com_object.h"

namespace zo {

namespace {

class EmbeddedSite final : public ComObject<IOleClientSite> {
public:
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

}  // namespace

com_ptr<IOleClientSite> CreateEmbeddedSite() noexcept {
    return com_ptr<IOleClientSite>::attach(new (std::nothrow) EmbeddedSite());
}

}  // namespace zo
