// The shared drawing routines, checked pixel by pixel on small bitmaps.
#include "SkinTestKit.h"
#include "skin/draw/SkinDraw.h"
#include "tests/support/HandleGrowth.h"
#include "ui/CustomForm.h"
#include "ui/Panel.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <vector>

namespace {

// A frame of 6 x 6 cut into nine zones of known colours by margins 1, 2, 1, 1 (left, top, right,
// bottom), as frame 2 of a horizontal strip whose frame 1 is all black and which has a leftover column
// of white at its end.
constexpr TSkinMargins Margins{1, 2, 1, 1};
enum TZone { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };
const std::array<TColor, 9> ZoneColour = {RGBOf(10, 0, 0), RGBOf(20, 0, 0), RGBOf(30, 0, 0), RGBOf(40, 0, 0),
                                          RGBOf(50, 0, 0), RGBOf(60, 0, 0), RGBOf(70, 0, 0), RGBOf(80, 0, 0),
                                          RGBOf(90, 0, 0)};

int Band(int v, int size, int low, int high) { return v < low ? 0 : v >= size - high ? 2 : 1; }

TZone ZoneOf(int x, int y, int w, int h, const TSkinMargins& m) {
    return static_cast<TZone>(Band(y, h, m.Top, m.Bottom) * 3 + Band(x, w, m.Left, m.Right));
}

std::unique_ptr<TBitmap> ZonedStrip() {
    return MakeBitmap(13, 6, [](int x, int y) {
        if (x < 6) return clBlack;
        if (x >= 12) return clWhite;
        return ZoneColour[ZoneOf(x - 6, y, 6, 6, Margins)];
    });
}

TEST(BuildSkinImage, KeepsCornersAndEdgesAndStretchesTheCentre) {
    auto strip = ZonedStrip();
    auto image = BuildSkinImage({5, 5, 15, 13}, *strip, Margins, false, false, 2, 2);
    ASSERT_EQ(image->Width(), 10);
    ASSERT_EQ(image->Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(PixelAt(*image, x, y), ZoneColour[ZoneOf(x, y, 10, 8, Margins)]) << x << "," << y;
}

TEST(BuildSkinImage, CutsFramesOfVerticalStrips) {
    // Frame 2 of 2 stacked frames; the leftover row at the bottom belongs to no frame.
    auto strip = MakeBitmap(6, 13, [](int x, int y) {
        return y < 6 ? clBlack : y == 12 ? clWhite : ZoneColour[ZoneOf(x, y - 6, 6, 6, Margins)];
    });
    auto image = BuildSkinImage({0, 0, 6, 6}, *strip, Margins, true, false, 2, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(PixelAt(*image, x, y), ZoneColour[ZoneOf(x, y, 6, 6, Margins)]);
}

TEST(BuildSkinImage, DropsMarginsThatDoNotFit) {
    // Margins of 3 on both sides of a 4-wide frame do not fit 5 pixels: the whole frame becomes the
    // centre, which (tiled, so the pixels are exact) repeats from the destination's left border. With the
    // margins kept the parts would read c0 c1 c1 c2 c3.
    const TColor c[] = {RGBOf(1, 0, 0), RGBOf(2, 0, 0), RGBOf(3, 0, 0), RGBOf(4, 0, 0)};
    auto row = MakeBitmap(4, 1, [&](int x, int) { return c[x]; });
    auto wide = BuildSkinImage({0, 0, 5, 1}, *row, {3, 0, 3, 0}, false, true, 1, 1);
    const TColor acrossExpected[] = {c[0], c[1], c[2], c[3], c[0]};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*wide, x, 0), acrossExpected[x]) << x;
    // The same for the height with top and bottom margins.
    auto column = MakeBitmap(1, 4, [&](int, int y) { return c[y]; });
    auto tall = BuildSkinImage({0, 0, 1, 5}, *column, {0, 3, 0, 3}, false, true, 1, 1);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(PixelAt(*tall, 0, y), acrossExpected[y]) << y;
    // Margins that fit are kept: 3 + 3 of a 4-wide frame in 6 pixels.
    auto kept = BuildSkinImage({0, 0, 6, 1}, *row, {3, 0, 3, 0}, false, true, 1, 1);
    const TColor keptExpected[] = {c[0], c[1], c[2], c[1], c[2], c[3]};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*kept, x, 0), keptExpected[x]) << x;
}

TEST(BuildSkinImage, MarginsFromAMalformedSkinAreTamed) {
    // Negative margins count as none; margins near the integer limit are simply too wide.
    auto strip = ZonedStrip();
    auto negative = BuildSkinImage({0, 0, 6, 6}, *strip, {-5, -5, -5, -5}, false, false, 2, 2);
    auto none = BuildSkinImage({0, 0, 6, 6}, *strip, {}, false, false, 2, 2);
    auto huge = BuildSkinImage({0, 0, 6, 6}, *strip, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, false, false, 2, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(PixelAt(*negative, x, y), PixelAt(*none, x, y));
            ASSERT_EQ(PixelAt(*huge, x, y), PixelAt(*none, x, y));
        }
}

TEST(BuildSkinImage, ZeroMarginLetsTheCentreReachThatBorder) {
    auto strip = ZonedStrip();
    auto image = BuildSkinImage({0, 0, 10, 8}, *strip, {0, 2, 1, 1}, false, false, 2, 2);
    // Nothing is taken from a left part: the leftmost column now comes from the centre's source, which
    // starts at the frame's left border.
    EXPECT_EQ(PixelAt(*image, 0, 0), ZoneColour[TopLeft]);  // top edge from the frame's left border
    EXPECT_EQ(PixelAt(*image, 0, 4), ZoneColour[Left]);
    EXPECT_EQ(PixelAt(*image, 9, 4), ZoneColour[Right]);
}

TEST(BuildSkinImage, TiledCentreOverhangIsCoveredByTheRightAndBottomParts) {
    // Centre 4 x 4 of an 8 x 8 frame (margins 2): left half A, right half B.
    const TColor A = RGBOf(0, 100, 0), B = RGBOf(0, 200, 0), Edge = RGBOf(0, 0, 250);
    auto frame = MakeBitmap(8, 8, [&](int x, int y) {
        if (x < 2 || x >= 6 || y < 2 || y >= 6) return Edge;
        return x < 4 ? A : B;
    });
    // Destination 14 x 11: the centre (2, 2)-(12, 9) takes tiles at x = 2, 6, 10 and y = 2, 6; the last
    // column and row reach past it and are covered by the right and bottom parts.
    auto image = BuildSkinImage({0, 0, 14, 11}, *frame, {2, 2, 2, 2}, false, true, 1, 1);
    for (int y = 2; y < 9; ++y) {
        EXPECT_EQ(PixelAt(*image, 2, y), A);
        EXPECT_EQ(PixelAt(*image, 4, y), B);
        EXPECT_EQ(PixelAt(*image, 10, y), A);
        EXPECT_EQ(PixelAt(*image, 11, y), A);
        EXPECT_EQ(PixelAt(*image, 12, y), Edge) << y;
    }
    for (int x = 0; x < 14; ++x) EXPECT_EQ(PixelAt(*image, x, 9), Edge) << x;
}

TEST(DrawSkinImage, MagentaLeavesTheDestinationUntouched) {
    const TColor Under = RGBOf(1, 2, 3), Ink = RGBOf(200, 100, 50);
    auto frame = MakeBitmap(4, 4, [&](int x, int y) { return (x + y) % 2 ? Magenta : Ink; });
    auto dest = SolidBitmap(8, 8, Under);
    DrawSkinImage(dest->Canvas()->Handle(), {2, 2, 6, 6}, *frame, false, false, true, 1, 1, {});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
            const TColor expected = inside && (x + y) % 2 == 0 ? Ink : Under;
            ASSERT_EQ(PixelAt(*dest, x, y), expected) << x << "," << y;
        }
    // Opaque drawing copies the magenta too.
    DrawSkinImage(dest->Canvas()->Handle(), {2, 2, 6, 6}, *frame, false, false, false, 1, 1, {});
    EXPECT_EQ(PixelAt(*dest, 3, 2), Magenta);
}

TEST(DrawSkinImage, InvertedRectangleDrawsNothing) {
    auto frame = SolidBitmap(4, 4, clBlack);
    auto dest = SolidBitmap(4, 4, clWhite);
    DrawSkinImage(dest->Canvas()->Handle(), {3, 0, 1, 4}, *frame, false, false, false, 1, 1, {});
    DrawSkinFrame(dest->Canvas()->Handle(), {0, 3, 4, 1}, *frame, false, 1, 1);
    DrawSkinGlyph(dest->Canvas()->Handle(), {3, 3, 1, 1}, *frame, false, 1, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(PixelAt(*dest, x, y), clWhite);
}

TEST(DrawSkinGlyph, CentresTheFrameUnscaled) {
    // Frame 2 of two 4 x 2 frames: red; centred in (10, 10)-(20, 21) it lands at (13, 14).
    auto strip = MakeBitmap(8, 2, [](int x, int) { return x < 4 ? clBlack : RGBOf(255, 0, 0); });
    auto dest = SolidBitmap(24, 24, clWhite);
    DrawSkinGlyph(dest->Canvas()->Handle(), {10, 10, 20, 21}, *strip, false, 2, 2);
    EXPECT_EQ(PixelAt(*dest, 12, 14), clWhite);
    EXPECT_EQ(PixelAt(*dest, 13, 14), RGBOf(255, 0, 0));
    EXPECT_EQ(PixelAt(*dest, 16, 15), RGBOf(255, 0, 0));
    EXPECT_EQ(PixelAt(*dest, 17, 15), clWhite);
    EXPECT_EQ(PixelAt(*dest, 13, 16), clWhite);

    // A 6 x 6 glyph in a 3 x 3 rectangle at (5, 5) overhangs by one pixel on each side... truncating
    // (3 - 6) / 2 toward zero puts it at 4.
    auto big = MakeBitmap(6, 6, [](int x, int y) { return RGBOf(x * 10, y * 10, 99); });
    DrawSkinGlyph(dest->Canvas()->Handle(), {5, 5, 8, 8}, *big, false, 1, 1);
    EXPECT_EQ(PixelAt(*dest, 4, 4), RGBOf(0, 0, 99));
    EXPECT_EQ(PixelAt(*dest, 9, 9), RGBOf(50, 50, 99));
    EXPECT_EQ(PixelAt(*dest, 3, 4), clWhite);
}

TEST(DrawSkinFrame, StretchesOneFrameAndIgnoresLeftoverColumns) {
    // Three frames of 2 columns in a 7-wide image: the seventh column is never shown.
    auto strip = MakeBitmap(7, 1, [](int x, int) { return x < 2 ? clBlack : x < 4 ? RGBOf(0, 0, 255) : x < 6 ? RGBOf(0, 255, 0) : Magenta; });
    auto dest = SolidBitmap(6, 2, clWhite);
    DrawSkinFrame(dest->Canvas()->Handle(), {0, 0, 6, 2}, *strip, false, 3, 3);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*dest, x, 1), RGBOf(0, 255, 0));
}

TEST(SkinFrameRect, FramesStayInsideTheImage) {
    TBitmap strip;
    strip.SetSize(31, 8);
    EXPECT_EQ(SkinFrameRect(strip, false, 3, 2), (TRect{10, 0, 20, 8}));
    EXPECT_EQ(SkinFrameRect(strip, false, 3, 9), (TRect{20, 0, 30, 8}));
    EXPECT_EQ(SkinFrameRect(strip, false, 0, 1), (TRect{0, 0, 31, 8}));
    EXPECT_EQ(SkinFrameRect(strip, true, 4, 0), (TRect{0, 0, 31, 2}));
    EXPECT_EQ(SkinFrameRect(strip, true, 4, 4), (TRect{0, 6, 31, 8}));
}

TEST(DrawSkinBar, CapsStretchedToFullHeightWithTiledMiddle) {
    // Frame 6 wide: left cap 1 (L), middle 4 of two colours (M1, M2), right cap 1 (R).
    const TColor L = RGBOf(1, 0, 0), M1 = RGBOf(2, 0, 0), M2 = RGBOf(3, 0, 0), R = RGBOf(4, 0, 0);
    auto frame = MakeBitmap(6, 2, [&](int x, int) { return x == 0 ? L : x == 5 ? R : x < 3 ? M1 : M2; });
    auto dest = SolidBitmap(12, 6, clWhite);
    DrawSkinBar(*dest->Canvas(), {1, 1, 11, 5}, *frame, false, false, 1, 1, {1, 9, 1, 9});
    const TColor expected[] = {clWhite, L, M1, M1, M2, M2, M1, M1, M2, M2, R, clWhite};
    for (int y = 1; y < 5; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(PixelAt(*dest, x, y), expected[x]) << x << "," << y;
    EXPECT_EQ(PixelAt(*dest, 5, 0), clWhite);
}

TEST(DrawSkinBar, MarginsFillingTheFrameDrawOnlyTheCapsAndKeepMagentaOut) {
    const TColor L = RGBOf(1, 0, 0), R = RGBOf(4, 0, 0), Under = RGBOf(7, 7, 7);
    auto frame = MakeBitmap(4, 1, [&](int x, int) { return x < 2 ? L : x == 2 ? Magenta : R; });
    auto dest = SolidBitmap(10, 1, Under);
    DrawSkinBar(*dest->Canvas(), {0, 0, 10, 1}, *frame, false, true, 1, 1, {2, 0, 2, 0});
    // Nothing is drawn between the caps, and the cap's magenta pixel shows what lies beneath.
    const TColor expected[] = {L, L, Under, Under, Under, Under, Under, Under, Under, R};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*dest, x, 0), expected[x]) << x;
}

TEST(DrawSkinHBar, ThreeStretchedPartsOrTheWholeFrameWhenTooWide) {
    const TColor L = RGBOf(1, 0, 0), M = RGBOf(2, 0, 0), R = RGBOf(4, 0, 0);
    auto frame = MakeBitmap(4, 2, [&](int x, int) { return x == 0 ? L : x == 3 ? R : M; });
    auto dest = SolidBitmap(8, 3, clWhite);
    DrawSkinHBar(dest->Canvas()->Handle(), {0, 0, 8, 3}, *frame, false, 1, 1, {1, 0, 1, 0});
    const TColor wide[] = {L, M, M, M, M, M, M, R};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(*dest, x, 2), wide[x]);
    // Narrower than the frame: the whole frame is squeezed in (which columns survive is the system's
    // choice), not a left and a right cap side by side.
    auto small = SolidBitmap(2, 1, clWhite);
    DrawSkinHBar(small->Canvas()->Handle(), {0, 0, 2, 1}, *frame, false, 1, 1, {1, 0, 1, 0});
    const TColor first = PixelAt(*small, 0, 0), second = PixelAt(*small, 1, 0);
    for (TColor c : {first, second}) EXPECT_TRUE(c == L || c == M || c == R) << c;
    EXPECT_FALSE(first == L && second == R);
}

// The rectangles a region consists of.
std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<unsigned char> data(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    return {rects, rects + header->nCount};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RegionFromBitmap, EachRunOfOpaquePixelsIsOneRowHighRectangle) {
    // K = key; rows: "K..K." and "KKKKK" and ".KKK."
    const char* rows[] = {"K..K.", "KKKKK", ".KKK."};
    auto bitmap = MakeBitmap(5, 3, [&](int x, int y) { return rows[y][x] == 'K' ? Magenta : clBlack; });
    UniqueRegion region = RegionFromBitmap(*bitmap, 10, 20, 0, 0, 0, Magenta);
    ASSERT_TRUE(region);
    const std::vector<RECT> rects = RegionRects(region.get());
    const RECT expected[] = {{11, 20, 13, 21}, {14, 20, 15, 21}, {10, 22, 11, 23}, {14, 22, 15, 23}};
    ASSERT_EQ(rects.size(), std::size(expected));
    for (size_t i = 0; i < rects.size(); ++i) EXPECT_TRUE(SameRect(rects[i], expected[i])) << i;
}

TEST(RegionFromBitmap, TolerancesWidenTheKeyUpwardOnly) {
    const TColor key = RGBOf(200, 100, 50);
    const TColor pixels[] = {RGBOf(205, 100, 50), RGBOf(199, 100, 50), RGBOf(200, 103, 54), RGBOf(200, 100, 56)};
    auto bitmap = MakeBitmap(4, 1, [&](int x, int) { return pixels[x]; });
    UniqueRegion region = RegionFromBitmap(*bitmap, 0, 0, 5, 3, 10, key);
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 1, 0));   // red below the key
    EXPECT_FALSE(PtInRegion(region.get(), 2, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 3, 0));   // blue above the tolerance
}

TEST(RegionFromBitmap, MergesBatchesOfRectanglesIntoOneRegion) {
    // 2,600 separate runs on two rows: more than one batch of 2,000 rectangles. The region joins the
    // runs of the two rows that lie above each other.
    auto bitmap = MakeBitmap(2600, 2, [](int x, int) { return x % 2 ? Magenta : clBlack; });
    UniqueRegion region = RegionFromBitmap(*bitmap, 0, 0, 0, 0, 0, Magenta);
    ASSERT_TRUE(region);
    EXPECT_EQ(RegionRects(region.get()).size(), 1300u);
    RECT box{};
    GetRgnBox(region.get(), &box);
    EXPECT_TRUE(SameRect(box, RECT{0, 0, 2599, 2}));
    for (int x : {0, 1998, 2000, 2598}) EXPECT_TRUE(PtInRegion(region.get(), x, 1)) << x;
    for (int x : {1, 1999, 2001, 2599}) EXPECT_FALSE(PtInRegion(region.get(), x, 1)) << x;
}

TEST(RegionFromBitmap, RepeatedRowsAndEveryPixelFormatGiveTheSameRegion) {
    // A border's shape: rounded top rows, then the same row 200 times (taken as one tall rectangle).
    // Whatever the bitmap's format, the region is the same.
    const char* top[] = {"KK..KK", "K....K"};
    auto shape = [&](int x, int y) { return y < 2 && top[y][x] == 'K' ? Magenta : (x == 2 ? clBlack : clWhite); };
    UniqueRegion expected(CreateRectRgn(2, 0, 4, 1));
    UniqueRegion rest(CreateRectRgn(1, 1, 5, 2));
    CombineRgn(expected.get(), expected.get(), rest.get(), RGN_OR);
    rest.reset(CreateRectRgn(0, 2, 6, 202));
    CombineRgn(expected.get(), expected.get(), rest.get(), RGN_OR);
    for (TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
        auto bitmap = MakeBitmap(6, 202, shape);
        bitmap->SetPixelFormat(format);
        UniqueRegion region = RegionFromBitmap(*bitmap, 0, 0, 0, 0, 0, Magenta);
        ASSERT_TRUE(region) << format;
        EXPECT_TRUE(EqualRgn(region.get(), expected.get())) << format;
    }
}

TEST(RegionFromBitmap, NoRegionWithoutOpaquePixels) {
    EXPECT_FALSE(RegionFromBitmap(*SolidBitmap(7, 3, Magenta), 0, 0, 0, 0, 0, Magenta));
    TBitmap empty;
    EXPECT_FALSE(RegionFromBitmap(empty, 0, 0, 0, 0, 0, Magenta));
}

TEST(DrawingRoutines, AnEarlierLargerDrawingLeavesNoTraceInTheNextOne) {
    // The routines share one off-screen surface: a 60 x 50 white image leaves it at least that large
    // and white.
    auto white = SolidBitmap(2, 2, clWhite);
    auto large = SolidBitmap(60, 50, clBlack);
    const auto whiteAll = [&] { DrawSkinFrame(large->Canvas()->Handle(), {0, 0, 60, 50}, *white, false, 1, 1); };
    const TColor Under = RGBOf(1, 2, 3);

    // A frame past the image's last whole column is empty: what is drawn is black, as a new bitmap is.
    whiteAll();
    auto dest = SolidBitmap(8, 8, Under);
    DrawSkinFrame(dest->Canvas()->Handle(), {0, 0, 4, 4}, *SolidBitmap(2, 1, clWhite), false, 3, 3);
    EXPECT_EQ(PixelAt(*dest, 3, 3), clBlack);
    EXPECT_EQ(PixelAt(*dest, 4, 4), Under) << "only the rectangle asked for is drawn";

    // Only the glyph's own pixels are drawn, keyed or not.
    for (bool trans : {false, true}) {
        whiteAll();
        auto glyphDest = SolidBitmap(8, 8, Under);
        DrawSkinGlyph(glyphDest->Canvas()->Handle(), {0, 0, 8, 8}, *SolidBitmap(2, 2, clBlack), trans, 1, 1);
        EXPECT_EQ(PixelAt(*glyphDest, 3, 3), clBlack);
        EXPECT_EQ(PixelAt(*glyphDest, 2, 2), Under);
        EXPECT_EQ(PixelAt(*glyphDest, 5, 5), Under);
    }
}

TEST(DrawingRoutines, RepeatedCallsHoldNoMoreHandles) {
    auto strip = ZonedStrip();
    auto dest = SolidBitmap(40, 30, clWhite);
    const std::pair<const char*, std::function<void()>> routines[] = {
        {"DrawSkinImage",
         [&] { DrawSkinImage(dest->Canvas()->Handle(), {1, 2, 31, 22}, *strip, false, false, false, 2, 2, Margins); }},
        {"DrawSkinImage tiled, keyed",
         [&] { DrawSkinImage(dest->Canvas()->Handle(), {1, 2, 31, 22}, *strip, false, true, true, 2, 2, Margins); }},
        {"BuildSkinImage", [&] { BuildSkinImage({0, 0, 20, 9}, *strip, Margins, false, true, 2, 2); }},
        {"DrawSkinBar", [&] { DrawSkinBar(*dest->Canvas(), {0, 0, 25, 7}, *strip, false, true, 2, 2, Margins); }},
        {"DrawSkinFrame", [&] { DrawSkinFrame(dest->Canvas()->Handle(), {3, 3, 20, 20}, *strip, true, 2, 1); }},
        {"DrawSkinGlyph", [&] { DrawSkinGlyph(dest->Canvas()->Handle(), {3, 3, 20, 20}, *strip, false, 2, 2); }},
        {"DrawSkinHBar", [&] { DrawSkinHBar(dest->Canvas()->Handle(), {0, 0, 30, 6}, *strip, false, 2, 2, Margins); }},
        {"TileImage", [&] { TileImage(*dest->Canvas(), {0, 0, 40, 30}, *strip, {6, 0, 12, 6}); }},
        {"RegionFromBitmap", [&] { RegionFromBitmap(*strip, 0, 0, 0, 0, 0, clBlack); }},
    };
    for (const auto& [name, routine] : routines) ExpectNoHandleGrowth(name, 6, routine);
}

TEST(ScratchBitmap, LivesWhileTheModuleIsUsed) {
    EXPECT_EQ(ScratchBitmap(), nullptr);
    {
        TSkinDrawUse outer;
        ASSERT_NE(ScratchBitmap(), nullptr);
        TBitmap* scratch = ScratchBitmap();
        {
            TSkinDrawUse inner;
            EXPECT_EQ(ScratchBitmap(), scratch);
        }
        EXPECT_EQ(ScratchBitmap(), scratch);
        EXPECT_EQ(GetStretchBltMode(scratch->Canvas()->Handle()), COLORONCOLOR);
    }
    EXPECT_EQ(ScratchBitmap(), nullptr);
}

TEST(DrawParentBackground, TheParentPaintsBehindTheControlOnly) {
    const TColor FormColour = RGBOf(10, 20, 30), Before = RGBOf(200, 200, 200);
    TForm* form = new TForm(nullptr);
    form->SetClientSize({200, 150});
    form->SetColor(FormColour);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(30, 40, 50, 20);
    auto surface = SolidBitmap(80, 40, Before);
    HDC dc = surface->Canvas()->Handle();
    DrawParentBackground(*panel, dc);
    EXPECT_EQ(PixelAt(*surface, 0, 0), FormColour);
    EXPECT_EQ(PixelAt(*surface, 49, 19), FormColour);
    EXPECT_EQ(PixelAt(*surface, 50, 5), Before);  // outside the control: clipped
    EXPECT_EQ(PixelAt(*surface, 5, 20), Before);
    POINT origin{-1, -1};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);  // the context is given back as it was
    EXPECT_EQ(origin.y, 0);

    TPanel orphan(nullptr);
    auto untouched = SolidBitmap(4, 4, Before);
    DrawParentBackground(orphan, untouched->Canvas()->Handle());
    EXPECT_EQ(PixelAt(*untouched, 1, 1), Before);
    TCustomForm::Free(form);
}

TEST(SkinDrawText, MeasuresWithCalcRect) {
    auto bitmap = SolidBitmap(100, 30, clWhite);
    TRect rect{0, 0, 0, 0};
    const int height = SkinDrawText(bitmap->Canvas()->Handle(), L"Clarivo", rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_GT(rect.Width(), 0);
    EXPECT_EQ(rect.Height(), height);
}

}  // namespace
