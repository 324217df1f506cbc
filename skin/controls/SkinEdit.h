#pragma once
// TSkinEdit: the flat skinned frame of an edit or memo (framework edits and bare "Edit" windows). The
// edit keeps painting its own text, caret and selection; the frame is drawn over its border, through
// the window's DC, after each of its paints and non-client paints. A borderless edit keeps its look.
#include "skin/controls/SkinControl.h"

class TSkinUpDown;

// The looks of a flat frame, numbered as the skin numbers its edge frames.
enum TFlatFrameState { ffNormal = 1, ffDisabled = 3, ffHot = 4 };

// A 1-pixel outer ring in the state's edge colour and InnerRings rings inside it in the state's fill
// (white, or the face colour when disabled), over Rect. Edits and date pickers share it.
void DrawFlatFrame(HDC DC, const TRect& Rect, const TSkinData& Skin, TFlatFrameState State, int InnerRings);
// Whether the window has a border of its own (its window is larger than its client area).
bool HasOwnBorder(HWND Wnd);

class TSkinEdit : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    // The frame's look for the edit's state now: hot while the mouse is over it or it has the focus.
    TFlatFrameState FrameState() const;

protected:
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

    // Hot on entry, cold on leave: only the frame changes, so only the frame is drawn again.
    void TrackHover(const TMessage& Message);
    // How many white rings lie inside the frame's outer edge.
    virtual int InnerRings() const { return 2; }
    // WM_PRINT: the native print, then a frame of the print DC's brush inside the skin's edge.
    void DrawPrintFrame(HDC DC);
    // A spin control inside the edit (a spin edit's arrows) gets its own painter, once.
    void SkinEmbeddedSpin();

    // The embedded spin's painter, owned by the edit painter's owner; only ever compared, as the window
    // skinner may free it first.
    TSkinUpDown* FSpin = nullptr;
};
