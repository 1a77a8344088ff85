// Arguments of one event, in declaration order, and the call that raises it
// on every sink of a connection point. By-reference arguments point at the
// caller's variables, so what a sink writes there is read back directly.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/handles.h"

namespace zo {

class ConnectionPoint;

class EventArgs {
public:
    EventArgs() = default;
    EventArgs(const EventArgs&) = delete;
    EventArgs& operator=(const EventArgs&) = delete;

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

    // Arguments in the reverse order IDispatch::Invoke expects. The view is
    // valid until the next argument is added; it allocates nothing, so that
    // raising an event cannot fail half-way.
    [[nodiscard]] DISPPARAMS Params() noexcept;
    // After a sink's call: frees whatever the sink put in place of an
    // argument in the view (a by-reference argument is written through, so
    // a replaced one is the sink's own value, which the caller owns).
    void ReleaseReplaced() noexcept;

private:
    VARIANT& Push();
    // Declaration order. By-value arguments are owned here; a by-reference
    // slot points at the caller's variable, which clearing leaves alone.
    std::vector<unique_variant> m_args;
    // Borrowed copies of m_args, reversed; kept as long as m_args.
    std::vector<VARIANT> m_reversed;
};

// Raises the event on every connected sink; a failing sink does not stop
// the others, and nothing a sink does escapes as an exception.
void RaiseEvent(const ConnectionPoint& point, DISPID dispid, EventArgs& args) noexcept;

}  // namespace zo
