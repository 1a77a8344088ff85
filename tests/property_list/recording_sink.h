// A host's IPropOwnerDrawSink for the tests: records every call the control
// makes, with the argument values and the way each was passed, and lets a
// test answer DrawItem (draw, or change the by-reference arguments).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "IPropOwnerDraw.h"
#include "tests/host/com_object.h"
#include "tests/host/variant.h"

namespace zo::test {

inline constexpr DISPID kCommitEdit = 0x60030001;
inline constexpr DISPID kDrawItem = 0x60030002;
inline constexpr DISPID kHideEditor = 0x60030003;
inline constexpr DISPID kShowEditor = 0x60030004;

struct SinkCall {
    DISPID dispid;
    std::vector<Variant> args;  // in call order, by-reference ones by value
    std::vector<VARTYPE> types;  // as passed, VT_BYREF included
};

// A host's IPropOwnerDrawSink that records what the control asks of it. The
// control calls it late-bound, so the recording happens in Invoke; the
// vtable methods exist for the interface's sake and record the same way.
class RecordingSink final : public NoTypeInfoDispatch<IPropOwnerDrawSink>, public ComObject {
public:
    [[nodiscard]] static com_ptr<RecordingSink> Create() { return com_ptr<RecordingSink>::attach(new RecordingSink); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IPropOwnerDrawSink) return E_NOINTERFACE;
        *object = static_cast<IPropOwnerDrawSink*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (result) ::VariantInit(result);
        SinkCall call{dispid, {}, {}};
        const UINT count = params ? params->cArgs : 0;
        for (UINT i = 0; i < count; ++i) {
            Variant value;
            VARIANT& arg = params->rgvarg[count - 1 - i];
            if (FAILED(::VariantCopyInd(value.ptr(), &arg))) return DISP_E_TYPEMISMATCH;
            call.args.push_back(std::move(value));
            call.types.push_back(V_VT(&arg));
        }
        calls.push_back(std::move(call));
        if (dispid == kDrawItem && onDrawItem && params) return onDrawItem(*params);
        return S_OK;
    }

    STDMETHODIMP CommitEdit(BSTR name) override { return Record(kCommitEdit, name); }
    STDMETHODIMP DrawItem(BSTR name, short*, VARIANT_BOOL, LONG*, LONG, LONG*, LONG*, LONG*) override {
        return Record(kDrawItem, name);
    }
    STDMETHODIMP HideEditor(BSTR name) override { return Record(kHideEditor, name); }
    STDMETHODIMP ShowEditor(BSTR name, short*, LONG, LONG, LONG, LONG) override { return Record(kShowEditor, name); }

    // The calls other than DrawItem (which follows every repaint), as
    // "CommitEdit(name)" texts.
    [[nodiscard]] std::vector<std::wstring> EditorCalls() const {
        std::vector<std::wstring> texts;
        for (const SinkCall& call : calls) {
            if (call.dispid == kDrawItem) continue;
            std::wstring text = call.dispid == kCommitEdit    ? L"CommitEdit"
                                : call.dispid == kHideEditor  ? L"HideEditor"
                                : call.dispid == kShowEditor  ? L"ShowEditor"
                                                              : L"#" + std::to_wstring(call.dispid);
            text += L"(" + (call.args.empty() ? std::wstring(L"no arguments") : call.args[0].ToString()) + L")";
            texts.push_back(std::move(text));
        }
        return texts;
    }

    // The DrawItem calls, in order.
    [[nodiscard]] std::vector<SinkCall> DrawCalls() const {
        std::vector<SinkCall> drawn;
        for (const SinkCall& call : calls)
            if (call.dispid == kDrawItem) drawn.push_back(call);
        return drawn;
    }

    std::vector<SinkCall> calls;
    // Runs inside DrawItem with the arguments as passed (rgvarg in reverse
    // order), to draw or to change the by-reference ones; its result is the call's.
    std::function<HRESULT(DISPPARAMS&)> onDrawItem;

private:
    RecordingSink() = default;
    HRESULT Record(DISPID dispid, BSTR name) {
        calls.push_back({dispid, {Variant(name ? name : L"")}, {VT_BSTR}});
        return S_OK;
    }
};

}  // namespace zo::test
