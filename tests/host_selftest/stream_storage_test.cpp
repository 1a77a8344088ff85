// The memory stream and storage helpers, round-tripping the standard font
// object through IPersistStream and a compound file in memory.
#include <gtest/gtest.h>

#include <olectl.h>

#include "tests/host/ambient_properties.h"
#include "tests/host/com_object.h"
#include "tests/host/dispatch_call.h"
#include "tests/host/memory_stream.h"

namespace zo::test {
namespace {

TEST(MemoryStream, FontSavedThroughItLoadsAsAnEqualFont) {
    com_ptr<IFontDisp> font = MakeFont(L"Tahoma", 12, FW_BOLD);  // 12 pt: a whole 16 px
    MemoryStream stream;
    auto persist = font.query<IPersistStream>();
    ASSERT_TRUE(persist);
    ASSERT_EQ(S_OK, ::OleSaveToStream(persist.get(), stream.get()));
    EXPECT_GT(stream.Size(), sizeof(CLSID));

    // A copy of the bytes is as good as the stream.
    MemoryStream copy = MemoryStream::FromBytes(stream.Bytes());
    EXPECT_EQ(stream.Size(), copy.Size());
    com_ptr<IDispatch> loaded;
    ASSERT_EQ(S_OK, ::OleLoadFromStream(copy.get(), IID_IDispatch, loaded.put_void()));
    EXPECT_DOUBLE_EQ(12.0, Get(loaded.get(), L"Size").value.ToDouble());
    EXPECT_TRUE(Get(loaded.get(), L"Bold").value.ToBool());
    EXPECT_EQ(Get(font.get(), L"Name").value, Get(loaded.get(), L"Name").value);

    EXPECT_EQ(0u, ReleaseLast(loaded));
    persist = nullptr;
    EXPECT_EQ(0u, ReleaseLast(font));
}

TEST(MemoryStream, RewindStartsReadingFromTheBeginning) {
    MemoryStream stream;
    const char text[] = "abc";
    ULONG count = 0;
    ASSERT_EQ(S_OK, stream.get()->Write(text, 3, &count));
    char buffer[4] = {};
    (void)stream.get()->Read(buffer, 3, &count);  // at the end: nothing to read
    EXPECT_EQ(0u, count);
    stream.Rewind();
    EXPECT_EQ(S_OK, stream.get()->Read(buffer, 3, &count));
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ((std::vector<BYTE>{'a', 'b', 'c'}), stream.Bytes());
}

TEST(MemoryStorage, ContentSurvivesReopening) {
    MemoryStorage storage;
    {
        com_ptr<IStream> contents;
        ASSERT_EQ(S_OK, storage.get()->CreateStream(L"Contents", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                                    0, 0, contents.put()));
        ULONG written = 0;
        ASSERT_EQ(S_OK, contents->Write("state", 5, &written));
        ASSERT_EQ(S_OK, ::WriteClassStg(storage.get(), CLSID_StdFont));
    }
    ASSERT_EQ(S_OK, storage.Reopen());
    EXPECT_GT(storage.Size(), 0u);
    STATSTG stat{};
    ASSERT_EQ(S_OK, storage.get()->Stat(&stat, STATFLAG_NONAME));
    EXPECT_TRUE(stat.clsid == CLSID_StdFont);
    com_ptr<IStream> contents;
    ASSERT_EQ(S_OK, storage.get()->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                              contents.put()));
    char buffer[6] = {};
    ULONG read = 0;
    EXPECT_EQ(S_OK, contents->Read(buffer, 5, &read));
    EXPECT_STREQ("state", buffer);
}

}  // namespace
}  // namespace zo::test
