#include "ui/TrackBar.h"

#include "ui/Messages.h"
#include "ui/Properties.h"

#include <commctrl.h>

const TClassInfo TCustomTrackBar::MetaClass(
    "TCustomTrackBar", &TWinControl::MetaClass, nullptr,
    {
        IntProp<TCustomTrackBar>("Frequency", &TCustomTrackBar::Frequency, &TCustomTrackBar::SetFrequency),
        IntProp<TCustomTrackBar>("Max", &TCustomTrackBar::Max, &TCustomTrackBar::SetMax),
        IntProp<TCustomTrackBar>("Min", &TCustomTrackBar::Min, &TCustomTrackBar::SetMin),
        EnumProp<TCustomTrackBar, TTrackBarOrientation>("Orientation", {"trHorizontal", "trVertical"},
                                                        &TCustomTrackBar::Orientation, &TCustomTrackBar::SetOrientation),
        IntProp<TCustomTrackBar>("Position", &TCustomTrackBar::Position, &TCustomTrackBar::SetPosition),
        EventProp<TCustomTrackBar>("OnChange", &TCustomTrackBar::OnChange),
    });

const TClassInfo TTrackBar::MetaClass("TTrackBar", &TCustomTrackBar::MetaClass, ComponentFactory<TTrackBar>, {});

TCustomTrackBar::TCustomTrackBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

int TCustomTrackBar::Position() const {
    if (!HandleAllocated()) return FPosition;
    return static_cast<int>(SendMessageW(WindowHandle(), TBM_GETPOS, 0, 0));
}

void TCustomTrackBar::SetPosition(int value) {
    FPosition = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, value);
}

void TCustomTrackBar::SetMin(int value) {
    FMin = value;
    ApplyRange();
}

void TCustomTrackBar::SetMax(int value) {
    FMax = value;
    ApplyRange();
}

void TCustomTrackBar::SetFrequency(int value) {
    FFrequency = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(value), 0);
}

void TCustomTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (value == FOrientation) return;
    FPosition = Position();
    FOrientation = value;
    RecreateWnd();
}

void TCustomTrackBar::ApplyRange() {
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(WindowHandle(), TBM_SETRANGEMAX, TRUE, FMax);
}

void TCustomTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = TRACKBAR_CLASSW;
    params.Style |= TBS_AUTOTICKS | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TCustomTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
    SendMessageW(WindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, FPosition);
}

void TCustomTrackBar::WndProc(TMessage& message) {
    // The parent hands the track bar's scroll notices back to it.
    if ((message.Msg == CN_BASE + WM_HSCROLL || message.Msg == CN_BASE + WM_VSCROLL) && OnChange) OnChange(this);
    TWinControl::WndProc(message);
}
