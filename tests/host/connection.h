// One advise on a control's connection point, undone when it goes.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "common/com_ptr.h"

namespace zo::test {

class Connection {
public:
    Connection() noexcept = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { (void)Disconnect(); }

    // IConnectionPointContainer::FindConnectionPoint(iid), then Advise(sink).
    // Any earlier advise is undone first.
    [[nodiscard]] HRESULT Connect(IUnknown* source, REFIID iid, IUnknown* sink);
    // Unadvise; S_FALSE when there was nothing to undo.
    HRESULT Disconnect() noexcept;

    [[nodiscard]] bool connected() const noexcept { return m_point != nullptr; }
    [[nodiscard]] DWORD cookie() const noexcept { return m_cookie; }
    [[nodiscard]] IConnectionPoint* point() const noexcept { return m_point.get(); }

private:
    com_ptr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

}  // namespace zo::test
