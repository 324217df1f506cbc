#include "app/Launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace {

// The shell finds the handler for the address itself; nothing is looked up by a bare program name, so
// no program of that name in the current or the program's folder can stand in for it.
bool RunWithShell(const TShellRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    // The property sheet is one of the object's shell verbs, reached through its item rather than a
    // program registered for its type.
    if (request.Verb == L"properties") info.fMask |= SEE_MASK_INVOKEIDLIST;
    info.lpVerb = request.Verb.c_str();
    info.lpFile = request.File.c_str();
    info.lpParameters = request.Parameters.empty() ? nullptr : request.Parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

TShellOpener& Opener() {
    static TShellOpener opener;
    return opener;
}

bool Run(const TShellRequest& request) { return Opener() ? Opener()(request) : RunWithShell(request); }

// Explorer by its full path in the Windows folder, for the same reason.
std::wstring ExplorerPath() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return (length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring(L"C:\\Windows")) +
           L"\\explorer.exe";
}

}  // namespace

bool ShellOpen(const std::wstring& target) { return Run({L"open", target, {}}); }

bool ShowInFolder(const std::wstring& path) { return Run({L"open", ExplorerPath(), L"/select,\"" + path + L"\""}); }

bool ShowProperties(const std::wstring& path) { return Run({L"properties", path, {}}); }

TShellOpener SetShellOpener(TShellOpener opener) { return std::exchange(Opener(), std::move(opener)); }
