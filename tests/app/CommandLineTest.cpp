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

}  // namespace
