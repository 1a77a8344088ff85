// The one error boundary of the library. No C++ exception may cross a COM
// method, a window procedure or a callback: every body that can throw runs
// inside GuardedCall (or GuardedInvoke for a hand-written IDispatch::Invoke
// path), which turns what it throws into an HRESULT:
//   VbError        the error published as rich error information for the
//                  interface (SetErrorInfo) and its scode returned; dispatch
//                  through the type library hands an IDispatch caller
//                  DISP_E_EXCEPTION with a filled EXCEPINFO
//   std::bad_alloc E_OUTOFMEMORY
//   anything else  E_UNEXPECTED
#pragma once

#include <exception>
#include <new>
#include <type_traits>

#include "common/vb_error.h"

namespace zo {

// The HRESULT for the exception being handled; call only inside a catch block.
[[nodiscard]] HRESULT ResultOfCurrentException(REFIID iid) noexcept;

// Runs `body` for a method of interface `iid`. A body returning an HRESULT
// has it passed on; any other body means S_OK when it returns.
template <typename Body>
[[nodiscard]] HRESULT GuardedCall(REFIID iid, Body&& body) noexcept {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Body&>, HRESULT>) {
            return body();
        } else {
            body();
            return S_OK;
        }
    } catch (...) {
        return ResultOfCurrentException(iid);
    }
}

// GuardedCall for a body that runs inside IDispatch::Invoke without the
// type library's help: a VbError also fills `exception` (when given) and
// becomes DISP_E_EXCEPTION, as the type library's dispatch would report it.
template <typename Body>
[[nodiscard]] HRESULT GuardedInvoke(REFIID iid, EXCEPINFO* exception, Body&& body) noexcept {
    try {
        return body();
    } catch (const VbError& error) {
        (void)RaiseComError(error, iid);
        return FillExcepInfo(error, exception);
    } catch (...) {
        return ResultOfCurrentException(iid);
    }
}

}  // namespace zo
