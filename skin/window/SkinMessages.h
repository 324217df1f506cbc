#pragma once
// The private messages the window skinner, the caption buttons, the menus and the control painters
// exchange. Their numbers are fixed: other code (and skinned programs' own windows) may send them.
#include <windows.h>

enum : UINT {
    WM_SKINREFRESH = 13313,        // 0x3401 to a framework form: re-read the skin
    WM_SKINNCPAINT = 13570,        // 0x3502 paint the non-client area now
    WM_SKINSTART = 13571,          // 0x3503 posted after a skinner was attached: the first skinning
    WM_SKINBUTTONCLICK = 13588,    // 0x3514 posted: a caption button with a custom action; wParam = action
    WM_SKINBUTTONVISIBLE = 13589,  // 0x3515 wParam = visibility value, lParam = action; above 0 shows it
    WM_SKINMDIREDRAW = 13590,      // 0x3516 posted to an MDI client: redraw with every child and frame
    WM_SKINRESCROLL = 13591,       // 0x3517 wParam = control window: give it a new scroll bar painter
    WM_SKINMENUHIT = 13592,        // 0x3518 lParam = screen point: open the menu bar item under it
    WM_SKINQUERY = 13603,          // 0x3523 a window or popup that is already skinned answers 1
    WM_SKINNCPRINT = 48203,        // 0xBC4B wParam = DC, lParam = SkinAnswer: paint the frame into it
    WM_SKINPING = 48205,           // 0xBC4D answers SkinAnswer when lParam is SkinAnswer
    WM_SKINDONE = 48206,           // 0xBC4E sent with lParam SkinAnswer: this window's skinning is done
};

// The lParam of WM_SKINSTART.
constexpr LPARAM SkinStartParam = 1000;
// The token that WM_SKINNCPRINT, WM_SKINPING and WM_SKINDONE carry and answer.
constexpr LPARAM SkinAnswer = 16802;
// The Tag of the skinned system menu.
constexpr int SystemMenuTag = 33333;
// The system's own themed caption drawing, answered with 0 on skinned frames.
constexpr UINT WM_NCUAHDRAWCAPTION = 0xAE;
