#pragma once
// What the folder walk hands out for one directory entry, and the attribute set the criteria use.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

enum TFileAttribute { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };

// The attribute bits the search looks at: archive, read-only, hidden, system and directory.
constexpr DWORD kSearchAttributeMask = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// A set of TFileAttribute values, bit n standing for value n.
class TFileAttributes {
public:
    constexpr TFileAttributes() = default;
    constexpr TFileAttributes(std::initializer_list<TFileAttribute> values) {
        for (TFileAttribute value : values) FBits = static_cast<uint8_t>(FBits | 1u << value);
    }
    constexpr bool Contains(TFileAttribute value) const { return (FBits >> value) & 1u; }
    constexpr uint8_t Bits() const { return FBits; }
    constexpr bool operator==(const TFileAttributes&) const = default;

    // The platform attribute bits of the set, and back (bits outside the five are dropped).
    DWORD ToMask() const;
    static TFileAttributes FromMask(DWORD mask);

private:
    uint8_t FBits = 0;
};

// A local file time (100-ns ticks since 1601) in the packed DOS form, date in the high 16 bits and time in
// the low 16 (two-second steps), as FileTimeToDosDateTime gives it; 0 outside the years 1980 to 2107.
uint32_t PackedDosTime(uint64_t localTicks);
// A UTC file time converted to local time as FileTimeToLocalFileTime does (with the bias in force now),
// then packed; 0 where either step fails.
uint32_t LocalDosTime(const FILETIME& utc);

// What a folder-change handler may answer.
enum TFolderIgnore {
    fiNone,               // search the folder's entries and descend into its subfolders
    fiJustThis,           // skip the folder's own entries, still descend
    fiJustSubfolders,     // search the folder's entries, do not descend
    fiThisAndSubfolders,  // skip both
};

// One entry of a folder as the walk lists it: what FindFirstFile would say of it, and its number on its
// volume (the 64-bit file number; 0 when the listing gives none).
struct TFolderEntry {
    WIN32_FIND_DATAW Data;
    uint64_t FileId;
};

// One directory entry. Time and Size keep the classic 32-bit forms; Size64 is the true size.
struct TSearchRec {
    uint32_t Time = 0;   // last-write time, local, packed: date in the high 16 bits, time in the low 16
    uint32_t Size = 0;   // low 32 bits of the size
    DWORD Attr = 0;
    std::wstring Name;
    WIN32_FIND_DATAW FindData{};
    uint64_t FileId = 0;  // the entry's number on its volume, as listed (0: not known)

    uint64_t Size64() const { return uint64_t{FindData.nFileSizeHigh} << 32 | FindData.nFileSizeLow; }

    // Fills the record from the entry's find data; a record reused for every entry of a folder keeps
    // its name's storage.
    void Assign(const WIN32_FIND_DATAW& data, uint64_t fileId = 0);
};
