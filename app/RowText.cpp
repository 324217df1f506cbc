#include "app/RowText.h"

#include "base/StrUtils.h"

#include <cwchar>

std::wstring SizeText(DWORD attr, uint64_t size) {
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return L"Folder";
    // (size + 1023) / 1024 without overflowing near the top of the range.
    uint64_t kb = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    return std::to_wstring(kb) + L"KB";
}

namespace {

// The time zone's rules, and the texts last made from them, are looked up again every few seconds rather
// than for every row: asked without the rules, the conversion looks them up itself, which costs some 5 us
// a row under Wine, and formatting a date or a time costs as much again. Rows of one search mostly share
// their day and often their time, so the last text of each is kept; they go with the rules, so that a
// change of the user's formats shows within seconds.
struct TTextCache {
    TIME_ZONE_INFORMATION Zone{};
    ULONGLONG LookedUp = 0;
    uint32_t DayKey = UINT32_MAX, TimeKey = UINT32_MAX;   // the SYSTEMTIME fields each text was made from
    std::wstring Date, Time;
};

TTextCache& TextCache() {
    thread_local TTextCache cache;
    const ULONGLONG now = GetTickCount64();
    if (cache.LookedUp == 0 || now - cache.LookedUp > 10000) {
        GetTimeZoneInformation(&cache.Zone);
        cache.LookedUp = now;
        cache.DayKey = cache.TimeKey = UINT32_MAX;
    }
    return cache;
}

}  // namespace

std::wstring ModifiedText(const FILETIME& utc) {
    TTextCache& cache = TextCache();
    // The bias of that day, not today's: a summer date shows its summer time all year round.
    SYSTEMTIME universal, st;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(&cache.Zone, &universal, &st))
        return {};
    const uint32_t day = uint32_t{st.wYear} << 9 | uint32_t{st.wMonth} << 5 | st.wDay;
    if (day != cache.DayKey) {
        wchar_t date[128];
        if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128)) return {};
        cache.Date = date;
        cache.DayKey = day;
    }
    std::wstring text = cache.Date;
    if (st.wHour != 0 || st.wMinute != 0 || st.wSecond != 0) {
        const uint32_t second = uint32_t{st.wHour} << 12 | uint32_t{st.wMinute} << 6 | st.wSecond;
        if (second != cache.TimeKey) {
            wchar_t time[128];
            if (!GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128)) return text;
            cache.Time = time;
            cache.TimeKey = second;
        }
        text += L' ';
        text += cache.Time;
    }
    return text;
}

std::wstring WhenText(const std::wstring& isoUtc) {
    SYSTEMTIME universal{}, local{}, today{};
    if (swscanf(isoUtc.c_str(), L"%4hu-%2hu-%2huT%2hu:%2hu:%2hu", &universal.wYear, &universal.wMonth, &universal.wDay,
                &universal.wHour, &universal.wMinute, &universal.wSecond) != 6 ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    GetLocalTime(&today);
    wchar_t time[64], date[128];
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 64)) return {};
    if (local.wYear == today.wYear && local.wMonth == today.wMonth && local.wDay == today.wDay) return time;
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128)) return {};
    return std::wstring(date) + L" " + time;
}

std::wstring FinishLine(int folders, int files, uint32_t elapsedMs, bool aborted, int unopened) {
    std::wstring line = Utf8ToWide(Format("%d folder(s) searched and %d file(s) found - %.3f second(s)", folders,
                                          files, elapsedMs / 1000.0));
    wchar_t separator[8] = L".";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0 && separator[0] != L'.') {
        // The only '.' in the line is the one in the seconds.
        auto dot = line.rfind(L'.');
        if (dot != std::wstring::npos) line.replace(dot, 1, separator);
    }
    if (unopened > 0) line += Utf8ToWide(Format(", %d folder(s) could not be opened", unopened));
    return aborted ? L"Search aborted - " + line : line;
}
