#include "ui/ButtonControl.h"

#include "ui/Properties.h"

const TClassInfo TButtonControl::MetaClass(
    "TButtonControl", &TWinControl::MetaClass, nullptr,
    {
        EnumProp<TButtonControl, TLeftRight>("Alignment", {"taLeftJustify", "taRightJustify"},
                                             &TButtonControl::Alignment, &TButtonControl::SetAlignment),
    });

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::SetAlignment(TLeftRight alignment) {
    if (alignment == FAlignment) return;
    FAlignment = alignment;
    RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"BUTTON";
    if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TButtonControl::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) Clicked();
        return;
    }
    TWinControl::WndProc(message);
}

void TButtonControl::SendCheck(WPARAM state) {
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, state, 0);
}
