#include "tools/lzhpack/LZHPacker.h"

#include "base/Exception.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHModel.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

using namespace lzh;

namespace {

class TBitWriter {
public:
    explicit TBitWriter(std::vector<unsigned char>& out) : FOut(out) {}

    void Put(unsigned count, unsigned value) {  // the low count bits of value, highest first
        for (unsigned k = count; k-- > 0;) PutBit((value >> k) & 1);
    }
    void PutBit(unsigned bit) {
        FByte = static_cast<unsigned char>((unsigned{FByte} << 1) | bit);
        if (++FCount == 8) {
            FOut.push_back(FByte);
            FCount = 0;
        }
    }
    void Finish() {  // the last byte is padded with zero bits
        if (FCount != 0) FOut.push_back(static_cast<unsigned char>(unsigned{FByte} << (8 - FCount)));
        FCount = 0;
    }

private:
    std::vector<unsigned char>& FOut;
    unsigned char FByte = 0;
    unsigned FCount = 0;
};

// The distance prefix of each upper-6-bit value: the lowest first byte that decodes to it.
constexpr std::array<unsigned char, 64> MakePrefixBytes() {
    std::array<unsigned char, 64> first{};
    for (unsigned i = 256; i-- > 0;) first[PositionTables.Upper[i]] = static_cast<unsigned char>(i);
    return first;
}
constexpr std::array<unsigned char, 64> PrefixBytes = MakePrefixBytes();

class TEncoder {
public:
    explicit TEncoder(std::vector<unsigned char>& out) : FBits(out) {}

    void Run(std::span<const unsigned char> data) {
        if (data.empty()) return;
        // The ring and its mirror of the first LookAhead - 1 bytes (so a string may be compared across
        // the wrap) start as spaces, as the decoder's ring does.
        FText.fill(RingFill);
        for (unsigned i = RingSize + 1; i <= RingSize + 256; ++i) FRight[i] = Nil;
        FParent.fill(Nil);

        size_t next = 0;
        unsigned s = 0, r = FirstWrite, len = 0;
        for (; len < LookAhead && next < data.size(); ++len) FText[r + len] = data[next++];
        for (unsigned i = 1; i <= LookAhead; ++i) InsertNode(r - i);
        InsertNode(r);
        do {
            FMatchLength = std::min(FMatchLength, len);
            unsigned taken;
            if (FMatchLength <= Threshold) {
                taken = 1;
                EncodeChar(FText[r]);
            } else {
                taken = FMatchLength;
                EncodeChar(255 - Threshold + FMatchLength);
                EncodePosition(FMatchPosition);
            }
            for (unsigned i = 0; i < taken; ++i) {
                DeleteNode(s);
                if (next < data.size()) {
                    unsigned char c = data[next++];
                    FText[s] = c;
                    if (s < LookAhead - 1) FText[s + RingSize] = c;
                } else {
                    --len;
                }
                s = (s + 1) & RingMask;
                r = (r + 1) & RingMask;
                if (len > 0) InsertNode(r);
            }
        } while (len > 0);
        FBits.Finish();
    }

private:
    static constexpr unsigned Nil = RingSize;

    void EncodeChar(unsigned symbol) {
        // The path from the leaf up gives the code backwards: the parity of each node is its bit.
        std::array<unsigned char, TreeSize> path;
        unsigned depth = 0;
        for (unsigned k = FModel.Parent[symbol + TreeSize]; k != Root; k = FModel.Parent[k])
            path[depth++] = static_cast<unsigned char>(k & 1);
        while (depth > 0) FBits.PutBit(path[--depth]);
        FModel.UpdateModel(symbol);
    }

    void EncodePosition(unsigned distance) {
        unsigned first = PrefixBytes[distance >> 6];
        unsigned further = PositionTables.FurtherBits[first];
        FBits.Put(further + 2, first >> (6 - further));
        FBits.Put(6, distance & 0x3F);
    }

    // Binary search trees of the strings at every ring position, one tree per first byte; inserting
    // the string at r also finds the longest (and then nearest) earlier match.
    void InsertNode(unsigned r) {
        const unsigned char* key = &FText[r];
        unsigned p = RingSize + 1 + key[0];
        int cmp = 1;
        FLeft[r] = FRight[r] = Nil;
        FMatchLength = 0;
        for (;;) {
            unsigned& link = cmp >= 0 ? FRight[p] : FLeft[p];
            if (link == Nil) {
                link = r;
                FParent[r] = p;
                return;
            }
            p = link;
            unsigned i = 1;
            for (; i < LookAhead; ++i)
                if ((cmp = key[i] - FText[p + i]) != 0) break;
            if (i > Threshold) {
                unsigned distance = ((r - p) & RingMask) - 1;
                if (i > FMatchLength) {
                    FMatchPosition = distance;
                    if ((FMatchLength = i) >= LookAhead) break;
                } else if (i == FMatchLength && distance < FMatchPosition) {
                    FMatchPosition = distance;
                }
            }
        }
        // A full-length match: r takes p's place in the tree.
        FParent[r] = FParent[p];
        FLeft[r] = FLeft[p];
        FRight[r] = FRight[p];
        FParent[FLeft[p]] = r;
        FParent[FRight[p]] = r;
        ReplaceChild(p, r);
        FParent[p] = Nil;
    }

    void DeleteNode(unsigned p) {
        if (FParent[p] == Nil) return;
        unsigned q;
        if (FRight[p] == Nil) {
            q = FLeft[p];
        } else if (FLeft[p] == Nil) {
            q = FRight[p];
        } else {
            q = FLeft[p];
            if (FRight[q] != Nil) {
                do q = FRight[q];
                while (FRight[q] != Nil);
                FRight[FParent[q]] = FLeft[q];
                FParent[FLeft[q]] = FParent[q];
                FLeft[q] = FLeft[p];
                FParent[FLeft[p]] = q;
            }
            FRight[q] = FRight[p];
            FParent[FRight[p]] = q;
        }
        FParent[q] = FParent[p];
        ReplaceChild(p, q);
        FParent[p] = Nil;
    }

    void ReplaceChild(unsigned p, unsigned q) {
        unsigned parent = FParent[p];
        (FRight[parent] == p ? FRight[parent] : FLeft[parent]) = q;
    }

    TBitWriter FBits;
    TLZHModel FModel;
    std::array<unsigned char, RingSize + LookAhead - 1> FText;
    std::array<unsigned, RingSize + 1> FLeft, FParent;    // entry Nil absorbs writes to "no node"
    std::array<unsigned, RingSize + 257> FRight;          // entries RingSize + 1 + byte: tree roots
    unsigned FMatchPosition = 0, FMatchLength = 0;
};

}  // namespace

std::vector<unsigned char> TLZHPacker::Pack(std::span<const unsigned char> data) {
    if (data.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::length_error("lzhpack: input too large for the 32-bit size field");
    std::vector<unsigned char> out(4);
    auto size = static_cast<uint32_t>(data.size());
    for (unsigned k = 0; k < 4; ++k) out[k] = static_cast<unsigned char>(size >> (8 * k));
    auto encoder = std::make_unique<TEncoder>(out);
    encoder->Run(data);
    return out;
}

std::vector<unsigned char> TLZHPacker::Unpack(std::span<const unsigned char> packed) {
    if (packed.size() < 4) throw EReadError("lzhpack: no room for the unpacked size");
    uint32_t size = 0;
    for (unsigned k = 0; k < 4; ++k) size |= uint32_t{packed[k]} << (8 * k);
    std::vector<unsigned char> out;
    size_t pos = 4;
    TLZH().Decode(
        static_cast<int32_t>(size),
        [&](unsigned char* buffer, size_t wanted) {
            size_t n = std::min(wanted, packed.size() - pos);
            std::memcpy(buffer, packed.data() + pos, n);
            pos += n;
            return n;
        },
        [&](const unsigned char* buffer, size_t count) {
            out.insert(out.end(), buffer, buffer + count);
            return count;
        });
    return out;
}
