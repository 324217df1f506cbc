#pragma once
// What "UnHide" and "Delete" do to one listed object, and how they make sure it is the object that was
// listed. A listed object is known by the path and attributes the search found it with; before acting
// it is opened without following links and must still be that kind of object (file, folder or link)
// with hidden and system set, below folders that are still real folders (not links), else nothing is
// done to it. The action then goes through that open handle, so nothing swapped in after the check
// can redirect it. A link is acted on as the link itself, never what it points at.
#include <windows.h>

#include <cstddef>
#include <string>

struct TListedObject {
    std::wstring Path;       // full path, as the walk found it
    DWORD Attributes = 0;    // the attributes it was listed with
    std::size_t RootLength = 0;  // the searched folder's part of Path (ending in a backslash): nothing
                                 // between it and the object may have become a link since

    bool IsFolder() const { return Attributes & FILE_ATTRIBUTE_DIRECTORY; }
    bool IsLink() const { return Attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
    // The number of folders Path lies in: a folder's contents are deeper than the folder.
    std::size_t Depth() const;
};

enum class TActionResult {
    Done,     // unhidden or deleted, and checked to be so
    Changed,  // gone, or no longer the object listed: left alone
    Failed,   // the system refused (in use, denied, a folder that is not empty)
};

// Whether the object is still the one listed, by the same check the actions make, changing nothing:
// Done when it is, Changed when it is gone or another object, Failed when it cannot be opened to tell.
TActionResult VerifyListedObject(const TListedObject& object);

// Clears the hidden and system attributes, keeping every other one, and checks that they are gone.
TActionResult UnhideListedObject(const TListedObject& object);

// Deletes a file, a link, or a folder when it is empty (a folder with anything left in it stays).
TActionResult DeleteListedObject(const TListedObject& object);

// Where a junction or symbolic link points, as the link stores it; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& path);
