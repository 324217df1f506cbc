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
//   Clarivo journal	2
//   change	<batch>	<n>	unhide|undo	<UTC time>	<before>	<after>	<identity>	<root identity>	<root length>	<path>	<crc>
//   done	<batch>	<n>	<attributes now>	<crc>
//   failed	<batch>	<n>	<crc>
//   undone	<batch>	<n>	<crc>
//
// Batches are 16 hex digits, chosen at random so that two copies of the program running at once never
// share one; attributes are 8 hex digits; identities are the volume and the number of the object and of
// the folder it was searched in (see FileIdentity.h). In the path, '%', control characters, U+FFFD and
// surrogates without their pair are written as %XX or %uXXXX, so every name survives exactly. "undone"
// says that change n of an unhide batch has been dealt with by an undo: put back, or found changed since.
//
// Undo trusts nothing it did not write: it acts only on a change that names both identities and a
// searched folder above the object, that cleared exactly hidden and system, and it only sets those two
// back. The journal's folder is made for the user alone; a folder or a journal that is a link, has other
// names, or belongs to another account is refused, and nothing is written or read there.
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
    TFileIdentity Identity, RootIdentity;
    std::size_t RootLength = 0;
    std::wstring Path;
    std::wstring Time;            // as written: ISO 8601, UTC
    TState State = Pending;
    DWORD AttributesNow = 0;      // for Done: what the object had right after the change
    bool Settled = false;         // an unhide's change an undo has dealt with
};

// What a journal file holds, as far as it is sound.
struct TJournalContents {
    std::wstring Refused;             // why the journal's folder or file was not opened (in plain words)
    bool Unreadable = false;          // there, but could not be read (locked, denied): nothing read
    bool OtherFormat = false;         // not empty, but not a journal of this version: nothing read
    int DamagedLines = 0;             // lines passed over (torn, altered, or not understood)
    std::vector<TJournalEntry> Entries;  // in the order written, outcomes applied
};

TJournalContents ReadJournal(const std::wstring& path);

// The unhide "Undo Unhide" takes: the last one with changes not yet dealt with, and those changes.
struct TUndoPlan {
    uint64_t Batch = 0;
    std::wstring Time;                   // when the unhide began (ISO 8601, UTC)
    std::vector<TJournalEntry> Changes;  // those to put back, in the order made (done, or no outcome written)
    int Untrusted = 0;                   // changes of that unhide passed over: not as the program writes them
    bool Empty() const { return Changes.empty(); }
};

TUndoPlan PlanUndo(const TJournalContents& contents);

class TJournal;

struct TUndoOutcome {
    TActionCounts Counts;                   // how the objects fared
    std::vector<std::wstring> NotRestored;  // the paths of those left as they were, in the order tried
};

// Sets hidden and system back on each change of plan, last changed first, where the object is still the
// one unhidden and still has the attributes the unhide left; the changes are journalled as an undo batch,
// and each change put back, or found changed for good, is noted as dealt with. The rest stays for the
// next undo.
TUndoOutcome Undo(const TUndoPlan& plan, TJournal& journal);

class TJournal : public TChangeRecorder {
public:
    explicit TJournal(std::wstring path);
    TJournal(const TJournal&) = delete;
    TJournal& operator=(const TJournal&) = delete;

    const std::wstring& Path() const { return FPath; }
    // Another file from now on (tests keep the user's journal out of their way).
    void SetPath(std::wstring path);

    // Whether changes can be written down; when not, Problem() says why in plain words.
    bool Usable();
    const std::wstring& Problem() const { return FProblem; }

    // The changes recorded from now on belong to a new batch of this kind.
    void BeginBatch(TBatchKind kind);
    // Notes that these changes (batch and number) of unhide batches have been dealt with by an undo.
    bool Settle(const std::vector<std::pair<uint64_t, uint32_t>>& changes);

    // The intents of a block and then its outcomes, each written and flushed at once: a crash between
    // the two leaves intents without outcomes, which read as "may have been made".
    bool Begin(const std::vector<TAttributeChange>& changes) override;
    void End(const std::vector<TChangeOutcome>& outcomes) override;

private:
    // Opens the file for appending, starting it (or starting over beside a file of another format).
    bool Open();
    bool Append(const std::string& record);

    std::wstring FPath;
    std::wstring FProblem;
    UniqueFileHandle FFile;
    uint64_t FBatch = 0;
    TBatchKind FKind = TBatchKind::Unhide;
    uint32_t FNumber = 0;  // the last change written down
    uint32_t FBlock = 0;   // how many changes the last Begin wrote down
};

// A recorder that writes nothing down: for an unhide the user chose to make without undo.
class TUnrecorded : public TChangeRecorder {
public:
    bool Begin(const std::vector<TAttributeChange>&) override { return true; }
    void End(const std::vector<TChangeOutcome>&) override {}
};
