#pragma once
// GUI suites: lets queued and posted messages (and the timers and paints they start) run for a while.
#include "ui/Application.h"

#include <windows.h>

inline void Pump(int rounds = 5, DWORD pauseMs = 5) {
    for (int i = 0; i < rounds; ++i) {
        Application().ProcessMessages();
        Sleep(pauseMs);
    }
}
