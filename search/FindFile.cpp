#include "search/FindFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "search/Masks.h"
#include "search/Paths.h"
#include "search/SearchThread.h"
#include "base/NtFile.h"
#include "base/WinHandle.h"

namespace {

FILETIME FileTimeOf(const LARGE_INTEGER& value) {
    return {static_cast<DWORD>(value.QuadPart & 0xFFFFFFFF), static_cast<DWORD>(static_cast<uint64_t>(value.QuadPart) >> 32)};
}

// Calls visit(entry) for every entry of folder but "." and "..", in the listing's order, while visit
// returns true. Returns NO_ERROR once the folder was listed, else why it could not be (missing, denied,
// vanished, not a folder). A folder without a single entry, not even "." and ".." (a drive root can
// be one), was listed, and is empty. The folder is listed through a handle of its own, in large
// batches, with each entry's number on its volume, which FindFirstFile leaves out.
template <typename Visit>
DWORD ForEachEntry(const std::wstring& folder, Visit&& visit) {
    const UniqueFileHandle handle(CreateFileW(ExtendedPath(folder).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;  // the folder itself is missing
    }
    std::vector<ULONGLONG> buffer(64 * 1024 / sizeof(ULONGLONG));  // aligned for the entries
    TFolderEntry entry{};
    for (bool first = true;; first = false) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = NtQueryDirectoryFile(handle.get(), nullptr, nullptr, nullptr, &io, buffer.data(),
                                                     static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG)),
                                                     FileIdFullDirectoryInformationClass, FALSE, nullptr, FALSE);
        if (status == StatusNoMoreFiles || status == StatusNoSuchFile) return NO_ERROR;
        if (!NT_SUCCESS(status)) {
            // A file where a folder was expected cannot be listed; a failure later ends the listing.
            if (!first) return NO_ERROR;
            return status == StatusInvalidParameter ? ERROR_DIRECTORY : RtlNtStatusToDosError(status);
        }
        const auto* bytes = reinterpret_cast<const BYTE*>(buffer.data());
        for (size_t at = 0;;) {
            const auto* info = reinterpret_cast<const TIdFullDirectoryInformation*>(bytes + at);
            const size_t length = std::min<size_t>(info->FileNameLength / sizeof(WCHAR), MAX_PATH - 1);
            const wchar_t* name = info->FileName;
            const bool dots = (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
            if (!dots) {
                WIN32_FIND_DATAW& data = entry.Data;
                data.dwFileAttributes = info->FileAttributes;
                data.ftCreationTime = FileTimeOf(info->CreationTime);
                data.ftLastAccessTime = FileTimeOf(info->LastAccessTime);
                data.ftLastWriteTime = FileTimeOf(info->LastWriteTime);
                data.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info->EndOfFile.QuadPart) >> 32);
                data.nFileSizeLow = static_cast<DWORD>(info->EndOfFile.QuadPart & 0xFFFFFFFF);
                data.dwReserved0 = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? info->EaSize : 0;
                std::copy(name, name + length, data.cFileName);
                data.cFileName[length] = L'\0';
                entry.FileId = static_cast<uint64_t>(info->FileId.QuadPart);
                if (!visit(std::as_const(entry))) return NO_ERROR;
            }
            if (info->NextEntryOffset == 0) break;
            at += info->NextEntryOffset;
        }
    }
}

// Every message but keyboard and mouse input (client and non-client), which a wait for the worker
// leaves queued for the program to handle afterwards.
// Posted messages come first, then painting, then timers, as the system's own loop takes them: a
// window that brings itself up to date through a posted message never paints what is out of date.
constexpr std::pair<UINT, UINT> kServedMessages[] = {
    {0, WM_PAINT - 1},
    {WM_PAINT + 1, WM_NCMOUSEMOVE - 1},
    {WM_NCXBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
    {WM_KEYLAST + 1, WM_TIMER - 1},
    {WM_TIMER + 1, WM_MOUSEFIRST - 1},
    {WM_MOUSELAST + 1, UINT_MAX},
    {WM_PAINT, WM_PAINT},
    {WM_TIMER, WM_TIMER},
};

// Keyboard or mouse messages wait in the queue (left there by the wait below).
bool HasQueuedInput() {
    MSG message;
    for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                      std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                                      std::pair<UINT, UINT>{WM_MOUSEFIRST, WM_MOUSELAST}})
        if (PeekMessageW(&message, nullptr, first, last, PM_NOREMOVE | PM_NOYIELD)) return true;
    return false;
}

constexpr DWORD kInputPollMs = 10;

// Takes the next queued message that is not input (messages sent from other threads are served
// meanwhile, by PeekMessage itself).
bool TakeServedMessage(MSG& message) {
    for (const auto& [first, last] : kServedMessages)
        if (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) return true;
    return false;
}

}  // namespace

TFindFile::~TFindFile() { Shutdown(); }

void TFindFile::Shutdown() noexcept {
    FDestroying = true;
    try {
        if (FAborted)
            AwaitWorker();   // destroyed while an Abort waits: the worker must still end first
        else
            Abort();
    } catch (...) {
    }
}

void TFindFile::Execute() {
    if (FBusy || FDestroying) return;
    FPreparedSearch = std::make_unique<TTargetSearch>(Criteria);
    FAborted = false;
    FBusy = true;
    try {
        DoSearchBegin();
        if (Threaded) {
            StartWorker();
        } else {
            RunSearch();
            FinishSearch();
        }
    } catch (...) {
        if (FBusy) FinishSearch();
        throw;
    }
}

void TFindFile::StartWorker() {
    auto worker = std::make_unique<TSearchThread>(*this);   // suspended: discarded unstarted on failure
    HANDLE handle = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), worker->Handle(), GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE, 0))
        throw EThread("Cannot keep the search thread's handle");
    FThreadHandle.reset(handle);
    FWorkerId = worker->ThreadID();
    worker.release()->Start();   // frees itself after ThreadTerminated
}

void TFindFile::Abort() {
    if (!FBusy || FAborted) return;
    FAborted = true;
    DoSearchAbort();
    AwaitWorker();
}

void TFindFile::AwaitWorker() {
    if (!FThreadHandle || GetCurrentThreadId() == FWorkerId) return;
    // A handle of our own: ThreadTerminated closes ThreadHandle while we wait, and this object may even be
    // destroyed by a message served during the wait (its destructor then waits too), so nothing here
    // touches the object once the wait has begun.
    HANDLE handle = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), FThreadHandle.get(), GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE, 0))
        throw EThread("Cannot wait for the search thread");
    const UniqueKernelHandle worker(handle);
    if (WaitForWorker(worker.get(), INFINITE) == WAIT_OBJECT_0 + 1) {
        // The program is quitting, but the worker still runs and may need the main thread: wait on,
        // serving only its hand-overs, so that nothing it uses goes away under it.
        TThread::WaitForHandle(worker.get());
    }
}

DWORD TFindFile::WaitForWorker(HANDLE handle, DWORD timeout) {
    UniqueKernelHandle duplicate;
    if (handle == GetCurrentThread() || handle == GetCurrentProcess()) {
        HANDLE real = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &real, SYNCHRONIZE, FALSE, 0))
            duplicate.reset(real);
        handle = real;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        // Whatever is queued is served before each wait, seen or not: a hand-over posted before the wait
        // began (seen but left in the queue by the caller's own loop) must run, or the worker and this
        // thread would wait for each other.
        MSG message;
        while (TakeServedMessage(message)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return WAIT_OBJECT_0 + 1;
            }
            DispatchMessageW(&message);
        }
        DWORD left = timeout;
        if (timeout != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= timeout ? 0 : static_cast<DWORD>(timeout - spent);
        }
        // The wait wakes for whatever is queued, seen or not (MWMO_INPUTAVAILABLE): every look at the
        // queue marks all it holds as seen, so a hand-over that arrived while the ranges above were
        // looked at one by one would not wake a wait for new messages only, and the worker and this
        // thread would wait for each other. Input the system delivers is not in the mask; input
        // posted as messages is, and left queued it would wake that wait at once, again and again: with
        // such input waiting, the wait looks again every few milliseconds instead.
        const bool postedInput = HasQueuedInput();
        const DWORD slice = postedInput ? std::min<DWORD>(left, kInputPollMs) : left;
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, slice,
                                                         QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE,
                                                         postedInput ? 0 : MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + 1) continue;
        if (result == WAIT_TIMEOUT && slice < left) continue;  // a look's slice ran out, not the wait
        return result;
    }
}

void TFindFile::RunSearch() {
    for (const TTargetFolder& target : FPreparedSearch->TargetFolders.Folders()) {
        if (Aborted()) break;
        FCurrentLevel = 0;
        FCurrentTarget = &target;
        SearchFolder(target.Path);
    }
}

// The walk keeps its own stack of open folders instead of recursing: extended paths allow thousands of
// levels, more than a thread's stack holds frames for. Each open folder keeps only the names of the
// subfolders still to enter, and the current path is one string cut back when the walk climbs.
void TFindFile::SearchFolder(const std::wstring& root) {
    struct TOpenFolder {
        size_t PathLength;                    // of this folder's path, which the current path starts with
        std::vector<std::wstring> Subfolders;
        size_t Next = 0;
    };
    struct TLevelReset {
        uint16_t& Level;
        ~TLevelReset() { Level = 0; }
    } reset{FCurrentLevel};

    std::wstring path = root;
    std::vector<TOpenFolder> open;
    for (;;) {
        // Paths are at most 32767 characters and every level adds two, so the count fits.
        FCurrentLevel = static_cast<uint16_t>(open.size() + 1);
        open.push_back({path.size(), VisitFolder(path)});
        while (!open.empty() && (Aborted() || open.back().Next == open.back().Subfolders.size())) open.pop_back();
        if (open.empty()) return;
        TOpenFolder& parent = open.back();
        path.resize(parent.PathLength);
        path += parent.Subfolders[parent.Next++];
        path += L'\\';
    }
}

// Raises the folder's events and returns the subfolders to enter, in listing order.
std::vector<std::wstring> TFindFile::VisitFolder(const std::wstring& folder) {
    const TFolderIgnore action = DoFolderChange(folder);
    const TTargetFolder& target = *FCurrentTarget;
    const std::vector<std::wstring>& masks = target.FileMasks;
    const bool searchEntries = (action == fiNone || action == fiJustSubfolders) && FCurrentLevel >= target.MinLevel &&
                               !masks.empty() && !Aborted();
    const bool descend = target.Subfolders && (action == fiNone || action == fiJustThis) &&
                         (target.MaxLevel == 0 || target.MaxLevel > FCurrentLevel) && !Aborted();

    std::vector<std::wstring> subfolders;
    auto noteSubfolder = [&](const TFolderEntry& entry) {
        // A reparse point is not entered: a junction to an ancestor would make the walk endless.
        if (descend && (entry.Data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                           FILE_ATTRIBUTE_DIRECTORY)
            subfolders.emplace_back(entry.Data.cFileName);
    };
    TSearchRec rec;  // one for the folder: handlers see it only during their call
    auto considerEntry = [&](const TFolderEntry& entry, const std::wstring& mask) {
        if (!MaskMatch(entry.Data.cFileName, mask)) return;
        rec.Assign(entry.Data, entry.FileId);
        if (AcceptFile(folder, rec)) DoFileMatch(folder, rec);
    };

    // One listing serves every mask and the descent.
    DWORD error = NO_ERROR;
    if (searchEntries && masks.size() > 1) {
        std::vector<TFolderEntry> entries;
        error = ForEachEntry(folder, [&](const TFolderEntry& entry) {
            entries.push_back(entry);
            noteSubfolder(entry);
            return true;
        });
        for (auto mask = masks.rbegin(); mask != masks.rend() && !Aborted(); ++mask)
            for (const TFolderEntry& entry : entries) {
                considerEntry(entry, *mask);
                if (Aborted()) break;
            }
    } else if (searchEntries || descend) {
        error = ForEachEntry(folder, [&](const TFolderEntry& entry) {
            if (searchEntries) considerEntry(entry, masks.front());
            noteSubfolder(entry);
            return !Aborted();
        });
    }
    if (error != NO_ERROR) DoFolderError(folder, error);   // a listing that failed to open gave nothing else
    return subfolders;
}

void TFindFile::FinishSearch() {
    struct TEnd {
        TFindFile& Self;
        ~TEnd() {
            Self.FPreparedSearch.reset();
            Self.FBusy = false;
        }
    } end{*this};
    DoSearchFinish();
}

void TFindFile::ThreadTerminated() {
    FThreadHandle.reset();
    FWorkerId = 0;
    FinishSearch();
}

void TFindFile::DoSearchBegin() {
    if (!FDestroying && OnSearchBegin) OnSearchBegin(this);
}

void TFindFile::DoSearchFinish() {
    if (!FDestroying && OnSearchFinish) OnSearchFinish(this);
}

void TFindFile::DoSearchAbort() {
    if (!FDestroying && OnSearchAbort) OnSearchAbort(this);
}

TFolderIgnore TFindFile::DoFolderChange(const std::wstring& Folder) {
    TFolderIgnore answer = Aborted() ? fiThisAndSubfolders : fiNone;
    if (!Aborted() && OnFolderChange) OnFolderChange(this, Folder, answer);
    return answer;
}

void TFindFile::DoFolderError(const std::wstring& Folder, DWORD Error) {
    if (!Aborted() && OnFolderError) OnFolderError(this, Folder, Error);
}

void TFindFile::DoFileMatch(const std::wstring& Folder, const TSearchRec& FileInfo) {
    if (!Aborted() && OnFileMatch) OnFileMatch(this, Folder, FileInfo);
}

bool TFindFile::AcceptFile(const std::wstring& Folder, const TSearchRec& FileInfo) {
    return FPreparedSearch->Accepts(Folder, FileInfo, &FAborted);
}
