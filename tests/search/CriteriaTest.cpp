#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "search/CharTables.h"
#include "search/Paths.h"
#include "search/SearchCriteria.h"
#include "search/TargetSearch.h"

namespace {

constexpr DWORD A = FILE_ATTRIBUTE_ARCHIVE, R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN,
                S = FILE_ATTRIBUTE_SYSTEM, D = FILE_ATTRIBUTE_DIRECTORY;

TEST(AttributeCriteria, SetAndMaskConvertBitByBit) {
    TAttributeCriteria criteria;
    EXPECT_EQ(criteria.Mask(), 39u);   // archive, read-only, hidden, system
    EXPECT_EQ(criteria.Attributes(), (TFileAttributes{ffArchive, ffReadonly, ffHidden, ffSystem}));
    criteria.SetAttributes({ffHidden, ffSystem, ffDirectory});
    EXPECT_EQ(criteria.Mask(), H | S | D);
    EXPECT_EQ(TFileAttributes::FromMask(0xFFFFFFFF).Bits(), 31);
    EXPECT_EQ((TFileAttributes{ffArchive, ffDirectory}).Bits(), 1 | 16);
}

// Wine cannot give folders an archive or read-only bit, nor files a missing archive bit: the rules
// are checked on attribute values here and on real trees where the platform can hold them.
TEST(AttributeCriteria, MatchesTheWindowsModesAndTheDefault) {
    struct Case {
        TFileAttributes Set;
        bool Exact;
        DWORD Attr;
        bool Expected;
    } cases[] = {
        // Folder Only: hidden + system + directory exactly
        {{ffHidden, ffSystem, ffDirectory}, true, H | S | D, true},
        {{ffHidden, ffSystem, ffDirectory}, true, H | S | D | A, false},   // archive bit set
        {{ffHidden, ffSystem, ffDirectory}, true, H | S | D | R, false},
        {{ffHidden, ffSystem, ffDirectory}, true, H | D, false},
        {{ffHidden, ffSystem, ffDirectory}, true, H | S | D | FILE_ATTRIBUTE_REPARSE_POINT, true},   // other bits ignored
        {{ffHidden, ffSystem, ffDirectory}, true, H | S | A, false},
        // File Only: archive + hidden + system exactly
        {{ffArchive, ffHidden, ffSystem}, true, A | H | S, true},
        {{ffArchive, ffHidden, ffSystem}, true, H | S, false},              // no archive bit
        {{ffArchive, ffHidden, ffSystem}, true, A | H | S | R, false},
        {{ffArchive, ffHidden, ffSystem}, true, A | H | S | D, false},
        {{ffArchive, ffHidden, ffSystem}, true, A | H | S | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, true},
        // Default: no bit outside archive, read-only, hidden, system: every file, no folder
        {{ffArchive, ffReadonly, ffHidden, ffSystem}, false, A | R | H | S, true},
        {{ffArchive, ffReadonly, ffHidden, ffSystem}, false, 0, true},
        {{ffArchive, ffReadonly, ffHidden, ffSystem}, false, D, false},
    };
    for (const auto& c : cases) {
        TAttributeCriteria criteria;
        criteria.SetAttributes(c.Set);
        criteria.ExactMatch = c.Exact;
        EXPECT_EQ(criteria.Matches(c.Attr), c.Expected) << "set " << int(c.Set.Bits()) << " attr " << c.Attr;
    }
}

TEST(SizeCriteria, BoundsAreInclusiveAndSixtyFourBit) {
    const uint64_t fourGiB = uint64_t{1} << 32;
    struct Case {
        uint64_t Min, Max, Size;
        bool Expected;
    } cases[] = {
        {0, 0, 0, true},           {1, 0, 0, false},         {1, 0, 1, true},       {0, 100, 100, true},
        {0, 100, 101, false},      {0, 100, fourGiB + 50, false},   // not judged by its low 32 bits (50)
        {fourGiB, 0, fourGiB + 1, true}, {fourGiB, 0, 5, false},
    };
    for (const auto& c : cases) {
        TSizeCriteria criteria;
        criteria.Min = c.Min;
        criteria.Max = c.Max;
        EXPECT_EQ(criteria.Matches(c.Size), c.Expected) << c.Min << ".." << c.Max << " " << c.Size;
    }
}

FILETIME LocalFileTime(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME local{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                     static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

TEST(DateTimeCriteria, EachPairTestsItsOwnTimeInLocalTime) {
    const FILETIME early = LocalFileTime(2020, 3, 14, 9, 30), late = LocalFileTime(2024, 7, 1, 18, 0);
    EXPECT_DOUBLE_EQ(FileTimeToLocalDateTime(early), EncodeDate(2020, 3, 14) + EncodeTime(9, 30, 0, 0));

    TDateTimeCriteria criteria;
    EXPECT_TRUE(criteria.Matches(early, early, early));
    criteria.ModifiedAfter = EncodeDate(2024, 7, 1);   // a date alone: any time that day or later
    EXPECT_TRUE(criteria.Matches(early, late, early));
    EXPECT_FALSE(criteria.Matches(late, early, late));
    criteria.ModifiedAfter = 0;
    criteria.CreatedAfter = 0.5;   // a time alone: at or after noon, whatever the day
    EXPECT_FALSE(criteria.Matches(early, late, late));
    EXPECT_TRUE(criteria.Matches(late, early, early));
    criteria.CreatedAfter = 0;
    criteria.AccessedBefore = EncodeDate(2020, 3, 14);
    EXPECT_TRUE(criteria.Matches(late, late, early));
    EXPECT_FALSE(criteria.Matches(early, early, late));
}

TEST(ContentCriteria, InternalFieldsFollowPhraseAndIgnoreCase) {
    const TCharTables& tables = CharTables();
    TContentCriteria criteria;
    EXPECT_TRUE(criteria.IgnoreCase());
    EXPECT_EQ(criteria.PhraseLength(), 0u);
    EXPECT_EQ(criteria.CharTable(), tables.LowerCaseTable);
    criteria.SetPhrase(L"Hello World");
    EXPECT_EQ(criteria.SearchPhrase(), "hello world");
    EXPECT_EQ(criteria.PhraseLength(), 11u);
    criteria.SetIgnoreCase(false);
    EXPECT_EQ(criteria.SearchPhrase(), "Hello World");
    EXPECT_EQ(criteria.CharTable(), tables.IdentityTable);
    criteria.SetIgnoreCase(true);
    EXPECT_EQ(criteria.SearchPhrase(), "hello world");
}

TEST(ContentCriteria, PhraseOutsideTheAnsiCodePageIsSearchedAsUtf8) {
    TContentCriteria criteria;
    criteria.SetPhrase(L"Ab 数据");
    EXPECT_EQ(criteria.SearchPhrase(), "ab \xE6\x95\xB0\xE6\x8D\xAE");
    EXPECT_EQ(criteria.CharTable(), CharTables().Utf8LowerCaseTable);
    EXPECT_FALSE(criteria.Delimiters()[0xE6]);   // bytes of a multi-byte character belong to the word
    EXPECT_TRUE(criteria.Delimiters()[' ']);
}

TEST(CharTables, TablesDescribeTheAnsiCodePage) {
    const TCharTables& t = CharTables();
    for (int k = 0; k < 256; ++k) EXPECT_EQ(t.IdentityTable[k], k);
    EXPECT_EQ(t.LowerCaseTable['Q'], 'q');
    EXPECT_EQ(t.LowerCaseTable['q'], 'q');
    EXPECT_EQ(t.LowerCaseTable['7'], '7');
    EXPECT_TRUE(t.WordDelimiters[0]);
    EXPECT_TRUE(t.WordDelimiters[' ']);
    EXPECT_TRUE(t.WordDelimiters['.']);
    EXPECT_FALSE(t.WordDelimiters['a']);
    EXPECT_FALSE(t.WordDelimiters['5']);
}

TEST(Criteria, AssignCopiesEveryValue) {
    TSearchCriteria source;
    source.Files.FileName = L"*.txt";
    source.Files.Location = L"C:\\Data";
    source.Files.Included = {L"C:\\Logs\\*.log"};
    source.Files.Excluded = {L"*.bak"};
    source.Files.Subfolders = false;
    source.Files.MinLevel = 2;
    source.Files.MaxLevel = 3;
    source.Attribute.SetAttributes({ffHidden});
    source.Attribute.ExactMatch = true;
    source.TimeStamp.AccessedAfter = 5;
    source.Size.Max = 1000;
    source.Content.SetPhrase(L"Needle");
    source.Content.SetIgnoreCase(false);
    source.Content.WholeWord = true;

    TSearchCriteria target;
    target.Assign(&source);
    EXPECT_EQ(target.Files.FileName, L"*.txt");
    EXPECT_EQ(target.Files.Location, L"C:\\Data");
    EXPECT_EQ(target.Files.Included, source.Files.Included);
    EXPECT_EQ(target.Files.Excluded, source.Files.Excluded);
    EXPECT_FALSE(target.Files.Subfolders);
    EXPECT_EQ(target.Files.MinLevel, 2);
    EXPECT_EQ(target.Files.MaxLevel, 3);
    EXPECT_EQ(target.Attribute.Mask(), DWORD{H});
    EXPECT_TRUE(target.Attribute.ExactMatch);
    EXPECT_EQ(target.TimeStamp.AccessedAfter, 5);
    EXPECT_EQ(target.Size.Max, 1000u);
    EXPECT_EQ(target.Content.SearchPhrase(), "Needle");
    EXPECT_EQ(target.Content.CharTable(), CharTables().IdentityTable);
    EXPECT_TRUE(target.Content.WholeWord);

    // The parts are copies: changing the source afterwards leaves the target alone.
    source.Files.Excluded.clear();
    EXPECT_EQ(target.Files.Excluded.size(), 1u);
}

TEST(Criteria, AssignFromAnotherClassFailsAndChangesNothing) {
    TSizeCriteria size;
    size.Min = 7;
    TFileCriteria files;
    files.FileName = L"keep";
    try {
        files.Assign(&size);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TSizeCriteria to a TFileCriteria");
    }
    EXPECT_EQ(files.FileName, L"keep");
    try {
        size.Assign(nullptr);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a nil to a TSizeCriteria");
    }
    EXPECT_EQ(size.Min, 7u);
    TSearchCriteria all;
    EXPECT_THROW(all.Assign(&files), EConvertError);
}

TEST(TargetSearch, LocationsBecomeDistinctTargetFolders) {
    TSearchCriteria criteria;
    criteria.Files.FileName = L"*.txt;*.log";
    criteria.Files.Location = L"C:\\Data; c:\\data ;>D:\\Logs;C:\\Data\\";
    criteria.Files.Subfolders = false;
    criteria.Files.MaxLevel = 4;
    const TTargetSearch search(criteria);
    const auto& folders = search.TargetFolders.Folders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0].Path, L"C:\\Data\\");
    EXPECT_FALSE(folders[0].Subfolders);
    // C:\Data and C:\Data\ are one folder: its masks are there twice.
    EXPECT_EQ(folders[0].FileMasks, (std::vector<std::wstring>{L"*.txt", L"*.log", L"*.txt", L"*.log"}));
    EXPECT_EQ(folders[1].Path, L"D:\\Logs\\");
    EXPECT_TRUE(folders[1].Subfolders);
    EXPECT_EQ(folders[1].MaxLevel, 4);
}

TEST(TargetSearch, IncludedLinesComeFirstAndRelativePathsBecomeAbsolute) {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    TSearchCriteria criteria;
    criteria.Files.FileName = L"*";
    criteria.Files.Location = L"C:\\Data";
    criteria.Files.Included = {L"<C:\\Logs\\*.log", L"rel\\*.txt", L"C:\\DATA\\x.doc"};
    const TTargetSearch search(criteria);
    const auto& folders = search.TargetFolders.Folders();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].Path, L"C:\\Logs\\");
    EXPECT_FALSE(folders[0].Subfolders);
    EXPECT_EQ(folders[0].FileMasks, std::vector<std::wstring>{L"*.log"});
    EXPECT_EQ(folders[1].Path, IncludeFolderDelimiter(current) + L"rel\\");
    EXPECT_EQ(folders[2].Path, L"C:\\DATA\\");
    EXPECT_EQ(folders[2].FileMasks, (std::vector<std::wstring>{L"x.doc", L"*"}));
}

TEST(TargetSearch, NoLocationNoTargetAndAPhraseLeavesFoldersOut) {
    TSearchCriteria criteria;
    criteria.Attribute.SetAttributes({ffHidden, ffSystem, ffDirectory});
    criteria.Content.SetPhrase(L"x");
    const TTargetSearch search(criteria);
    EXPECT_TRUE(search.TargetFolders.Folders().empty());
    EXPECT_EQ(search.Attribute.Attributes(), (TFileAttributes{ffHidden, ffSystem}));
    EXPECT_EQ(criteria.Attribute.Attributes(), (TFileAttributes{ffHidden, ffSystem, ffDirectory}));
}

}  // namespace
