#include "app/CommandLine.h"

#include "base/StrUtils.h"
#include "base/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

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

std::vector<std::wstring> ProcessArguments() {
    using UniqueArgv = UniqueHandle<NullHandleTraits<LPWSTR*, LocalFree>>;
    int count = 0;
    const UniqueArgv argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> arguments;
    for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv.get()[i]);
    return arguments;
}
