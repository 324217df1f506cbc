#include "ui/ProgressBar.h"

#include "ui/Properties.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TCustomProgressBar::MetaClass(
    "TCustomProgressBar", &TWinControl::MetaClass, nullptr,
    {
        IntProp<TCustomProgressBar>("MarqueeInterval", &TCustomProgressBar::MarqueeInterval,
                                    &TCustomProgressBar::SetMarqueeInterval),
        IntProp<TCustomProgressBar>("Max", &TCustomProgressBar::Max, &TCustomProgressBar::SetMax),
        IntProp<TCustomProgressBar>("Min", &TCustomProgressBar::Min, &TCustomProgressBar::SetMin),
        EnumProp<TCustomProgressBar, TProgressBarOrientation>("Orientation", {"pbHorizontal", "pbVertical"},
                                                              &TCustomProgressBar::Orientation,
                                                              &TCustomProgressBar::SetOrientation),
        IntProp<TCustomProgressBar>("Position", &TCustomProgressBar::Position, &TCustomProgressBar::SetPosition),
        EnumProp<TCustomProgressBar, TProgressBarStyle>("Style", {"pbstNormal", "pbstMarquee"},
                                                        &TCustomProgressBar::Style, &TCustomProgressBar::SetStyle),
    });

const TClassInfo TProgressBar::MetaClass("TProgressBar", &TCustomProgressBar::MetaClass, ComponentFactory<TProgressBar>, {});

TCustomProgressBar::TCustomProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 17); }

void TCustomProgressBar::SetMin(int value) {
    FMin = value;
    ApplyRange();
}

void TCustomProgressBar::SetMax(int value) {
    FMax = value;
    ApplyRange();
}

void TCustomProgressBar::SetPosition(int value) {
    // While the description is read the range may not be set yet: the position is bounded after.
    FPosition = IsLoading() ? value : std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
    if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TCustomProgressBar::ApplyRange() {
    if (!IsLoading()) FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TCustomProgressBar::Loaded() {
    TWinControl::Loaded();
    ApplyRange();
}

void TCustomProgressBar::SetOrientation(TProgressBarOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    RecreateWnd();
}

void TCustomProgressBar::SetStyle(TProgressBarStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

void TCustomProgressBar::SetMarqueeInterval(int value) {
    FMarqueeInterval = value;
    ApplyMarquee();
}

void TCustomProgressBar::ApplyMarquee() {
    if (HandleAllocated() && FStyle == pbstMarquee)
        SendMessageW(WindowHandle(), PBM_SETMARQUEE, TRUE, FMarqueeInterval);
}

void TCustomProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = PROGRESS_CLASSW;
    if (FOrientation == pbVertical) params.Style |= PBS_VERTICAL;
    if (FStyle == pbstMarquee) params.Style |= PBS_MARQUEE;
}

void TCustomProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
    ApplyMarquee();
}
