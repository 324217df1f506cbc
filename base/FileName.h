#pragma once
// File and folder names compared as the file system compares them: code unit by code unit, letters
// upper-cased through the system's own table (the ordinal rule of CompareStringOrdinal), whatever the
// user's language. Never lower-cased, never expanded: "İ" and "i" differ, as do "ß" and "SS". Keys,
// property and class names are ASCII and compared with SameTextAscii instead. Windows only.
#include <string_view>

bool SameFileName(std::wstring_view a, std::wstring_view b);

// The same rule for one code unit, for matching names against masks character by character: two
// names are the same file name exactly when they have the same length and every pair of code units
// at the same place is.
bool SameFileNameChar(wchar_t a, wchar_t b);
