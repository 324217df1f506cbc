#include "PreviewSheet.h"

#include "LabelFont.h"

#include <algorithm>
#include <string>

namespace {
constexpr int Zoom = 8, Pad = 12, Gap = 8;
constexpr TRgb8 Paper{250, 250, 250}, Ink{40, 40, 48}, Dark{52, 58, 70}, White8{255, 255, 255};

TRgb8 CheckerAt(int x, int y) { return ((x / 4 + y / 4) % 2) ? TRgb8{204, 204, 204} : TRgb8{255, 255, 255}; }

// Draws a picture scale times larger; its transparent pixels leave a checkerboard (ground empty) or
// the given ground showing.
void PutKeyed(TPixmap& dst, const TPixmap& src, int x, int y, int scale, const TRgb8* ground) {
  for (int j = 0; j < src.Height() * scale; ++j)
    for (int i = 0; i < src.Width() * scale; ++i) {
      const TRgb8 c = src.At(i / scale, j / scale);
      dst.Set(x + i, y + j, c != KeyColour ? c : ground ? *ground : CheckerAt(i, j));
    }
}

// Lays an image with alpha over a ground, the way the shell draws an icon.
void PutBlended(TPixmap& dst, const TRaster& src, int x, int y, int scale, const TRgb8* ground) {
  for (int j = 0; j < src.Height() * scale; ++j)
    for (int i = 0; i < src.Width() * scale; ++i) {
      const TRgba8 p = src.Straight(i / scale, j / scale);
      const TRgb under = FromRgb8(ground ? *ground : CheckerAt(i, j));
      dst.Set(x + i, y + j, ToRgb8(Mix(under, FromRgb8({p.R, p.G, p.B}), p.A / 255.0)));
    }
}

struct TSample {
  std::string Label;
  int Width, Height;
  // Draws the picture at (x, y), scale times larger, over ground (nullptr: checkerboard).
  std::function<void(TPixmap&, int, int, int, const TRgb8*)> Put;
};
}  // namespace

TPixmap TPreviewSheet::Render(const TGlyphArt& art) {
  std::vector<TSample> samples;
  for (const TGlyphImage& g : art.Glyphs)
    samples.push_back({g.File + "  " + std::to_string(g.Image.Width()) + "x" + std::to_string(g.Image.Height()) +
                           "  (" + g.Button + ")",
                       g.Image.Width(), g.Image.Height(),
                       [&g](TPixmap& dst, int x, int y, int scale, const TRgb8* ground) {
                         PutKeyed(dst, g.Image, x, y, scale, ground);
                       }});
  for (const TRaster& icon : art.IconImages)
    samples.push_back({art.IconFile + "  " + std::to_string(icon.Width()) + "x" + std::to_string(icon.Height()) +
                           "  32-bit with alpha",
                       icon.Width(), icon.Height(),
                       [&icon](TPixmap& dst, int x, int y, int scale, const TRgb8* ground) {
                         PutBlended(dst, icon, x, y, scale, ground);
                       }});

  int widest = 0, labelWidth = 0, height = Pad;
  for (const TSample& s : samples) {
    widest = std::max(widest, s.Width);
    labelWidth = std::max(labelWidth, TLabelFont::TextWidth(s.Label));
    height += TLabelFont::CellHeight + 4 + std::max(s.Height * Zoom, s.Height + 8) + Pad;
  }
  const int smallWidth = 3 * (widest + 8 + Gap);
  const int width = Pad + std::max(labelWidth, smallWidth + widest * Zoom) + Pad;
  TPixmap sheet(width, height, Paper);
  const TRgb8 face = ToRgb8(GlyphMatte);
  const TRgb8 grounds[3] = {face, White8, Dark};
  int y = Pad;
  for (const TSample& s : samples) {
    TLabelFont::Draw(sheet, Pad, y, s.Label, Ink);
    y += TLabelFont::CellHeight + 4;
    for (int k = 0; k < 3; ++k) {
      const int x = Pad + k * (widest + 8 + Gap);
      sheet.FillRect(x, y, s.Width + 8, s.Height + 8, grounds[k]);
      s.Put(sheet, x + 4, y + 4, 1, &grounds[k]);
    }
    s.Put(sheet, Pad + smallWidth, y, Zoom, nullptr);
    y += std::max(s.Height * Zoom, s.Height + 8) + Pad;
  }
  return sheet;
}
