#pragma once
// A folder tree built for one test in the temporary folder and removed with everything in it (long
// paths, read-only and hidden entries, links) when the object goes.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class TTempTree {
public:
    // The tree goes into parent (ending in a backslash), or into the temporary folder when none is given.
    explicit TTempTree(const std::wstring& parent = {});
    ~TTempTree();
    TTempTree(const TTempTree&) = delete;
    TTempTree& operator=(const TTempTree&) = delete;

    // The tree's root, ending in a backslash, and the full path of a relative path below it.
    const std::wstring& Root() const { return FRoot; }
    std::wstring Path(std::wstring_view relative) const { return FRoot + std::wstring(relative); }

    // Creates the folder (and any missing folders above it) or the file, then sets its attributes
    // (0 leaves them as created). Returns the full path.
    std::wstring Folder(std::wstring_view relative, DWORD attributes = 0);
    std::wstring File(std::wstring_view relative, std::string_view content = {}, DWORD attributes = 0);
    // A file of the given size (past the written part it is sparse where the file system can be).
    std::wstring SizedFile(std::wstring_view relative, uint64_t size, DWORD attributes = 0);

    // A chain of folders named "d", each in the one before, made below the root as many levels deep as
    // the platform allows, at most levels. Returns the deepest folder, ending in a backslash.
    std::wstring Chain(size_t levels);

    // The attributes of an entry below the root (INVALID_FILE_ATTRIBUTES when it is not there).
    DWORD Attributes(std::wstring_view relative) const;
    bool Exists(std::wstring_view relative) const { return Attributes(relative) != INVALID_FILE_ATTRIBUTES; }

    // A directory link at relative that points at target (a full path). False where the platform
    // cannot make one.
    bool Link(std::wstring_view relative, const std::wstring& target);
    // Removes the link at relative (never what it points at).
    bool Unlink(std::wstring_view relative);

private:
    std::wstring FRoot;
};

// Sets the attributes of a path of any length, failing the test when it cannot.
void SetAttributes(const std::wstring& path, DWORD attributes);
