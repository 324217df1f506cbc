#include "skin/data/LZH.h"
#include "skin/data/LZHModel.h"
#include "tools/lzhpack/LZHPacker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes RandomBytes(size_t count, unsigned seed, unsigned alphabet = 256) {
    std::mt19937 rng(seed);
    Bytes out(count);
    for (auto& b : out) b = static_cast<unsigned char>(rng() % alphabet);
    return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Text, runs and noise in turns: the kind of data a skin archive holds.
Bytes MixedBytes(size_t count) {
    Bytes out;
    std::mt19937 rng(7);
    const std::string words = "[Buttons]\r\nLeftWidth=4\r\nImage=buttons.bmp\r\nNormalColour2=59 97 131\r\n";
    while (out.size() < count) {
        switch (rng() % 3) {
            case 0: out.insert(out.end(), words.begin(), words.end()); break;
            case 1: out.insert(out.end(), 50 + rng() % 400, static_cast<unsigned char>(rng())); break;
            default:
                for (unsigned k = 0; k < 200; ++k) out.push_back(static_cast<unsigned char>(rng()));
        }
    }
    out.resize(count);
    return out;
}

// Decodes count bytes of a bare coded stream (no size field) through TLZH, counting the callback calls.
struct TDecodeRun {
    Bytes Output;
    int Reads = 0, ReadsAfterEnd = 0, Writes = 0;
};

TDecodeRun DecodeBare(const Bytes& coded, int32_t count, size_t readLimit = TLZH::BlockSize) {
    TDecodeRun run;
    size_t pos = 0;
    bool ended = false;
    TLZH().Decode(
        count,
        [&](unsigned char* buffer, size_t wanted) {
            ++run.Reads;
            if (ended) ++run.ReadsAfterEnd;
            size_t n = std::min({wanted, readLimit, coded.size() - pos});
            if (n > 0) std::memcpy(buffer, coded.data() + pos, n);
            pos += n;
            ended = n == 0;
            return n;
        },
        [&](const unsigned char* buffer, size_t n) {
            ++run.Writes;
            run.Output.insert(run.Output.end(), buffer, buffer + n);
            return n;
        });
    return run;
}

Bytes CodedPart(const Bytes& packed) { return Bytes(packed.begin() + 4, packed.end()); }

// The decoding steps exactly as the format describes them, one byte in and one byte out at a time,
// with 16-bit tables: an independent oracle for the fast decoder and the shared model.
class TReferenceDecoder {
public:
    explicit TReferenceDecoder(const Bytes& coded) : FIn(coded) {}

    Bytes Decode(int32_t count) {
        StartHuff();
        for (int i = 0; i < 4036; ++i) Ring[i] = 0x20;
        Bytes out;
        int r = 4036;
        int32_t produced = 0;
        while (produced < count) {
            int c = DecodeChar();
            if (c < 256) {
                out.push_back(static_cast<unsigned char>(c));
                Ring[r] = static_cast<unsigned char>(c);
                r = (r + 1) & 0xFFF;
                ++produced;
            } else {
                int p = (r - DecodePosition() - 1) & 0xFFF;
                for (int k = 0; k < c - 253; ++k) {
                    unsigned char b = Ring[(p + k) & 0xFFF];
                    out.push_back(b);
                    Ring[r] = b;
                    r = (r + 1) & 0xFFF;
                    ++produced;
                }
            }
        }
        return out;
    }

private:
    static constexpr int T = 627, NChar = 314, R = 626;

    void Refill() {
        while (BitCount < 9) {
            unsigned byte = Pos < FIn.size() ? FIn[Pos++] : 0;
            BitBuf = static_cast<uint16_t>(BitBuf | byte << (8 - BitCount));
            BitCount = static_cast<uint8_t>(BitCount + 8);
        }
    }
    int GetBit() {
        Refill();
        int bit = BitBuf >> 15;
        BitBuf = static_cast<uint16_t>(BitBuf << 1);
        --BitCount;
        return bit;
    }
    int GetByte() {
        Refill();
        int byte = BitBuf >> 8;
        BitBuf = static_cast<uint16_t>(BitBuf << 8);
        BitCount = static_cast<uint8_t>(BitCount - 8);
        return byte;
    }

    void StartHuff() {
        for (int i = 0; i < NChar; ++i) {
            Freq[i] = 1;
            Child[i] = static_cast<int16_t>(i + T);
            Parent[i + T] = static_cast<int16_t>(i);
        }
        for (int i = 0, j = NChar; j <= R; i += 2, ++j) {
            Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            Child[j] = static_cast<int16_t>(i);
            Parent[i] = Parent[i + 1] = static_cast<int16_t>(j);
        }
        Freq[T] = 0xFFFF;
        Parent[R] = 0;
    }

    void Reconst() {
        int j = 0;
        for (int i = 0; i < T; ++i)
            if (Child[i] >= T) {
                Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
                Child[j] = Child[i];
                ++j;
            }
        for (int i = 0, n = NChar; n < T; i += 2, ++n) {
            uint16_t f = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
            int k = n - 1;
            while (f < Freq[k]) --k;
            ++k;
            for (int m = n; m > k; --m) {
                Freq[m] = Freq[m - 1];
                Child[m] = Child[m - 1];
            }
            Freq[k] = f;
            Child[k] = static_cast<int16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            int k = Child[i];
            Parent[k] = static_cast<int16_t>(i);
            if (k < T) Parent[k + 1] = static_cast<int16_t>(i);
        }
    }

    void UpdateModel(int c) {
        if (Freq[R] == 0x8000) Reconst();
        int n = Parent[c + T];
        do {
            uint16_t k = ++Freq[n];
            if (k > Freq[n + 1]) {
                int l = n + 1;
                while (k > Freq[l + 1]) ++l;
                Freq[n] = Freq[l];
                Freq[l] = k;
                int i = Child[n];
                Parent[i] = static_cast<int16_t>(l);
                if (i < T) Parent[i + 1] = static_cast<int16_t>(l);
                int j = Child[l];
                Child[l] = static_cast<int16_t>(i);
                Parent[j] = static_cast<int16_t>(n);
                if (j < T) Parent[j + 1] = static_cast<int16_t>(n);
                Child[n] = static_cast<int16_t>(j);
                n = l;
            }
            n = Parent[n];
        } while (n != 0);
    }

    int DecodeChar() {
        int n = Child[R];
        while (n < T) n = Child[n + GetBit()];
        n -= T;
        UpdateModel(n);
        return n;
    }

    int DecodePosition() {
        int i = GetByte();
        int upper, further;
        if (i < 0x20) upper = 0, further = 1;
        else if (i < 0x50) upper = 1 + (i - 0x20) / 16, further = 2;
        else if (i < 0x90) upper = 4 + (i - 0x50) / 8, further = 3;
        else if (i < 0xC0) upper = 12 + (i - 0x90) / 4, further = 4;
        else if (i < 0xF0) upper = 24 + (i - 0xC0) / 2, further = 5;
        else upper = 48 + (i - 0xF0), further = 6;
        while (further-- > 0) i = i * 2 + GetBit();
        return upper * 64 + (i & 63);
    }

    const Bytes& FIn;
    size_t Pos = 0;
    uint16_t BitBuf = 0;
    uint8_t BitCount = 0;
    unsigned char Ring[4096] = {};
    uint16_t Freq[628] = {};
    int16_t Parent[941] = {};
    int16_t Child[627] = {};
};

// What the format gives for count bytes; a match running past count is cut there.
Bytes Reference(const Bytes& coded, int32_t count) {
    Bytes out = TReferenceDecoder(coded).Decode(count);
    out.resize(static_cast<size_t>(count));
    return out;
}

struct TRoundTripCase {
    const char* Name;
    Bytes Data;
};

void PrintTo(const TRoundTripCase& c, std::ostream* os) { *os << c.Name << ", " << c.Data.size() << " bytes"; }

class LZHRoundTrip : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(LZHRoundTrip, PackerOutputDecodesToTheInputExactly) {
    const Bytes& data = GetParam().Data;
    Bytes packed = TLZHPacker::Pack(data);
    ASSERT_GE(packed.size(), 4u);
    uint32_t size = packed[0] | uint32_t{packed[1]} << 8 | uint32_t{packed[2]} << 16 | uint32_t{packed[3]} << 24;
    EXPECT_EQ(size, data.size()) << "the size field states the unpacked size";
    TDecodeRun run = DecodeBare(CodedPart(packed), static_cast<int32_t>(data.size()));
    EXPECT_TRUE(run.Output == data);
    EXPECT_TRUE(Reference(CodedPart(packed), static_cast<int32_t>(data.size())) == data)
        << "the stream follows the format, not just this decoder";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LZHRoundTrip,
    testing::Values(TRoundTripCase{"Empty", {}}, TRoundTripCase{"OneByte", {0x41}},
                    TRoundTripCase{"Text", Text("[Personality]\r\nTopTopHeight=40\r\nTopBotHeight=110\r\n"
                                                "Top=top.bmp\r\n[Buttons]\r\nTopHeight=9\r\nTop=top.bmp\r\n")},
                    TRoundTripCase{"Random", RandomBytes(20000, 1)},
                    TRoundTripCase{"LongRuns", Bytes(300000, 0)},
                    TRoundTripCase{"ShortPeriod", [] {
                                       Bytes b;
                                       for (int i = 0; i < 50000; ++i) b.push_back(i % 2 ? 'b' : 'a');
                                       return b;
                                   }()},
                    // Well over 0x8000 symbols, so both sides rebuild the tree several times.
                    TRoundTripCase{"PastTreeRebuild", RandomBytes(120000, 2, 16)},
                    TRoundTripCase{"Mixed", MixedBytes(200000)}),
    [](const testing::TestParamInfo<TRoundTripCase>& c) { return std::string(c.param.Name); });

TEST(LZH, LeadingSpacesAreOneMatchIntoTheSpaceFilledRing) {
    Bytes spaces(60, ' ');
    Bytes packed = TLZHPacker::Pack(spaces);
    EXPECT_LE(packed.size(), 4u + 3u) << "one match symbol and one distance, not 60 literals";
    EXPECT_TRUE(TLZHPacker::Unpack(packed) == spaces);
}

TEST(LZH, ZeroOrNegativeCountReadsAndWritesNothing) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        TDecodeRun run = DecodeBare(Text("anything"), count);
        EXPECT_EQ(run.Reads, 0) << count;
        EXPECT_EQ(run.Writes, 0) << count;
    }
}

TEST(LZH, InputThatEndsEarlyStillGivesExactlyCountBytes) {
    Bytes data = MixedBytes(30000);
    Bytes coded = CodedPart(TLZHPacker::Pack(data));
    Bytes half(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(coded.size() / 2));
    TDecodeRun run = DecodeBare(half, 30000);
    ASSERT_EQ(run.Output.size(), 30000u);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, run.Output.begin()))
        << "what was there decodes as before";
    EXPECT_TRUE(run.Output == Reference(half, 30000)) << "the rest comes from zero bits";
    EXPECT_EQ(run.ReadsAfterEnd, 0) << "a source that said it is empty is not asked again";

    TDecodeRun nothing = DecodeBare({}, 5000);
    EXPECT_EQ(nothing.Output.size(), 5000u);
    EXPECT_EQ(nothing.Reads, 1);
}

TEST(LZH, CorruptStreamsDecodeAsTheFormatSaysAndStopAtCount) {
    // Random bits are a valid (if meaningless) stream; its matches may end past the requested count,
    // where the output is cut: the caller gets exactly what it asked for.
    for (unsigned seed = 10; seed < 40; ++seed) {
        Bytes coded = RandomBytes(3000, seed);
        int32_t count = static_cast<int32_t>(1000 + seed * 997);
        Bytes expected = Reference(coded, count);
        // Small reads: blocks split anywhere must not change the bit stream.
        TDecodeRun run = DecodeBare(coded, count, seed % 7 + 1);
        EXPECT_TRUE(run.Output == expected) << "seed " << seed;
    }
}

TEST(LZH, OutputIsWrittenInBlocksAndAShortWriteIsAnError) {
    Bytes data = MixedBytes(100000);
    Bytes coded = CodedPart(TLZHPacker::Pack(data));
    TDecodeRun run = DecodeBare(coded, 100000);
    EXPECT_LE(run.Writes, 100000 / 4096 + 2) << "no per-byte calls";

    size_t pos = 0;
    auto read = [&](unsigned char* buffer, size_t wanted) {
        size_t n = std::min(wanted, coded.size() - pos);
        std::memcpy(buffer, coded.data() + pos, n);
        pos += n;
        return n;
    };
    EXPECT_THROW(TLZH().Decode(100000, read, [](const unsigned char*, size_t n) { return n - 1; }), EWriteError);
}

TEST(LZH, CallbackExceptionsPassThrough) {
    struct TStop {};
    EXPECT_THROW(TLZH().Decode(10, [](unsigned char*, size_t) -> size_t { throw TStop{}; },
                               [](const unsigned char*, size_t n) { return n; }),
                 TStop);
}

// The tree after any sequence of updates: links agree both ways, an inner node counts the sum of
// its children, and counts never decrease from one node to the next.
void ExpectConsistent(const TLZHModel& m) {
    using namespace lzh;
    for (unsigned node = 0; node < TreeSize; ++node) {
        unsigned child = m.Child[node];
        ASSERT_EQ(m.Parent[child], node);
        if (child < TreeSize) {
            ASSERT_EQ(child % 2, 0u) << "first children sit at even nodes";
            ASSERT_EQ(m.Parent[child + 1], node);
            ASSERT_EQ(m.Freq[node], m.Freq[child] + m.Freq[child + 1]);
        }
        if (node + 1 < TreeSize) {
            ASSERT_LE(m.Freq[node], m.Freq[node + 1]);
        }
    }
}

TEST(LZHModel, RebuildsWithHalvedCountsWhenTheRootReachesTheLimit) {
    TLZHModel model;
    ExpectConsistent(model);
    EXPECT_EQ(model.Freq[lzh::Root], lzh::Symbols);
    std::mt19937 rng(3);
    while (model.Freq[lzh::Root] < lzh::MaxFreq)
        model.UpdateModel(static_cast<unsigned>(rng() % 20 == 0 ? rng() % lzh::Symbols : rng() % 8));
    ExpectConsistent(model);
    model.UpdateModel(5);
    ExpectConsistent(model);
    EXPECT_GT(model.Freq[lzh::Root], lzh::MaxFreq / 2);
    EXPECT_LT(model.Freq[lzh::Root], lzh::MaxFreq / 2 + lzh::Symbols + 1) << "counts were halved, rounding up";
}

}  // namespace
