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

// read fills up to count bytes and returns how many it gave, 0 at the end; size is the source's size.
// One buffer of at most bufferSize bytes (the phrase's length + 1 if that is more) serves the whole
// scan; a candidate cut by the buffer's end moves to its front and the rest is read after it.
using TReadFn = std::function<size_t(uint8_t* buffer, size_t count)>;
bool ContainsPhrase(const TPhraseScan& scan, uint64_t size, const TReadFn& read, size_t bufferSize = kScanBufferSize);

// Opens the file sharing reading and writing and scans it; throws EReadError when it cannot.
bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan);
