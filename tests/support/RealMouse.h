#pragma once
// Real input for GUI suites, given as a user's mouse and keyboard give it (SendInput), so that the
// system's own tracking loops (scroll bars, menus) see it. Input meant for such a loop is queued before
// the loop starts, or sent from another thread after a pause (TDelayedRelease): the loop runs on the
// suite's own thread, inside the message that started it.
#include <windows.h>

#include <thread>

inline void SendMouse(DWORD Flags, POINT At = {}, LONG Data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (Flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(At.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(At.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    input.mi.dwFlags = Flags;
    input.mi.mouseData = static_cast<DWORD>(Data);
    SendInput(1, &input, sizeof input);
}

inline void MouseTo(POINT At) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, At); }
inline void MouseDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
inline void MouseUp() { SendMouse(MOUSEEVENTF_LEFTUP); }
// Down at From, through Steps moves to To, up there: queued all at once.
inline void MouseDrag(POINT From, POINT To, int Steps = 4) {
    MouseTo(From);
    MouseDown();
    for (int i = 1; i <= Steps; ++i)
        MouseTo({From.x + (To.x - From.x) * i / Steps, From.y + (To.y - From.y) * i / Steps});
    MouseUp();
}
inline void MouseClick(POINT At) { MouseDrag(At, At, 0); }
// Notches of the wheel at the pointer: positive turns away from the user (scrolls up).
inline void MouseWheel(int Notches) { SendMouse(MOUSEEVENTF_WHEEL, {}, Notches * WHEEL_DELTA); }

inline void PressKey(WORD Key) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = Key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

// Lets the left button go after a pause, from a thread of its own.
class TDelayedRelease {
public:
    explicit TDelayedRelease(DWORD PauseMs) : FThread([PauseMs] {
        Sleep(PauseMs);
        MouseUp();
    }) {}
    ~TDelayedRelease() { FThread.join(); }
    TDelayedRelease(const TDelayedRelease&) = delete;
    TDelayedRelease& operator=(const TDelayedRelease&) = delete;

private:
    std::thread FThread;
};
