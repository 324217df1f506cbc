#include "ui/Pen.h"

#include "ui/Properties.h"

const TClassInfo TPen::MetaClass(
    "TPen", &TPersistent::MetaClass, nullptr,
    {
        IntProp<TPen>("Color", &TPen::Color, &TPen::SetColor),
        EnumProp<TPen, TPenStyle>("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"},
                                  &TPen::Style, &TPen::SetStyle),
        IntProp<TPen>("Width", &TPen::Width, &TPen::SetWidth),
    });

void TPen::Assign(const TPersistent* source) {
    auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) return TPersistent::Assign(source);
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == FWidth || width < 0) return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

HPEN TPen::Handle() const {
    static constexpr int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    if (!FHandle) FHandle.reset(CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor)));
    return FHandle.get();
}

void TPen::Changed() {
    UniquePen old(FHandle.release());
    if (OnChange) OnChange(this);
}
