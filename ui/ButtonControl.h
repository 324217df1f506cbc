#pragma once
// TButtonControl: the base of the controls made from the system "BUTTON" class (check boxes, radio
// buttons). The button's click arrives reflected (CN_COMMAND, BN_CLICKED) and goes to Clicked.
#include "ui/WinControl.h"

enum TLeftRight { taLeftJustify, taRightJustify };

class TButtonControl : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TButtonControl(TComponent* owner);

    // Where the caption stands relative to the box: taRightJustify puts it on the right (the usual).
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight alignment);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    // The user clicked the button (mouse or space bar).
    virtual void Clicked() = 0;
    // BM_SETCHECK with the state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE), when the window exists.
    void SendCheck(WPARAM state);

private:
    TLeftRight FAlignment = taRightJustify;
};
