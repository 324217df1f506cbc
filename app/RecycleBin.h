#pragma once
// "Move to Recycle Bin": listed objects handed to the shell's file operation interface (IFileOperation)
// in one operation, with the shell's own progress window, folders with everything in them. Each object
// is first checked to be the one listed, as delete checks it; the shell takes only paths in their
// normal form, so an object whose normal form would name another (a name ending in a dot or a space, a
// device name, 260 characters or more) is not handed over. Afterwards an object counts as moved only
// when nothing is left at its path.
#include "app/FileActions.h"

#include <windows.h>

#include <vector>

struct TRecycleOutcome {
    std::vector<TActionResult> Results;  // one per object, in the order given
    int Unreachable = 0;                 // of the Failed ones: names the shell would read as others
    HRESULT Error = S_OK;                // why the shell's operation could not be used, when it could not
};

// Asks before destroying anything that cannot go to the Recycle Bin (the shell's own warning) and
// otherwise asks nothing: the objects can be taken back from the bin.
TRecycleOutcome MoveToRecycleBin(HWND owner, const std::vector<TListedObject>& objects);
