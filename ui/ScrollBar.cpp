#include "ui/ScrollBar.h"

#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TScrollBar::MetaClass(
    "TScrollBar", &TWinControl::MetaClass, ComponentFactory<TScrollBar>,
    {
        EnumProp<TScrollBar, TScrollBarKind>("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind,
                                             &TScrollBar::SetKind),
        IntProp<TScrollBar>("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange),
        IntProp<TScrollBar>("Max", &TScrollBar::Max, &TScrollBar::SetMax),
        IntProp<TScrollBar>("Min", &TScrollBar::Min, &TScrollBar::SetMin),
        IntProp<TScrollBar>("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize),
        IntProp<TScrollBar>("Position", &TScrollBar::Position, &TScrollBar::SetPosition),
        IntProp<TScrollBar>("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange),
        EventProp<TScrollBar>("OnChange", &TScrollBar::OnChange),
        EventProp<TScrollBar>("OnScroll", &TScrollBar::OnScroll),
    });

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    // A bar turned on its side keeps its length along the new axis.
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

int TScrollBar::LastPosition() const { return std::max(FMin, FMax - std::max(FPageSize - 1, 0)); }

void TScrollBar::SetPageSize(int value) {
    FPageSize = std::max(value, 0);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::SetParams(int position, int min, int max) {
    const int old = FPosition;
    FMin = min;
    FMax = std::max(max, min);
    // A description sets the values one by one: the position is brought inside once they are all read.
    FPosition = IsLoading() ? position : std::clamp(position, FMin, LastPosition());
    ApplyToWindow();
    if (FPosition != old && !IsLoading() && OnChange) OnChange(this);
}

void TScrollBar::Loaded() {
    TWinControl::Loaded();
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::ApplyToWindow() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(FPageSize);
    info.nPos = FPosition;
    SetScrollInfo(WindowHandle(), SB_CTL, &info, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"SCROLLBAR";
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyToWindow();
}

void TScrollBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        const int code = LOWORD(message.WParam);
        if (code <= SB_ENDSCROLL) {
            // The thumb's own position, in full (the message carries only 16 bits of it).
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(WindowHandle(), SB_CTL, &info);
            Scroll(static_cast<TScrollCode>(code), info.nTrackPos);
        }
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

void TScrollBar::Scroll(TScrollCode code, int trackPosition) {
    int position = FPosition;
    switch (code) {
    case scLineUp: position -= FSmallChange; break;
    case scLineDown: position += FSmallChange; break;
    case scPageUp: position -= FLargeChange; break;
    case scPageDown: position += FLargeChange; break;
    case scPosition:
    case scTrack: position = trackPosition; break;
    case scTop: position = FMin; break;
    case scBottom: position = FMax; break;
    case scEndScroll: break;
    }
    position = std::clamp(position, FMin, LastPosition());
    if (OnScroll) OnScroll(this, code, position);
    SetPosition(position);
}
