#include "tests/host/property_notify.h"

#include <algorithm>
#include <utility>

#include "tests/host/com_object.h"

namespace zo::test {

struct PropertyNotifyRecorder::State {
    std::vector<DISPID> changes;
    std::vector<DISPID> editRequests;
    HRESULT requestEditAnswer = S_OK;
};

namespace {

class PropertyNotifySink final : public IPropertyNotifySink, public ComObject {
public:
    explicit PropertyNotifySink(std::shared_ptr<PropertyNotifyRecorder::State> state) noexcept
        : m_state(std::move(state)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IPropertyNotifySink) return E_NOINTERFACE;
        *object = static_cast<IPropertyNotifySink*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

    STDMETHODIMP OnChanged(DISPID dispid) override {
        m_state->changes.push_back(dispid);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID dispid) override {
        m_state->editRequests.push_back(dispid);
        return m_state->requestEditAnswer;
    }

private:
    std::shared_ptr<PropertyNotifyRecorder::State> m_state;
};

}  // namespace

PropertyNotifyRecorder::PropertyNotifyRecorder()
    : m_state(std::make_shared<State>()),
      m_sink(com_ptr<IPropertyNotifySink>::attach(new PropertyNotifySink(m_state))) {}

PropertyNotifyRecorder::~PropertyNotifyRecorder() { (void)Disconnect(); }

HRESULT PropertyNotifyRecorder::Connect(IUnknown* control) {
    return m_connection.Connect(control, IID_IPropertyNotifySink, m_sink.get());
}

HRESULT PropertyNotifyRecorder::Disconnect() { return m_connection.Disconnect(); }

const std::vector<DISPID>& PropertyNotifyRecorder::Changes() const noexcept { return m_state->changes; }

size_t PropertyNotifyRecorder::Count(DISPID dispid) const {
    return static_cast<size_t>(std::count(m_state->changes.begin(), m_state->changes.end(), dispid));
}

const std::vector<DISPID>& PropertyNotifyRecorder::EditRequests() const noexcept { return m_state->editRequests; }

void PropertyNotifyRecorder::SetRequestEditAnswer(HRESULT answer) noexcept { m_state->requestEditAnswer = answer; }

void PropertyNotifyRecorder::Clear() {
    m_state->changes.clear();
    m_state->editRequests.clear();
}

}  // namespace zo::test
