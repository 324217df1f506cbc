#pragma once
// TCustomGroupBox / TGroupBox: a container window of the framework's own class that draws an etched
// frame with its caption on the top edge, and holds child controls (windowless ones painted by it).
#include "ui/WinControl.h"

class TCustomGroupBox : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomGroupBox(TComponent* owner);

    // The area inside the frame, below the caption, in client coordinates.
    TRect FrameInterior() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    // Height of a line of the caption's font.
    int CaptionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
public:
    CLARIVO_CLASS
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
