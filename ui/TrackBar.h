#pragma once
// TCustomTrackBar / TTrackBar: the system track bar, a thumb moved along a channel between Min and Max
// by mouse and keys, with tick marks every Frequency steps; lying or standing (Orientation).
#include "ui/WinControl.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TCustomTrackBar : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomTrackBar(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // Where the thumb is: the window's value once it exists.
    int Position() const;
    void SetPosition(int value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);

    // After the thumb has moved by mouse or keys.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ApplyRange();

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
};

class TTrackBar : public TCustomTrackBar {
public:
    CLARIVO_CLASS
    explicit TTrackBar(TComponent* owner) : TCustomTrackBar(owner) {}
};
