#include "demo/control_events.h"

#include <vector>

#include "common/handles.h"
#include "demo/dispatch_sink.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

std::wstring ArrayText(const SAFEARRAY* array) {
    auto* entries = const_cast<SAFEARRAY*>(array);
    if (!entries) return L"(none)";
    VARTYPE type = VT_EMPTY;
    LONG lower = 0, upper = -1;
    if (::SafeArrayGetDim(entries) != 1 || FAILED(::SafeArrayGetVartype(entries, &type)) || type != VT_BSTR ||
        FAILED(::SafeArrayGetLBound(entries, 1, &lower)) || FAILED(::SafeArrayGetUBound(entries, 1, &upper)))
        return L"(array)";
    return L"[" + std::to_wstring(upper - lower + 1) + L" entries]";
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

// The sink object: IDispatch only, answering QueryInterface for the
// control's event interface too.
class EventSink final : public DispatchSink<IDispatch> {
public:
    EventSink(const IID& eventIid, com_ptr<ITypeInfo> eventInfo, ControlEventHandler& handler) noexcept
        : DispatchSink(eventIid), m_eventInfo(std::move(eventInfo)), m_handler(handler) {}

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) noexcept override {
        if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
        try {
            std::vector<std::wstring> names = NamesOf(id);
            const ControlEvent event(id, names.empty() ? L"#" + std::to_wstring(id) : names[0], *params);
            const std::wstring description =
                event.Describe(names.empty() ? nullptr : names.data() + 1,
                               names.empty() ? 0 : static_cast<UINT>(names.size() - 1));
            m_handler.OnControlEvent(event, description);
        } catch (...) {
            return E_UNEXPECTED;  // no exception may cross into the control
        }
        return S_OK;
    }

private:
    ~EventSink() = default;

    // The event's name, then its arguments' names.
    std::vector<std::wstring> NamesOf(DISPID id) const {
        BSTR names[16] = {};
        UINT found = 0;
        if (m_eventInfo) (void)m_eventInfo->GetNames(id, names, ARRAYSIZE(names), &found);
        std::vector<std::wstring> texts;
        for (UINT i = 0; i < found; ++i) {
            const unique_bstr owned(names[i]);
            texts.emplace_back(names[i] ? names[i] : L"");
        }
        return texts;
    }

    const com_ptr<ITypeInfo> m_eventInfo;
    ControlEventHandler& m_handler;
};

// The description of the event interface, for the names of events and
// arguments; null when the control's type library cannot be reached.
com_ptr<ITypeInfo> EventTypeInfo(IProvideClassInfo2* classInfo, const IID& eventIid) {
    com_ptr<ITypeInfo> coclass, events;
    com_ptr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(classInfo->GetClassInfo(coclass.put())) &&
        SUCCEEDED(coclass->GetContainingTypeLib(library.put(), &index)))
        (void)library->GetTypeInfoOfGuid(eventIid, events.put());
    return events;
}

}  // namespace

VARIANT* ControlEvent::Argument(UINT index) const noexcept {
    if (index >= m_params.cArgs) return nullptr;
    return &m_params.rgvarg[m_params.cArgs - 1 - index];
}

std::wstring ControlEvent::Text(UINT index) const {
    VARIANT* argument = Argument(index);
    if (!argument) return {};
    unique_variant value, text;
    if (FAILED(::VariantCopyInd(&value, argument)) ||
        FAILED(::VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR)) || !V_BSTR(&text))
        return {};
    return {V_BSTR(&text), ::SysStringLen(V_BSTR(&text))};
}

long ControlEvent::Number(UINT index) const {
    VARIANT* argument = Argument(index);
    if (!argument) return 0;
    unique_variant value, number;
    if (FAILED(::VariantCopyInd(&value, argument)) || FAILED(::VariantChangeType(&number, &value, 0, VT_I4)))
        return 0;
    return V_I4(&number);
}

std::wstring ControlEvent::Describe(const std::wstring* argumentNames, UINT nameCount) const {
    std::wstring text = m_name + L"(";
    for (UINT i = 0; i < m_params.cArgs; ++i) {
        if (i) text += L", ";
        if (i < nameCount) text.append(argumentNames[i]).append(L"=");
        text += ArgumentText(*Argument(i));
    }
    return text + L")";
}

void EventConnection::Connect(IUnknown* control, ControlEventHandler& handler) {
    Disconnect();
    com_ptr<IProvideClassInfo2> classInfo;
    if (FAILED(control->QueryInterface(IID_IProvideClassInfo2, classInfo.put_void())))
        throw DemoError(L"The control does not implement IProvideClassInfo2");
    IID eventIid{};
    Check(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventIid), L"Asking the control for its events");
    com_ptr<IConnectionPointContainer> points;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, points.put_void())))
        throw DemoError(L"The control does not implement IConnectionPointContainer");
    com_ptr<IConnectionPoint> point;
    Check(points->FindConnectionPoint(eventIid, point.put()), L"Finding the control's event connection point");
    const auto sink =
        com_ptr<IDispatch>::attach(new EventSink(eventIid, EventTypeInfo(classInfo.get(), eventIid), handler));
    Check(point->Advise(sink.get(), &m_cookie), L"Connecting the event sink");
    m_point = std::move(point);
}

void EventConnection::Disconnect() noexcept {
    if (m_point) (void)m_point->Unadvise(m_cookie);
    m_point = nullptr;
    m_cookie = 0;
}

}  // namespace zo::demo
