// Accessible objects (IAccessible) for the library's windows, as screen
// readers and other assistive clients read them through oleacc.
//
// VirtualChildrenAccessible is the client area of a window whose parts are
// drawn, not windows: its children are addressed by child id 1..N and exist
// only as answers, so a window with 100,000 of them costs nothing until a
// client asks about one. What the window's own object says of itself (its
// name, parent, siblings) comes from the system's standard object for the
// same window. The owner disconnects the object when it goes; a client that
// still holds it then gets RPC_E_DISCONNECTED from every call.
//
// NamedWindowAccessible is the system's standard object for a window with
// another name (and, if given, another role): how an editor says which row it
// edits.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

#include "common/com_ptr.h"

namespace zo {

// IUnknown and the IDispatch half of IAccessible, shared by the library's
// accessible objects; clients call IAccessible's methods directly.
class AccessibleBase : public IAccessible {
public:
    AccessibleBase(const AccessibleBase&) = delete;
    AccessibleBase& operator=(const AccessibleBase&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

protected:
    AccessibleBase() noexcept = default;
    virtual ~AccessibleBase() = default;

private:
    LONG m_refs = 1;
};

// The child id a VARIANT names (VT_I4 or anything that converts to it);
// nullopt when it names nothing.
[[nodiscard]] std::optional<long> ChildIdOf(const VARIANT& child) noexcept;
// A BSTR copy of `text` for an out parameter: S_OK, or S_FALSE (and null)
// for empty text.
HRESULT ReturnText(const std::wstring& text, BSTR* out) noexcept;
// The system's standard object of `window` for `objectId`, or null.
[[nodiscard]] com_ptr<IAccessible> StandardAccessible(HWND window, LONG objectId) noexcept;

class VirtualChildrenAccessible : public AccessibleBase {
public:
    // Called by the owner when the window's object goes; idempotent.
    void Disconnect() noexcept;

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

protected:
    explicit VirtualChildrenAccessible(HWND window) noexcept : m_window(window) {}
    ~VirtualChildrenAccessible() override = default;

    [[nodiscard]] HWND Window() const noexcept { return m_window; }

    // What the derived object knows; called only while connected, with
    // `id` from 1 to ChildCount(). Exceptions become E_FAIL.
    [[nodiscard]] virtual bool Connected() const noexcept = 0;
    virtual void OnDisconnect() noexcept = 0;
    [[nodiscard]] virtual long ChildCount() = 0;
    [[nodiscard]] virtual std::wstring ChildName(long id) = 0;
    [[nodiscard]] virtual std::wstring ChildValue(long) { return {}; }
    [[nodiscard]] virtual long ChildRole(long id) = 0;
    [[nodiscard]] virtual long ChildState(long id) = 0;
    // The child's rectangle in client pixels; nullopt when it has none.
    [[nodiscard]] virtual std::optional<RECT> ChildRect(long id) = 0;
    [[nodiscard]] virtual std::wstring ChildDefaultAction(long) { return {}; }
    virtual HRESULT DoChildDefaultAction(long) { return DISP_E_MEMBERNOTFOUND; }
    // SELFLAG_* on a child; E_INVALIDARG for what the object does not offer.
    virtual HRESULT SelectChild(long, long) { return DISP_E_MEMBERNOTFOUND; }
    [[nodiscard]] virtual long SelfRole() = 0;
    // State bits of the object itself beyond those of its window.
    [[nodiscard]] virtual long SelfState() { return 0; }
    // The child under a client point (0 for the object itself).
    [[nodiscard]] virtual long ChildAt(POINT client) = 0;
    // A child that is an object of its own (a child window), or null.
    [[nodiscard]] virtual com_ptr<IDispatch> ChildObject(long) { return {}; }
    // Whether a child window holds drawn parts that are children of this
    // object (hit tests over it go to ChildAt, not to the window).
    [[nodiscard]] virtual bool HoldsDrawnChildren(HWND) { return false; }
    // The focused and the selected child, 0 for none.
    [[nodiscard]] virtual long FocusedChild() = 0;
    [[nodiscard]] virtual long SelectedChild() = 0;

private:
    // Runs `body` for a connected object: RPC_E_DISCONNECTED when it is not,
    // E_FAIL for an exception.
    template <typename Body>
    HRESULT Guard(Body&& body) noexcept;
    // The child id `child` names: 0 (the object) or 1..ChildCount().
    [[nodiscard]] std::optional<long> ValidChild(const VARIANT& child);
    [[nodiscard]] IAccessible* Standard() noexcept;

    HWND m_window;
    bool m_disconnected = false;
    com_ptr<IAccessible> m_standard;
};

// The standard object of a window under another name and, if given, role.
// The name is taken when the object is made: a window whose meaning changes
// answers each WM_GETOBJECT with a new one.
class NamedWindowAccessible final : public AccessibleBase {
public:
    // Null when the system has no standard object for the window.
    [[nodiscard]] static com_ptr<IAccessible> Create(HWND window, LONG objectId, std::wstring name,
                                                     std::optional<long> role = std::nullopt);

    STDMETHODIMP get_accParent(IDispatch** parent) override { return m_inner->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(long* count) override { return m_inner->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override { return m_inner->get_accChild(child, out); }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override { return m_inner->get_accValue(child, value); }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
        return m_inner->get_accDescription(child, out);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override { return m_inner->get_accState(child, state); }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return m_inner->get_accHelp(child, help); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_inner->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return m_inner->get_accKeyboardShortcut(child, out);
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override { return m_inner->get_accFocus(focus); }
    STDMETHODIMP get_accSelection(VARIANT* selection) override { return m_inner->get_accSelection(selection); }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
        return m_inner->get_accDefaultAction(child, out);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override { return m_inner->accSelect(flags, child); }
    STDMETHODIMP accLocation(long* l, long* t, long* w, long* h, VARIANT child) override {
        return m_inner->accLocation(l, t, w, h, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return m_inner->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override { return m_inner->accHitTest(x, y, child); }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override { return m_inner->accDoDefaultAction(child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return m_inner->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override { return m_inner->put_accValue(child, value); }

private:
    NamedWindowAccessible(com_ptr<IAccessible> inner, std::wstring name, std::optional<long> role) noexcept
        : m_inner(std::move(inner)), m_name(std::move(name)), m_role(role) {}

    com_ptr<IAccessible> m_inner;
    std::wstring m_name;
    std::optional<long> m_role;
};

// The answer to WM_GETOBJECT: `object` marshalled for the client (0 when
// there is none, so that the caller falls back to the default).
[[nodiscard]] LRESULT AnswerGetObject(IAccessible* object, WPARAM wParam) noexcept;

// Owns the accessible object a window hands out, made on the first request;
// disconnects it when the window's owner goes (Reset or destruction), since
// clients may hold it longer.
template <typename Object>
class AccessibleOwner {
public:
    AccessibleOwner() noexcept = default;
    AccessibleOwner(const AccessibleOwner&) = delete;
    AccessibleOwner& operator=(const AccessibleOwner&) = delete;
    ~AccessibleOwner() { Reset(); }

    template <typename Make>
    [[nodiscard]] Object* GetOrMake(Make&& make) {
        if (!m_object) m_object = make();
        return m_object.get();
    }
    void Reset() noexcept {
        if (m_object) m_object->Disconnect();
        m_object.reset();
    }

private:
    com_ptr<Object> m_object;
};

}  // namespace zo
