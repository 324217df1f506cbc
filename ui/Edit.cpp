#include "ui/Edit.h"

#include "ui/Properties.h"

const TClassInfo TCustomEdit::MetaClass(
    "TCustomEdit", &TWinControl::MetaClass, nullptr,
    {
        BoolProp<TCustomEdit>("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize),
        EnumProp<TCustomEdit, TBorderStyle>("BorderStyle", {"bsNone", "bsSingle"}, &TCustomEdit::BorderStyle,
                                            &TCustomEdit::SetBorderStyle),
        BoolProp<TCustomEdit>("Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D),
        IntProp<TCustomEdit>("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
        BoolProp<TCustomEdit>("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
        StrProp<TCustomEdit>("Text", &TCustomEdit::Text, &TCustomEdit::SetText),
        EventProp<TCustomEdit>("OnChange", &TCustomEdit::OnChange),
    });

const TClassInfo TEdit::MetaClass("TEdit", &TCustomEdit::MetaClass, ComponentFactory<TEdit>, {});

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetCtl3D(bool value) {
    if (value == FCtl3D) return;
    FCtl3D = value;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustHeight();
}

void TCustomEdit::SetMaxLength(int length) {
    FMaxLength = length < 0 ? 0 : length;
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"EDIT";
    params.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (FBorderStyle == bsSingleBorder) {
        if (FCtl3D)
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    if (FMaxLength) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    AdjustHeight();
}

int TCustomEdit::AutoHeight() const {
    // The height the font needs plus the border: 8 pixels with a sunken border, 6 with a flat one.
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    TSelectObject select(dc.get(), Font()->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    int border = FBorderStyle == bsNoBorder ? 2 : FCtl3D ? 8 : 6;
    return metrics.tmHeight + border;
}

void TCustomEdit::AdjustHeight() {
    if (FAutoSize) SetHeight(AutoHeight());
}

void TCustomEdit::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, FAutoSize ? AutoHeight() : height);
}

void TCustomEdit::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == EN_CHANGE) DoChange();
        return;
    case CM_FONTCHANGED:
        TWinControl::WndProc(message);
        AdjustHeight();
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomEdit::DoChange() {
    if (OnChange) OnChange(this);
}
