#pragma once
// Name and path matching of the search. Characters are compared one by one as the file system
// compares names, without regard to case (SameFileNameChar, base/FileName.h).
#include <string_view>

// Mask matching of exclusion patterns, character by character from the start: "?" takes any one
// character, and a "*" matches the whole rest of the text, whatever follows it in the mask.
bool WildcardMatch(std::wstring_view text, std::wstring_view mask);

// Matches base and extension separately; a mask without extension ignores the name's extension.
bool FileNameMatch(std::wstring_view name, std::wstring_view mask);

// Whether an entry of Folder named Name is excluded by Pattern: the pattern's folder part must be a
// tail of Folder (its drive part, if any, matching Folder's drive), its name part must match Name.
bool ExclusionMatch(std::wstring_view folder, std::wstring_view name, std::wstring_view pattern);
bool DriveMatch(std::wstring_view folderDrive, std::wstring_view patternDrive);

// Name masks of the folder walk, as the platform's listing reads them: "*" takes any run of characters,
// "?" any one character, and a mask ending in ".*" also takes names without an extension ("*.*" takes
// every name).
bool MaskMatch(std::wstring_view name, std::wstring_view mask);
