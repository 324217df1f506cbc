#pragma once
// TSkinProgress: a progress bar drawn from the skin's Progress element: the trough (frame 1) over the
// whole bar and the filled part (frame 2) over the share of the range reached, or, for a skin whose
// progress is made of chunks, the chunk image tiled or stretched over that share inside the trough. A
// standing bar is drawn lying and turned, so that it fills from the bottom. A marquee bar shows a block
// of the fill running across it, one step for each of the control's own marquee ticks.
#include "skin/controls/SkinControl.h"

class TSkinProgress : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    // The filled length of a lying bar Length pixels long, for the control's range and position now.
    int FillLength(int Length) const;
    // Where the marquee's block starts now, along a lying bar Length pixels long (may lie before 0).
    int MarqueeStart(int Length) const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    bool HasImage() const;
    // The lying bar (Width x Height) into DC: trough and fill.
    void DrawBar(HDC DC, int Width, int Height);

    int FMarqueeStep = 0;
};
