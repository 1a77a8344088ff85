// How the demo tells its user what happens: lines on stdout for progress and
// events, and one DemoError that carries a failure up to main.
#pragma once

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace zo::demo {

// Writes `text` and a newline to `stream` as UTF-8 and flushes at once, so
// that events appear while they happen even when stdout is a pipe.
inline void PrintLine(std::wstring_view text, std::FILE* stream = stdout) noexcept {
    const int length = static_cast<int>(text.size());
    std::string utf8(static_cast<size_t>(
                         ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                          nullptr);
    utf8 += '\n';
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

// "0x80040154 (Class not registered)": an HRESULT with the system's text for it.
inline std::wstring DescribeHresult(HRESULT hr) {
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    std::wstring text = code;
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (message) {
        std::wstring_view trimmed(message, length);
        while (!trimmed.empty() && (trimmed.back() == L'\n' || trimmed.back() == L'\r' || trimmed.back() == L' '))
            trimmed.remove_suffix(1);
        if (!trimmed.empty()) text.append(L" (").append(trimmed).append(L")");
        ::LocalFree(message);
    }
    return text;
}

// A step of the demo failed; `Message()` says which and why.
class DemoError : public std::exception {
public:
    explicit DemoError(std::wstring message) : m_message(std::move(message)) {}
    DemoError(std::wstring_view step, HRESULT hr) : m_message(std::wstring(step) + L": " + DescribeHresult(hr)) {}
    [[nodiscard]] const std::wstring& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return "ZoDemo failure"; }

private:
    std::wstring m_message;
};

// Throws DemoError naming `step` when `hr` is a failure.
inline void Check(HRESULT hr, std::wstring_view step) {
    if (FAILED(hr)) throw DemoError(step, hr);
}

}  // namespace zo::demo
