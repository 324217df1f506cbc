#pragma once
// TBitBtn: a push button with a glyph beside its caption. The glyph comes from an image list (Images,
// ImageIndex, DisabledIndex) when one is given, else from Glyph, a strip of NumGlyphs images (up,
// disabled, down, exclusive). Layout, Margin and Spacing place glyph and caption as TSpeedButton does.
// It draws itself in the system's button look; a disabled glyph without an image of its own is greyed.
#include "ui/Button.h"
#include "ui/ButtonGlyph.h"

class TImageList;

class TBitBtn : public TButton {
public:
    CLARIVO_CLASS

    explicit TBitBtn(TComponent* owner);

    // The glyph and its place beside the caption (Glyph, NumGlyphs, Layout, Margin, Spacing).
    TButtonGlyph& ButtonGlyph() { return FButtonGlyph; }
    TBitmap* Glyph() { return FButtonGlyph.Glyph(); }

    // The image list is not owned: it must outlive the button, or be taken away first (null).
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int index);

protected:
    void Notification(TComponent* component) override;
    bool OwnerDrawn() const override { return true; }
    void DrawContent(HDC dc, const TRect& rect, bool pressed) override;

private:
    bool UsesImageList() const;
    TSize GlyphSize() const;

    TButtonGlyph FButtonGlyph;
    TImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDisabledIndex = -1;
};
