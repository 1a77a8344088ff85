// In-memory IStream and IStorage for persistence round trips.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <vector>

#include "common/com_ptr.h"

namespace zo::test {

// A stream over a growable HGLOBAL (CreateStreamOnHGlobal).
class MemoryStream {
public:
    MemoryStream();
    [[nodiscard]] static MemoryStream FromBytes(const std::vector<BYTE>& bytes);

    [[nodiscard]] IStream* get() const noexcept { return m_stream.get(); }
    // Seek pointer back to the start, as before a Load of what was just saved.
    void Rewind() const;
    [[nodiscard]] ULONGLONG Size() const;
    // A copy of the whole content; the seek pointer is left where it was.
    [[nodiscard]] std::vector<BYTE> Bytes() const;

private:
    com_ptr<IStream> m_stream;
};

// A compound-file storage in memory: StgCreateDocfileOnILockBytes over
// CreateILockBytesOnHGlobal.
class MemoryStorage {
public:
    MemoryStorage();

    [[nodiscard]] IStorage* get() const noexcept { return m_storage.get(); }
    [[nodiscard]] HRESULT Commit() const;
    // Commits, closes and opens the same bytes again: what a host does when
    // it loads a saved document.
    [[nodiscard]] HRESULT Reopen();
    // Size of the compound file's bytes.
    [[nodiscard]] ULONGLONG Size() const;

private:
    com_ptr<ILockBytes> m_bytes;
    com_ptr<IStorage> m_storage;
};

}  // namespace zo::test
