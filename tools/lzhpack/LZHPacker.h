#pragma once
// The packer that matches TLZH: LZSS with a binary-tree match finder over the same ring, the same
// adaptive Huffman model and the same distance code, so TLZH reads back exactly what goes in.
#include <cstdint>
#include <span>
#include <vector>

class TLZHPacker {
public:
    // The packed-skin layout: 32-bit little-endian unpacked size, then the coded bits. Input above
    // 2 GB cannot be described by the size field and is refused with std::length_error.
    static std::vector<unsigned char> Pack(std::span<const unsigned char> data);
    // The reverse, through TLZH (the size field says how much to produce).
    static std::vector<unsigned char> Unpack(std::span<const unsigned char> packed);
};
