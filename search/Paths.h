#pragma once
// How the program's paths reach the file system. Paths shown and handed to callers are in their normal
// form (C:\..., \\server\share\...); every call into the file system on such a path takes its extended
// form (\\?\C:\..., \\?\UNC\server\share\...), whatever its length. Only that form reaches a name
// exactly as it is on disk: the plain form's parsing strips trailing dots and spaces ("bar." would
// become "bar") and turns reserved names ("nul", "con", "com1", ...) into devices, so an action on a
// listed name could land on a different object.
#include <string>
#include <string_view>

// The extended form of an absolute path (a drive path or a network path); a path already in that form,
// or one that is not absolute, comes back as it is.
std::wstring ExtendedPath(std::wstring_view path);

// The normal form of a path in the extended form (\\?\C:\... or \\?\UNC\server\...); any other path
// comes back as it is.
std::wstring NormalPath(std::wstring_view path);

// A full path on a drive (C:\...) or a network share (\\server\share\...), in either form.
bool IsAbsolutePath(std::wstring_view path);

// Whether the normal form of an absolute path names exactly this object for code that parses paths
// (the shell, other programs), which never gets the extended form: the system's own parsing leaves it as
// it is (no name ending in a dot or a space, no device name), and it is shorter than MAX_PATH.
bool PlainPathIsExact(const std::wstring& path);

// The absolute normal form of a path, made once where a path enters the program. A path that is
// already absolute and plain (no "." or ".." steps, no forward slashes, no doubled separators) is kept
// exactly as given, so that a folder named "sub." or "sub " stays itself; anything else is resolved
// against the current folder by the system. Empty stands for the current folder.
std::wstring AbsolutePath(const std::wstring& path);

// The path with a backslash at its end unless it is empty or ends in a backslash or a colon.
std::wstring IncludeFolderDelimiter(std::wstring path);

// Everything up to and including the last backslash or colon, and everything after it.
std::wstring_view FolderPart(std::wstring_view path);
std::wstring_view NamePart(std::wstring_view path);

// "C:" for a drive path, "\\server\share" for a network path, else empty.
std::wstring_view DrivePart(std::wstring_view path);
