#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

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

TPhraseScan ScanOf(const TContentCriteria& c) { return {c.SearchPhrase(), c.CharTable(), &c.Delimiters(), c.WholeWord}; }

// Scans data from memory with the given buffer size, reading ahead or not.
bool Scan(const TContentCriteria& c, std::string_view data, size_t bufferSize, size_t* bytesRead = nullptr,
          bool readAhead = false) {
    size_t at = 0;
    const bool found = ContainsPhrase(ScanOf(c), data.size(),
                                      [&](uint8_t* buffer, size_t count) {
                                          const size_t n = std::min(count, data.size() - at);
                                          std::memcpy(buffer, data.data() + at, n);
                                          at += n;
                                          return n;
                                      },
                                      bufferSize, readAhead);
    if (bytesRead) *bytesRead = at;
    return found;
}

// Every case is scanned with every buffer size from 1 up, so that the phrase, and the byte after it,
// meet every possible cut between two reads, and both ways: when reading ahead consecutive blocks lie
// in different buffers of the ring.
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
        // Long enough for blocks of 32 positions: false starts share a block with the occurrence.
        {"eneedle needles NEEDLE! and a tail long enough for a block", L"needle", true, true, true},
        {"eneedle needles NEEDLE! and a tail long enough for a block", L"NEEDLE", false, true, true},
        {"eneedle needles Needle! and a tail long enough for a block", L"NEEDLE", false, true, false},
    };
    for (const auto& c : cases) {
        const TContentCriteria criteria = Criteria(c.Phrase, c.IgnoreCase, c.WholeWord);
        const std::string_view data = c.Data;
        for (const bool ahead : {false, true})
            for (size_t buffer = 1; buffer <= data.size() + 2; ++buffer)
                EXPECT_EQ(Scan(criteria, data, buffer, nullptr, ahead), c.Expected)
                    << c.Data << " buffer " << buffer << (ahead ? " reading ahead" : "");
    }
}

TEST(ContentScan, ASourceShorterThanThePhraseIsNotRead) {
    const TContentCriteria criteria = Criteria(L"abcdef", false, false);
    for (const bool ahead : {false, true}) {
        size_t read = 0;
        EXPECT_FALSE(Scan(criteria, "abc", 16, &read, ahead));   // shorter than the phrase: never read
        EXPECT_EQ(read, 0u);
    }
}

// A source whose bytes differ from its size, as a file that another program cuts or extends while it is
// scanned: the scan goes by what the reads give, to their end.
TEST(ContentScan, ASourceThatShrinksOrGrowsIsScannedAsFarAsItReads) {
    struct Case {
        const char* Name;
        size_t Size;          // the size the scan is told
        std::string Data;     // what the reads give
        bool Expected;
    } cases[] = {
        {"cut before the phrase", 4096, std::string(100, '.') , false},
        {"cut just after the phrase, word rule at its new end", 4096, std::string(100, '.') + " needle", true},
        {"cut to nothing", 4096, "", false},
        {"grown, the phrase in the added part", 100, std::string(5000, '.') + " needle", true},
    };
    const TContentCriteria criteria = Criteria(L"needle", true, true);
    for (const auto& c : cases)
        for (const bool ahead : {false, true})
            for (const size_t buffer : {size_t{7}, size_t{64}, size_t{4096}}) {
                size_t at = 0;
                const auto read = [&](uint8_t* out, size_t count) {
                    const size_t n = std::min(count, c.Data.size() - at);
                    std::memcpy(out, c.Data.data() + at, n);
                    at += n;
                    return n;
                };
                EXPECT_EQ(ContainsPhrase(ScanOf(criteria), c.Size, read, buffer, ahead), c.Expected)
                    << c.Name << " buffer " << buffer << (ahead ? " reading ahead" : "");
            }
}

// A long source without the phrase: the abort flag stops the scan within a few blocks of being set
// (those read ahead), and no read runs after the scan has returned.
TEST(ContentScan, AbortStopsTheScanWithinAFewBlocks) {
    const TContentCriteria criteria = Criteria(L"needle", true, false);
    for (const bool ahead : {false, true}) {
        std::atomic<bool> abort{false};
        std::atomic<int> reads{0}, readsAfterReturn{0};
        std::atomic<bool> returned{false};
        const auto read = [&](uint8_t* out, size_t count) {
            if (returned) ++readsAfterReturn;
            const int n = ++reads;
            if (n == 5) abort = true;
            if (n > 1000) return size_t{0};
            std::memset(out, 'x', count);
            return count;
        };
        EXPECT_FALSE(ContainsPhrase(ScanOf(criteria), 1 << 20, read, 4096, ahead, &abort));
        returned = true;
        Sleep(20);
        EXPECT_LE(reads.load(), 5 + static_cast<int>(kReadAheadBlocks) + 1) << ahead;
        EXPECT_EQ(readsAfterReturn.load(), 0) << ahead;
    }
}

// A read that fails fails the scan, but only once the blocks read before it were scanned.
TEST(ContentScan, AReadFailureComesOutOfTheScan) {
    const TContentCriteria criteria = Criteria(L"needle", true, false);
    for (const bool ahead : {false, true}) {
        int reads = 0;
        const auto failing = [&](uint8_t* out, size_t count) -> size_t {
            if (++reads == 3) throw EReadError("Cannot read the file");
            std::memset(out, 'x', count);
            return count;
        };
        EXPECT_THROW(ContainsPhrase(ScanOf(criteria), 1 << 20, failing, 4096, ahead), EReadError) << ahead;
        reads = 0;
        const auto foundFirst = [&](uint8_t* out, size_t count) -> size_t {
            if (++reads == 3) throw EReadError("Cannot read the file");
            std::memset(out, 'x', count);
            if (reads == 1) std::memcpy(out, "needle", 6);
            return count;
        };
        EXPECT_TRUE(ContainsPhrase(ScanOf(criteria), 1 << 20, foundFirst, 4096, ahead)) << ahead;
    }
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

// A search that is aborted takes no more files: a scan that starts after the abort does not match.
TEST_F(ContentFiles, AnAbortedScanDoesNotMatch) {
    const std::wstring file = Tree.File(L"needle.txt", "a needle");
    const TContentCriteria criteria = Criteria(L"needle", true, false);
    std::atomic<bool> abort{false};
    EXPECT_TRUE(criteria.Matches(file, &abort));
    abort = true;
    EXPECT_FALSE(criteria.Matches(file, &abort));
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

// The mapped scan is given views of 64 KiB, the allocation granularity, and the scan reading ahead
// blocks of as much, so that these small files cross several views or blocks; occurrences sit at the
// file's ends and on both sides of the first boundary.
constexpr size_t kView = 64 << 10;

// A file of Size bytes (0: three views) of Filler with each text written at its offset (a negative one
// counts from the end).
struct TFileCase {
    const char* Name;
    size_t Size;
    char Filler;
    std::vector<std::pair<int64_t, std::string>> Texts;
    std::string Phrase;
    bool IgnoreCase, WholeWord, Expected;
};

std::string Content(const TFileCase& c, size_t size) {
    std::string data(size, c.Filler);
    for (const auto& [at, text] : c.Texts)
        std::copy(text.begin(), text.end(), data.begin() + (at < 0 ? static_cast<int64_t>(size) + at : at));
    return data;
}

// A phrase longer than a view with no repeats in it that a shifted copy could match.
std::string LongPhrase(size_t length) {
    std::string text;
    for (int n = 0; text.size() < length; ++n) text.append(1, 'w').append(std::to_string(n)).append(1, ' ');
    text.resize(length);
    return text;
}

TEST_F(ContentFiles, EveryWayGivesTheSameAnswerAtViewBoundariesAndTheFileEnds) {
    const int64_t v = kView;
    const std::string longPhrase = LongPhrase(kView + 4464);
    std::string longMiss = longPhrase;
    longMiss.back() = '#';
    const TFileCase cases[] = {
        {"at the very start", 0, '.', {{0, "needle"}}, "needle", true, true, true},
        {"at the start, a letter after it", 0, '.', {{0, "needlex"}}, "needle", true, true, false},
        {"across a view boundary", 0, '.', {{v - 3, "NEEDLE"}}, "needle", true, true, true},
        {"across a view boundary, other case", 0, '.', {{v - 3, "NEEDLE"}}, "needle", false, false, false},
        {"ending at a view boundary, a letter after it", 0, 'x', {{v - 7, ".needle"}}, "needle", true, true, false},
        {"ending at a view boundary, a space after it", 0, 'x', {{v - 7, ".needle "}}, "needle", true, true, true},
        {"starting at a view boundary, a letter before it", 0, 'x', {{v, "needle "}}, "needle", true, true, false},
        {"starting at a view boundary, a space before it", 0, 'x', {{v - 1, " needle "}}, "needle", true, true, true},
        {"starting at a view's last byte", 0, 'x', {{v - 2, " needle "}}, "needle", true, true, true},
        {"starting at a view boundary, no word rule", 0, 'x', {{v, "needle"}}, "needle", true, false, true},
        {"at the very end", 0, 'x', {{-7, ".needle"}}, "needle", true, true, true},
        {"at the very end, a letter before it", 0, '.', {{-7, "xneedle"}}, "needle", true, true, false},
        {"longer than a view, across two boundaries", 0, '.', {{v - 1000, longPhrase}}, longPhrase, false, false, true},
        {"longer than a view, last byte differs", 0, '.', {{v - 1000, longPhrase}}, longMiss, false, false, false},
        {"longer than a view, at the very end", 0, '.', {{-static_cast<int64_t>(longPhrase.size()), longPhrase}},
         longPhrase, false, true, true},
        {"only parts of it on either side of a boundary", 0, '.', {{v - 5, "needl"}, {v + 1, "eedle"}}, "needle", true,
         false, false},
        {"the whole file", 6, '.', {{0, "Needle"}}, "needle", true, true, true},
        {"one byte more than the phrase", 7, '.', {{1, "needle"}}, "needle", true, true, true},
        {"view and a byte, occurrence in the last byte's reach", kView + 1, '.', {{-6, "needle"}}, "needle", true, true,
         true},
    };
    for (const auto& c : cases) {
        const std::wstring phrase(c.Phrase.begin(), c.Phrase.end());
        const TContentCriteria criteria = Criteria(phrase.c_str(), c.IgnoreCase, c.WholeWord);
        const std::string data = Content(c, c.Size ? c.Size : 3 * kView);
        const std::wstring file = Tree.File(L"case.txt", data);
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Scan(criteria, data, kScanBufferSize), c.Expected) << "from memory";
        EXPECT_EQ(FileContainsPhrase(file, ScanOf(criteria), TFileAccess::Reading), c.Expected) << "reading";
        EXPECT_EQ(FileContainsPhrase(file, ScanOf(criteria), TFileAccess::ReadingAhead, kView), c.Expected)
            << "reading ahead";
        EXPECT_EQ(FileContainsPhrase(file, ScanOf(criteria), TFileAccess::Mapping, kView), c.Expected) << "mapped";
        EXPECT_EQ(criteria.Matches(file), c.Expected) << "as the search scans";
    }
}

TEST_F(ContentFiles, EveryWayRejectsAnEmptyFileAndFailsOnOneItCannotOpen) {
    const std::wstring empty = Tree.File(L"empty.txt"), locked = Tree.File(L"locked.txt", "needle");
    const std::wstring missing = Tree.Path(L"missing.txt");
    const TContentCriteria criteria = Criteria(L"needle", true, false);
    UniqueFileHandle exclusive(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    for (const TFileAccess access :
         {TFileAccess::Automatic, TFileAccess::Reading, TFileAccess::ReadingAhead, TFileAccess::Mapping}) {
        SCOPED_TRACE(static_cast<int>(access));
        EXPECT_FALSE(FileContainsPhrase(empty, ScanOf(criteria), access, kView));
        EXPECT_THROW(FileContainsPhrase(missing, ScanOf(criteria), access, kView), EReadError);
        EXPECT_THROW(FileContainsPhrase(locked, ScanOf(criteria), access, kView), EReadError);
    }
    EXPECT_TRUE(TContentCriteria().Matches(empty));   // an empty phrase is in every file
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
