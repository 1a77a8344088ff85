// The canvas that draws the inspected shape, centred, as the model has it.
#pragma once

#include <windows.h>

#include <optional>

#include "demo/picture_file.h"
#include "demo/shape_model.h"

namespace zo::demo {

class ShapeView {
public:
    ShapeView() = default;
    ShapeView(const ShapeView&) = delete;
    ShapeView& operator=(const ShapeView&) = delete;
    ~ShapeView();

    void Create(HWND parent);  // throws DemoError
    [[nodiscard]] HWND Window() const noexcept { return m_window; }

    // Draws `shape` from now on; repaints at once so the change shows while
    // the user is still in the inspector.
    void Show(const Shape& shape);
    void SetPicture(std::optional<Picture> picture);

    // Where the shape stands in the view's client area.
    [[nodiscard]] RECT ShapeBounds() const noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint(HDC dc, const RECT& client) const;
    void PaintShape(HDC dc, const RECT& bounds) const;
    void PaintContent(HDC dc, const RECT& bounds) const;
    void PaintHidden(HDC dc, const RECT& bounds) const;

    HWND m_window = nullptr;
    Shape m_shape;
    std::optional<Picture> m_picture;
};

}  // namespace zo::demo
