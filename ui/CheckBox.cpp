#include "ui/CheckBox.h"

#include "ui/Properties.h"

const TClassInfo TCustomCheckBox::MetaClass(
    "TCustomCheckBox", &TButtonControl::MetaClass, nullptr,
    {
        BoolProp<TCustomCheckBox>("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed),
        BoolProp<TCustomCheckBox>("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked),
        EnumProp<TCustomCheckBox, TCheckBoxState>("State", {"cbUnchecked", "cbChecked", "cbGrayed"},
                                                  &TCustomCheckBox::State, &TCustomCheckBox::SetState),
        BoolProp<TCustomCheckBox>("WordWrap", &TCustomCheckBox::WordWrap, &TCustomCheckBox::SetWordWrap),
    });

const TClassInfo TCheckBox::MetaClass("TCheckBox", &TCustomCheckBox::MetaClass, ComponentFactory<TCheckBox>, {});

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == FState) return;
    FState = state;
    SendCheck(static_cast<WPARAM>(state));
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    // Not an automatic check box: the state is ours, and the window only shows it.
    params.Style |= BS_3STATE;
    if (FWordWrap) params.Style |= BS_MULTILINE;
}

void TCustomCheckBox::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendCheck(static_cast<WPARAM>(FState));
}

void TCustomCheckBox::Clicked() {
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    }
    DoClick();
}
