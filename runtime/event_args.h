// Arguments of one event, in declaration order, and the call that raises it
// on every sink of a connection point. By-reference arguments point at the
// caller's variables, so what a sink writes there is read back directly.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace zo {

class ConnectionPoint;

class EventArgs {
public:
    EventArgs() = default;
    EventArgs(const EventArgs&) = delete;
    EventArgs& operator=(const EventArgs&) = delete;
    ~EventArgs();

    EventArgs& String(std::wstring_view text);
    EventArgs& Short(int16_t value);
    EventArgs& Long(int32_t value);
    EventArgs& Bool(bool value);
    EventArgs& ShortRef(int16_t& value);
    EventArgs& LongRef(int32_t& value);
    EventArgs& BoolRef(VARIANT_BOOL& value);
    EventArgs& SingleRef(float& value);
    EventArgs& StringRef(BSTR& value);
    EventArgs& StringArrayRef(SAFEARRAY*& value);

    // Arguments in the reverse order IDispatch::Invoke expects.
    [[nodiscard]] DISPPARAMS Params() noexcept;

private:
    VARIANT& Push();
    std::vector<VARIANT> m_args;      // declaration order
    std::vector<VARIANT> m_reversed;  // rebuilt by Params()
};

// Raises the event on every connected sink; a failing sink does not stop
// the others, and nothing a sink does escapes as an exception.
void RaiseEvent(const ConnectionPoint& point, DISPID dispid, EventArgs& args) noexcept;

}  // namespace zo
