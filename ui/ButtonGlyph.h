#pragma once
// What glyph buttons (TSpeedButton, TBitBtn) share: placing a glyph and a caption on the face as one
// block by layout, margin and spacing, and drawing one image of a glyph strip and the caption in the
// button's state.
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Properties.h"
#include "ui/Types.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The layout values' names as published properties spell them.
inline constexpr std::initializer_list<const char*> ButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                                        "blGlyphBottom"};

struct TGlyphCaptionPlaces {
    TPoint Glyph;  // top-left corner of the glyph
    TRect Caption;
};

// Places a glyph and a caption on a face (sizes may be 0). The glyph stands on the layout's side of the
// caption, spacing apart; margin is its distance from that edge of the face, -1 centres the block.
TGlyphCaptionPlaces PlaceGlyphAndCaption(TSize face, TSize glyph, TSize caption, TButtonLayout layout, int margin,
                                         int spacing);

// One image of a strip of numGlyphs images side by side (up, disabled, down, exclusive) at (x, y), the
// strip's transparent colour left out. Disabled without an image of its own: a grey version of the up one.
void DrawGlyphImage(TCanvas& canvas, int x, int y, TBitmap& strip, int numGlyphs, bool enabled, bool down);

// A caption in rect, etched (highlight under shadow) when disabled.
void DrawButtonCaption(HDC dc, const std::wstring& caption, const TRect& rect, UINT format, bool enabled,
                       TColor color);

// A glyph button's glyph strip and how it stands beside the caption. Every change of look calls the
// function the button gave.
class TButtonGlyph {
public:
    explicit TButtonGlyph(std::function<void()> changed);

    TBitmap* Glyph() { return &FGlyph; }
    // How many images the strip holds side by side: up, disabled, down, exclusive (1 to 4).
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    // Distance of the glyph from its edge; -1 centres glyph and caption together.
    int Margin() const { return FMargin; }
    void SetMargin(int margin);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);

    // One image's size; 0 by 0 without a glyph.
    TSize ImageSize() const;
    TGlyphCaptionPlaces Place(TSize face, TSize glyph, TSize caption) const {
        return PlaceGlyphAndCaption(face, glyph, caption, FLayout, FMargin, FSpacing);
    }
    void Draw(TCanvas& canvas, int x, int y, bool enabled, bool down) {
        DrawGlyphImage(canvas, x, y, FGlyph, FNumGlyphs, enabled, down);
    }

private:
    TBitmap FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    std::function<void()> FChanged;
};

// The published properties of the glyph button class C (its ButtonGlyph() gives the TButtonGlyph):
// Glyph, Layout, Margin, NumGlyphs, Spacing; then more of its own.
template <typename C>
std::vector<TPropInfo> GlyphButtonProperties(std::vector<TPropInfo> more) {
    auto glyph = [](const C& c) -> TButtonGlyph& { return const_cast<C&>(c).ButtonGlyph(); };
    more.push_back(ClassProp<C, TBitmap>("Glyph", [glyph](C& c) { return glyph(c).Glyph(); }));
    more.push_back(EnumProp<C, TButtonLayout>(
        "Layout", ButtonLayoutNames, [glyph](const C& c) { return glyph(c).Layout(); },
        [glyph](C& c, TButtonLayout v) { glyph(c).SetLayout(v); }));
    more.push_back(IntProp<C>("Margin", [glyph](const C& c) { return glyph(c).Margin(); },
                              [glyph](C& c, int v) { glyph(c).SetMargin(v); }));
    more.push_back(IntProp<C>("NumGlyphs", [glyph](const C& c) { return glyph(c).NumGlyphs(); },
                              [glyph](C& c, int v) { glyph(c).SetNumGlyphs(v); }));
    more.push_back(IntProp<C>("Spacing", [glyph](const C& c) { return glyph(c).Spacing(); },
                              [glyph](C& c, int v) { glyph(c).SetSpacing(v); }));
    return more;
}
