#pragma once
// What Clarivo is told on its command line:
//
//   Clarivo.exe [folder] [/files] [/find]
//
// folder: the folder to select in the tree at start (relative to the current folder, or absolute);
// /files: look for hidden files ("File Only") rather than hidden folders;
// /find:  start the search at once.
// Switches may also be written with "-" and in any case, in any order.
#include <string>
#include <vector>

struct TStartOptions {
    std::wstring Folder;  // as given, empty when none
    bool Files = false;
    bool Find = false;
    std::vector<std::wstring> Unknown;  // arguments that mean nothing here (a second folder among them)
};

// The arguments after the program's own name.
TStartOptions ParseStartOptions(const std::vector<std::wstring>& arguments);

// The arguments of this process's command line, after the program's name, split as the system splits
// them (quotes group, backslashes before a quote escape it).
std::vector<std::wstring> ProcessArguments();
