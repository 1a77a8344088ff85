// The COM server entry points of ZoPropList.ocx.
#include <windows.h>

#include <new>

#include "ZoPropertyList.h"
#include "colour_picking/zo_color_picker.h"
#include "property_list/property_list.h"
#include "runtime/control_window.h"
#include "runtime/module.h"
#include "runtime/type_library.h"
#include "server/class_factory.h"
#include "server/registration.h"
#include "window_support/atomizer.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        zo::SetModuleInstance(instance);
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // Global atoms outlive the process: delete ours at exit too.
        zo::ReleaseLibraryAtomizer();
        // Unloaded by FreeLibrary (not at process exit): take the classes along.
        if (!reserved) zo::ReleaseModuleWindows();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    zo::CreateInstanceFunction create = nullptr;
    if (IsEqualCLSID(clsid, CLSID_PropertyList)) create = &zo::PropertyList::Create;
    if (IsEqualCLSID(clsid, CLSID_ZoColorPicker)) create = &zo::ZoColorPicker::Create;
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) zo::ClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    if (zo::ModuleUseCount() != 0) return S_FALSE;
    zo::ReleaseTypeLibraryCache();
    zo::ReleaseModuleWindows();
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return zo::RegisterServer(zo::ModuleInstance()); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return zo::UnregisterServer(zo::ModuleInstance()); }
