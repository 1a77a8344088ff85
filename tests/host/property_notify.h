// PropertyNotifyRecorder: an IPropertyNotifySink on a control's
// IID_IPropertyNotifySink connection point, recording what changed.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/connection.h"

namespace zo::test {

class PropertyNotifyRecorder {
public:
    PropertyNotifyRecorder();
    PropertyNotifyRecorder(const PropertyNotifyRecorder&) = delete;
    PropertyNotifyRecorder& operator=(const PropertyNotifyRecorder&) = delete;
    ~PropertyNotifyRecorder();

    [[nodiscard]] HRESULT Connect(IUnknown* control);
    HRESULT Disconnect();
    [[nodiscard]] bool Connected() const noexcept { return m_connection.connected(); }

    // OnChanged DISPIDs in order (DISPID_UNKNOWN when the control does not say which).
    [[nodiscard]] const std::vector<DISPID>& Changes() const noexcept;
    [[nodiscard]] size_t Count(DISPID dispid) const;
    // OnRequestEdit DISPIDs in order.
    [[nodiscard]] const std::vector<DISPID>& EditRequests() const noexcept;
    // What OnRequestEdit answers: S_OK allows the change, S_FALSE refuses it.
    void SetRequestEditAnswer(HRESULT answer) noexcept;
    void Clear();

    [[nodiscard]] IPropertyNotifySink* Sink() const noexcept { return m_sink.get(); }

    struct State;

private:
    std::shared_ptr<State> m_state;
    com_ptr<IPropertyNotifySink> m_sink;
    Connection m_connection;
};

}  // namespace zo::test
