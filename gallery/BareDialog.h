#pragma once
// The bare Win32 dialog of the gallery: a DIALOGEX template of the program's resources run by
// DialogBoxParamW with a plain dialog procedure, no framework, so that the skin engine skins it as it
// skins any program's "#32770" dialog.
#include <windows.h>

// Shows the dialog modally over owner; returns the id of the button that closed it.
INT_PTR ShowBareDialog(HWND owner);
