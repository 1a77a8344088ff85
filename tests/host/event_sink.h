// EventRecorder: a connection-point sink for a control's event interface that
// records every event with its arguments and lets a test answer events the way
// a host's handlers do (set Cancel, fill a list, call back into the control).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/connection.h"
#include "tests/host/variant.h"

namespace zo::test {

struct EventCall {
    DISPID dispid = DISPID_UNKNOWN;
    std::wstring name;  // from the control's type information, empty when unknown
    // Argument values as the event began, in call order (the reverse of
    // rgvarg); by-reference arguments are recorded by value.
    std::vector<Variant> args;
};

// The live arguments of one event, in call order, for a handler.
class EventArgs {
public:
    explicit EventArgs(DISPPARAMS* params) noexcept : m_params(params) {}

    [[nodiscard]] size_t Count() const noexcept { return m_params ? m_params->cArgs : 0; }
    // The argument as passed (may be VT_BYREF). Throws std::out_of_range.
    [[nodiscard]] VARIANT& Raw(size_t index) const;
    // A copy of the argument's value, dereferenced.
    [[nodiscard]] Variant Value(size_t index) const;

    // Assign through a by-reference argument, typed (VT_BOOL|VT_BYREF, ...) or
    // VT_VARIANT|VT_BYREF; the value is converted to a typed argument's type.
    // Throws std::invalid_argument when the argument is not by reference.
    void Set(size_t index, const Variant& value) const;
    void SetBool(size_t index, bool value) const { Set(index, Variant(value)); }
    void SetShort(size_t index, std::int16_t value) const { Set(index, Variant(value)); }
    void SetLong(size_t index, std::int32_t value) const { Set(index, Variant(value)); }
    void SetString(size_t index, std::wstring_view value) const { Set(index, Variant(value)); }
    // Replaces a SAFEARRAY(BSTR) passed by reference (the old array is destroyed).
    void SetStringArray(size_t index, const std::vector<std::wstring>& items, LONG lowerBound = 0) const;

    [[nodiscard]] DISPPARAMS* params() const noexcept { return m_params; }

    // What the sink's Invoke returns to the control; S_OK unless a handler changes it.
    HRESULT result = S_OK;

private:
    DISPPARAMS* m_params;
};

using EventHandler = std::function<void(EventArgs&)>;

class EventRecorder {
public:
    EventRecorder();
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;
    ~EventRecorder();

    // Advises the control's connection point for `sourceIid`; the sink also
    // answers QueryInterface for that IID. Names come from the control's type
    // information when it has any.
    [[nodiscard]] HRESULT Connect(IUnknown* control, REFIID sourceIid);
    // The same for the control's default source interface (IProvideClassInfo).
    [[nodiscard]] HRESULT Connect(IUnknown* control);
    HRESULT Disconnect();
    [[nodiscard]] bool Connected() const noexcept { return m_connection.connected(); }
    [[nodiscard]] DWORD Cookie() const noexcept { return m_connection.cookie(); }

    // Runs `handler` inside the event, after the call was recorded.
    void On(DISPID dispid, EventHandler handler);
    // By event name; throws std::invalid_argument for a name the type information lacks.
    void On(std::wstring_view name, EventHandler handler);
    [[nodiscard]] DISPID DispIdOf(std::wstring_view name) const;  // DISPID_UNKNOWN when unknown

    [[nodiscard]] const std::vector<EventCall>& Calls() const noexcept;
    [[nodiscard]] size_t Count(DISPID dispid) const;
    [[nodiscard]] size_t Count(std::wstring_view name) const;
    [[nodiscard]] std::vector<DISPID> Sequence() const;
    [[nodiscard]] std::vector<std::wstring> Names() const;  // "#<dispid>" for an unnamed one
    // The last call of that event; throws std::out_of_range when there was none.
    [[nodiscard]] const EventCall& Last(DISPID dispid) const;
    [[nodiscard]] const EventCall& Last(std::wstring_view name) const;
    void Clear();

    // Exceptions thrown by handlers, caught at the sink's Invoke (which then
    // returns E_UNEXPECTED to the control). A test should expect it empty.
    [[nodiscard]] const std::vector<std::string>& HandlerErrors() const noexcept;

    // The sink object, as the control sees it.
    [[nodiscard]] IDispatch* Sink() const noexcept;

    struct State;

private:
    std::shared_ptr<State> m_state;
    com_ptr<IDispatch> m_sink;
    Connection m_connection;
};

}  // namespace zo::test
