#include "app/RowText.h"

#include "base/StrUtils.h"

std::wstring SizeText(DWORD attr, uint64_t size) {
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return L"Folder";
    // (size + 1023) / 1024 without overflowing near the top of the range.
    uint64_t kb = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    return std::to_wstring(kb) + L"KB";
}

namespace {

// The time zone's rules, looked up again every few seconds rather than for every row: asked without
// them, the conversion looks them up itself, which costs some 5 us a row under Wine.
const TIME_ZONE_INFORMATION& TimeZone() {
    thread_local TIME_ZONE_INFORMATION zone{};
    thread_local ULONGLONG lookedUp = 0;
    const ULONGLONG now = GetTickCount64();
    if (lookedUp == 0 || now - lookedUp > 10000) {
        GetTimeZoneInformation(&zone);
        lookedUp = now;
    }
    return zone;
}

}  // namespace

std::wstring ModifiedText(const FILETIME& utc) {
    // The bias of that day, not today's: a summer date shows its summer time all year round.
    SYSTEMTIME universal, st;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(&TimeZone(), &universal, &st))
        return {};
    wchar_t date[128], time[128];
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128)) return {};
    std::wstring text = date;
    if (st.wHour != 0 || st.wMinute != 0 || st.wSecond != 0) {
        if (!GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128)) return text;
        text += L' ';
        text += time;
    }
    return text;
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
