#include "ui/RadioButton.h"

#include "ui/Properties.h"

const TClassInfo TRadioButton::MetaClass(
    "TRadioButton", &TButtonControl::MetaClass, ComponentFactory<TRadioButton>,
    {
        BoolProp<TRadioButton>("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked),
    });

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    SendCheck(checked ? BST_CHECKED : BST_UNCHECKED);
    if (checked && Parent()) {
        for (TControl* c : Parent()->ControlList())
            if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this) other->SetChecked(false);
    }
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    // Not an automatic radio button: the group rule is kept here, not by the window.
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    SendCheck(FChecked ? BST_CHECKED : BST_UNCHECKED);
}

void TRadioButton::Clicked() {
    SetChecked(true);
    DoClick();
}
