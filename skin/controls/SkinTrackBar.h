#pragma once
// TSkinTrackBar: a track bar drawn through its own custom-draw notifications: the channel from the skin's
// Track or TrackVert image (caps kept, the middle stretched) and the thumb from its TrackbarThumbHorz or
// TrackbarThumbVert image; the ticks stay the control's. The track bar keeps all its handling of mouse
// and keys.
#include "skin/controls/SkinControl.h"

class TSkinTrackBar : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& Message) override;

private:
    bool Vertical() const;
    void DrawChannel(HDC DC);
    void DrawThumb(HDC DC);
};
