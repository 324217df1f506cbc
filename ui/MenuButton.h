#pragma once
// TMenuButton: a push button with a drop-down arrow at its right, for a button that opens a menu.
// It draws itself in the system's button look: the caption centred left of the arrow.
#include "ui/Button.h"

class TMenuButton : public TButton {
public:
    CLARIVO_CLASS

    explicit TMenuButton(TComponent* owner) : TButton(owner) {}

    // Width of the arrow's part at the right of the face.
    static constexpr int ArrowWidth = 12;

protected:
    bool OwnerDrawn() const override { return true; }
    void DrawContent(HDC dc, const TRect& rect, bool pressed) override;
};
