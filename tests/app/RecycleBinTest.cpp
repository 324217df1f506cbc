// Move to Recycle Bin through the shell's file operation, on a fixture of hidden objects.
#include "app/RecycleBin.h"

#include "TempTree.h"
#include "TestFiles.h"

#include "ui/ComPtr.h"

#include <gtest/gtest.h>

#include <shlobj.h>

namespace {

// A hidden folder with things in it goes to the bin whole, or, where the platform's file operation
// cannot recycle (Wine 8 answers E_NOTIMPL from SetOperationFlags on), the command fails
// with the reason and everything stays. Objects changed since the listing, and names the shell would
// read as others, are never handed over.
TEST(RecycleBin, MovesANonEmptyHiddenFolderOrFailsCleanlyAndChecksEveryObjectFirst) {
    TTempTree fx;
    fx.Folder(L"full\\sub", HiddenSystem);
    fx.File(L"full\\inside.txt", "kept");
    fx.File(L"full\\sub\\deeper.txt", "kept");
    SetAttributes(fx.Path(L"full"), HiddenSystem);
    fx.SizedFile(L"changed.bin", 1, HiddenSystem);
    fx.SizedFile(L"bar.", 1, HiddenSystem);
    // The hidden folder inside "full" goes with it, whatever becomes of "full".
    const std::vector<TListedObject> objects = {Listed(fx, L"full"), Listed(fx, L"changed.bin"), Listed(fx, L"bar."),
                                                Listed(fx, L"full\\sub")};
    SetAttributes(fx.Path(L"changed.bin"), FILE_ATTRIBUTE_ARCHIVE);

    const TRecycleOutcome outcome = MoveToRecycleBin(nullptr, objects);
    ASSERT_EQ(outcome.Results.size(), 4u);
    EXPECT_EQ(outcome.Results[3], outcome.Results[0]);
    EXPECT_EQ(outcome.Results[1], TActionResult::Changed);
    EXPECT_EQ(outcome.Results[2], TActionResult::Failed);
    EXPECT_EQ(outcome.Unreachable, 1);
    EXPECT_TRUE(fx.Exists(L"changed.bin"));
    EXPECT_TRUE(fx.Exists(L"bar."));
    if (FAILED(outcome.Error)) {
        std::printf("the platform's file operation cannot recycle: error 0x%08lX\n", static_cast<unsigned long>(outcome.Error));
        EXPECT_EQ(outcome.Results[0], TActionResult::Failed);
        for (const wchar_t* kept : {L"full", L"full\\inside.txt", L"full\\sub\\deeper.txt"}) EXPECT_TRUE(fx.Exists(kept)) << kept;
    } else {
        EXPECT_EQ(outcome.Results[0], TActionResult::Done);
        EXPECT_FALSE(fx.Exists(L"full"));
        EXPECT_EQ(outcome.DeletedForGood, 0) << "the temporary folder's drive has a Recycle Bin";
    }
    SetAttributes(fx.Path(L"changed.bin"), FILE_ATTRIBUTE_NORMAL);
}

TEST(RecycleBin, NothingToHandOverAsksNothingOfTheShell) {
    TTempTree fx;
    fx.SizedFile(L"gone.bin", 1, HiddenSystem);
    const TListedObject gone = Listed(fx, L"gone.bin");
    SetAttributes(gone.Path, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileW(gone.Path.c_str()));
    const TRecycleOutcome outcome = MoveToRecycleBin(nullptr, {gone});
    EXPECT_EQ(outcome.Results, std::vector<TActionResult>{TActionResult::Changed});
    EXPECT_EQ(outcome.Error, S_OK) << "the shell was not asked";
    EXPECT_TRUE(MoveToRecycleBin(nullptr, {}).Results.empty());
}

// The shell says of each item whether it made a Recycle Bin item of it; what it deleted for good, on a
// drive without a bin, must never be reported as recycled.
TEST(RecycleBin, TheShellsWordTellsRecycledFromDeletedForGood) {
    TTempTree fx;
    const TComApartment apartment;
    auto item = [&](const wchar_t* name) {
        fx.File(name, "x");
        TComPtr<IShellItem> shellItem;
        EXPECT_HRESULT_SUCCEEDED(SHCreateItemFromParsingName(fx.Path(name).c_str(), nullptr, IID_IShellItem, shellItem.put_void()));
        return shellItem;
    };
    const TComPtr<IShellItem> recycled = item(L"recycled.txt"), forGood = item(L"for-good.txt"), refused = item(L"refused.txt"),
                              binItem = item(L"bin-item.txt");
    TDeleteReport report;
    TComPtr<IFileOperationProgressSink> sink;
    ASSERT_HRESULT_SUCCEEDED(report.QueryInterface(IID_IFileOperationProgressSink, sink.put_void()));
    sink->PostDeleteItem(0, recycled.get(), S_OK, binItem.get());
    sink->PostDeleteItem(0, forGood.get(), S_OK, nullptr);
    sink->PostDeleteItem(0, refused.get(), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), nullptr);
    EXPECT_EQ(report.FateOf(fx.Path(L"recycled.txt")), TDeleteReport::Recycled);
    EXPECT_EQ(report.FateOf(fx.Path(L"for-good.txt")), TDeleteReport::DeletedForGood);
    EXPECT_EQ(report.FateOf(fx.Path(L"refused.txt")), TDeleteReport::Refused);
    EXPECT_EQ(report.FateOf(fx.Path(L"bin-item.txt")), TDeleteReport::NotReported);
}

}  // namespace
