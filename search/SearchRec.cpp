#include "search/SearchRec.h"

namespace {
constexpr DWORD kAttributeBits[] = {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                                    FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_DIRECTORY};
}

DWORD TFileAttributes::ToMask() const {
    DWORD mask = 0;
    for (int value = ffArchive; value <= ffDirectory; ++value)
        if (Contains(static_cast<TFileAttribute>(value))) mask |= kAttributeBits[value];
    return mask;
}

TFileAttributes TFileAttributes::FromMask(DWORD mask) {
    TFileAttributes set;
    for (int value = ffArchive; value <= ffDirectory; ++value)
        if (mask & kAttributeBits[value]) set.FBits = static_cast<uint8_t>(set.FBits | 1u << value);
    return set;
}

TSearchRec TSearchRec::FromFindData(const WIN32_FIND_DATAW& data) {
    TSearchRec rec;
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        rec.Time = uint32_t{date} << 16 | time;
    rec.Size = data.nFileSizeLow;
    rec.Attr = data.dwFileAttributes;
    rec.Name = data.cFileName;
    rec.FindData = data;
    return rec;
}
