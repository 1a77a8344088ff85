#include "runtime/accessible_object.h"

#include <utility>

#include "common/handles.h"

namespace zo {

// --- AccessibleBase --------------------------------------------------------

STDMETHODIMP AccessibleBase::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleBase::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) AccessibleBase::Release() {
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

STDMETHODIMP AccessibleBase::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP AccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

// --- helpers -----------------------------------------------------------------

// Only whole numbers name a child: converting anything else (an object's
// default property, say) would run the client's code inside ours.
std::optional<long> ChildIdOf(const VARIANT& child) noexcept {
    switch (child.vt) {
        case VT_I4: return child.lVal;
        case VT_INT: return child.intVal;
        case VT_I2: return child.iVal;
        default: return std::nullopt;
    }
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) noexcept {
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

com_ptr<IAccessible> StandardAccessible(HWND window, LONG objectId) noexcept {
    com_ptr<IAccessible> standard;
    if (FAILED(::CreateStdAccessibleObject(window, objectId, __uuidof(IAccessible), standard.put_void())))
        return {};
    return standard;
}

LRESULT AnswerGetObject(IAccessible* object, WPARAM wParam) noexcept {
    if (!object) return 0;
    const LRESULT answer = ::LresultFromObject(__uuidof(IAccessible), wParam, object);
    return answer > 0 ? answer : 0;
}

namespace {

void SetChildVariant(VARIANT* out, long id) noexcept {
    out->vt = VT_I4;
    out->lVal = id;
}

RECT ToScreen(HWND window, RECT rect) noexcept {
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HRESULT ReturnRect(const RECT& rect, long* left, long* top, long* width, long* height) noexcept {
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

}  // namespace

// --- VirtualChildrenAccessible -----------------------------------------------

void VirtualChildrenAccessible::Disconnect() noexcept {
    if (m_disconnected) return;
    m_disconnected = true;
    OnDisconnect();
    m_standard.reset();
}

template <typename Body>
HRESULT VirtualChildrenAccessible::Guard(Body&& body) noexcept {
    try {
        if (m_disconnected || !Connected() || !::IsWindow(m_window)) return RPC_E_DISCONNECTED;
        return body();
    } catch (...) {
        return E_FAIL;
    }
}

std::optional<long> VirtualChildrenAccessible::ValidChild(const VARIANT& child) {
    const std::optional<long> id = ChildIdOf(child);
    if (!id || *id < 0 || *id > ChildCount()) return std::nullopt;
    return id;
}

IAccessible* VirtualChildrenAccessible::Standard() noexcept {
    if (!m_standard) m_standard = StandardAccessible(m_window, OBJID_CLIENT);
    return m_standard.get();
}

STDMETHODIMP VirtualChildrenAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Guard([&] {
        IAccessible* standard = Standard();
        return standard ? standard->get_accParent(parent) : S_FALSE;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return Guard([&] {
        *count = ChildCount();
        return S_OK;
    });
}

// The children are simple elements, not objects of their own.
STDMETHODIMP VirtualChildrenAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id || *id == CHILDID_SELF) return E_INVALIDARG;
        if (com_ptr<IDispatch> object = ChildObject(*id)) {
            *out = object.detach();
            return S_OK;
        }
        return S_FALSE;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        if (*id == CHILDID_SELF) {
            IAccessible* standard = Standard();
            return standard ? standard->get_accName(child, name) : S_FALSE;
        }
        return ReturnText(ChildName(*id), name);
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        return *id == CHILDID_SELF ? S_FALSE : ReturnText(ChildValue(*id), value);
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (!description) return E_POINTER;
    *description = nullptr;
    return Guard([&] { return ValidChild(child) ? S_FALSE : E_INVALIDARG; });
}

STDMETHODIMP VirtualChildrenAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    ::VariantInit(role);
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        SetChildVariant(role, *id == CHILDID_SELF ? SelfRole() : ChildRole(*id));
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    ::VariantInit(state);
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        if (*id != CHILDID_SELF) {
            SetChildVariant(state, ChildState(*id));
            return S_OK;
        }
        long bits = SelfState();
        if (!::IsWindowVisible(m_window)) bits |= STATE_SYSTEM_INVISIBLE;
        if (!::IsWindowEnabled(m_window)) bits |= STATE_SYSTEM_UNAVAILABLE;
        bits |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == m_window) bits |= STATE_SYSTEM_FOCUSED;
        SetChildVariant(state, bits);
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    return Guard([&] { return ValidChild(child) ? S_FALSE : E_INVALIDARG; });
}

STDMETHODIMP VirtualChildrenAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return Guard([] { return DISP_E_MEMBERNOTFOUND; });
}

STDMETHODIMP VirtualChildrenAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    return Guard([&] { return ValidChild(child) ? S_FALSE : E_INVALIDARG; });
}

STDMETHODIMP VirtualChildrenAccessible::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    ::VariantInit(focus);
    return Guard([&] {
        if (const long id = FocusedChild(); id > 0) {
            SetChildVariant(focus, id);
            return S_OK;
        }
        if (::GetFocus() != m_window) return S_FALSE;
        SetChildVariant(focus, CHILDID_SELF);
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accSelection(VARIANT* selection) {
    if (!selection) return E_POINTER;
    ::VariantInit(selection);
    return Guard([&] {
        const long id = SelectedChild();
        if (id <= 0) return S_FALSE;
        SetChildVariant(selection, id);
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        return *id == CHILDID_SELF ? S_FALSE : ReturnText(ChildDefaultAction(*id), action);
    });
}

STDMETHODIMP VirtualChildrenAccessible::accSelect(long flags, VARIANT child) {
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        if (*id == CHILDID_SELF) {
            if (flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
            ::SetFocus(m_window);
            return S_OK;
        }
        return SelectChild(*id, flags);
    });
}

STDMETHODIMP VirtualChildrenAccessible::accLocation(long* left, long* top, long* width, long* height,
                                                    VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        RECT rect{};
        if (*id == CHILDID_SELF) {
            ::GetClientRect(m_window, &rect);
        } else {
            const std::optional<RECT> childRect = ChildRect(*id);
            if (!childRect) return S_FALSE;
            rect = *childRect;
        }
        return ReturnRect(ToScreen(m_window, rect), left, top, width, height);
    });
}

// Children follow each other in id order; the object's own siblings are
// its window's, which the standard object knows.
STDMETHODIMP VirtualChildrenAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    ::VariantInit(end);
    return Guard([&] {
        const std::optional<long> id = ValidChild(start);
        if (!id) return E_INVALIDARG;
        const long count = ChildCount();
        long target = 0;
        if (*id == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) {
                target = 1;
            } else if (direction == NAVDIR_LASTCHILD) {
                target = count;
            } else {
                IAccessible* standard = Standard();
                return standard ? standard->accNavigate(direction, start, end) : S_FALSE;
            }
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
            target = *id + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
            target = *id - 1;
        } else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD || direction == NAVDIR_LEFT ||
                   direction == NAVDIR_RIGHT) {
            return S_FALSE;
        } else {
            return E_INVALIDARG;
        }
        if (target < 1 || target > count) return S_FALSE;
        SetChildVariant(end, target);
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    ::VariantInit(child);
    return Guard([&] {
        POINT point{x, y};
        ::ScreenToClient(m_window, &point);
        RECT client{};
        ::GetClientRect(m_window, &client);
        if (!::PtInRect(&client, point)) return S_FALSE;
        // A child window over the point (an editor, the scroll bar) answers for itself.
        HWND over = ::ChildWindowFromPointEx(m_window, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (over && over != m_window && !HoldsDrawnChildren(over)) {
            com_ptr<IDispatch> window;
            if (SUCCEEDED(::AccessibleObjectFromWindow(over, OBJID_WINDOW, IID_IDispatch, window.put_void())) &&
                window) {
                child->vt = VT_DISPATCH;
                child->pdispVal = window.detach();
                return S_OK;
            }
        }
        SetChildVariant(child, ChildAt(point));
        return S_OK;
    });
}

STDMETHODIMP VirtualChildrenAccessible::accDoDefaultAction(VARIANT child) {
    return Guard([&] {
        const std::optional<long> id = ValidChild(child);
        if (!id) return E_INVALIDARG;
        return *id == CHILDID_SELF ? DISP_E_MEMBERNOTFOUND : DoChildDefaultAction(*id);
    });
}

// --- NamedWindowAccessible ---------------------------------------------------

com_ptr<IAccessible> NamedWindowAccessible::Create(HWND window, LONG objectId, std::wstring name,
                                                   std::optional<long> role) {
    com_ptr<IAccessible> inner = StandardAccessible(window, objectId);
    if (!inner) return {};
    return com_ptr<IAccessible>::attach(new NamedWindowAccessible(std::move(inner), std::move(name), role));
}

STDMETHODIMP NamedWindowAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    if (ChildIdOf(child) != CHILDID_SELF) return m_inner->get_accName(child, name);
    return ReturnText(m_name, name);
}

STDMETHODIMP NamedWindowAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    if (!m_role || ChildIdOf(child) != CHILDID_SELF) return m_inner->get_accRole(child, role);
    ::VariantInit(role);
    role->vt = VT_I4;
    role->lVal = *m_role;
    return S_OK;
}

}  // namespace zo
