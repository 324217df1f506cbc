// Colour mixing, gradients, saturation and the in-place image conversions.
#include "SkinTestKit.h"
#include "skin/data/SkinConvert.h"

#include <gtest/gtest.h>

namespace {

TEST(Blend, SharesArePercentBelowHundredAndPerMilleFromHundred) {
    const TColor c = RGBOf(10, 200, 40);
    // 15 % grey and 85 % c, rounded half up per channel.
    EXPECT_EQ(Blend(0x808080, c, 150), RGBOf((128 * 150 + 10 * 850 + 500) / 1000, (128 * 150 + 200 * 850 + 500) / 1000,
                                             (128 * 150 + 40 * 850 + 500) / 1000));
    EXPECT_EQ(Blend(RGBOf(0, 1, 2), clWhite, 50), RGBOf(128, 128, 129));  // the exact middle, halves up
    EXPECT_EQ(Blend(RGBOf(100, 100, 100), clBlack, 99), RGBOf(99, 99, 99));
    EXPECT_EQ(Blend(RGBOf(100, 100, 100), clBlack, 100), RGBOf(10, 10, 10));
}

TEST(Blend, ResolvesSystemColours) {
    const auto face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Blend(SystemColor(COLOR_BTNFACE), clBlack, 99), Blend(face, clBlack, 99));
}

TEST(ColorSaturation, GreyishColoursCountAsTwoHundred) {
    EXPECT_EQ(ColorSaturation(RGBOf(150, 150, 150)), 200);
    EXPECT_EQ(ColorSaturation(RGBOf(255, 0, 0)), 255);
    EXPECT_EQ(ColorSaturation(RGBOf(200, 200, 200)), 0);
    EXPECT_EQ(ColorSaturation(RGBOf(82, 134, 222)), 161);
    // 255 * 0.5 = 127.5: a half rounds to the even neighbour.
    EXPECT_EQ(ColorSaturation(RGBOf(200, 100, 100)), 128);
}

TEST(GradientCache, TablesRunFromFirstToLastColourEvenly) {
    TGradientCache cache;
    const auto& grey = cache.Table(cache.Get(3, clBlack, clWhite));
    EXPECT_EQ(grey, (std::vector<TColor>{clBlack, RGBOf(128, 128, 128), clWhite}));

    // Falling channels end exactly on the last colour too.
    const auto& falling = cache.Table(cache.Get(4, RGBOf(255, 10, 0), RGBOf(0, 0, 7)));
    ASSERT_EQ(falling.size(), 4u);
    EXPECT_EQ(falling.front(), RGBOf(255, 10, 0));
    EXPECT_EQ(falling.back(), RGBOf(0, 0, 7));
    for (size_t i = 1; i < falling.size(); ++i) EXPECT_LT(falling[i] & 0xFF, falling[i - 1] & 0xFF);

    EXPECT_EQ(cache.Table(cache.Get(1, clBlack, RGBOf(255, 100, 3))), (std::vector<TColor>{RGBOf(127, 50, 1)}));
}

TEST(GradientCache, ReusesTablesAndOverwritesTheOldestOfSixteen) {
    TGradientCache cache;
    const int first = cache.Get(3, clBlack, clWhite);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(cache.Get(3, clBlack, clWhite), first);
    for (int i = 1; i < TGradientCache::SlotCount; ++i) EXPECT_EQ(cache.Get(3 + i, clBlack, clWhite), i);
    // The seventeenth distinct table takes slot 0; the first one is gone.
    EXPECT_EQ(cache.Get(100, clBlack, clWhite), 0);
    EXPECT_EQ(cache.Table(0).size(), 100u);
    EXPECT_EQ(cache.Get(3, clBlack, clWhite), 1);
}

TEST(GradientFill, DrawsOnlyTheLinesInsideTheClipBox) {
    auto bitmap = SolidBitmap(4, 10, Magenta);
    HDC dc = bitmap->Canvas()->Handle();
    {
        TSavedDC saved(dc);
        IntersectClipRect(dc, 0, 3, 4, 6);
        GradientFill(dc, {0, 0, 4, 10}, clBlack, true, RGBOf(9, 90, 225));
    }
    EXPECT_EQ(PixelAt(*bitmap, 0, 2), Magenta);
    EXPECT_EQ(PixelAt(*bitmap, 0, 3), RGBOf(3, 30, 75));  // line 3 of 10 from black to (9, 90, 225)
    EXPECT_EQ(PixelAt(*bitmap, 3, 5), RGBOf(5, 50, 125));
    EXPECT_EQ(PixelAt(*bitmap, 0, 6), Magenta);

    GradientFill(dc, {0, 0, 4, 10}, SystemColor(COLOR_WINDOW), false, clBlack);
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(PixelAt(*bitmap, 3, 9), clBlack);
}

TEST(ImageConversions, MirrorFlipAndRotateMovePixelsWhereSaid) {
    auto colour = [](int x, int y) { return RGBOf(x * 40, y * 40, 7); };
    auto original = MakeBitmap(3, 2, colour);

    auto mirrored = MakeBitmap(3, 2, colour);
    MirrorBitmap(*mirrored);
    auto flipped = MakeBitmap(3, 2, colour);
    FlipBitmap(*flipped);
    auto left = MakeBitmap(3, 2, colour);
    RotateLeft(*left);
    auto right = MakeBitmap(3, 2, colour);
    RotateRight(*right);
    ASSERT_EQ(left->Width(), 2);
    ASSERT_EQ(left->Height(), 3);
    ASSERT_EQ(right->Width(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(PixelAt(*mirrored, 2 - x, y), colour(x, y));
            EXPECT_EQ(PixelAt(*flipped, x, 1 - y), colour(x, y));
            EXPECT_EQ(PixelAt(*left, y, 2 - x), colour(x, y));
            EXPECT_EQ(PixelAt(*right, 1 - y, x), colour(x, y));
        }

    RotateRight(*left);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(*left, x, y), PixelAt(*original, x, y));
}

TEST(ImageConversions, MirrorFramesKeepsTheFrameOrder) {
    // Three frames of 3 columns and a leftover column: 0 1 2 | 3 4 5 | 6 7 8 | 9.
    auto bitmap = MakeBitmap(10, 1, [](int x, int) { return RGBOf(x, 0, 0); });
    MirrorFrames(*bitmap, 3);
    const int expected[] = {2, 1, 0, 5, 4, 3, 8, 7, 6, 9};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*bitmap, x, 0), RGBOf(expected[x], 0, 0)) << x;
}

TEST(ImageConversions, ConvertOtherFormatsToTwentyFourBits) {
    auto bitmap = SolidBitmap(2, 2, RGBOf(255, 0, 0));
    bitmap->SetPixelFormat(pf32bit);
    MirrorBitmap(*bitmap);
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(PixelAt(*bitmap, 1, 1), RGBOf(255, 0, 0));
}

TEST(ReplaceMagenta, ReplacesExactlyMagenta) {
    auto bitmap = MakeBitmap(3, 1, [](int x, int) { return x == 0 ? Magenta : x == 1 ? RGBOf(255, 1, 255) : clBlack; });
    ReplaceMagenta(*bitmap, RGBOf(1, 2, 3));
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), RGBOf(1, 2, 3));
    EXPECT_EQ(PixelAt(*bitmap, 1, 0), RGBOf(255, 1, 255));
    EXPECT_EQ(PixelAt(*bitmap, 2, 0), clBlack);
    // A system colour reference is not resolved: its low three bytes are taken as they are.
    ReplaceMagenta(*(bitmap = SolidBitmap(1, 1, Magenta)), SystemColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), COLOR_BTNFACE);
}

TEST(GrayscaleBitmap, TakesThePlainMeanOfTheChannels) {
    auto bitmap = SolidBitmap(1, 1, RGBOf(10, 20, 60));
    bitmap->SetPixelFormat(pf32bit);
    GrayscaleBitmap(*bitmap);
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), RGBOf(30, 30, 30));
}

}  // namespace
