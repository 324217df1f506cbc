#pragma once
// TSkinSizer: a size box or size grip (a scroll-bar window of a dialog that sizes its window rather than
// scrolling) covered in the skin's face colour after it has painted itself, so that no system-coloured
// square is left in a skinned dialog's corner; a grip shows the skin's grip image on it.
#include "skin/controls/SkinControl.h"

// Where the skin's size grip image goes in the bottom-right corner of Area (one pixel inside, as the
// system's grip); empty when the skin has none.
TRect SkinGripRect(const TSkinData& SkinData, const TRect& Area);
// The skin's size grip image drawn there.
void DrawSkinGrip(HDC DC, const TSkinData& SkinData, const TRect& Area);

class TSkinSizer : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

protected:
    void DrawSkin(HDC DC, const TRect& Rect) override;
};
