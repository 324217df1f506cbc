#include "base/StrUtils.h"

#include <gtest/gtest.h>

TEST(StrUtils, Utf8AndUtf16ConvertBothWays) {
    struct Case { std::string utf8; std::wstring wide; };
    const Case cases[] = {
        {"", L""},
        {"plain", L"plain"},
        {"\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0", L"\u043f\u0430\u043f\u043a\u0430"},  // Cyrillic
        {"\xE6\x96\x87\xE4\xBB\xB6", L"\u6587\u4ef6"},                                    // Chinese
        {"\xF0\x9F\x98\x80", std::wstring(L"\U0001F600")},                                // beyond the BMP
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
    }
}

TEST(StrUtils, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide("\xE6\x96"), L"\uFFFD\uFFFD") << "truncated sequence at the end";
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD\uFFFD") << "overlong form";
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD") << "encoded surrogate";
}

TEST(StrUtils, TrimCaseAndFormat) {
    EXPECT_EQ(Trim(std::string_view(" \t a b \r\n")), "a b");
    EXPECT_EQ(Trim(std::wstring_view(L"   ")), L"");
    EXPECT_EQ(LowerCaseAscii(std::string_view("Caption\xC4")), "caption\xC4");
    EXPECT_TRUE(SameTextAscii(std::string_view("FaceColor"), std::string_view("FACECOLOR")));
    EXPECT_FALSE(SameTextAscii(std::string_view("Face"), std::string_view("FaceColor")));
    EXPECT_EQ(Format("%d folder(s) - %.3f", 3, 1.5), "3 folder(s) - 1.500");
    EXPECT_EQ(FormatW(L"%d/%ls", 7, L"x"), L"7/x");
    EXPECT_EQ(Format("%s", std::string(5000, 'q').c_str()).size(), 5000u);
}
