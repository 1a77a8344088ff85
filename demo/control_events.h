// Receiving a control's events: a plain IDispatch sink on the control's
// default source interface, as a script host connects one, that hands every
// event to the host's handler with its name and arguments.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "common/com_ptr.h"

namespace zo::demo {

// One event as it arrives. The arguments are the control's own (by-reference
// ones included); `Argument(0)` is the first in declaration order.
class ControlEvent {
public:
    ControlEvent(DISPID id, std::wstring name, DISPPARAMS& params) noexcept
        : m_id(id), m_name(std::move(name)), m_params(params) {}

    [[nodiscard]] DISPID Id() const noexcept { return m_id; }
    [[nodiscard]] const std::wstring& Name() const noexcept { return m_name; }
    [[nodiscard]] UINT Count() const noexcept { return m_params.cArgs; }
    // Null when the event has fewer arguments.
    [[nodiscard]] VARIANT* Argument(UINT index) const noexcept;
    // The argument as text ("" when it has none or cannot be read as text).
    [[nodiscard]] std::wstring Text(UINT index) const;
    [[nodiscard]] long Number(UINT index) const;

    // "SelChange(OldSel=-1, NewSel=2)", with `argumentNames` from the type library.
    [[nodiscard]] std::wstring Describe(const std::wstring* argumentNames, UINT nameCount) const;

private:
    DISPID m_id;
    std::wstring m_name;
    DISPPARAMS& m_params;
};

class ControlEventHandler {
public:
    // Runs inside the control's call; may answer by-reference arguments.
    // `description` is the event with its arguments as the log shows them.
    virtual void OnControlEvent(const ControlEvent& event, const std::wstring& description) = 0;

protected:
    ~ControlEventHandler() = default;
};

// Connects a sink to `control`'s default event interface for the life of
// this object. The handler must outlive it.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection() { Disconnect(); }

    void Connect(IUnknown* control, ControlEventHandler& handler);  // throws DemoError
    void Disconnect() noexcept;

private:
    com_ptr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

}  // namespace zo::demo
