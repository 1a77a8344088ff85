#include "demo/hosting.h"

#include <commdlg.h>
#include <olectl.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "common/handles.h"
#include "demo/atl_container.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

// ---- Late-bound calls, by name, as a script host makes them ----

// The arguments of one call in declaration order, owned until the call is over.
class Args {
public:
    Args() = default;
    Args(const Args&) = delete;
    Args& operator=(const Args&) = delete;
    ~Args() {
        for (VARIANT& value : m_values) ::VariantClear(&value);
    }

    Args& Text(std::wstring_view text) {
        VARIANT& value = Push();
        V_BSTR(&value) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!V_BSTR(&value)) throw DemoError(L"Out of memory for a string argument");
        V_VT(&value) = VT_BSTR;
        return *this;
    }
    // Scripts pass every whole number as a Long; the control's type library
    // converts it to the declared type (Integer, enumeration).
    Args& Long(long number) {
        VARIANT& value = Push();
        V_VT(&value) = VT_I4;
        V_I4(&value) = number;
        return *this;
    }
    Args& Bool(bool flag) {
        VARIANT& value = Push();
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
        return *this;
    }

    [[nodiscard]] UINT Count() const noexcept { return static_cast<UINT>(m_values.size()); }
    // IDispatch::Invoke takes the arguments last first.
    [[nodiscard]] std::vector<VARIANT> Reversed() const { return {m_values.rbegin(), m_values.rend()}; }

private:
    VARIANT& Push() {
        VARIANT& value = m_values.emplace_back();
        ::VariantInit(&value);
        return value;
    }
    std::vector<VARIANT> m_values;
};

void Invoke(IDispatch* object, const wchar_t* name, WORD kind, const Args& args, VARIANT* result = nullptr) {
    const std::wstring step = std::wstring(L"Calling ") + name;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), step + L" (looking up the name)");

    std::vector<VARIANT> values = args.Reversed();
    DISPID namedValue = DISPID_PROPERTYPUT;
    DISPPARAMS params{values.data(), nullptr, args.Count(), 0};
    if (kind & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedValue;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception,
                                      &argumentError);
    if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const unique_bstr source(exception.bstrSource), description(exception.bstrDescription),
        helpFile(exception.bstrHelpFile);
    if (SUCCEEDED(hr)) return;
    if (hr == DISP_E_EXCEPTION && description) {
        const HRESULT reported = exception.scode ? exception.scode : MAKE_HRESULT(1, FACILITY_CONTROL, exception.wCode);
        throw DemoError(step + L": " + description.get() + L" [" + DescribeHresult(reported) + L"]");
    }
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && argumentError < args.Count())
        throw DemoError(step + L" (argument " + std::to_wstring(args.Count() - argumentError) + L")", hr);
    throw DemoError(step, hr);
}

void CallMethod(IDispatch* object, const wchar_t* name, const Args& args) {
    Invoke(object, name, DISPATCH_METHOD, args);
}

// `args` are the property's index arguments, if any, then the new value.
void PutProperty(IDispatch* object, const wchar_t* name, const Args& args) {
    Invoke(object, name, DISPATCH_PROPERTYPUT, args);
}

std::wstring GetPropertyText(IDispatch* object, const wchar_t* name, const Args& args = Args()) {
    unique_variant value;
    Invoke(object, name, DISPATCH_PROPERTYGET, args, &value);
    unique_variant text;
    Check(::VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR),
          std::wstring(L"Reading ") + name + L" as text");
    return V_BSTR(&text) ? std::wstring(V_BSTR(&text), ::SysStringLen(V_BSTR(&text))) : std::wstring();
}

// ---- Events ----

std::wstring ArrayText(const SAFEARRAY* array) {
    VARTYPE type = VT_EMPTY;
    auto* entries = const_cast<SAFEARRAY*>(array);
    if (!entries) return L"(none)";
    LONG lower = 0, upper = -1;
    if (::SafeArrayGetDim(entries) != 1 || FAILED(::SafeArrayGetVartype(entries, &type)) || type != VT_BSTR ||
        FAILED(::SafeArrayGetLBound(entries, 1, &lower)) || FAILED(::SafeArrayGetUBound(entries, 1, &upper)))
        return L"(array)";
    std::wstring text = L"[";
    for (LONG i = lower; i <= upper; ++i) {
        BSTR entry = nullptr;
        if (FAILED(::SafeArrayGetElement(entries, &i, &entry))) break;
        const unique_bstr owned(entry);
        if (i > lower) text += L", ";
        text.append(L"\"").append(entry ? entry : L"").append(L"\"");
    }
    return text + L"]";
}

// One event argument for printing; by-reference arguments show their value.
std::wstring ArgumentText(VARIANT& argument) {
    if (V_VT(&argument) & VT_ARRAY)
        return ArrayText((V_VT(&argument) & VT_BYREF) ? *V_ARRAYREF(&argument) : V_ARRAY(&argument));
    unique_variant value;
    if (FAILED(::VariantCopyInd(&value, &argument))) return L"?";
    if (V_VT(&value) == VT_BSTR) return L"\"" + std::wstring(V_BSTR(&value) ? V_BSTR(&value) : L"") + L"\"";
    unique_variant text;
    if (FAILED(::VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR))) return L"?";
    return V_BSTR(&text) ? V_BSTR(&text) : L"";
}

// Receives the control's events through IDispatch::Invoke, answers the two
// that ask the host for data, and prints every one with its arguments.
class EventSink final : public IDispatch {
public:
    // The DISPIDs of the control's event interface that the demo answers.
    static constexpr DISPID kBrowse = 2, kNeedData = 3, kMouseMove = 10;

    EventSink(const IID& eventIid, com_ptr<ITypeInfo> eventInfo, HWND owner) noexcept
        : m_eventIid(eventIid), m_eventInfo(std::move(eventInfo)), m_owner(owner) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, m_eventIid))
            return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() noexcept override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) noexcept override {
        if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
        try {
            if (id == kNeedData) AnswerNeedData(*params);
            if (id == kBrowse) AnswerBrowse(*params);
            // MouseMove fires for every mouse movement and would drown the rest.
            if (id != kMouseMove) PrintLine(L"event " + Describe(id, *params));
        } catch (...) {
            return E_UNEXPECTED;  // no exception may cross into the control
        }
        return S_OK;
    }

private:
    ~EventSink() = default;

    // NeedData(ItemIndex, sListItems): the host fills the by-reference array
    // with the entries of the custom list. The demo has one custom row,
    // Alignment, so every request gets its three entries.
    static void AnswerNeedData(DISPPARAMS& params) {
        if (params.cArgs < 2 || V_VT(&params.rgvarg[0]) != (VT_ARRAY | VT_BSTR | VT_BYREF)) return;
        SAFEARRAY** target = V_ARRAYREF(&params.rgvarg[0]);
        const wchar_t* const entries[] = {L"Left", L"Center", L"Right"};
        unique_safearray list(::SafeArrayCreateVector(VT_BSTR, 0, ARRAYSIZE(entries)));
        if (!list) return;
        for (LONG i = 0; i < static_cast<LONG>(ARRAYSIZE(entries)); ++i) {
            const unique_bstr entry(::SysAllocString(entries[i]));
            if (FAILED(::SafeArrayPutElement(list.get(), &i, entry.get()))) return;  // the array keeps a copy
        }
        const unique_safearray previous(*target);
        *target = list.release();
    }

    // Browse(Name, ItemIndex, FillWith): the host lets the user pick a value
    // (here a picture file) and returns it in the by-reference string.
    void AnswerBrowse(DISPPARAMS& params) const {
        if (params.cArgs < 3 || V_VT(&params.rgvarg[0]) != (VT_BSTR | VT_BYREF)) return;
        wchar_t path[MAX_PATH] = L"";
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = m_owner;
        dialog.lpstrFilter = L"Pictures (*.bmp;*.ico;*.gif;*.jpg)\0*.bmp;*.ico;*.gif;*.jpg\0All files\0*.*\0";
        dialog.lpstrFile = path;
        dialog.nMaxFile = MAX_PATH;
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!::GetOpenFileNameW(&dialog)) return;  // cancelled: the value stays as it was
        BSTR* fillWith = V_BSTRREF(&params.rgvarg[0]);
        BSTR chosen = ::SysAllocString(path);
        if (!chosen) return;
        const unique_bstr previous(*fillWith);
        *fillWith = chosen;
    }

    // "SelChange(OldSel=-1, NewSel=2)", with the names from the type library.
    std::wstring Describe(DISPID id, const DISPPARAMS& params) const {
        BSTR names[16] = {};
        UINT found = 0;
        if (m_eventInfo) (void)m_eventInfo->GetNames(id, names, ARRAYSIZE(names), &found);
        std::vector<unique_bstr> owned;
        for (UINT i = 0; i < found; ++i) owned.emplace_back(names[i]);

        std::wstring text = found ? std::wstring(names[0]) : L"#" + std::to_wstring(id);
        text += L"(";
        for (UINT i = 0; i < params.cArgs; ++i) {
            if (i) text += L", ";
            if (i + 1 < found) text.append(names[i + 1]).append(L"=");
            text += ArgumentText(params.rgvarg[params.cArgs - 1 - i]);
        }
        return text + L")";
    }

    std::atomic<ULONG> m_references{1};
    const IID m_eventIid;
    const com_ptr<ITypeInfo> m_eventInfo;
    const HWND m_owner;
};

// The description of the event interface, for printing event and argument
// names; null when the control's type library cannot be reached.
com_ptr<ITypeInfo> EventTypeInfo(IProvideClassInfo2* classInfo, const IID& eventIid) {
    com_ptr<ITypeInfo> coclass, events;
    com_ptr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(classInfo->GetClassInfo(coclass.put())) &&
        SUCCEEDED(coclass->GetContainingTypeLib(library.put(), &index)))
        (void)library->GetTypeInfoOfGuid(eventIid, events.put());
    return events;
}

// ---- The sample rows ----

// Kinds of row, as the control's ItemTypes enumeration numbers them.
enum RowKind : long { Text = 0, Numeric = 1, Boolean = 2, BrowseButton = 3, Colour = 4, Custom = 5, OwnerDrawn = 6,
                      Header = 7 };

struct SampleRow {
    const wchar_t* name;
    const wchar_t* content;
    RowKind kind;
    bool readOnly = false;
};

constexpr SampleRow kSampleRows[] = {
    {L"Appearance", L"", Header},
    {L"Caption", L"Hello", Text},
    {L"BackColor", L"&H8000000F", Colour},
    {L"ForeColor", L"&HFF", Colour},
    {L"Picture", L"(none)", BrowseButton},
    {L"Gradient", L"Navy to white", OwnerDrawn},
    {L"Behaviour", L"", Header},
    {L"Alignment", L"Left", Custom},
    {L"Visible", L"True", Boolean},
    {L"Width", L"1200", Numeric},
    {L"Data", L"", Header},
    {L"DataField", L"CustomerName", Text},
    {L"Version", L"1.0", Text, true},
};

constexpr long RowIndexOf(std::wstring_view name) {
    for (long i = 0; i < static_cast<long>(ARRAYSIZE(kSampleRows)); ++i)
        if (kSampleRows[i].name == name) return i;
    return -1;
}
// The list starts empty and every row is appended, so a row's index is its
// place in the table.
constexpr long kSelectedRow = RowIndexOf(L"Caption");
static_assert(kSelectedRow >= 0);

constexpr wchar_t kFrameClass[] = L"ZoDemoFrame";
constexpr int kMargin = 8;
constexpr int kPickerWidth = 150;
constexpr int kPickerHeight = 177;

}  // namespace

// ---- DemoWindow ----

void DemoWindow::Create() {
    Destroy();
    CreateFrame();
    CreateContainers();
    ConnectEvents(m_control, m_eventPoint, m_eventCookie);
    ConnectEvents(m_pickerControl, m_pickerEventPoint, m_pickerEventCookie);
    FillList();
}

void DemoWindow::Destroy() noexcept {
    if (m_eventPoint) (void)m_eventPoint->Unadvise(m_eventCookie);
    if (m_pickerEventPoint) (void)m_pickerEventPoint->Unadvise(m_pickerEventCookie);
    m_eventPoint = m_pickerEventPoint = nullptr;
    m_eventCookie = m_pickerEventCookie = 0;
    m_list = m_picker = nullptr;
    m_control = m_pickerControl = nullptr;
    // Destroying the frame destroys the container, which closes the control.
    if (m_frame && ::IsWindow(m_frame)) ::DestroyWindow(m_frame);
    m_frame = nullptr;
    m_container = m_pickerContainer = nullptr;
}

HWND DemoWindow::ControlWindow() const noexcept {
    com_ptr<IOleWindow> window = m_control.query<IOleWindow>();
    HWND handle = nullptr;
    if (!window || FAILED(window->GetWindow(&handle))) return nullptr;
    return handle;
}

bool DemoWindow::PreTranslateMessage(MSG& message) const noexcept {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    const com_ptr<IOleInPlaceActiveObject> active = m_control.query<IOleInPlaceActiveObject>();
    return active && active->TranslateAccelerator(&message) == S_OK;
}

LRESULT CALLBACK DemoWindow::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DemoWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_frame = nullptr;
            self->m_container = self->m_pickerContainer = nullptr;
            break;
        case WM_SIZE:
            self->LayOut();
            return 0;
        case WM_CLOSE:
            self->Destroy();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// The list fills the frame but for a column on the right, where the colour
// picker stands at the popup form's size.
void DemoWindow::LayOut() const noexcept {
    if (!m_frame || !m_container) return;
    RECT client{};
    ::GetClientRect(m_frame, &client);
    const long pickerLeft = std::max(0L, client.right - kMargin - kPickerWidth);
    ::MoveWindow(m_container, kMargin, kMargin, std::max(0L, pickerLeft - 2 * kMargin),
                 std::max(0L, client.bottom - 2 * kMargin), TRUE);
    if (m_pickerContainer) ::MoveWindow(m_pickerContainer, pickerLeft, kMargin, kPickerWidth, kPickerHeight, TRUE);
}

void DemoWindow::CreateFrame() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof(frameClass);
    if (!::GetClassInfoExW(instance, kFrameClass, &frameClass)) {
        frameClass = {};
        frameClass.cbSize = sizeof(frameClass);
        frameClass.lpfnWndProc = FrameProc;
        frameClass.hInstance = instance;
        frameClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        frameClass.lpszClassName = kFrameClass;
        if (!::RegisterClassExW(&frameClass))
            throw DemoError(L"Registering the frame window class", HRESULT_FROM_WIN32(::GetLastError()));
    }
    RECT bounds{0, 0, 380 + kPickerWidth + kMargin, 420};  // client area
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&bounds, style, FALSE, 0);
    m_frame = ::CreateWindowExW(0, kFrameClass, L"ZoDemo - PropertyList", style, 40, 40, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, nullptr, nullptr, instance, this);
    if (!m_frame) throw DemoError(L"Creating the frame window", HRESULT_FROM_WIN32(::GetLastError()));
}

void DemoWindow::CreateContainers() {
    HostedControl list = HostInAtlContainer(m_frame, kPropertyListProgId);
    m_container = list.container;
    m_control = std::move(list.control);
    m_list = m_control.query<IDispatch>();
    if (!m_list) throw DemoError(L"The property list has no IDispatch");
    HostedControl picker = HostInAtlContainer(m_frame, kColorPickerProgId);
    m_pickerContainer = picker.container;
    m_pickerControl = std::move(picker.control);
    m_picker = m_pickerControl.query<IDispatch>();
    if (!m_picker) throw DemoError(L"The colour picker has no IDispatch");
    LayOut();
    CallMethod(m_picker.get(), L"Show", Args());
}

void DemoWindow::ConnectEvents(const com_ptr<IUnknown>& control, com_ptr<IConnectionPoint>& connected,
                               DWORD& cookie) {
    const com_ptr<IProvideClassInfo2> classInfo = control.query<IProvideClassInfo2>();
    if (!classInfo) throw DemoError(L"The control does not implement IProvideClassInfo2");
    IID eventIid{};
    Check(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventIid), L"Asking the control for its events");
    const com_ptr<IConnectionPointContainer> points = control.query<IConnectionPointContainer>();
    if (!points) throw DemoError(L"The control does not implement IConnectionPointContainer");
    com_ptr<IConnectionPoint> point;
    Check(points->FindConnectionPoint(eventIid, point.put()), L"Finding the control's event connection point");
    const auto sink = com_ptr<IDispatch>::attach(new EventSink(eventIid, EventTypeInfo(classInfo.get(), eventIid),
                                                               m_frame));
    Check(point->Advise(sink.get(), &cookie), L"Connecting the event sink");
    connected = std::move(point);
}

void DemoWindow::FillList() {
    IDispatch* list = m_list.get();
    // Hold painting while the rows go in, as hosts do for long lists.
    PutProperty(list, L"HoldDraw", Args().Bool(true));
    for (const SampleRow& row : kSampleRows)
        CallMethod(list, L"Add",
                   Args().Text(row.name).Text(row.content).Bool(row.readOnly).Long(row.kind).Long(-1));
    PutProperty(list, L"HoldDraw", Args().Bool(false));
    PutProperty(list, L"Selected", Args().Long(kSelectedRow));
    PrintLine(L"filled " + GetPropertyText(list, L"ListCount") + L" rows; selected row " +
              GetPropertyText(list, L"Selected") + L" (" + GetPropertyText(list, L"Item", Args().Long(kSelectedRow)) +
              L" = " + GetPropertyText(list, L"Value", Args().Long(kSelectedRow)) + L")");
}

}  // namespace zo::demo
