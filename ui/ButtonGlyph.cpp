#include "ui/ButtonGlyph.h"

#include <utility>

TButtonGlyph::TButtonGlyph(std::function<void()> changed) : FChanged(std::move(changed)) {
    FGlyph.OnChange = [this](TObject*) { FChanged(); };
}

void TButtonGlyph::SetNumGlyphs(int count) {
    FNumGlyphs = count < 1 ? 1 : count > 4 ? 4 : count;
    FChanged();
}

void TButtonGlyph::SetLayout(TButtonLayout layout) {
    FLayout = layout;
    FChanged();
}

void TButtonGlyph::SetMargin(int margin) {
    FMargin = margin < -1 ? -1 : margin;
    FChanged();
}

void TButtonGlyph::SetSpacing(int spacing) {
    FSpacing = spacing;
    FChanged();
}

TSize TButtonGlyph::ImageSize() const {
    if (FGlyph.Empty()) return {};
    return {FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

TGlyphCaptionPlaces PlaceGlyphAndCaption(TSize face, TSize glyph, TSize caption, TButtonLayout layout, int margin,
                                         int spacing) {
    if (glyph.Width == 0 || caption.Width == 0) spacing = 0;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int block = horizontal ? glyph.Width + spacing + caption.Width : glyph.Height + spacing + caption.Height;
    const int available = horizontal ? face.Width : face.Height;
    if (margin < 0) margin = (available - block) / 2;
    TPoint g, t;
    if (horizontal) {
        g.Y = (face.Height - glyph.Height) / 2;
        t.Y = (face.Height - caption.Height) / 2;
        g.X = layout == blGlyphLeft ? margin : face.Width - margin - glyph.Width;
        t.X = layout == blGlyphLeft ? g.X + glyph.Width + spacing : g.X - spacing - caption.Width;
    } else {
        g.X = (face.Width - glyph.Width) / 2;
        t.X = (face.Width - caption.Width) / 2;
        g.Y = layout == blGlyphTop ? margin : face.Height - margin - glyph.Height;
        t.Y = layout == blGlyphTop ? g.Y + glyph.Height + spacing : g.Y - spacing - caption.Height;
    }
    return {g, TRect::FromBounds(t.X, t.Y, caption.Width, caption.Height)};
}

void DrawGlyphImage(TCanvas& canvas, int x, int y, TBitmap& strip, int numGlyphs, bool enabled, bool down) {
    if (strip.Empty() || numGlyphs < 1) return;
    // Image 2 of the strip is the disabled look, 3 the down one; without them the up image serves.
    const int index = !enabled && numGlyphs > 1 ? 1 : down && numGlyphs > 2 ? 2 : 0;
    const int w = strip.Width() / numGlyphs, h = strip.Height();
    TBitmap frame;
    frame.SetPixelFormat(pf24bit);
    frame.SetSize(w, h);
    BitBlt(frame.Canvas()->Handle(), 0, 0, w, h, strip.Canvas()->Handle(), index * w, 0, SRCCOPY);
    frame.SetTransparent(true);
    frame.SetTransparentColor(strip.TransparentColor());
    if (!enabled && numGlyphs < 2) {
        const COLORREF key = ColorToRGB(frame.TransparentColor());
        for (int row = 0; row < h; ++row) {
            auto* p = static_cast<unsigned char*>(frame.ScanLine(row));
            for (int col = 0; col < w; ++col, p += 3) {
                if (p[2] == GetRValue(key) && p[1] == GetGValue(key) && p[0] == GetBValue(key)) continue;
                const unsigned grey = (p[0] * 29u + p[1] * 150u + p[2] * 77u) >> 8;
                p[0] = p[1] = p[2] = static_cast<unsigned char>(128 + grey / 2);
            }
        }
    }
    canvas.Draw(x, y, frame);
}

void DrawButtonCaption(HDC dc, const std::wstring& caption, const TRect& rect, UINT format, bool enabled,
                       TColor color) {
    if (caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(caption.size());
    RECT r = rect.ToRECT();
    if (!enabled) {
        RECT etched = r;
        OffsetRect(&etched, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextW(dc, caption.c_str(), length, &etched, format);
        color = clBtnShadow;
    }
    SetTextColor(dc, ColorToRGB(color));
    DrawTextW(dc, caption.c_str(), length, &r, format);
}
