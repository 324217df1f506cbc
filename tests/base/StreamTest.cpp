#include "base/Exception.h"
#include "base/FileStream.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

TEST(MemoryStream, WritesReadsAndSeeksWithinItsData) {
    TMemoryStream s;
    s.WriteBuffer("hello world", 11);
    EXPECT_EQ(s.Size(), 11);
    EXPECT_EQ(s.Seek(-5, TSeekOrigin::soEnd), 6);
    char word[6] = {};
    s.ReadBuffer(word, 5);
    EXPECT_STREQ(word, "world");
    EXPECT_EQ(s.Read(word, 1), 0u) << "reading at the end gives nothing";
    EXPECT_EQ(s.Seek(-100, TSeekOrigin::soCurrent), 0) << "position is clamped at the start";
    char all[32];
    EXPECT_THROW(s.ReadBuffer(all, 12), EReadError);
    // Writing past the end grows the block; seeking past the end and writing fills with zeros.
    s.Seek(13, TSeekOrigin::soBeginning);
    s.WriteBuffer("!", 1);
    ASSERT_EQ(s.Size(), 14);
    EXPECT_EQ(s.Memory()[11], 0);
    EXPECT_EQ(s.Memory()[13], '!');
}

TEST(MemoryStream, CopyFromTakesAllOfTheSourceWhenCountIsZero) {
    TMemoryStream source(std::vector<unsigned char>(200000, 7));
    source.Seek(50, TSeekOrigin::soBeginning);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 0), 200000);
    EXPECT_EQ(dest.Bytes(), source.Bytes());
}

TEST(FileStream, RoundTripsThroughANonLatinFileName) {
    // Paths are built from UTF-8 so that the host build does not depend on the C library's locale.
    auto dir = std::filesystem::temp_directory_path() / std::filesystem::path(u8"clarivo-\u0444\u0430\u0439\u043b-\u6587\u4ef6");
    std::filesystem::create_directories(dir);
    std::wstring path = Utf8ToWide(reinterpret_cast<const char*>(dir.u8string().c_str())) + L"/\u0434\u0430\u043d\u043d\u044b\u0435.bin";
    {
        TFileStream out(path, TFileStream::fmCreate);
        out.WriteBuffer("abcdef", 6);
        out.SetSize(4);
    }
    TMemoryStream in;
    in.LoadFromFile(path);
    EXPECT_EQ(std::string(in.Bytes().begin(), in.Bytes().end()), "abcd");
    std::filesystem::remove_all(dir);
    EXPECT_THROW(TFileStream(path, TFileStream::fmOpenRead), EFOpenError);
}
