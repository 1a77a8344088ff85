#include "runtime/clipboard.h"

#include <windows.h>

namespace zo {

namespace {

// The clipboard, open for as long as the holder lives.
class OpenClipboardHolder {
public:
    OpenClipboardHolder() noexcept : m_open(::OpenClipboard(nullptr) != FALSE) {}
    OpenClipboardHolder(const OpenClipboardHolder&) = delete;
    OpenClipboardHolder& operator=(const OpenClipboardHolder&) = delete;
    ~OpenClipboardHolder() {
        if (m_open) ::CloseClipboard();
    }
    explicit operator bool() const noexcept { return m_open; }

private:
    bool m_open;
};

// A global memory block, locked for as long as the holder lives.
class GlobalLockHolder {
public:
    explicit GlobalLockHolder(HGLOBAL memory) noexcept : m_memory(memory), m_data(::GlobalLock(memory)) {}
    GlobalLockHolder(const GlobalLockHolder&) = delete;
    GlobalLockHolder& operator=(const GlobalLockHolder&) = delete;
    ~GlobalLockHolder() {
        if (m_data) ::GlobalUnlock(m_memory);
    }
    [[nodiscard]] const void* Data() const noexcept { return m_data; }

private:
    HGLOBAL m_memory;
    void* m_data;
};

}  // namespace

std::optional<std::wstring> ClipboardText() {
    const OpenClipboardHolder clipboard;
    if (!clipboard) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const GlobalLockHolder locked(data);
    const auto* text = static_cast<const wchar_t*>(locked.Data());
    if (!text) return std::nullopt;
    // The block may be larger than the text; the text ends at its first null.
    const SIZE_T capacity = ::GlobalSize(data) / sizeof(wchar_t);
    size_t length = 0;
    while (length < capacity && text[length] != L'\0') ++length;
    return std::wstring(text, length);
}

}  // namespace zo
