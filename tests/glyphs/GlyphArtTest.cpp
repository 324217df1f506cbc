// The glyphs are made for particular buttons: each must have its button's size, keep its bottom-left
// pixel transparent (the button takes the transparent colour from there) and show real art; the icon
// must carry the three sizes the shell asks for, drawn with alpha, and look like the Find glyph.
#include "GlyphArt.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const TGlyphArt& Art() {
  static const TGlyphArt art = DrawGlyphArt();
  return art;
}

const TGlyphImage* Find(const std::string& button) {
  for (const TGlyphImage& g : Art().Glyphs)
    if (g.Button == button) return &g;
  return nullptr;
}

TEST(Glyphs, EachButtonGetsAGlyphOfItsSize) {
  struct {
    const char* Button;
    int Width, Height;
  } const buttons[] = {{"Find", 32, 32},   {"Stop", 32, 32},  {"UnHide All", 17, 19}, {"UnHide Selected", 21, 18},
                       {"Custom", 33, 33}, {"About", 32, 32}, {"Delete All", 21, 17}, {"Delete Selected", 39, 17}};
  for (const auto& b : buttons) {
    const TGlyphImage* g = Find(b.Button);
    ASSERT_NE(g, nullptr) << b.Button;
    EXPECT_EQ(g->Image.Width(), b.Width) << b.Button;
    EXPECT_EQ(g->Image.Height(), b.Height) << b.Button;
  }
  EXPECT_EQ(Art().Glyphs.size(), std::size(buttons));
}

TEST(Glyphs, BottomLeftIsTransparentAndTheArtIsSolid) {
  for (const TGlyphImage& g : Art().Glyphs) {
    const TPixmap& p = g.Image;
    EXPECT_EQ(p.At(0, p.Height() - 1), KeyColour) << g.File;
    int drawn = 0;
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) drawn += p.At(x, y) != KeyColour;
    // Neither an empty picture nor a filled rectangle: a glyph covers a good part of its box and
    // leaves some of it see-through.
    const int area = p.Width() * p.Height();
    EXPECT_GT(drawn, area / 3) << g.File;
    EXPECT_LT(drawn, area) << g.File;
  }
}

TEST(Glyphs, FilesAreNamedOnceAndReadBackAsTheirPictures) {
  const auto files = Art().Files();
  std::set<std::string> names;
  for (const auto& [name, bytes] : files) EXPECT_TRUE(names.insert(name).second) << name;
  ASSERT_EQ(files.size(), Art().Glyphs.size() + 1);
  for (size_t i = 0; i < Art().Glyphs.size(); ++i) {
    EXPECT_TRUE(files[i].first.ends_with(".bmp")) << files[i].first;
    const TPixmap back = TPixmap::FromBmp(files[i].second);
    const TPixmap& drawn = Art().Glyphs[i].Image;
    ASSERT_EQ(back.Width(), drawn.Width());
    ASSERT_EQ(back.Height(), drawn.Height());
    for (int y = 0; y < drawn.Height(); ++y)
      for (int x = 0; x < drawn.Width(); ++x) ASSERT_EQ(back.At(x, y), drawn.At(x, y)) << files[i].first;
  }
  EXPECT_EQ(files.back().first, "Clarivo.ico");
}

TEST(Glyphs, EveryRunGivesTheSameBytes) {
  const auto again = DrawGlyphArt().Files();
  const auto files = Art().Files();
  ASSERT_EQ(again.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(again[i], files[i]) << files[i].first;
}

TEST(ProgramIcon, HasTheShellSizesWithSoftEdgesAndClearCorners) {
  const std::vector<TRaster>& images = Art().IconImages;
  ASSERT_EQ(images.size(), 3u);
  const int sizes[] = {16, 32, 48};
  for (size_t i = 0; i < images.size(); ++i) {
    const TRaster& image = images[i];
    ASSERT_EQ(image.Width(), sizes[i]);
    ASSERT_EQ(image.Height(), sizes[i]);
    const int last = sizes[i] - 1;
    EXPECT_EQ(image.Straight(last, 0).A, 0) << sizes[i] << ": top-right corner";
    EXPECT_EQ(image.Straight(0, last).A, 0) << sizes[i] << ": bottom-left corner";
    int opaque = 0, partial = 0;
    for (int y = 0; y <= last; ++y)
      for (int x = 0; x <= last; ++x) {
        const int a = image.Straight(x, y).A;
        opaque += a == 255;
        partial += a > 0 && a < 255;
      }
    EXPECT_GT(opaque, sizes[i] * sizes[i] / 3) << sizes[i];
    EXPECT_GT(partial, 0) << sizes[i] << ": edges should be anti-aliased through alpha";
  }
}

TEST(ProgramIcon, ItsMiddleSizeIsTheFindGlyph) {
  const TGlyphImage* find = Find("Find");
  ASSERT_NE(find, nullptr);
  const TPixmap icon = Art().IconImages[1].Flatten(Solid(GlyphMatte));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(icon.At(x, y), find->Image.At(x, y)) << x << "," << y;
}

}  // namespace
