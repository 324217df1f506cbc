#pragma once
// The clipboard's text.
#include <windows.h>

#include <string>

// Puts text on the clipboard as Unicode text, in place of whatever was there (the system makes the
// other text formats from it when a program asks); owner is the window that puts it there. False when
// the clipboard could not be had.
bool SetClipboardText(HWND owner, const std::wstring& text);

// The clipboard's Unicode text; empty when it holds none.
std::wstring ClipboardText();
