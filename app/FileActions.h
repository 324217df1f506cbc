#pragma once
// What "UnHide" and "Delete" do to one listed object, and how they make sure it is the object that was
// listed. A listed object is known by the path and attributes the search found it with; before acting
// it is opened without following links and must still be that kind of object (file, folder or link)
// with hidden and system set, below folders that are still real folders (not links), else nothing is
// done to it. The action then goes through that open handle, so nothing swapped in after the check
// can redirect it. A link is acted on as the link itself, never what it points at.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct TListedObject {
    std::wstring Path;       // full path, as the walk found it
    DWORD Attributes = 0;    // the attributes it was listed with
    std::size_t RootLength = 0;  // the searched folder's part of Path (ending in a backslash): nothing
                                 // between it and the object may have become a link since
    uint64_t FileId = 0;     // the file system's number for the object when known (0: not known)
    uint64_t Size = 0;       // as listed, for what the list shows and exports
    FILETIME Modified{};     // last write, UTC, as listed

    bool IsFolder() const { return Attributes & FILE_ATTRIBUTE_DIRECTORY; }
    bool IsLink() const { return Attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
    // The number of folders Path lies in: a folder's contents are deeper than the folder.
    std::size_t Depth() const;
};

enum class TActionResult {
    Done,     // unhidden or deleted, and checked to be so
    Changed,  // gone, or no longer the object listed: left alone
    Failed,   // the system refused (in use, denied, a folder that is not empty)
    Unrecorded,  // the change could not be written down first, so it was not made
};

// How the objects of one action fared.
struct TActionCounts {
    int Done = 0, Changed = 0, Failed = 0, Unrecorded = 0;
    // Counts result; true when it was done.
    bool Add(TActionResult result);
    int Left() const { return Changed + Failed + Unrecorded; }
};

// An attribute change about to be made to an object that passed the check.
struct TAttributeChange {
    std::wstring Path;
    std::size_t RootLength = 0;
    DWORD Before = 0, After = 0;
    uint64_t FileId = 0;
};

// Where attribute changes are written down before they are made (the journal). Begin comes before the
// change and End right after it; a change whose Begin fails is not made.
class TChangeRecorder {
public:
    virtual ~TChangeRecorder() = default;
    virtual bool Begin(const TAttributeChange& change) = 0;
    virtual void End(bool done, DWORD attributesNow) = 0;
};

// Whether the object is still the one listed, by the same check the actions make, changing nothing:
// Done when it is, Changed when it is gone or another object, Failed when it cannot be opened to tell.
TActionResult VerifyListedObject(const TListedObject& object);

// Clears the hidden and system attributes, keeping every other one, and checks that they are gone.
TActionResult UnhideListedObject(const TListedObject& object, TChangeRecorder& recorder);

// Puts back attributes on an object that still has exactly the attributes object.Attributes says it was
// given (and is still the same file when object.FileId is known), else leaves it alone (Changed). Only
// the bits a person or a program would change are compared: read-only, hidden, system, temporary,
// offline and not-indexed (the archive bit is set by every write and cleared by every backup).
TActionResult RestoreListedObject(const TListedObject& object, DWORD attributes, TChangeRecorder& recorder);

// Deletes a file, a link, or a folder when it is empty (a folder with anything left in it stays).
TActionResult DeleteListedObject(const TListedObject& object);

// Where a junction or symbolic link points, as the link stores it; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& path);
