#include "app/FileActions.h"

#include "TempTree.h"
#include "TestFiles.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(FileActions, UnhideClearsExactlyHiddenAndSystem) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"a.txt", 0, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.SizedFile(L"b.txt", 0, HiddenSystem);
    fx.Folder(L"dir", HiddenSystem);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"dir"}) {
        const DWORD before = fx.Attributes(name);
        EXPECT_EQ(TObjectActions().Verify(Listed(fx, name)), TActionResult::Done) << name;
        EXPECT_EQ(TObjectActions().Unhide(Listed(fx, name), journal.Journal), TActionResult::Done) << name;
        // Archive aside (every write may set it), hidden and system are the only bits that changed.
        EXPECT_EQ((fx.Attributes(name) ^ before) & ~FILE_ATTRIBUTE_ARCHIVE, HiddenSystem) << name;
    }
    SetAttributes(fx.Path(L"a.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileActions, DeleteRemovesFilesAndOnlyEmptyFoldersAndSaysWhyNot) {
    TTempTree fx;
    fx.SizedFile(L"f.bin", 10, HiddenSystem);
    fx.Folder(L"empty", HiddenSystem);
    fx.Folder(L"full", HiddenSystem);
    fx.File(L"full\\inside.txt");
    fx.SizedFile(L"locked.bin", 0, HiddenSystem);

    EXPECT_EQ(TObjectActions().Delete(Listed(fx, L"f.bin")), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(L"f.bin"));
    EXPECT_EQ(TObjectActions().Delete(Listed(fx, L"empty")), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(L"empty"));
    EXPECT_EQ(TObjectActions().Delete(Listed(fx, L"full")), TActionResult::NotEmpty) << "a folder with something in it stays";
    EXPECT_TRUE(fx.Exists(L"full\\inside.txt"));
    const TListedObject locked = Listed(fx, L"locked.bin");
    {
        UniqueFileHandle held(CreateFileW(fx.Path(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(TObjectActions().Delete(locked), TActionResult::InUse) << "a file in use is not reported as deleted";
    }
    EXPECT_EQ(TObjectActions().Delete(locked), TActionResult::Done);
}

// Whatever has become of a listed object, its folder or the folders above since the listing, nothing is
// done to what stands at its path now unless it is still the object listed, reached from the very folder
// that was searched.
TEST(FileActions, AnObjectNoLongerAsListedIsLeftAlone) {
    TTempTree outside;  // made first, gone last: the links to it go before it does
    TTempTree fx;
    TTestJournal journal;
    // Look-alikes of the listed trees, with the same names and attributes.
    for (const wchar_t* folder : {L"sub", L"searched", L"top\\searched"}) outside.Folder(folder, HiddenSystem);
    for (const wchar_t* file : {L"sub\\f.bin", L"searched\\a.bin", L"top\\searched\\a.bin"}) outside.SizedFile(file, 1, HiddenSystem);
    auto swapForLink = [&](const wchar_t* relative, const std::wstring& target) {
        ASSERT_TRUE(MoveFileW(ExtendedPath(fx.Path(relative)).c_str(), ExtendedPath(fx.Path(relative) + L"-moved").c_str()));
        ASSERT_TRUE(fx.Link(relative, target));
    };

    struct Case {
        const wchar_t* Relative;
        const wchar_t* Root;           // the searched folder, below fx's root
        std::function<void()> Change;  // what happens between listing and acting
        const char* What;
        TActionResult Expected = TActionResult::Changed;
    } cases[] = {
        {L"gone.bin", L"", [&] { SetAttributes(fx.Path(L"gone.bin"), FILE_ATTRIBUTE_NORMAL), DeleteFileW(ExtendedPath(fx.Path(L"gone.bin")).c_str()); },
         "a vanished object"},
        {L"shown.bin", L"", [&] { SetAttributes(fx.Path(L"shown.bin"), FILE_ATTRIBUTE_ARCHIVE); }, "an object no longer hidden"},
        {L"now-folder", L"", [&] {
             SetAttributes(fx.Path(L"now-folder"), FILE_ATTRIBUTE_NORMAL);
             DeleteFileW(ExtendedPath(fx.Path(L"now-folder")).c_str());
             fx.Folder(L"now-folder", HiddenSystem);
         }, "a file replaced by a folder"},
        {L"replaced.bin", L"", [&] {
             // Made before the old one goes, so that it cannot be given the old one's number.
             fx.SizedFile(L"replacement.bin", 1, HiddenSystem);
             SetAttributes(fx.Path(L"replaced.bin"), FILE_ATTRIBUTE_NORMAL);
             DeleteFileW(ExtendedPath(fx.Path(L"replaced.bin")).c_str());
             MoveFileW(ExtendedPath(fx.Path(L"replacement.bin")).c_str(), ExtendedPath(fx.Path(L"replaced.bin")).c_str());
         }, "an object replaced by another of the same name and attributes"},
        {L"dir\\sub\\f.bin", L"", [&] { swapForLink(L"dir", outside.Root()); }, "an object whose folder became a link"},
        {L"a.bin", L"searched", [&] { swapForLink(L"searched", outside.Path(L"searched")); },
         "an object whose searched folder became a link to a look-alike"},
        {L"a.bin", L"top\\searched", [&] { swapForLink(L"top", outside.Path(L"top")); },
         "an object whose searched folder's parent became a link to a look-alike"},
    };
    for (const wchar_t* folder : {L"dir\\sub", L"searched", L"top\\searched"}) fx.Folder(folder, HiddenSystem);
    for (const wchar_t* file : {L"gone.bin", L"shown.bin", L"now-folder", L"replaced.bin", L"dir\\sub\\f.bin",
                                L"searched\\a.bin", L"top\\searched\\a.bin"})
        fx.SizedFile(file, 1, HiddenSystem);

    for (const Case& c : cases) {
        const TListedObject object = Listed(fx, c.Relative, c.Root);
        ASSERT_NE(object.Attributes, INVALID_FILE_ATTRIBUTES) << c.What;
        ASSERT_TRUE(object.Identity.Known() && object.RootIdentity.Known()) << c.What;
        EXPECT_EQ(TObjectActions().Verify(object), TActionResult::Done) << c.What;
        c.Change();
        EXPECT_EQ(TObjectActions().Verify(object), c.Expected) << c.What;
        EXPECT_EQ(TObjectActions().Unhide(object, journal.Journal), c.Expected) << c.What;
        EXPECT_EQ(TObjectActions().Delete(object), c.Expected) << c.What;
    }
    EXPECT_EQ(fx.Attributes(L"now-folder") & (HiddenSystem | FILE_ATTRIBUTE_DIRECTORY), HiddenSystem | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(fx.Attributes(L"replaced.bin") & HiddenSystem, HiddenSystem);
    for (const wchar_t* file : {L"sub\\f.bin", L"searched\\a.bin", L"top\\searched\\a.bin"})
        EXPECT_EQ(outside.Attributes(file) & HiddenSystem, HiddenSystem) << "nothing outside the listed tree changes";
    for (const wchar_t* file : {L"dir-moved\\sub\\f.bin", L"searched-moved\\a.bin", L"top-moved\\searched\\a.bin"})
        EXPECT_EQ(fx.Attributes(file) & HiddenSystem, HiddenSystem) << "the listed object, moved away, is left as it is";
    for (const wchar_t* link : {L"dir", L"searched", L"top"}) EXPECT_TRUE(fx.Unlink(link));
}

// While an object is reached, the folders on its way are held: neither the searched folder nor the one
// the object lies in can be renamed (and so swapped for something else) until the action lets go.
TEST(FileActions, TheFoldersOnTheWayCannotBeRenamedWhileAnObjectIsReached) {
    TTempTree fx;
    fx.Folder(L"searched\\inner", 0);
    fx.SizedFile(L"searched\\inner\\a.bin", 1, HiddenSystem);
    const TListedObject object = Listed(fx, L"inner\\a.bin", L"searched");
    auto renamed = [&](const wchar_t* from, const wchar_t* to) {
        return MoveFileW(ExtendedPath(fx.Path(from)).c_str(), ExtendedPath(fx.Path(to)).c_str()) != FALSE;
    };
    {
        TObjectActions actions;
        const TReachedObject reached = actions.Reach(object, 0);
        ASSERT_EQ(reached.Result(), TActionResult::Done);
        EXPECT_FALSE(renamed(L"searched", L"elsewhere"));
        EXPECT_FALSE(renamed(L"searched\\inner", L"searched\\moved"));
    }
    EXPECT_TRUE(renamed(L"searched\\inner", L"searched\\moved")) << "let go once the run ends";
    EXPECT_TRUE(renamed(L"searched", L"elsewhere"));
}

// An object listed without the identities an action checks (it could not be opened when it was listed)
// is never acted on.
TEST(FileActions, AnObjectListedWithoutIdentityIsNeverTouched) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"a.bin", 1, HiddenSystem);
    const TListedObject listed = Listed(fx, L"a.bin");
    for (TFileIdentity TListedObject::*identity : {&TListedObject::Identity, &TListedObject::RootIdentity}) {
        TListedObject object = listed;
        object.*identity = {};
        EXPECT_EQ(TObjectActions().Unhide(object, journal.Journal), TActionResult::Failed);
        EXPECT_EQ(TObjectActions().Delete(object), TActionResult::Failed);
    }
    EXPECT_EQ(fx.Attributes(L"a.bin") & HiddenSystem, HiddenSystem);
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
    EXPECT_EQ(TObjectActions().Unhide(Listed(fx, file), journal.Journal), TActionResult::Done);
    EXPECT_EQ(fx.Attributes(file) & HiddenSystem, 0u);
    SetAttributes(fx.Path(file), HiddenSystem);
    EXPECT_EQ(TObjectActions().Delete(Listed(fx, file)), TActionResult::Done);
    EXPECT_FALSE(fx.Exists(file));
}

}  // namespace
