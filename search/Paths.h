#pragma once
// Path helpers of the search. Paths handed to callers are always in their normal form; the extended
// form (\\?\) is made only right before a call into the file system, where it lifts the 260-character
// limit.
#include <string>
#include <string_view>

// The form of an absolute path that the file-system calls accept at any length: \\?\C:\... or
// \\?\UNC\server\share\... when the path is long enough to need it, else the path itself.
std::wstring ExtendedPath(std::wstring_view path);

// The path with a backslash at its end unless it is empty or ends in a backslash or a colon.
std::wstring IncludeFolderDelimiter(std::wstring path);

// Everything up to and including the last backslash or colon, and everything after it.
std::wstring_view FolderPart(std::wstring_view path);
std::wstring_view NamePart(std::wstring_view path);

// "C:" for a drive path, "\\server\share" for a network path, else empty.
std::wstring_view DrivePart(std::wstring_view path);
