#include "ui/ShellTreeView.h"

#include "ControlsFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring LastPart(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

bool SameText(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// A folder in the temp folder holding a plain folder (with a folder inside), a hidden folder and a file.
class TTreeFolder {
public:
    TTreeFolder() {
        wchar_t temp[MAX_PATH] = {}, longTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        GetLongPathNameW(temp, longTemp, MAX_PATH);
        FPath = std::wstring(longTemp) + L"clarivo-tree-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(FPath.c_str(), nullptr);
        CreateDirectoryW(Sub(L"Plain").c_str(), nullptr);
        CreateDirectoryW(Sub(L"Plain\\Inner").c_str(), nullptr);
        CreateDirectoryW(Sub(L"Hidden").c_str(), nullptr);
        SetFileAttributesW(Sub(L"Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        HANDLE file = CreateFileW(Sub(L"file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    ~TTreeFolder() { Remove(FPath); }
    TTreeFolder(const TTreeFolder&) = delete;
    TTreeFolder& operator=(const TTreeFolder&) = delete;

    const std::wstring& Path() const { return FPath; }
    std::wstring Sub(const std::wstring& name) const { return FPath + L"\\" + name; }

private:
    static void Remove(const std::wstring& path) {
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring full = path + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(full);
                else DeleteFileW(full.c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring FPath;
};

class ShellTreeViewTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        ASSERT_TRUE(GetFileAttributesW(FFolder.Sub(L"Hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
        FTree = Place(new TShellTreeView(FForm), 8, 8, 300, 440);
    }

    HTREEITEM Child(HTREEITEM node, const std::wstring& name) {
        for (HTREEITEM child : FTree->Children(node))
            if (SameText(LastPart(FTree->NodePath(child)), name)) return child;
        return nullptr;
    }

    std::vector<std::wstring> ChildNames(HTREEITEM node) {
        std::vector<std::wstring> names;
        for (HTREEITEM child : FTree->Children(node)) names.push_back(LastPart(FTree->NodePath(child)));
        std::sort(names.begin(), names.end());
        return names;
    }

    POINT LabelPoint(HTREEITEM node) {
        RECT rect{};
        TreeView_GetItemRect(FTree->WindowHandle(), node, &rect, TRUE);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    TTreeFolder FFolder;
    TShellTreeView* FTree = nullptr;
};

constexpr const wchar_t* MyComputerPath = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

TEST_F(ShellTreeViewTest, StartsAtMyComputerExpandedAndSelected) {
    HTREEITEM root = FTree->RootNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(FTree->Selected(), root);
    EXPECT_TRUE(FTree->Expanded(root));
    EXPECT_FALSE(FTree->NodeText(root).empty());
    EXPECT_TRUE(SameText(FTree->Path(), MyComputerPath)) << FTree->Path();
    // No button or line at the root level, the selection shown without the focus, indent 19.
    LONG_PTR style = GetWindowLongPtrW(FTree->WindowHandle(), GWL_STYLE);
    EXPECT_EQ(style & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
              TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS);
    EXPECT_EQ(TreeView_GetIndent(FTree->WindowHandle()), 19u);
}

TEST_F(ShellTreeViewTest, PathOfADriveEndsInABackslash) {
    HTREEITEM drive = nullptr;
    for (HTREEITEM child : FTree->Children(FTree->RootNode()))
        if (SameText(FTree->NodePath(child), L"C:\\")) drive = child;
    ASSERT_TRUE(drive);
    FTree->Select(drive);
    EXPECT_EQ(FTree->Path(), L"C:\\");
}

TEST_F(ShellTreeViewTest, PathOfAFolderIsItsFullPath) {
    ASSERT_TRUE(FTree->SetPath(FFolder.Sub(L"Plain\\Inner")));
    EXPECT_TRUE(SameText(FTree->Path(), FFolder.Sub(L"Plain\\Inner"))) << FTree->Path();
    EXPECT_FALSE(FTree->SetPath(FFolder.Sub(L"NoSuchFolder")));
}

TEST_F(ShellTreeViewTest, NothingSelectedGivesAnEmptyPath) {
    FTree->Select(nullptr);
    EXPECT_EQ(FTree->Path(), L"");
}

struct TObjectTypesCase {
    TShellObjectTypes Types;
    std::vector<std::wstring> Children;  // in name order
};

class ShellTreeViewObjectTypesTest : public ShellTreeViewTest, public ::testing::WithParamInterface<TObjectTypesCase> {};

TEST_P(ShellTreeViewObjectTypesTest, ListsWhatTheTypesAskFor) {
    const TObjectTypesCase& c = GetParam();
    ASSERT_TRUE(FTree->SetPath(FFolder.Path()));  // the rebuild below must drop this
    FTree->SetObjectTypes(c.Types);
    EXPECT_EQ(FTree->Selected(), FTree->RootNode());
    EXPECT_TRUE(FTree->Expanded(FTree->RootNode()));
    ASSERT_TRUE(FTree->SetPath(FFolder.Path()));
    FTree->Expand(FTree->Selected());
    EXPECT_EQ(ChildNames(FTree->Selected()), c.Children);
}

constexpr TShellObjectTypes Folders = ShellObjectBit(otFolders);
constexpr TShellObjectTypes Files = ShellObjectBit(otNonFolders);
constexpr TShellObjectTypes Hidden = ShellObjectBit(otHidden);

INSTANTIATE_TEST_SUITE_P(
    Sets, ShellTreeViewObjectTypesTest,
    ::testing::Values(TObjectTypesCase{Folders, {L"Plain"}},
                      TObjectTypesCase{Folders | Hidden, {L"Hidden", L"Plain"}},
                      TObjectTypesCase{Folders | Files, {L"Plain", L"file.txt"}},
                      TObjectTypesCase{Folders | Files | Hidden, {L"Hidden", L"Plain", L"file.txt"}}));

TEST_F(ShellTreeViewTest, RefreshReadsTheChildrenAgainAndKeepsExpansionSelectionAndScrolling) {
    FTree->SetHeight(80);  // short enough to scroll
    ASSERT_TRUE(FTree->SetPath(FFolder.Sub(L"Plain\\Inner")));
    HTREEITEM folder = FTree->Selected();
    folder = TreeView_GetParent(FTree->WindowHandle(), TreeView_GetParent(FTree->WindowHandle(), folder));
    ASSERT_TRUE(SameText(FTree->NodePath(folder), FFolder.Path()));
    ASSERT_TRUE(CreateDirectoryW(FFolder.Sub(L"Added").c_str(), nullptr));
    HWND wnd = FTree->WindowHandle();
    TreeView_SelectSetFirstVisible(wnd, Child(folder, L"Plain"));  // a node the refresh makes anew
    ASSERT_EQ(TreeView_GetFirstVisible(wnd), Child(folder, L"Plain"));

    FTree->Refresh(folder);
    EXPECT_EQ(TreeView_GetFirstVisible(wnd), Child(folder, L"Plain"));
    EXPECT_EQ(ChildNames(folder), (std::vector<std::wstring>{L"Added", L"Hidden", L"Plain"}));
    EXPECT_TRUE(FTree->Expanded(Child(folder, L"Plain")));
    EXPECT_TRUE(SameText(FTree->Path(), FFolder.Sub(L"Plain\\Inner"))) << FTree->Path();
}

TEST_F(ShellTreeViewTest, AutoRefreshShowsAFolderMadeInTheSelectedFolder) {
    FTree->SetAutoRefresh(true);
    ASSERT_TRUE(FTree->SetPath(FFolder.Path()));
    HTREEITEM folder = FTree->Selected();
    FTree->Expand(folder);
    ASSERT_TRUE(CreateDirectoryW(FFolder.Sub(L"Made").c_str(), nullptr));
    EXPECT_TRUE(WaitFor([&] { return Child(FTree->Selected(), L"Made") != nullptr; }));
    EXPECT_TRUE(SameText(FTree->Path(), FFolder.Path()));
}

TEST_F(ShellTreeViewTest, AClickSelectsBeforeOnClickAndARightClickSelects) {
    ASSERT_TRUE(FTree->SetPath(FFolder.Path()));
    HTREEITEM folder = FTree->Selected();
    FTree->Expand(folder);
    std::wstring clickedPath;
    FTree->OnClick = [this, &clickedPath](TObject*) { clickedPath = FTree->Path(); };

    Click(FTree->WindowHandle(), LabelPoint(Child(folder, L"Plain")));
    EXPECT_TRUE(SameText(clickedPath, FFolder.Sub(L"Plain"))) << clickedPath;

    Click(FTree->WindowHandle(), LabelPoint(Child(folder, L"Hidden")), WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(FTree->Selected(), Child(folder, L"Hidden"));
}

}  // namespace
