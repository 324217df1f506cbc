// The command line's arguments, as the program reads them.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SwitchesInAnyCaseAndOrderAroundOneFolder) {
    struct Case {
        std::vector<std::wstring> Arguments;
        std::wstring Folder;
        bool Files, Find;
        std::vector<std::wstring> Unknown;
    } cases[] = {
        {{}, L"", false, false, {}},
        {{L"C:\\data"}, L"C:\\data", false, false, {}},
        {{L"/files", L"C:\\a b\\\u6587", L"/find"}, L"C:\\a b\\\u6587", true, true, {}},
        {{L"-FIND", L"-Files"}, L"", true, true, {}},
        {{L"sub\\dir", L"/find"}, L"sub\\dir", false, true, {}},
        {{L"C:\\one", L"C:\\two", L"/x", L"/", L""}, L"C:\\one", false, false, {L"C:\\two", L"/x", L"/", L""}},
        {{L"/findall"}, L"", false, false, {L"/findall"}},
    };
    for (const Case& c : cases) {
        const TStartOptions options = ParseStartOptions(c.Arguments);
        EXPECT_EQ(options.Folder, c.Folder);
        EXPECT_EQ(options.Files, c.Files);
        EXPECT_EQ(options.Find, c.Find);
        EXPECT_EQ(options.Unknown, c.Unknown);
    }
}

// Whole command lines as the system hands them over, program name first.
TEST(CommandLine, SplitKeepsBackslashesAndLetsQuotesOnlyGroup) {
    const struct Case {
        std::wstring_view Line;
        std::vector<std::wstring> Arguments;
    } cases[] = {
        {LR"(Clarivo.exe "E:\" /find)", {LR"(E:\)", L"/find"}},
        {LR"("C:\Program Files\Clarivo\Clarivo.exe" "C:\My Folder\" /files /find)", {LR"(C:\My Folder\)", L"/files", L"/find"}},
        {LR"(Clarivo.exe C:\plain /find)", {LR"(C:\plain)", L"/find"}},
        {LR"(Clarivo.exe "C:\a b")", {LR"(C:\a b)"}},
        {LR"(Clarivo.exe -FIND "D:\x y\")", {L"-FIND", LR"(D:\x y\)"}},
        {LR"(Clarivo.exe \\server\share\ \\?\C:\x\\)", {LR"(\\server\share\)", LR"(\\?\C:\x\\)"}},
        {L"", {}},
        {L"Clarivo.exe", {}},
        {L"Clarivo.exe   \t ", {}},
        {L"  \t ", {}},
        {L"Clarivo.exe\t\"C:\\a\tb\\\"\t/find\t", {L"C:\\a\tb\\", L"/find"}},
        {LR"(Clarivo.exe C:\"My Files"\x)", {LR"(C:\My Files\x)"}},
        {LR"(Clarivo.exe a"b c"d e "" "f)", {L"ab cd", L"e", L"", L"f"}},
        // The program's name: a quoted one ends at its closing quote, an unquoted one at the first
        // space or tab, a quote in it included.
        {LR"("C:\x y\Clarivo.exe"/find "E:\")", {L"/find", LR"(E:\)"}},
        {LR"(C:\x\Clarivo.exe" a" b)", {L"a b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.Line), c.Arguments) << std::wstring(c.Line);
}

}  // namespace
