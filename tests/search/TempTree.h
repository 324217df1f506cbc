#pragma once
// A folder tree built for one test in the temporary folder and removed with everything in it (long
// paths, read-only and hidden entries, links) when the object goes.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class TTempTree {
public:
    TTempTree();
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

    // A directory link at relative that points at target (a full path). False where the platform
    // cannot make one.
    bool Link(std::wstring_view relative, const std::wstring& target);

private:
    std::wstring FRoot;
};

// Sets the attributes of a path of any length, failing the test when it cannot.
void SetAttributes(const std::wstring& path, DWORD attributes);
