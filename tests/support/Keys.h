#pragma once
// GUI suites: a key typed into a window through the application's message loop, with Ctrl or Shift
// held in this thread's keyboard state (which is where controls look for them) while it is handled.
#include "ui/Application.h"
#include "ui/Control.h"

#include <windows.h>

#include <vector>

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

// The open menu window, or null while none is shown.
inline HWND OpenMenuWindow() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Keys posted to a menu window, as its own modal loop reads them.
inline void PostKeysToMenu(HWND menu, const std::vector<WPARAM>& keys) {
    for (WPARAM key : keys) {
        PostMessageW(menu, WM_KEYDOWN, key, 1);
        PostMessageW(menu, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
}

// Keys typed into the next menu that opens: a timer (which the menu's modal loop serves) waits for it.
inline void TypeIntoMenu(std::vector<WPARAM> keys) {
    static std::vector<WPARAM> pending;
    pending = std::move(keys);
    SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND menu = OpenMenuWindow();
        if (!menu) return;
        KillTimer(nullptr, id);
        PostKeysToMenu(menu, pending);
    });
}
