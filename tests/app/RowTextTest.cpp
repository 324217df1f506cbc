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

TEST(RowText, ModifiedLeavesTheTimeOutAtMidnightOnly) {
    auto packed = [](int y, int mo, int d, int h, int mi, int s) {
        return static_cast<uint32_t>(((y - 1980) << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | (s / 2));
    };
    std::wstring midnight = ModifiedText(packed(2024, 3, 9, 0, 0, 0));
    std::wstring evening = ModifiedText(packed(2024, 3, 9, 21, 15, 42));
    ASSERT_FALSE(midnight.empty());
    EXPECT_EQ(midnight.find(L' '), std::wstring::npos) << "only the date at midnight";
    EXPECT_EQ(evening.substr(0, midnight.size() + 1), midnight + L' ') << "same date, then the time";
    EXPECT_NE(evening.find(L"15:42"), std::wstring::npos) << evening;
    EXPECT_TRUE(ModifiedText(packed(2024, 13, 40, 0, 0, 0)).empty()) << "no valid date";
}

TEST(RowText, FinishLineCountsSecondsAndMarksAnAbort) {
    // The tests run with the default (English) locale, whose decimal separator is '.'.
    EXPECT_EQ(FinishLine(3, 2, 1234, false), L"3 folder(s) searched and 2 file(s) found - 1.234 second(s)");
    EXPECT_EQ(FinishLine(0, 0, 0, true), L"Search aborted - 0 folder(s) searched and 0 file(s) found - 0.000 second(s)");
    // An unsigned tick difference across the counter's wrap is still the short time it really was.
    uint32_t start = 0xFFFFFF00u, end = 0x00000010u;
    EXPECT_EQ(FinishLine(1, 0, end - start, false), L"1 folder(s) searched and 0 file(s) found - 0.272 second(s)");
}
