#include "base/MemoryStream.h"
#include "skin/data/QuickIni.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TQuickIni IniOf(const std::string& text) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}

TEST(QuickIni, KeepsTrimmedContentLinesAndIndexesTheSections) {
    // Every kind of line break, comments, blank lines, tabs and control characters around the text.
    TQuickIni ini = IniOf("top=1\r\n; comment\n[One]\r\r\n\t a = 1 \x01\n\r[Two]\rb=2\n\n  ;x=y\r\n[Three]");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"top=1", "[One]", "a = 1", "[Two]", "b=2", "[Three]"}));
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(ini.Sections()[1], (std::pair<std::string, size_t>{"[Two]", 3}));
    EXPECT_EQ(ini.ReadString("One", "a", "-"), "1");
    EXPECT_EQ(ini.ReadString("", "top", "-"), "-") << "lines before the first section are unreachable";
}

TEST(QuickIni, AZeroByteEndsTheText) {
    TQuickIni ini = IniOf(std::string("[A]\r\nk=v\0\r\nk2=v2\r\n", 18));
    EXPECT_EQ(ini.Lines().size(), 2u);
    EXPECT_EQ(ini.ReadString("A", "k2", "none"), "none");
}

TEST(QuickIni, LoadsFromTheStreamPositionToItsEnd) {
    const std::string text = "junk[A]\r\nk=v\r\n";
    TMemoryStream stream(std::vector<unsigned char>(text.begin(), text.end()));
    stream.SetPosition(4);
    TQuickIni ini;
    ini.LoadFromStream(&stream);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v") << "no stream changes nothing";
    ini.LoadFromText("[B]");
    EXPECT_EQ(ini.ReadString("A", "k", "gone"), "gone") << "loading again starts afresh";
}

TEST(QuickIni, SectionNamesIgnoreCaseButNotInnerSpaces) {
    TQuickIni ini = IniOf("[Personality]\r\nTopHeight=1\r\n[ Spaced ]\r\nx=2\r\n[personality]\r\nTopHeight=3\r\n");
    EXPECT_EQ(ini.ReadInteger("PERSONALITY", "TopHeight", 0), 1) << "the first of two equal sections";
    EXPECT_EQ(ini.ReadInteger("Spaced", "x", -1), -1);
    EXPECT_EQ(ini.ReadInteger(" Spaced ", "x", -1), 2);
    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Personality", "Spaced", "personality"}));
}

TEST(QuickIni, KeysIgnoreCaseAndSpacesAndTheFirstOneDecides) {
    TQuickIni ini = IniOf("[Buttons]\r\nTopHeight=9\r\n[Lower]\r\n  topheight  =  9  \r\n"
                          "[Twice]\r\nk=first\r\nk=second\r\n[EmptyFirst]\r\nk=\r\nk=later\r\n"
                          "[Odd]\r\n;k=comment\r\nno equals sign\r\nv=a=b\r\nEmpty=\r\n[Next]\r\nnext=1\r\n");
    EXPECT_EQ(ini.ReadInteger("Buttons", "TopHeight", 0), 9);
    EXPECT_EQ(ini.ReadInteger("Lower", "TopHeight", 0), 9);
    EXPECT_EQ(ini.ReadString("Twice", "K", ""), "first");
    EXPECT_EQ(ini.ReadString("EmptyFirst", "k", "default"), "default");
    EXPECT_EQ(ini.ReadString("Odd", ";k", "default"), "default") << "a comment is never a key";
    EXPECT_EQ(ini.ReadString("Odd", "v", ""), "a=b") << "the value is all after the first equals sign";
    EXPECT_EQ(ini.ReadString("Odd", "", "default"), "default") << "an empty key never matches";
    EXPECT_EQ(ini.ReadString("Odd", "empty", "default"), "default");
    EXPECT_EQ(ini.ReadString("Odd", "next", "default"), "default") << "lookups stop at the next section";
    EXPECT_EQ(ini.ReadString("Missing", "k", "default"), "default");
    EXPECT_EQ(IniOf("").ReadString("A", "k", "default"), "default");
}

TEST(QuickIni, ReadsIntegersInDecimalAndHexadecimal) {
    struct Case { const char* Value; int32_t Expected; };
    const Case cases[] = {
        {"9", 9},           {"-12", -12},       {"+7", 7},          {"0x1F", 31},
        {"0X1f", 31},       {"$1F", 31},        {"  42  ", 42},     {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},             {"$FFFFFFFF", -1},  {"0x80000000", INT32_MIN},
        {"0x", -99},        {"$", -99},         {"-", -99},         {"59 97 131", -99},
        {"12abc", -99},     {"abc", -99},       {"2147483648", -99}, {"-2147483649", -99},
        {"$100000000", -99}, {"0x-1", -99},     {"1.5", -99},       {"0xG", -99},
    };
    for (const auto& c : cases) {
        TQuickIni ini = IniOf(std::string("[S]\r\nk=") + c.Value + "\r\n");
        EXPECT_EQ(ini.ReadInteger("S", "k", -99), c.Expected) << '"' << c.Value << '"';
    }
    EXPECT_EQ(IniOf("[S]\r\nk=\r\n").ReadInteger("S", "k", 5), 5);
}

}  // namespace
