#pragma once
// The texts the main window shows for a search: a row's Size and Modified columns and the status line
// at the end of a search. Locale-dependent parts follow the user's settings.
#include <windows.h>

#include <cstdint>
#include <string>

// "Folder" for a folder; otherwise the size in kilobytes rounded up, with "KB" right after the number
// (0 bytes: "0KB", 1..1024: "1KB", 1025: "2KB"). Sizes are 64-bit: a 5 GiB file shows its true size.
std::wstring SizeText(DWORD attr, uint64_t size);

// A last-write time (UTC file time) as the user's short date, a space and the user's long time, in local
// time as it was on that day; the time is left out at exactly midnight. Empty when the value is no date.
std::wstring ModifiedText(const FILETIME& utc);

// When something happened, from the ISO 8601 UTC time the journal keeps: the user's short time (hours
// and minutes) in local time, after the user's short date when it was not today. Empty when the text is
// no such time.
std::wstring WhenText(const std::wstring& isoUtc);

// "%d folder(s) searched and %d file(s) found - %.3f second(s)" with the user's decimal separator,
// after "Search aborted - " when the search was aborted, and followed by ", %d folder(s) could not be
// opened" when any could not. elapsedMs is an unsigned tick difference.
std::wstring FinishLine(int folders, int files, uint32_t elapsedMs, bool aborted, int unopened = 0);
