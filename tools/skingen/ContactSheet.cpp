#include "ContactSheet.h"

#include "LabelFont.h"

#include "base/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {
constexpr TRgb8 Paper{250, 250, 250}, Ink{40, 40, 48}, Faint{130, 130, 140}, Desktop{58, 96, 140};

TRgb8 ParseColour(const std::string& text, TRgb8 fallback) {
  int parts[3] = {0, 0, 0}, n = 0, run = -1;
  for (size_t i = 0; i <= text.size() && n < 3; ++i) {
    const bool digit = i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
    if (digit) run = (run < 0 ? 0 : run * 10) + (text[i] - '0');
    if (!digit && run >= 0) parts[n++] = run % 256, run = -1;
  }
  if (n == 0) return fallback;
  return {static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]), static_cast<std::uint8_t>(parts[2])};
}

TPixmap FrameOf(const TSkinImage& image, int k) {
  const int w = image.Vertical ? image.Image.Width() : image.Image.Width() / image.Frames;
  const int h = image.Vertical ? image.Image.Height() / image.Frames : image.Image.Height();
  return image.Image.Crop(image.Vertical ? 0 : (k - 1) * w, image.Vertical ? (k - 1) * h : 0, w, h);
}

// Nearest-neighbour stretch of a source piece; keyed: key-coloured source pixels leave the target alone.
void Stretch(TPixmap& dst, const TPixmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh,
             bool keyed) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) {
      const TRgb8 c = src.At(sx + i * sw / dw, sy + j * sh / dh);
      if (!(keyed && c == KeyColour)) dst.Set(dx + i, dy + j, c);
    }
}

struct TMargins {
  int L = 0, T = 0, R = 0, B = 0;
};

void NinePart(TPixmap& dst, const TPixmap& f, int x, int y, int w, int h, TMargins m, bool keyed) {
  if (w < m.L + m.R) m.L = m.R = 0;
  if (h < m.T + m.B) m.T = m.B = 0;
  const int fw = f.Width(), fh = f.Height();
  const int cols[4] = {0, m.L, fw - m.R, fw}, dcols[4] = {0, m.L, w - m.R, w};
  const int rows[4] = {0, m.T, fh - m.B, fh}, drows[4] = {0, m.T, h - m.B, h};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      Stretch(dst, f, cols[c], rows[r], cols[c + 1] - cols[c], rows[r + 1] - rows[r], x + dcols[c], y + drows[r],
              dcols[c + 1] - dcols[c], drows[r + 1] - drows[r], keyed);
}

// Draws a mock window the way the program composes it from the skin.
class TPreview {
public:
  TPreview(const TSkinArt& art, const TQuickIni& ini) : FArt(art), FIni(ini) {}

  std::string Str(const std::string& section, const std::string& key) const { return FIni.ReadString(section, key, ""); }
  int Num(const std::string& section, const std::string& key, int fallback) const {
    return FIni.ReadInteger(section, key, fallback);
  }

  const TSkinImage* Image(const std::string& section, const std::string& key = "Image") const {
    return FArt.Find(LowerCaseAscii(Str(section, key)));
  }
  TMargins Margins(const std::string& section) const {
    return {Num(section, "LeftWidth", 0), Num(section, "TopHeight", 0), Num(section, "RightWidth", 0),
            Num(section, "BottomHeight", 0)};
  }
  TRgb8 Colour(const std::string& key, TRgb8 fallback) const { return ParseColour(Str("Colours", key), fallback); }
  TRgb8 Face() const { return Colour("ButtonFace", {212, 208, 200}); }

  void Element(TPixmap& dst, const std::string& section, int frame, int x, int y, int w, int h,
               const std::string& key = "Image") const {
    if (const TSkinImage* image = Image(section, key))
      NinePart(dst, FrameOf(*image, frame), x, y, w, h, Margins(section), true);
  }
  void Glyph(TPixmap& dst, const TSkinImage* image, int frame, int x, int y, int w, int h) const {
    if (!image) return;
    const TPixmap f = FrameOf(*image, frame);
    Stretch(dst, f, 0, 0, f.Width(), f.Height(), x + (w - f.Width()) / 2, y + (h - f.Height()) / 2, f.Width(), f.Height(),
            true);
  }
  static void Text(TPixmap& dst, int x, int y, int h, const std::string& text, TRgb8 colour) {
    TLabelFont::Draw(dst, x, y + (h - 7) / 2, text, colour);
  }

  // Returns the window's client rectangle top (below title and menu bar).
  int Window(TPixmap& dst, int x0, int y0, int w, int h, bool active, bool menu) const {
    const int frame = active ? 1 : 2;
    const TSkinImage* left = Image("Personality", "Left");
    const TSkinImage* right = Image("Personality", "Right");
    const TSkinImage* top = Image("Personality", "Top");
    const TSkinImage* bottom = Image("Personality", "Bottom");
    if (!left || !right || !top || !bottom) return y0;
    const int lw = FrameOf(*left, 1).Width(), rw = FrameOf(*right, 1).Width();
    const int th = FrameOf(*top, 1).Height(), bh = FrameOf(*bottom, 1).Height();
    auto side = [&](const std::string& name) {
      return TMargins{0, Num("Personality", name + "TopHeight", 0), 0, Num("Personality", name + "BotHeight", 0)};
    };
    auto across = [&](const std::string& name) {
      return TMargins{Num("Personality", name + "TopHeight", 0), 0, Num("Personality", name + "BotHeight", 0), 0};
    };
    NinePart(dst, FrameOf(*left, frame), x0, y0, lw, h, side("Left"), true);
    NinePart(dst, FrameOf(*right, frame), x0 + w - rw, y0, rw, h, side("Right"), true);
    NinePart(dst, FrameOf(*bottom, frame), x0 + lw, y0 + h - bh, w - lw - rw, bh, across("Bottom"), true);
    NinePart(dst, FrameOf(*top, frame), x0 + lw, y0, w - lw - rw, th, across("Top"), true);

    // Caption text, with its background when the skin has one.
    const std::string caption = "  CLARIVO - C:\\USERS";
    const int textWidth = TLabelFont::TextWidth(caption) + 6;
    const int backLeft = Num("Personality", "TXTBackleft", 0), backRight = Num("Personality", "TXTBackRight", 0);
    const int titleWidth = w - lw - rw, boxWidth = textWidth + backLeft + backRight;
    int tx = x0 + lw;
    switch (Num("Personality", "TextAlignment", 0)) {
      case 0: tx += Num("Personality", "TextShift", 0); break;
      case 1: tx += (titleWidth - boxWidth) / 2; break;
      case 2: tx += titleWidth - Num("Personality", "TextRightClip", 0) - boxWidth; break;
      default: break;
    }
    if (const TSkinImage* back = Image("Personality", "TextBack")) {
      const TPixmap f = FrameOf(*back, frame);
      const int bw = textWidth + backLeft + backRight;
      Stretch(dst, f, 0, 0, backLeft, f.Height(), tx, y0, backLeft, th, true);
      Stretch(dst, f, backLeft, 0, f.Width() - backLeft - backRight, f.Height(), tx + backLeft, y0, bw - backLeft - backRight, th, true);
      Stretch(dst, f, f.Width() - backRight, 0, backRight, f.Height(), tx + bw - backRight, y0, backRight, th, true);
    }
    const int textLeft = tx, textRight = tx + textWidth + backLeft + backRight;
    Text(dst, tx + backLeft, y0 + Num("Personality", "TextShiftVert", 0) / 2, th, caption,
         active ? Colour("TitleTextActive", {255, 255, 255}) : Colour("TitleTextNoActive", {0, 0, 0}));

    // Caption buttons the program keeps: every BUTTON section but the dropped ones.
    std::vector<std::string> sections;
    FIni.ReadSections(sections);
    for (const std::string& section : sections) {
      std::string upper = section;
      for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" ||
          upper == "BUTTON")
        continue;
      const int action = Num(section, "Action", 0), visibility = Num(section, "Visibility", -1);
      if (action == -1 && visibility != 0) continue;
      const int v = Num(section, "Visibility", 0);
      // The mock window is a normal, sizeable main window with every caption box.
      const bool shown = v == 0 || v == 2 || (v == 3 && active) || (v == 4 && !active) || v == 6 || v == 8 ||
                         (v >= 201 && v <= 2000);
      const TSkinImage* image = FArt.Find(LowerCaseAscii(Str(section, "ButtonImage")));
      if (!shown || !image) continue;
      const int frames = Num(section, "frame", 0) > 0 ? Num(section, "frame", 0) : image->Frames;
      const int bw = image->Image.Width() / frames, bh2 = image->Image.Height();
      const int xc = Num(section, "Xcoord", 0), yc = Num(section, "Ycoord", 0);
      int bx = x0;
      switch (Num(section, "Align", 0)) {
        case 0: bx = x0 + xc; break;
        case 1: bx = x0 + w - xc; break;
        case 2: case 8: bx = textLeft - bw - xc; break;
        case 3: case 9: bx = textRight + xc; break;
        default: continue;  // menu bar buttons show only for a maximised child window
      }
      const TPixmap f = image->Image.Crop((!active && frames >= 4 ? 3 : 0) * bw, 0, bw, bh2);
      Stretch(dst, f, 0, 0, bw, bh2, bx, y0 + yc, bw, bh2, true);
    }

    int clientTop = y0 + th;
    if (menu) {
      const int mh = 20;
      if (const TSkinImage* bar = Image("Personality", "menuBar")) {
        const TPixmap f = FrameOf(*bar, frame);
        NinePart(dst, f, x0 + lw, clientTop, w - lw - rw, mh, {1, 0, 1, 0}, false);
      }
      int mx = x0 + lw + 6;
      for (const std::string item : {"FILE", "EDIT", "VIEW", "HELP"}) {
        Text(dst, mx + 5, clientTop, mh, item, Colour("MenuBarText", {0, 0, 0}));
        mx += TLabelFont::TextWidth(item) + 12;
      }
      clientTop += mh;
    }
    dst.FillRect(x0 + lw, clientTop, w - lw - rw, y0 + h - bh - clientTop, Face());
    return clientTop;
  }

  TPixmap Render() const {
    TPixmap out(820, 400, Desktop);
    const int W = 560, H = 380;
    const int ct = Window(out, 10, 10, W, H, true, true);
    const int cx = 10 + FrameOf(*Image("Personality", "Left"), 1).Width();
    const TRgb8 text = Colour("ButtonText", {0, 0, 0});

    // Push buttons: normal, hot, pressed, disabled, focused.
    const char* captions[] = {"FIND", "HOT", "DOWN", "OFF", "FOCUS"};
    const int order[] = {1, 4, 2, 3, 5};
    for (int i = 0; i < 5; ++i) {
      const int bx = cx + 12 + i * 82, by = ct + 12;
      Element(out, "Buttons", order[i], bx, by, 75, 23, "Bitmap");
      Text(out, bx + (75 - TLabelFont::TextWidth(captions[i])) / 2, by, 23, captions[i], order[i] == 3 ? TRgb8{150, 150, 150} : text);
    }
    // Check boxes and radio buttons, every cell.
    const TSkinImage* check = Image("Buttons", "CheckButton");
    const TSkinImage* radio = Image("Buttons", "RadioButton");
    for (int k = 1; k <= 5; ++k) {
      Glyph(out, check, k, cx + 12 + (k - 1) * 60, ct + 48, 13, 13);
      Text(out, cx + 30 + (k - 1) * 60, ct + 48, 13, "BOX", text);
      Glyph(out, radio, k, cx + 12 + (k - 1) * 60, ct + 68, 13, 13);
      Text(out, cx + 30 + (k - 1) * 60, ct + 68, 13, "DOT", text);
    }
    // Combo box: the edge, the button at its right and the arrow glyph.
    for (int k = 1; k <= 2; ++k) {
      const int bx = cx + 320 + (k - 1) * 0, by = ct + 46 + (k - 1) * 26;
      const int frame = k == 1 ? 1 : 4;
      Element(out, "SunkEdge", frame, bx, by, 200, 21);
      Element(out, "ComboButton", frame, bx + 200 - 19, by, 19, 21);
      Glyph(out, Image("ExtraImages"), frame, bx + 200 - 19, by, 19, 21);
      Text(out, bx + 6, by, 21, k == 1 ? "*.TXT" : "HOT", {0, 0, 0});
    }
    // Progress bar at 60 %.
    {
      const int px = cx + 12, py = ct + 96, pw = 280, ph = 18, fill = pw * 6 / 10;
      if (Num("Progress", "Style", 0) == 0) {
        Element(out, "Progress", 1, px, py, pw, ph, "Bitmap");
        Element(out, "Progress", 2, px, py, fill, ph, "Bitmap");
      } else {
        Element(out, "Progress", 1, px, py, pw, ph, "Bitmap");
        if (const TSkinImage* chunk = Image("Progress.Chunk"))
          for (int x = 0; x + chunk->Image.Width() <= fill; x += chunk->Image.Width())
            Glyph(out, chunk, 1, px + 2 + x, py, chunk->Image.Width(), ph);
      }
    }
    // Horizontal scroll bar: arrows, track, thumb and grip.
    {
      const TSkinImage* arrows = Image("Scrollbar");
      const int sx = cx + 12, sy = ct + 124, sw = 280, s = 17;
      Element(out, "HorzScroll", 1, sx + s, sy, sw - 2 * s, s);
      Glyph(out, arrows, 1, sx, sy, s, s);
      Glyph(out, arrows, 8, sx + sw - s, sy, s, s);
      Element(out, "HorzScrollThumb", 1, sx + 60, sy, 70, s);
      Glyph(out, arrows, 17, sx + 60, sy, 70, s);
      Element(out, "HorzScrollThumb", 3, sx + 150, sy, 50, s);
      Glyph(out, arrows, 19, sx + 150, sy, 50, s);
    }
    // Tabs on a pane.
    {
      const int tx = cx + 12, ty = ct + 152, tw = 280;
      const TSkinImage* pane = Num("Tabs", "Style", 0) == 0 ? Image("Tabs", "Border") : Image("Tab.Pane");
      if (pane) NinePart(out, FrameOf(*pane, 1), tx, ty + 22, tw, 70, Num("Tabs", "Style", 0) == 0 ? TMargins{4, 5, 4, 4} : Margins("Tab.Pane"), false);
      const char* tabs[] = {"FOLDERS", "FILES", "OPTIONS"};
      int x = tx + 2;
      for (int i = 0; i < 3; ++i) {
        const int width = TLabelFont::TextWidth(tabs[i]) + 20;
        Element(out, "Tabs", i == 1 ? 2 : i == 2 ? 3 : 1, x, ty + 1, width, 21);
        Text(out, x + 10, ty + 2, 21, tabs[i], text);
        x += width;
      }
      // Group box inside the pane.
      Element(out, "GroupBoxEdge", 1, tx + 10, ty + 38, 140, 46);
      Element(out, "GroupBox", 1, tx + 18, ty + 30, 70, 18);
      Text(out, tx + 24, ty + 30, 18, "SEARCH", text);
    }
    // Track bar and spin edit, where the skin has images for them.
    if (const TSkinImage* track = Image("Track")) {
      const int ty = ct + 262, tw = 180;
      const TPixmap f = FrameOf(*track, 1);
      NinePart(out, f, cx + 12, ty + 8, tw, f.Height(), Margins("Track"), false);
      if (const TSkinImage* thumb = Image("Trackbar.ThumbDown")) {
        const TPixmap cell = FrameOf(*thumb, 2);
        Glyph(out, thumb, 2, cx + 12 + tw * 2 / 3 - cell.Width() / 2, ty + 8 + f.Height() / 2 - 6, cell.Width(), cell.Height());
      }
      for (int i = 0; i <= 10; ++i) out.FillRect(cx + 17 + i * (tw - 10) / 10, ty + 30, 1, 3, {120, 120, 120});
    }
    if (const TSkinImage* spin = Image("UpDown.Vert")) {
      const int sx = cx + 210, sy = ct + 262, sw = 16, sh = 21;
      Element(out, "SunkEdge", 1, sx, sy, 70, sh);
      Text(out, sx + 6, sy, sh, "250", {0, 0, 0});
      const TSkinImage* glyphs = Image("UpDown.Vert", "GlyphImage");
      for (int half = 0; half < 2; ++half) {
        const TPixmap f = FrameOf(*spin, 1 + 4 * half);
        const int hy = sy + 2 + half * (sh - 4) / 2;
        Stretch(out, f, 0, 0, f.Width(), f.Height(), sx + 70 - sw - 2, hy, sw, (sh - 4) / 2, true);
        Glyph(out, glyphs, 1 + 4 * half, sx + 70 - sw - 2, hy, sw, (sh - 4) / 2);
      }
    }
    // A list with a header, a vertical scroll bar, and a popup menu over it.
    {
      const int lx = cx + 310, ly = ct + 104, lw = 226, lh = 130, s = 17;
      out.FillRect(lx, ly, lw, lh, {255, 255, 255});
      Element(out, "SunkEdge", 1, lx - 1, ly - 1, lw + 2, lh + 2);
      out.FillRect(lx + 1, ly + 1, lw - 2, lh - 2, {255, 255, 255});
      const char* columns[] = {"NAME", "SIZE", "DATE"};
      for (int i = 0; i < 3; ++i) {
        Element(out, "Headerbar", i == 1 ? 2 : 1, lx + 1 + i * 70, ly + 1, 70, 22);
        Text(out, lx + 8 + i * 70, ly + 1, 22, columns[i], {0, 0, 0});
      }
      Element(out, "Headerbar", 1, lx + 211, ly + 1, lw - 2 - 210 - s, 22);
      const TSkinImage* arrows = Image("Scrollbar");
      const int vx = lx + lw - 1 - s, vy = ly + 1;
      Element(out, "VertScroll", 1, vx, vy + s, s, lh - 2 - 2 * s);
      Glyph(out, arrows, 9, vx, vy, s, s);
      Glyph(out, arrows, 13, vx, vy + lh - 2 - s, s, s);
      Element(out, "VertScrollThumb", 1, vx, vy + 30, s, 50);
      Glyph(out, arrows, 20, vx, vy + 30, s, 50);
      // Popup menu.
      const int mx = lx + 40, my = ly + 40, mw = 150, mh = 6 + 22 * 3 + 8;
      Element(out, "MenuBackground", 1, mx, my, mw, mh);
      const char* items[] = {"UNHIDE ALL", "UNHIDE CHECKED", "-", "DELETE"};
      int y = my + 3;
      for (const char* item : items) {
        const bool separator = std::string(item) == "-";
        const int ih = separator ? 8 : 22;
        if (separator) {
          if (const TSkinImage* mi = Image("MenuItem")) {
            const TPixmap f = FrameOf(*mi, 2);
            Stretch(out, f, 0, f.Height() - ih, f.Width(), ih, mx + 3, y, mw - 6, ih, true);
          }
        } else {
          Element(out, "MenuItem", std::string(item) == "UNHIDE CHECKED" ? 4 : 1, mx + 3, y, mw - 6, ih);
          Text(out, mx + 38, y, ih, item, Colour("MenuText", {0, 0, 0}));
        }
        y += ih;
      }
    }
    // Status bar with a size grip.
    {
      const int sy = 10 + H - FrameOf(*Image("Personality", "Bottom"), 1).Height() - 22;
      const int sw = W - 2 * FrameOf(*Image("Personality", "Left"), 1).Width();
      Element(out, "StatusBarEdges", 3, cx, sy, sw, 22);
      Element(out, "StatusBarEdges", 1, cx + 2, sy + 2, 300, 18);
      Element(out, "StatusBarEdges", 2, cx + 304, sy + 2, sw - 306 - 14, 18);
      const std::string colour = Str("StatusBarEdges", "NormalColour2");
      Text(out, cx + 8, sy + 2, 18, "12 FOLDER(S) SEARCHED", ParseColour(colour, {0, 0, 0}));
      Glyph(out, Image("ExtraImages"), 5, cx + sw - 13, sy + 9, 12, 12);
    }
    // An inactive window beside it.
    const int ict = Window(out, 580, 10, 230, 120, false, false);
    Element(out, "Buttons", 1, 580 + 60, ict + 40, 90, 23, "Bitmap");
    Text(out, 580 + 87, ict + 40, 23, "CLOSE", text);
    return out;
  }

private:
  const TSkinArt& FArt;
  const TQuickIni& FIni;
};

void Checkerboard(TPixmap& dst, int x, int y, const TPixmap& src, int scale) {
  for (int j = 0; j < src.Height() * scale; ++j)
    for (int i = 0; i < src.Width() * scale; ++i) {
      const TRgb8 c = src.At(i / scale, j / scale);
      const bool light = ((i / 4) + (j / 4)) % 2 == 0;
      dst.Set(x + i, y + j, c == KeyColour ? (light ? TRgb8{255, 255, 255} : TRgb8{214, 214, 222}) : c);
    }
}
}  // namespace

TPixmap TContactSheet::Render(const TSkinArt& art, const TQuickIni& ini) {
  const TPixmap preview = TPreview(art, ini).Render();
  constexpr int Width = 1400, Margin = 16, Gap = 8;
  // First pass measures, second draws.
  auto layout = [&](TPixmap* out) {
    int y = Margin;
    if (out) {
      TLabelFont::Draw(*out, Margin, y, "SKIN: " + art.Name + "  (" + std::to_string(art.Images.size()) + " IMAGES)", Ink, 2);
      out->Blit(preview, Margin, y + 24);
    }
    y += 24 + preview.Height() + 2 * Gap;
    for (const TSkinImage& image : art.Images) {
      const TPixmap first = FrameOf(image, 1);
      const int scale = first.Height() <= 26 && first.Width() <= 80 ? 3 : first.Height() <= 64 ? 2 : 1;
      const int fw = first.Width() * scale, fh = first.Height() * scale;
      const std::string label = image.File + "   [" + image.Section + "]   " + std::to_string(image.Image.Width()) + "X" +
                                std::to_string(image.Image.Height()) + ", " + std::to_string(image.Frames) + " FRAME" +
                                (image.Frames == 1 ? "" : "S") + (image.Vertical ? ", STACKED" : "") + "   X" +
                                std::to_string(scale);
      if (out) TLabelFont::Draw(*out, Margin, y, label, Ink);
      y += 12;
      int x = Margin;
      for (int k = 1; k <= image.Frames; ++k) {
        if (x + fw > Width - Margin) {
          x = Margin;
          y += fh + 14;
        }
        if (out) {
          Checkerboard(*out, x, y, FrameOf(image, k), scale);
          TLabelFont::Draw(*out, x, y + fh + 3, std::to_string(k), Faint);
        }
        x += fw + Gap;
      }
      y += fh + 14 + Gap;
    }
    return y + Margin;
  };
  TPixmap sheet(Width, layout(nullptr), Paper);
  layout(&sheet);
  return sheet;
}
