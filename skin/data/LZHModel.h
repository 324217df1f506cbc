#pragma once
// The adaptive Huffman model of the skin packing scheme (LZSS over a 4 KB ring, literals and match
// lengths coded with a dynamic Huffman tree, distances with a fixed prefix code). The decoder and the
// packer share this one model so that both rebuild and reorder the tree at exactly the same symbol.
#include <array>

namespace lzh {

inline constexpr unsigned RingSize = 4096;                     // history ring
inline constexpr unsigned RingMask = RingSize - 1;
inline constexpr unsigned LookAhead = 60;                      // longest match
inline constexpr unsigned Threshold = 2;                       // a match is at least Threshold + 1 long
inline constexpr unsigned Symbols = 256 - Threshold + LookAhead;  // literals, then match lengths
inline constexpr unsigned TreeSize = 2 * Symbols - 1;          // nodes of the Huffman tree
inline constexpr unsigned Root = TreeSize - 1;
inline constexpr unsigned MaxFreq = 0x8000;                    // root count that triggers a rebuild
inline constexpr unsigned FirstWrite = RingSize - LookAhead;   // ring position of the first byte
inline constexpr unsigned char RingFill = 0x20;                // the ring starts as spaces

// Distances: the upper 6 bits come from a prefix code read as a whole byte plus 1 to 6 further bits;
// the lower 6 bits follow plainly. For each possible first byte, the upper bits and further bit count.
struct TPositionTables {
    std::array<unsigned char, 256> Upper{};
    std::array<unsigned char, 256> FurtherBits{};
};

constexpr TPositionTables MakePositionTables() {
    // first byte range start, its upper-bit base, bytes per upper value, further bits
    struct Band { unsigned First, Base, Step, Bits; };
    constexpr Band bands[] = {{0x00, 0, 32, 1}, {0x20, 1, 16, 2}, {0x50, 4, 8, 3},
                              {0x90, 12, 4, 4}, {0xC0, 24, 2, 5}, {0xF0, 48, 1, 6}};
    TPositionTables t;
    for (unsigned i = 0; i < 256; ++i) {
        const Band* band = &bands[0];
        for (const Band& b : bands)
            if (i >= b.First) band = &b;
        t.Upper[i] = static_cast<unsigned char>(band->Base + (i - band->First) / band->Step);
        t.FurtherBits[i] = static_cast<unsigned char>(band->Bits);
    }
    return t;
}

inline constexpr TPositionTables PositionTables = MakePositionTables();

}  // namespace lzh

class TLZHModel {
public:
    TLZHModel() { StartHuff(); }

    // The initial tree: every symbol counted once.
    void StartHuff();
    // Counts one more occurrence of symbol and restores the sibling order; rebuilds the tree with
    // halved counts first when the root has reached MaxFreq.
    void UpdateModel(unsigned symbol);

    // Freq: count per node, plus a sentinel above the root that stops every upward scan.
    // Parent: parent of each node; entries TreeSize + s give the leaf node of symbol s.
    // Child: first child of an inner node (the second is the next node), TreeSize + symbol for a leaf.
    std::array<unsigned, lzh::TreeSize + 1> Freq{};
    std::array<unsigned, lzh::TreeSize + lzh::Symbols> Parent{};
    std::array<unsigned, lzh::TreeSize> Child{};

private:
    void Reconst();
};
