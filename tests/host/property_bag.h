// MemoryPropertyBag: the property bag a form hands its controls when it saves
// or loads them, kept in memory in write order.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_ptr.h"
#include "tests/host/variant.h"

namespace zo::test {

enum class ObjectStorage {
    // An object written to the bag is kept as the object itself (AddRef'd)
    // and handed back on Read.
    ByReference,
    // An object is saved through IPersistStream(Init) into a memory stream on
    // Write and recreated from it on Read, so a round trip really goes
    // through serialisation.
    ByValue,
};

class MemoryPropertyBag {
public:
    explicit MemoryPropertyBag(ObjectStorage objects = ObjectStorage::ByReference);
    MemoryPropertyBag(const MemoryPropertyBag&) = delete;
    MemoryPropertyBag& operator=(const MemoryPropertyBag&) = delete;
    ~MemoryPropertyBag();

    // The COM object to pass to IPersistPropertyBag::Load / Save.
    [[nodiscard]] IPropertyBag* get() const noexcept { return m_bag.get(); }

    // Keys in the order they were first written.
    [[nodiscard]] std::vector<std::wstring> Keys() const;
    [[nodiscard]] bool Has(std::wstring_view name) const;  // ignores case
    // The stored value (an object stored by value is recreated, and
    // std::runtime_error thrown when it cannot be); nullopt when missing.
    [[nodiscard]] std::optional<Variant> Get(std::wstring_view name) const;
    // Writes as the control would (replacing a key of any case in its place).
    void Set(std::wstring_view name, const Variant& value);
    void Remove(std::wstring_view name);
    void Clear();
    [[nodiscard]] size_t Size() const;

    // Names passed to Read and to Write, in call order, as the control spelt them.
    [[nodiscard]] const std::vector<std::wstring>& Reads() const noexcept;
    [[nodiscard]] const std::vector<std::wstring>& Writes() const noexcept;
    void ClearLog();

    // Makes Read (or Write) of `name` fail with `hr`; S_OK removes the failure.
    void FailRead(std::wstring_view name, HRESULT hr = E_FAIL);
    void FailWrite(std::wstring_view name, HRESULT hr = E_FAIL);
    // True: Read hands back the stored value as it is, whatever type the
    // caller asked for, as some hosts' bags do; the reader converts it.
    void AnswerStoredTypes(bool asStored);

    struct State;

private:
    std::shared_ptr<State> m_state;
    com_ptr<IPropertyBag> m_bag;
};

}  // namespace zo::test
