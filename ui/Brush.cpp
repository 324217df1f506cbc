#include "ui/Brush.h"

#include "ui/Properties.h"

const TClassInfo TBrush::MetaClass("TBrush", &TPersistent::MetaClass, nullptr,
                                   {
                                       IntProp<TBrush>("Color", &TBrush::Color, &TBrush::SetColor),
                                       EnumProp<TBrush, TBrushStyle>("Style", {"bsSolid", "bsClear"},
                                                                     &TBrush::Style, &TBrush::SetStyle),
                                   });

void TBrush::Assign(const TPersistent* source) {
    auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) return TPersistent::Assign(source);
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HBRUSH TBrush::Handle() const {
    if (FStyle == bsClear) return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    if (!FHandle) FHandle.reset(CreateSolidBrush(ColorToRGB(FColor)));
    return FHandle.get();
}

void TBrush::Changed() {
    UniqueBrush old(FHandle.release());  // deleted once the holder has selected it out
    if (OnChange) OnChange(this);
}
