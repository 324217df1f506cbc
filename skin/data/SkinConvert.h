#pragma once
// Stateless conversions of skin images and colours: greying, recolouring the magenta key, mirroring,
// flipping and rotating in place, mixing two colours, colour gradients and saturation. The only state
// is the process's cache of gradient tables.
#include "ui/Types.h"

#include <array>
#include <cstdint>
#include <vector>

class TBitmap;

// Each pixel becomes the plain mean of its three channels; the bitmap becomes 24-bit.
void GrayscaleBitmap(TBitmap& Bitmap);
// Every pixel of exactly red 255, green 0, blue 255 takes Color's low three bytes (a system colour
// reference is not resolved); the bitmap becomes 24-bit.
void ReplaceMagenta(TBitmap& Bitmap, TColor Color);
// In place, on 24-bit pixels (any other format is converted to 24-bit first).
void MirrorBitmap(TBitmap& Bitmap);  // left to right
// Each of Count frames side by side mirrored left to right where it stands, so frame k stays frame k
// (mirroring the whole strip would turn the state order around). Leftover columns are left alone.
void MirrorFrames(TBitmap& Bitmap, int Count);
void FlipBitmap(TBitmap& Bitmap);    // top to bottom
void RotateLeft(TBitmap& Bitmap);    // 90 degrees counter-clockwise: (x, y) moves to (y, width - 1 - x)
void RotateRight(TBitmap& Bitmap);   // 90 degrees clockwise: (x, y) moves to (height - 1 - y, x)

// Mixes C1 into C2: Amount below 100 is C1's share in percent, from 100 on in per mille. System
// colour references are resolved first.
TColor Blend(TColor C1, TColor C2, int Amount);

// 0 ... 255 from (max - min) / max of the channels; 200 for any colour whose channels are all below 160.
int ColorSaturation(TColor Color);

// Tables of colours running evenly from one colour to another, one per line of a gradient. The last
// sixteen tables are kept; a repeated request reuses its table, a new one overwrites the oldest.
class TGradientCache {
public:
    static constexpr int SlotCount = 16;

    // The slot holding Count colours from From to To (RGB values).
    int Get(int Count, TColor From, TColor To);
    const std::vector<TColor>& Table(int Slot) const { return FSlots.at(static_cast<size_t>(Slot)); }

private:
    std::array<std::vector<TColor>, SlotCount> FSlots;
    int FNext = 0;
};

// The process's cache, used by GradientFill.
TGradientCache& GradientCache();
int GetGradient(int Count, TColor From, TColor To);

// Fills Rect with one-pixel lines from From (top or left line) to To (bottom or right line). Only the
// lines inside the DC's clip box are drawn.
void GradientFill(HDC DC, const TRect& Rect, TColor From, bool Vertical, TColor To);
