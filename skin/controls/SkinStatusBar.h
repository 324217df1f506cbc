#pragma once
// TSkinStatusBar: a status bar drawn from the skin's StatusBarEdges: one lowered cell over the whole bar
// for its simple text, or one cell per panel with the panel's bevel (lowered, raised, none), and the
// size grip from the skin's ExtraImages. What the bar shows is read from its window each paint (parts,
// texts, bevels, alignment tabs), so framework bars and bare ones are drawn alike; owner-drawn panels
// are still handed to the bar's parent to draw, inside the skinned cell.
#include "skin/controls/SkinControl.h"

#include <vector>

class TCanvas;

// The frames of the skin's status bar edges.
enum TStatusFrame { sfLowered = 1, sfRaised = 2, sfNoBevel = 3 };

// One cell of the bar as drawn: its rectangle (window coordinates), frame, text and alignment.
struct TStatusCell {
    TRect Rect;
    TStatusFrame Frame = sfLowered;
    std::wstring Text;
    UINT Align = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
    bool OwnerDraw = false;
    LPARAM Data = 0;  // an owner-drawn panel's value
};

class TSkinStatusBar : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    // The cells the bar shows now, within a bar of the given size.
    std::vector<TStatusCell> Cells(const TRect& Bar) const;
    // Where the size grip goes in a bar of the given size; empty when the bar has none or the skin
    // gives no grip image.
    TRect GripRect(const TRect& Bar) const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    void DrawFrame(HDC DC, const TRect& Rect, TStatusFrame Frame) const;
    // The cell's frame and text (an owner-drawn one's by the bar's parent), on the buffer's canvas.
    void DrawCell(TCanvas& Canvas, const TStatusCell& Cell, int Index) const;
    // The bar's font, plain, in the skin's status text colour, text without background.
    void SelectFont(TCanvas& Canvas) const;
    std::wstring SimpleText() const;
};
