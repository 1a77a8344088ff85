#include "runtime/type_library.h"

#include <map>
#include <new>
#include <string>

#include "runtime/module.h"

namespace zo {

namespace {

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const noexcept { return memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct Cache {
    com_ptr<ITypeLib> library;
    std::map<GUID, com_ptr<ITypeInfo>, GuidLess> infos;
};

// One cache per thread: the controls live in single-threaded apartments.
Cache& ThreadCache() noexcept {
    thread_local Cache cache;
    return cache;
}

}  // namespace

com_ptr<ITypeLib> ControlTypeLibrary() noexcept {
    Cache& cache = ThreadCache();
    if (!cache.library) {
        std::wstring path;
        try {
            path = ModulePath();
        } catch (const std::bad_alloc&) {
            return nullptr;  // tried again on the next call
        }
        if (FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, cache.library.put()))) cache.library.reset();
    }
    return cache.library;
}

com_ptr<ITypeInfo> TypeInfoOf(REFGUID guid) noexcept {
    Cache& cache = ThreadCache();
    auto found = cache.infos.find(guid);
    if (found != cache.infos.end()) return found->second;
    com_ptr<ITypeInfo> info;
    if (com_ptr<ITypeLib> library = ControlTypeLibrary()) {
        if (FAILED(library->GetTypeInfoOfGuid(guid, info.put()))) info.reset();
    }
    if (info) {
        try {
            cache.infos.emplace(guid, info);
        } catch (const std::bad_alloc&) {
            // Uncached, the information is simply looked up again next time.
        }
    }
    return info;
}

void ReleaseTypeLibraryCache() noexcept {
    Cache& cache = ThreadCache();
    cache.infos.clear();
    cache.library.reset();
}

DISPID DispIdOfName(REFGUID iid, const wchar_t* name) noexcept {
    com_ptr<ITypeInfo> info = TypeInfoOf(iid);
    if (!info) return DISPID_UNKNOWN;
    MEMBERID id = DISPID_UNKNOWN;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    if (FAILED(info->GetIDsOfNames(names, 1, &id))) return DISPID_UNKNOWN;
    return id;
}

HRESULT DualTypeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = TypeInfoOf(iid).detach();
    return *info ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}

HRESULT DualIdsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) noexcept {
    com_ptr<ITypeInfo> info = TypeInfoOf(iid);
    if (!info) return TYPE_E_ELEMENTNOTFOUND;
    return ::DispGetIDsOfNames(info.get(), names, count, ids);
}

HRESULT DualInvoke(REFIID iid, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) noexcept {
    com_ptr<ITypeInfo> info = TypeInfoOf(iid);
    if (!info) return TYPE_E_ELEMENTNOTFOUND;
    UINT localArgError = 0;
    return ::DispInvoke(object, info.get(), id, flags, params, result, exception, argError ? argError : &localArgError);
}

}  // namespace zo
