#pragma once
// Painters of containers:
//   TSkinBox      a panel (and the box of a navigator bar): only the skin's face colour, no painting of
//                 its own and no hook on its messages;
//   TSkinBoxH     a page of a system dialog (a "#32770" child): the skin's face behind it and behind its
//                 static texts;
//   TSkinGroupBox a group box: a rounded frame in the skin's shadow colour with the caption on its top
//                 edge. A framework group box is painted whole (its windowless children included); a
//                 system dialog's paints itself and the frame is drawn over its native edge afterwards.
#include "skin/controls/SkinControl.h"

class TSkinBox : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    // Takes the colour only: a panel keeps its own message handling.
    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
};

class TSkinBoxH : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& Message) override;
};

class TSkinGroupBox : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
};
