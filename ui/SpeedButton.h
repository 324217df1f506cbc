#pragma once
// TSpeedButton: a windowless push button with a glyph. It never takes the keyboard focus; its parent
// paints it and hands it the mouse. The glyph (a bitmap whose bottom-left pixel colour is transparent)
// stands left of the caption by default, the two centred together. A button with a GroupIndex stays
// Down when clicked (and releases the other buttons of its group); OnClick follows every click.
#include "ui/Bitmap.h"
#include "ui/ButtonGlyph.h"
#include "ui/GraphicControl.h"

class TSpeedButton : public TGraphicControl {
public:
    CLARIVO_CLASS

    explicit TSpeedButton(TComponent* owner);

    // The glyph and its place beside the caption (Glyph, NumGlyphs, Layout, Margin, Spacing).
    TButtonGlyph& ButtonGlyph() { return FButtonGlyph; }
    TBitmap* Glyph() { return FButtonGlyph.Glyph(); }
    void SetGlyph(const TBitmap* glyph) { FButtonGlyph.Glyph()->Assign(glyph); }
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);

    // Pressed by the mouse right now (the button is drawn down).
    bool Pressed() const { return FPressed; }

    void DoClick() override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    void ReleaseGroup();

    TButtonGlyph FButtonGlyph;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FPressed = false;
    bool FDragging = false;
};

// Whether key is the accelerator (the character after '&') of caption.
bool IsAccel(WPARAM key, const std::wstring& caption);
