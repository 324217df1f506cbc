#pragma once
// Starts a command line the way the shell's "run" does (normal window, no waiting). Everything the
// program starts goes through one replaceable starter, so tests can see the command lines without
// opening a browser.
#include <functional>
#include <string>

using TCommandStarter = std::function<bool(const std::wstring& commandLine)>;

// Starts commandLine; false when it could not be started.
bool StartCommand(const std::wstring& commandLine);

// Puts starter in place of the real one (an empty starter puts the real one back); returns the
// previous starter.
TCommandStarter SetCommandStarter(TCommandStarter starter);
