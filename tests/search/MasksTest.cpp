#include "search/Masks.h"

#include "base/StrUtils.h"

#include <gtest/gtest.h>

#include "search/Paths.h"
#include "search/TargetSearch.h"

namespace {

struct MatchCase {
    const wchar_t* Text;
    const wchar_t* Mask;
    bool Expected;
};

TEST(Masks, WildcardMatchStopsAtTheFirstStar) {
    const MatchCase cases[] = {
        {L"abc", L"a*z", true},   {L"abc", L"ABC", true},  {L"abc", L"abc??", true}, {L"abc", L"ab", false},
        {L"abc", L"abcd", false}, {L"", L"*", true},       {L"", L"", true},         {L"abc", L"a?c", true},
        {L"abc", L"b*", false},   {L"ЖУК", L"жук", true},  {L"abc", L"", false},     {L"", L"?", true},
    };
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.Text, c.Mask), c.Expected) << c.Text << L" / " << c.Mask;
}

TEST(Masks, FileNameMatchComparesBaseAndExtensionApart) {
    const MatchCase cases[] = {
        {L"readme.txt", L"readme", true},  // a mask without extension ignores the name's
        {L"a.b.c", L"a.b.*", true},        {L"a.b.c", L"*.c", true},        {L"a.b.c", L"*.b", false},
        {L"x.bak", L"*.bak", true},        {L"x.bak2", L"*.bak", false},    {L"noext", L"*.", true},
        {L".profile", L"*.profile", true}, {L"Report.DOC", L"report.doc", true},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameMatch(c.Text, c.Mask), c.Expected) << c.Text << L" / " << c.Mask;
}

TEST(Masks, MaskMatchReadsMasksAsTheListingDoes) {
    const MatchCase cases[] = {
        {L"notes.txt", L"*.txt", true}, {L"notes.txt.bak", L"*.txt", false}, {L"notes", L"*.*", true},
        {L"a.b", L"*", true},           {L"abc", L"a?c", true},              {L"ac", L"a?c", false},
        {L"readme", L"readme.*", true}, {L"Данные.TXT", L"данные.txt", true}, {L"x.log", L"*.txt", false},
        {L"aXbXc", L"a*b*c", true},     {L"abcabd", L"*abd", true},          {L"abc", L"", false},
        {L"\u0130.txt", L"i.*", false},  // İ is not I: letters compare as the file system compares them
    };
    for (const auto& c : cases) EXPECT_EQ(MaskMatch(c.Text, c.Mask), c.Expected) << c.Text << L" / " << c.Mask;
}

TEST(Masks, ExclusionMatchesFolderTailsDrivesAndNames) {
    struct Case {
        const wchar_t* Folder;
        const wchar_t* Name;
        const wchar_t* Pattern;
        bool Expected;
    } cases[] = {
        {L"C:\\Work\\", L"old.bak", L"*.bak", true},
        {L"C:\\Work\\", L"old.txt", L"*.bak", false},
        {L"C:\\Work\\Temp\\", L"x.txt", L"\\Temp\\", true},
        {L"C:\\Work\\temp\\", L"x.txt", L"\\TEMP\\", true},
        {L"C:\\Work\\Temp\\Sub\\", L"x.txt", L"\\Temp\\", false},   // only the folder itself, not below
        {L"D:\\Temp\\", L"x.txt", L"d:\\Temp\\", true},              // drive letters ignore case
        {L"C:\\Temp\\", L"x.txt", L"D:\\Temp\\", false},
        {L"C:\\Temp\\", L"x.txt", L"*:\\Temp\\", true},
        {L"\\\\srv\\share\\Temp\\", L"x.txt", L"\\\\srv\\share\\Temp\\", true},
        {L"\\\\srv\\other\\Temp\\", L"x.txt", L"\\\\srv\\share\\Temp\\", false},
        {L"C:\\Temp\\", L"x.txt", L"\\Temp\\*.log", false},
        {L"C:\\", L"x.txt", L"\\Longer\\Than\\Folder\\", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExclusionMatch(c.Folder, c.Name, c.Pattern), c.Expected) << c.Folder << c.Name << L" / " << c.Pattern;
}

TEST(Masks, SplitListTrimsAndDropsEmptiesAndRepeats) {
    EXPECT_EQ(SplitList(L"C:\\Data; c:\\data ;>D:\\Logs;;  ;\t*.txt"),
              (std::vector<std::wstring>{L"C:\\Data", L">D:\\Logs", L"*.txt"}));
    EXPECT_TRUE(SplitList(L"").empty());
}

TEST(Masks, SubfolderPrefixOverridesTheDefault) {
    struct Case {
        const wchar_t* Entry;
        bool Default;
        const wchar_t* Rest;
        bool Flag;
    } cases[] = {{L"<C:\\A", true, L"C:\\A", false}, {L">C:\\A", false, L"C:\\A", true}, {L"C:\\A", false, L"C:\\A", false},
                 {L"C:\\A", true, L"C:\\A", true},   {L"", true, L"", true}};
    for (const auto& c : cases) {
        std::wstring entry = c.Entry;
        EXPECT_EQ(TakeSubfolderPrefix(entry, c.Default), c.Flag) << c.Entry;
        EXPECT_EQ(entry, c.Rest);
    }
}

TEST(Paths, EveryAbsolutePathTakesTheExtendedForm) {
    // Whatever the length: only the extended form reaches "bar." or "nul" as the names they are.
    const std::wstring longTail(300, L'x');
    struct Case {
        std::wstring Path, Extended;
    } cases[] = {
        {L"C:\\short\\bar.", L"\\\\?\\C:\\short\\bar."},
        {L"c:\\nul", L"\\\\?\\c:\\nul"},
        {L"C:\\" + longTail, L"\\\\?\\C:\\" + longTail},
        {L"\\\\srv\\share\\sub ", L"\\\\?\\UNC\\srv\\share\\sub "},
        {L"\\\\?\\C:\\" + longTail, L"\\\\?\\C:\\" + longTail},
        {L"relative\\x", L"relative\\x"},  // no absolute form to give: left to the caller
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtendedPath(c.Path), c.Extended) << WideToUtf8(c.Path);
}

TEST(Paths, AbsolutePathKeepsPlainAbsolutePathsAsTheyAre) {
    wchar_t current[MAX_PATH];
    const std::wstring here(current, GetCurrentDirectoryW(MAX_PATH, current));
    struct Case {
        std::wstring Path, Absolute;
    } cases[] = {
        {L"C:\\Data\\sub.", L"C:\\Data\\sub."},  // the system's resolving would drop the dot
        {L"C:\\Data\\sub \\", L"C:\\Data\\sub \\"},
        {L"\\\\srv\\share\\a.", L"\\\\srv\\share\\a."},
        {L"\\\\?\\C:\\x.", L"\\\\?\\C:\\x."},
        {L"C:\\Data\\..\\Logs", L"C:\\Logs"},  // steps are resolved
        {L"C:/Data/Logs", L"C:\\Data\\Logs"},
        {L"", here},
        {L"rel", IncludeFolderDelimiter(here) + L"rel"},
    };
    for (const Case& c : cases) EXPECT_EQ(AbsolutePath(c.Path), c.Absolute) << WideToUtf8(c.Path);
}

// What may be handed to the shell in its normal form: only what its parsing reads back as itself.
TEST(Paths, PlainPathIsExactOnlyWhereParsingLeavesThePathAlone) {
    struct Case {
        std::wstring Path;
        bool Exact;
    } cases[] = {
        {L"C:\\Data\\report.txt", true},
        {L"C:\\Data\\\u0444\u0430\u0439\u043b \u6587", true},
        {L"\\\\srv\\share\\a.txt", true},
        {L"C:\\Data\\bar.", false},
        {L"C:\\Data\\bar ", false},
        {L"C:\\Data.\\x", false},
        {L"C:\\Data\\..\\x", false},
        {L"C:\\" + std::wstring(MAX_PATH - 4, L'n'), true},  // 259 characters: the longest the shell takes
        {L"C:\\" + std::wstring(MAX_PATH - 3, L'n'), false},
        {L"\\\\?\\C:\\x", false},
        {L"relative\\x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(PlainPathIsExact(c.Path), c.Exact) << WideToUtf8(c.Path);
}

TEST(Paths, PartsOfAPath) {
    EXPECT_EQ(DrivePart(L"C:\\Temp\\"), L"C:");
    EXPECT_EQ(DrivePart(L"\\\\srv\\share\\Temp\\"), L"\\\\srv\\share");
    EXPECT_EQ(DrivePart(L"\\\\srv\\share"), L"\\\\srv\\share");
    EXPECT_EQ(DrivePart(L"\\Temp\\"), L"");
    EXPECT_EQ(FolderPart(L"C:\\Logs\\*.log"), L"C:\\Logs\\");
    EXPECT_EQ(NamePart(L"C:\\Logs\\*.log"), L"*.log");
    EXPECT_EQ(NamePart(L"C:x.txt"), L"x.txt");
    EXPECT_EQ(IncludeFolderDelimiter(L"C:\\A"), L"C:\\A\\");
    EXPECT_EQ(IncludeFolderDelimiter(L"C:"), L"C:");
    EXPECT_EQ(IncludeFolderDelimiter(L""), L"");
}

}  // namespace
