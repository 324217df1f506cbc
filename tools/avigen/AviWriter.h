#pragma once
// Writes a video-only AVI clip of uncompressed 8-bit palette frames: the one format the Windows
// animation control plays everywhere (besides RLE8) without a codec.
#include <cstdint>
#include <vector>

struct TPaletteEntry {
    std::uint8_t Red, Green, Blue;
};

// One frame: Width x Height palette indices, top row first.
using TFrame = std::vector<std::uint8_t>;

struct TClip {
    int Width = 0;
    int Height = 0;
    std::uint32_t MicroSecPerFrame = 100000;
    std::vector<TPaletteEntry> Palette;  // at most 256 entries
    std::vector<TFrame> Frames;
};

// The whole file: RIFF 'AVI ' with the header list, the frames in 'movi' and an 'idx1' index.
// Throws std::invalid_argument when the clip's sizes do not fit together.
std::vector<std::uint8_t> WriteAvi(const TClip& clip);
