#include "app/Launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace {

// The shell finds the handler for the address itself; nothing is looked up by a bare program name, so
// no program of that name in the current or the program's folder can stand in for it.
bool OpenWithShell(const std::wstring& target) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

TShellOpener& Opener() {
    static TShellOpener opener;
    return opener;
}

}  // namespace

bool ShellOpen(const std::wstring& target) { return Opener() ? Opener()(target) : OpenWithShell(target); }

TShellOpener SetShellOpener(TShellOpener opener) { return std::exchange(Opener(), std::move(opener)); }
