#include "skin/data/SkinConvert.h"

#include "ui/Bitmap.h"
#include "ui/Handles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

unsigned char* Pixel24(TBitmap& bitmap, int x, int y) {
    return static_cast<unsigned char*>(bitmap.ScanLine(y)) + static_cast<size_t>(x) * 3;
}

void Make24Bit(TBitmap& bitmap) { bitmap.SetPixelFormat(pf24bit); }

int Red(TColor c) { return c & 0xFF; }
int Green(TColor c) { return (c >> 8) & 0xFF; }
int Blue(TColor c) { return (c >> 16) & 0xFF; }
TColor MakeRGB(int r, int g, int b) { return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16; }

TColor ResolveSystem(TColor c) { return c < 0 ? static_cast<TColor>(GetSysColor(c & 0xFF)) : c; }

// Integer division rounding toward minus infinity.
int FloorDiv(int a, int b) {
    int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Builds a bitmap of the given size, lets Fill write its 24-bit pixels from the old ones, then puts it
// in place of the old bitmap.
template <typename F>
void Rearrange(TBitmap& bitmap, int width, int height, F fill) {
    Make24Bit(bitmap);
    if (bitmap.Empty()) return;
    TBitmap result;
    result.SetPixelFormat(pf24bit);
    result.SetSize(width, height);
    fill(result);
    bitmap.Assign(&result);
}

}  // namespace

void GrayscaleBitmap(TBitmap& Bitmap) {
    Make24Bit(Bitmap);
    for (int y = 0; y < Bitmap.Height(); ++y) {
        auto* p = static_cast<unsigned char*>(Bitmap.ScanLine(y));
        for (int x = 0; x < Bitmap.Width(); ++x, p += 3) {
            auto mean = static_cast<unsigned char>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = mean;
        }
    }
}

void ReplaceMagenta(TBitmap& Bitmap, TColor Color) {
    Make24Bit(Bitmap);
    const auto r = static_cast<unsigned char>(Red(Color)), g = static_cast<unsigned char>(Green(Color)),
               b = static_cast<unsigned char>(Blue(Color));
    for (int y = 0; y < Bitmap.Height(); ++y) {
        auto* p = static_cast<unsigned char*>(Bitmap.ScanLine(y));
        for (int x = 0; x < Bitmap.Width(); ++x, p += 3) {
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            }
        }
    }
}

void MirrorBitmap(TBitmap& Bitmap) {
    Rearrange(Bitmap, Bitmap.Width(), Bitmap.Height(), [&](TBitmap& result) {
        const int w = Bitmap.Width();
        for (int y = 0; y < Bitmap.Height(); ++y) {
            auto* source = static_cast<const unsigned char*>(Bitmap.ScanLine(y));
            auto* dest = static_cast<unsigned char*>(result.ScanLine(y));
            for (int x = 0; x < w; ++x) std::memcpy(dest + (w - 1 - x) * 3, source + x * 3, 3);
        }
    });
}

void MirrorFrames(TBitmap& Bitmap, int Count) {
    Make24Bit(Bitmap);
    if (Count < 1) return;
    const int fw = Bitmap.Width() / Count;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        auto* row = static_cast<unsigned char*>(Bitmap.ScanLine(y));
        for (int frame = 0; frame < Count; ++frame)
            for (int x = 0; x < fw / 2; ++x)
                std::swap_ranges(row + (frame * fw + x) * 3, row + (frame * fw + x) * 3 + 3,
                                 row + (frame * fw + fw - 1 - x) * 3);
    }
}

void FlipBitmap(TBitmap& Bitmap) {
    Rearrange(Bitmap, Bitmap.Width(), Bitmap.Height(), [&](TBitmap& result) {
        const int h = Bitmap.Height();
        const auto rowBytes = static_cast<size_t>(Bitmap.Width()) * 3;
        for (int y = 0; y < h; ++y) std::memcpy(result.ScanLine(h - 1 - y), Bitmap.ScanLine(y), rowBytes);
    });
}

void RotateLeft(TBitmap& Bitmap) {
    Rearrange(Bitmap, Bitmap.Height(), Bitmap.Width(), [&](TBitmap& result) {
        const int w = Bitmap.Width();
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < w; ++x) std::memcpy(Pixel24(result, y, w - 1 - x), Pixel24(Bitmap, x, y), 3);
    });
}

void RotateRight(TBitmap& Bitmap) {
    Rearrange(Bitmap, Bitmap.Height(), Bitmap.Width(), [&](TBitmap& result) {
        const int h = Bitmap.Height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < Bitmap.Width(); ++x) std::memcpy(Pixel24(result, h - 1 - y, x), Pixel24(Bitmap, x, y), 3);
    });
}

TColor Blend(TColor C1, TColor C2, int Amount) {
    C1 = ResolveSystem(C1);
    C2 = ResolveSystem(C2);
    const int64_t base = Amount < 100 ? 100 : 1000;
    auto mix = [&](int64_t a, int64_t b) { return static_cast<int>((b * (base - Amount) + a * Amount + base / 2) / base) & 0xFF; };
    // Blue is everything above bit 15, as a colour value can carry more than 24 bits.
    const int64_t blue1 = static_cast<uint32_t>(C1) >> 16, blue2 = static_cast<uint32_t>(C2) >> 16;
    return MakeRGB(mix(Red(C1), Red(C2)), mix(Green(C1), Green(C2)), mix(blue1, blue2));
}

int ColorSaturation(TColor Color) {
    const int r = Red(Color), g = Green(Color), b = Blue(Color);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
    return static_cast<int>(std::nearbyint(s * 255));  // the default rounding mode: halves to even
}

int TGradientCache::Get(int Count, TColor From, TColor To) {
    const auto n = static_cast<size_t>(std::max(Count, 0));
    for (int slot = SlotCount - 1; slot >= 0; --slot) {
        const auto& table = FSlots[static_cast<size_t>(slot)];
        if (table.size() == n && n > 0 && table.front() == From && table.back() == To) return slot;
    }
    const int slot = FNext;
    FNext = (FNext + 1) % SlotCount;
    auto& table = FSlots[static_cast<size_t>(slot)];
    table.assign(n, 0);
    auto channel = [&](int from, int to, int i) {
        const int delta = to - from;
        if (n == 1) return from + delta / 2;
        const int d = static_cast<int>(n) - 1;
        // Rounded to the nearest (halves up) in both directions, so the last entry is exactly To even
        // where the channel falls.
        return from + FloorDiv(d / 2 + i * delta, d);
    };
    for (size_t i = 0; i < n; ++i) {
        const int k = static_cast<int>(i);
        table[i] = MakeRGB(channel(Red(From), Red(To), k), channel(Green(From), Green(To), k),
                           channel(Blue(From), Blue(To), k));
    }
    return slot;
}

TGradientCache& GradientCache() {
    static TGradientCache cache;
    return cache;
}

int GetGradient(int Count, TColor From, TColor To) { return GradientCache().Get(Count, From, To); }

void GradientFill(HDC DC, const TRect& Rect, TColor From, bool Vertical, TColor To) {
    RECT rect = Rect.ToRECT();
    if (!RectVisible(DC, &rect)) return;
    From = static_cast<TColor>(ColorToRGB(From));
    To = static_cast<TColor>(ColorToRGB(To));
    RECT clip{};
    GetClipBox(DC, &clip);
    const int n = Vertical ? Rect.Height() : Rect.Width();
    if (n <= 0) return;
    const int start = Vertical ? Rect.Top : Rect.Left;
    const int clipStart = Vertical ? clip.top : clip.left;
    const int clipEnd = Vertical ? clip.bottom : clip.right;
    const int first = std::max(0, clipStart - start);
    const int last = std::min(n - 1, clipEnd - start - 1);
    const auto& table = GradientCache().Table(GetGradient(n, From, To));
    for (int i = first; i <= last; ++i) {
        RECT line = Vertical ? RECT{Rect.Left, start + i, Rect.Right, start + i + 1}
                             : RECT{start + i, Rect.Top, start + i + 1, Rect.Bottom};
        UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(table[static_cast<size_t>(i)])));
        FillRect(DC, &line, brush.get());
    }
}
