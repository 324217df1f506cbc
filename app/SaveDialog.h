#pragma once
// The common Save dialog, through one replaceable function, so that tests can answer it without a modal
// loop: set a handler, and what it fills in is the user's choice.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct TSaveRequest {
    std::wstring Title;
    // Each file type as its description and its pattern ("CSV (*.csv)", "*.csv"); the first one's
    // extension is added to a name typed without one of the chosen type.
    std::vector<std::pair<std::wstring, std::wstring>> Types;
    std::wstring FileName;  // in: the name offered; out: the full path chosen
    int TypeIndex = 0;      // out: the type chosen, from 0
};

using TSaveDialogHandler = std::function<bool(HWND owner, TSaveRequest& request)>;

// Puts handler in place of the system's dialog (an empty handler puts the system's back); returns the
// previous one.
TSaveDialogHandler SetSaveDialogHandler(TSaveDialogHandler handler);

// Asks where to save; false when the user cancelled (or the dialog could not be shown).
bool ShowSaveDialog(HWND owner, TSaveRequest& request);
