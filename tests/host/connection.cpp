#include "tests/host/connection.h"

#include <utility>

namespace zo::test {

HRESULT Connection::Connect(IUnknown* source, REFIID iid, IUnknown* sink) {
    (void)Disconnect();
    if (!source || !sink) return E_POINTER;
    auto container = com_ptr<IUnknown>(source).query<IConnectionPointContainer>();
    if (!container) return E_NOINTERFACE;
    com_ptr<IConnectionPoint> point;
    HRESULT hr = container->FindConnectionPoint(iid, point.put());
    if (FAILED(hr)) return hr;
    if (!point) return E_POINTER;
    DWORD cookie = 0;
    hr = point->Advise(sink, &cookie);
    if (FAILED(hr)) return hr;
    m_point = std::move(point);
    m_cookie = cookie;
    return S_OK;
}

HRESULT Connection::Disconnect() noexcept {
    if (!m_point) return S_FALSE;
    com_ptr<IConnectionPoint> point = std::move(m_point);
    return point->Unadvise(std::exchange(m_cookie, 0));
}

}  // namespace zo::test
