#pragma once
// TCustomProgressBar / TProgressBar: the system progress bar, showing Position between Min and Max,
// lying or standing (Orientation), or as a marquee that runs on its own while the length of a task is
// not known (Style pbstMarquee).
#include "ui/WinControl.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
enum TProgressBarStyle { pbstNormal, pbstMarquee };

class TCustomProgressBar : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomProgressBar(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // Always within Min and Max.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    TProgressBarStyle Style() const { return FStyle; }
    void SetStyle(TProgressBarStyle value);
    // Milliseconds between the marquee's steps.
    int MarqueeInterval() const { return FMarqueeInterval; }
    void SetMarqueeInterval(int value);

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void ApplyRange();
    void ApplyMarquee();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    TProgressBarOrientation FOrientation = pbHorizontal;
    TProgressBarStyle FStyle = pbstNormal;
    int FMarqueeInterval = 10;
};

class TProgressBar : public TCustomProgressBar {
public:
    CLARIVO_CLASS
    explicit TProgressBar(TComponent* owner) : TCustomProgressBar(owner) {}
};
