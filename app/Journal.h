#pragma once
// The journal of attribute changes: every change Clarivo makes to an object's attributes is written
// down here before it is made, and how it went right after, so that "Undo Unhide" can put back what an
// unhide changed even after a crash, and a person can read what was done.
//
// A plain UTF-8 file of tab-separated lines, appended and flushed line by line. The first line names the
// format and its version; every later line ends in a CRC-32 of the line before it, so a line that was
// torn by a crash or damaged later is recognised and passed over. Each line stands on its own (it names
// its batch), so one bad line loses only itself. A file of another version is kept under another name
// and a new one begun; nothing in it is read.
//
//   Clarivo journal	1
//   change	<batch>	<n>	unhide|undo	<UTC time>	<before>	<after>	<file id>	<root length>	<path>	<crc>
//   done	<batch>	<n>	<attributes now>	<crc>
//   failed	<batch>	<n>	<crc>
//   undone	<batch>	<crc>
//
// Attributes are 8 hex digits, the file id 16. In the path, '%', control characters and surrogates
// without their pair are written as %XX or %uXXXX, so every name survives exactly.
#include "app/FileActions.h"
#include "base/WinHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The checksum that ends every line: the CRC-32 of zip files, of the line's bytes before its last tab.
uint32_t JournalChecksum(std::string_view data);

// Where the journal lives for this user: Clarivo\journal.tsv in the local application data folder.
// Empty when the system does not say where that folder is.
std::wstring DefaultJournalPath();

enum class TBatchKind { Unhide, Undo };

// One change as the journal tells it.
struct TJournalEntry {
    enum TState { Pending, Done, Failed };  // Pending: no outcome written (the program ended meanwhile)
    uint64_t Batch = 0;
    uint32_t Number = 0;
    TBatchKind Kind = TBatchKind::Unhide;
    DWORD Before = 0, After = 0;  // After: what the change was to give
    uint64_t FileId = 0;
    std::size_t RootLength = 0;
    std::wstring Path;
    std::wstring Time;            // as written: ISO 8601, UTC
    TState State = Pending;
    DWORD AttributesNow = 0;      // for Done: what the object had right after the change
};

// What a journal file holds, as far as it is sound.
struct TJournalContents {
    bool Unreadable = false;          // there, but could not be read (locked, denied): nothing read
    bool OtherFormat = false;         // not empty, but not a journal of this version: nothing read
    int DamagedLines = 0;             // lines passed over (torn, altered, or not understood)
    std::vector<TJournalEntry> Entries;    // in the order written, outcomes applied
    std::vector<uint64_t> UndoneBatches;   // unhide batches already put back
};

TJournalContents ReadJournal(const std::wstring& path);

// The unhide batch "Undo Unhide" takes: the last one not yet put back, with its changes that may have
// been made (done, or with no outcome written). Empty when there is none.
std::vector<TJournalEntry> LastUndoableBatch(const TJournalContents& contents);

class TJournal;

struct TUndoOutcome {
    bool Found = false;        // there was an unhide to undo
    TActionCounts Counts;      // how its objects fared
    std::vector<std::wstring> NotRestored;  // the paths of those left as they were, in the order tried
    bool Unreadable = false;
    bool OtherFormat = false;
    int DamagedLines = 0;
};

// Puts back the attributes of the last unhide batch not yet put back, last changed first, on each
// object that still has the attributes the unhide left (and is still the same file); the changes are
// journalled as an undo batch, and the unhide batch is then marked as put back.
TUndoOutcome UndoLastUnhide(TJournal& journal);

class TJournal : public TChangeRecorder {
public:
    explicit TJournal(std::wstring path);
    TJournal(const TJournal&) = delete;
    TJournal& operator=(const TJournal&) = delete;

    const std::wstring& Path() const { return FPath; }
    // Another file from now on (tests keep the user's journal out of their way).
    void SetPath(std::wstring path);

    // The changes recorded from now on belong to a new batch of this kind.
    void BeginBatch(TBatchKind kind);
    // Notes that the unhide batch has been put back.
    bool MarkUndone(uint64_t batch);

    bool Begin(const TAttributeChange& change) override;
    void End(bool done, DWORD attributesNow) override;

private:
    // Opens the file for appending, starting it (or starting over beside a file of another format).
    bool Open();
    bool Append(const std::string& record);

    std::wstring FPath;
    UniqueFileHandle FFile;
    uint64_t FBatch = 0;
    uint64_t FLastBatch = 0;
    TBatchKind FKind = TBatchKind::Unhide;
    uint32_t FNumber = 0;
};
