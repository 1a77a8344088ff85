// The PropertyList soak's calls of the control's interface: random valid
// and hostile arguments, each call made on the control and on the model.
#include <algorithm>
#include <string>

#include "tests/host/dispatch_call.h"
#include "tests/host/soak/list_soak_driver.h"
#include "tests/host/variant.h"

namespace zo::test::list_soak {

int32_t ListSoak::AnyIndex() {
    const int32_t count = m_model.Count();
    if (m_random.Percent(80)) return RowIndex();
    return m_random.Pick<int32_t>({-32768, -2, -1, count, count + 1, 32767});
}

int32_t ListSoak::AnyType() {
    if (m_random.Percent(92)) return m_random.Between(0, 7);
    return m_random.Pick<int32_t>({-1, 8, 1000, INT32_MIN, INT32_MAX});
}

std::wstring ListSoak::AnyText() {
    if (m_random.Below(4000) == 0) {
        // A megabyte of text with characters outside the BMP in it.
        std::wstring huge(1 << 20, L'x');
        huge.replace(100, 2, L"\U0001F600");
        return huge;
    }
    static const wchar_t* const kTexts[] = {
        L"",       L"A",         L"Name",   L"True",        L"true",      L"FALSE", L"Yes",
        L"12",     L"&H8000000F", L"&HFF",  L"12abc",       L"-5",        L"3.5",   L"\U0001F600 smile",
        L"\xD800", L"tab\there", L"a&b",    L"line\r\nnext", L"&&H1",     L"0",     L"Browse...",
    };
    if (m_random.Percent(70)) return kTexts[m_random.Below(std::size(kTexts))];
    std::wstring text;
    const int length = m_random.Between(1, 30);
    for (int i = 0; i < length; ++i) text += static_cast<wchar_t>(m_random.Between(0x20, 0x7E));
    return text;
}

void ListSoak::CheckHr(HRESULT hr, const char* member) {
    if (FAILED(hr) && !m_released)
        Mismatch(std::string(member) + " failed with " + HResultText(hr) + " where it should succeed");
}

void ListSoak::Add(const std::wstring& name, const std::wstring& content, bool readOnly, int32_t type,
                   int32_t index) {
    if (!m_list) return;
    m_journal.Note("Add(" + Text(name) + ", " + Text(content) + ", " + std::to_string(readOnly) + ", " +
                   std::to_string(type) + ", " + std::to_string(index) + ")");
    if (!m_model.Add(name, content, readOnly, type, index)) ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Add(Bstr(name).get(), Bstr(content).get(), readOnly ? VARIANT_TRUE : VARIANT_FALSE,
                      static_cast<ItemTypes>(type), static_cast<short>(index)),
            "Add");
}

void ListSoak::Remove(int32_t index) {
    if (!m_list) return;
    m_journal.Note("Remove(" + std::to_string(index) + ")");
    m_model.Remove(index);
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Remove(static_cast<short>(index)), "Remove");
}

void ListSoak::Clear() {
    if (!m_list) return;
    m_journal.Note("Clear");
    m_model.Clear();
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->Clear(), "Clear");
}

void ListSoak::Select(int32_t index) {
    if (!m_list) return;
    m_journal.Note("Selected = " + std::to_string(index));
    m_model.Select(index);
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Selected(static_cast<short>(index)), "Selected");
}

void ListSoak::SetHoldDraw(bool hold) {
    if (!m_list) return;
    m_journal.Note("HoldDraw = " + std::to_string(hold));
    m_model.holdDraw = hold;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_HoldDraw(hold ? VARIANT_TRUE : VARIANT_FALSE), "HoldDraw");
}

void ListSoak::SetName(int32_t index, const std::wstring& name) {
    if (!m_list) return;
    m_journal.Note("Item(" + std::to_string(index) + ") = " + Text(name));
    if (ModelRow* row = m_model.Record(index))
        row->name = name;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Item(static_cast<short>(index), Bstr(name).get()), "Item");
}

void ListSoak::SetValue(int32_t index, const std::wstring& value) {
    if (!m_list) return;
    m_journal.Note("Value(" + std::to_string(index) + ") = " + Text(value));
    if (ModelRow* row = m_model.Record(index)) {
        // An owner-drawn row asks the host first, which may change the list.
        if (row->type == 6)
            AllowWrite(row->id, row->type, value);
        else
            row->value = m_model.ValueToStore(row->type, value);
    } else {
        ++m_expectedBoxes;
    }
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_Value(static_cast<short>(index), Bstr(value).get()), "Value");
}

void ListSoak::SetType(int32_t index, int32_t type) {
    if (!m_list) return;
    m_journal.Note("ItemType(" + std::to_string(index) + ") = " + std::to_string(type));
    if (ModelRow* row = m_model.Record(index))
        row->type = type;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    short at = static_cast<short>(index);
    CheckHr(list->put_ItemType(&at, static_cast<ItemTypes>(type)), "ItemType");
}

void ListSoak::SetReadOnly(int32_t index, bool readOnly) {
    if (!m_list) return;
    m_journal.Note("ReadOnly(" + std::to_string(index) + ") = " + std::to_string(readOnly));
    if (ModelRow* row = m_model.Record(index))
        row->readOnly = readOnly;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    CheckHr(list->put_ReadOnly(static_cast<short>(index), readOnly ? VARIANT_TRUE : VARIANT_FALSE), "ReadOnly");
}

void ListSoak::SetItemData(int32_t index, int32_t data) {
    if (!m_list) return;
    m_journal.Note("ItemData(" + std::to_string(index) + ") = " + std::to_string(data));
    if (ModelRow* row = m_model.Record(index))
        row->itemData = data;
    else
        ++m_expectedBoxes;
    const com_ptr<_PropertyList> list = m_list;
    short at = static_cast<short>(index);
    Variant value(data);
    CheckHr(list->put_ItemData(&at, value.get()), "ItemData");
}

// Reads every per-row member at `index`: the model's record, or a message
// box and empty answers where there is none.
void ListSoak::ReadAt(int32_t index) {
    m_journal.Note("read row " + std::to_string(index));
    const ModelRow* row = m_model.Record(index);
    const short at = static_cast<short>(index);
    BSTR name = nullptr, value = nullptr;
    ItemTypes type{};
    VARIANT_BOOL readOnly = VARIANT_FALSE;
    Variant data;
    short byRef = at;
    CheckHr(m_list->get_Item(at, &name), "Item");
    CheckHr(m_list->get_Value(at, &value), "Value");
    CheckHr(m_list->get_ItemType(&byRef, &type), "ItemType");
    CheckHr(m_list->get_ReadOnly(at, &readOnly), "ReadOnly");
    byRef = at;
    CheckHr(m_list->get_ItemData(&byRef, data.put()), "ItemData");
    const std::wstring nameRead = Take(name), valueRead = Take(value);
    if (!row) {
        m_expectedBoxes += 5;
        if (!nameRead.empty() || !valueRead.empty() || type != 0 || readOnly || !data.IsEmpty())
            Mismatch("reading row " + std::to_string(index) + ", which does not exist, gave values");
        return;
    }
    const bool same = nameRead == row->name && type == row->type && (readOnly != VARIANT_FALSE) == row->readOnly &&
                      (row->itemData ? data == Variant(*row->itemData) : data.IsEmpty());
    // The value may be the one the text box holds for the selected row.
    if (!same) Mismatch("row " + std::to_string(index) + " reads differently from the model");
}

void ListSoak::ApiStep() {
    if (m_model.Count() < 3 && m_random.Percent(60)) {
        Add(AnyText(), AnyText(), m_random.Percent(15), AnyType(), m_random.Percent(70) ? -1 : AnyIndex());
        return;
    }
    const com_ptr<_PropertyList> list = m_list;
    const uint32_t roll = m_random.Below(100);
    if (roll < 16) {
        if (m_model.Count() < kManyRows)
            Add(AnyText(), AnyText(), m_random.Percent(15), AnyType(), m_random.Percent(50) ? -1 : AnyIndex());
        else
            Remove(AnyIndex());
    } else if (roll < 23) {
        Remove(AnyIndex());
    } else if (roll < 24) {
        Clear();
    } else if (roll < 28) {
        SetName(AnyIndex(), AnyText());
    } else if (roll < 37) {
        SetValue(AnyIndex(), AnyText());
    } else if (roll < 42) {
        SetType(AnyIndex(), AnyType());
    } else if (roll < 45) {
        SetReadOnly(AnyIndex(), m_random.Percent(50));
    } else if (roll < 48) {
        SetItemData(AnyIndex(), static_cast<int32_t>(m_random.Next()));
    } else if (roll < 53) {
        ReadAt(AnyIndex());
    } else if (roll < 61) {
        Select(m_random.Percent(85) ? m_random.Between(-1, m_model.Count() - 1) : AnyIndex());
    } else if (roll < 65) {
        const int32_t top = m_random.Percent(80) ? RowIndex() : m_random.Pick<int32_t>({-32768, -1, 32767});
        m_journal.Note("TopIndex = " + std::to_string(top));
        CheckHr(list->put_TopIndex(static_cast<short>(top)), "TopIndex");
    } else if (roll < 68) {
        SetHoldDraw(!m_model.holdDraw);
    } else if (roll < 71) {
        const std::wstring text = m_random.Pick<const wchar_t*>({L"True", L"False", L"Yes", L"No", L"", L"\U0001F600"});
        const bool isTrue = m_random.Percent(50);
        m_journal.Note(std::string(isTrue ? "TextTrue" : "TextFalse") + " = " + Text(text));
        (isTrue ? m_model.textTrue : m_model.textFalse) = text;
        CheckHr(isTrue ? list->put_TextTrue(Bstr(text).get()) : list->put_TextFalse(Bstr(text).get()), "TextTrue/False");
    } else if (roll < 73) {
        const bool allow = m_random.Percent(70);
        m_journal.Note("AllowEdit = " + std::to_string(allow));
        CheckHr(list->put_AllowEdit(allow ? VARIANT_TRUE : VARIANT_FALSE), "AllowEdit");
    } else if (roll < 78) {
        VARIANT_BOOL notify = m_random.Percent(50) ? VARIANT_TRUE : VARIANT_FALSE;
        const bool omitted = m_random.Percent(30);
        m_journal.Note("CommitPending(" + std::string(omitted ? "" : notify ? "True" : "False") + ")");
        CheckHr(list->CommitPending(omitted ? nullptr : &notify), "CommitPending");
    } else if (roll < 80) {
        m_journal.Note("HideControls");
        CheckHr(list->HideControls(), "HideControls");
    } else if (roll < 81) {
        m_journal.Note("LongestItem = 5");
        if (SUCCEEDED(list->put_LongestItem(5))) Mismatch("setting LongestItem succeeded");
    } else if (roll < 83) {
        // Arguments a script host may pass that cannot become an Integer.
        m_journal.Note("Remove and Add with arguments of the wrong type");
        if (Call(m_dispatch.get(), L"Remove", {Variant(70000L)}).ok()) Mismatch("Remove(70000) succeeded");
        if (Call(m_dispatch.get(), L"Add", {Variant(L"x"), Variant(L""), Variant(false), Variant(0L), Variant(L"abc")})
                .ok())
            Mismatch("Add with Index \"abc\" succeeded");
    } else {
        // Many rows at once, held or not.
        const int rows = m_random.Between(1, 12);
        const bool hold = m_random.Percent(50);
        if (hold) SetHoldDraw(true);
        for (int i = 0; i < rows && m_list && m_model.Count() < kManyRows * 2; ++i)
            Add(L"Row " + std::to_wstring(i), AnyText(), m_random.Percent(15), AnyType(), -1);
        if (hold) SetHoldDraw(false);
    }
}

}  // namespace zo::test::list_soak
