// The generator's own building blocks: what it writes must be a BMP the program's loader reads as
// meant, drawn pixels must never turn transparent by accident, and the same run must give the same bytes.
#include "Pixmap.h"
#include "Raster.h"
#include "SkinArt.h"

#include <gtest/gtest.h>

namespace {

unsigned Get32(const std::vector<std::uint8_t>& b, size_t at) {
  return unsigned(b[at]) | unsigned(b[at + 1]) << 8 | unsigned(b[at + 2]) << 16 | unsigned(b[at + 3]) << 24;
}

TEST(SkinBmp, RowsArePaddedBottomUpAndReadBack) {
  // Widths 1 to 5 need 1, 2, 3, 0 and 1 bytes of padding per row.
  for (int width = 1; width <= 5; ++width) {
    TPixmap p(width, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x)
        p.Set(x, y, {static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 90), static_cast<std::uint8_t>(7)});
    const std::vector<std::uint8_t> bmp = p.ToBmp();
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 54 + 3 * row) << width;
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    EXPECT_EQ(Get32(bmp, 10), 54u);
    EXPECT_EQ(Get32(bmp, 18), unsigned(width));
    EXPECT_EQ(Get32(bmp, 22), 3u);  // positive height: the first row stored is the bottom one
    EXPECT_EQ(bmp[28], 24);
    // Bottom row first, stored blue-green-red.
    EXPECT_EQ(bmp[54], 7);
    EXPECT_EQ(bmp[55], 180);
    EXPECT_EQ(bmp[56], 0);
    const TPixmap back = TPixmap::FromBmp(bmp);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x) EXPECT_EQ(back.At(x, y), p.At(x, y)) << width << ": " << x << "," << y;
  }
}

TEST(SkinRaster, GradientStopAtAPixelCentreComesOutExactly) {
  TRaster r(3, 12);
  r.FillAll(Vertical({{1.5, {170, 202, 247}}, {8.5, {82, 134, 222}}, {11.5, {70, 122, 215}}}));
  const TPixmap p = r.Opaque(Solid({0, 0, 0}));
  EXPECT_EQ(p.At(1, 8), (TRgb8{82, 134, 222}));
  EXPECT_EQ(p.At(1, 1), (TRgb8{170, 202, 247}));
  EXPECT_EQ(p.At(1, 0), (TRgb8{170, 202, 247}));  // before the first stop its colour holds
}

TEST(SkinRaster, FlattenKeysOnlyWhatIsNotDrawn) {
  TRaster r(10, 10);
  r.Fill(Shape::Circle(5, 5, 3), {255, 0, 255});  // exactly the key colour, drawn on purpose
  const TPixmap p = r.Flatten(Solid({255, 0, 255}));
  EXPECT_EQ(p.At(0, 0), KeyColour);
  EXPECT_NE(p.At(5, 5), KeyColour) << "a drawn pixel must not become transparent";
  EXPECT_NE(p.At(5, 2), KeyColour) << "an edge pixel over the matte is still drawn";
}

TEST(SkinRaster, EdgesBlendIntoTheMatte) {
  TRaster r(8, 1);
  r.Fill(Shape::Box(0, 0, 4.5, 1), {0, 0, 0});  // pixel 4 is half covered
  const TPixmap p = r.Flatten(Solid({200, 200, 200}));
  EXPECT_EQ(p.At(3, 0), (TRgb8{0, 0, 0}));
  EXPECT_EQ(p.At(4, 0), (TRgb8{100, 100, 100}));
  EXPECT_EQ(p.At(5, 0), KeyColour);
}

TEST(SkinArt, DrawingIsDeterministic) {
  for (const char* name : {"default", "graphite"}) {
    const TSkinArt first = DrawSkinArt(name), second = DrawSkinArt(name);
    ASSERT_EQ(first.Images.size(), second.Images.size());
    for (size_t i = 0; i < first.Images.size(); ++i)
      EXPECT_EQ(first.Images[i].Image.ToBmp(), second.Images[i].Image.ToBmp()) << name << " " << first.Images[i].File;
  }
  EXPECT_THROW(DrawSkinArt("chrome"), std::invalid_argument);
}

}  // namespace
