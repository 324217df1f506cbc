#pragma once
// The skin archive: named members (the ini description and its bitmaps) behind a header, a name list
// and a size table, the whole packed with TLZH. TSkinReader unpacks it once, checks and indexes it,
// and hands out copies of single members.
#include "base/Exception.h"
#include "base/MemoryStream.h"

#include <cstdint>
#include <string>
#include <vector>

// What is wrong with a malformed skin archive; every length, count and offset is checked against the
// bytes that are really there before anything is read through it.
enum class TSkinArchiveFault {
    PackedTooShort,            // not even the 4-byte unpacked size
    NegativeUnpackedSize,
    UnpackedSizeBeyondPacked,  // more than the coded bytes could possibly produce
    UnpackedSizeTooLarge,      // above MaxUnpackedSize
    ShortHeader,               // fewer than 16 bytes unpacked
    NegativeNamesLength,
    ShortNameList,             // the name list runs past the end
    TooManyMembers,            // more than MaxMembers names
    ShortSizeTable,            // the size table runs past the end
    NegativeMemberSize,
    MemberPastEnd,             // the sizes add up to more than the data area holds
};

class ESkinArchive : public Exception {
public:
    ESkinArchive(TSkinArchiveFault fault, const std::string& message) : Exception(message), FFault(fault) {}
    TSkinArchiveFault Fault() const { return FFault; }

private:
    TSkinArchiveFault FFault;
};

class TSkinReader {
public:
    static constexpr int32_t CurrentVersion = 20000;
    static constexpr int32_t MaxMembers = 1001;
    static constexpr int32_t MaxUnpackedSize = 64 * 1024 * 1024;
    static constexpr const char* OldVersionMessage = "This is Older Skin File\rPlease update to new version !";

    // Unpacks and indexes a packed skin (32-bit unpacked size, then the coded bits). False, after
    // showing OldVersionMessage, for an archive of another version. Raises ESkinArchive for a
    // malformed archive and ElzhException from the decoder; the reader is then empty.
    bool LoadArchive(TStream& Packed);
    // Indexes an archive that is already unpacked, taking its bytes; the same results as LoadArchive.
    bool ReadArchive(TMemoryStream& Unpacked);
    // Unpacks Packed (from its start) into Unpacked, after checking the unpacked size it states.
    static void UnpackStream(TStream& Packed, TStream& Unpacked);

    // Copies the member named Name (any case) into Out, positioned at 0; Out stays empty when there
    // is no such member. True when found.
    bool ExtractMember(const std::string& Name, TMemoryStream& Out) const;
    // Copies the first member whose lower-case name contains Part (compared as given) into Out and
    // sets FoundName; Out stays empty and FoundName unchanged when none does. True when found.
    bool FindMember(const std::string& Part, TMemoryStream& Out, std::string& FoundName) const;

    // The member an ini value names as an image: the value without any path (up to the last "\" or
    // ":"), when its extension is exactly ".bmp"; empty when the value names no bitmap member.
    static std::string BitmapMemberName(const std::string& Value);

    const std::vector<std::string>& Names() const { return FNames; }  // lower case, archive order
    int32_t MemberCount() const { return static_cast<int32_t>(FNames.size()); }
    const std::vector<int32_t>& Sizes() const { return FSizes; }
    const TMemoryStream& Data() const { return FData; }               // the member data area
    int32_t ArchiveVersion() const { return FArchiveVersion; }       // also after a version mismatch
    int32_t NamesLength() const { return FNamesLength; }

private:
    void Clear();
    void CopyMember(size_t index, TMemoryStream& Out) const;

    std::vector<std::string> FNames;
    std::vector<int32_t> FSizes;
    std::vector<size_t> FOffsets;  // start of each member in FData
    TMemoryStream FData;
    int32_t FArchiveVersion = 0;
    int32_t FNamesLength = 0;
};
