#pragma once
// Painters of the button-class controls that are not push buttons:
//   TSkinCheckBox    the box from the skin's check image (cells: unchecked, checked, disabled ..., grayed);
//   TSkinRadioButton the circle from the skin's radio image.
// A framework check box or radio button is painted whole (box and caption); a system dialog's is left to
// paint itself and the box is drawn over it afterwards.
#include "skin/controls/SkinControl.h"

class TBitmap;

class TSkinCheckBox : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    // The cell of the check image for the control's state (1-based).
    int Cell() const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

    // The image (the skin's check or radio image) and its cell count; empty when the skin has none.
    virtual const TBitmap* Image(int& Cells) const;
    virtual bool IsRadio() const { return false; }

    bool FTransparent = false;
    int FLastCheck = 0;  // BM_SETCHECK's wParam + 1; 0 = never set
};

class TSkinRadioButton : public TSkinCheckBox {
public:
    CLARIVO_CLASS
    using TSkinCheckBox::TSkinCheckBox;

protected:
    const TBitmap* Image(int& Cells) const override;
    bool IsRadio() const override { return true; }
};
