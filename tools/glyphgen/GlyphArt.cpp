#include "GlyphArt.h"

#include "IconWriter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace {
using Shape::Box;
using Shape::Circle;
using Shape::Grow;
using Shape::Polygon;
using Shape::Polyline;
using Shape::Segment;
using Shape::Union;
using TPoints = std::vector<std::pair<double, double>>;

// The palette every glyph shares, so that the set reads as one family.
constexpr TRgb FolderEdge{166, 116, 24}, FolderBackTop{244, 204, 104}, FolderBackBottom{218, 160, 50},
    FolderFrontTop{255, 233, 150}, FolderFrontBottom{247, 196, 82};
constexpr TRgb SteelEdge{44, 54, 72}, SteelLight{170, 184, 204}, SteelDark{86, 98, 120}, Glass{196, 226, 252};
constexpr TRgb InkEdge{34, 50, 82}, White{255, 255, 255}, Sclera{226, 233, 244}, IrisTop{84, 164, 240},
    IrisBottom{22, 82, 176}, Pupil{16, 24, 40};
constexpr TRgb GreenEdge{22, 104, 34}, GreenTop{132, 218, 100}, GreenBottom{40, 160, 52};
constexpr TRgb RedEdge{142, 22, 16}, RedTop{252, 118, 96}, RedBottom{206, 34, 22};
constexpr TRgb PaperEdge{112, 124, 146}, PaperTop{255, 255, 255}, PaperBottom{228, 234, 244}, Lines{150, 166, 194};
constexpr TRgb BlueEdge{20, 66, 150}, BlueTop{112, 182, 250}, BlueBottom{28, 98, 200};

// The shape in the edge colour, its inside (width pixels in) in the fill.
void Outlined(TRaster& r, const TField& shape, TRgb edge, const TPaint& fill, double width = 1) {
  r.Fill(shape, edge);
  r.Fill(Grow(shape, -width), fill);
}

// A manila folder: tab and back panel, a sheet of paper, and a lighter front panel over its lower part.
void Folder(TRaster& r, double x0, double y0, double x1, double y1, double edge = 1) {
  const double h = y1 - y0, tabRight = x0 + (x1 - x0) * 0.45, tabBottom = y0 + std::max(2.0, std::round(h * 0.2));
  const double radius = std::min(1.5, h * 0.08);
  Outlined(r, Union(Box(x0, y0, tabRight, tabBottom + 2, radius), Box(x0, tabBottom - 1, x1, y1, radius)), FolderEdge,
           Vertical(y0, FolderBackTop, y1, FolderBackBottom), edge);
  const double frontTop = std::round(y0 + h * 0.36);
  if (frontTop - tabBottom >= 3)
    Outlined(r, Box(x0 + 2 * edge, tabBottom + edge, x1 - 2 * edge, frontTop + 1), PaperEdge, Solid(PaperTop), edge);
  const TField front = Box(x0, frontTop, x1, y1, radius);
  Outlined(r, front, FolderEdge, Vertical(frontTop, FolderFrontTop, y1, FolderFrontBottom), edge);
  r.Fill(Box(x0 + edge, frontTop + edge, x1 - edge, frontTop + 2 * edge), White,
         0.55);  // light on the front's top edge
}

// A magnifying glass: steel ring round a pale lens, handle from the ring's lower right to (hx, hy).
void Magnifier(TRaster& r, double cx, double cy, double radius, double ring, double hx, double hy, double handle,
               double edge = 1) {
  const double d = std::numbers::sqrt2 / 2;
  const TField grip = Segment(cx + radius * d, cy + radius * d, hx, hy, handle);
  Outlined(r, grip, SteelEdge, Vertical(cy, {96, 84, 76}, hy, {52, 40, 34}), edge);
  r.Fill(Segment(cx + radius * d + 0.4, cy + radius * d - 0.6, hx - 0.6, hy - 1.4, handle * 0.3), {150, 132, 118}, 0.7);
  Outlined(r, Circle(cx, cy, radius), SteelEdge, Vertical(cy - radius, SteelLight, cy + radius, SteelDark), edge);
  const double lens = radius - ring;
  Outlined(r, Circle(cx, cy, lens), SteelEdge, Vertical(cy - radius, White, cy + radius, Glass), edge);
  // A glint in the lens's upper left says glass.
  if (lens > 4)
    r.Fill(Shape::Intersect(Circle(cx, cy, lens - 1.5),
                            Shape::Subtract(Circle(cx - 0.5, cy - 0.5, lens - 2), Circle(cx + 1, cy + 1, lens - 2))),
           White, 0.9);
}

// An eye seen from the front: an almond of two arcs, white, with a blue iris and a dark pupil.
void Eye(TRaster& r, double cx, double cy, double halfWidth, double halfHeight) {
  const double bend = (halfWidth * halfWidth + halfHeight * halfHeight) / (2 * halfHeight);
  const TField almond =
      Shape::Intersect(Circle(cx, cy + bend - halfHeight, bend), Circle(cx, cy - bend + halfHeight, bend));
  r.Fill(almond, InkEdge);
  const TField inside = Grow(almond, -1);
  r.Fill(inside, Vertical(cy - halfHeight, White, cy + halfHeight, Sclera));
  const double iris = halfHeight * 0.95;
  r.Fill(Shape::Intersect(inside, Circle(cx, cy, iris)), Vertical(cy - iris, IrisTop, cy + iris, IrisBottom));
  r.Fill(Circle(cx, cy, iris * 0.45), Pupil);
  r.Fill(Circle(cx - iris * 0.35, cy - iris * 0.35, std::max(0.7, iris * 0.22)), White);
}

// A bold check mark through the given points, edged in dark green.
void Check(TRaster& r, const TPoints& points, double halfWidth, double top, double bottom) {
  r.Fill(Polyline(points, halfWidth + 1), GreenEdge);
  r.Fill(Polyline(points, halfWidth), Vertical(top, GreenTop, bottom, GreenBottom));
}

// A red X filling the square of side size at (x, y).
void Cross(TRaster& r, double x, double y, double size, double halfWidth) {
  const double a = halfWidth + 1, b = size - a;
  const TField cross =
      Union(Segment(x + a, y + a, x + b, y + b, halfWidth + 1), Segment(x + b, y + a, x + a, y + b, halfWidth + 1));
  Outlined(r, cross, RedEdge, Vertical(y, RedTop, y + size, RedBottom));
}

// A sheet of paper with a folded corner and lines of text.
void Document(TRaster& r, double x0, double y0, double x1, double y1) {
  const double fold = std::min(4.0, (x1 - x0) * 0.35);
  const TField sheet = Polygon({{x0, y0}, {x1 - fold, y0}, {x1, y0 + fold}, {x1, y1}, {x0, y1}});
  Outlined(r, sheet, PaperEdge, Vertical(y0, PaperTop, y1, PaperBottom));
  Outlined(r, Polygon({{x1 - fold, y0}, {x1 - fold, y0 + fold}, {x1, y0 + fold}}), PaperEdge, Solid({206, 214, 228}));
  for (double y = y0 + fold + 1; y + 1 <= y1 - 1.5; y += 2)
    r.Fill(Box(x0 + 2, y, (static_cast<int>(y) % 4 ? x1 - 2 : x1 - 4), y + 1), Lines);
}

// A small check box; a ticked one carries a bold tick that reaches past its top right corner, as
// list views show checked rows at small sizes.
void TickedBox(TRaster& r, double x, double y, double size, bool ticked) {
  Outlined(r, Box(x, y, x + size, y + size, 0.5), PaperEdge, Vertical(y, PaperTop, y + size, PaperBottom));
  if (ticked)
    r.Fill(Polyline({{x + 1.4, y + size * 0.5}, {x + size * 0.42, y + size - 1.3}, {x + size + 0.7, y + 0.3}}, 0.8),
           GreenEdge);
}

// A cog wheel of eight teeth with a hole.
void Gear(TRaster& r, double cx, double cy, double radius) {
  TField wheel = Circle(cx, cy, radius * 0.74);
  for (int k = 0; k < 8; ++k) {
    const double a = k * std::numbers::pi / 4, c = std::cos(a), s = std::sin(a), w = radius * 0.2;
    auto at = [&](double along, double across) {
      return std::pair{cx + along * c - across * s, cy + along * s + across * c};
    };
    wheel = Union(wheel, Polygon({at(0, -w), at(radius, -w * 0.75), at(radius, w * 0.75), at(0, w)}));
  }
  const TField gear = Shape::Subtract(wheel, Circle(cx, cy, radius * 0.3));
  Outlined(r, gear, SteelEdge, Vertical(cy - radius, {214, 220, 230}, cy + radius, {120, 130, 148}));
}

// A funnel seen from a little above: an open elliptic rim, a cone and a short spout.
void Funnel(TRaster& r, double x0, double y0, double x1, double y1) {
  const double w = x1 - x0, mid = (x0 + x1) / 2, rim = std::round(w * 0.14), neck = y0 + (y1 - y0) * 0.55;
  const double spout = std::round(w * 0.12);
  const TField funnel =
      Union(Union(Shape::Ellipse(mid, y0 + rim, w / 2, rim),
                  Polygon({{x0, y0 + rim}, {x1, y0 + rim}, {mid + spout, neck}, {mid - spout, neck}})),
            Box(mid - spout, neck - 1, mid + spout, y1, 0.5));
  Outlined(r, funnel, BlueEdge, Horizontal(x0, BlueTop, x1, BlueBottom));
  // The inside seen through the opening: darker at the back.
  Outlined(r, Shape::Ellipse(mid, y0 + rim, w / 2 - 1, rim - 1), BlueEdge,
           Vertical(y0, {24, 70, 150}, y0 + 2 * rim, {70, 140, 220}), 0.8);
}

TPixmap Finish(const TRaster& r) { return r.Flatten(Solid(GlyphMatte)); }

// The search: a folder with a magnifying glass over it, for the Find button and, at 16, 32 and 48
// pixels, the program icon. Each size is laid out on its own pixel grid rather than scaled, so that
// the small one keeps an open lens and every edge lands on whole pixels.
struct TFindLayout {
  int Size;
  double FolderLeft, FolderTop, FolderRight, FolderBottom;
  double LensX, LensY, Radius, Ring, HandleX, HandleY, Handle, Edge;
};
constexpr TFindLayout FindLayouts[] = {
    {16, 0, 2, 12, 14, 10, 7, 4.9, 1.5, 15, 15, 1.0, 0.8},
    {32, 1, 4, 24, 27, 19, 15, 8.5, 2.5, 29, 29, 2.2, 1},
    {48, 2, 6, 36, 41, 28.5, 22.5, 12.5, 3.5, 44, 44, 3.2, 1},
};

TRaster FindArt(int size) {
  for (const TFindLayout& l : FindLayouts)
    if (l.Size == size) {
      TRaster r(size, size);
      Folder(r, l.FolderLeft, l.FolderTop, l.FolderRight, l.FolderBottom, l.Edge);
      Magnifier(r, l.LensX, l.LensY, l.Radius, l.Ring, l.HandleX, l.HandleY, l.Handle, l.Edge);
      return r;
    }
  throw std::invalid_argument("no layout of the search image at " + std::to_string(size) + " pixels");
}

TRaster StopArt() {
  TRaster r(32, 32);
  TPoints octagon;
  const double corner = 14 / std::cos(std::numbers::pi / 8);  // flat sides on whole pixels, 2 to 30
  for (int k = 0; k < 8; ++k) {
    const double a = (k + 0.5) * std::numbers::pi / 4;
    octagon.emplace_back(16 + corner * std::cos(a), 16 + corner * std::sin(a));
  }
  const TField sign = Polygon(octagon);
  Outlined(r, sign, RedEdge, Vertical(2, RedTop, 30, RedBottom));
  r.Fill(Shape::Inner(Grow(sign, -2), 1.2), White, 0.9);
  r.Fill(Box(8, 13, 24, 19, 1), White);
  return r;
}

TRaster UnhideAllArt() {
  TRaster r(17, 19);
  Folder(r, 0, 1, 17, 17);
  Eye(r, 8.5, 11.5, 7, 4.5);
  return r;
}

TRaster UnhideSelectedArt() {
  TRaster r(21, 18);
  Eye(r, 9.5, 7.5, 9, 6);
  Check(r, {{11, 12}, {14, 15.3}, {19.6, 8.6}}, 1.2, 8, 17);
  return r;
}

TRaster CustomArt() {
  TRaster r(33, 33);
  Funnel(r, 1, 2, 25, 28);
  Gear(r, 23.5, 23.5, 9);
  return r;
}

TRaster AboutArt() {
  TRaster r(32, 32);
  const TField disc = Circle(16, 16, 14.5);
  Outlined(r, disc, BlueEdge, Vertical(1.5, BlueTop, 30.5, BlueBottom));
  r.Fill(Shape::Ellipse(16, 9, 10, 6.5), White, 0.28);  // gloss on the upper half
  r.Fill(Circle(16, 9, 2.4), White);
  r.Fill(Union(Box(14, 13, 18, 24.5, 0.8), Box(12, 13, 16, 15, 0.5)), White);
  r.Fill(Box(12, 22.5, 20, 24.5, 0.5), White);
  return r;
}

TRaster DeleteAllArt() {
  TRaster r(21, 17);
  Document(r, 5, 0, 17, 13);
  Document(r, 1, 3, 13, 16);
  Cross(r, 10, 6, 11, 1.3);
  return r;
}

TRaster DeleteSelectedArt() {
  TRaster r(39, 17);
  for (int row = 0; row < 3; ++row) {
    const double y = row * 6;
    TickedBox(r, 1, y, 5, row != 1);
    r.Fill(Box(8, y + 1.5, row == 1 ? 20 : 24, y + 3.5, 1), row == 1 ? Lines : InkEdge);
  }
  Cross(r, 25, 2, 14, 1.6);
  return r;
}
}  // namespace

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> TGlyphArt::Files() const {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
  for (const TGlyphImage& glyph : Glyphs) files.emplace_back(glyph.File, glyph.Image.ToBmp());
  files.emplace_back(IconFile, TIconWriter::Write(IconImages));
  return files;
}

TGlyphArt DrawGlyphArt() {
  TGlyphArt art;
  art.Glyphs = {
      {"FindGlyph.bmp", "Find", Finish(FindArt(32))},
      {"StopGlyph.bmp", "Stop", Finish(StopArt())},
      {"UnhideAllGlyph.bmp", "UnHide All", Finish(UnhideAllArt())},
      {"UnhideSelectedGlyph.bmp", "UnHide Selected", Finish(UnhideSelectedArt())},
      {"CustomGlyph.bmp", "Custom", Finish(CustomArt())},
      {"AboutGlyph.bmp", "About", Finish(AboutArt())},
      {"DeleteAllGlyph.bmp", "Delete All", Finish(DeleteAllArt())},
      {"DeleteSelectedGlyph.bmp", "Delete Selected", Finish(DeleteSelectedArt())},
  };
  // The button takes its transparent colour from the bottom-left pixel: art there would turn every
  // pixel of its colour see-through.
  for (const TGlyphImage& glyph : art.Glyphs)
    if (glyph.Image.At(0, glyph.Image.Height() - 1) != KeyColour)
      throw std::logic_error(glyph.File + ": the bottom-left pixel must stay transparent");
  art.IconImages = {FindArt(16), FindArt(32), FindArt(48)};
  art.IconFile = "Clarivo.ico";
  return art;
}
