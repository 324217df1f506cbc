#include "base/MemoryStream.h"
#include "skin/data/SkinReader.h"
#include "tools/lzhpack/LZHPacker.h"
#include "tools/skininfo/SkinChecker.h"
#include "tools/skinpack/SkinPacker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

const fs::path TestSkin = CLARIVO_TESTSKIN_DIR;

Bytes FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A scratch folder for skins that are meant to be wrong.
class ScratchSkin : public testing::Test {
protected:
    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("clarivo-skintools-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }

    void Write(const std::string& name, const std::string& content) {
        std::ofstream(Folder / name, std::ios::binary) << content;
    }

    fs::path Folder;
};

TEST(SkinPack, CollectsTheIniAndEveryBitmapItNames) {
    auto members = TSkinPacker::CollectMembers(TestSkin / "Skin.ini");
    std::vector<std::string> names;
    for (const auto& m : members) names.push_back(m.Name);
    // The path in front of "buttons.bmp" is ignored, ".tga" is no bitmap, file names match in any case.
    EXPECT_EQ(names, (std::vector<std::string>{"skin.ini", "buttons.bmp", "top.bmp"}));
    EXPECT_TRUE(members[0].Bytes == FileBytes(TestSkin / "Skin.ini"));
    EXPECT_TRUE(members[1].Bytes == FileBytes(TestSkin / "Buttons.bmp"));
}

TEST(SkinPack, PacksDeterministicallyIntoASkinTheReaderLoads) {
    Bytes packed = TSkinPacker::PackSkin(TestSkin / "Skin.ini");
    EXPECT_TRUE(packed == TSkinPacker::PackSkin(TestSkin / "Skin.ini")) << "same input, same bytes";

    TSkinReader reader;
    TMemoryStream stream(packed);
    ASSERT_TRUE(reader.LoadArchive(stream));
    TMemoryStream member;
    std::string found;
    ASSERT_TRUE(reader.FindMember(".ini", member, found));
    EXPECT_TRUE(member.Bytes() == FileBytes(TestSkin / "Skin.ini"));
    ASSERT_TRUE(reader.ExtractMember("Top.bmp", member));
    EXPECT_TRUE(member.Bytes() == FileBytes(TestSkin / "top.bmp"));
}

TEST_F(ScratchSkin, RefusesMissingAndNonBitmapFilesNamingEachOne) {
    Write("s.ini", "[A]\r\nImage=missing.bmp\r\nOther=fake.bmp\r\nFine=good.bmp\r\n");
    Write("fake.bmp", "not a bitmap");
    Write("good.bmp", "BM and the rest");
    try {
        TSkinPacker::CollectMembers(Folder / "s.ini");
        FAIL() << "packed a skin with a missing bitmap";
    } catch (const std::runtime_error& e) {
        std::string message = e.what();
        EXPECT_NE(message.find("missing.bmp"), std::string::npos) << message;
        EXPECT_NE(message.find("fake.bmp"), std::string::npos) << message;
        EXPECT_EQ(message.find("good.bmp"), std::string::npos) << message;
    }
    Write("description.txt", "[A]\r\n");
    EXPECT_THROW(TSkinPacker::CollectMembers(Folder / "description.txt"), std::runtime_error)
        << "the program finds its description by \".ini\" in the name";
}

TEST(SkinInfo, PassesAGoodSkin) {
    TMemoryStream packed(TSkinPacker::PackSkin(TestSkin / "Skin.ini"));
    TSkinChecker checker;
    checker.Check(packed);
    EXPECT_TRUE(checker.Problems.empty()) << checker.Problems.front();
    ASSERT_EQ(checker.Listing.size(), 3u);
    EXPECT_NE(checker.Listing[0].find("skin.ini"), std::string::npos);
}

TEST(SkinInfo, NamesWhatMakesASkinBad) {
    const Bytes bmp = Text("BM" + std::string(40, '\0'));
    struct Case {
        const char* Name;
        Bytes Packed;
        const char* Problem;  // part of the one problem reported
    };
    auto pack = [](const std::vector<TSkinMember>& members) {
        return TLZHPacker::Pack(TSkinPacker::BuildArchive(members));
    };
    const Case cases[] = {
        {"NoDescription", pack({{"a.bmp", bmp}}), "no member whose name contains \".ini\""},
        {"NamedBitmapMissing", pack({{"s.ini", Text("[A]\r\nImage=gone.bmp\r\n")}}), "\"gone.bmp\""},
        {"NotABitmap", pack({{"s.ini", Text("[A]\r\nImage=a.bmp\r\n")}, {"a.bmp", Text("GIF89a")}}), "not a BMP"},
        {"EmptyMember", pack({{"s.ini", Text("[A]\r\nImage=a.bmp\r\n")}, {"a.bmp", {}}}), "empty"},
        {"StoredTwice", pack({{"s.ini", Text("[A]\r\nImage=a.bmp\r\n")}, {"a.bmp", bmp}, {"a.bmp", bmp}}), "twice"},
        {"Corrupt", Text("\x10\0\0\0garbage"), "Invalid skin archive"},
    };
    for (const auto& c : cases) {
        TMemoryStream packed(c.Packed);
        TSkinChecker checker;
        checker.Check(packed);
        ASSERT_EQ(checker.Problems.size(), 1u) << c.Name;
        EXPECT_NE(checker.Problems[0].find(c.Problem), std::string::npos) << c.Name << ": " << checker.Problems[0];
    }
}

}  // namespace
