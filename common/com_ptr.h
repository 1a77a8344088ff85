// One owning COM pointer for the whole library. AddRef and Release appear
// only here and inside the objects that implement them.
#pragma once

#include <unknwn.h>

#include <utility>

namespace zo {

template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    com_ptr(std::nullptr_t) noexcept {}
    // Takes a new reference to a borrowed pointer.
    explicit com_ptr(T* borrowed) noexcept : m_ptr(borrowed) { if (m_ptr) m_ptr->AddRef(); }
    com_ptr(const com_ptr& other) noexcept : com_ptr(other.m_ptr) {}
    com_ptr(com_ptr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    com_ptr& operator=(const com_ptr& other) noexcept { com_ptr(other).swap(*this); return *this; }
    com_ptr& operator=(com_ptr&& other) noexcept { com_ptr(std::move(other)).swap(*this); return *this; }
    com_ptr& operator=(std::nullptr_t) noexcept { reset(); return *this; }
    ~com_ptr() { reset(); }

    // Adopts a reference the caller already owns.
    [[nodiscard]] static com_ptr attach(T* owned) noexcept { com_ptr p; p.m_ptr = owned; return p; }

    [[nodiscard]] T* get() const noexcept { return m_ptr; }
    T* operator->() const noexcept { return m_ptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    void reset() noexcept { if (T* p = std::exchange(m_ptr, nullptr)) p->Release(); }
    // Address for an out parameter; releases what was held.
    [[nodiscard]] T** put() noexcept { reset(); return &m_ptr; }
    [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    // Hands a new reference to a caller's out parameter.
    void copy_to(T** out) const noexcept { *out = m_ptr; if (m_ptr) m_ptr->AddRef(); }
    [[nodiscard]] T* detach() noexcept { return std::exchange(m_ptr, nullptr); }
    void swap(com_ptr& other) noexcept { std::swap(m_ptr, other.m_ptr); }

    template <typename U>
    [[nodiscard]] com_ptr<U> query() const noexcept {
        com_ptr<U> result;
        if (m_ptr) m_ptr->QueryInterface(__uuidof(U), result.put_void());
        return result;
    }
    template <typename U>
    [[nodiscard]] com_ptr<U> query(REFIID iid) const noexcept {
        com_ptr<U> result;
        if (m_ptr) m_ptr->QueryInterface(iid, result.put_void());
        return result;
    }

    friend bool operator==(const com_ptr& a, const com_ptr& b) noexcept { return a.m_ptr == b.m_ptr; }

private:
    T* m_ptr = nullptr;
};

}  // namespace zo
