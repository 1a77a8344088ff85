// The type library embedded in the module, loaded once, with one cached
// ITypeInfo per interface. Dispatch, class info and event names all come
// from here so that DISPIDs and argument lists are exactly those declared.
#pragma once

#include <oaidl.h>

#include "common/com_ptr.h"

namespace zo {

// Resource index 1 of the module: the controls' library.
[[nodiscard]] com_ptr<ITypeLib> ControlTypeLibrary() noexcept;
// Type information for a GUID of that library (interface, dispinterface or coclass).
[[nodiscard]] com_ptr<ITypeInfo> TypeInfoOf(REFGUID guid) noexcept;
// Releases the cached library (module unload).
void ReleaseTypeLibraryCache() noexcept;

// The DISPID of a member name in an interface, or DISPID_UNKNOWN.
[[nodiscard]] DISPID DispIdOfName(REFGUID iid, const wchar_t* name) noexcept;

// IDispatch of a dual interface served from the library: the methods a
// control's GetTypeInfo, GetIDsOfNames and Invoke forward to.
[[nodiscard]] HRESULT DualTypeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept;
[[nodiscard]] HRESULT DualIdsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) noexcept;
// `object` is the dual interface's own pointer.
[[nodiscard]] HRESULT DualInvoke(REFIID iid, void* object, DISPID id, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept;

}  // namespace zo
