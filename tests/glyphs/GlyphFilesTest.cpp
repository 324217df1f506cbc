// The committed glyphs and icon as the program meets them: the framework's bitmap reads every glyph
// as a 24-bit picture of its button's size whose transparent colour (its bottom-left pixel) is the key
// colour and whose art reads back, and the system loads the icon at each size it holds as a 32-bit
// image with alpha that draws a solid middle and leaves its corners alone.
#include "base/FileStream.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ResPath(const char* name) {
  const std::string path = std::string(CLARIVO_APP_RES_DIR) + "/" + name;
  return {path.begin(), path.end()};
}

TEST(GlyphFiles, LoadAsTransparentPicturesOfTheirButtonsSizes) {
  struct {
    const char* File;
    int Width, Height;
  } const glyphs[] = {{"FindGlyph.bmp", 32, 32},      {"StopGlyph.bmp", 32, 32},
                      {"UnhideAllGlyph.bmp", 17, 19}, {"UnhideSelectedGlyph.bmp", 21, 18},
                      {"CustomGlyph.bmp", 33, 33},    {"AboutGlyph.bmp", 32, 32},
                      {"DeleteAllGlyph.bmp", 21, 17}, {"DeleteSelectedGlyph.bmp", 39, 17}};
  for (const auto& g : glyphs) {
    TBitmap bitmap;
    TFileStream stream(ResPath(g.File), TFileStream::fmOpenRead);
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(bitmap.Width(), g.Width) << g.File;
    EXPECT_EQ(bitmap.Height(), g.Height) << g.File;
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit) << g.File;
    EXPECT_EQ(ColorToRGB(bitmap.TransparentColor()), RGB(255, 0, 255)) << g.File;
    int drawn = 0;
    for (int y = 0; y < g.Height; ++y)
      for (int x = 0; x < g.Width; ++x) drawn += GetPixel(bitmap.Canvas()->Handle(), x, y) != RGB(255, 0, 255);
    EXPECT_GT(drawn, g.Width * g.Height / 3) << g.File << ": the art reads back, not the key colour";
  }
}

TEST(ProgramIconFile, LoadsAtEverySizeWithAlpha) {
  for (int size : {16, 32, 48}) {
    const UniqueIcon icon(static_cast<HICON>(
        LoadImageW(nullptr, ResPath("Clarivo.ico").c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
    ASSERT_TRUE(icon) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << size;
    const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(colour.get(), sizeof bm, &bm)) << size;
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);
    EXPECT_EQ(bm.bmBitsPixel, 32) << size;

    // Drawn on white: the middle changes, the top-right corner (outside the art) stays white.
    TBitmap canvas;
    canvas.SetPixelFormat(pf24bit);
    canvas.SetSize(size, size);
    HDC dc = canvas.Canvas()->Handle();
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL)) << size;
    EXPECT_EQ(GetPixel(dc, size - 1, 0), RGB(255, 255, 255)) << size;
    EXPECT_NE(GetPixel(dc, size / 2, size / 2), RGB(255, 255, 255)) << size;
  }
}

}  // namespace
