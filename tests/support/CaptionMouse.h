#pragma once
// Mouse messages in a window's caption for GUI suites, with the pointer really put there too: a skinned
// window's timer lets a hot or pressed caption button go when the pointer is not on it.
#include <windows.h>

inline void PostCaptionMouse(HWND wnd, UINT msg, LPARAM screen) {
    SetCursorPos(static_cast<short>(LOWORD(screen)), static_cast<short>(HIWORD(screen)));
    PostMessageW(wnd, msg, HTCAPTION, screen);
}
