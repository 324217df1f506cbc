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
#include <string_view>
#include <vector>

struct TStartOptions {
    std::wstring Folder;  // as given, empty when none
    bool Files = false;
    bool Find = false;
    std::vector<std::wstring> Unknown;  // arguments that mean nothing here (a second folder among them)
};

// The arguments after the program's own name.
TStartOptions ParseStartOptions(const std::vector<std::wstring>& arguments);

// The arguments of a whole command line, after the program's name. Split for this program, not by the
// system's rule, under which backslashes before a quote escape it, so that "E:\" /find would arrive as
// the one argument E:" /find. A file name never holds a quote, so here a quote always opens or closes a
// quoted part and backslashes are always themselves: spaces and tabs outside quotes separate arguments,
// and quoted parts join the text next to them (C:\"My Files"\x is C:\My Files\x; "" is an empty
// argument). The program's name is passed over as the system does: a quoted one up to the next quote,
// else up to the first space or tab.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The arguments of this process's command line, split as above.
std::vector<std::wstring> ProcessArguments();
