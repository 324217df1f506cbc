#pragma once
// The ids every SetWindowSubclass of the program uses, in one place so that no two layers that subclass
// the same window (the framework, the window skinner, the control painters) can collide.
#include <windows.h>
#include <commctrl.h>

enum : UINT_PTR {
    SubclassControl = 0xC1A7,     // the framework: every message of its controls' windows
    SubclassSkinForm = 0xC1A8,    // the window skinner, in front of the framework on skinned windows
    SubclassMdiClient = 0xC1A9,   // the window skinner on its MDI frame's client window
    SubclassPopupMenu = 0xC1AA,   // the popup menu skinner on menu windows
    SubclassPainter = 0xC1AB,     // a control painter in front of its control
    SubclassComboEdit = 0xC1AC,   // a combo box painter on the combo's own edit
};

// The subclass procedure that hands each message to Method of the object given as the reference data.
// Nothing may unwind through the system's dispatch: on a failure the window handles the message itself.
template <typename T, LRESULT (T::*Method)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK MemberSubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
    try {
        return (reinterpret_cast<T*>(refData)->*Method)(msg, wParam, lParam);
    } catch (...) {
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
}
