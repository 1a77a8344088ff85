#include "tests/host/event_sink.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tests/host/com_object.h"
#include "tests/host/event_interface.h"

namespace zo::test {

struct EventRecorder::State {
    IID sourceIid = IID_NULL;
    std::map<DISPID, std::wstring> names;
    std::vector<EventCall> calls;
    std::map<DISPID, EventHandler> handlers;
    std::vector<std::string> errors;
};

namespace {

class EventSink final : public NoTypeInfoDispatch<IDispatch>, public ComObject {
public:
    explicit EventSink(std::shared_ptr<EventRecorder::State> state) noexcept : m_state(std::move(state)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != m_state->sourceIid) return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }


    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        // The recorder may be gone while the control still fires: keep what we use.
        std::shared_ptr<EventRecorder::State> state = m_state;
        com_ptr<IDispatch> self(this);
        if (result) ::VariantInit(result);
        try {
            EventCall call;
            call.dispid = dispid;
            if (auto name = state->names.find(dispid); name != state->names.end()) call.name = name->second;
            const UINT count = params ? params->cArgs : 0;
            for (UINT i = 0; i < count; ++i) {
                Variant value;
                const HRESULT hr = ::VariantCopyInd(value.ptr(), &params->rgvarg[count - 1 - i]);
                if (FAILED(hr)) throw std::runtime_error("an event argument could not be copied");
                call.args.push_back(std::move(value));
            }
            state->calls.push_back(std::move(call));

            EventHandler handler;
            if (auto found = state->handlers.find(dispid); found != state->handlers.end()) handler = found->second;
            if (!handler) return S_OK;
            EventArgs args(params);
            handler(args);
            return args.result;
        } catch (const std::exception& error) {
            state->errors.emplace_back(error.what());
        } catch (...) {
            state->errors.emplace_back("unknown exception in an event handler");
        }
        return E_UNEXPECTED;
    }

private:
    std::shared_ptr<EventRecorder::State> m_state;
};

void AssignThroughReference(VARIANT& target, const Variant& value) {
    if (!(target.vt & VT_BYREF)) throw std::invalid_argument("event argument is not passed by reference");
    if (target.vt == (VT_VARIANT | VT_BYREF)) {
        if (FAILED(::VariantCopy(target.pvarVal, const_cast<VARIANT*>(&value.get()))))
            throw std::runtime_error("cannot copy into a by-reference Variant");
        return;
    }
    const VARTYPE type = target.vt & ~VT_BYREF;
    if (type & VT_ARRAY) {
        if (value.vt() != type) throw std::invalid_argument("array type does not match the argument's");
        SAFEARRAY* copy = nullptr;
        if (value.get().parray && FAILED(::SafeArrayCopy(value.get().parray, &copy)))
            throw std::runtime_error("cannot copy the array");
        if (*target.pparray) ::SafeArrayDestroy(*target.pparray);
        *target.pparray = copy;
        return;
    }
    Variant converted;
    const HRESULT hr = ::VariantChangeType(converted.ptr(), const_cast<VARIANT*>(&value.get()), 0, type);
    if (FAILED(hr)) throw std::invalid_argument("value does not convert to the argument's type");
    VARIANT& from = *converted.ptr();
    switch (type) {
    case VT_I2: *target.piVal = from.iVal; break;
    case VT_I4: *target.plVal = from.lVal; break;
    case VT_UI4: *target.pulVal = from.ulVal; break;
    case VT_UI1: *target.pbVal = from.bVal; break;
    case VT_R4: *target.pfltVal = from.fltVal; break;
    case VT_R8: *target.pdblVal = from.dblVal; break;
    case VT_CY: *target.pcyVal = from.cyVal; break;
    case VT_DATE: *target.pdate = from.date; break;
    case VT_BOOL: *target.pboolVal = from.boolVal; break;
    case VT_ERROR: *target.pscode = from.scode; break;
    case VT_BSTR:
        ::SysFreeString(*target.pbstrVal);
        *target.pbstrVal = std::exchange(from.bstrVal, nullptr);
        from.vt = VT_EMPTY;
        break;
    case VT_DISPATCH:
        if (*target.ppdispVal) (*target.ppdispVal)->Release();
        *target.ppdispVal = std::exchange(from.pdispVal, nullptr);
        from.vt = VT_EMPTY;
        break;
    case VT_UNKNOWN:
        if (*target.ppunkVal) (*target.ppunkVal)->Release();
        *target.ppunkVal = std::exchange(from.punkVal, nullptr);
        from.vt = VT_EMPTY;
        break;
    default: throw std::invalid_argument("unsupported by-reference argument type");
    }
}

}  // namespace

VARIANT& EventArgs::Raw(size_t index) const {
    if (index >= Count()) throw std::out_of_range("event argument index out of range");
    return m_params->rgvarg[Count() - 1 - index];
}

Variant EventArgs::Value(size_t index) const {
    Variant value;
    if (FAILED(::VariantCopyInd(value.ptr(), &Raw(index))))
        throw std::runtime_error("an event argument could not be copied");
    return value;
}

void EventArgs::Set(size_t index, const Variant& value) const { AssignThroughReference(Raw(index), value); }

void EventArgs::SetStringArray(size_t index, const std::vector<std::wstring>& items, LONG lowerBound) const {
    Set(index, Variant::StringArray(items, lowerBound));
}

EventRecorder::EventRecorder()
    : m_state(std::make_shared<State>()), m_sink(com_ptr<IDispatch>::attach(new EventSink(m_state))) {}

EventRecorder::~EventRecorder() { (void)Disconnect(); }

HRESULT EventRecorder::Connect(IUnknown* control, REFIID sourceIid) {
    (void)Disconnect();
    m_state->sourceIid = sourceIid;
    m_state->names.clear();
    if (auto found = FindEventInterface(control, &sourceIid)) m_state->names = std::move(found->names);
    return m_connection.Connect(control, sourceIid, m_sink.get());
}

HRESULT EventRecorder::Connect(IUnknown* control) {
    std::optional<EventInterface> found = FindEventInterface(control);
    if (!found) return E_NOINTERFACE;
    return Connect(control, found->iid);
}

HRESULT EventRecorder::Disconnect() { return m_connection.Disconnect(); }

void EventRecorder::On(DISPID dispid, EventHandler handler) { m_state->handlers[dispid] = std::move(handler); }

void EventRecorder::On(std::wstring_view name, EventHandler handler) {
    const DISPID dispid = DispIdOf(name);
    if (dispid == DISPID_UNKNOWN) throw std::invalid_argument("no event named " + Narrow(name));
    On(dispid, std::move(handler));
}

DISPID EventRecorder::DispIdOf(std::wstring_view name) const {
    for (const auto& [dispid, known] : m_state->names)
        if (known.size() == name.size() &&
            ::CompareStringOrdinal(known.data(), static_cast<int>(known.size()), name.data(),
                                   static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return dispid;
    return DISPID_UNKNOWN;
}

const std::vector<EventCall>& EventRecorder::Calls() const noexcept { return m_state->calls; }

size_t EventRecorder::Count(DISPID dispid) const {
    return static_cast<size_t>(std::count_if(m_state->calls.begin(), m_state->calls.end(),
                                             [dispid](const EventCall& call) { return call.dispid == dispid; }));
}

size_t EventRecorder::Count(std::wstring_view name) const {
    const DISPID dispid = DispIdOf(name);
    return dispid == DISPID_UNKNOWN ? 0 : Count(dispid);
}

std::vector<DISPID> EventRecorder::Sequence() const {
    std::vector<DISPID> sequence;
    for (const EventCall& call : m_state->calls) sequence.push_back(call.dispid);
    return sequence;
}

std::vector<std::wstring> EventRecorder::Names() const {
    std::vector<std::wstring> names;
    for (const EventCall& call : m_state->calls)
        names.push_back(call.name.empty() ? L"#" + std::to_wstring(call.dispid) : call.name);
    return names;
}

const EventCall& EventRecorder::Last(DISPID dispid) const {
    for (auto call = m_state->calls.rbegin(); call != m_state->calls.rend(); ++call)
        if (call->dispid == dispid) return *call;
    throw std::out_of_range("no such event was recorded");
}

const EventCall& EventRecorder::Last(std::wstring_view name) const {
    const DISPID dispid = DispIdOf(name);
    if (dispid == DISPID_UNKNOWN) throw std::invalid_argument("no event named " + Narrow(name));
    return Last(dispid);
}

void EventRecorder::Clear() {
    m_state->calls.clear();
    m_state->errors.clear();
}

const std::vector<std::string>& EventRecorder::HandlerErrors() const noexcept { return m_state->errors; }

IDispatch* EventRecorder::Sink() const noexcept { return m_sink.get(); }

}  // namespace zo::test
