#include "app/RowText.h"

#include <gtest/gtest.h>

TEST(RowText, SizeIsKilobytesRoundedUpOrFolder) {
    struct Case { DWORD attr; uint64_t size; const wchar_t* text; };
    const Case cases[] = {
        {FILE_ATTRIBUTE_ARCHIVE, 0, L"0KB"},
        {FILE_ATTRIBUTE_ARCHIVE, 1, L"1KB"},
        {FILE_ATTRIBUTE_ARCHIVE, 1024, L"1KB"},
        {FILE_ATTRIBUTE_ARCHIVE, 1025, L"2KB"},
        {FILE_ATTRIBUTE_ARCHIVE, 5ull << 30, L"5242880KB"},                 // past 4 GiB: the true size
        {FILE_ATTRIBUTE_ARCHIVE, UINT64_MAX, L"18014398509481984KB"},       // no overflow at the top
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, 4096, L"Folder"},
    };
    for (const auto& c : cases) EXPECT_EQ(SizeText(c.attr, c.size), c.text) << c.size;
}

// The file time of a local date and time.
FILETIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0}, universal;
    FILETIME time{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) && SystemTimeToFileTime(&universal, &time));
    return time;
}

TEST(RowText, ModifiedShowsTheSecondsAndAnyDateAndLeavesTheTimeOutAtMidnight) {
    const std::wstring midnight = ModifiedText(LocalTime(2024, 3, 9, 0, 0, 0));
    const std::wstring evening = ModifiedText(LocalTime(2024, 3, 9, 21, 15, 43));
    ASSERT_FALSE(midnight.empty());
    EXPECT_EQ(midnight.find(L' '), std::wstring::npos) << "only the date at midnight";
    EXPECT_EQ(evening.substr(0, midnight.size() + 1), midnight + L' ') << "same date, then the time";
    EXPECT_NE(evening.find(L"15:43"), std::wstring::npos) << "an odd second is kept: " << evening;
    const std::wstring old = ModifiedText(LocalTime(1975, 6, 1, 12, 0, 0));
    EXPECT_NE(old.find(L"1975"), std::wstring::npos) << "dates before 1980 are shown too: " << old;
    EXPECT_TRUE(ModifiedText(FILETIME{0xFFFFFFFFu, 0xFFFFFFFFu}).empty()) << "no valid date";
}

// Rows in a row share their day or their time, or not: each text is the one formatted afresh for it.
TEST(RowText, ModifiedIsTheFreshlyFormattedTextWhateverCameBefore) {
    const SYSTEMTIME times[] = {
        {2024, 3, 0, 9, 21, 15, 43, 0}, {2024, 3, 0, 9, 21, 15, 43, 0}, {2024, 3, 0, 9, 8, 1, 2, 0},
        {2024, 3, 0, 10, 8, 1, 2, 0},   {2024, 3, 0, 10, 0, 0, 0, 0},   {2023, 12, 0, 31, 8, 1, 2, 0},
        {2024, 3, 0, 9, 21, 15, 43, 0},
    };
    for (const SYSTEMTIME& local : times) {
        wchar_t date[128], time[128];
        ASSERT_TRUE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128));
        ASSERT_TRUE(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 128));
        const bool midnight = local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0;
        EXPECT_EQ(ModifiedText(LocalTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond)),
                  midnight ? std::wstring(date) : std::wstring(date) + L' ' + time)
            << local.wYear << '-' << local.wMonth << '-' << local.wDay << ' ' << local.wHour << ':' << local.wMinute;
    }
}

TEST(RowText, FinishLineCountsSecondsAndMarksAnAbort) {
    // The tests run with the default (English) locale, whose decimal separator is '.'.
    EXPECT_EQ(FinishLine(3, 2, 1234, false), L"3 folder(s) searched and 2 file(s) found - 1.234 second(s)");
    EXPECT_EQ(FinishLine(0, 0, 0, true), L"Search aborted - 0 folder(s) searched and 0 file(s) found - 0.000 second(s)");
    // An unsigned tick difference across the counter's wrap is still the short time it really was.
    uint32_t start = 0xFFFFFF00u, end = 0x00000010u;
    EXPECT_EQ(FinishLine(1, 0, end - start, false), L"1 folder(s) searched and 0 file(s) found - 0.272 second(s)");
    EXPECT_EQ(FinishLine(4, 1, 125, true, 3),
              L"Search aborted - 4 folder(s) searched and 1 file(s) found - 0.125 second(s), 3 folder(s) could not be opened");
}
