#pragma once
// Small value types shared by the framework: colours, points, rectangles (edges) and sizes. A rectangle
// is always four edges and a size always a width and a height, so the two cannot be mixed up.
#include <windows.h>

#include <cstdint>

// A colour: an RGB value with red in the low byte, or 0xFF000000 + a system colour index.
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);

// The RGB value a colour stands for now (system colours resolved with GetSysColor).
COLORREF ColorToRGB(TColor color);

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    static TRect FromBounds(int left, int top, int width, int height) {
        return {left, top, left + width, top + height};
    }
    static TRect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
    RECT ToRECT() const { return {Left, Top, Right, Bottom}; }

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TSize Size() const { return {Width(), Height()}; }
    TPoint TopLeft() const { return {Left, Top}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};
