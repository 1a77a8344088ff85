// Plays a short recorded sequence of input into the demo, as a user would
// give it: keys and characters through the system's input queue, and mouse
// clicks at screen positions. One step a line:
//
//   # a comment                     (blank lines too are skipped)
//   select <row name>               arrow keys until that row is selected
//   type <text>                     the characters of the text, key by key
//   key <name> [<count>]            Enter, Escape, Tab, Up, Down, Left, Right,
//                                   Home, End, Space, Backspace, Delete, F4, F6
//   colour <column> <row>           opens the selected colour row's picker
//                                   (Enter) and clicks that palette cell (1-8)
//   answer-file <path>              the file the next file dialog answers with
//                                   (relative to the script's folder)
//
// A step that cannot be played stops the script with an error naming its line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zo::demo {

struct ScriptStep {
    int line = 0;
    std::wstring verb;
    std::wstring argument;  // the rest of the line, blanks at its ends removed
};

// Reads a script file (UTF-8). Throws DemoError for a file that cannot be
// read or a line whose verb is unknown.
[[nodiscard]] std::vector<ScriptStep> ReadScript(const std::wstring& path);

// What the player needs of the demo.
class ScriptTarget {
public:
    [[nodiscard]] virtual HWND Frame() const = 0;
    [[nodiscard]] virtual HWND ListWindow() const = 0;
    [[nodiscard]] virtual long RowIndexOf(const std::wstring& name) const = 0;
    [[nodiscard]] virtual long SelectedRow() const = 0;
    virtual void QueueBrowseAnswer(std::wstring path) = 0;
    // Runs the demo's messages, its own key handling included, until it is idle.
    virtual void Settle() = 0;

protected:
    ~ScriptTarget() = default;
};

// Plays `steps` into `target`; `folder` resolves relative file names.
// Throws DemoError naming the step that failed.
void PlayScript(const std::vector<ScriptStep>& steps, const std::wstring& folder, ScriptTarget& target);

}  // namespace zo::demo
