// The real Clarivo.exe, started as its own process and used from outside as a person would: choose a
// folder in the tree, press "Find" in both modes, read the list and the status line, close the window.
#include "ClarivoProcess.h"

#include "base/StrUtils.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

using TRows = std::vector<std::vector<std::wstring>>;

// Polls check() every 50 ms until it holds or timeoutMs have passed; says whether it held.
template <typename Check>
bool PollUntil(Check check, DWORD timeoutMs) {
    for (const ULONGLONG end = GetTickCount64() + timeoutMs;; Sleep(50)) {
        if (check()) return true;
        if (GetTickCount64() > end) return false;
    }
}

// Where the build puts the program, relative to this test's executable.
std::wstring ProgramPath() {
    wchar_t self[MAX_PATH];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + Utf8ToWide(CLARIVO_EXE_FROM_TEST);
    wchar_t full[MAX_PATH];
    return std::wstring(full, GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr));
}

// The root of the system drive: a fixture there is two steps from the tree's root (drive, folder).
std::wstring SystemDriveRoot() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, 2) + L"\\";
}

// A last-write time on an even second (the listing keeps two-second steps), in local time.
SYSTEMTIME SampleTime() {
    SYSTEMTIME time{};
    time.wYear = 2021;
    time.wMonth = 11;
    time.wDay = 23;
    time.wHour = 14;
    time.wMinute = 35;
    time.wSecond = 52;
    return time;
}

void SetModified(const std::wstring& path, const SYSTEMTIME& localTime) {
    FILETIME local, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&localTime, &local) && LocalFileTimeToFileTime(&local, &utc));
    const UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &utc));
}

// What the Modified column shows for that time under the user's date and time formats.
std::wstring ModifiedAsShown(const SYSTEMTIME& time) {
    wchar_t date[128], clock[128];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 128);
    return std::wstring(date) + L" " + clock;
}

struct TFinishLine {
    int Folders = -1, Files = -1;
};

// The counts of a finish line, or nothing when the text is no finish line.
std::optional<TFinishLine> ParseFinishLine(const std::wstring& text) {
    static const std::wregex pattern(LR"(^(\d+) folder\(s\) searched and (\d+) file\(s\) found - \d+[.,]\d{3} second\(s\)$)");
    std::wsmatch match;
    if (!std::regex_match(text, match, pattern)) return std::nullopt;
    return TFinishLine{std::stoi(match[1].str()), std::stoi(match[2].str())};
}

// The "Find" glyph button has no window of its own: it is clicked on the form, in its middle.
constexpr POINT FindButtonCentre{215 + 90 / 2, 24 + 52 / 2};
constexpr DWORD SearchTimeoutMs = 60000;

// Presses "Find" and waits for the finish line that ends this search (not the one still showing from
// before), then for the list to show every row that line counts. Returns the line's counts.
TFinishLine FindAndWait(TClarivoProcess& app) {
    const std::wstring before = app.StatusText();
    app.ClickAt(app.Form(), FindButtonCentre);
    std::wstring line;
    std::optional<TFinishLine> counts;
    const bool finished = PollUntil([&] { return (line = app.StatusText()) != before && (counts = ParseFinishLine(line)); },
                                    SearchTimeoutMs);
    if (!finished)
        throw std::runtime_error("no new finish line after pressing Find; the status line shows \"" + WideToUtf8(line) +
                                 "\" (before: \"" + WideToUtf8(before) + "\")");
    if (!PollUntil([&] { return app.RowCount() == counts->Files; }, 5000))
        throw std::runtime_error(Format("the finish line counts %d rows but the list shows %d", counts->Files, app.RowCount()));
    return *counts;
}

HTREEITEM ChildWhere(TClarivoProcess& app, HTREEITEM parent, const std::function<bool(const std::wstring&)>& wanted,
                     const std::string& what) {
    std::string seen;
    for (HTREEITEM child : app.Children(parent)) {
        const std::wstring text = app.NodeText(child);
        if (wanted(text)) return child;
        seen += " \"" + WideToUtf8(text) + "\"";
    }
    throw std::runtime_error("the tree has no node " + what + "; it shows:" + seen);
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// Opens the fixture's drive in the tree and clicks the fixture's folder: the tree selects it and the edit
// shows its path.
void ChooseFolderInTree(TClarivoProcess& app, const std::wstring& root) {
    const std::wstring folderName = WithoutTrailingBackslash(root).substr(3);
    const wchar_t drive[] = {L'(', root[0], L':', L')', 0};
    HTREEITEM driveNode = ChildWhere(app, app.TreeRoot(), [&](const std::wstring& text) { return text.find(drive) != std::wstring::npos; },
                                     "for drive " + WideToUtf8(drive));
    HTREEITEM folderNode = ChildWhere(app, driveNode, [&](const std::wstring& text) { return text == folderName; },
                                      Format("named \"%s\"", WideToUtf8(folderName).c_str()));
    app.ClickNode(folderNode);
    const HWND pathEdit = app.Child(L"Edit");
    EXPECT_TRUE(PollUntil([&] { return app.WindowText(pathEdit) == WithoutTrailingBackslash(root); }, 10000))
        << "the edit shows \"" << WideToUtf8(app.WindowText(pathEdit)) << "\"";
    EXPECT_EQ(app.SelectedNode(), folderNode);
}

TEST(ClarivoProgram, FindsHiddenFoldersAndFilesOfAFolderChosenInTheTreeAndEndsOnClose) {
    // Hidden system folders and files, with look-alikes that must not match, three levels deep.
    TTempTree fx(SystemDriveRoot());
    fx.Folder(L"Zeta", HiddenSystem);
    fx.Folder(L"Zeta\\nested", HiddenSystem);
    fx.Folder(L"plain");
    fx.Folder(L"plain\\only-hidden", FILE_ATTRIBUTE_HIDDEN);
    fx.SizedFile(L"alpha.sys", 0, FILE_ATTRIBUTE_ARCHIVE | HiddenSystem);
    fx.SizedFile(L"plain\\Beta.dat", 1025, FILE_ATTRIBUTE_ARCHIVE | HiddenSystem);
    fx.SizedFile(L"Zeta\\nested\\\u0436\u0451\u043B\u0442\u044B\u0439.txt", 5000, FILE_ATTRIBUTE_ARCHIVE | HiddenSystem);
    fx.SizedFile(L"readme.txt", 10, FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"plain\\hidden-only.txt", 10, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    const SYSTEMTIME time = SampleTime();
    for (const wchar_t* entry : {L"Zeta", L"Zeta\\nested", L"alpha.sys", L"plain\\Beta.dat",
                                 L"Zeta\\nested\\\u0436\u0451\u043B\u0442\u044B\u0439.txt"})
        SetModified(fx.Path(entry), time);
    // Set after the entries inside them: adding an entry touches the folder.
    const std::wstring modified = ModifiedAsShown(time);
    const std::wstring root = fx.Root();
    if (HasFailure()) return;

    TClarivoProcess app(ProgramPath());
    EXPECT_EQ(app.StatusText().rfind(L"0 folder(s) searched and 0 file(s) found - 0", 0), 0u) << WideToUtf8(app.StatusText());
    EXPECT_EQ(app.RowCount(), 0);

    ChooseFolderInTree(app, root);

    // "Folder Only" (as the window starts): both hidden system folders, in name order; every folder
    // below the chosen one is visited.
    const TFinishLine folders = FindAndWait(app);
    EXPECT_EQ(folders.Folders, 5);
    EXPECT_EQ(folders.Files, 2);
    EXPECT_EQ(app.Rows(4), (TRows{{L"nested", root + L"Zeta\\", L"Folder", modified},
                                  {L"Zeta", root, L"Folder", modified}}));

    // "File Only": the earlier rows go; the three hidden system files come with their sizes in KB.
    const HWND fileOnly = app.Child(L"Button", L"File Only");
    app.ClickAt(fileOnly, {5, 8});
    EXPECT_TRUE(PollUntil([&] { return SendMessageW(fileOnly, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000));
    const TFinishLine files = FindAndWait(app);
    EXPECT_EQ(files.Folders, 5);
    EXPECT_EQ(files.Files, 3);
    EXPECT_EQ(app.Rows(4), (TRows{{L"alpha.sys", root, L"0KB", modified},
                                  {L"Beta.dat", root + L"plain\\", L"2KB", modified},
                                  {L"\u0436\u0451\u043B\u0442\u044B\u0439.txt", root + L"Zeta\\nested\\", L"5KB", modified}}));

    // Closing ends the program, which starts the browser with its maker's page on the way out (the job
    // ends that when the test is done with it).
    ASSERT_TRUE(app.CloseAndWait(30000)) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_GE(app.ProcessesStarted(), 2u) << "closing started no browser";
}

// The command line: a folder selected in the tree at start, "File Only" with /files, the search started
// with /find; a folder that is not there is said so, and the program then starts as usual.
TEST(ClarivoProgram, TheCommandLineChoosesTheFolderTheKindAndStartsTheSearch) {
    TTempTree fx(SystemDriveRoot());
    const std::wstring folder = fx.Folder(L"\u0444\u0430\u0439\u043b \u6587 dir");
    fx.Folder(L"\u0444\u0430\u0439\u043b \u6587 dir\\hidden-folder", HiddenSystem);
    fx.SizedFile(L"\u0444\u0430\u0439\u043b \u6587 dir\\hidden-file.bin", 10, FILE_ATTRIBUTE_ARCHIVE | HiddenSystem);
    fx.SizedFile(L"outside.bin", 10, FILE_ATTRIBUTE_ARCHIVE | HiddenSystem);
    const std::wstring quoted = L"\"" + folder + L"\"";
    const std::wstring missing = fx.Path(L"not there");
    const std::wstring startLine = L"0 folder(s) searched and 0 file(s) found - 0";
    // A relative folder is taken from the program's current folder, which it has from this test (and
    // which is set back before the fixture goes, whatever happens: a current folder cannot be removed).
    struct TCurrentFolder {
        wchar_t Previous[MAX_PATH] = {};
        explicit TCurrentFolder(const std::wstring& folder) {
            GetCurrentDirectoryW(MAX_PATH, Previous);
            SetCurrentDirectoryW(folder.c_str());
        }
        ~TCurrentFolder() { SetCurrentDirectoryW(Previous); }
    } current(fx.Root());

    struct Case {
        std::wstring Arguments;
        std::wstring Message;        // the start of the message box shown, or empty for none
        std::wstring Edit;           // what the path field shows
        bool Files;                  // "File Only" picked
        std::vector<std::wstring> Found;  // the rows' names once the search ended; none when no search ran
    } cases[] = {
        {quoted + L" /files /find", L"", folder, true, {L"hidden-file.bin"}},
        {L"/FIND " + quoted, L"", folder, false, {L"hidden-folder"}},
        {quoted, L"", folder, false, {}},
        {L"-files \"\u0444\u0430\u0439\u043b \u6587 dir\" -find", L"", folder, true, {L"hidden-file.bin"}},
        {quoted + L" /bogus", L"Clarivo does not know these command line arguments and leaves them: \"/bogus\"", folder,
         false, {}},
        {L"\"" + missing + L"\" /files /find",
         L"The folder \"" + missing + L"\" given on the command line does not exist", L"My Computer", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.Arguments));
        TClarivoProcess app(ProgramPath(), c.Arguments);
        if (!c.Message.empty()) {
            const std::wstring said = app.AnswerMessageBox(20000);
            EXPECT_EQ(said.rfind(c.Message, 0), 0u) << WideToUtf8(said);
        }
        const HWND pathEdit = app.Child(L"Edit");
        EXPECT_TRUE(PollUntil([&] { return app.WindowText(pathEdit) == c.Edit; }, 10000))
            << "the path field shows \"" << WideToUtf8(app.WindowText(pathEdit)) << "\"";
        EXPECT_EQ(SendMessageW(app.Child(L"Button", L"File Only"), BM_GETCHECK, 0, 0) == BST_CHECKED, c.Files);
        if (c.Found.empty()) {
            Sleep(500);  // a search, had one started, would show by now
            EXPECT_EQ(app.StatusText().rfind(startLine, 0), 0u) << "no search: " << WideToUtf8(app.StatusText());
            EXPECT_EQ(app.RowCount(), 0);
        } else {
            std::optional<TFinishLine> counts;
            EXPECT_TRUE(PollUntil([&] { return (counts = ParseFinishLine(app.StatusText())) && counts->Folders > 0; },
                                  SearchTimeoutMs))
                << WideToUtf8(app.StatusText());
            EXPECT_TRUE(PollUntil([&] { return app.RowCount() == static_cast<int>(c.Found.size()); }, 5000));
            std::vector<std::wstring> names;
            for (const auto& row : app.Rows(1)) names.push_back(row[0]);
            EXPECT_EQ(names, c.Found);
        }
        EXPECT_FALSE(app.ShowsMessageBox());
        ASSERT_TRUE(app.CloseAndWait(30000));
        EXPECT_EQ(app.ExitCode(), 0u);
    }
}

TEST(ClarivoProgram, ClosingTheWindowDuringASearchEndsTheProgram) {
    // Thousands of folders: walking them takes seconds under Wine, far longer than the close takes to arrive.
    TTempTree fx(SystemDriveRoot());
    for (int i = 0; i < 80; ++i)
        for (int j = 0; j < 80; ++j) fx.Folder(L"d" + std::to_wstring(i) + L"\\e" + std::to_wstring(j));
    const std::wstring root = fx.Root();

    TClarivoProcess app(ProgramPath());
    ChooseFolderInTree(app, root);
    if (HasFailure()) return;
    // While the walk runs the status line shows the folder it is in.
    app.ClickAt(app.Form(), FindButtonCentre);
    std::wstring line;
    ASSERT_TRUE(PollUntil([&] { return (line = app.StatusText()).rfind(root, 0) == 0; }, SearchTimeoutMs))
        << "the search did not start; the status line shows \"" << WideToUtf8(line) << "\"";

    ASSERT_TRUE(app.CloseAndWait(20000)) << "the program did not end after WM_CLOSE during a search";
    EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace
