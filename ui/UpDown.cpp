#include "ui/UpDown.h"

#include "ui/Properties.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TCustomUpDown::MetaClass(
    "TCustomUpDown", &TWinControl::MetaClass, nullptr,
    {
        BoolProp<TCustomUpDown>("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys),
        RefProp<TCustomUpDown, TWinControl>("Associate", &TCustomUpDown::Associate, &TCustomUpDown::SetAssociate),
        IntProp<TCustomUpDown>("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement),
        IntProp<TCustomUpDown>("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax),
        IntProp<TCustomUpDown>("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin),
        EnumProp<TCustomUpDown, TUDOrientation>("Orientation", {"udHorizontal", "udVertical"},
                                                &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation),
        IntProp<TCustomUpDown>("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition),
        BoolProp<TCustomUpDown>("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap),
        EventProp<TCustomUpDown>("OnChanging", &TCustomUpDown::OnChanging),
        EventProp<TCustomUpDown>("OnClick", &TCustomUpDown::OnClick),
    });

const TClassInfo TUpDown::MetaClass("TUpDown", &TCustomUpDown::MetaClass, ComponentFactory<TUpDown>, {});

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

int TCustomUpDown::Bounded(int value) const {
    return std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
}

int TCustomUpDown::Position() const {
    if (!HandleAllocated()) return FPosition;
    return static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
}

void TCustomUpDown::SetPosition(int value) {
    FPosition = IsLoading() ? value : Bounded(value);
    if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
}

void TCustomUpDown::SetMin(int value) {
    FMin = value;
    ApplyRange();
}

void TCustomUpDown::SetMax(int value) {
    FMax = value;
    ApplyRange();
}

void TCustomUpDown::SetIncrement(int value) {
    FIncrement = value;
    if (!HandleAllocated()) return;
    UDACCEL step{0, static_cast<UINT>(std::max(value, 1))};
    SendMessageW(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
}

void TCustomUpDown::ApplyRange() {
    // A description sets the bounds one by one: the position is brought inside once they are all read.
    if (IsLoading()) return;
    FPosition = Bounded(Position());
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
}

void TCustomUpDown::SetAssociate(TWinControl* control) {
    if (control == FAssociate || control == this) return;
    if (FAssociate) RemoveFreeNotification(FAssociate);
    FAssociate = control;
    if (FAssociate) FreeNotification(FAssociate);
    ApplyAssociate();
}

void TCustomUpDown::ApplyAssociate() {
    if (!HandleAllocated() || IsLoading()) return;
    HWND buddy = FAssociate ? FAssociate->Handle() : nullptr;
    SendMessageW(WindowHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    if (buddy) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);  // the buddy's text shows it
}

void TCustomUpDown::Notification(TComponent* component) {
    TWinControl::Notification(component);
    if (component == FAssociate) {
        FAssociate = nullptr;
        if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::SetOrientation(TUDOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool value) {
    if (value == FArrowKeys) return;
    FArrowKeys = value;
    RecreateWnd();
}

void TCustomUpDown::SetWrap(bool value) {
    if (value == FWrap) return;
    FWrap = value;
    RecreateWnd();
}

void TCustomUpDown::Loaded() {
    TWinControl::Loaded();
    ApplyRange();
    ApplyAssociate();
}

void TCustomUpDown::CreateParams(TCreateParams& params) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    TWinControl::CreateParams(params);
    params.WinClassName = UPDOWN_CLASSW;
    params.Style |= UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ALIGNRIGHT;
    if (FOrientation == udHorizontal) params.Style |= UDS_HORZ;
    if (FArrowKeys) params.Style |= UDS_ARROWKEYS;
    if (FWrap) params.Style |= UDS_WRAP;
}

void TCustomUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    HWND wnd = WindowHandle();
    SendMessageW(wnd, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(wnd, UDM_SETPOS32, 0, FPosition);
    SetIncrement(FIncrement);
    ApplyAssociate();
}

void TCustomUpDown::DestroyWnd() {
    FPosition = Position();
    TWinControl::DestroyWnd();
}

void TCustomUpDown::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(message.LParam)->code == UDN_DELTAPOS) {
            // The step's direction, not the new position, tells the arrow: a wrap goes the other way.
            FStepButton = reinterpret_cast<const NMUPDOWN*>(message.LParam)->iDelta > 0 ? btNext : btPrev;
            message.Result = CanChange() ? 0 : 1;  // non-zero keeps the position
            return;
        }
        break;
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (LOWORD(message.WParam) == SB_THUMBPOSITION) {
            const int position = static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
            if (position == FPosition) return;
            FPosition = position;
            Click(FStepButton);
        }
        return;
    }
    TWinControl::WndProc(message);
}

bool TCustomUpDown::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomUpDown::Click(TUDBtnType button) {
    if (OnClick) OnClick(this, button);
}
