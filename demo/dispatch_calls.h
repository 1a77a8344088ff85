// Late-bound calls by name, as a script host makes them: the demo talks to
// the controls only through IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>
#include <vector>

namespace zo::demo {

// The arguments of one call in declaration order, owned until the call is over.
class Args {
public:
    Args() = default;
    Args(const Args&) = delete;
    Args& operator=(const Args&) = delete;
    ~Args();

    Args& Text(std::wstring_view text);
    // Scripts pass every whole number as a Long; the control's type library
    // converts it to the declared type (Integer, enumeration).
    Args& Long(long number);
    Args& Bool(bool flag);
    // An object argument; the call holds its own reference.
    Args& Object(IDispatch* object);

    [[nodiscard]] UINT Count() const noexcept { return static_cast<UINT>(m_values.size()); }
    // IDispatch::Invoke takes the arguments last first.
    [[nodiscard]] std::vector<VARIANT> Reversed() const { return {m_values.rbegin(), m_values.rend()}; }

private:
    VARIANT& Push();
    std::vector<VARIANT> m_values;
};

// Each throws DemoError naming the member and the control's own description
// of the failure.
void CallMethod(IDispatch* object, const wchar_t* name, const Args& args);
// `args` are the property's index arguments, if any, then the new value.
void PutProperty(IDispatch* object, const wchar_t* name, const Args& args);
[[nodiscard]] std::wstring GetPropertyText(IDispatch* object, const wchar_t* name, const Args& args = Args());
[[nodiscard]] long GetPropertyLong(IDispatch* object, const wchar_t* name, const Args& args = Args());

}  // namespace zo::demo
