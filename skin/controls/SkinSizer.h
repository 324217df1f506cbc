#pragma once
// TSkinSizer: a size box or size grip (a scroll-bar window of a dialog that sizes its window rather than
// scrolling) covered in the skin's face colour after it has painted itself, so that no system-coloured
// square is left in a skinned dialog's corner.
#include "skin/controls/SkinControl.h"

class TSkinSizer : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

protected:
    void DrawSkin(HDC DC, const TRect& Rect) override;
};
