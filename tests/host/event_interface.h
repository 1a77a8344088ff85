// Finding a control's event interface and its member names from its type
// information, as a host does before it connects a sink.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <map>
#include <optional>
#include <string>

namespace zo::test {

struct EventInterface {
    IID iid = IID_NULL;
    std::map<DISPID, std::wstring> names;  // member DISPID -> name
};

// The control's event interface: the one with `iid` when given, else its
// default source. Looked up through IProvideClassInfo, falling back to the
// type library behind IDispatch::GetTypeInfo when an `iid` is given. Empty
// when the control describes no such interface.
[[nodiscard]] std::optional<EventInterface> FindEventInterface(IUnknown* control, const IID* iid = nullptr);

}  // namespace zo::test
