#pragma once
// Opens a document or web address the way the shell's "open" does. Everything the program opens goes
// through one replaceable opener, so tests can see what would be opened without starting a browser.
#include <functional>
#include <string>

using TShellOpener = std::function<bool(const std::wstring& target)>;

// Opens target (a web address, or a full path) with the program the user chose for it; false when it
// could not be opened.
bool ShellOpen(const std::wstring& target);

// Puts opener in place of the real one (an empty opener puts the real one back); returns the previous.
TShellOpener SetShellOpener(TShellOpener opener);
