#pragma once
// TSpinEdit: a single-line edit for a whole number with an up-down control inside it, on its right
// edge. The arrows and the Up and Down keys step the number; only digits and a sign can be typed.
// MinValue and MaxValue bound the number unless both are 0.
#include "ui/Edit.h"

class TSpinEdit : public TCustomEdit {
public:
    CLARIVO_CLASS

    explicit TSpinEdit(TComponent* owner);

    // The number in the text, kept within the bounds; MinValue when the text holds no number.
    int Value() const;
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);

    // The embedded up-down control (a child window of the edit), or null before the edit's window exists.
    HWND UpDownHandle() const { return FUpDown; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    bool Limited() const { return FMinValue != 0 || FMaxValue != 0; }
    int Bounded(int value) const;
    void ApplyRange();
    void PlaceUpDown();

    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
    // A child of the edit's window: the system destroys it with the edit.
    HWND FUpDown = nullptr;
};
