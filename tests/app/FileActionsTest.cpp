#include "app/FileActions.h"

#include "TempTree.h"
#include "TestFiles.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(FileActions, UnhideClearsHiddenAndSystemAndKeepsTheRest) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"a.txt", 0, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.Folder(L"dir", HiddenSystem);
    for (const wchar_t* name : {L"a.txt", L"dir"}) {
        EXPECT_EQ(VerifyListedObject(Listed(fx, name)), TActionResult::Done) << name;
        EXPECT_EQ(UnhideListedObject(Listed(fx, name), journal.Journal), TActionResult::Done) << name;
        EXPECT_EQ(fx.Attributes(name) & HiddenSystem, 0u) << name;
    }
    EXPECT_TRUE(fx.Attributes(L"a.txt") & FILE_ATTRIBUTE_READONLY) << "other bits are kept";
    EXPECT_TRUE(fx.Attributes(L"dir") & FILE_ATTRIBUTE_DIRECTORY);
    SetAttributes(fx.Path(L"a.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileActions, DeleteRemovesFilesAndOnlyEmptyFolders) {
    TTempTree fx;
    fx.SizedFile(L"f.bin", 10, HiddenSystem);
    fx.Folder(L"empty", HiddenSystem);
    fx.Folder(L"full", HiddenSystem);
    fx.File(L"full\\inside.txt");
    fx.SizedFile(L"locked.bin", 0, HiddenSystem);

    EXPECT_EQ(DeleteListedObject(Listed(fx, L"f.bin")), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(L"f.bin"));
    EXPECT_EQ(DeleteListedObject(Listed(fx, L"empty")), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(L"empty"));
    EXPECT_EQ(DeleteListedObject(Listed(fx, L"full")), TActionResult::Failed) << "a folder with something in it stays";
    EXPECT_TRUE(fx.Exists(L"full\\inside.txt"));
    const TListedObject locked = Listed(fx, L"locked.bin");
    {
        UniqueFileHandle held(CreateFileW(fx.Path(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(DeleteListedObject(locked), TActionResult::Failed) << "a file in use is not reported as deleted";
    }
    EXPECT_EQ(DeleteListedObject(locked), TActionResult::Done);
}

// Whatever has become of a listed object since, nothing is done to what stands at its path now unless
// it is still that kind of object, hidden and system, below real folders.
TEST(FileActions, AnObjectNoLongerAsListedIsLeftAlone) {
    TTempTree outside;  // made first, gone last: the link to it goes before it does
    TTempTree fx;
    TTestJournal journal;
    outside.Folder(L"sub", HiddenSystem);
    outside.SizedFile(L"sub\\f.bin", 1, HiddenSystem);

    struct Case {
        const wchar_t* Relative;
        std::function<void()> Change;  // what happens between listing and acting
        const char* What;
    } cases[] = {
        {L"gone.bin", [&] { SetAttributes(fx.Path(L"gone.bin"), FILE_ATTRIBUTE_NORMAL), DeleteFileW(ExtendedPath(fx.Path(L"gone.bin")).c_str()); },
         "a vanished object"},
        {L"shown.bin", [&] { SetAttributes(fx.Path(L"shown.bin"), FILE_ATTRIBUTE_ARCHIVE); }, "an object no longer hidden"},
        {L"now-folder", [&] {
             SetAttributes(fx.Path(L"now-folder"), FILE_ATTRIBUTE_NORMAL);
             DeleteFileW(ExtendedPath(fx.Path(L"now-folder")).c_str());
             fx.Folder(L"now-folder", HiddenSystem);
         }, "a file replaced by a folder"},
        {L"dir\\sub\\f.bin", [&] {
             // The folder the object was found in is swapped for a link to a look-alike elsewhere.
             MoveFileW(ExtendedPath(fx.Path(L"dir")).c_str(), ExtendedPath(fx.Path(L"dir-moved")).c_str());
             ASSERT_TRUE(fx.Link(L"dir", outside.Root()));
         }, "an object whose folder became a link"},
    };
    fx.SizedFile(L"gone.bin", 1, HiddenSystem);
    fx.SizedFile(L"shown.bin", 1, HiddenSystem);
    fx.SizedFile(L"now-folder", 1, HiddenSystem);
    fx.Folder(L"dir\\sub", HiddenSystem);
    fx.SizedFile(L"dir\\sub\\f.bin", 1, HiddenSystem);

    for (const Case& c : cases) {
        const TListedObject object = Listed(fx, c.Relative);
        ASSERT_NE(object.Attributes, INVALID_FILE_ATTRIBUTES) << c.What;
        EXPECT_EQ(VerifyListedObject(object), TActionResult::Done) << c.What;
        c.Change();
        EXPECT_EQ(VerifyListedObject(object), TActionResult::Changed) << c.What;
        EXPECT_EQ(UnhideListedObject(object, journal.Journal), TActionResult::Changed) << c.What;
        EXPECT_EQ(DeleteListedObject(object), TActionResult::Changed) << c.What;
    }
    EXPECT_EQ(fx.Attributes(L"now-folder") & (HiddenSystem | FILE_ATTRIBUTE_DIRECTORY), HiddenSystem | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(outside.Attributes(L"sub\\f.bin") & HiddenSystem, HiddenSystem) << "nothing outside the listed tree changes";
    EXPECT_TRUE(fx.Exists(L"dir-moved\\sub\\f.bin"));
    EXPECT_TRUE(fx.Unlink(L"dir"));
}

TEST(FileActions, WorkOnLongPathsAndNamesInAnyScript) {
    TTempTree fx;
    TTestJournal journal;
    std::wstring rel;
    for (int i = 0; i < 12; ++i) {  // well past 260 characters
        rel += std::wstring(25, static_cast<wchar_t>(L'a' + i)) + L"\\";
        fx.Folder(rel.substr(0, rel.size() - 1));
    }
    const std::wstring file = rel + L"\u6587\u4ef6-\u0444\u0430\u0439\u043b.txt";
    fx.SizedFile(file, 3, HiddenSystem);
    ASSERT_GT(fx.Path(file).size(), 300u);
    EXPECT_EQ(UnhideListedObject(Listed(fx, file), journal.Journal), TActionResult::Done);
    EXPECT_EQ(fx.Attributes(file) & HiddenSystem, 0u);
    SetAttributes(fx.Path(file), HiddenSystem);
    EXPECT_EQ(DeleteListedObject(Listed(fx, file)), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(file));
}

}  // namespace
