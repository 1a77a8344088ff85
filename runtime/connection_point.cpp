#include "runtime/connection_point.h"

#include <olectl.h>

#include "runtime/com_object.h"
#include "runtime/guarded_call.h"

namespace zo {

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = &m_owner;
    m_owner.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    com_ptr<IUnknown> held;
    // A sink that does not know the event interface by its IID may still
    // take the events as a plain dispatch interface.
    if (FAILED(sink->QueryInterface(m_iid, held.put_void()))) {
        if (IsEqualIID(m_iid, IID_IPropertyNotifySink) ||
            FAILED(sink->QueryInterface(IID_IDispatch, held.put_void())))
            return CONNECT_E_CANNOTCONNECT;
    }
    return GuardedCall(IID_IConnectionPoint, [&] {
        m_sinks.push_back({m_nextCookie, std::move(held)});
        *cookie = m_nextCookie++;
    });
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->cookie == cookie) {
            // Release after the entry is gone: the sink may call back in.
            com_ptr<IUnknown> sink = std::move(it->sink);
            m_sinks.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

void ConnectionPoint::ForEachSink(const std::function<void(IUnknown&)>& call) const {
    std::vector<com_ptr<IUnknown>> sinks;
    sinks.reserve(m_sinks.size());
    for (const Connection& connection : m_sinks) sinks.push_back(connection.sink);
    for (const com_ptr<IUnknown>& sink : sinks) call(*sink.get());
}

namespace {

class ConnectionPointEnumerator final : public ComObject<IEnumConnectionPoints> {
public:
    ConnectionPointEnumerator(IUnknown& owner, std::vector<IConnectionPoint*> points, size_t position)
        : m_owner(&owner), m_points(std::move(points)), m_position(position) {}

    STDMETHODIMP Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        ULONG done = 0;
        while (done < count && m_position < m_points.size()) {
            out[done] = m_points[m_position++];
            out[done]->AddRef();
            ++done;
        }
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        m_position += count;
        if (m_position > m_points.size()) {
            m_position = m_points.size();
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return GuardedCall(IID_IEnumConnectionPoints,
                           [&] { *out = new ConnectionPointEnumerator(*m_owner.get(), m_points, m_position); });
    }

private:
    com_ptr<IUnknown> m_owner;  // keeps the points alive
    std::vector<IConnectionPoint*> m_points;
    size_t m_position;
};

}  // namespace

HRESULT CreateConnectionPointEnumerator(IUnknown& owner, std::vector<IConnectionPoint*> points,
                                        IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = new ConnectionPointEnumerator(owner, std::move(points), 0);
    return S_OK;
}

}  // namespace zo
