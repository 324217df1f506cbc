#pragma once
// Date-time values: days since 30 December 1899 as a double, the fraction being the time of day.
// A value with no fraction stands for a date alone, one with no whole part for a time of day alone.
#include <cstdint>

using TDateTime = double;

// Month 1-12, day 1-31, hour 0-23, minute and second 0-59, ms 0-999; no range checks beyond the
// arithmetic, so callers pass values that came from a clock or a calendar.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int ms);

// The packed local date and time of a directory listing (date in the high 16 bits: years since 1980,
// month, day; time in the low 16: hours, minutes, seconds / 2).
TDateTime PackedDateTimeToDateTime(uint32_t packed);

// True when value lies within both bounds (inclusive); a bound of 0 is not set. A bound that is a date
// alone compares with value's date, a time alone with value's time of day, a full value with the whole
// of value.
bool DateTimeInRange(TDateTime value, TDateTime before, TDateTime after);
