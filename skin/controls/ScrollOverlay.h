#pragma once
// Skinned scroll bars. A control's scroll bars stay the system's own: a small overlay window lies exactly
// over each one and shows the skin's picture of it, and a press on the overlay is handed to the real
// bar, so that arrows, page clicks, hold-to-repeat and thumb tracking remain the system's. The overlay
// reads the bar's place, state and thumb from the system each time it paints; its painter tells it when
// to look again (after the control paints, scrolls, moves or changes its style).
#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/Types.h"

#include <windows.h>

class TControl;
class TSkinControl;
class TSkinData;

// The parts of a bar, numbered as the scroll requests they make (SB_LINEUP ... SB_THUMBTRACK), so that a
// scroll notification names its part directly.
enum TScrollPart : int {
    spNone = -1, spFirstArrow = SB_LINEUP, spSecondArrow = SB_LINEDOWN, spPageBefore = SB_PAGEUP,
    spPageAfter = SB_PAGEDOWN, spThumb = SB_THUMBTRACK,
};

// One bar along its axis, in bar coordinates (0 is the start of the first arrow).
struct TBarGeometry {
    bool Vertical = true;
    int ArrowSize = 0;
    int Length = 0;
    int ThumbStart = 0;
    int ThumbEnd = 0;
    int HotPart = spNone;
    bool Pressed = false;
    TPoint PressPoint;  // screen position of the last press
    int PressThumb = 0; // ThumbStart at the last press

    // The part at S along the axis.
    TScrollPart HitTest(int S) const;
    // The thumb of a bar with the given range, page and position, as the system lays it out; Minimum
    // keeps a thumb of at least 8 pixels.
    void LayOutThumb(int Min, int Max, int Page, int Pos, bool Minimum);
    // Where the thumb is while the system drags it: moved with the cursor from where the press found
    // it, never off the track.
    int DraggedThumbStart(TPoint Cursor) const;
};

// Paints Bar from the skin into DC over Dest (the bar's own size): track, arrows, thumb and grip, drawn
// off screen in Buffer first. States shows the hot and pressed part. Nothing when the skin has no
// scroll-bar image or Dest is empty.
void PaintSkinScrollBar(HDC DC, const TRect& Dest, const TSkinData& Skin, const TBarGeometry& Bar, bool Enabled,
                        bool States, TBitmap& Buffer);

// Which bar an overlay covers.
enum TOverlayKind { okHorizontal = 0, okVertical = 1, okControl = 2 };

// The overlay window over one scroll bar: a child of the target's parent, directly above the target.
class TWScrollbar {
public:
    // TargetControl: the framework control (for a stand-alone scroll bar, its range comes from it).
    TWScrollbar(TSkinControl& Painter, HWND Target, TControl* TargetControl, TOverlayKind Kind);
    ~TWScrollbar();
    TWScrollbar(const TWScrollbar&) = delete;
    TWScrollbar& operator=(const TWScrollbar&) = delete;

    // Puts the overlay over the bar, or hides it when the bar is not there.
    void Place();
    void Hide();
    void Invalidate();
    void SetEnabled(bool Enabled);
    // The target made its window again: cover the new one.
    void Retarget(HWND Target);
    // A scroll notification of the target: its part is the one being scrolled.
    void NoteScroll(int Code);

    HWND Handle() const { return FWindow.get(); }
    HWND Target() const { return FTarget; }
    bool Shown() const { return FShown; }
    TOverlayKind Kind() const { return FKind; }
    const TBarGeometry& Bar() const { return FBar; }
    // The bar in the target's window coordinates (origin at the window's top-left); empty when hidden.
    const TRect& WindowRect() const { return FWindowRect; }

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);
    // The bar's screen rectangle, thumb and state now; false when the system cannot say.
    bool ReadBar(RECT& Screen, bool& Visible, bool& Enabled);
    // Hands a press at the point (overlay coordinates) to the real bar; returns when the system let it go.
    void Press(LPARAM lParam);
    void Release();
    void Paint();

    TSkinControl& FPainter;
    HWND FTarget;
    TControl* FTargetControl;
    TOverlayKind FKind;
    TBarGeometry FBar;
    TRect FWindowRect;
    bool FShown = false;
    UniqueWindow FWindow;
    TBitmap FBuffer;
};
