// The "Border width" row, which the demo draws itself in the property list
// (a sample of the border as it will look) and edits with its own drop-down
// list of widths over the row's value column.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "demo/shape_model.h"

namespace zo::demo {

class BorderWidthRow {
public:
    BorderWidthRow() = default;
    BorderWidthRow(const BorderWidthRow&) = delete;
    BorderWidthRow& operator=(const BorderWidthRow&) = delete;
    ~BorderWidthRow();

    // The editor is a child of `frame`, which receives its notifications.
    void Create(HWND frame, HFONT font);  // throws DemoError
    [[nodiscard]] HWND Editor() const noexcept { return m_editor; }

    // Draws the name in the name column (left of `divider`) and a sample of
    // the border in the value column; the list leaves the background.
    void Draw(HDC dc, const RECT& row, int divider, bool selected, const std::wstring& name, const Shape& shape) const;

    // Places the editor over `cell` (the frame's client pixels) showing `width`.
    void ShowEditor(const RECT& cell, int width);
    // True when the editor had the focus, which then goes to the frame.
    bool HideEditor() noexcept;
    [[nodiscard]] bool EditorShown() const noexcept;
    // Shows `width` as the editor's choice.
    void ShowWidth(int width) noexcept;
    // Moves the focus into the editor and drops its list.
    void OpenEditor() noexcept;
    // The width chosen in the editor, as the row's text ("3").
    [[nodiscard]] std::optional<std::wstring> ChosenWidth() const;

private:
    void DrawCells(HDC dc, const RECT& row, int divider, bool selected, const std::wstring& name,
                   const Shape& shape) const;
    HWND m_editor = nullptr;
};

}  // namespace zo::demo
