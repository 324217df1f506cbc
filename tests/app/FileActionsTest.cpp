#include "app/FileActions.h"

#include "TempTree.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TEST(FileActions, UnhideClearsHiddenAndSystemAndKeepsTheRest) {
    TTempTree fx;
    fx.SizedFile(L"a.txt", 0, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.Folder(L"dir", HiddenSystem);
    fx.File(L"plain.txt");
    for (const wchar_t* name : {L"a.txt", L"dir", L"plain.txt"}) {
        EXPECT_TRUE(UnhideObject(fx.Path(name))) << name;
        EXPECT_EQ(fx.Attributes(name) & HiddenSystem, 0u) << name;
    }
    EXPECT_TRUE(fx.Attributes(L"a.txt") & FILE_ATTRIBUTE_READONLY) << "other bits are kept";
    EXPECT_TRUE(fx.Attributes(L"dir") & FILE_ATTRIBUTE_DIRECTORY);
    SetFileAttributesW(fx.Path(L"a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(UnhideObject(fx.Path(L"gone.txt"))) << "a vanished object is not reported as unhidden";
}

TEST(FileActions, DeleteRemovesFilesAndOnlyEmptyFolders) {
    TTempTree fx;
    fx.SizedFile(L"f.bin", 10, HiddenSystem);
    fx.Folder(L"empty", HiddenSystem);
    fx.Folder(L"full", HiddenSystem);
    fx.File(L"full\\inside.txt");
    fx.SizedFile(L"locked.bin", 0, HiddenSystem);

    EXPECT_TRUE(DeleteObject(fx.Path(L"f.bin")));
    EXPECT_FALSE(fx.Exists(L"f.bin"));
    EXPECT_TRUE(DeleteObject(fx.Path(L"empty")));
    EXPECT_FALSE(fx.Exists(L"empty"));
    EXPECT_FALSE(DeleteObject(fx.Path(L"full"))) << "a folder with something in it stays";
    EXPECT_TRUE(fx.Exists(L"full\\inside.txt"));
    EXPECT_FALSE(DeleteObject(fx.Path(L"nothing-here")));
    {
        UniqueFileHandle held(CreateFileW(fx.Path(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(DeleteObject(fx.Path(L"locked.bin"))) << "a file in use is not reported as deleted";
    }
    EXPECT_TRUE(DeleteObject(fx.Path(L"locked.bin")));
}

TEST(FileActions, WorkOnLongPathsAndNamesInAnyScript) {
    TTempTree fx;
    std::wstring rel;
    for (int i = 0; i < 12; ++i) {  // well past 260 characters
        rel += std::wstring(25, static_cast<wchar_t>(L'a' + i)) + L"\\";
        fx.Folder(rel.substr(0, rel.size() - 1));
    }
    const std::wstring file = rel + L"\u6587\u4ef6-\u0444\u0430\u0439\u043b.txt";
    fx.SizedFile(file, 3, HiddenSystem);
    ASSERT_GT(fx.Path(file).size(), 300u);
    EXPECT_TRUE(UnhideObject(fx.Path(file)));
    EXPECT_EQ(fx.Attributes(file) & HiddenSystem, 0u);
    EXPECT_TRUE(DeleteObject(fx.Path(file)));
    EXPECT_FALSE(fx.Exists(file));
}
