#pragma once
// The walk benchmark's generated tree and the raw walk it is measured against, shared with the other
// benchmarks that search the same kind of tree.
#include <windows.h>

#include <string>

// Top folders, each with Middle folders, each with Leaves folders of FilesPerLeaf files. Every 100th
// folder is hidden and system; every HiddenFileEvery-th file is archive, hidden and system (the
// window's "File Only" match).
struct TTreeShape {
    int Top = 20, Middle = 20, Leaves = 50, FilesPerLeaf = 10;
    int HiddenFileEvery = 100;
};

// Makes the tree below root (ending in a backslash) and marks it complete.
void GenerateTree(const std::wstring& root, const TTreeShape& shape = {});

struct TWalkCounts {
    long Folders = 0, Matches = 0;
};

// The platform's limit: every folder listed once, attributes taken from the listing. Matches counts the
// entries "File Only" accepts.
void RawWalk(const std::wstring& folder, TWalkCounts& counts);
