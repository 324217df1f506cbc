#pragma once
// TSpeedButton: a windowless push button with a glyph. It never takes the keyboard focus; its parent
// paints it and hands it the mouse. The glyph (a bitmap whose bottom-left pixel colour is transparent)
// stands left of the caption by default, the two centred together. A button with a GroupIndex stays
// Down when clicked (and releases the other buttons of its group); OnClick follows every click.
#include "ui/Bitmap.h"
#include "ui/GraphicControl.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    CLARIVO_CLASS

    explicit TSpeedButton(TComponent* owner);

    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap* glyph) { FGlyph.Assign(glyph); }
    // How many images the glyph holds side by side: up, disabled, down, exclusive (1 to 4).
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    // Distance of the glyph from the edge; -1 centres glyph and caption together.
    int Margin() const { return FMargin; }
    void SetMargin(int margin);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);

    // Pressed by the mouse right now (the button is drawn down).
    bool Pressed() const { return FPressed; }

    void DoClick() override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    void DrawGlyph(TCanvas& canvas, int x, int y);
    void ReleaseGroup();

    TBitmap FGlyph;
    int FNumGlyphs = 1;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FPressed = false;
    bool FDragging = false;
};

// Whether key is the accelerator (the character after '&') of caption.
bool IsAccel(WPARAM key, const std::wstring& caption);
