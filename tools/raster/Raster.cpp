#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

TRgb Mix(TRgb a, TRgb b, double t) { return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t}; }
TRgb Lighten(TRgb c, double t) { return Mix(c, {255, 255, 255}, t); }
TRgb Darken(TRgb c, double t) { return Mix(c, {0, 0, 0}, t); }

TRgb8 ToRgb8(TRgb c) {
  auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  return {channel(c.R), channel(c.G), channel(c.B)};
}
TRgb FromRgb8(TRgb8 c) { return {double(c.R), double(c.G), double(c.B)}; }

TRgb GradientAt(const std::vector<TStop>& stops, double t) {
  if (stops.empty()) throw std::invalid_argument("gradient without stops");
  if (t <= stops.front().At) return stops.front().Colour;
  for (size_t i = 1; i < stops.size(); ++i)
    if (t <= stops[i].At) {
      const double span = stops[i].At - stops[i - 1].At;
      return span <= 0 ? stops[i].Colour : Mix(stops[i - 1].Colour, stops[i].Colour, (t - stops[i - 1].At) / span);
    }
  return stops.back().Colour;
}

TPaint Solid(TRgb c) {
  return [c](double, double) { return c; };
}
TPaint Vertical(std::vector<TStop> stops) {
  return [s = std::move(stops)](double, double y) { return GradientAt(s, y); };
}
TPaint Horizontal(std::vector<TStop> stops) {
  return [s = std::move(stops)](double x, double) { return GradientAt(s, x); };
}
TPaint Vertical(double y0, TRgb top, double y1, TRgb bottom) {
  return Vertical({{y0 + 0.5, top}, {y1 - 0.5, bottom}});
}
TPaint Horizontal(double x0, TRgb left, double x1, TRgb right) {
  return Horizontal({{x0 + 0.5, left}, {x1 - 0.5, right}});
}

namespace Shape {
TField Box(double x0, double y0, double x1, double y1, double radius) {
  return Box(x0, y0, x1, y1, radius, radius, radius, radius);
}

TField Box(double x0, double y0, double x1, double y1, double tl, double tr, double br, double bl) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  return [=](double x, double y) {
    const double px = x - cx, py = y - cy;
    const double r = px < 0 ? (py < 0 ? tl : bl) : (py < 0 ? tr : br);
    const double qx = std::abs(px) - hx + r, qy = std::abs(py) - hy + r;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

TField Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

TField Ellipse(double cx, double cy, double rx, double ry) {
  // Scaled circle distance: close enough to exact for the gentle ellipses skins use.
  return [=](double x, double y) {
    const double k = std::min(rx, ry);
    return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1) * k;
  };
}

TField Segment(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    const double t = len2 == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0);
    return std::hypot(x - ax - t * dx, y - ay - t * dy) - halfWidth;
  };
}

TField Polyline(const std::vector<std::pair<double, double>>& points, double halfWidth) {
  TField shape = Segment(points[0].first, points[0].second, points[0].first, points[0].second, halfWidth);
  for (size_t i = 1; i < points.size(); ++i)
    shape = Union(shape, Segment(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second,
                                 halfWidth));
  return shape;
}

TField Polygon(const std::vector<std::pair<double, double>>& points) {
  // Signed area tells the winding; each edge's outward distance is then taken, and the largest one
  // is the distance (exact inside, a slight underestimate near outside corners).
  double area = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const auto& a = points[i];
    const auto& b = points[(i + 1) % points.size()];
    area += a.first * b.second - b.first * a.second;
  }
  const double sign = area < 0 ? -1 : 1;
  return [points, sign](double x, double y) {
    double worst = -1e9;
    for (size_t i = 0; i < points.size(); ++i) {
      const auto& a = points[i];
      const auto& b = points[(i + 1) % points.size()];
      const double ex = b.first - a.first, ey = b.second - a.second, len = std::hypot(ex, ey);
      if (len == 0) continue;
      worst = std::max(worst, sign * ((x - a.first) * ey - (y - a.second) * ex) / len);
    }
    return worst;
  };
}

TField Union(TField a, TField b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
TField Intersect(TField a, TField b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
TField Subtract(TField a, TField b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
TField Inner(TField a, double width) {
  return [a = std::move(a), width](double x, double y) {
    const double d = a(x, y);
    return std::max(d, -d - width);
  };
}
TField Offset(TField a, double dx, double dy) {
  return [a = std::move(a), dx, dy](double x, double y) { return a(x - dx, y - dy); };
}
TField Grow(TField a, double by) {
  return [a = std::move(a), by](double x, double y) { return a(x, y) - by; };
}
}  // namespace Shape

TRaster::TRaster(int width, int height)
    : FWidth(width), FHeight(height), FPixels(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void TRaster::Fill(const TField& shape, const TPaint& paint, double opacity) {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double cover = std::clamp(0.5 - shape(cx, cy), 0.0, 1.0) * opacity;
      if (cover <= 0) continue;
      const TRgb c = paint(cx, cy);
      TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
      p.R = c.R * cover + p.R * (1 - cover);
      p.G = c.G * cover + p.G * (1 - cover);
      p.B = c.B * cover + p.B * (1 - cover);
      p.A = cover + p.A * (1 - cover);
    }
}

void TRaster::Fill(const TField& shape, TRgb colour, double opacity) { Fill(shape, Solid(colour), opacity); }

void TRaster::FillAll(const TPaint& paint) {
  Fill([](double, double) { return -1.0; }, paint);
}

TPixmap TRaster::Flatten(const TPaint& matte) const {
  TPixmap out(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
      if (p.A < 0.125) continue;
      const TRgb m = matte(x + 0.5, y + 0.5);
      const TRgb8 c = ToRgb8({p.R + m.R * (1 - p.A), p.G + m.G * (1 - p.A), p.B + m.B * (1 - p.A)});
      // A drawn pixel must never read as the key colour.
      out.Set(x, y, c == KeyColour ? TRgb8{254, 0, 254} : c);
    }
  return out;
}

TPixmap TRaster::Opaque(const TPaint& matte) const {
  TPixmap out(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
      const TRgb m = matte(x + 0.5, y + 0.5);
      out.Set(x, y, ToRgb8({p.R + m.R * (1 - p.A), p.G + m.G * (1 - p.A), p.B + m.B * (1 - p.A)}));
    }
  return out;
}

TRgba8 TRaster::Straight(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) throw std::out_of_range("pixel outside the raster");
  const TPixel& p = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
  const auto alpha = static_cast<std::uint8_t>(std::lround(std::clamp(p.A, 0.0, 1.0) * 255));
  if (alpha == 0) return {};
  const TRgb8 c = ToRgb8({p.R / p.A, p.G / p.A, p.B / p.A});
  return {c.R, c.G, c.B, alpha};
}
