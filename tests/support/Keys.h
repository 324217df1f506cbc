#pragma once
// GUI suites: a key typed into a window through the application's message loop, with Ctrl or Shift
// held in this thread's keyboard state (which is where controls look for them) while it is handled.
#include "ui/Application.h"
#include "ui/Control.h"

#include <windows.h>

inline void TypeKey(HWND wnd, WORD key, TShiftState shift = 0) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    constexpr BYTE down = 0x80;
    keys[VK_CONTROL] = (shift & ssCtrl) ? down : BYTE{0};
    keys[VK_SHIFT] = (shift & ssShift) ? down : BYTE{0};
    SetKeyboardState(keys);
    PostMessageW(wnd, WM_KEYDOWN, key, 1);
    PostMessageW(wnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    Application().ProcessMessages();
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}
