#include "app/Launcher.h"

#include "base/WinHandle.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace {

bool StartProcess(const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    return true;
}

TCommandStarter& Starter() {
    static TCommandStarter starter;
    return starter;
}

}  // namespace

bool StartCommand(const std::wstring& commandLine) {
    return Starter() ? Starter()(commandLine) : StartProcess(commandLine);
}

TCommandStarter SetCommandStarter(TCommandStarter starter) { return std::exchange(Starter(), std::move(starter)); }
