// Colour texts of the skin description.
#include "skin/data/SkinColour.h"

#include <gtest/gtest.h>

namespace {

int32_t RGBOf(int r, int g, int b) { return r | g << 8 | b << 16; }

struct TColourCase {
    const char* Text;
    int32_t Expected;
};

TEST(ParseColour, ReadsUpToThreeNumbersWithAnySeparator) {
    const TColourCase cases[] = {
        {"59 97 131", RGBOf(59, 97, 131)},
        {"  59,97,131  ", RGBOf(59, 97, 131)},
        {"59-97-131", RGBOf(59, 97, 131)},  // a minus sign only separates
        {"1 2", RGBOf(1, 0, 0)},            // the open second number is dropped
        {"5", 0},                           // an open number counts only as the third
        {"1 2 3 ", RGBOf(1, 2, 3)},         // trailing blanks are trimmed first
        {"1,,2,3", RGBOf(1, 2, 3)},         // empty fields are not numbers
        {"256 257 300", RGBOf(0, 1, 44)},   // each component modulo 256
        {"99999999999999999999 0 1", RGBOf(255, 0, 1)},  // 10^20 - 1, kept modulo 256 while read
        {"1 2 3 4x", RGBOf(1, 2, 3)},       // a fourth number is ignored
        {"r10 g20 b30", RGBOf(10, 20, 30)},
        {"", 0},
        {"abc", 0},
    };
    for (const TColourCase& c : cases) EXPECT_EQ(ParseColour(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(ReadColour, EmptyTextGivesTheDefault) {
    EXPECT_EQ(ReadColour("", 0x12345678), 0x12345678);
    EXPECT_EQ(ReadColour("10 20 30", 0x12345678), RGBOf(10, 20, 30));
    EXPECT_EQ(ReadColour("x", 7), 0);
}

}  // namespace
