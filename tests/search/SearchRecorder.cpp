#include "SearchRecorder.h"

#include <gtest/gtest.h>

TSearchRecorder::TSearchRecorder(TFindFile& findFile, std::wstring root) : Root(std::move(root)) {
    findFile.OnSearchBegin = [this](TFindFile*) {
        BeginThread = GetCurrentThreadId();
        Log.push_back(L"begin");
    };
    findFile.OnSearchFinish = [this](TFindFile* sender) {
        FinishThread = GetCurrentThreadId();
        AbortedAtFinish = sender->Aborted();
        Log.push_back(L"finish");
    };
    findFile.OnSearchAbort = [this](TFindFile*) { Log.push_back(L"abort"); };
    findFile.OnFolderChange = [this](TFindFile*, const std::wstring& folder, TFolderIgnore&) {
        std::lock_guard<std::mutex> guard(Lock);
        Folders.push_back(Relative(folder));
        Log.push_back(L"folder " + Relative(folder));
        WalkThreads.push_back(GetCurrentThreadId());
    };
    findFile.OnFolderError = [this](TFindFile*, const std::wstring& folder, DWORD error) {
        std::lock_guard<std::mutex> guard(Lock);
        Errors.emplace_back(Relative(folder), error);
        Log.push_back(L"error " + Relative(folder));
        WalkThreads.push_back(GetCurrentThreadId());
    };
    findFile.OnFileMatch = [this](TFindFile*, const std::wstring& folder, const TSearchRec& info) {
        std::lock_guard<std::mutex> guard(Lock);
        Matches.push_back(Relative(folder + info.Name));
        Records.push_back(info);
        Log.push_back(L"match " + Relative(folder + info.Name));
        WalkThreads.push_back(GetCurrentThreadId());
    };
}

std::wstring TSearchRecorder::Relative(const std::wstring& path) const {
    return path.starts_with(Root) ? path.substr(Root.size()) : L"<outside> " + path;
}

void UseFolderMode(TFindFile& findFile) {
    findFile.Criteria.Files.FileName = L"*";
    findFile.Criteria.Attribute.SetAttributes({ffHidden, ffSystem, ffDirectory});
    findFile.Criteria.Attribute.ExactMatch = true;
}

void UseFileMode(TFindFile& findFile) {
    UseFolderMode(findFile);
    findFile.Criteria.Attribute.SetAttributes({ffArchive, ffHidden, ffSystem});
}

void PumpUntilIdle(TFindFile& findFile, ULONGLONG giveUp) {
    const ULONGLONG end = GetTickCount64() + giveUp;
    while (findFile.Busy() && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    ASSERT_FALSE(findFile.Busy()) << "the search did not finish";
}
