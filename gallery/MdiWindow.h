#pragma once
// TMdiWindow: a plain Win32 MDI frame with an MDICLIENT and three child windows, cascaded, made without
// the framework, for the skin engine to skin as it skins any program's MDI windows. The object owns
// the frame window; closing it hides it. Should it be destroyed from outside, Frame() is null.
#include "ui/Handles.h"

class TMdiWindow {
public:
    explicit TMdiWindow(HWND owner);
    ~TMdiWindow();
    TMdiWindow(const TMdiWindow&) = delete;
    TMdiWindow& operator=(const TMdiWindow&) = delete;

    HWND Frame() const { return FFrame.get(); }
    HWND Client() const { return FClient; }

private:
    static LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateClient(HWND frame);

    UniqueWindow FFrame;
    HWND FClient = nullptr;  // a child of the frame: goes with it
};
