#include "combo_box/zo_combo_box.h"

namespace zo {

void ZoComboBox::Create(HWND parent) noexcept { CreateWindowOf(parent, L"EDIT", ES_AUTOHSCROLL | ES_READONLY, 0); }

void ZoComboBox::Clear() noexcept { m_entries.clear(); }

void ZoComboBox::Add(const std::wstring& entry) { m_entries.push_back(entry); }

void ZoComboBox::SetText(const std::wstring& text) noexcept {
    m_text = text;
    if (hWnd()) ::SetWindowTextW(hWnd(), text.c_str());
}

}  // namespace zo
