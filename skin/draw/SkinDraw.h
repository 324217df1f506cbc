#pragma once
// The drawing routines every skinned surface shares: one frame cut out of a strip of equal frames,
// drawn as nine parts (fixed corners and edges, stretched or tiled centre), as a three-part bar, whole
// or centred; colour-keyed transparency with magenta; a window region from a bitmap's opaque pixels;
// a parent's background behind a control; and text. The routines build their images on one shared
// off-screen surface, so that a call makes no GDI object (BuildSkinImage alone makes a new bitmap, as its
// caller keeps it); the menu bar has a scratch bitmap of its own to draw into.
#include "ui/Handles.h"
#include "ui/Types.h"

#include <memory>
#include <string>

class TBitmap;
class TCanvas;
class TControl;

// The colour skin images use for "not drawn": magenta.
constexpr TColor SkinKeyColor = clFuchsia;

// Four widths measured inward from a frame's edges: the parts that are never stretched.
struct TSkinMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TSkinMargins&, const TSkinMargins&) = default;
};

// Frame Index (from 1) of Count equal frames side by side, or stacked when Vertical. Leftover columns
// or rows at the end of the image belong to no frame. A count below 1 counts as 1, and an index outside
// 1 ... Count as the nearest frame.
TRect SkinFrameRect(const TBitmap& Image, bool Vertical, int Count, int Index);

// A new bitmap of Dest's size holding the nine-part image of the frame.
std::unique_ptr<TBitmap> BuildSkinImage(const TRect& Dest, TBitmap& Image, const TSkinMargins& Margins, bool Vertical,
                                        bool Tile, int Count, int Index);
// The nine-part image drawn at Dest, leaving magenta out when Trans is set.
void DrawSkinImage(HDC DC, const TRect& Dest, TBitmap& Image, bool Vertical, bool Tile, bool Trans, int Count, int Index,
                   const TSkinMargins& Margins);
// Left cap, tiled middle and right cap, each stretched to the full height (top and bottom margins unused).
void DrawSkinBar(TCanvas& Canvas, const TRect& Dest, TBitmap& Image, bool Vertical, bool Trans, int Count, int Index,
                 const TSkinMargins& Margins);
// One frame of a horizontal strip stretched over Dest.
void DrawSkinFrame(HDC DC, const TRect& Dest, TBitmap& Image, bool Trans, int Count, int Index);
// One frame of a horizontal strip, unscaled and centred in Dest (overhanging equally when larger).
void DrawSkinGlyph(HDC DC, const TRect& Dest, TBitmap& Image, bool Trans, int Count, int Index);
// Left cap, stretched middle, right cap of full height, straight from the image; no transparency.
void DrawSkinHBar(HDC DC, const TRect& Dest, TBitmap& Image, bool Vertical, int Count, int Index,
                  const TSkinMargins& Margins);
// Bitmap's pixels from (0, 0), Dest's size, copied to Dest except where they are Key.
void DrawTransparent(HDC DC, const TRect& Dest, TBitmap& Bitmap, TColor Key);
// The Source piece of Image repeated over Dest, columns outer and rows inner; the last column and row
// are drawn whole (whoever draws next covers the overhang).
void TileImage(TCanvas& Canvas, const TRect& Dest, TBitmap& Image, const TRect& Source);

// The region covering Bitmap's pixels that are not the key colour (each channel within key ... key +
// tolerance counts as key), moved by the offsets. Null when no pixel is opaque.
UniqueRegion RegionFromBitmap(const TBitmap& Bitmap, int XOffset, int YOffset, int BlueTolerance, int GreenTolerance,
                              int RedTolerance, TColor Key);

// Control's parent paints itself into DC as if DC were the control's surface.
void DrawParentBackground(TControl& Control, HDC DC);
// DrawText with wide text; returns its result (with DT_CALCRECT Rect comes back measured).
int SkinDrawText(HDC DC, const std::wstring& Text, TRect& Rect, UINT Format);

// Keeps the window-skinning module's shared drawing state alive while at least one holder exists.
class TSkinDrawUse {
public:
    TSkinDrawUse();
    ~TSkinDrawUse();
    TSkinDrawUse(const TSkinDrawUse&) = delete;
    TSkinDrawUse& operator=(const TSkinDrawUse&) = delete;
};
// The off-screen bitmap the menu bar draws into; null while no TSkinDrawUse exists.
TBitmap* ScratchBitmap();
