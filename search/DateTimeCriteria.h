#pragma once
// Bounds on an entry's creation, last-write and last-access times (local time), both inclusive; 0 sets
// no bound. A date alone compares with the entry's date, a time alone with its time of day.
#include <windows.h>

#include "base/DateTime.h"
#include "search/Criteria.h"

class TDateTimeCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TDateTimeCriteria)

    TDateTime CreatedBefore = 0, CreatedAfter = 0;
    TDateTime ModifiedBefore = 0, ModifiedAfter = 0;
    TDateTime AccessedBefore = 0, AccessedAfter = 0;

    // The arguments are the entry's UTC file times.
    bool Matches(const FILETIME& created, const FILETIME& modified, const FILETIME& accessed) const;
};

// A UTC file time as a local date-time value, to the millisecond.
TDateTime FileTimeToLocalDateTime(const FILETIME& time);
