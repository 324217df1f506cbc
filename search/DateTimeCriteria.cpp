#include "search/DateTimeCriteria.h"

namespace {
bool PairMatches(const FILETIME& time, TDateTime before, TDateTime after) {
    return (before == 0 && after == 0) || DateTimeInRange(FileTimeToLocalDateTime(time), before, after);
}
}  // namespace

TDateTime FileTimeToLocalDateTime(const FILETIME& time) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

bool TDateTimeCriteria::Matches(const FILETIME& created, const FILETIME& modified, const FILETIME& accessed) const {
    return PairMatches(created, CreatedBefore, CreatedAfter) && PairMatches(modified, ModifiedBefore, ModifiedAfter) &&
           PairMatches(accessed, AccessedBefore, AccessedAfter);
}
