#pragma once
// Records what a TFindFile reports, paths relative to a test tree, on whichever thread it comes.
#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "search/FindFile.h"

struct TSearchRecorder {
    explicit TSearchRecorder(TFindFile& findFile, std::wstring root);

    std::wstring Relative(const std::wstring& path) const;

    std::wstring Root;
    std::mutex Lock;
    // "folder <path>", "error <path>", "match <path>", "begin", "finish", "abort"
    std::vector<std::wstring> Log;
    std::vector<std::wstring> Folders;      // folders entered
    std::vector<std::pair<std::wstring, DWORD>> Errors;   // folders that could not be listed, and why
    std::vector<std::wstring> Matches;      // Folder + Name of accepted entries
    std::vector<TSearchRec> Records;
    std::vector<DWORD> WalkThreads;         // the thread of every folder-change, folder-error and file-match event
    DWORD BeginThread = 0, FinishThread = 0;
    bool AbortedAtFinish = false;
};

// Sets the attributes that the window uses for one of its two modes.
void UseFolderMode(TFindFile& findFile);
void UseFileMode(TFindFile& findFile);

// Services the main thread's messages until the search is no longer busy (fails the test after giveUp
// milliseconds, a minute unless told otherwise).
void PumpUntilIdle(TFindFile& findFile, ULONGLONG giveUp = 60000);
