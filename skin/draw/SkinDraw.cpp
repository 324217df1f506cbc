#include "skin/draw/SkinDraw.h"

#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Errors.h"
#include "ui/WinControl.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// A stretching copy between two rectangles; empty or inverted rectangles copy nothing (StretchBlt
// would mirror them).
void Stretch(HDC dest, const TRect& to, HDC source, const TRect& from) {
    if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0) return;
    StretchBlt(dest, to.Left, to.Top, to.Width(), to.Height(), source, from.Left, from.Top, from.Width(), from.Height(),
               SRCCOPY);
}

bool Inverted(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// Margins come from skin files: negative ones count as none, and none is larger than a bitmap can be,
// so that sums and differences of them cannot overflow.
TSkinMargins Sane(const TSkinMargins& m) {
    constexpr int Largest = 1 << 16;
    return {std::clamp(m.Left, 0, Largest), std::clamp(m.Top, 0, Largest), std::clamp(m.Right, 0, Largest),
            std::clamp(m.Bottom, 0, Largest)};
}

std::unique_ptr<TBitmap> NewBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(std::max(width, 0), std::max(height, 0));
    return bitmap;
}

// Constant-initialised, so they outlive every holder, including one freed when the program ends.
int ScratchUses = 0;
std::unique_ptr<TBitmap> ScratchImage;
std::unique_ptr<TBitmap> SurfaceImage;
bool SurfaceTaken = false;

// The off-screen surface every routine builds its image on before drawing it: one 24-bit DIB section,
// grown to the largest image asked for and kept, so that a call makes no GDI object (a bitmap and a DC
// per call cost more than drawing a control-sized image). A routine gets the top-left Width x Height,
// cleared to black as a new bitmap would be, and its DC for the routine's whole run. No routine draws
// through another while it holds the surface.
class TSurface {
public:
    TSurface(int width, int height) {
        if (SurfaceTaken) throw EInvalidOperation("The drawing routines' surface is already in use");
        // Grown in steps, so that a few sizes near each other do not each make a new one.
        constexpr int Step = 64;
        auto stepUp = [](int v) { return (v + Step - 1) / Step * Step; };
        if (!SurfaceImage || SurfaceImage->Width() < width || SurfaceImage->Height() < height)
            SurfaceImage = NewBitmap(stepUp(std::max(width, SurfaceImage ? SurfaceImage->Width() : 0)),
                                     stepUp(std::max(height, SurfaceImage ? SurfaceImage->Height() : 0)));
        FLock.emplace(*SurfaceImage);
        PatBlt(DC(), 0, 0, width, height, BLACKNESS);
        SurfaceTaken = true;
    }
    ~TSurface() { SurfaceTaken = false; }
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    TBitmap& Image() { return *SurfaceImage; }
    HDC DC() const { return FLock->Handle(); }

private:
    std::optional<TBitmapDCLock> FLock;
};

// Draws the top-left width x height of an image at (x, y), colour-keyed or opaque.
void Present(HDC dc, int x, int y, int width, int height, TBitmap& image, bool trans) {
    if (trans)
        DrawTransparent(dc, TRect::FromBounds(x, y, width, height), image, SkinKeyColor);
    else
        BitBlt(dc, x, y, width, height, image.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Source repeated over Dest, columns outer and rows inner, each copy whole.
void Tile(HDC to, const TRect& dest, HDC from, const TRect& source) {
    const int w = source.Width(), h = source.Height();
    for (int x = dest.Left; x < dest.Right; x += w)
        for (int y = dest.Top; y < dest.Bottom; y += h) BitBlt(to, x, y, w, h, from, source.Left, source.Top, SRCCOPY);
}

// The nine-part image of the frame, W x H, on to at (0, 0).
void BuildNineParts(HDC to, int W, int H, TBitmap& Image, const TSkinMargins& Margins, bool Vertical, bool Tiled,
                    int Count, int Index) {
    if (Image.Empty()) return;
    const TRect f = SkinFrameRect(Image, Vertical, Count, Index);
    const int x0 = f.Left, y0 = f.Top, fw = f.Width(), fh = f.Height();
    auto [L, T, R, B] = Sane(Margins);
    if (W < L + R) L = R = 0;
    if (H < T + B) T = B = 0;
    HDC from = Image.Canvas()->Handle();
    auto piece = [&](const TRect& d, const TRect& s) { Stretch(to, d, from, s); };

    // The order matters: a tiled centre overhangs right and bottom, and the pieces after it cover that.
    if (L * T > 0) piece({0, 0, L, T}, {x0, y0, x0 + L, y0 + T});
    if (L * B > 0) piece({0, H - B, L, H}, {x0, y0 + fh - B, x0 + L, y0 + fh});
    if (R * T > 0) piece({W - R, 0, W, T}, {x0 + fw - R, y0, x0 + fw, y0 + T});
    if (L > 0) piece({0, T, L, H - B}, {x0, y0 + T, x0 + L, y0 + fh - B});
    if (T > 0) piece({L, 0, W - R, T}, {x0 + L, y0, x0 + fw - R, y0 + T});
    const TRect centre{L, T, W - R, H - B}, centreSource{x0 + L, y0 + T, x0 + fw - R, y0 + fh - B};
    if (!Tiled)
        piece(centre, centreSource);
    else if (centreSource.Width() > 0 && centreSource.Height() > 0)
        Tile(to, centre, from, centreSource);  // straight from the image: the centre lies inside it
    if (R * B > 0) piece({W - R, H - B, W, H}, {x0 + fw - R, y0 + fh - B, x0 + fw, y0 + fh});
    if (R > 0) piece({W - R, T, W, H - B}, {x0 + fw - R, y0 + T, x0 + fw, y0 + fh - B});
    if (B > 0) piece({L, H - B, W - R, H}, {x0 + L, y0 + fh - B, x0 + fw - R, y0 + fh});
}

}  // namespace

TRect SkinFrameRect(const TBitmap& Image, bool Vertical, int Count, int Index) {
    const int count = std::max(Count, 1);
    // A frame past the last one would read outside the image; painters ask for states a skin may lack.
    const int index = std::clamp(Index, 1, count);
    if (Vertical) {
        const int fh = Image.Height() / count;
        return TRect::FromBounds(0, (index - 1) * fh, Image.Width(), fh);
    }
    const int fw = Image.Width() / count;
    return TRect::FromBounds((index - 1) * fw, 0, fw, Image.Height());
}

std::unique_ptr<TBitmap> BuildSkinImage(const TRect& Dest, TBitmap& Image, const TSkinMargins& Margins, bool Vertical,
                                        bool Tile, int Count, int Index) {
    auto result = NewBitmap(Dest.Width(), Dest.Height());
    if (!result->Empty())
        BuildNineParts(result->Canvas()->Handle(), result->Width(), result->Height(), Image, Margins, Vertical, Tile,
                       Count, Index);
    return result;
}

void DrawSkinImage(HDC DC, const TRect& Dest, TBitmap& Image, bool Vertical, bool Tile, bool Trans, int Count, int Index,
                   const TSkinMargins& Margins) {
    const int W = Dest.Width(), H = Dest.Height();
    if (W <= 0 || H <= 0) return;
    TSurface surface(W, H);
    BuildNineParts(surface.DC(), W, H, Image, Margins, Vertical, Tile, Count, Index);
    Present(DC, Dest.Left, Dest.Top, W, H, surface.Image(), Trans);
}

void DrawSkinBar(TCanvas& Canvas, const TRect& Dest, TBitmap& Image, bool Vertical, bool Trans, int Count, int Index,
                 const TSkinMargins& Margins) {
    const int W = Dest.Width(), H = Dest.Height();
    if (W <= 0 || H <= 0 || Image.Empty()) return;
    const TRect f = SkinFrameRect(Image, Vertical, Count, Index);
    const int x0 = f.Left, y0 = f.Top, fw = f.Width(), fh = f.Height();
    const TSkinMargins m = Sane(Margins);
    const int L = m.Left, R = m.Right;
    TSurface surface(W, H);
    // Whatever no piece covers (no middle when the caps fill the frame) stays out of a transparent draw.
    TCanvas& fill = *surface.Image().Canvas();
    fill.Brush()->SetColor(SkinKeyColor);
    fill.FillRect({0, 0, W, H});
    HDC to = surface.DC();
    HDC from = Image.Canvas()->Handle();
    Stretch(to, {0, 0, L, H}, from, {x0, y0, x0 + L, y0 + fh});
    const int middle = fw - L - R;
    if (middle > 0)
        for (int x = L; x < W - R; x += middle)
            Stretch(to, {x, 0, x + middle, H}, from, {x0 + L, y0, x0 + L + middle, y0 + fh});
    Stretch(to, {W - R, 0, W, H}, from, {x0 + fw - R, y0, x0 + fw, y0 + fh});
    Present(Canvas.Handle(), Dest.Left, Dest.Top, W, H, surface.Image(), Trans);
}

void DrawSkinFrame(HDC DC, const TRect& Dest, TBitmap& Image, bool Trans, int Count, int Index) {
    const int W = Dest.Width(), H = Dest.Height();
    if (W <= 0 || H <= 0 || Image.Empty()) return;
    TSurface surface(W, H);
    Stretch(surface.DC(), {0, 0, W, H}, Image.Canvas()->Handle(), SkinFrameRect(Image, false, Count, Index));
    Present(DC, Dest.Left, Dest.Top, W, H, surface.Image(), Trans);
}

void DrawSkinGlyph(HDC DC, const TRect& Dest, TBitmap& Image, bool Trans, int Count, int Index) {
    if (Inverted(Dest)) return;
    const TRect f = SkinFrameRect(Image, false, Count, Index);
    if (f.Width() <= 0 || f.Height() <= 0) return;
    TSurface surface(f.Width(), f.Height());
    BitBlt(surface.DC(), 0, 0, f.Width(), f.Height(), Image.Canvas()->Handle(), f.Left, f.Top, SRCCOPY);
    // Truncating toward zero, so a glyph larger than Dest overhangs equally on both sides.
    const int x = Dest.Left + (Dest.Width() - f.Width()) / 2;
    const int y = Dest.Top + (Dest.Height() - f.Height()) / 2;
    Present(DC, x, y, f.Width(), f.Height(), surface.Image(), Trans);
}

void DrawSkinHBar(HDC DC, const TRect& Dest, TBitmap& Image, bool Vertical, int Count, int Index,
                  const TSkinMargins& Margins) {
    if (Inverted(Dest) || Image.Empty()) return;
    const TRect f = SkinFrameRect(Image, Vertical, Count, Index);
    const int x0 = f.Left, y0 = f.Top, fw = f.Width(), fh = f.Height();
    const TSkinMargins m = Sane(Margins);
    const int W = Dest.Width(), L = m.Left, R = m.Right;
    HDC from = Image.Canvas()->Handle();
    SetStretchBltMode(DC, COLORONCOLOR);
    if (fw > W) {
        Stretch(DC, Dest, from, f);
        return;
    }
    Stretch(DC, {Dest.Left, Dest.Top, Dest.Left + L, Dest.Bottom}, from, {x0, y0, x0 + L, y0 + fh});
    Stretch(DC, {Dest.Left + L, Dest.Top, Dest.Right - R, Dest.Bottom}, from, {x0 + L, y0, x0 + fw - R, y0 + fh});
    Stretch(DC, {Dest.Right - R, Dest.Top, Dest.Right, Dest.Bottom}, from, {x0 + fw - R, y0, x0 + fw, y0 + fh});
}

void DrawTransparent(HDC DC, const TRect& Dest, TBitmap& Bitmap, TColor Key) {
    if (Inverted(Dest) || Bitmap.Empty()) return;
    // Only the part the bitmap really has is copied; beyond it the destination stays as it is.
    const int w = std::min(Dest.Width(), Bitmap.Width()), h = std::min(Dest.Height(), Bitmap.Height());
    if (w <= 0 || h <= 0) return;
    // Unscaled, so every pixel is compared with the key exactly: key-coloured pixels leave the
    // destination untouched. (One call; a monochrome mask and MaskBlt give the same result, slower.)
    TransparentBlt(DC, Dest.Left, Dest.Top, w, h, Bitmap.Canvas()->Handle(), 0, 0, w, h, ColorToRGB(Key));
}

void TileImage(TCanvas& Canvas, const TRect& Dest, TBitmap& Image, const TRect& Source) {
    const int w = Source.Width(), h = Source.Height();
    if (w <= 0 || h <= 0) return;
    // Copied out first: Canvas may be the image's own, and Source may reach past the image (black there).
    TSurface piece(w, h);
    BitBlt(piece.DC(), 0, 0, w, h, Image.Canvas()->Handle(), Source.Left, Source.Top, SRCCOPY);
    Tile(Canvas.Handle(), Dest, piece.DC(), {0, 0, w, h});
}

UniqueRegion RegionFromBitmap(const TBitmap& Bitmap, int XOffset, int YOffset, int BlueTolerance, int GreenTolerance,
                              int RedTolerance, TColor Key) {
    constexpr size_t Growth = 500;
    constexpr size_t Batch = 2000;
    if (Bitmap.Empty()) return {};
    // 24- and 32-bit rows are read where they are; other formats are converted to 32 bits first.
    TBitmap converted;
    auto& source = const_cast<TBitmap&>(Bitmap);  // rows are only read
    const bool direct = Bitmap.PixelFormat() == pf24bit || Bitmap.PixelFormat() == pf32bit;
    if (!direct) {
        converted.Assign(&Bitmap);
        converted.SetPixelFormat(pf32bit);
    }
    TBitmap& pixels = direct ? source : converted;
    const int stride = pixels.PixelFormat() == pf24bit ? 3 : 4;

    const int keyR = Key & 0xFF, keyG = (Key >> 8) & 0xFF, keyB = (Key >> 16) & 0xFF;
    const int highR = std::min(keyR + RedTolerance, 255), highG = std::min(keyG + GreenTolerance, 255),
              highB = std::min(keyB + BlueTolerance, 255);
    auto isKey = [&](const unsigned char* p) {
        return p[0] >= keyB && p[0] <= highB && p[1] >= keyG && p[1] <= highG && p[2] >= keyR && p[2] <= highR;
    };

    UniqueRegion result;
    std::vector<RECT> rects;
    rects.reserve(Growth);
    RECT bounds{INT_MAX, INT_MAX, 0, 0};
    auto flush = [&] {
        if (rects.empty()) return;
        std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(rects.size());
        header.rcBound = bounds;
        std::memcpy(data.data(), &header, sizeof header);
        std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
        UniqueRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
        if (!result)
            result = std::move(part);
        else if (part)
            CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
        rects.clear();
        bounds = {INT_MAX, INT_MAX, 0, 0};
    };
    auto add = [&](const RECT& r) {
        if (rects.size() == rects.capacity()) rects.reserve(rects.capacity() + Growth);
        rects.push_back(r);
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
        if (rects.size() == Batch) flush();
    };

    // A row whose runs are the previous row's makes those rectangles one row taller instead of adding
    // its own: border images repeat the same rows down their edges, so a window's region needs a few
    // dozen rectangles rather than one per row (the same region, far less work for the system).
    std::vector<std::pair<int, int>> runs, previousRuns;
    size_t previousFirst = SIZE_MAX;  // where the previous row's rectangles start in rects, if still there
    const int w = pixels.Width();
    for (int y = 0; y < pixels.Height(); ++y) {
        const auto* row = static_cast<const unsigned char*>(pixels.ScanLine(y));
        runs.clear();
        int x = 0;
        while (x < w) {
            while (x < w && isKey(row + x * stride)) ++x;
            const int start = x;
            while (x < w && !isKey(row + x * stride)) ++x;
            if (x > start) runs.emplace_back(start, x);
        }
        if (!runs.empty() && runs == previousRuns && previousFirst != SIZE_MAX &&
            previousFirst + runs.size() == rects.size()) {
            for (size_t i = previousFirst; i < rects.size(); ++i) rects[i].bottom = y + YOffset + 1;
            bounds.bottom = std::max(bounds.bottom, static_cast<LONG>(y + YOffset + 1));
        } else {
            previousFirst = rects.size() + runs.size() < Batch ? rects.size() : SIZE_MAX;
            for (const auto& [x1, x2] : runs) add({x1 + XOffset, y + YOffset, x2 + XOffset, y + YOffset + 1});
            if (rects.empty()) previousFirst = SIZE_MAX;
        }
        std::swap(runs, previousRuns);
    }
    flush();
    return result;
}

void DrawParentBackground(TControl& Control, HDC DC) {
    TWinControl* parent = Control.Parent();
    if (!parent) return;
    TSavedDC saved(DC);
    POINT origin{};
    GetViewportOrgEx(DC, &origin);
    SetViewportOrgEx(DC, origin.x - Control.Left(), origin.y - Control.Top(), nullptr);
    const TRect client = Control.ClientRect().Offset(Control.Left(), Control.Top());
    IntersectClipRect(DC, client.Left, client.Top, client.Right, client.Bottom);
    HWND wnd = parent->Handle();
    SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

int SkinDrawText(HDC DC, const std::wstring& Text, TRect& Rect, UINT Format) {
    RECT r = Rect.ToRECT();
    const int result = DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &r, Format);
    Rect = TRect::FromRECT(r);
    return result;
}

TSkinDrawUse::TSkinDrawUse() {
    if (ScratchUses++ == 0) ScratchImage = NewBitmap(0, 0);
}

TSkinDrawUse::~TSkinDrawUse() {
    if (--ScratchUses == 0) ScratchImage.reset();
}

TBitmap* ScratchBitmap() { return ScratchImage.get(); }
