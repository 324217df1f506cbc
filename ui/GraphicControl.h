#pragma once
// TGraphicControl: a control without a window. Its parent paints it (WM_PAINT performed on it with the
// parent's DC, origin moved to the control's top-left and clipped to it) and hands it the mouse
// messages over its area (client coordinates of the control), plus CM_MOUSEENTER / CM_MOUSELEAVE.
#include "ui/Canvas.h"
#include "ui/Control.h"

class TGraphicControl : public TControl {
public:
    CLARIVO_CLASS

    explicit TGraphicControl(TComponent* owner);

    // Valid while the control paints: from the moment the parent sends WM_PAINT through WindowProc until
    // that returns, it draws on the parent's DC with the origin at the control's top-left corner.
    TCanvas* Canvas() { return &FCanvas; }

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}

private:
    TCanvas FCanvas;
    bool FClicking = false;
};
