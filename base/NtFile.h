#pragma once
// The few file calls of the system's native layer (ntdll) that the program uses and mingw-w64's headers
// leave out, with the layouts they fill. Windows only.
#include <windows.h>
#include <winternl.h>

extern "C" {
NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apcRoutine, PVOID apcContext, PIO_STATUS_BLOCK io,
                                    PVOID buffer, ULONG length, FILE_INFORMATION_CLASS kind, BOOLEAN singleEntry,
                                    PUNICODE_STRING fileName, BOOLEAN restartScan);
NTSTATUS NTAPI NtSetInformationFile(HANDLE file, PIO_STATUS_BLOCK io, PVOID information, ULONG length,
                                    FILE_INFORMATION_CLASS kind);
}

// An entry of a folder's listing as far as its name (FILE_ID_FULL_DIR_INFORMATION).
struct TIdFullDirectoryInformation {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime, EndOfFile, AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;
    ULONG EaSize;  // a reparse point's tag, for a reparse point
    LARGE_INTEGER FileId;
    WCHAR FileName[1];
};
constexpr auto FileIdFullDirectoryInformationClass = static_cast<FILE_INFORMATION_CLASS>(38);

// FILE_RENAME_INFORMATION, the name inline after it.
struct TRenameInformation {
    BOOLEAN ReplaceIfExists;
    HANDLE RootDirectory;
    ULONG FileNameLength;
    WCHAR FileName[1];
};
constexpr auto FileRenameInformationClass = static_cast<FILE_INFORMATION_CLASS>(10);
constexpr auto FileInternalInformationClass = static_cast<FILE_INFORMATION_CLASS>(6);

constexpr NTSTATUS StatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
constexpr NTSTATUS StatusInvalidParameter = static_cast<NTSTATUS>(0xC000000DL);
constexpr NTSTATUS StatusNoSuchFile = static_cast<NTSTATUS>(0xC000000FL);
constexpr NTSTATUS StatusObjectNameInvalid = static_cast<NTSTATUS>(0xC0000033L);
constexpr NTSTATUS StatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034L);
constexpr NTSTATUS StatusObjectPathNotFound = static_cast<NTSTATUS>(0xC000003AL);
constexpr NTSTATUS StatusDeletePending = static_cast<NTSTATUS>(0xC0000056L);
constexpr NTSTATUS StatusNotADirectory = static_cast<NTSTATUS>(0xC0000103L);
