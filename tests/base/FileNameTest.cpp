#include "base/FileName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

TEST(FileName, NamesCompareAsTheFileSystemComparesThem) {
    struct Case {
        const wchar_t *A, *B;
        bool Same;
    } cases[] = {
        {L"Readme.TXT", L"README.txt", true},
        {L"", L"", true},
        {L"abc", L"abd", false},
        {L"abc", L"abcd", false},
        {L"ПРИВЕТ.txt", L"привет.TXT", true},
        {L"Ёлка", L"ёЛКА", true},
        {L"ΑΛΦΑ", L"αλφα", true},
        {L"straße", L"STRASSE", false},   // no expansion
        {L"ß", L"ẞ", false},              // ß has no upper-case letter of its own
        {L"\u0130", L"i", false},         // İ lower-cases to i, but names are upper-cased: i is I
        {L"\u212A", L"k", false},         // the Kelvin sign, likewise
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameFileName(c.A, c.B), c.Same) << c.A << L" / " << c.B;
        EXPECT_EQ(SameFileName(c.B, c.A), c.Same) << c.B << L" / " << c.A;
        // Mask matching goes character by character: it must agree with the whole comparison.
        const std::wstring_view a = c.A, b = c.B;
        if (a.size() == b.size()) {
            EXPECT_EQ(std::equal(a.begin(), a.end(), b.begin(), SameFileNameChar), c.Same) << c.A << L" / " << c.B;
        }
    }
}
