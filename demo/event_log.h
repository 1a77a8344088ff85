// The pane that lists the controls' events as they arrive, newest at the
// bottom and kept in view; each line also goes to stdout.
#pragma once

#include <windows.h>

#include <string_view>

namespace zo::demo {

class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog();

    void Create(HWND parent, HFONT font);  // throws DemoError
    [[nodiscard]] HWND Window() const noexcept { return m_window; }

    void Add(std::wstring_view line) noexcept;

private:
    HWND m_window = nullptr;
};

}  // namespace zo::demo
