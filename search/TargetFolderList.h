#pragma once
// The folders a prepared search walks, in the order they were first named, and its exclusions.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct TTargetFolder {
    std::wstring Path;                    // absolute, ending in a backslash (or a colon)
    bool Subfolders = false;
    std::vector<std::wstring> FileMasks;  // tried from the last to the first
    uint16_t MinLevel = 0;
    uint16_t MaxLevel = 0;
};

class TTargetFolderList {
public:
    // The folder for path (made absolute; a mapped drive by its network name), added if new. Folders
    // are told apart ignoring case. An empty path stands for the current folder.
    TTargetFolder& AddFolder(const std::wstring& path);

    // Oldest first; references stay valid while folders are added.
    const std::deque<TTargetFolder>& Folders() const { return FFolders; }

    std::vector<std::wstring> ExcludedFiles;
    bool IsExcluded(const std::wstring& folder, const std::wstring& name) const;

private:
    std::deque<TTargetFolder> FFolders;
};

// The absolute form of path, with a mapped network drive replaced by its network (UNC) name.
std::wstring ExpandFolderPath(const std::wstring& path);
