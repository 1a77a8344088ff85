#include "demo/border_width_row.h"

#include <olectl.h>

#include <algorithm>

#include "common/handles.h"
#include "demo/report.h"

namespace zo::demo {

namespace {

constexpr int kNameLeft = 2;       // as the list draws its names
constexpr int kValueGap = 7;       // from the divider to the value text
constexpr int kSampleLength = 44;  // the border sample's length in pixels
constexpr int kDropHeight = 160;   // the editor's dropped list

COLORREF ToRgb(OLE_COLOR colour) noexcept {
    COLORREF rgb = 0;
    return SUCCEEDED(::OleTranslateColor(colour, nullptr, &rgb)) ? rgb : RGB(0, 0, 0);
}

std::wstring WidthText(int width) { return std::to_wstring(width) + L" px"; }

void DrawBorderSample(HDC dc, const Shape& shape, int left, int middle) {
    if (shape.borderStyle == BorderStyle::None) return;
    DWORD style = PS_SOLID;
    if (shape.borderStyle == BorderStyle::Dashed) style = PS_DASH;
    if (shape.borderStyle == BorderStyle::Dotted) style = PS_DOT;
    if (shape.borderStyle == BorderStyle::DashDot) style = PS_DASHDOT;
    LOGBRUSH brush{BS_SOLID, ToRgb(shape.border), 0};
    const unique_hpen pen(::ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_FLAT, static_cast<DWORD>(shape.borderWidth),
                                         &brush, 0, nullptr));
    const unique_select selection(dc, pen.get());
    ::MoveToEx(dc, left, middle, nullptr);
    ::LineTo(dc, left + kSampleLength, middle);
}

}  // namespace

BorderWidthRow::~BorderWidthRow() {
    if (m_editor && ::IsWindow(m_editor)) ::DestroyWindow(m_editor);
}

void BorderWidthRow::Create(HWND frame, HFONT font) {
    m_editor = ::CreateWindowExW(0, L"COMBOBOX", L"Border width",
                                 WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWNLIST, 0, 0, 0, 0,
                                 frame, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_editor) throw DemoError(L"Creating the border width editor", HRESULT_FROM_WIN32(::GetLastError()));
    ::SendMessageW(m_editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (int width = kMinBorderWidth; width <= kMaxBorderWidth; ++width) {
        const std::wstring text = WidthText(width);
        ::SendMessageW(m_editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void BorderWidthRow::Draw(HDC dc, const RECT& row, int divider, bool selected, const std::wstring& name,
                          const Shape& shape) const {
    // The DC is the list's own buffer: leave its colours and modes as found.
    const int saved = ::SaveDC(dc);
    DrawCells(dc, row, divider, selected, name, shape);
    ::RestoreDC(dc, saved);
}

void BorderWidthRow::DrawCells(HDC dc, const RECT& row, int divider, bool selected, const std::wstring& name,
                               const Shape& shape) const {
    RECT nameCell{row.left, row.top - 1, divider, row.bottom};
    if (selected) {
        ::FillRect(dc, &nameCell, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    ::SetBkMode(dc, TRANSPARENT);
    nameCell.left = kNameLeft;
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &nameCell, DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));

    const int sampleLeft = divider + kValueGap;
    DrawBorderSample(dc, shape, sampleLeft, (row.top + row.bottom) / 2);
    const std::wstring width = WidthText(shape.borderWidth);
    RECT text{sampleLeft + kSampleLength + kValueGap, row.top, row.right, row.bottom};
    ::DrawTextW(dc, width.c_str(), static_cast<int>(width.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
}

void BorderWidthRow::ShowWidth(int width) noexcept {
    if (m_editor) ::SendMessageW(m_editor, CB_SETCURSEL, static_cast<WPARAM>(width - kMinBorderWidth), 0);
}

void BorderWidthRow::ShowEditor(const RECT& cell, int width) {
    if (!m_editor) return;
    ShowWidth(width);
    // The selection field fills the row; the rest of the window's height is the dropped list.
    const int fieldHeight = cell.bottom - cell.top;
    ::SendMessageW(m_editor, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(fieldHeight - 6, 8));
    ::SetWindowPos(m_editor, HWND_TOP, cell.left, cell.top - 1, cell.right - cell.left, fieldHeight + kDropHeight,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

bool BorderWidthRow::HideEditor() noexcept {
    if (!m_editor || !::IsWindowVisible(m_editor)) return false;
    const bool hadFocus = ::GetFocus() == m_editor;
    ::ShowWindow(m_editor, SW_HIDE);
    if (hadFocus) ::SetFocus(::GetParent(m_editor));
    return hadFocus;
}

bool BorderWidthRow::EditorShown() const noexcept { return m_editor && ::IsWindowVisible(m_editor); }

void BorderWidthRow::OpenEditor() noexcept {
    if (!EditorShown()) return;
    ::SetFocus(m_editor);
    ::SendMessageW(m_editor, CB_SHOWDROPDOWN, TRUE, 0);
}

std::optional<std::wstring> BorderWidthRow::ChosenWidth() const {
    const LRESULT chosen = m_editor ? ::SendMessageW(m_editor, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (chosen == CB_ERR) return std::nullopt;
    return std::to_wstring(kMinBorderWidth + chosen);
}

}  // namespace zo::demo
