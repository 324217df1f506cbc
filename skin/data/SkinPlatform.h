#pragma once
// Entry points of user32 that older systems lack, looked up once per process at run time and never
// linked directly. A missing one is null; its callers then do without.
#include <windows.h>

struct TSkinPlatform {
    using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
    using TTrackMouseEvent = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
    using TDwmSetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

    TGetScrollBarInfo GetScrollBarInfo = nullptr;
    TTrackMouseEvent TrackMouseEvent = nullptr;
    TGetComboBoxInfo GetComboBoxInfo = nullptr;
    TDwmSetWindowAttribute DwmSetWindowAttribute = nullptr;  // Vista and later (dwmapi)
};

// The process's entry points (a test may clear one to act as an older system).
TSkinPlatform& SkinPlatform();

// False when the entry point is missing, else whether the call succeeded.
bool SkinGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO& Info);
bool SkinGetComboBoxInfo(HWND Window, COMBOBOXINFO& Info);
// Asks for one WM_MOUSELEAVE when the mouse leaves Window; nothing when the entry point is missing.
void SkinTrackMouseLeave(HWND Window);
// Whether the desktop compositor draws Window's frame (its own glass frame over whatever the program
// paints) or leaves the non-client area to the program. Nothing where there is no compositor.
void SkinSetSystemFrame(HWND Window, bool On);
