// TBitmap: BMP files of every supported layout load to the right pixels; malformed ones throw
// EInvalidGraphic without reading past the data; save and load round-trip; drawing and transparency;
// the memory DCs the bitmaps borrow from a bounded pool.
#include "base/MemoryStream.h"
#include "ui/Bitmap.h"
#include "ui/Errors.h"
#include "ui/HandleCounts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace {

// The fields of a BMP file that the tests vary; rows are given as stored (bottom-up unless height < 0).
struct TBmpLayout {
    int32_t Width = 2;
    int32_t Height = 2;
    uint16_t Bpp = 24;
    uint32_t Compression = BI_RGB;
    std::vector<uint32_t> Palette;  // 0x00RRGGBB
    std::vector<uint32_t> Masks;    // written after a 40-byte header
    std::vector<uint8_t> Pixels;
    uint32_t HeaderSize = 40;
    uint16_t Planes = 1;
    int64_t ClrUsed = -1;           // -1: the palette's size
    int64_t DataOffset = -1;        // -1: right after the header
    int64_t FileSize = -1;          // -1: the real size
};

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> MakeBmp(const TBmpLayout& s) {
    std::vector<uint8_t> info;
    Put(info, s.HeaderSize, 4);
    Put(info, static_cast<uint32_t>(s.Width), 4);
    Put(info, static_cast<uint32_t>(s.Height), 4);
    Put(info, s.Planes, 2);
    Put(info, s.Bpp, 2);
    Put(info, s.Compression, 4);
    Put(info, s.Pixels.size(), 4);
    Put(info, 0, 8);
    Put(info, s.ClrUsed < 0 ? s.Palette.size() : static_cast<uint64_t>(s.ClrUsed), 4);
    Put(info, 0, 4);
    info.resize(s.HeaderSize, 0);
    for (uint32_t m : s.Masks) Put(info, m, 4);
    for (uint32_t c : s.Palette) Put(info, c, 4);
    uint64_t offset = s.DataOffset < 0 ? 14 + info.size() : static_cast<uint64_t>(s.DataOffset);
    uint64_t size = 14 + info.size() + s.Pixels.size();
    std::vector<uint8_t> file = {'B', 'M'};
    Put(file, s.FileSize < 0 ? size : static_cast<uint64_t>(s.FileSize), 4);
    Put(file, 0, 4);
    Put(file, offset, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.Pixels.begin(), s.Pixels.end());
    return file;
}

void Load(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    bitmap.LoadFromStream(stream);
}

COLORREF PixelAt(TBitmap& b, int x, int y) { return static_cast<COLORREF>(b.Canvas()->Pixel(x, y)); }

struct TGoodCase {
    const char* name;
    TBmpLayout layout;
    TPixelFormat format;
    COLORREF topLeft, topRight, bottomLeft;
};

TEST(BitmapLoad, EveryLayoutGivesTheRightPixels) {
    const TGoodCase cases[] = {
        // rows bottom-up: bottom row first; 2 x 3-byte pixels + 2 bytes of padding
        {"24-bit", {2, 2, 24, BI_RGB, {}, {}, {0, 0, 255, 0, 255, 0, 0, 0, /*top*/ 255, 0, 0, 255, 255, 255, 0, 0}},
         pf24bit, RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 0, 0)},
        {"24-bit top-down", {2, -2, 24, BI_RGB, {}, {}, {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
         pf24bit, RGB(0, 0, 255), RGB(255, 255, 255), RGB(255, 0, 0)},
        {"8-bit, two colours used", {2, 2, 8, BI_RGB, {0x102030, 0xA0B0C0}, {}, {0, 1, 0, 0, 1, 0, 0, 0}},
         pf8bit, RGB(0xA0, 0xB0, 0xC0), RGB(0x10, 0x20, 0x30), RGB(0x10, 0x20, 0x30)},
        {"4-bit", {2, 2, 4, BI_RGB, {0x000000, 0xFF0000, 0x00FF00}, {}, {0x12, 0, 0, 0, 0x21, 0, 0, 0}},
         pf4bit, RGB(0, 255, 0), RGB(255, 0, 0), RGB(255, 0, 0)},
        {"1-bit", {2, 2, 1, BI_RGB, {0x000000, 0xFFFFFF}, {}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}},
         pf1bit, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0)},
        {"32-bit", {2, 1, 32, BI_RGB, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0}}, pf32bit, RGB(3, 2, 1), RGB(6, 5, 4),
         RGB(3, 2, 1)},
        {"16-bit 5-6-5", {2, 1, 16, BI_BITFIELDS, {}, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0x1F, 0x00}},
         pf16bit, RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0)},
        {"16-bit 5-5-5", {2, 1, 16, BI_RGB, {}, {}, {0xE0, 0x03, 0x00, 0x7C}}, pf15bit, RGB(0, 255, 0),
         RGB(255, 0, 0), RGB(0, 255, 0)},
        {"32-bit unusual masks", {1, 1, 32, BI_BITFIELDS, {}, {0x0000FF00, 0x00FF0000, 0xFF000000}, {0, 0x11, 0x22, 0x33}},
         pf32bit, RGB(0x11, 0x22, 0x33), RGB(0x11, 0x22, 0x33), RGB(0x11, 0x22, 0x33)},
    };
    for (const TGoodCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bitmap;
        Load(bitmap, MakeBmp(c.layout));
        EXPECT_EQ(bitmap.Width(), c.layout.Width);
        EXPECT_EQ(bitmap.Height(), std::abs(c.layout.Height));
        EXPECT_EQ(bitmap.PixelFormat(), c.format);
        int right = bitmap.Width() - 1, bottom = bitmap.Height() - 1;
        EXPECT_EQ(PixelAt(bitmap, 0, 0), c.topLeft);
        EXPECT_EQ(PixelAt(bitmap, right, 0), c.topRight);
        EXPECT_EQ(PixelAt(bitmap, 0, bottom), c.bottomLeft);
    }
}

TEST(BitmapLoad, MalformedFilesThrowClearly) {
    auto good = [] { return TBmpLayout{2, 2, 24, BI_RGB, {}, {}, std::vector<uint8_t>(16, 0)}; };
    struct TBadCase {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<TBadCase> cases;
    auto with = [&](const char* name, auto change) {
        TBmpLayout s = good();
        change(s);
        cases.push_back({name, MakeBmp(s)});
    };
    cases.push_back({"empty", {}});
    cases.push_back({"no signature", [&] { auto b = MakeBmp(good()); b[0] = 'X'; return b; }()});
    cases.push_back({"cut in the header", [&] { auto b = MakeBmp(good()); b.resize(30); return b; }()});
    cases.push_back({"cut in the pixels", [&] { auto b = MakeBmp(good()); b.resize(b.size() - 1); return b; }()});
    with("unknown header size", [](TBmpLayout& s) { s.HeaderSize = 20; });
    with("zero width", [](TBmpLayout& s) { s.Width = 0; });
    with("zero height", [](TBmpLayout& s) { s.Height = 0; });
    with("negative width", [](TBmpLayout& s) { s.Width = -2; });
    with("lowest height", [](TBmpLayout& s) { s.Height = INT32_MIN; });
    with("huge", [](TBmpLayout& s) { s.Width = 40000; });
    with("huge area", [](TBmpLayout& s) { s.Width = 30000; s.Height = 30000; });
    with("two planes", [](TBmpLayout& s) { s.Planes = 2; });
    with("7 bits per pixel", [](TBmpLayout& s) { s.Bpp = 7; });
    with("run-length compressed", [](TBmpLayout& s) { s.Bpp = 8; s.Compression = BI_RLE8; s.Palette = {0, 0}; });
    with("bit fields on 24 bits", [](TBmpLayout& s) { s.Compression = BI_BITFIELDS; });
    with("too many colours", [](TBmpLayout& s) { s.Bpp = 1; s.ClrUsed = 3; s.Palette = {0, 0, 0}; });
    with("colour table past the end", [](TBmpLayout& s) { s.Bpp = 8; s.ClrUsed = 200; s.Palette = {0, 0}; });
    with("pixels inside the header", [](TBmpLayout& s) { s.DataOffset = 20; });
    with("pixels past the end", [](TBmpLayout& s) { s.DataOffset = 0x7FFFFFF0; });
    with("file longer than the data", [](TBmpLayout& s) { s.FileSize = 5000; });
    for (const TBadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bitmap;
        EXPECT_THROW(Load(bitmap, c.bytes), EInvalidGraphic);
        EXPECT_TRUE(bitmap.Empty()) << "a failed load leaves the bitmap as it was";
    }
}

TEST(BitmapLoad, DamagedFilesLoadOrFailCleanly) {
    const std::vector<uint8_t> originals[] = {
        MakeBmp({3, 2, 8, BI_RGB, {0x000000, 0xFFFFFF, 0xFF0000}, {}, {0, 1, 2, 0, 2, 1, 0, 0}}),
        MakeBmp({2, 2, 16, BI_BITFIELDS, {}, {0xF800, 0x07E0, 0x001F}, {1, 2, 3, 4, 5, 6, 7, 8}}),
        MakeBmp({2, -2, 24, BI_RGB, {}, {}, std::vector<uint8_t>(16, 9)}),
    };
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = originals[round % 3];
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (random() % 8 == 0) bytes.resize(random() % bytes.size());
        TBitmap bitmap;
        try {
            Load(bitmap, bytes);
        } catch (const EInvalidGraphic&) {
            // the one failure a damaged file may give
        }
    }
}

TEST(BitmapLoad, SaveAndLoadRoundTrip) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(format);
        TBitmap source;
        source.SetPixelFormat(format);
        source.SetSize(5, 3);
        source.Canvas()->SetPixel(0, 0, clWhite);
        source.Canvas()->SetPixel(4, 2, clWhite);
        TMemoryStream stream;
        source.SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap copy;
        copy.LoadFromStream(stream);
        EXPECT_EQ(copy.PixelFormat(), format);
        EXPECT_EQ(copy.Width(), 5);
        EXPECT_EQ(PixelAt(copy, 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(copy, 4, 2), RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(copy, 1, 1), RGB(0, 0, 0));
    }
}

TEST(BitmapLoad, StreamPositionEndsAfterTheFile) {
    auto bytes = MakeBmp({1, 1, 24, BI_RGB, {}, {}, {1, 2, 3, 0}});
    bytes.push_back(0xEE);  // something else stored after the bitmap
    TMemoryStream stream(bytes);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(bytes.size() - 1));
}

TEST(BitmapPixels, ScanLineAddressesRowsFromTheTop) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.BytesPerRow(), 12);
    auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
    top[2] = 255;  // red of (0, 0)
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 0, 0));
    EXPECT_THROW(bitmap.ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphic);
}

TEST(BitmapPixels, SizeChangeKeepsTheOverlap) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    bitmap.Canvas()->SetPixel(1, 1, clRed);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 3, 2), RGB(0, 0, 0));
}

TEST(BitmapPixels, AssignCopiesPixelsAndTransparency) {
    TBitmap a;
    a.SetPixelFormat(pf8bit);
    a.SetSize(2, 2);
    a.Canvas()->SetPixel(0, 0, clWhite);
    a.SetTransparent(true);
    a.SetTransparentColor(clFuchsia);
    TBitmap b;
    b.Assign(&a);
    a.Canvas()->SetPixel(0, 0, clBlack);  // the copy is independent
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(PixelAt(b, 0, 0), RGB(255, 255, 255));
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
    TFont font;
    EXPECT_THROW(b.Assign(&font), EConvertError);
}

TEST(BitmapPixels, TransparentDrawLeavesTheKeyColourOut) {
    TBitmap glyph;
    glyph.SetSize(2, 1);
    glyph.Canvas()->SetPixel(0, 0, clFuchsia);
    glyph.Canvas()->SetPixel(1, 0, clBlue);
    glyph.SetTransparent(true);
    glyph.SetTransparentColor(clFuchsia);
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas()->Brush()->SetColor(clGreen);
    target.Canvas()->FillRect(TRect::FromBounds(0, 0, 2, 1));
    target.Canvas()->Draw(0, 0, glyph);
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(0, 128, 0));
    EXPECT_EQ(PixelAt(target, 1, 0), RGB(0, 0, 255));
    glyph.SetTransparentColor(clDefault);  // the bottom-left pixel's colour then
    EXPECT_EQ(static_cast<COLORREF>(glyph.TransparentColor()), RGB(255, 0, 255));
}

// ---- the DCs bitmaps borrow from the pool ----

// A 24-bit square of one colour, filled through its canvas (so the canvas's objects are selected).
std::unique_ptr<TBitmap> Filled(TColor colour, int side) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(side, side);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(TRect::FromBounds(0, 0, side, side));
    return bitmap;
}

// Enough bitmaps drawn on to have been lent every DC of the pool, taking them from the bitmaps that
// had them; they keep them while they live.
std::vector<std::unique_ptr<TBitmap>> DrawOnManyOthers(TColor colour = clBlack) {
    std::vector<std::unique_ptr<TBitmap>> others;
    for (size_t i = 0; i < 2 * BitmapDCPoolSize; ++i) others.push_back(Filled(colour, 1));
    return others;
}

long MemoryDCs() { return GuiHandleCounts().Of(THandleKind::MemoryDC); }

TEST(BitmapDCs, ManyBitmapsShareABoundedNumberOfDCsAndKeepTheirPixels) {
    const long before = MemoryDCs();
    std::vector<std::unique_ptr<TBitmap>> bitmaps;
    for (int i = 0; i < 100; ++i) bitmaps.push_back(Filled(static_cast<TColor>(i), 2));
    EXPECT_LE(MemoryDCs() - before, static_cast<long>(BitmapDCPoolSize));
    for (int i = 0; i < 100; ++i) {
        HDC dc = bitmaps[static_cast<size_t>(i)]->Canvas()->Handle();
        // Each is selected into the DC its canvas was given, so in no other DC.
        ASSERT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmaps[static_cast<size_t>(i)]->Handle()) << i;
        ASSERT_EQ(GetPixel(dc, 1, 1), static_cast<COLORREF>(i)) << i;
    }
    EXPECT_LE(MemoryDCs() - before, static_cast<long>(BitmapDCPoolSize));
}

TEST(BitmapDCs, DrawingBetweenBitmapsWhoseDCsWentToOthers) {
    auto a = Filled(clRed, 4), b = Filled(clBlue, 4);
    auto others = DrawOnManyOthers();
    ASSERT_FALSE(a->Canvas()->HandleAllocated() || b->Canvas()->HandleAllocated());
    // Both canvases get DCs again in one call: the second must not take the first's.
    BitBlt(a->Canvas()->Handle(), 0, 0, 2, 4, b->Canvas()->Handle(), 0, 0, SRCCOPY);
    EXPECT_EQ(PixelAt(*a, 1, 3), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(*a, 2, 0), RGB(255, 0, 0));

    // Every DC lent starts with the stretch mode that keeps colours (the system's default ANDs pixels
    // together when shrinking; Wine does not, so the mode itself is what can be checked).
    EXPECT_EQ(GetStretchBltMode(a->Canvas()->Handle()), COLORONCOLOR);
}

TEST(BitmapDCs, TheCanvasFontBrushAndColoursComeBackWithTheNextDC) {
    auto a = Filled(clWhite, 8);
    TCanvas& canvas = *a->Canvas();
    canvas.Font()->SetColor(clRed);
    canvas.Font()->SetHeight(-20);
    canvas.TextExtent(L"x");  // selects the font with its colour
    auto others = DrawOnManyOthers();
    EXPECT_FALSE(canvas.HandleAllocated()) << "the DC went to another bitmap";
    canvas.Brush()->SetColor(clGreen);  // changed while the canvas has no DC

    HDC dc = canvas.Handle();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush()->Handle());
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 128, 0));
    PatBlt(dc, 0, 0, 2, 2, PATCOPY);  // the selected brush, as code drawing on the handle relies on
    EXPECT_EQ(PixelAt(*a, 1, 1), RGB(0, 128, 0));
}

TEST(BitmapDCs, StateSetOnTheHandleDoesNotFollowTheDCToTheNextBitmap) {
    auto others = DrawOnManyOthers();  // no DC is idle
    HDC used;
    {
        auto a = Filled(clWhite, 4);
        used = a->Canvas()->Handle();
        SetViewportOrgEx(used, 2, 2, nullptr);
        IntersectClipRect(used, 0, 0, 1, 1);
        SetROP2(used, R2_BLACK);
    }
    auto b = Filled(clBlue, 4);
    ASSERT_EQ(b->Canvas()->Handle(), used) << "the freed bitmap's DC is lent to the next";
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(PixelAt(*b, x, y), RGB(0, 0, 255)) << x << "," << y;
    EXPECT_EQ(GetROP2(used), R2_COPYPEN);
}

TEST(BitmapDCs, ALockedDCStaysWithItsBitmap) {
    const long before = MemoryDCs();
    auto buffer = Filled(clWhite, 4);
    {
        TBitmapDCLock lock(*buffer);
        auto others = DrawOnManyOthers();
        EXPECT_EQ(GetCurrentObject(lock.Handle(), OBJ_BITMAP), buffer->Handle());
        PatBlt(lock.Handle(), 0, 0, 4, 4, BLACKNESS);
        EXPECT_EQ(PixelAt(*buffer, 3, 3), RGB(0, 0, 0));
    }

    // With every DC locked the pool grows, and shrinks back as the locks end.
    std::vector<std::unique_ptr<TBitmap>> locked = DrawOnManyOthers(clRed);
    {
        std::vector<std::unique_ptr<TBitmapDCLock>> locks;
        for (auto& bitmap : locked) locks.push_back(std::make_unique<TBitmapDCLock>(*bitmap));
        EXPECT_GE(MemoryDCs(), static_cast<long>(locked.size()));
        for (size_t i = 0; i < locked.size(); ++i)
            ASSERT_EQ(GetCurrentObject(locks[i]->Handle(), OBJ_BITMAP), locked[i]->Handle()) << i;
    }
    EXPECT_LE(MemoryDCs() - before, static_cast<long>(BitmapDCPoolSize));
    for (auto& bitmap : locked) ASSERT_EQ(PixelAt(*bitmap, 0, 0), RGB(255, 0, 0));
}

TEST(BitmapDCs, AHandleKeptPastItsTurnDrawsIntoNoOtherBitmap) {
    auto a = Filled(clWhite, 4);
    HDC stale = a->Canvas()->Handle();
    auto others = DrawOnManyOthers(clBlack);
    PatBlt(stale, 0, 0, 4, 4, WHITENESS);
    for (auto& other : others) ASSERT_EQ(PixelAt(*other, 0, 0), RGB(0, 0, 0));
}

TEST(BitmapDCs, OnlyTheMainThreadDraws) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    std::exception_ptr failure;
    std::thread([&] {
        try {
            bitmap.Canvas()->Handle();
        } catch (...) {
            failure = std::current_exception();
        }
    }).join();
    EXPECT_THROW(std::rethrow_exception(failure), EInvalidOperation);
}

}  // namespace
