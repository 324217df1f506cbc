#pragma once
// TSkinHeader: a column header (a list view's, or a bare header window) drawn from the skin's Headerbar:
// one cell per item, the item under the mouse in the hot frame and the pressed one in the pressed frame,
// the caption with its image and alignment, the list's sort arrow, and the normal frame right of the last
// item. The header keeps its own handling of the mouse: clicks, dividers and column drags work as without
// skin, only the look is the skin's.
#include "skin/controls/SkinControl.h"

#include <vector>

class TCanvas;

// The frames of the skin's header bar.
enum THeaderFrame { hfNormal = 1, hfHot = 2, hfPressed = 3 };

class TSkinHeader : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    int HotItem() const { return FHotItem; }
    int PressedItem() const { return FPressedItem; }
    // The frame item Index is drawn in now.
    THeaderFrame ItemFrame(int Index) const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    // The item at a point of the header's client area, as the header itself sees it; -1 for none, and
    // for a divider (a press there sizes a column instead).
    int ItemAt(POINT Point) const;
    void DrawItem(TCanvas& Canvas, int Index, const TRect& Rect);

    // The items' rectangles of the last paint, narrowed by 3 pixels each side (the dividers' zones).
    std::vector<TRect> FItemRects;
    int FHotItem = -1;
    int FPressedItem = -1;
};

// Gives a list view's column header a header painter owned by Owner, unless the skinned window already
// has one for it; returns the header painter or null.
TSkinHeader* SkinListHeader(HWND ListView, TComponent* Owner, TSkinData& SkinData, TWinSkinForm& SkinForm);
