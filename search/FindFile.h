#pragma once
// TFindFile: finds the files and folders below one or more folders that satisfy its criteria and
// reports every folder it enters and every entry it accepts through events. The walk runs inside
// Execute, or on a worker thread when Threaded is set.
//
// Threads. OnSearchBegin runs on the caller of Execute, OnSearchAbort on the caller of Abort.
// OnFolderChange, OnFolderError and OnFileMatch run on the thread that walks (the worker when threaded),
// one at a time, the walk waiting for each; a handler that touches the user interface hands its work to the main
// thread (TThread::Synchronize) and waits. In a threaded run OnSearchFinish runs on the main thread once
// the walk has ended, delivered through its message queue. Destroying the component during a search
// aborts it and waits for the worker without raising OnSearchAbort or OnSearchFinish.
//
// The walk takes UTF-16 names and paths of any length and trees of any depth (it keeps its own stack of
// open folders rather than recursing), never enters a directory reparse point (a junction or symbolic
// link is reported when it matches, but not walked into), and lists each folder once. Folders come in
// pre-order: a folder's OnFolderChange, then its matches, then each of its subfolders (in listing
// order) completely before the next.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Thread.h"
#include "base/WinHandle.h"
#include "search/SearchCriteria.h"
#include "search/SearchRec.h"
#include "search/TargetSearch.h"

class TFindFile;
using TSearchEvent = std::function<void(TFindFile* Sender)>;
using TFileMatchEvent = std::function<void(TFindFile* Sender, const std::wstring& Folder, const TSearchRec& FileInfo)>;
using TFolderChangeEvent =
    std::function<void(TFindFile* Sender, const std::wstring& Folder, TFolderIgnore& IgnoreFolder)>;
using TFolderErrorEvent = std::function<void(TFindFile* Sender, const std::wstring& Folder, DWORD Error)>;

class TFindFile {
public:
    TFindFile() = default;
    virtual ~TFindFile();
    TFindFile(const TFindFile&) = delete;
    TFindFile& operator=(const TFindFile&) = delete;

    TSearchCriteria Criteria;     // a running search works on its own copy
    bool Threaded = false;
    TThreadPriority ThreadPriority = tpNormal;

    TFileMatchEvent OnFileMatch;        // Folder (ending in a backslash) holds FileInfo
    TFolderChangeEvent OnFolderChange;  // the walk enters Folder; IgnoreFolder comes as fiNone
    // Folder's listing could not be opened (missing, denied, vanished, not a folder), so nothing in it
    // was searched; Error is the system's code. Comes after OnFolderChange for that folder, at most once
    // per folder, and not once the search is aborted. An empty folder is no error.
    TFolderErrorEvent OnFolderError;
    TSearchEvent OnSearchBegin, OnSearchFinish, OnSearchAbort;

    // Starts a search with the current criteria; ignored while Busy. Unthreaded it returns when the
    // search has finished, threaded once the worker runs. A failure finishes the search and is passed on.
    void Execute();
    // Stops the running search; in a threaded run it returns once the search has finished, serving the
    // calling thread's messages meanwhile (keyboard and mouse input stays queued until afterwards).
    void Abort();

    bool Busy() const { return FBusy; }
    bool Aborted() const { return FAborted; }
    uint16_t CurrentLevel() const { return FCurrentLevel; }
    const TTargetFolder* CurrentTarget() const { return FCurrentTarget; }
    const TTargetSearch* PreparedSearch() const { return FPreparedSearch.get(); }
    HANDLE ThreadHandle() const { return FThreadHandle.get(); }

    // Waits for handle while serving the calling thread's message queue: keyboard and mouse messages
    // (client and non-client) stay queued, in their order, for the program to handle after the wait;
    // all others are dispatched. The wait sleeps until something new arrives, never spinning on input
    // left in the queue. A quit message ends the wait at once (WAIT_OBJECT_0 + 1) and is posted again,
    // so that the program's own message loop still sees it. Otherwise returns the last wait result.
    static DWORD WaitForWorker(HANDLE handle, DWORD timeout);

protected:
    // Ends a running search and waits for its worker without raising OnSearchAbort or OnSearchFinish, and
    // raises no event from then on (a later Execute does nothing): the object is going. ~TFindFile does
    // this, but a derived class does it first in its own destructor, since the worker calls the virtual
    // methods below until it has ended and by ~TFindFile the derived part is gone.
    void Shutdown() noexcept;

    virtual void DoSearchBegin();
    virtual void DoSearchFinish();
    virtual void DoSearchAbort();
    virtual TFolderIgnore DoFolderChange(const std::wstring& Folder);
    virtual void DoFolderError(const std::wstring& Folder, DWORD Error);
    virtual void DoFileMatch(const std::wstring& Folder, const TSearchRec& FileInfo);
    virtual bool AcceptFile(const std::wstring& Folder, const TSearchRec& FileInfo);

private:
    friend class TSearchThread;

    void StartWorker();
    void AwaitWorker();
    void RunSearch();
    void SearchFolder(const std::wstring& root);
    std::vector<std::wstring> VisitFolder(const std::wstring& folder);
    void FinishSearch();
    void ThreadTerminated();

    std::atomic<bool> FAborted{false};
    bool FBusy = false;
    bool FDestroying = false;
    uint16_t FCurrentLevel = 0;
    const TTargetFolder* FCurrentTarget = nullptr;
    std::unique_ptr<TTargetSearch> FPreparedSearch;
    UniqueKernelHandle FThreadHandle;
    std::atomic<DWORD> FWorkerId{0};
};
