#include "skin/controls/SkinSizer.h"

#include "skin/data/SkinData.h"

const TClassInfo TSkinSizer::MetaClass("TSkinSizer", &TSkinControl::MetaClass, ComponentFactory<TSkinSizer>, {});

void TSkinSizer::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    SetDCBrushColor(DC, ColorToRGB(FSkinData->FaceColor));
    const RECT r = Rect.ToRECT();
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
