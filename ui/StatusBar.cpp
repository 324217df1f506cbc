#include "ui/StatusBar.h"

#include "ui/Properties.h"

#include <commctrl.h>

const TClassInfo TCustomStatusBar::MetaClass(
    "TCustomStatusBar", &TWinControl::MetaClass, nullptr,
    {
        BoolProp<TCustomStatusBar>("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel),
        StrProp<TCustomStatusBar>("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText),
        BoolProp<TCustomStatusBar>("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip),
    });

const TClassInfo TStatusBar::MetaClass("TStatusBar", &TCustomStatusBar::MetaClass, ComponentFactory<TStatusBar>, {});

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TCustomStatusBar::SetSimpleText(const std::wstring& text) {
    if (text == FSimpleText) return;
    FSimpleText = text;
    SendText();
}

void TCustomStatusBar::SetSimplePanel(bool value) {
    FSimplePanel = value;
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), SB_SIMPLE, value, 0);
        SendText();
    }
}

void TCustomStatusBar::SetSizeGrip(bool value) {
    if (value == FSizeGrip) return;
    FSizeGrip = value;
    RecreateWnd();
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = STATUSCLASSNAMEW;
    // The framework places the bar (Align), not the bar itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FSizeGrip) params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(WindowHandle(), SB_SIMPLE, FSimplePanel, 0);
    SendText();
}

void TCustomStatusBar::SendText() {
    if (!HandleAllocated()) return;
    WPARAM part = FSimplePanel ? SB_SIMPLEID : 0;
    SendMessageW(WindowHandle(), SB_SETTEXTW, part, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    if (!FSimplePanel) {
        int right = -1;
        SendMessageW(WindowHandle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
        SendMessageW(WindowHandle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    }
    UpdateWindow(WindowHandle());
}

void TCustomStatusBar::WndProc(TMessage& message) {
    if (message.Msg == CM_COLORCHANGED && HandleAllocated())
        SendMessageW(WindowHandle(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    TWinControl::WndProc(message);
}
