#include "FindFileClip.h"

#include <cmath>

namespace {

// Palette: the plain colours first, then each of them as seen through the glass. The background is
// the top-left pixel, which the animation control treats as transparent; no other part uses it.
enum : std::uint8_t { Back, Outline, Folder, FolderFront, Paper, PaperLine, PlainCount };
enum : std::uint8_t { Ring = 2 * PlainCount, Handle, Shine };
constexpr std::uint8_t ThroughGlass = PlainCount;

constexpr TPaletteEntry PlainColours[PlainCount] = {
    {192, 192, 192},  // Back
    {120, 84, 0},     // Outline
    {232, 184, 56},   // Folder
    {252, 220, 112},  // FolderFront
    {255, 255, 255},  // Paper
    {136, 136, 136},  // PaperLine
};
constexpr TPaletteEntry GlassTint = {176, 216, 255};

class TCanvas8 {
public:
    TCanvas8() : FPixels(static_cast<std::size_t>(FindFileClipWidth * FindFileClipHeight), Back) {}

    void Set(int x, int y, std::uint8_t colour) {
        if (x >= 0 && y >= 0 && x < FindFileClipWidth && y < FindFileClipHeight) FPixels[Index(x, y)] = colour;
    }
    void Fill(int left, int top, int right, int bottom, std::uint8_t colour) {  // right and bottom exclusive
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) Set(x, y, colour);
    }
    void Frame(int left, int top, int right, int bottom, std::uint8_t fill) {
        Fill(left, top, right, bottom, Outline);
        Fill(left + 1, top + 1, right - 1, bottom - 1, fill);
    }
    // Shows what lies under the lens in the glass's tint.
    void Tint(int x, int y) {
        if (x >= 0 && y >= 0 && x < FindFileClipWidth && y < FindFileClipHeight && FPixels[Index(x, y)] < PlainCount)
            FPixels[Index(x, y)] = static_cast<std::uint8_t>(FPixels[Index(x, y)] + ThroughGlass);
    }
    TFrame Take() { return std::move(FPixels); }

private:
    static std::size_t Index(int x, int y) { return static_cast<std::size_t>(y * FindFileClipWidth + x); }
    TFrame FPixels;
};

void DrawFolder(TCanvas8& canvas) {
    canvas.Frame(5, 6, 16, 10, Folder);     // tab
    canvas.Frame(5, 8, 35, 26, Folder);     // back
    canvas.Frame(8, 10, 32, 18, Paper);     // a sheet sticking out
    for (int y = 12; y < 18; y += 2) canvas.Fill(10, y, 30, y + 1, PaperLine);
    canvas.Frame(5, 14, 35, 26, FolderFront);
}

void DrawMagnifier(TCanvas8& canvas, int cx, int cy) {
    constexpr int GlassRadius2 = 20, RingRadius2 = 38;
    for (int dy = -7; dy <= 7; ++dy)
        for (int dx = -7; dx <= 7; ++dx) {
            int d2 = dx * dx + dy * dy;
            if (d2 <= GlassRadius2) canvas.Tint(cx + dx, cy + dy);
            else if (d2 <= RingRadius2) canvas.Set(cx + dx, cy + dy, Ring);
        }
    for (int t = 0; t < 5; ++t) {
        canvas.Set(cx + 5 + t, cy + 5 + t, Handle);
        canvas.Set(cx + 6 + t, cy + 5 + t, Handle);
        canvas.Set(cx + 5 + t, cy + 6 + t, Handle);
    }
    canvas.Set(cx - 2, cy - 2, Shine);
    canvas.Set(cx - 1, cy - 3, Shine);
    canvas.Set(cx - 3, cy - 1, Shine);
}

TPaletteEntry Blend(TPaletteEntry a, TPaletteEntry b) {
    auto mid = [](std::uint8_t x, std::uint8_t y) { return static_cast<std::uint8_t>((x + y) / 2); };
    return {mid(a.Red, b.Red), mid(a.Green, b.Green), mid(a.Blue, b.Blue)};
}

}  // namespace

TClip MakeFindFileClip() {
    TClip clip;
    clip.Width = FindFileClipWidth;
    clip.Height = FindFileClipHeight;
    clip.MicroSecPerFrame = 90000;
    for (TPaletteEntry colour : PlainColours) clip.Palette.push_back(colour);
    for (TPaletteEntry colour : PlainColours) clip.Palette.push_back(Blend(colour, GlassTint));
    clip.Palette.push_back({56, 56, 72});    // Ring
    clip.Palette.push_back({112, 64, 24});   // Handle
    clip.Palette.push_back({255, 255, 255}); // Shine
    clip.Palette.resize(16, TPaletteEntry{0, 0, 0});

    // One turn of an ellipse over the folder; positions are rounded to whole pixels so the clip comes
    // out the same byte for byte wherever the tool runs.
    const double pi = std::acos(-1.0);
    for (int i = 0; i < FindFileClipFrames; ++i) {
        double angle = 2 * pi * i / FindFileClipFrames;
        int cx = 21 + static_cast<int>(std::lround(9 * std::cos(angle)));
        int cy = 13 + static_cast<int>(std::lround(5 * std::sin(angle)));
        TCanvas8 canvas;
        DrawFolder(canvas);
        DrawMagnifier(canvas, cx, cy);
        clip.Frames.push_back(canvas.Take());
    }
    return clip;
}
