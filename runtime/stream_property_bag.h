// A property bag kept in memory, which the control writes its properties
// into and reads them back from, and which can be written to and read from
// a stream. It lets IPersistStreamInit and IPersistStorage share the
// control's property-bag handlers, so that every way of saving stores the
// same keys with the same defaults.
#pragma once

#include <ocidl.h>

#include <string>
#include <vector>

#include "common/handles.h"
#include "runtime/com_object.h"

namespace zo {

class StreamPropertyBag final : public ComObject<IPropertyBag> {
public:
    static StreamPropertyBag* Create();

    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    // The stream layout: a signature, a version, the entry count, then each
    // entry as its name, its variant type and its value; objects are saved
    // with their class through IPersistStream.
    [[nodiscard]] HRESULT SaveTo(IStream& stream) const noexcept;
    [[nodiscard]] HRESULT LoadFrom(IStream& stream) noexcept;
    [[nodiscard]] ULONG SizeEstimate() const noexcept;

private:
    StreamPropertyBag() = default;
    ~StreamPropertyBag() override = default;
    struct Entry {
        std::wstring name;
        unique_variant value;
    };
    Entry* Find(LPCOLESTR name) noexcept;
    std::vector<Entry> m_entries;
};

}  // namespace zo
