#pragma once
// The message record that travels through a control's WindowProc, and the framework's own message
// numbers. Painters that sit in front of a control's WindowProc rely on these exact values.
#include <windows.h>

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Framework notifications, sent to a control with Perform.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,       // a key that may be an accelerator; Result != 0 when used
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_VISIBLECHANGED = CM_BASE + 11,  // 0xB00B
    CM_ENABLEDCHANGED = CM_BASE + 12,  // 0xB00C
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,      // 0xB013
    CM_MOUSELEAVE = CM_BASE + 20,      // 0xB014
    CM_MENUCHANGED = CM_BASE + 21,     // 0xB015
    CM_BUTTONPRESSED = CM_BASE + 27,   // 0xB01B: a grouped button (radio, speed button) was pressed
    CM_SHOWINGCHANGED = CM_BASE + 28,
    CM_RELEASE = CM_BASE + 33,         // 0xB021: the control is going away
    CM_RECREATEWND = CM_BASE + 51,     // 0xB033
    CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
};

// Notifications a parent reflects back to the child window that sent them.
enum : UINT {
    CN_BASE = 0xBC00,
    CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,       // 0xBC4E
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
};

// The framework's private messages live in 0xB000..0xBFFF; no native window procedure knows them.
constexpr bool IsFrameworkMessage(UINT msg) { return msg >= CM_BASE && msg < 0xC000; }
