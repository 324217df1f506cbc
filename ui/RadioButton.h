#pragma once
// TRadioButton: one of a group of radio buttons (those with the same parent): checking one, by the user
// or from code, unchecks the others, so exactly one of a group is checked once any is. A click by the
// user raises OnClick.
#include "ui/ButtonControl.h"

class TRadioButton : public TButtonControl {
public:
    CLARIVO_CLASS

    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Clicked() override;

private:
    bool FChecked = false;
};
