#pragma once
// What "UnHide" and "Delete" do to one listed object, and how they make sure it is the object that was
// listed.
//
// A listed object is known by the folder it was searched in, its path below that folder, its attributes
// and its identity (volume and number), all as the search found them. Before anything is done to it, it
// is reached from the searched folder, never by its whole path: the searched folder is opened and must
// be the folder searched (by identity), each folder below it is opened in the one above without
// following a link and must be a real folder, and the object is opened in its folder as itself (a link
// as the link) and must still be that object, of its kind, with hidden and system set. Each folder is
// held open without sharing delete while the action lasts, so none can be renamed or swapped meanwhile,
// and the action goes through the object's own handle.
#include "app/FileIdentity.h"
#include "base/WinHandle.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TListedObject {
    std::wstring Path;           // full path, as the walk found it
    DWORD Attributes = 0;        // the attributes it was listed with
    std::size_t RootLength = 0;  // the searched folder's part of Path, ending in a backslash
    TFileIdentity Identity;      // the object's, as listed
    TFileIdentity RootIdentity;  // the searched folder's, as searched
    uint64_t Size = 0;           // as listed, for what the list shows and exports
    FILETIME Modified{};         // last write, UTC, as listed

    bool IsFolder() const { return Attributes & FILE_ATTRIBUTE_DIRECTORY; }
    bool IsLink() const { return Attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
    // The number of folders Path lies in: a folder's contents are deeper than the folder.
    std::size_t Depth() const;
};

// A folder a search walks, as its rows remember it: who it is, and the volume they lie on.
struct TSearchedFolder {
    TFileIdentity Identity;
    TVolume Volume;
};

// The folder a search is about to walk, opened by its path as the walk opens it (a link there is
// followed); its identity is unknown when it cannot be opened.
TSearchedFolder IdentifySearchedFolder(const std::wstring& folder);

// Fills in what the list keeps besides what the walk found: the identity of object, from the number the
// walk's listing gave it (or, where the listing gives none or the volume's numbers are longer, by
// opening object.Path as the walk found it, a link as the link), and its searched folder's identity.
// False when it could not be told (the object is listed all the same, and no action will touch it).
bool IdentifyListed(TListedObject& object, const TSearchedFolder& searched, uint64_t listedNumber);

enum class TActionResult {
    Done,        // unhidden or deleted, and checked to be so
    Changed,     // gone, or no longer the object listed: left alone
    Denied,      // the system denied access
    InUse,       // another program has it open
    NotEmpty,    // a folder with something still in it
    Failed,      // could not be told to be the object listed, or refused for another reason
    Unrecorded,  // the change could not be written down first, so it was not made
    OtherNames,  // a file with other names (hard links), left alone as the user chose
    Stopped,     // not tried: the action was stopped first
};
constexpr std::size_t ActionResultCount = 9;

// The result that a system error stands for.
TActionResult ResultOfError(DWORD error);

// How the objects of one action fared.
struct TActionCounts {
    std::array<int, ActionResultCount> Of{};
    // Counts result; true when it was done.
    bool Add(TActionResult result);
    int Count(TActionResult result) const { return Of[static_cast<std::size_t>(result)]; }
    int Done() const { return Count(TActionResult::Done); }
    int Left() const;
    int Total() const { return Done() + Left(); }
};

// An attribute change about to be made to an object that passed the check.
struct TAttributeChange {
    const TListedObject* Object = nullptr;
    DWORD Before = 0, After = 0;
};

// How one change went.
struct TChangeOutcome {
    bool Done = false;
    DWORD AttributesNow = 0;
};

// Where attribute changes are written down (the journal), a block at a time: Begin comes before any
// change of the block is made, End right after the block; when Begin fails, none of them is made.
class TChangeRecorder {
public:
    virtual ~TChangeRecorder() = default;
    virtual bool Begin(const std::vector<TAttributeChange>& changes) = 0;
    // How each change of the last Begin went, in the same order.
    virtual void End(const std::vector<TChangeOutcome>& outcomes) = 0;
};

// What an object must still be: its attributes under Mask equal to Value.
struct TExpectedAttributes {
    DWORD Mask = 0, Value = 0;
    bool Matches(DWORD attributes) const {
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & Mask) == Value;
    }
    // Of the object's kind (file, folder or link), with hidden and system set: what the search listed.
    static TExpectedAttributes AsListed(const TListedObject& object);
};

// A searched folder opened by its path and checked to be the folder searched, held open.
struct THeldFolder {
    UniqueFileHandle Handle;
    TVolume Volume;
};

// A listed object reached from its held searched folder as described above, with every folder below it
// held open; Result() says Done when it is still the object listed and as expected, else why not.
class TReachedObject {
public:
    TReachedObject(const THeldFolder& searched, const TListedObject& object, ACCESS_MASK access,
                   TExpectedAttributes expected);
    // Not reached at all: result says why.
    explicit TReachedObject(TActionResult result) : FResult(result) {}

    TActionResult Result() const { return FResult; }
    HANDLE Handle() const { return FObject.get(); }
    DWORD Attributes() const { return FAttributes; }
    // How many names (hard links) the object has: 1 for a folder or a link, 0 when the system cannot tell.
    uint32_t Names() const;
    // The folder holding the object, held.
    HANDLE Folder() const;
    // Lets go of the object itself, keeping its folders held (for another program to act on it).
    void ReleaseObject() { FObject.reset(); }
    // Whether the object is gone from its held folder: no entry of its name, or one that is another
    // object (Done); otherwise why it is still there.
    TActionResult GoneFromFolder() const;
    // The path of the held folder as it really is now (no links in it), in its normal form, with the
    // object's name after it: for programs that take only paths. Empty when it cannot be told.
    std::wstring CurrentPath() const;

private:
    HANDLE FSearched = nullptr;  // held by the searched folders of the run
    TVolume FVolume;
    std::wstring FName;
    TFileIdentity FIdentity;
    std::vector<UniqueFileHandle> FFolders;  // below the searched folder, down to the object's folder
    UniqueFileHandle FObject;
    DWORD FAttributes = INVALID_FILE_ATTRIBUTES;
    TActionResult FResult = TActionResult::Changed;
};

// One run of actions on listed objects: each object is reached from its searched folder, which is
// opened and checked once, at the first object found in it, and held until the run ends.
class TObjectActions {
public:
    TObjectActions() = default;
    TObjectActions(const TObjectActions&) = delete;
    TObjectActions& operator=(const TObjectActions&) = delete;

    TReachedObject Reach(const TListedObject& object, ACCESS_MASK access, TExpectedAttributes expected);
    TReachedObject Reach(const TListedObject& object, ACCESS_MASK access) {
        return Reach(object, access, TExpectedAttributes::AsListed(object));
    }

    // Whether the object is still the one listed, changing nothing: Done when it is, Changed when it is
    // gone or another object, another result when it cannot be told.
    TActionResult Verify(const TListedObject& object);

    // Whether unhide and delete act on a file with other names (hard links): its attributes belong to all
    // of them, and a delete removes only the name listed. When not, such a file is left alone
    // (OtherNames), and the caller may ask the user and try it again.
    bool ActOnOtherNames = false;

    // Clears the hidden and system attributes, keeping every other one, and checks that exactly those
    // two went. A block of objects is written down with one write before and one after.
    TActionResult Unhide(const TListedObject& object, TChangeRecorder& recorder);
    std::vector<TActionResult> Unhide(const std::vector<const TListedObject*>& objects, TChangeRecorder& recorder);

    // Sets hidden and system back as hiddenSystem has them, on an object that still has exactly the
    // attributes object.Attributes says an unhide left it with, else leaves it alone (Changed). Only the
    // bits a person or a program would change are compared: read-only, hidden, system, temporary,
    // offline and not-indexed (the archive bit is set by every write and cleared by every backup).
    TActionResult Restore(const TListedObject& object, DWORD hiddenSystem, TChangeRecorder& recorder);
    // The same for a block: each object with the hidden and system bits it is to get back.
    std::vector<TActionResult> Restore(const std::vector<std::pair<const TListedObject*, DWORD>>& objects,
                                       TChangeRecorder& recorder);

    // Deletes a file, a link, or a folder when it is empty (a folder with anything left in it stays).
    TActionResult Delete(const TListedObject& object);

private:
    // An object of a block whose hidden and system bits are to be set.
    struct TAttributeRequest {
        const TListedObject* Object;
        DWORD HiddenSystem;
        TExpectedAttributes Expected;
        bool AsksForOtherNames;  // a file with other names is left to the user's word
    };
    std::vector<TActionResult> SetHiddenSystem(const std::vector<TAttributeRequest>& block, TChangeRecorder& recorder);

    struct TSearched {
        std::wstring Path;
        TFileIdentity Identity;
        THeldFolder Held;
        TActionResult Result;  // Done when held, else why it could not be
    };
    std::vector<TSearched> FSearched;  // a handful: one per folder searched
};

// Where a junction or symbolic link points, as the link stores it; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& path);
