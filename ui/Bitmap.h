#pragma once
// TBitmap: an image held as a DIB section of a chosen pixel format, with a canvas for drawing on it
// (through a memory DC lent by a process-wide pool), an optional transparent colour, and BMP reading and
// writing.
// Reading checks every size and offset in the file against the bytes really there: a malformed BMP
// throws EInvalidGraphic and never reads past its buffer.
#include "ui/Canvas.h"
#include "ui/Handles.h"
#include "ui/Persistent.h"
#include "ui/Types.h"

#include <memory>
#include <vector>

class TStream;
class TBitmapCanvas;
struct TPooledDC;

// How many memory DCs the bitmaps share (more only while locked ones fill the pool). A routine that
// draws between bitmaps holds two to four of their DCs at once; the pool is several times that.
constexpr size_t BitmapDCPoolSize = 16;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TPersistent {
public:
    CLARIVO_CLASS

    TBitmap();
    ~TBitmap() override;

    // Copies another bitmap's pixels, format and transparency (null: becomes empty).
    void Assign(const TPersistent* source) override;
    // "Data": the bitmap stored in a form description as a BMP file.
    bool ReadBinaryProperty(std::string_view name, TStream& data) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    // New size; the pixels that are inside both sizes are kept, new ones are black.
    void SetSize(int width, int height);
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // A new format; the picture is converted (to a grey-free default palette for 1, 4 and 8 bits).
    void SetPixelFormat(TPixelFormat format);

    // Row y (0 = top) of the pixel data, in the pixel format's layout; rows are 4-byte aligned.
    void* ScanLine(int row);
    int BytesPerRow() const;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    // The colour left out when drawn transparently; clDefault means the bottom-left pixel's colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { FTransparentColor = color; }

    // The DIB section; owned by the bitmap. ReleaseHandle gives it away and leaves the bitmap empty.
    HBITMAP Handle() const { return FHandle.get(); }
    [[nodiscard]] HBITMAP ReleaseHandle();
    // Takes over a bitmap handle of any kind (converted to a DIB section of the matching format).
    void SetHandle(HBITMAP bitmap);

    // Draws on the bitmap. A bitmap holds no DC of its own: its canvas borrows one of the pool's DCs
    // when it draws or is asked for its Handle, and keeps it until BitmapDCPoolSize other bitmaps have
    // been drawn with since it was last used (least recently used goes back first). So an HDC from
    // Canvas()->Handle() is good across a call that draws with a few other bitmaps, as in
    // BitBlt(a.Canvas()->Handle(), ..., b.Canvas()->Handle(), ...); whoever keeps one longer, across
    // drawing with many bitmaps, locks it (TBitmapDCLock). The canvas's font, brush and pen come back
    // with every new DC; other DC state set through the handle (origins, clipping, modes) goes with the
    // DC. Every DC starts with the COLORONCOLOR stretch mode. Main thread only.
    TCanvas* Canvas();

    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromResourceName(HINSTANCE instance, const wchar_t* name);

    // Draws the whole bitmap into dest on dc (stretched), leaving the transparent colour out when
    // Transparent is set.
    void DrawTo(HDC dc, const TRect& dest);

    TNotifyEvent OnChange;

private:
    friend class TBitmapDCPool;

    void Create(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize);
    // Selects the DIB section into the lent DC, if there is one; the DC's own 1 x 1 bitmap while there
    // is no DIB section or empty asks for it (before the DIB section is freed or given away).
    void SelectIntoDC(bool empty = false);
    void Changed();
    // The colour table of a 1, 4 or 8-bit bitmap.
    std::vector<RGBQUAD> Palette() const;

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pf24bit;
    UniqueBitmap FHandle;
    unsigned char* FBits = nullptr;  // owned by the DIB section
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TPooledDC* FDC = nullptr;  // the pool's DC lent to this bitmap, while it has one
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Keeps a bitmap's pooled DC lent to it for the lock's life, for code that holds the HDC while drawing
// with many other bitmaps (an off-screen buffer filled piece by piece). The bitmap outlives the lock.
class TBitmapDCLock {
public:
    explicit TBitmapDCLock(TBitmap& bitmap);
    ~TBitmapDCLock();
    TBitmapDCLock(const TBitmapDCLock&) = delete;
    TBitmapDCLock& operator=(const TBitmapDCLock&) = delete;

    HDC Handle() const { return FDC; }

private:
    TBitmap& FBitmap;
    HDC FDC;
};

// Bits per pixel of a format (pfDevice counts as 32).
int BitsPerPixel(TPixelFormat format);
