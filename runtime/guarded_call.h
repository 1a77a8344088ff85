// Implementation of GuardedCall, kept apart from the control base's
// declarations.
#pragma once

#include <exception>
#include <new>

#include "common/vb_error.h"

namespace zo {

template <typename Body>
HRESULT GuardedCall(REFIID iid, Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const VbError& error) {
        return RaiseComError(error, iid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace zo
