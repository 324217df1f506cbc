#include "ui/Label.h"

#include "ui/Properties.h"
#include "ui/WinControl.h"

const TClassInfo TLabel::MetaClass(
    "TLabel", &TGraphicControl::MetaClass, ComponentFactory<TLabel>,
    {
        EnumProp<TLabel, TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                     &TLabel::Alignment, &TLabel::SetAlignment),
        BoolProp<TLabel>("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
        BoolProp<TLabel>("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
        BoolProp<TLabel>("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap),
    });

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment alignment) {
    FAlignment = alignment;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

UINT TLabel::TextFormat() const {
    UINT format = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    format |= FAlignment == taLeft ? DT_LEFT : FAlignment == taRight ? DT_RIGHT : DT_CENTER;
    if (UseRightToLeftReading()) format |= DT_RTLREADING;
    return format;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    TSelectObject font(dc.get(), Font()->Handle());
    std::wstring text = Caption().empty() ? L" " : Caption();
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, TextFormat() | DT_CALCRECT);
    int left = Left();
    if (FAlignment == taRight) left += Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        canvas.Brush()->SetColor(Color());
        canvas.Brush()->SetStyle(bsSolid);
        canvas.FillRect(r);
    }
    canvas.Brush()->SetStyle(bsClear);
    std::wstring text = Caption();
    if (!Enabled()) {
        // Etched: a highlight copy one pixel down and right, the shadow on top.
        canvas.Font()->SetColor(clBtnHighlight);
        TRect shifted = r.Offset(1, 1);
        canvas.DrawText(text, shifted, TextFormat());
        canvas.Font()->SetColor(clBtnShadow);
    }
    canvas.DrawText(text, r, TextFormat());
}

void TLabel::WndProc(TMessage& message) {
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}
