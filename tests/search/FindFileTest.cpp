#include "search/FindFile.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <algorithm>

#include "SearchRecorder.h"
#include "TempTree.h"

namespace {

using Strings = std::vector<std::wstring>;
constexpr DWORD A = FILE_ATTRIBUTE_ARCHIVE, R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN,
                S = FILE_ATTRIBUTE_SYSTEM;

Strings Sorted(Strings list) {
    std::sort(list.begin(), list.end());
    return list;
}

class FindFileWalk : public ::testing::Test {
protected:
    void Search(const std::wstring& location) {
        FindFile.Criteria.Files.Location = location;
        FindFile.Execute();
    }

    TTempTree Tree;
    TFindFile FindFile;
    TSearchRecorder Events{FindFile, Tree.Root()};
};

// The window's two modes on a tree both Windows and Wine can hold.
class WindowModes : public FindFileWalk {
protected:
    void SetUp() override {
        Tree.Folder(L"HS", H | S);
        Tree.Folder(L"HS\\Inner", H | S);
        Tree.Folder(L"Plain");
        Tree.Folder(L"Hidden", H);
        Tree.File(L"hs.txt", "x", A | H | S);
        Tree.File(L"hsr.txt", "x", A | H | S | R);
        Tree.File(L"plain.txt", "x");
        Tree.File(L"Plain\\deep.dat", std::string(1025, 'x'), A | H | S);
        Tree.File(L"HS\\Inner\\empty.dat", "", A | H | S);
    }
};

// Each entry comes with its number on the volume, as its own handle tells it: the list can know an
// object by it from the moment it is listed.
TEST_F(WindowModes, EveryEntryComesWithItsFileNumber) {
    UseFileMode(FindFile);
    Search(Tree.Root());
    ASSERT_EQ(Events.Records.size(), 3u);
    ASSERT_EQ(Events.Matches.size(), Events.Records.size());
    for (size_t i = 0; i < Events.Records.size(); ++i) {
        const std::wstring path = Tree.Path(Events.Matches[i]);
        const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        BY_HANDLE_FILE_INFORMATION info;
        ASSERT_TRUE(GetFileInformationByHandle(file, &info));
        CloseHandle(file);
        EXPECT_NE(Events.Records[i].FileId, 0u);
        EXPECT_EQ(Events.Records[i].FileId, uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow) << i;
    }
}

TEST_F(WindowModes, FolderOnlyFindsHiddenSystemFoldersAtAnyDepth) {
    UseFolderMode(FindFile);
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"HS", L"HS\\Inner"}));
    EXPECT_EQ(Sorted(Events.Folders), (Strings{L"", L"HS\\", L"HS\\Inner\\", L"Hidden\\", L"Plain\\"}));
    EXPECT_EQ(Events.Log.front(), L"begin");
    EXPECT_EQ(Events.Log.back(), L"finish");
    EXPECT_FALSE(FindFile.Busy());
    EXPECT_EQ(FindFile.PreparedSearch(), nullptr);
}

TEST_F(WindowModes, FileOnlyFindsArchiveHiddenSystemFilesWithTheirSizes) {
    UseFileMode(FindFile);
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"HS\\Inner\\empty.dat", L"Plain\\deep.dat", L"hs.txt"}));
    for (const TSearchRec& rec : Events.Records) {
        const uint32_t expected = rec.Name == L"deep.dat" ? 1025 : rec.Name == L"hs.txt" ? 1 : 0;
        EXPECT_EQ(rec.Size, expected) << rec.Name;
        EXPECT_EQ(rec.Size64(), expected);
        EXPECT_EQ(rec.Attr & (A | H | S | R), A | H | S);
        EXPECT_NE(rec.Time, 0u);
    }
}

// Both window modes on names in other scripts, reported exactly as they are on disk.
TEST_F(FindFileWalk, NamesInAnyScriptAreReportedExactly) {
    Tree.Folder(L"Привет", H | S);
    Tree.Folder(L"数据\\Ünïcödé", H | S);
    Tree.File(L"Привет\\файл.txt", "x", A | H | S);
    Tree.File(L"数据\\文件.txt", "x", A | H | S);
    UseFolderMode(FindFile);
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"Привет", L"数据\\Ünïcödé"}));
    Events.Matches.clear();
    UseFileMode(FindFile);
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"Привет\\файл.txt", L"数据\\文件.txt"}));
}

TEST_F(FindFileWalk, PathsLongerThan260AreWalkedAndReportedInNormalForm) {
    std::wstring deep;
    for (int i = 0; i < 12; ++i) deep += L"folder-with-a-long-name-" + std::to_wstring(i) + L"\\";
    Tree.Folder(deep);
    const std::wstring file = Tree.File(deep + L"needle.txt", "a needle here", A | H | S);
    ASSERT_GT(file.size(), 300u);
    UseFileMode(FindFile);
    FindFile.Criteria.Content.SetPhrase(L"NEEDLE");
    Search(Tree.Root());
    ASSERT_EQ(Events.Matches, Strings{deep + L"needle.txt"});
    EXPECT_EQ(Events.Folders.back(), deep);
    EXPECT_FALSE(Events.Folders.back().starts_with(L"\\\\?\\"));
}

// A chain of one-letter folders as deep as the platform lets us make it, up to 3000 levels: the walk
// keeps no stack frame per level, so the depth is limited only by the length of a path. Under Wine the
// Unix path limit (4096 bytes) ends the chain at about 2000 levels, and every call on such a path is
// slow there (the server resolves it one component at a time), hence the long wait.
TEST_F(FindFileWalk, TreesThousandsOfLevelsDeepAreWalkedToTheBottom) {
    const std::wstring deepest = Tree.Chain(2999);
    const auto levels = static_cast<uint16_t>((deepest.size() - Tree.Root().size()) / 2 + 1);   // the target is level 1
    ASSERT_GE(levels, 1500) << "the platform ended the chain early";
    size_t folders = 0, matches = 0;
    uint16_t deepestLevel = 0;
    std::wstring lastMatch;
    FindFile.OnFolderChange = [&](TFindFile* sender, const std::wstring&, TFolderIgnore&) {
        ++folders;
        deepestLevel = std::max(deepestLevel, sender->CurrentLevel());
    };
    FindFile.OnFileMatch = [&](TFindFile*, const std::wstring& folder, const TSearchRec& info) {
        ++matches;
        lastMatch = folder + info.Name;
    };
    FindFile.Threaded = true;
    FindFile.Criteria.Files.FileName = L"*";
    FindFile.Criteria.Attribute.SetAttributes({ffDirectory});
    Search(Tree.Root());
    PumpUntilIdle(FindFile, 600000);
    EXPECT_EQ(folders, levels);
    EXPECT_EQ(deepestLevel, levels);
    EXPECT_EQ(matches, levels - 1u);
    EXPECT_EQ(lastMatch + L'\\', deepest);   // the deepest folder, found as an entry of its parent
}

TEST_F(FindFileWalk, DirectoryLinksAreReportedButNeverEntered) {
    Tree.Folder(L"a\\b");
    if (!Tree.Link(L"a\\loop", Tree.Root())) GTEST_SKIP() << "no directory links here";
    FindFile.Criteria.Files.FileName = L"*";
    FindFile.Criteria.Attribute.SetAttributes({ffDirectory});
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Folders), (Strings{L"", L"a\\", L"a\\b\\"}));
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"a", L"a\\b", L"a\\loop"}));
    const auto link = std::find_if(Events.Records.begin(), Events.Records.end(),
                                   [](const TSearchRec& rec) { return rec.Name == L"loop"; });
    ASSERT_NE(link, Events.Records.end());
    EXPECT_TRUE(link->Attr & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Masks, levels, exclusions and prefixes on one tree with the default attribute criteria (every file).
class WalkRules : public FindFileWalk {
protected:
    void SetUp() override {
        for (const wchar_t* file : {L"a.txt", L"b.log", L"x.bak", L"sub\\c.txt", L"sub\\Temp\\d.txt",
                                    L"sub\\Temp\\deeper\\e.txt"})
            Tree.File(file, "x");
    }
};

TEST_F(WalkRules, MasksLevelsAndExclusions) {
    struct Case {
        const wchar_t* Name;
        const wchar_t* FileName;
        const wchar_t* Location;   // relative to the tree, ";" between entries
        uint16_t MinLevel, MaxLevel;
        Strings Excluded;
        Strings Matches;   // in the order reported
        size_t FolderChanges;
    } cases[] = {
        {L"each folder is listed with *.log, then *.txt", L"*.txt;*.log", L"", 0, 0, {},
         {L"b.log", L"a.txt", L"sub\\c.txt", L"sub\\Temp\\d.txt", L"sub\\Temp\\deeper\\e.txt"}, 4},
        {L"MaxLevel 1 stays in the target folder", L"*.txt", L"", 0, 1, {}, {L"a.txt"}, 1},
        {L"MaxLevel 2 adds its subfolders", L"*.txt", L"", 0, 2, {}, {L"a.txt", L"sub\\c.txt"}, 2},
        {L"MinLevel 2 starts one level down", L"*.txt", L"", 2, 0, {},
         {L"sub\\c.txt", L"sub\\Temp\\d.txt", L"sub\\Temp\\deeper\\e.txt"}, 4},
        {L"a folder tail excludes that folder's entries only", L"*", L"", 0, 0, {L"*.bak", L"\\Temp\\"},
         {L"a.txt", L"b.log", L"sub\\Temp\\deeper\\e.txt", L"sub\\c.txt"}, 4},
        {L"no masks: nothing reported, every folder entered", L"", L"", 0, 0, {}, {}, 4},
        {L"< switches descent off", L"*.txt", L"<", 0, 0, {}, {L"a.txt"}, 1},
        {L"one folder named twice reports twice", L"*.txt", L";sub\\..", 0, 1, {}, {L"a.txt", L"a.txt"}, 1},
        {L"a missing folder is entered once and gives nothing", L"*", L"missing", 0, 0, {}, {}, 1},
        {L"a folder that cannot be listed gives nothing", L"*", L"a.txt", 0, 0, {}, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFindFile findFile;
        TSearchRecorder events(findFile, Tree.Root());
        findFile.Criteria.Files.FileName = c.FileName;
        std::wstring location = c.Location;
        if (location.starts_with(L"<"))
            location = L"<" + Tree.Root();
        else if (location.starts_with(L";"))
            location = Tree.Root() + L";" + Tree.Path(location.substr(1));
        else
            location = Tree.Path(location);
        findFile.Criteria.Files.Location = location;
        findFile.Criteria.Files.MinLevel = c.MinLevel;
        findFile.Criteria.Files.MaxLevel = c.MaxLevel;
        findFile.Criteria.Files.Excluded = c.Excluded;
        findFile.Execute();
        Strings matches = events.Matches;
        if (c.FileName == std::wstring(L"*")) matches = Sorted(matches);   // one listing: the platform's order
        EXPECT_EQ(matches, c.Matches);
        EXPECT_EQ(events.Folders.size(), c.FolderChanges);
    }
}

TEST_F(WalkRules, IncludedLinesAddTheirOwnFolderAndMask) {
    FindFile.Criteria.Files.Included = {L"<" + Tree.Path(L"sub\\Temp\\*.txt")};
    Search(L"");
    EXPECT_EQ(Events.Matches, Strings{L"sub\\Temp\\d.txt"});
}

TEST_F(WalkRules, NoTargetRaisesBeginAndFinishOnly) {
    Search(L"");
    EXPECT_EQ(Events.Log, (Strings{L"begin", L"finish"}));
}

TEST_F(WalkRules, FolderChangeAnswersSteerTheWalk) {
    struct Case {
        TFolderIgnore Answer;
        Strings Matches;
    } cases[] = {
        {fiNone, {L"sub\\Temp\\d.txt", L"sub\\Temp\\deeper\\e.txt", L"sub\\c.txt"}},
        {fiJustThis, {L"sub\\Temp\\d.txt", L"sub\\Temp\\deeper\\e.txt"}},
        {fiJustSubfolders, {L"sub\\c.txt"}},
        {fiThisAndSubfolders, {}},
    };
    for (const auto& c : cases) {
        TFindFile findFile;
        TSearchRecorder events(findFile, Tree.Root());
        findFile.OnFolderChange = [&](TFindFile*, const std::wstring& folder, TFolderIgnore& answer) {
            if (folder == Tree.Path(L"sub\\")) answer = c.Answer;
        };
        findFile.Criteria.Files.FileName = L"*.txt";
        findFile.Criteria.Files.Location = Tree.Path(L"sub");
        findFile.Execute();
        EXPECT_EQ(Sorted(events.Matches), c.Matches) << c.Answer;
    }
}

TEST_F(WalkRules, FoldersThatCannotBeListedAreReportedRightAfterTheyAreEntered) {
    Tree.Folder(L"empty");
    Tree.Folder(L"sub\\Empty");
    struct Case {
        const wchar_t* Name;
        const wchar_t* FileName;
        const wchar_t* Location;   // relative to the tree
        Strings Errors;
        DWORD Code;                // 0: whichever the platform gives
    } cases[] = {
        {L"a target that does not exist", L"*", L"missing", {L"missing\\"}, ERROR_PATH_NOT_FOUND},
        {L"the same with several masks", L"*.txt;*.log", L"missing", {L"missing\\"}, ERROR_PATH_NOT_FOUND},
        {L"a file given as a folder", L"*", L"a.txt", {L"a.txt\\"}, 0},
        {L"an empty target is listed, and empty", L"*", L"empty", {}, 0},
        {L"empty subfolders are listed, and empty", L"*", L"", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFindFile findFile;
        TSearchRecorder events(findFile, Tree.Root());
        findFile.Criteria.Files.FileName = c.FileName;
        findFile.Criteria.Files.Location = Tree.Path(c.Location);
        findFile.Execute();
        Strings errors;
        for (const auto& [folder, code] : events.Errors) {
            errors.push_back(folder);
            EXPECT_NE(code, DWORD{NO_ERROR});
            if (c.Code) {
                EXPECT_EQ(code, c.Code);
            }
        }
        EXPECT_EQ(errors, c.Errors);
        for (size_t i = 0; i < events.Log.size(); ++i) {
            if (events.Log[i].starts_with(L"error ")) {
                EXPECT_EQ(events.Log[i - 1], L"folder " + events.Log[i].substr(6));
            }
        }
    }
}

// Windows refuses to list a folder whose access list denies it; Wine keeps such lists but does not
// enforce them.
TEST_F(WalkRules, ADeniedFolderIsReportedAndTheWalkGoesOn) {
    const std::wstring denied = Tree.Folder(L"sub\\Denied");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Listing denied to everyone, everything else allowed, so that the tree can still be removed.
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x1;;;WD)(A;OICI;FA;;;WD)",
                                                                     SDDL_REVISION_1, &descriptor, nullptr));
    const BOOL applied = SetFileSecurityW(denied.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    ASSERT_TRUE(applied);
    WIN32_FIND_DATAW data;
    if (const UniqueFindHandle probe(FindFirstFileW((denied + L"\\*").c_str(), &data)); probe)
        GTEST_SKIP() << "the platform lists the folder all the same";
    FindFile.Criteria.Files.FileName = L"*.txt";
    Search(Tree.Root());
    EXPECT_EQ(Events.Errors, (std::vector<std::pair<std::wstring, DWORD>>{{L"sub\\Denied\\", ERROR_ACCESS_DENIED}}));
    EXPECT_EQ(Sorted(Events.Matches),
              (Strings{L"a.txt", L"sub\\Temp\\d.txt", L"sub\\Temp\\deeper\\e.txt", L"sub\\c.txt"}));
}

TEST_F(WalkRules, VanishedFoldersContributeNothing) {
    FindFile.Criteria.Files.FileName = L"*";
    auto record = FindFile.OnFolderChange;
    FindFile.OnFolderChange = [&](TFindFile* sender, const std::wstring& folder, TFolderIgnore& answer) {
        record(sender, folder, answer);
        if (folder == Tree.Path(L"sub\\Temp\\")) {   // gone between its parent's listing and its own
            for (const wchar_t* path : {L"sub\\Temp\\deeper\\e.txt", L"sub\\Temp\\d.txt"}) DeleteFileW(Tree.Path(path).c_str());
            RemoveDirectoryW(Tree.Path(L"sub\\Temp\\deeper").c_str());
            RemoveDirectoryW(Tree.Path(L"sub\\Temp").c_str());
        }
    };
    Search(Tree.Root());
    EXPECT_EQ(Sorted(Events.Matches), (Strings{L"a.txt", L"b.log", L"sub\\c.txt", L"x.bak"}));
    EXPECT_EQ(Sorted(Events.Folders), (Strings{L"", L"sub\\", L"sub\\Temp\\"}));
    EXPECT_EQ(Events.Errors.size(), 1u);
    EXPECT_EQ(Events.Errors.front().first, L"sub\\Temp\\");
}

TEST_F(WalkRules, AbortFromAHandlerStopsTheUnthreadedWalk) {
    FindFile.Criteria.Files.FileName = L"*.txt";
    FindFile.OnFileMatch = [&](TFindFile* sender, const std::wstring&, const TSearchRec& info) {
        Events.Matches.push_back(info.Name);
        sender->Abort();
    };
    Search(Tree.Root());
    EXPECT_EQ(Events.Matches.size(), 1u);
    EXPECT_EQ(Events.Log, (Strings{L"begin", L"folder ", L"abort", L"finish"}));
    EXPECT_TRUE(Events.AbortedAtFinish);
    EXPECT_TRUE(FindFile.Aborted());
    FindFile.Abort();   // idle: nothing happens
    EXPECT_EQ(Events.Log.size(), 4u);
}

TEST_F(WalkRules, AFailingHandlerStillFinishesTheSearch) {
    FindFile.Criteria.Files.FileName = L"*";
    FindFile.OnFileMatch = [](TFindFile*, const std::wstring&, const TSearchRec&) { throw std::runtime_error("boom"); };
    EXPECT_THROW(Search(Tree.Root()), std::runtime_error);
    EXPECT_EQ(Events.Log.back(), L"finish");
    EXPECT_FALSE(FindFile.Busy());
    EXPECT_EQ(FindFile.PreparedSearch(), nullptr);
}

TEST_F(WalkRules, SizeAndContentCriteriaFilterEntries) {
    Tree.File(L"sub\\big.txt", std::string(2000, 'x') + " Needle");
    FindFile.Criteria.Files.FileName = L"*.txt";
    FindFile.Criteria.Size.Min = 2;
    FindFile.Criteria.Content.SetPhrase(L"needle");
    FindFile.Criteria.Content.WholeWord = true;
    Search(Tree.Root());
    EXPECT_EQ(Events.Matches, Strings{L"sub\\big.txt"});
}

}  // namespace

// The record's packed time is the system's own conversion (FileTimeToLocalFileTime, then
// FileTimeToDosDateTime), made without asking the system for every entry.
TEST(SearchRecTime, PackedTimeIsTheSystemsConversion) {
    struct TCase {
        WORD Year, Month, Day, Hour, Minute, Second;
    } cases[] = {
        {1980, 1, 1, 0, 0, 0},    {1980, 2, 29, 12, 0, 1},  {1999, 12, 31, 23, 59, 59}, {2000, 2, 29, 6, 7, 8},
        {2000, 3, 1, 0, 0, 2},    {2024, 7, 1, 18, 0, 0},   {2026, 12, 11, 6, 30, 45},  {2100, 2, 28, 23, 59, 58},
        {2100, 3, 1, 0, 0, 0},    {2107, 12, 31, 23, 59, 59},
    };
    for (const TCase& c : cases) {
        const SYSTEMTIME st{c.Year, c.Month, 0, c.Day, c.Hour, c.Minute, c.Second, 0};
        FILETIME local, utc;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
        WORD date = 0, time = 0;
        ASSERT_TRUE(FileTimeToDosDateTime(&local, &date, &time));
        const uint32_t packed = uint32_t{date} << 16 | time;
        EXPECT_EQ(PackedDosTime(uint64_t{local.dwHighDateTime} << 32 | local.dwLowDateTime), packed) << c.Year;
        // Through the record, from the UTC time that FileTimeToLocalFileTime turns into that local time.
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
        FILETIME back;
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &back));
        WIN32_FIND_DATAW data{};
        data.ftLastWriteTime = utc;
        TSearchRec rec;
        rec.Assign(data);
        WORD backDate = 0, backTime = 0;
        ASSERT_TRUE(FileTimeToDosDateTime(&back, &backDate, &backTime));
        EXPECT_EQ(rec.Time, uint32_t{backDate} << 16 | backTime) << c.Year;
    }
    // Outside 1980 to 2107 the packed form has no value (as on Windows): 0.
    for (const WORD year : {WORD{1601}, WORD{1979}, WORD{2108}, WORD{30000}}) {
        const SYSTEMTIME st{year, year == 1979 ? WORD{12} : WORD{1}, 0, year == 1979 ? WORD{31} : WORD{1}, 23, 59, 59, 0};
        FILETIME local;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
        EXPECT_EQ(PackedDosTime(uint64_t{local.dwHighDateTime} << 32 | local.dwLowDateTime), 0u) << year;
    }
}
