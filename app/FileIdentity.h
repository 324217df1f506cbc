#pragma once
// Who a file-system object is, whatever name it goes by now, and how an entry of a folder is reached
// without going by a whole path.
//
// A name can be given to another object at any moment; the number a volume gives an object cannot. The
// volume's serial number is part of the identity: on FAT and exFAT the number is only the position of
// the entry, and two sticks used at the same drive letter repeat each other's numbers.
//
// An entry is opened in a folder held open (the folder's handle as the root of the name), by its name
// alone and without following a link, so that nothing done to the path above the folder, and no link put
// in the entry's place, can send the open elsewhere.
#include "base/NtFile.h"
#include "base/WinHandle.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct TFileIdentity {
    uint64_t Volume = 0;
    std::array<uint8_t, 16> Id{};  // a 64-bit number fills the low half, least significant byte first

    // The identity of a 64-bit file number on a volume.
    static TFileIdentity OfNumber(uint64_t volume, uint64_t number);

    // Whether the system told it: no object has the number 0.
    bool Known() const;
    bool operator==(const TFileIdentity&) const = default;

    // As files keep it: the volume in 16 hex digits, a colon, the number in 32 (most significant first).
    std::string Text() const;
    static bool Parse(std::string_view text, TFileIdentity& identity);
};

// The volume objects lie on, as their identities need it: asked once per folder searched (the system
// may take long to tell it), and shared by everything found below that folder, which the walk reaches
// without crossing into another volume.
struct TVolume {
    uint64_t Serial = 0;
    bool LongNumbers = false;  // its file numbers need all 128 bits (ReFS)
    bool Known = false;
};
TVolume VolumeOf(HANDLE handle);

// The identity of the object behind handle, which lies on volume; unknown when the system cannot tell.
TFileIdentity IdentityOf(HANDLE handle, const TVolume& volume);

// An NTSTATUS as the Win32 error it stands for.
DWORD ErrorOfStatus(NTSTATUS status);

// What an open may find, and whether it may make the entry when there is none.
enum class TEntryKind { Any, Folder, File };
enum class TEntryDisposition { Existing, OpenOrCreate };

// Opens the entry called name (one name, no separators) of the folder held by folder, as the entry
// itself: a link is opened as the link. The result is empty on failure, with the system's status in
// status. A created entry gets security when given, else what the folder passes on.
UniqueFileHandle OpenEntry(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share, NTSTATUS& status,
                           TEntryKind kind = TEntryKind::Any,
                           TEntryDisposition disposition = TEntryDisposition::Existing,
                           PSECURITY_DESCRIPTOR security = nullptr);

// The attributes of the entry called name as the folder held by folder lists it (INVALID_FILE_ATTRIBUTES
// when it lists none): where a platform opens a link's target although told not to follow it, the
// listing still shows the link.
DWORD ListedAttributes(HANDLE folder, std::wstring_view name);

// Whether a status from OpenEntry says there is no such entry (as against one that cannot be opened).
bool IsNoSuchEntry(NTSTATUS status);

// Gives the object behind handle the new name in the folder held by folder, never replacing an entry
// of that name. False (with the system's error in GetLastError) when it cannot.
bool RenameEntry(HANDLE handle, HANDLE folder, std::wstring_view name);
