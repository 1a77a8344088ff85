// One outgoing interface of a control: the sinks connected to it, and the
// calls that reach them. The point is part of its control and forwards its
// reference counts there.
#pragma once

#include <ocidl.h>

#include <functional>
#include <vector>

#include "common/com_ptr.h"

namespace zo {

class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& owner, REFIID iid) noexcept : m_owner(owner), m_iid(iid) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    // IUnknown (counts go to the owning control)
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner.Release(); }

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    [[nodiscard]] REFIID Iid() const noexcept { return m_iid; }
    [[nodiscard]] bool HasSinks() const noexcept { return !m_sinks.empty(); }

    // Calls every connected sink with its own reference held; the list is
    // copied first so that a sink may connect or disconnect during the call.
    void ForEachSink(const std::function<void(IUnknown&)>& call) const;

    // Drops every connection (the control is closing).
    void DisconnectAll() noexcept { m_sinks.clear(); }

private:
    struct Connection {
        DWORD cookie;
        com_ptr<IUnknown> sink;
    };
    IConnectionPointContainer& m_owner;
    IID m_iid;
    std::vector<Connection> m_sinks;
    DWORD m_nextCookie = 1;
};

// Enumerates a fixed list of connection points of one control.
[[nodiscard]] HRESULT CreateConnectionPointEnumerator(IUnknown& owner, std::vector<IConnectionPoint*> points,
                                                      IEnumConnectionPoints** out);

}  // namespace zo
