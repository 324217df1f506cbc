#include "skin/data/LZH.h"
#include "skin/data/SkinMessage.h"
#include "skin/data/SkinReader.h"
#include "tools/lzhpack/LZHPacker.h"
#include "tools/skinpack/SkinPacker.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void AppendInt32(Bytes& out, int32_t value) {
    for (unsigned k = 0; k < 4; ++k) out.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * k)));
}

// An archive put together field by field, so that any field can be wrong.
Bytes RawArchive(int32_t version, const std::string& names, const std::vector<int32_t>& sizes, const Bytes& data,
                 int32_t namesLength = -2) {
    Bytes out;
    AppendInt32(out, version);
    AppendInt32(out, namesLength == -2 ? static_cast<int32_t>(names.size()) : namesLength);
    AppendInt32(out, 0x12345678);  // the two uninterpreted words
    AppendInt32(out, -1);
    out.insert(out.end(), names.begin(), names.end());
    for (int32_t size : sizes) AppendInt32(out, size);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Packed(const Bytes& archive) { return TLZHPacker::Pack(archive); }

std::string AsText(const TMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

// Captures the old-version message instead of showing it.
class SkinReaderTest : public testing::Test {
protected:
    void SetUp() override {
        Messages().clear();
        FSaved = SkinShowMessage;
        SkinShowMessage = [](const std::string& text) { Messages().push_back(text); };
    }
    void TearDown() override { SkinShowMessage = FSaved; }

    static std::vector<std::string>& Messages() {
        static std::vector<std::string> messages;
        return messages;
    }

    bool Load(const Bytes& archive) {
        TMemoryStream packed(TLZHPacker::Pack(archive));
        return Reader.LoadArchive(packed);
    }

    TSkinReader Reader;

private:
    TSkinMessageProc FSaved = nullptr;
};

TEST_F(SkinReaderTest, IndexesMembersAndHandsOutCopies) {
    ASSERT_TRUE(Load(TSkinPacker::BuildArchive({{"Skin.INI", Text("[Buttons]\r\n")},
                                                {"Status.bmp", Text("BMstatus")},
                                                {"empty.bmp", {}},
                                                {"arrows.bmp", Text("BMarrows")}})));
    EXPECT_EQ(Reader.ArchiveVersion(), 20000);
    EXPECT_EQ(Reader.MemberCount(), 4);
    EXPECT_EQ(Reader.Names(), (std::vector<std::string>{"skin.ini", "status.bmp", "empty.bmp", "arrows.bmp"}));
    EXPECT_EQ(Reader.Data().Bytes().size(), 11u + 8 + 0 + 8) << "only the data area is kept";

    TMemoryStream out;
    EXPECT_TRUE(Reader.ExtractMember("Status.bmp", out)) << "any case finds the lower-case name";
    EXPECT_EQ(AsText(out), "BMstatus");
    EXPECT_EQ(out.Position(), 0);
    EXPECT_TRUE(Reader.ExtractMember("ARROWS.BMP", out));
    EXPECT_EQ(AsText(out), "BMarrows");

    EXPECT_TRUE(Reader.ExtractMember("empty.bmp", out)) << "a member of size 0 is found";
    EXPECT_EQ(out.Size(), 0);
    EXPECT_FALSE(Reader.ExtractMember("missing.bmp", out));
    EXPECT_EQ(out.Size(), 0) << "a missing member leaves the stream empty, even if it held data";

    std::string found = "unchanged";
    EXPECT_TRUE(Reader.FindMember(".ini", out, found));
    EXPECT_EQ(found, "skin.ini");
    EXPECT_EQ(AsText(out), "[Buttons]\r\n");
    found = "unchanged";
    EXPECT_FALSE(Reader.FindMember(".INI", out, found)) << "the part is compared as given";
    EXPECT_EQ(found, "unchanged");
    EXPECT_EQ(out.Size(), 0);
    EXPECT_TRUE(Reader.FindMember("row", out, found));
    EXPECT_EQ(found, "arrows.bmp");
}

TEST_F(SkinReaderTest, TheFirstOfTwoEqualNamesWins) {
    ASSERT_TRUE(Load(RawArchive(20000, "a.bmp\r\nA.BMP\r\n", {2, 3}, Text("12abc"))));
    TMemoryStream out;
    Reader.ExtractMember("a.bmp", out);
    EXPECT_EQ(AsText(out), "12");
}

struct TNameListCase {
    const char* Text;
    size_t Length;  // of Text, which may hold a zero byte
    std::vector<std::string> Names;
};

TEST_F(SkinReaderTest, SplitsTheNameListAtAnyLineBreak) {
    const TNameListCase cases[] = {
        {"a\r\nb\r\n", 6, {"a", "b"}},          // a final break adds no empty name
        {"a\r\nb", 4, {"a", "b"}},
        {"a\nb\n", 4, {"a", "b"}},
        {"a\rb\r", 4, {"a", "b"}},
        {"a\r\n\r\nb\r\n", 8, {"a", "", "b"}},  // an empty line is an empty name with its own size
        {"a\n\rb", 4, {"a", "", "b"}},          // LF then CR is two breaks
        {"Mixed.BMP\r\n", 11, {"mixed.bmp"}},
        {"a\r\nb\0c\r\n", 8, {"a", "b"}},       // a zero byte ends the list
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        std::string names(c.Text, c.Length);
        std::vector<int32_t> sizes(c.Names.size(), 1);
        Bytes data(c.Names.size(), 'x');
        ASSERT_TRUE(Load(RawArchive(20000, names, sizes, data))) << c.Text;
        EXPECT_EQ(Reader.Names(), c.Names) << c.Text;
        EXPECT_EQ(Reader.MemberCount(), static_cast<int32_t>(c.Names.size()));
        EXPECT_EQ(Reader.NamesLength(), static_cast<int32_t>(c.Length));
    }
}

TEST_F(SkinReaderTest, AnOlderVersionShowsTheMessageAndLoadsNothing) {
    ASSERT_TRUE(Load(TSkinPacker::BuildArchive({{"a.ini", Text("x")}})));
    EXPECT_FALSE(Load(RawArchive(10000, "a.ini\r\n", {1}, Text("x"))));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(Reader.MemberCount(), 0);
    EXPECT_EQ(Reader.Data().Bytes().size(), 0u);
    EXPECT_EQ(Reader.ArchiveVersion(), 10000);
}

TEST_F(SkinReaderTest, TakesExactlyTheMostMembersAndDataBeyondTheLastMember) {
    std::string names;
    for (int i = 0; i < TSkinReader::MaxMembers; ++i) names.append("m").append(std::to_string(i)).append("\r\n");
    ASSERT_TRUE(Load(RawArchive(20000, names, std::vector<int32_t>(TSkinReader::MaxMembers, 1),
                                Bytes(TSkinReader::MaxMembers + 10, 'x'))));
    EXPECT_EQ(Reader.MemberCount(), TSkinReader::MaxMembers);
    TMemoryStream out;
    EXPECT_TRUE(Reader.ExtractMember("m1000", out));
    EXPECT_EQ(out.Size(), 1);
}

TEST_F(SkinReaderTest, TheSizeBoundLeavesRoomForTheBestPossibleCompression) {
    // A megabyte of zeros packs close to the format's limit of 6 output bytes per coded bit.
    Bytes archive = TSkinPacker::BuildArchive({{"flat.bmp", Bytes(1 << 20, 0)}});
    Bytes packed = Packed(archive);
    EXPECT_GT(archive.size(), (packed.size() - 4) * 47);
    TMemoryStream stream(packed);
    ASSERT_TRUE(Reader.LoadArchive(stream));
    EXPECT_EQ(Reader.Sizes()[0], 1 << 20);
}

struct TFaultCase {
    const char* Name;
    Bytes Packed;  // the packed skin as handed to the reader
    TSkinArchiveFault Fault;
};

Bytes WithSizeField(Bytes packed, int32_t size) {
    for (unsigned k = 0; k < 4; ++k) packed[k] = static_cast<unsigned char>(static_cast<uint32_t>(size) >> (8 * k));
    return packed;
}

std::vector<TFaultCase> FaultCases() {
    const Bytes good = Packed(RawArchive(20000, "a.ini\r\n", {1}, Text("x")));
    std::string tooMany;
    for (int i = 0; i <= TSkinReader::MaxMembers; ++i) tooMany += "m\r\n";
    return {
        {"NoSizeField", {1, 2, 3}, TSkinArchiveFault::PackedTooShort},
        {"NegativeUnpackedSize", WithSizeField(good, -1), TSkinArchiveFault::NegativeUnpackedSize},
        {"HugeUnpackedSize", WithSizeField(good, INT32_MAX), TSkinArchiveFault::UnpackedSizeTooLarge},
        {"MoreThanTheCodedBytesCanHold",
         WithSizeField(good, static_cast<int32_t>((good.size() - 4) * 48 + 61)),
         TSkinArchiveFault::UnpackedSizeBeyondPacked},
        {"ShortHeader", Packed(Bytes(15, 0)), TSkinArchiveFault::ShortHeader},
        {"NegativeNamesLength", Packed(RawArchive(20000, "", {}, Text("xxxx"), -1)),
         TSkinArchiveFault::NegativeNamesLength},
        {"NameListPastTheEnd", Packed(RawArchive(20000, "a.ini\r\n", {}, {}, 100)), TSkinArchiveFault::ShortNameList},
        {"MoreThanTheMostMembers",
         Packed(RawArchive(20000, tooMany, std::vector<int32_t>(TSkinReader::MaxMembers + 1, 0), {})),
         TSkinArchiveFault::TooManyMembers},
        {"SizeTablePastTheEnd", Packed(RawArchive(20000, "a\r\nb\r\n", {0}, {1, 2, 3})),
         TSkinArchiveFault::ShortSizeTable},
        {"NegativeMemberSize", Packed(RawArchive(20000, "a\r\nb\r\n", {-1, 2}, Text("xx"))),
         TSkinArchiveFault::NegativeMemberSize},
        {"MemberPastTheEnd", Packed(RawArchive(20000, "a\r\nb\r\n", {1, 2}, Text("xx"))),
         TSkinArchiveFault::MemberPastEnd},
        {"SizesThatOverflowWhenAdded", Packed(RawArchive(20000, "a\r\nb\r\n", {INT32_MAX, INT32_MAX}, Text("xx"))),
         TSkinArchiveFault::MemberPastEnd},
    };
}

TEST_F(SkinReaderTest, RejectsEveryMalformedArchiveWithItsOwnFault) {
    for (const auto& c : FaultCases()) {
        ASSERT_TRUE(Load(TSkinPacker::BuildArchive({{"before.ini", Text("x")}}))) << "a skin loaded earlier";
        TMemoryStream packed(c.Packed);
        try {
            Reader.LoadArchive(packed);
            ADD_FAILURE() << c.Name << ": loaded";
        } catch (const ESkinArchive& e) {
            EXPECT_EQ(e.Fault(), c.Fault) << c.Name << ": " << e.what();
        }
        EXPECT_EQ(Reader.MemberCount(), 0) << c.Name << ": nothing of the earlier skin is left";
        TMemoryStream out;
        EXPECT_FALSE(Reader.ExtractMember("before.ini", out)) << c.Name;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SkinReaderTest, UnpackStreamFillsTheGivenStreamFromTheStart) {
    Bytes archive = TSkinPacker::BuildArchive({{"a.ini", Text("[x]")}});
    TMemoryStream packed(Packed(archive));
    packed.Seek(0, TSeekOrigin::soEnd);
    TMemoryStream unpacked;
    TSkinReader::UnpackStream(packed, unpacked);
    EXPECT_TRUE(unpacked.Bytes() == archive);
}

TEST(SkinReader, NamesABitmapMemberOnlyForABmpExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"buttons.bmp", "buttons.bmp"},
        {"C:\\skins\\Top.bmp", "Top.bmp"},
        {"D:top.bmp", "top.bmp"},
        {"top.BMP", ""},  // the extension is compared as written
        {"top.tga", ""},
        {"top", ""},
        {"C:\\skins\\", ""},
        {"", ""},
    };
    for (const auto& [value, member] : cases) EXPECT_EQ(TSkinReader::BitmapMemberName(value), member) << value;
}

}  // namespace
