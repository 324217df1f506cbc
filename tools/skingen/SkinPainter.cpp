#include "SkinPainter.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
using Shape::Box;

constexpr TRgb White{255, 255, 255};

// Corner radii of a look: the top pair and the bottom pair.
struct TCorners {
  double Top, Bottom;
};

void DrawLook(TRaster& r, double x0, double y0, double x1, double y1, TCorners radius, const TLook& look) {
  r.Fill(Box(x0, y0, x1, y1, radius.Top, radius.Top, radius.Bottom, radius.Bottom), look.Border);
  const double inner0 = y0 + 1, inner1 = y1 - 1, split = inner0 + (inner1 - inner0) * look.Split;
  const TPaint fill = Vertical({{inner0 + 0.5, look.Top},
                                {std::max(inner0 + 0.5, split - 0.5), look.Upper},
                                {std::min(inner1 - 0.5, split + 0.5), look.Lower},
                                {inner1 - 0.5, look.Bottom}});
  const TField inside = Box(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, radius.Top - 1), std::max(0.0, radius.Top - 1),
                            std::max(0.0, radius.Bottom - 1), std::max(0.0, radius.Bottom - 1));
  r.Fill(inside, fill);
  if (look.Shine > 0) r.Fill(Shape::Inner(inside, 1), White, look.Shine);
}

void DrawLook(TRaster& r, double x0, double y0, double x1, double y1, double radius, const TLook& look) {
  DrawLook(r, x0, y0, x1, y1, TCorners{radius, radius}, look);
}

// The colour a look shows in its middle: what its glyphs and grips sit upon.
TRgb MiddleOf(const TLook& look) { return Mix(look.Upper, look.Lower, 0.5); }

TLook Faded(const TLook& look, TRgb towards, double t) {
  return {Mix(look.Border, towards, t), Mix(look.Top, towards, t),   Mix(look.Upper, towards, t),
          Mix(look.Lower, towards, t),  Mix(look.Bottom, towards, t), look.Split, look.Shine * (1 - t)};
}

// Glyph of a caption button in a square of side s centred at (cx, cy); u is one glyph unit.
TField SignShape(TSign sign, double cx, double cy, double s) {
  const double u = s / 7, w = std::max(0.85, u * 0.95);
  const double h = 3 * u;
  switch (sign) {
    case TSign::Close:
      return Shape::Union(Shape::Segment(cx - h, cy - h, cx + h, cy + h, w * 1.15),
                          Shape::Segment(cx + h, cy - h, cx - h, cy + h, w * 1.15));
    case TSign::Maximize: {
      const TField box = Box(cx - h - 0.5, cy - h - 0.5, cx + h + 0.5, cy + h + 0.5);
      return Shape::Union(Shape::Inner(box, 1.1 * u), Box(cx - h - 0.5, cy - h - 0.5, cx + h + 0.5, cy - h + 1.8 * u));
    }
    case TSign::Minimize:
      return Box(cx - h - 0.5, cy + h - 1.6 * u, cx + h + 0.5, cy + h + 0.5);
    case TSign::Restore: {
      auto window = [&](double x0, double y0) {
        const TField box = Box(x0, y0, x0 + 5 * u, y0 + 5 * u);
        return std::pair{box, Shape::Union(Shape::Inner(box, 1.0 * u), Box(x0, y0, x0 + 5 * u, y0 + 1.7 * u))};
      };
      const auto [frontBox, front] = window(cx - h - 0.5, cy - h + 2 * u - 0.5);
      const auto [backBox, back] = window(cx - h + 2 * u - 0.5, cy - h - 0.5);
      return Shape::Union(front, Shape::Subtract(back, Shape::Grow(frontBox, 0.6)));
    }
    case TSign::Help: {
      std::vector<std::pair<double, double>> hook;
      for (int i = 0; i <= 8; ++i) {
        const double a = 3.6 - i * 0.45;  // from the left, over the top, down the right side
        hook.emplace_back(cx + 1.9 * u * std::cos(a), cy - 1.4 * u - 1.9 * u * std::sin(a));
      }
      hook.emplace_back(cx, cy + 0.9 * u);
      return Shape::Union(Shape::Polyline(hook, w * 0.95), Shape::Circle(cx, cy + 2.9 * u, w * 1.1));
    }
    case TSign::Pin:
      return Shape::Union(Shape::Union(Shape::Circle(cx + 0.8 * u, cy - 0.8 * u, 1.9 * u),
                                       Shape::Segment(cx - 0.2 * u, cy + 0.2 * u, cx - 2.8 * u, cy + 2.8 * u, w * 0.8)),
                          Shape::Segment(cx - 1.8 * u, cy - 1.0 * u, cx + 1.0 * u, cy + 1.8 * u, w));
    case TSign::Rollup:
      return Shape::Union(Shape::Polyline({{cx - h, cy + 0.5 * u}, {cx, cy - 2.5 * u}, {cx + h, cy + 0.5 * u}}, w),
                          Box(cx - h - 0.5, cy + 2 * u, cx + h + 0.5, cy + 2 * u + 1.4 * u));
    case TSign::App: {
      const TField box = Box(cx - h - 0.5, cy - h, cx + h + 0.5, cy + h + 0.5, 1);
      return Shape::Union(Shape::Inner(box, 0.9 * u), Box(cx - h - 0.5, cy - h, cx + h + 0.5, cy - h + 2.2 * u, 1, 1, 0, 0));
    }
    case TSign::Ornament:
      return Shape::Polygon({{cx, cy - h}, {cx + h, cy}, {cx, cy + h}, {cx - h, cy}});
  }
  return Shape::Circle(cx, cy, 0);
}

TField ArrowShape(TDirection d, double cx, double cy, double size) {
  const double a = size, b = size / 2;
  std::vector<std::pair<double, double>> p;
  switch (d) {
    case TDirection::Left: p = {{cx - b, cy}, {cx + b, cy - a}, {cx + b, cy + a}}; break;
    case TDirection::Right: p = {{cx + b, cy}, {cx - b, cy - a}, {cx - b, cy + a}}; break;
    case TDirection::Up: p = {{cx, cy - b}, {cx - a, cy + b}, {cx + a, cy + b}}; break;
    case TDirection::Down: p = {{cx, cy + b}, {cx - a, cy - b}, {cx + a, cy - b}}; break;
  }
  return Shape::Polygon(p);
}

// Glyph with a soft shadow below it.
void DrawSign(TRaster& r, const TField& sign, TRgb colour, TRgb shadow, double opacity = 1.0) {
  r.Fill(Shape::Offset(sign, 0, 1), shadow, 0.45 * opacity);
  r.Fill(sign, colour, opacity);
}

TPixmap Frames(int count, bool vertical, const std::function<TPixmap(int)>& frame) {
  std::vector<TPixmap> frames;
  for (int k = 1; k <= count; ++k) frames.push_back(frame(k));
  return TPixmap::Strip(frames, vertical);
}

TPaint Rows(const std::vector<TStop>& stops, double shift) {
  return [stops, shift](double, double y) { return GradientAt(stops, y + shift); };
}
}  // namespace

TPixmap Transposed(const TPixmap& p) {
  TPixmap out(p.Height(), p.Width());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) out.Set(y, x, p.At(x, y));
  return out;
}

TSkinPainter::TFrame TSkinPainter::WindowFrame(int topWidth) const {
  const TTheme& t = FTheme;
  const int side = t.SideWidth, title = t.TitleHeight, bottom = t.BottomHeight, middle = 8, bottomWidth = 16;
  const int w = topWidth + 2 * side, h = title + middle + bottom;
  std::vector<TPixmap> tops, lefts, rights, bottoms;
  for (const bool active : {true, false}) {
    const TRgb outline = active ? t.OutlineActive : t.OutlineInactive;
    const TRgb sideColour = active ? t.SideActive : t.SideInactive;
    const std::vector<TStop>& caption = active ? t.CaptionActive : t.CaptionInactive;
    // One small window, drawn whole so that the pieces meet without seams.
    TRaster r(w, h);
    r.Fill(Box(0, 0, w, h, t.Corner, t.Corner, 0, 0), outline);
    r.Fill(Box(1, 1, w - 1, h - 1, t.Corner - 1, t.Corner - 1, 0, 0), [&](double, double y) {
      return y < title ? GradientAt(caption, y) : sideColour;
    });
    // A glassy edge: one light line just inside the outline, all round.
    r.Fill(Shape::Inner(Box(1, 1, w - 1, h - 1, t.Corner - 1, t.Corner - 1, 0, 0), 1), White, active ? 0.3 : 0.5);
    r.Fill(Box(side - 1, title - 1, w - side + 1, h - bottom + 1), t.InnerEdge);
    r.Fill(Box(side, title, w - side, h - bottom), t.Face);
    const TPixmap whole = r.Flatten(Solid(Mix(outline, {128, 128, 128}, 0.4)));
    tops.push_back(whole.Crop(side, 0, topWidth, title));
    lefts.push_back(whole.Crop(0, 0, side, h));
    rights.push_back(whole.Crop(w - side, 0, side, h));
    bottoms.push_back(whole.Crop(side, h - bottom, bottomWidth, bottom));
  }
  return {TPixmap::Strip(tops, true), TPixmap::Strip(lefts, false), TPixmap::Strip(rights, false),
          TPixmap::Strip(bottoms, true)};
}

TPixmap TSkinPainter::CaptionButton(TSign sign, bool close, int frames) const {
  const TTheme& t = FTheme;
  const int s = t.CaptionButton;
  const double onTitle = (t.TitleHeight - s) / 2;
  return Frames(frames, false, [&](int k) {
    const bool inactive = k == 4 || k == 6;
    const TLook normal = close ? t.CloseNormal : t.CapNormal;
    const TLook look = k == 2   ? (close ? t.ClosePressed : t.CapPressed)
                       : k == 3 ? (close ? t.CloseHot : t.CapHot)
                       : k == 4 ? t.CapInactive
                       : k == 5 ? Faded(normal, GradientAt(t.CaptionActive, t.TitleHeight / 2.0), 0.55)
                       : k == 6 ? Faded(close ? t.CloseHot : t.CapHot, GradientAt(t.CaptionInactive, s / 2.0), 0.3)
                                : normal;
    TRaster r(s, s);
    DrawLook(r, 0, 0, s, s, t.CaptionRadius, look);
    const double press = k == 2 ? 0.6 : 0;
    const TField glyph = SignShape(sign, s / 2.0, s / 2.0 + press, s * 0.55);
    DrawSign(r, glyph, k == 4 ? t.SignInactive : t.Sign, t.SignShadow, k == 5 ? 0.5 : 1.0);
    return r.Flatten(Rows(inactive ? t.CaptionInactive : t.CaptionActive, onTitle));
  });
}

TPixmap TSkinPainter::CaptionOrnament() const {
  const TTheme& t = FTheme;
  const int s = t.CaptionButton;
  const double onTitle = (t.TitleHeight - s) / 2;
  return Frames(2, false, [&](int k) {
    TRaster r(s, s);
    const TField gem = SignShape(TSign::Ornament, s / 2.0, s / 2.0, s * 0.75);
    r.Fill(gem, k == 1 ? t.Accent : t.SignInactive);
    r.Fill(Shape::Intersect(gem, Box(0, 0, s, s / 2.0)), White, 0.35);
    return r.Flatten(Rows(k == 1 ? t.CaptionActive : t.CaptionInactive, onTitle));
  });
}

TPixmap TSkinPainter::ChildButtons(int cell, TRgb matte, const std::vector<TSign>& signs) const {
  const TTheme& t = FTheme;
  std::vector<TPixmap> cells;
  for (const TSign sign : signs)
    for (int k = 1; k <= 4; ++k) {
      const bool close = sign == TSign::Close;
      const TLook look = k == 2   ? (close ? t.ClosePressed : t.CapPressed)
                         : k == 4 ? (close ? t.CloseHot : t.CapHot)
                                  : (close ? t.CloseNormal : t.CapNormal);
      TRaster r(cell, cell);
      DrawLook(r, 0, 0, cell, cell, t.CaptionRadius - 0.5, k == 3 ? Faded(look, matte, 0.6) : look);
      DrawSign(r, SignShape(sign, cell / 2.0, cell / 2.0 + (k == 2 ? 0.5 : 0), cell * 0.5), t.Sign, t.SignShadow,
               k == 3 ? 0.5 : 1.0);
      cells.push_back(r.Flatten(Solid(matte)));
    }
  return TPixmap::Strip(cells, false);
}

TPixmap TSkinPainter::TextBack(int width) const {
  const TTheme& t = FTheme;
  const int h = t.TitleHeight;
  return Frames(2, true, [&](int k) {
    const std::vector<TStop>& caption = k == 1 ? t.CaptionActive : t.CaptionInactive;
    const TRgb base = GradientAt(caption, h / 2.0);
    TRaster r(width, h);
    const TField pill = Box(0.5, 3.5, width - 0.5, h - 3.5, (h - 7) / 2.0);
    r.Fill(pill, Vertical(3.5, Darken(base, 0.28), h - 3.5, Darken(base, 0.12)));
    r.Fill(Shape::Inner(Shape::Offset(pill, 0, 1), 1), White, 0.12);
    r.Fill(Shape::Inner(pill, 1), Darken(base, 0.45), 0.6);
    return r.Flatten(Rows(caption, 0));
  });
}

TPixmap TSkinPainter::PushButton(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(5, false, [&](int k) {
    const TLook look = k == 2 ? t.Pressed : k == 3 ? t.Disabled : k == 4 ? t.Hot : k == 5 ? t.Focused : t.Normal;
    TRaster r(width, height);
    DrawLook(r, 0, 0, width, height, t.Radius, look);
    if (k == 5)
      r.Fill(Shape::Inner(Box(1, 1, width - 1, height - 1, std::max(0.0, t.Radius - 1)), 1.2), t.FocusRing, 0.8);
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::CheckBox(int cell) const {
  const TTheme& t = FTheme;
  const double c = cell;
  return Frames(5, false, [&](int k) {
    const bool disabled = k == 3 || k == 4;
    TRaster r(cell, cell);
    DrawLook(r, 0, 0, c, c, 2, disabled ? t.BoxDisabled : t.Box);
    const TRgb mark = disabled ? t.MarkDisabled : t.Mark;
    if (k == 2 || k == 4)
      DrawSign(r, Shape::Polyline({{c * 0.25, c * 0.52}, {c * 0.43, c * 0.71}, {c * 0.76, c * 0.30}}, c * 0.085),
               mark, Lighten(mark, 0.5), 0.9);
    if (k == 5)
      r.Fill(Box(c * 0.27, c * 0.27, c * 0.73, c * 0.73, 1), Vertical(c * 0.27, Lighten(t.Accent, 0.3), c * 0.73, t.Accent));
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::RadioButton(int cell) const {
  const TTheme& t = FTheme;
  const double c = cell, m = c / 2;
  return Frames(5, false, [&](int k) {
    const bool disabled = k == 3 || k == 4;
    const TLook& look = disabled ? t.BoxDisabled : k == 5 ? t.BoxHot : t.Box;
    TRaster r(cell, cell);
    r.Fill(Shape::Circle(m, m, m), look.Border);
    r.Fill(Shape::Circle(m, m, m - 1), Vertical(1, look.Top, c - 1, look.Bottom));
    if (k == 2 || k == 4) {
      const TRgb mark = disabled ? t.MarkDisabled : t.Mark;
      r.Fill(Shape::Circle(m, m, c * 0.21), Vertical(m - c * 0.21, Lighten(mark, 0.45), m + c * 0.21, mark));
    }
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::ToolButton(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(5, false, [&](int k) {
    TRaster r(width, height);
    if (k == 2 || k == 4 || k == 5)
      DrawLook(r, 0, 0, width, height, t.Radius, k == 2 ? t.Pressed : k == 4 ? t.Hot : Faded(t.Pressed, t.Face, 0.4));
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::Progress(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(2, false, [&](int k) {
    if (k == 1) return ProgressTrough(width, height);
    TRaster r(width, height);
    DrawLook(r, 1, 1, width - 1, height - 1, std::max(0.0, t.Radius - 1), t.Fill);
    return r.Flatten(Solid(MiddleOf(t.Trough)));
  });
}

TPixmap TSkinPainter::ProgressTrough(int width, int height) const {
  TRaster r(width, height);
  DrawLook(r, 0, 0, width, height, FTheme.Radius, FTheme.Trough);
  return r.Flatten(Solid(FTheme.Face));
}

TPixmap TSkinPainter::ProgressChunk(int width, int height, int gap) const {
  TRaster r(width, height);
  DrawLook(r, 0, 0, width - gap, height, 1, FTheme.Fill);
  return r.Flatten(Solid(MiddleOf(FTheme.Trough)));
}

TPixmap TSkinPainter::MenuBar(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(2, true, [&](int k) {
    TRaster r(width, height);
    r.FillAll(Vertical(0, k == 1 ? t.MenuBarTop : t.MenuBarInactiveTop, height - 1,
                       k == 1 ? t.MenuBarBottom : t.MenuBarInactiveBottom));
    r.Fill(Box(0, height - 1, width, height), t.MenuBarLine);
    return r.Opaque(Solid(t.Face));
  });
}

TPixmap TSkinPainter::MenuBackground(int size, int gutter) const {
  const TTheme& t = FTheme;
  TRaster r(size, size);
  r.FillAll(Solid(t.MenuBorder));
  r.Fill(Box(1, 1, size - 1, size - 1), White, 0.8);
  r.Fill(Box(2, 2, size - 2, size - 2), t.Menu);
  r.Fill(Box(2, 2, gutter, size - 2), Mix(t.Menu, t.MenuGutter, 0.35));
  r.Fill(Box(gutter, 2, gutter + 1, size - 2), t.MenuGutter);
  r.Fill(Box(gutter + 1, 2, gutter + 2, size - 2), White);
  return r.Opaque(Solid(t.Menu));
}

TPixmap TSkinPainter::MenuItem(int width, int height, int separatorInset) const {
  const TTheme& t = FTheme;
  return Frames(5, false, [&](int k) {
    TRaster r(width, height);
    if (k == 2) {
      r.Fill(Box(separatorInset, height - 5, width - 2, height - 4), t.MenuGutter);
      r.Fill(Box(separatorInset, height - 4, width - 2, height - 3), White);
    }
    if (k >= 3)
      DrawLook(r, 1, 0, width - 1, height, 3,
               k == 3 ? Faded(t.MenuHighlight, t.Menu, 0.65) : k == 4 ? t.MenuHighlight : t.MenuPressed);
    return r.Flatten(Solid(t.Menu));
  });
}

TPixmap TSkinPainter::GroupBoxEdge(int size) const {
  const TTheme& t = FTheme;
  return Frames(2, false, [&](int k) {
    TRaster r(size, size);
    const TRgb edge = k == 1 ? t.GroupEdge : Mix(t.GroupEdge, t.Face, 0.55);
    r.Fill(Shape::Inner(Box(1, 1, size, size, 3), 1), White, 0.8);
    r.Fill(Shape::Inner(Box(0, 0, size - 1, size - 1, 3), 1), edge);
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::GroupBoxLabel(int width, int height) const {
  TRaster r(width, height);
  DrawLook(r, 0, 0, width, height, height / 2.0, FTheme.GroupLabel);
  return r.Flatten(Solid(FTheme.Face));
}

TPixmap TSkinPainter::Tabs(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(5, false, [&](int k) {
    const bool selected = k == 2 || k == 5;
    const TLook look = selected ? t.TabSelected : k == 3 ? t.TabHot : k == 4 ? Faded(t.Tab, t.Face, 0.5) : t.Tab;
    TRaster r(width, height);
    const double top = selected ? 0 : 2;
    DrawLook(r, 0, top, width, height + 1, TCorners{t.Radius, 0}, look);
    if (selected) r.Fill(Box(1, top + 1, width - 1, top + 3, t.Radius - 1, t.Radius - 1, 0, 0), t.Accent);
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::TabPane(int size) const {
  TRaster r(size, size);
  r.FillAll(Solid(FTheme.PaneBorder));
  r.Fill(Box(1, 1, size - 1, size - 1), White);
  r.Fill(Box(2, 2, size - 2, size - 2), FTheme.Pane);
  return r.Opaque(Solid(FTheme.Face));
}

TPixmap TSkinPainter::StatusEdges(int size) const {
  const TTheme& t = FTheme;
  return Frames(3, false, [&](int k) {
    TRaster r(size, size);
    r.FillAll(Vertical(0, t.StatusTop, size, t.StatusBottom));
    if (k != 3) {
      const TRgb first = k == 1 ? t.StatusShadow : t.StatusLight, second = k == 1 ? t.StatusLight : t.StatusShadow;
      r.Fill(Box(0, 0, size, 1), first);
      r.Fill(Box(0, 0, 1, size), first);
      r.Fill(Box(0, size - 1, size, size), second);
      r.Fill(Box(size - 1, 0, size, size), second);
    }
    return r.Opaque(Solid(t.Face));
  });
}

TPixmap TSkinPainter::Header(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(3, false, [&](int k) {
    const TLook look = k == 2 ? t.HeaderHot : k == 3 ? t.HeaderPressed : t.Header;
    TRaster r(width, height);
    r.FillAll(Solid(look.Border));
    r.Fill(Box(0, 0, width, height - 1), Vertical({{0.5, look.Top},
                                                   {height * look.Split - 0.5, look.Upper},
                                                   {height * look.Split + 0.5, look.Lower},
                                                   {height - 1.5, look.Bottom}}));
    if (k == 1)
      r.Fill(Box(width - 1, 3, width, height - 4), t.HeaderSeparator);
    else
      r.Fill(Shape::Inner(Box(0, 0, width, height), 1), look.Border);
    return r.Opaque(Solid(t.Face));
  });
}

TPixmap TSkinPainter::ComboButton(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(4, false, [&](int k) {
    const TLook look = k == 2 ? t.Pressed : k == 3 ? Faded(t.Disabled, t.FieldDisabled, 0.3) : k == 4 ? t.Hot : t.Normal;
    TRaster r(width, height);
    r.Fill(Box(0, 1, width - 1, height - 1, 0, t.Radius - 1, t.Radius - 1, 0), look.Border);
    r.Fill(Box(1, 2, width - 2, height - 2, 0, t.Radius - 2, t.Radius - 2, 0),
           Vertical({{2.5, look.Top}, {height * look.Split - 0.5, look.Upper}, {height * look.Split + 0.5, look.Lower},
                     {height - 2.5, look.Bottom}}));
    return r.Flatten(Solid(k == 3 ? t.FieldDisabled : t.Field));
  });
}

TPixmap TSkinPainter::SunkEdge(int width, int height) const {
  const TTheme& t = FTheme;
  return Frames(4, false, [&](int k) {
    const TRgb border = k == 3 ? t.FieldBorderDisabled : (k == 2 || k == 4) ? t.FieldBorderHot : t.FieldBorder;
    TRaster r(width, height);
    r.Fill(Box(0, 0, width, height, 2), border);
    r.Fill(Box(1, 1, width - 1, height - 1, 1), k == 3 ? t.FieldDisabled : t.Field);
    if (k != 3) r.Fill(Box(1, 1, width - 1, 2), border, 0.25);  // a hint of depth along the top
    return r.Flatten(Solid(t.Face));
  });
}

TPixmap TSkinPainter::ExtraImages(int cell) const {
  const TTheme& t = FTheme;
  const double c = cell, m = c / 2;
  return Frames(5, false, [&](int k) {
    TRaster r(cell, cell);
    if (k == 5) {
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) {
          const double x = c - 2.5 - 3.5 * j, y = c - 2.5 - 3.5 * (i - j);
          r.Fill(Box(x - 0.5, y - 0.5, x + 1.5, y + 1.5), White);
          r.Fill(Box(x - 1.5, y - 1.5, x + 0.5, y + 0.5), t.Grip);
        }
      return r.Flatten(Solid(t.StatusBottom));
    }
    const TRgb colour = k == 3 ? t.GreyedText : k == 4 ? Darken(t.Accent, 0.35) : t.Text;
    r.Fill(ArrowShape(TDirection::Down, m, m + (k == 2 ? 1 : 0.5), c * 0.3), colour);
    return r.Flatten(Solid(MiddleOf(k == 2 ? t.Pressed : k == 4 ? t.Hot : t.Normal)));
  });
}

TPixmap TSkinPainter::ScrollCells(int cell) const {
  const TTheme& t = FTheme;
  const double c = cell, m = c / 2;
  auto arrow = [&](TDirection d, int state) {  // state 0 normal, 1 pressed, 2 disabled, 3 hot
    TRaster r(cell, cell);
    const TLook quiet = Faded(t.Normal, t.Face, 0.7);
    if (state != 2) DrawLook(r, 0.5, 0.5, c - 0.5, c - 0.5, t.Radius, state == 1 ? t.Pressed : state == 3 ? t.Hot : quiet);
    const TRgb colour = state == 2 ? t.GreyedText : state == 3 ? Darken(t.Accent, 0.3) : t.Text;
    r.Fill(ArrowShape(d, m, m, c * 0.25), colour);
    return r.Flatten(Solid(t.Face));
  };
  auto grip = [&](int state) {  // lines across a horizontal thumb
    const TLook& thumb = state == 1 ? t.ThumbPressed : state == 2 ? t.ThumbHot : t.Thumb;
    TRaster r(cell, cell);
    for (int i = -1; i <= 1; ++i) {
      const double x = m + 3 * i - 0.5;
      r.Fill(Box(x + 1, c * 0.3 + 1, x + 2, c * 0.7 + 1), White, 0.8);
      r.Fill(Box(x, c * 0.3, x + 1, c * 0.7), state == 2 ? Darken(t.Accent, 0.4) : t.Grip);
    }
    return r.Flatten(Solid(MiddleOf(thumb)));
  };
  std::vector<TPixmap> cells;
  for (const TDirection d : {TDirection::Left, TDirection::Right})
    for (int s = 0; s < 4; ++s) cells.push_back(arrow(d, s));
  for (int k = 0; k < 8; ++k) cells.push_back(Transposed(cells[static_cast<size_t>(k)]));  // up and down
  for (int s = 0; s < 3; ++s) cells.push_back(grip(s));
  for (int s = 0; s < 3; ++s) cells.push_back(Transposed(cells[static_cast<size_t>(16 + s)]));
  TPixmap corner(cell, cell, ToRgb8(t.Face));
  corner.Blit(ExtraImages(std::min(cell, 12)).Crop(4 * std::min(cell, 12), 0, std::min(cell, 12), std::min(cell, 12)),
              cell - std::min(cell, 12), cell - std::min(cell, 12));
  cells.push_back(corner);
  return TPixmap::Strip(cells, false);
}

TPixmap TSkinPainter::ScrollTrack(int length, int thickness, bool vertical) const {
  const TTheme& t = FTheme;
  const TPixmap strip = Frames(4, false, [&](int k) {
    const TLook look = k == 3 ? t.TrackDisabled : k == 2 ? Faded(t.Track, t.Grip, 0.18) : k == 4 ? Faded(t.Track, t.Accent, 0.08) : t.Track;
    TRaster r(length, thickness);
    r.FillAll(Vertical({{0.5, look.Top}, {thickness * look.Split, look.Upper}, {thickness - 0.5, look.Bottom}}));
    r.Fill(Box(0, 0, length, 1), look.Border);
    r.Fill(Box(0, thickness - 1, length, thickness), look.Border);
    return r.Opaque(Solid(t.Face));
  });
  if (!vertical) return strip;
  std::vector<TPixmap> frames;
  for (int k = 0; k < 4; ++k) frames.push_back(Transposed(strip.Crop(k * length, 0, length, thickness)));
  return TPixmap::Strip(frames, false);
}

TPixmap TSkinPainter::ScrollThumb(int length, int thickness, bool vertical) const {
  const TTheme& t = FTheme;
  std::vector<TPixmap> frames;
  for (const TLook* look : {&t.Thumb, &t.ThumbPressed, &t.ThumbHot}) {
    TRaster r(length, thickness);
    DrawLook(r, 0, 1, length, thickness - 1, t.Radius, *look);
    const TPixmap frame = r.Flatten(Solid(MiddleOf(t.Track)));
    frames.push_back(vertical ? Transposed(frame) : frame);
  }
  return TPixmap::Strip(frames, false);
}

TPixmap TSkinPainter::TrackChannel(int length, int thickness, bool vertical) const {
  const TTheme& t = FTheme;
  TRaster r(length, thickness);
  r.Fill(Box(0, 0, length, thickness, thickness / 2.0), t.FieldBorder);
  r.Fill(Box(1, 1, length - 1, thickness - 1, thickness / 2.0 - 1), Vertical(1, t.Trough.Top, thickness - 1, t.Field));
  const TPixmap channel = r.Opaque(Solid(t.Face));
  return vertical ? Transposed(channel) : channel;
}

TPixmap TSkinPainter::TrackThumb(int width, int height, TDirection direction, bool pointed) const {
  const TTheme& t = FTheme;
  const bool across = direction == TDirection::Left || direction == TDirection::Right;
  // Drawn upright (width x height, pointing down), flipped for up and left, turned for the side ones.
  const int w = width, h = height;
  const bool flip = direction == TDirection::Up || direction == TDirection::Left;
  return Frames(5, false, [&](int k) {
    const TLook look = k == 1 ? t.Disabled : k == 3 ? t.Hot : k == 4 ? t.Pressed : k == 5 ? t.Focused : t.Normal;
    TRaster r(w, h);
    TField body = Box(0, 0, w, h, t.Radius);
    if (pointed) {
      const double tip = w / 2.0;
      body = Shape::Polygon({{0, 0}, {w, 0}, {w, h - tip}, {w / 2.0, h}, {0, h - tip}});
      body = Shape::Intersect(body, Box(0, 0, w, h + 4, t.Radius, t.Radius, 0, 0));
    }
    r.Fill(body, look.Border);
    r.Fill(Shape::Grow(body, -1), Horizontal(1, look.Top, w - 1, look.Bottom));
    r.Fill(Shape::Inner(Shape::Grow(body, -1), 1), White, look.Shine);
    TPixmap frame = r.Flatten(Solid(t.Face));
    if (flip) {
      TPixmap turned(frame.Width(), frame.Height());
      for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) turned.Set(x, frame.Height() - 1 - y, frame.At(x, y));
      frame = turned;
    }
    return across ? Transposed(frame) : frame;
  });
}

TPixmap TSkinPainter::SpinButtons(int width, int height, bool horizontal) const {
  const TTheme& t = FTheme;
  return Frames(8, false, [&](int k) {
    const int state = (k - 1) % 4 + 1;
    const bool first = k <= 4;
    const TLook look = state == 2 ? t.Pressed : state == 3 ? t.Disabled : state == 4 ? t.Hot : t.Normal;
    // Drawn as the upper or lower half of a vertical pair, then turned for a horizontal pair.
    const int w = horizontal ? height : width, h = horizontal ? width : height;
    TRaster r(w, h);
    DrawLook(r, 0, first ? 0 : -0.5, w, first ? h + 0.5 : h, TCorners{first ? t.Radius : 0, first ? 0 : t.Radius}, look);
    const TPixmap frame = r.Flatten(Solid(t.Face));
    return horizontal ? Transposed(frame) : frame;
  });
}

TPixmap TSkinPainter::SpinGlyphs(int width, int height, bool horizontal) const {
  const TTheme& t = FTheme;
  return Frames(8, false, [&](int k) {
    const int state = (k - 1) % 4 + 1;
    const bool first = k <= 4;
    const TDirection d = horizontal ? (first ? TDirection::Left : TDirection::Right) : (first ? TDirection::Up : TDirection::Down);
    const TRgb colour = state == 3 ? t.GreyedText : state == 4 ? Darken(t.Accent, 0.35) : t.Text;
    TRaster r(width, height);
    r.Fill(ArrowShape(d, width / 2.0, height / 2.0 + (state == 2 ? 0.5 : 0), std::min(width, height) * 0.3), colour);
    return r.Flatten(Solid(MiddleOf(state == 2 ? t.Pressed : state == 4 ? t.Hot : t.Normal)));
  });
}

TPixmap TSkinPainter::FormBackground(int width, int height, double grain) const {
  TRaster r(width, height);
  r.FillAll(Vertical(0, Lighten(FTheme.Face, 0.35), height, FTheme.Face));
  TPixmap out = r.Opaque(Solid(FTheme.Face));
  // A paper-like grain: a share of the pixels, picked by a fixed pseudo-random sequence, one step
  // lighter or darker.
  std::uint32_t state = 0x2545F491u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool grained = next() < grain * 4294967296.0;
      const int step = (next() & 1) ? 1 : -1;
      if (!grained) continue;
      const TRgb8 c = out.At(x, y);
      auto shift = [step](std::uint8_t v) { return static_cast<std::uint8_t>(std::clamp(v + step, 0, 255)); };
      out.Set(x, y, {shift(c.R), shift(c.G), shift(c.B)});
    }
  return out;
}

TPixmap TSkinPainter::Hint(int size) const {
  TRaster r(size, size);
  const TLook tip{FTheme.MenuBorder, {255, 255, 255}, {250, 251, 253}, {244, 246, 250}, Mix(FTheme.Menu, FTheme.Accent, 0.08), 0.5, 0};
  DrawLook(r, 0, 0, size, size, 3, tip);
  return r.Flatten(Solid(FTheme.Face));
}

TPixmap TSkinPainter::Splitter(int width, int height) const {
  TRaster r(width, height);
  r.FillAll(Solid(FTheme.Face));
  for (int i = -1; i <= 1; ++i) {
    const double y = height / 2.0 + 4 * i;
    r.Fill(Shape::Circle(width / 2.0 + 0.6, y + 0.6, 1.1), White);
    r.Fill(Shape::Circle(width / 2.0, y, 1.1), FTheme.Grip);
  }
  return r.Opaque(Solid(FTheme.Face));
}

TPixmap TSkinPainter::Selection(int width, int height) const {
  return Frames(2, false, [&](int k) {
    TRaster r(width, height);
    DrawLook(r, 0, 0, width, height, 2, k == 1 ? FTheme.MenuHighlight : Faded(FTheme.MenuHighlight, FTheme.Field, 0.5));
    return r.Flatten(Solid(FTheme.Field));
  });
}

TPixmap TSkinPainter::Logo(int width, int height) const {
  const TTheme& t = FTheme;
  TRaster r(width, height);
  const double m = height / 2.0;
  // A lens over a folder tab: what the program is for.
  r.Fill(Box(2, m - 3, width * 0.55, height - 2, 1.5), Vertical(m - 3, Lighten(t.Accent, 0.4), height - 2, t.Accent));
  r.Fill(Box(2, m - 5, width * 0.28, m - 2, 1.5, 1.5, 0, 0), Lighten(t.Accent, 0.2));
  const TField lens = Shape::Circle(width * 0.62, m - 1.5, m - 3.5);
  r.Fill(Shape::Segment(width * 0.62 + 2, m + 2, width - 3, height - 2.5, 1.4), t.Text);
  r.Fill(lens, White, 0.55);
  r.Fill(Shape::Inner(lens, 1.4), t.Text);
  return r.Flatten(Solid(t.Face));
}

TPixmap TSkinPainter::Separator(int width, int height) const {
  TRaster r(width, height);
  r.Fill(Box(width / 2.0 - 1, 2, width / 2.0, height - 2), FTheme.GroupEdge);
  r.Fill(Box(width / 2.0, 2, width / 2.0 + 1, height - 2), White);
  return r.Flatten(Solid(FTheme.Face));
}

TPixmap TSkinPainter::Panel(int size) const {
  TRaster r(size, size);
  r.FillAll(Solid(FTheme.Face));
  r.Fill(Shape::Inner(Box(1, 1, size, size), 1), FTheme.StatusShadow);
  r.Fill(Shape::Inner(Box(0, 0, size - 1, size - 1), 1), White);
  return r.Opaque(Solid(FTheme.Face));
}
