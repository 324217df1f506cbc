#pragma once
// A phrase that a file's content must hold.
//
// Names and text are UTF-16 throughout the program, but a file's content is compared as raw bytes.
// The phrase is encoded in the system's ANSI code page, the encoding of text written by 8-bit programs
// and the code page of the case and word tables; plain ASCII phrases are then also found in UTF-8
// files. A phrase with a character that the ANSI code page lacks cannot occur in such text: it is
// encoded as UTF-8 instead and searched with the UTF-8 tables (see CharTables.h).
#include <atomic>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "search/Criteria.h"

class TContentCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TContentCriteria)

    TContentCriteria() { Update(); }

    const std::wstring& Phrase() const { return FPhrase; }
    void SetPhrase(const std::wstring& value);
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool value);
    // The phrase must stand between non-alphanumeric characters (or the file's start and end).
    bool WholeWord = false;

    // Kept in step with Phrase and IgnoreCase: the encoded phrase passed through CharTable, its length
    // in bytes, and the table that file bytes go through before they are compared.
    const std::string& SearchPhrase() const { return FSearchPhrase; }
    size_t PhraseLength() const { return FSearchPhrase.size(); }
    const uint8_t* CharTable() const { return FCharTable; }
    const std::bitset<256>& Delimiters() const { return *FDelimiters; }

    // True for an empty phrase; otherwise whether the file holds it. A file that cannot be opened or
    // read does not, and neither does one whose scan is cut short by setting *abort.
    bool Matches(const std::wstring& FileName, const std::atomic<bool>* abort = nullptr) const;

private:
    void Update();

    std::wstring FPhrase;
    bool FIgnoreCase = true;
    std::string FSearchPhrase;
    const uint8_t* FCharTable = nullptr;
    const std::bitset<256>* FDelimiters = nullptr;
};

// The scan itself, over any byte source.
struct TPhraseScan {
    std::string_view Phrase;             // already passed through Table
    const uint8_t* Table;                // file bytes go through this before comparison
    const std::bitset<256>* Delimiters;  // bytes that end a word
    bool WholeWord;
};

constexpr size_t kScanBufferSize = 61440;

// Blocks of this size are read ahead, kReadAheadBlocks of them at most: large blocks keep the
// hand-overs between the two threads few.
constexpr size_t kReadAheadBlockSize = size_t{256} << 10;
constexpr size_t kReadAheadBlocks = 3;

// No file is read ahead automatically: in bench_content (cached files, Wine on a two-core virtual
// machine that other work shares) the scan reading ahead ran at 0.12 to 0.25 of plain reading's speed
// against 0.8 to 0.95 for the scan reading in turn; per file it took 1.25 times as long at 4 and 16 KiB
// and 2 to 10 times as long from 64 KiB on. The reader often waits for a core, every hand-over then
// costs a time slice, and each file's ring is fresh memory. Lower this to the size from which the
// table shows reading ahead in front on a machine where it is.
constexpr uint64_t kReadAheadThreshold = UINT64_MAX;

// read fills up to count bytes (count is never 0) and returns how many it gave, 0 at the end; size is
// the source's size. The source is read in blocks of bufferSize bytes (of size when that is less), each
// after room for the phrase's length: there the undecided bytes of the blocks before go back, so that
// an occurrence across blocks, and the byte after it, lie whole in memory. After each block every
// position whose candidate, and the byte after it, is wholly read is decided.
//
// With readAhead the reads run on a pool thread, up to kReadAheadBlocks blocks ahead of the scan, so
// that reading and scanning overlap; what read throws comes out of ContainsPhrase. The scan stops with
// false once *abort is set, and no read runs once it has returned.
using TReadFn = std::function<size_t(uint8_t* buffer, size_t count)>;
bool ContainsPhrase(const TPhraseScan& scan, uint64_t size, const TReadFn& read, size_t bufferSize = kScanBufferSize,
                    bool readAhead = false, const std::atomic<bool>* abort = nullptr);

// How FileContainsPhrase reaches the file's bytes. Automatic maps a file of kScanMappingThreshold bytes
// or more on a fixed or RAM disk and reads any other, ahead of the scan from kReadAheadThreshold bytes
// on: mapping a small file costs more than reading it, and a mapped read from a network or removable
// drive can fail with an in-page error that only structured exception handling could catch. Reading,
// ReadingAhead and Mapping force a way (tests, benchmark); Mapping throws EReadError where the file
// cannot be mapped.
enum class TFileAccess { Automatic, Reading, ReadingAhead, Mapping };

// The mapped scan's views start kScanViewSize bytes apart (rounded up to the allocation granularity); each
// maps the phrase's length further, which the next view maps again, so an occurrence that crosses into
// the next view, and the byte after it, lie whole in one view. Setting up a view takes a fraction of a
// millisecond, nothing beside scanning 64 MiB, and 64 MiB keeps a huge file's mapped range small.
constexpr size_t kScanViewSize = size_t{64} << 20;

// No file is mapped automatically: in bench_content's per-file table (4 KiB to 16 MiB, cached, Wine on
// a virtual machine) the mapped scan took 2.5 to 4.7 times as long as the reading one at every size, as
// the first touch of each mapped page costs about a microsecond there against a third of that for
// reading the page. Lower this to the size from which the table shows mapping ahead on a machine
// where it is.
constexpr uint64_t kScanMappingThreshold = UINT64_MAX;

// Opens the file sharing reading and writing and scans it; throws EReadError when it cannot open,
// read or (with Mapping) map it. blockSize, where not 0, replaces the way's own size of a read or view
// (kScanBufferSize, kReadAheadBlockSize, kScanViewSize). The scan stops with false once *abort is set.
bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan,
                        TFileAccess access = TFileAccess::Automatic, size_t blockSize = 0,
                        const std::atomic<bool>* abort = nullptr);
