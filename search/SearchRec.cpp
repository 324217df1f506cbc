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

void TSearchRec::Assign(const WIN32_FIND_DATAW& data) {
    FILETIME local;
    WORD date = 0, time = 0;
    Time = FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time)
               ? uint32_t{date} << 16 | time
               : 0;
    Size = data.nFileSizeLow;
    Attr = data.dwFileAttributes;
    Name.assign(data.cFileName);
    FindData = data;
}
