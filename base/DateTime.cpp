#include "base/DateTime.h"

#include <cmath>

namespace {

// Days from 1 January 1970 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

const int64_t kDelphiEpoch = DaysFromCivil(1899, 12, 30);

double WholeDays(TDateTime value) { return std::trunc(value); }
double TimeOfDay(TDateTime value) { return std::fabs(value - std::trunc(value)); }

// The part of value that a bound of this kind is compared with.
double ComparablePart(TDateTime value, TDateTime bound) {
    if (TimeOfDay(bound) == 0) return WholeDays(value);
    if (WholeDays(bound) == 0) return TimeOfDay(value);
    return value;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kDelphiEpoch);
}

TDateTime EncodeTime(int hour, int minute, int second, int ms) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / 86400000.0;
}

TDateTime PackedDateTimeToDateTime(uint32_t packed) {
    const auto date = packed >> 16, time = packed & 0xFFFF;
    const int year = static_cast<int>(date >> 9) + 1980, month = static_cast<int>((date >> 5) & 15),
              day = static_cast<int>(date & 31);
    const int hour = static_cast<int>(time >> 11), minute = static_cast<int>((time >> 5) & 63),
              second = static_cast<int>(time & 31) * 2;
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, 0);
}

bool DateTimeInRange(TDateTime value, TDateTime before, TDateTime after) {
    if (before != 0 && ComparablePart(value, before) > before) return false;
    if (after != 0 && ComparablePart(value, after) < after) return false;
    return true;
}
