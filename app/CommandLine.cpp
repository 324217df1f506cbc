#include "app/CommandLine.h"

#include "base/StrUtils.h"

#include <windows.h>

#include <utility>

TStartOptions ParseStartOptions(const std::vector<std::wstring>& arguments) {
    TStartOptions options;
    for (const std::wstring& argument : arguments) {
        const bool isSwitch = argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
        if (isSwitch && SameTextAscii(std::wstring_view(argument).substr(1), L"files"))
            options.Files = true;
        else if (isSwitch && SameTextAscii(std::wstring_view(argument).substr(1), L"find"))
            options.Find = true;
        else if (!isSwitch && options.Folder.empty() && !argument.empty())
            options.Folder = argument;
        else
            options.Unknown.push_back(argument);
    }
    return options;
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    const auto isBlank = [](wchar_t ch) { return ch == L' ' || ch == L'\t'; };
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        at = commandLine.find(L'"', 1);
        at = at == std::wstring_view::npos ? commandLine.size() : at + 1;
    } else {
        while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
    }
    std::vector<std::wstring> arguments;
    bool inArgument = false, quoted = false;
    for (; at < commandLine.size(); ++at) {
        const wchar_t ch = commandLine[at];
        if (ch == L'"') {
            quoted = !quoted;
        } else if (isBlank(ch) && !quoted) {
            inArgument = false;
            continue;
        }
        if (!std::exchange(inArgument, true)) arguments.emplace_back();
        if (ch != L'"') arguments.back() += ch;
    }
    return arguments;
}

std::vector<std::wstring> ProcessArguments() { return SplitCommandLine(GetCommandLineW()); }
