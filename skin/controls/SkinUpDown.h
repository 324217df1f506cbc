#pragma once
// TSkinUpDown: a spin control's two arrows from the skin's up-down images (eight frames: normal,
// pressed, disabled and a spare for the up or left arrow, then the same for the down or right one, with
// a glyph image beside them), or plain boxes with line arrows in the skin's colours when the skin has
// none. Drawn off screen and copied in one blit; the control's own stepping is left as it is.
#include "skin/controls/SkinControl.h"

// The look of one arrow.
enum TArrowState { asNormal = 1, asPressed = 2, asDisabled = 3 };
// The two arrows: up or left first, down or right second.
enum TSpinArrow { saFirst = 0, saSecond = 1 };

class TSkinUpDown : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    // The spin sits inside an edit: it keeps clear of the edit's frame.
    bool Embedded() const { return FEmbedded; }
    void SetEmbedded(bool Value) { FEmbedded = Value; }
    // Drawn as left and right arrows whatever the control's style (the scroll arrows of a tab row).
    void SetHorizontal(bool Value) { FHorizontal = Value ? 1 : 0; }
    bool Horizontal() const;

    // The arrow's look now: pressed only while the button is down with the pointer on that arrow.
    TArrowState ArrowState(TSpinArrow Arrow) const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    // The arrow's half of Area.
    TRect ArrowRect(const TRect& Area, TSpinArrow Arrow) const;
    // A box with a line arrow, for skins without up-down images.
    void DrawPlainArrow(HDC DC, const TRect& Half, TSpinArrow Arrow, TArrowState State) const;

    bool FEmbedded = false;
    int FHorizontal = 0;
};
