#include "tests/host/memory_stream.h"

#include <algorithm>
#include <stdexcept>

namespace zo::test {

namespace {

constexpr DWORD kStorageMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

}  // namespace

MemoryStream::MemoryStream() {
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, m_stream.put())))
        throw std::runtime_error("CreateStreamOnHGlobal failed");
}

MemoryStream MemoryStream::FromBytes(const std::vector<BYTE>& bytes) {
    MemoryStream stream;
    ULONG written = 0;
    if (!bytes.empty() &&
        FAILED(stream.get()->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)))
        throw std::runtime_error("cannot fill a memory stream");
    stream.Rewind();
    return stream;
}

void MemoryStream::Rewind() const {
    LARGE_INTEGER start{};
    (void)m_stream->Seek(start, STREAM_SEEK_SET, nullptr);
}

ULONGLONG MemoryStream::Size() const {
    STATSTG stat{};
    if (FAILED(m_stream->Stat(&stat, STATFLAG_NONAME))) return 0;
    return stat.cbSize.QuadPart;
}

std::vector<BYTE> MemoryStream::Bytes() const {
    HGLOBAL memory = nullptr;
    if (FAILED(::GetHGlobalFromStream(m_stream.get(), &memory))) return {};
    const ULONGLONG size = Size();
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    if (const void* data = ::GlobalLock(memory)) {
        std::copy_n(static_cast<const BYTE*>(data), bytes.size(), bytes.begin());
        ::GlobalUnlock(memory);
    }
    return bytes;
}

MemoryStorage::MemoryStorage() {
    if (FAILED(::CreateILockBytesOnHGlobal(nullptr, TRUE, m_bytes.put())) ||
        FAILED(::StgCreateDocfileOnILockBytes(m_bytes.get(), STGM_CREATE | kStorageMode, 0, m_storage.put())))
        throw std::runtime_error("cannot create a storage in memory");
}

HRESULT MemoryStorage::Commit() const { return m_storage ? m_storage->Commit(STGC_DEFAULT) : E_UNEXPECTED; }

HRESULT MemoryStorage::Reopen() {
    if (m_storage) {
        const HRESULT hr = Commit();
        if (FAILED(hr)) return hr;
        m_storage = nullptr;
    }
    return ::StgOpenStorageOnILockBytes(m_bytes.get(), nullptr, kStorageMode, nullptr, 0, m_storage.put());
}

ULONGLONG MemoryStorage::Size() const {
    STATSTG stat{};
    if (FAILED(m_bytes->Stat(&stat, STATFLAG_NONAME))) return 0;
    return stat.cbSize.QuadPart;
}

}  // namespace zo::test
