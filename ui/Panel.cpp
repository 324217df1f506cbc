#include "ui/Panel.h"

#include "ui/Properties.h"

namespace {
constexpr std::initializer_list<const char*> BevelNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}

const TClassInfo TCustomPanel::MetaClass(
    "TCustomPanel", &TWinControl::MetaClass, nullptr,
    {
        EnumProp<TCustomPanel, TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                           &TCustomPanel::Alignment, &TCustomPanel::SetAlignment),
        EnumProp<TCustomPanel, TBevelCut>("BevelInner", BevelNames, &TCustomPanel::BevelInner,
                                          &TCustomPanel::SetBevelInner),
        EnumProp<TCustomPanel, TBevelCut>("BevelOuter", BevelNames, &TCustomPanel::BevelOuter,
                                          &TCustomPanel::SetBevelOuter),
        IntProp<TCustomPanel>("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
        EnumProp<TCustomPanel, TBorderStyle>("BorderStyle", {"bsNone", "bsSingle"}, &TCustomPanel::BorderStyle,
                                             &TCustomPanel::SetBorderStyle),
        BoolProp<TCustomPanel>("ParentBackground", &TCustomPanel::ParentBackground,
                               &TCustomPanel::SetParentBackground),
    });

const TClassInfo TPanel::MetaClass("TPanel", &TCustomPanel::MetaClass, ComponentFactory<TPanel>, {});

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetParentColor(true);
}

void TCustomPanel::SetBevelInner(TBevelCut cut) {
    FBevelInner = cut;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut cut) {
    FBevelOuter = cut;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int width) {
    FBevelWidth = width < 1 ? 1 : width;
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
    FAlignment = alignment;
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = RegisterOwnClass(L"TPanel", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    if (FBorderStyle == bsSingleBorder) params.Style |= WS_BORDER;
}

void TCustomPanel::PaintWindow(HDC dc) {
    RECT r;
    GetClientRect(WindowHandle(), &r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < FBevelWidth; ++i) {
            if (cut != bvSpace) DrawEdge(dc, &r, cut == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            InflateRect(&r, -1, -1);
        }
    };
    bevel(FBevelOuter);
    bevel(FBevelInner);
    std::wstring caption = Caption();
    if (caption.empty()) return;
    TSelectObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                  (FAlignment == taLeft ? DT_LEFT : FAlignment == taRight ? DT_RIGHT : DT_CENTER);
    if (UseRightToLeftReading()) format |= DT_RTLREADING;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format);
}
