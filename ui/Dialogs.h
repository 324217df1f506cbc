#pragma once
// Message and confirmation boxes. Every box goes through one replaceable function, so that tests can
// answer boxes without a modal loop: set a handler, and the handler's return value is the button.
#include <windows.h>

#include <functional>
#include <string>

using TMessageBoxHandler =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)>;

// Puts handler in place of the system's MessageBox (an empty handler puts the system's back); returns
// the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// A message box owned by the active form (or the application window); flags as MessageBox's. With
// rightToLeft the text reads right to left (MB_RTLREADING | MB_RIGHT). Returns the button pressed.
int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags, bool rightToLeft = false);

// A Yes/No question; true for Yes.
bool ConfirmBox(const std::wstring& text, const std::wstring& caption, bool rightToLeft = false);
