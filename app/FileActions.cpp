#include "app/FileActions.h"

#include "search/Paths.h"

#include <windows.h>

bool UnhideObject(const std::wstring& path) {
    const std::wstring target = ExtendedPath(path);
    DWORD attr = GetFileAttributesW(target.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return false;
    constexpr DWORD cleared = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attr & cleared) {
        // SetFileAttributes takes only the settable bits; none left means "normal".
        constexpr DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                   FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
        DWORD wanted = attr & ~cleared & settable;
        if (!SetFileAttributesW(target.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL)) return false;
        attr = GetFileAttributesW(target.c_str());
    }
    return attr != INVALID_FILE_ATTRIBUTES && (attr & cleared) == 0;
}

bool DeleteObject(const std::wstring& path) {
    const std::wstring target = ExtendedPath(path);
    DWORD attr = GetFileAttributesW(target.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return false;
    // RemoveDirectory refuses a folder that is not empty, which is what we want. A directory reparse
    // point (junction, link) is removed as a link; what it points at is left alone.
    return (attr & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(target.c_str()) != 0 : DeleteFileW(target.c_str()) != 0;
}
