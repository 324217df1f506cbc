#pragma once
// TCustomCheckBox / TCheckBox: a check box with two states (three with AllowGrayed). A click by the user
// moves it to the next state and raises OnClick; setting Checked or State from code does not.
#include "ui/ButtonControl.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
    CLARIVO_CLASS

    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState state);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // A long caption wraps onto further lines (BS_MULTILINE).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Clicked() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    bool FWordWrap = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    CLARIVO_CLASS
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};
