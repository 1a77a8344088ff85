// The smallest C++ host of a PropertyList: a window, the platform's ATL
// container (atl.dll's "AtlAxWin" window class) holding the control, a few
// rows, and a ValueChanged handler connected through the control's
// connection point. Build it with the files of dist/include:
//
//   g++ main.cpp ZoPropertyList_i.c -I<dist>/include -municode -mwindows -lole32 -loleaut32 -luuid
//
// ZoPropList.ocx must be registered (regsvr32 ZoPropList.ocx).
//
//   zo_cpp_host              shows the window; edit a value and press Enter
//   zo_cpp_host --self-test  edits the "Caption" row itself and exits with 0
//                            when ValueChanged reported the change, 1 when not
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "ZoPropertyList.h"

using Microsoft::WRL::ComPtr;

namespace {

// atl.dll's container functions, found at run time: not every toolchain
// ships an import library for atl.dll (32-bit mingw has none).
struct AtlContainer {
    BOOL(WINAPI* init)() = nullptr;
    HRESULT(WINAPI* getControl)(HWND container, IUnknown** control) = nullptr;
};

bool LoadAtlContainer(AtlContainer& atl) {
    const HMODULE library = LoadLibraryW(L"atl.dll");  // stays loaded: the window class lives in it
    if (!library) return false;
    atl.init = reinterpret_cast<decltype(atl.init)>(reinterpret_cast<void*>(GetProcAddress(library, "AtlAxWinInit")));
    atl.getControl = reinterpret_cast<decltype(atl.getControl)>(
        reinterpret_cast<void*>(GetProcAddress(library, "AtlAxGetControl")));
    return atl.init && atl.getControl && atl.init();
}

constexpr wchar_t kNewCaption[] = L"Hello, world";

// A BSTR that frees itself: the control's arguments must be real BSTRs.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : m_text(::SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(m_text); }
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

// Receives the control's events (the dispinterface __PropertyList) through
// IDispatch::Invoke; handles ValueChanged and ignores the others.
class PropertyListEvents final : public IDispatch {
public:
    bool valueChanged = false;
    std::wstring changedName, changedValue;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___PropertyList) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on main()'s stack, longer than the connection.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        // ValueChanged(Name, ItemIndex, NewValue, Cancel): the arguments
        // arrive last first, and Cancel is by reference.
        if (id != PROPERTYLIST_EVENT_VALUECHANGED || params->cArgs != 4) return S_OK;
        const VARIANT* args = params->rgvarg;
        valueChanged = true;
        changedName = V_VT(&args[3]) == VT_BSTR ? V_BSTR(&args[3]) : L"";
        changedValue = V_VT(&args[1]) == VT_BSTR ? V_BSTR(&args[1]) : L"";
        std::wprintf(L"ValueChanged: %ls = %ls\n", changedName.c_str(), changedValue.c_str());
        // Setting *Cancel to VARIANT_TRUE would keep the old value.
        if (V_VT(&args[0]) == (VT_BYREF | VT_BOOL)) *V_BOOLREF(&args[0]) = VARIANT_FALSE;
        return S_OK;
    }
};

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:  // the container window fills the main window
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"ZoCppHostWindow";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"ZoCppHostWindow", L"PropertyList in a C++ host", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 360, 300, nullptr, nullptr, instance, nullptr);
}

void FillRows(_PropertyList* list) {
    list->put_HoldDraw(VARIANT_TRUE);
    list->Add(Bstr(L"Appearance"), Bstr(L""), VARIANT_FALSE, ZoPropPropertyHeader);
    list->Add(Bstr(L"Caption"), Bstr(L"Hello"));
    list->Add(Bstr(L"Visible"), Bstr(L"true"), VARIANT_FALSE, ZoPropBoolValue);
    list->Add(Bstr(L"BackColor"), Bstr(L"&H8000000F"), VARIANT_FALSE, ZoPropOleColor);
    list->put_HoldDraw(VARIANT_FALSE);
}

// Does what a user does: selects the Caption row, types into its text box,
// and commits the edit, which raises ValueChanged.
void EditCaptionRow(_PropertyList* list) {
    list->put_Selected(1);
    LONG listWindow = 0;
    list->get_hWnd(&listWindow);
    HWND textBox = FindWindowExW(reinterpret_cast<HWND>(static_cast<LONG_PTR>(listWindow)), nullptr, L"Edit", nullptr);
    SetWindowTextW(textBox, kNewCaption);
    list->CommitPending();
}

void PumpPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    const bool selfTest = std::wstring(commandLine).find(L"--self-test") != std::wstring::npos;
    if (FAILED(OleInitialize(nullptr))) return 2;
    int result = 2;
    {
        AtlContainer atl;
        if (!LoadAtlContainer(atl)) {
            std::fprintf(stderr, "atl.dll with its control container is missing\n");
            OleUninitialize();
            return 2;
        }
        HWND mainWindow = CreateMainWindow(instance);
        // The ATL container window creates the control named by its text.
        HWND container = CreateWindowExW(0, L"AtlAxWin", L"ZoPropertyList.PropertyList", WS_CHILD | WS_VISIBLE, 0,
                                         0, 340, 260, mainWindow, nullptr, instance, nullptr);
        ComPtr<IUnknown> control;
        ComPtr<_PropertyList> list;
        if (!container || FAILED(atl.getControl(container, &control)) || FAILED(control.As(&list))) {
            std::fprintf(stderr, "could not create the PropertyList (is ZoPropList.ocx registered?)\n");
            // Release the control before COM may unload its library.
            list.Reset();
            control.Reset();
            DestroyWindow(mainWindow);
            OleUninitialize();
            return 2;
        }

        // Connect the event handler to the control's event interface.
        PropertyListEvents events;
        ComPtr<IConnectionPointContainer> points;
        ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
        if (SUCCEEDED(control.As(&points)) && SUCCEEDED(points->FindConnectionPoint(DIID___PropertyList, &point)))
            point->Advise(&events, &cookie);

        FillRows(list.Get());
        ShowWindow(mainWindow, selfTest ? SW_SHOWNOACTIVATE : show);

        if (selfTest) {
            PumpPendingMessages();
            EditCaptionRow(list.Get());
            PumpPendingMessages();
            BSTR stored = nullptr;
            list->get_Value(1, &stored);
            const bool storedNewValue = stored && std::wstring(stored) == kNewCaption;
            SysFreeString(stored);
            const bool reported = events.valueChanged && events.changedName == L"Caption" &&
                                  events.changedValue == kNewCaption;
            result = reported && storedNewValue ? 0 : 1;
        } else {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            result = 0;
        }
        if (point) point->Unadvise(cookie);
        if (IsWindow(mainWindow)) DestroyWindow(mainWindow);
    }
    OleUninitialize();
    return result;
}
