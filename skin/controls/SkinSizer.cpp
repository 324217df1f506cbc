#include "skin/controls/SkinSizer.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"

#include <algorithm>

const TClassInfo TSkinSizer::MetaClass("TSkinSizer", &TSkinControl::MetaClass, ComponentFactory<TSkinSizer>, {});

namespace {
// The grip is the fifth cell of the skin's extra images.
constexpr int GripCell = 5;
bool HasGrip(const TSkinData& SkinData) {
    return SkinData.ExtraImages && !SkinData.ExtraImages->Bitmap->Empty() &&
           std::max(SkinData.ExtraImages->FrameCount, 1) >= GripCell;
}
}  // namespace

TRect SkinGripRect(const TSkinData& SkinData, const TRect& Area) {
    if (!HasGrip(SkinData)) return {};
    const TBitmap& image = *SkinData.ExtraImages->Bitmap;
    const int width = image.Width() / SkinData.ExtraImages->FrameCount;
    return {Area.Right - 1 - width, Area.Bottom - 1 - image.Height(), Area.Right - 1, Area.Bottom - 1};
}

void DrawSkinGrip(HDC DC, const TSkinData& SkinData, const TRect& Area) {
    const TRect grip = SkinGripRect(SkinData, Area);
    if (grip.IsEmpty()) return;
    const TDataSkinObject& extra = *SkinData.ExtraImages;
    DrawSkinGlyph(DC, grip, *extra.Bitmap, true, extra.FrameCount, GripCell);
}

void TSkinSizer::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    SetDCBrushColor(DC, ColorToRGB(FSkinData->FaceColor));
    const RECT r = Rect.ToRECT();
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (GetWindowLongPtrW(FWnd, GWL_STYLE) & SBS_SIZEGRIP) DrawSkinGrip(DC, *FSkinData, Rect);
}
