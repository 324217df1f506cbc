#pragma once
// A small anti-aliased rasteriser. Shapes are signed distance fields (negative inside, in pixels);
// a pixel is covered by 0.5 - distance at its centre, clamped to [0, 1], which gives one pixel of
// smooth edge on every outline. Colours are 0..255 doubles so that a gradient stop at a pixel centre
// comes out as exactly that colour.
#include "Pixmap.h"

#include <functional>
#include <vector>

struct TRgb {
  double R = 0, G = 0, B = 0;
};

// A colour with its coverage, straight (not premultiplied): what an icon with an alpha channel holds.
struct TRgba8 {
  std::uint8_t R = 0, G = 0, B = 0, A = 0;
  bool operator==(const TRgba8&) const = default;
};

TRgb Mix(TRgb a, TRgb b, double t);  // t = 0 gives a, 1 gives b
TRgb Lighten(TRgb c, double t);      // towards white
TRgb Darken(TRgb c, double t);       // towards black
TRgb8 ToRgb8(TRgb c);
TRgb FromRgb8(TRgb8 c);

using TField = std::function<double(double x, double y)>;
using TPaint = std::function<TRgb(double x, double y)>;

struct TStop {
  double At;  // pixel coordinate along the gradient; a pixel's centre is at index + 0.5
  TRgb Colour;
};
// Piecewise linear gradient; before the first and after the last stop the end colours hold.
TRgb GradientAt(const std::vector<TStop>& stops, double t);
TPaint Solid(TRgb c);
TPaint Vertical(std::vector<TStop> stops);
TPaint Horizontal(std::vector<TStop> stops);
// Two-colour vertical gradient from the top edge of row y0 to the bottom edge of row y1 - 1.
TPaint Vertical(double y0, TRgb top, double y1, TRgb bottom);
TPaint Horizontal(double x0, TRgb left, double x1, TRgb right);

namespace Shape {
// Rectangle (x0, y0)-(x1, y1) in pixel edges, corners rounded by their own radii.
TField Box(double x0, double y0, double x1, double y1, double radius = 0);
TField Box(double x0, double y0, double x1, double y1, double topLeft, double topRight, double bottomRight,
           double bottomLeft);
TField Circle(double cx, double cy, double r);
TField Ellipse(double cx, double cy, double rx, double ry);
// A line from a to b with round ends, halfWidth on each side.
TField Segment(double ax, double ay, double bx, double by, double halfWidth);
// A polyline of round-jointed segments.
TField Polyline(const std::vector<std::pair<double, double>>& points, double halfWidth);
// A convex polygon; points in either winding.
TField Polygon(const std::vector<std::pair<double, double>>& points);
TField Union(TField a, TField b);
TField Intersect(TField a, TField b);
TField Subtract(TField a, TField b);
// The band of the shape that lies within width of its edge, inside.
TField Inner(TField a, double width);
TField Offset(TField a, double dx, double dy);
TField Grow(TField a, double by);
}  // namespace Shape

class TRaster {
public:
  TRaster(int width, int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  void Fill(const TField& shape, const TPaint& paint, double opacity = 1.0);
  void Fill(const TField& shape, TRgb colour, double opacity = 1.0);
  void FillAll(const TPaint& paint);

  // Pixels covered less than an eighth become the key colour; the rest are laid over the matte,
  // which should be what the image will be drawn upon, so that edges blend into their real
  // surroundings and no pink fringe shows.
  TPixmap Flatten(const TPaint& matte) const;
  // For images drawn opaquely: every pixel over the matte, no key colour.
  TPixmap Opaque(const TPaint& matte) const;
  // The pixel as drawn, over nothing: for images that carry their own alpha channel.
  TRgba8 Straight(int x, int y) const;

private:
  struct TPixel {
    double R = 0, G = 0, B = 0, A = 0;  // premultiplied
  };
  int FWidth, FHeight;
  std::vector<TPixel> FPixels;
};
