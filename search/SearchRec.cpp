#include "search/SearchRec.h"

#include <climits>

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

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsPerDay = 86'400;

// The difference FileTimeToLocalFileTime makes, in 100-ns ticks: the bias in force now (it converts every
// time with today's bias, summer or winter). Asked of the system once a second per thread, not for every
// entry: under Wine the call looks the time zone up each time, some microseconds an entry, which made the
// record cost more than the entry's listing.
int64_t LocalBiasTicks() {
    thread_local int64_t bias = 0;
    thread_local ULONGLONG askedAt = 0;
    const ULONGLONG now = GetTickCount64();
    if (askedAt == 0 || now - askedAt >= 1000) {
        constexpr uint64_t kReference = uint64_t{0x01D0'0000} << 32;   // 2014: well inside every range
        const FILETIME utc{static_cast<DWORD>(kReference), static_cast<DWORD>(kReference >> 32)};
        FILETIME local;
        if (FileTimeToLocalFileTime(&utc, &local))
            bias = static_cast<int64_t>((uint64_t{local.dwHighDateTime} << 32 | local.dwLowDateTime) - kReference);
        askedAt = now;
    }
    return bias;
}

}  // namespace

uint32_t PackedDosTime(uint64_t localTicks) {
    // Days and seconds since 1601-01-01, then the civil date (days counted from 0000-03-01, so that the
    // leap day ends a year).
    const auto seconds = static_cast<int64_t>(localTicks / kTicksPerSecond);
    const int64_t days = seconds / kSecondsPerDay, second = seconds % kSecondsPerDay;
    const int64_t z = days + 584'694;   // 1601-01-01 is day 584,694 from 0000-03-01
    const int64_t era = z / 146'097, dayOfEra = z % 146'097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;   // 0 for March
    const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    // The packed form holds 1980 to 2107.
    if (year < 1980 || year > 2107) return 0;
    const auto date = static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day);
    const auto time = static_cast<uint32_t>((second / 3600) << 11 | (second / 60 % 60) << 5 | (second % 60) / 2);
    return date << 16 | time;
}

uint32_t LocalDosTime(const FILETIME& utc) {
    const uint64_t ticks = uint64_t{utc.dwHighDateTime} << 32 | utc.dwLowDateTime;
    const int64_t bias = LocalBiasTicks();
    // Beyond either end of the file-time range the system's conversion fails: so does this.
    if (ticks > static_cast<uint64_t>(INT64_MAX) || (bias < 0 && ticks < static_cast<uint64_t>(-bias)) ||
        (bias > 0 && ticks > static_cast<uint64_t>(INT64_MAX - bias)))
        return 0;
    return PackedDosTime(static_cast<uint64_t>(static_cast<int64_t>(ticks) + bias));
}

void TSearchRec::Assign(const WIN32_FIND_DATAW& data, uint64_t fileId) {
    FileId = fileId;
    Time = LocalDosTime(data.ftLastWriteTime);
    Size = data.nFileSizeLow;
    Attr = data.dwFileAttributes;
    Name.assign(data.cFileName);
    FindData = data;
}
