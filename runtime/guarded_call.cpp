#include "runtime/guarded_call.h"

namespace zo {

HRESULT ResultOfCurrentException(REFIID iid) noexcept {
    try {
        throw;
    } catch (const VbError& error) {
        return RaiseComError(error, iid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace zo
