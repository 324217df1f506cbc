#pragma once
// What the program asks the shell to do: open a document or web address, show an object in an Explorer
// window, show an object's property sheet. Everything goes through one replaceable opener, so tests
// can see exactly what would be started without starting anything.
#include <functional>
#include <string>

struct TShellRequest {
    std::wstring Verb;        // "open", "properties"
    std::wstring File;        // a document, web address, program or object: a full path or an address
    std::wstring Parameters;  // for a program
    bool operator==(const TShellRequest&) const = default;
};

using TShellOpener = std::function<bool(const TShellRequest& request)>;

// Opens target (a web address, or a full path) with the program the user chose for it; false when it
// could not be opened.
bool ShellOpen(const std::wstring& target);

// Opens an Explorer window on the folder that holds path, with that object selected.
bool ShowInFolder(const std::wstring& path);

// The shell's property sheet of the object at path.
bool ShowProperties(const std::wstring& path);

// Puts opener in place of the real one (an empty opener puts the real one back); returns the previous.
TShellOpener SetShellOpener(TShellOpener opener);
