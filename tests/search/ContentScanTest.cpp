#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TempTree.h"
#include "base/WinHandle.h"
#include "search/CharTables.h"
#include "search/ContentCriteria.h"
#include "search/Paths.h"

namespace {

TContentCriteria Criteria(const wchar_t* phrase, bool ignoreCase, bool wholeWord) {
    TContentCriteria criteria;
    criteria.SetPhrase(phrase);
    criteria.SetIgnoreCase(ignoreCase);
    criteria.WholeWord = wholeWord;
    return criteria;
}

// Scans data from memory with the given buffer size.
bool Scan(const TContentCriteria& c, std::string_view data, size_t bufferSize, size_t* bytesRead = nullptr) {
    size_t at = 0;
    const bool found = ContainsPhrase({c.SearchPhrase(), c.CharTable(), &c.Delimiters(), c.WholeWord}, data.size(),
                                      [&](uint8_t* buffer, size_t count) {
                                          const size_t n = std::min(count, data.size() - at);
                                          std::memcpy(buffer, data.data() + at, n);
                                          at += n;
                                          return n;
                                      },
                                      bufferSize);
    if (bytesRead) *bytesRead = at;
    return found;
}

// Every case is scanned with every buffer size from 1 up, so that the phrase, and the byte after it,
// meet every possible cut between two fills.
TEST(ContentScan, SameAnswerWhereverTheBufferIsCut) {
    struct Case {
        const char* Data;
        const wchar_t* Phrase;
        bool IgnoreCase, WholeWord, Expected;
    } cases[] = {
        {"the NEEDLE is here", L"needle", true, false, true},
        {"the NEEDLE is here", L"needle", false, false, false},
        {"the needle is here", L"needle", false, false, true},
        {"needle", L"needle", true, true, true},                // exactly the word
        {"a needle.", L"needle", true, true, true},             // followed by a full stop
        {"needles", L"needle", true, true, false},              // part of a longer word
        {"xneedle", L"needle", true, true, false},
        {"needles and a needle", L"needle", true, true, true},
        {"nneedle", L"needle", true, false, true},              // a failed candidate overlaps the real one
        {"aaab", L"aab", false, false, true},
        {"needl", L"needle", true, false, false},
        {"", L"x", true, false, false},
        {"abcabcabd", L"abcabd", false, false, true},
        {"word,word", L"word,word", true, true, true},
    };
    for (const auto& c : cases) {
        const TContentCriteria criteria = Criteria(c.Phrase, c.IgnoreCase, c.WholeWord);
        const std::string_view data = c.Data;
        for (size_t buffer = 1; buffer <= data.size() + 2; ++buffer)
            EXPECT_EQ(Scan(criteria, data, buffer), c.Expected) << c.Data << " buffer " << buffer;
    }
}

TEST(ContentScan, ASourceShorterThanThePhraseIsNotRead) {
    const TContentCriteria criteria = Criteria(L"abcdef", false, false);
    size_t read = 0;
    EXPECT_FALSE(Scan(criteria, "abc", 16, &read));   // shorter than the phrase: never read
    EXPECT_EQ(read, 0u);
}

class ContentFiles : public ::testing::Test {
protected:
    TTempTree Tree;
};

TEST_F(ContentFiles, PhraseAcrossTheScanBufferBoundaryIsFound) {
    for (size_t offset = kScanBufferSize - 6; offset <= kScanBufferSize; ++offset) {
        std::string data(kScanBufferSize * 2, 'x');
        data.replace(offset - 1, 8, " Needle ");
        const std::wstring file = Tree.File(L"big.txt", data);
        EXPECT_TRUE(Criteria(L"needle", true, true).Matches(file)) << offset;
        EXPECT_FALSE(Criteria(L"needle", false, true).Matches(file)) << offset;
    }
}

TEST_F(ContentFiles, WholeWordAtTheVeryEndOfALargeFile) {
    const std::wstring file = Tree.File(L"end.txt", std::string(kScanBufferSize, '.') + "word");
    EXPECT_TRUE(Criteria(L"word", true, true).Matches(file));
    EXPECT_FALSE(Criteria(L"wordy", true, false).Matches(file));
}

TEST_F(ContentFiles, UnreadableFilesDoNotMatch) {
    const std::wstring file = Tree.File(L"locked.txt", "needle");
    const TContentCriteria criteria = Criteria(L"needle", true, false);
    EXPECT_TRUE(criteria.Matches(file));
    EXPECT_FALSE(criteria.Matches(Tree.Path(L"missing.txt")));
    UniqueFileHandle exclusive(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_FALSE(criteria.Matches(file));
    // An empty phrase sets no condition: nothing is opened.
    EXPECT_TRUE(TContentCriteria().Matches(Tree.Path(L"missing.txt")));
}

TEST_F(ContentFiles, TextInTheAnsiCodePageAndInUtf8IsFound) {
    const std::wstring ansi = Tree.File(L"ansi.txt", "caf\xE9 au lait");   // é in Windows-1252
    const std::wstring utf8 = Tree.File(L"utf8.txt", "\xE6\x95\xB0\xE6\x8D\xAE \xD0\x9A\xD0\xBE\xD1\x82");
    if (GetACP() == 1252) {
        EXPECT_TRUE(Criteria(L"CAFÉ", true, true).Matches(ansi));
    }
    EXPECT_TRUE(Criteria(L"数据", true, true).Matches(utf8));
    EXPECT_FALSE(Criteria(L"数", true, true).Matches(utf8));   // part of a longer word
    EXPECT_TRUE(Criteria(L"数", true, false).Matches(utf8));
}

// A file's size is 64-bit: a file of 4 GiB and a few bytes is scanned, not taken for a tiny one.
TEST_F(ContentFiles, FilesBeyondFourGiBAreScanned) {
    const std::wstring file = Tree.File(L"huge.bin", "needle");
    {
        UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(handle);
        DWORD returned = 0;
        DeviceIoControl(handle.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = (LONGLONG{1} << 32) + 2;   // the low 32 bits alone would say 2 bytes
        ASSERT_TRUE(SetFilePointerEx(handle.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(handle.get()));
    }
    EXPECT_TRUE(Criteria(L"needle", true, false).Matches(file));
}

}  // namespace
