#pragma once
// A phrase that a file's content must hold.
//
// Names and text are UTF-16 throughout the program, but a file's content is compared as raw bytes.
// The phrase is encoded in the system's ANSI code page, the encoding of text written by 8-bit programs
// and the code page of the case and word tables; plain ASCII phrases are then also found in UTF-8
// files. A phrase with a character that the ANSI code page lacks cannot occur in such text: it is
// encoded as UTF-8 instead and searched with the UTF-8 tables (see CharTables.h).
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
    // read does not.
    bool Matches(const std::wstring& FileName) const;

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

// read fills up to count bytes (count is never 0) and returns how many it gave, 0 at the end; size is
// the source's size. One buffer of bufferSize bytes serves the whole scan (twice the phrase's length + 1
// when the phrase does not fit in bufferSize). After each fill every position whose candidate, and the
// byte after it, is wholly read is decided; the phrase's length of undecided bytes moves to the front
// and the next read goes after it.
using TReadFn = std::function<size_t(uint8_t* buffer, size_t count)>;
bool ContainsPhrase(const TPhraseScan& scan, uint64_t size, const TReadFn& read, size_t bufferSize = kScanBufferSize);

// How FileContainsPhrase reaches the file's bytes. Automatic maps a file of kScanMappingThreshold bytes
// or more on a fixed or RAM disk and reads any other: mapping a small file costs more than reading it,
// and a mapped read from a network or removable drive can fail with an in-page error that only
// structured exception handling could catch. Reading and Mapping force a way (tests, benchmark);
// Mapping throws EReadError where the file cannot be mapped.
enum class TFileAccess { Automatic, Reading, Mapping };

// The mapped scan's views start viewSize bytes apart (rounded up to the allocation granularity); each
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
// read or (with Mapping) map it.
bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan,
                        TFileAccess access = TFileAccess::Automatic, size_t viewSize = kScanViewSize);
