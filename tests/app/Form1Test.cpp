// Clarivo's real window, built from its description, driven with real clicks and messages.
#include "app/Clipboard.h"
#include "app/Contact.h"
#include "app/Form1.h"
#include "app/Launcher.h"
#include "app/SaveDialog.h"
#include "HandleGrowth.h"
#include "Keys.h"
#include "TempTree.h"
#include "TestFiles.h"
#include "skin/data/SkinData.h"
#include "ui/Animate.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/FormReader.h"
#include "base/FileName.h"
#include "base/StrUtils.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/ShellTreeView.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <vector>

namespace {

struct TBox {
    std::wstring Text, Caption;
    UINT Flags;
};

const std::wstring CountsPrefix = L" folder(s) searched and ";

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        FPreviousBox = SetMessageBoxHandler([this](HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
            boxes.push_back({text, caption, flags});
            if (atBox) atBox(boxes.back());
            if (!answers.empty()) {
                const int next = answers.front();
                answers.erase(answers.begin());
                return next;
            }
            return answer;
        });
        FPreviousOpener = SetShellOpener([this](const TShellRequest& request) {
            opened.push_back(request);
            return true;
        });
        form = new TForm1(nullptr);
        form->Journal().SetPath(FJournalFolder.Path(L"journal.tsv"));  // never the user's
        form->Show();
        Application().ProcessMessages();
    }
    ~MainWindow() override {
        if (form) TCustomForm::Free(form);
        SetMessageBoxHandler(std::move(FPreviousBox));
        SetShellOpener(std::move(FPreviousOpener));
    }

    // A real press and release of the left button in the middle of a glyph button (it has no window:
    // the form's window gets the mouse and hands it on).
    void ClickButton(TSpeedButton* button) {
        PostClick(button);
        Application().ProcessMessages();
        WaitForAction();
    }
    // Serves the window until an action it runs beside itself has ended and reported.
    void WaitForAction() {
        const ULONGLONG giveUp = GetTickCount64() + 60000;
        while (form->Acting() && GetTickCount64() < giveUp) {
            Application().ProcessMessages();
            Sleep(5);
        }
        ASSERT_FALSE(form->Acting()) << "the action did not end within a minute";
    }
    void PostClick(TSpeedButton* button) {
        LPARAM at = MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
        HWND wnd = form->Handle();
        PostMessageW(wnd, WM_MOUSEMOVE, 0, at);
        PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(wnd, WM_LBUTTONUP, 0, at);
    }
    // Handles queued messages up to and including the next button release (ProcessMessages would go on
    // for as long as a running search keeps posting).
    void HandleUntilRelease() {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            const bool release = msg.message == WM_LBUTTONUP;
            Application().ProcessMessage(msg);
            if (release) break;
        }
    }

    // A real click on the selected node of the folder tree.
    void ClickSelectedNode() {
        HWND tree = form->ShellTreeView1->Handle();
        RECT rc{};
        ASSERT_TRUE(TreeView_GetItemRect(tree, form->ShellTreeView1->Selected(), &rc, TRUE));
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(tree, WM_LBUTTONUP, 0, at);
        Application().ProcessMessages();
    }

    void ChooseFolder(const std::wstring& folder) {
        ASSERT_TRUE(form->ShellTreeView1->SetPath(folder)) << "the tree cannot reach the test folder";
    }

    // Waits (serving messages) until the window is idle again after a search.
    void WaitForIdle() {
        for (int i = 0; i < 3000 && !form->FindButton->Enabled(); ++i) {
            Application().ProcessMessages();
            Sleep(10);
        }
        Application().ProcessMessages();
        ASSERT_TRUE(form->FindButton->Enabled()) << "the search did not end";
    }

    void Search(const std::wstring& folder, bool files) {
        ChooseFolder(folder);
        (files ? form->Checkfile : form->RadioButton1)->SetChecked(true);
        ClickButton(form->FindButton);
        WaitForIdle();
    }

    std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        for (int i = 0; i < form->FoundFiles->Count(); ++i) names.push_back(form->FoundFiles->ItemCaption(i));
        return names;
    }
    std::wstring Status() { return form->StatusBar1->SimpleText(); }
    int IndexOf(const std::wstring& name) {
        const std::vector<std::wstring> names = Names();
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }

    // Enough hidden folders (1,600 in 40) that a search of them is still running when the test acts.
    static void MakeLargeTree(TTempTree& fx) {
        for (int i = 0; i < 40; ++i)
            for (int j = 0; j < 40; ++j) fx.Folder(L"d" + std::to_wstring(i) + L"\\e" + std::to_wstring(j), HiddenSystem);
    }

    // Holds the walk on its worker after a few folders until the test lets it go (at the latest when the
    // hold ends) or the search is aborted, so that a test acts on a search that is surely still running.
    class TSearchHold {
    public:
        explicit TSearchHold(TFindFile& search) : FGate(std::make_shared<std::atomic<bool>>(false)) {
            search.OnFolderChange = [next = search.OnFolderChange, gate = FGate, folders = 0](
                                        TFindFile* sender, const std::wstring& folder, TFolderIgnore& ignore) mutable {
                next(sender, folder, ignore);
                if (++folders < 20) return;
                while (!*gate && !sender->Aborted()) Sleep(2);
            };
        }
        ~TSearchHold() { Release(); }
        void Release() { *FGate = true; }

    private:
        std::shared_ptr<std::atomic<bool>> FGate;
    };

    TForm1* form = nullptr;
    std::vector<TBox> boxes;
    std::vector<TShellRequest> opened;
    int answer = IDOK;
    std::vector<int> answers;  // taken first, one per box, before answer
    std::function<void(const TBox&)> atBox;  // what the user does while a box is up

private:
    TTempTree FJournalFolder;  // made before the form, gone after it
    TMessageBoxHandler FPreviousBox;
    TShellOpener FPreviousOpener;
};

TEST_F(MainWindow, StartsIdleWithAnEmptyListAndZeroCounts) {
    EXPECT_EQ(form->ClientWidth(), 949);
    EXPECT_EQ(form->ClientHeight(), 559);
    EXPECT_EQ(form->Caption(), L"Clarivo");
    EXPECT_TRUE(form->FindButton->Enabled());
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_FALSE(form->Animate->Active());
    EXPECT_TRUE(form->FoundFiles->ColumnClick());
    EXPECT_EQ(form->FoundFiles->Count(), 0);
    EXPECT_EQ(Status().rfind(L"0 folder(s) searched and 0 file(s) found - 0.", 0), 0u) << Status();
    EXPECT_EQ(form->Edit1->Text(), L"My Computer");
    EXPECT_FALSE(form->Panel1->Visible());
    EXPECT_FALSE(form->CustomFind->Visible());
    struct Glyph { TSpeedButton* button; int width, height; };
    for (const Glyph& g : {Glyph{form->FindButton, 32, 32}, Glyph{form->SpeedButton2, 17, 19}, Glyph{form->SpeedButton1, 21, 18},
                           Glyph{form->CustomFind, 33, 33}, Glyph{form->SpeedButton3, 32, 32}, Glyph{form->SpeedButton4, 21, 17},
                           Glyph{form->SpeedButton5, 39, 17}}) {
        EXPECT_EQ(g.button->Glyph()->Width(), g.width) << WideToUtf8(g.button->Caption());
        EXPECT_EQ(g.button->Glyph()->Height(), g.height) << WideToUtf8(g.button->Caption());
    }
    ASSERT_NE(form->SkinData1, nullptr);
    EXPECT_FALSE(form->SkinData1->SkinPending) << "the stored skin is loaded while the window is read";
    EXPECT_EQ(form->SkinData1->FaceColor, static_cast<TColor>(RGB(213, 222, 242)));
    EXPECT_EQ(form->SkinData1->DisableTag(), 99);
    ASSERT_EQ(form->FoundFiles->ColumnCount(), 4);
    EXPECT_EQ(form->FoundFiles->Column(1).Caption, L"Location");
    EXPECT_EQ(form->FoundFiles->Column(1).Width, 303);
}

TEST_F(MainWindow, FindsHiddenFoldersInNameOrderAndCountsEveryFolderVisited) {
    TTempTree fx;
    fx.Folder(L"zeta", HiddenSystem);
    fx.Folder(L"zeta\\alpha", HiddenSystem);  // nested: found and walked too
    fx.Folder(L"plain");
    fx.Folder(L"hiddenOnly", FILE_ATTRIBUTE_HIDDEN);  // not system: no exact match
    fx.SizedFile(L"file.bin", 0, HiddenSystem);
    Search(fx.Root(), false);

    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha", L"zeta"}));
    EXPECT_EQ(form->FoundFiles->SubItem(0, 1), fx.Root() + L"zeta\\") << "Location ends in a backslash";
    EXPECT_EQ(form->FoundFiles->SubItem(1, 1), fx.Root());
    EXPECT_EQ(form->FoundFiles->SubItem(0, 2), L"Folder");
    EXPECT_EQ(Status().rfind(L"5" + CountsPrefix + L"2 file(s) found - ", 0), 0u) << Status();
    EXPECT_EQ(form->FolderCount(), 5);
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_TRUE(form->FoundFiles->ColumnClick());
}

TEST_F(MainWindow, FindsHiddenFilesWithTheirSizesAndClearsEarlierRows) {
    TTempTree fx;
    fx.SizedFile(L"b-empty.bin", 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"a-small.bin", 1025, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"c-huge.bin", 5ull << 30, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);  // sparse: takes no space
    fx.SizedFile(L"\u0434\u043e\u043a\u0443\u043c\u0435\u043d\u0442.txt", 1, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"readonly.bin", 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    fx.Folder(L"sub", HiddenSystem);
    fx.SizedFile(L"sub\\\u6587\u4ef6.bin", 2048, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);

    Search(fx.Root(), false);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"sub"}));
    Search(fx.Root(), true);  // "Find" again: the folder row goes first
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a-small.bin", L"b-empty.bin", L"c-huge.bin",
                                                  L"\u0434\u043e\u043a\u0443\u043c\u0435\u043d\u0442.txt",
                                                  L"\u6587\u4ef6.bin"}));
    EXPECT_EQ(form->FoundFiles->SubItem(0, 2), L"2KB");
    EXPECT_EQ(form->FoundFiles->SubItem(1, 2), L"0KB");
    EXPECT_EQ(form->FoundFiles->SubItem(2, 2), L"5242880KB");
    EXPECT_EQ(form->FoundFiles->SubItem(4, 1), fx.Root() + L"sub\\");
    EXPECT_FALSE(form->FoundFiles->SubItem(0, 3).empty()) << "Modified";
    EXPECT_EQ(Status().rfind(L"2" + CountsPrefix + L"5 file(s) found - ", 0), 0u) << Status();
    SetFileAttributesW(fx.Path(L"readonly.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainWindow, StopAbortsTheSearchAndSaysSo) {
    TTempTree fx;
    for (int i = 0; i < 40; ++i) {
        fx.Folder(L"d" + std::to_wstring(i), HiddenSystem);
        for (int j = 0; j < 40; ++j) fx.Folder(L"d" + std::to_wstring(i) + L"\\e" + std::to_wstring(j));
    }
    ChooseFolder(fx.Root());
    TSearchHold hold(*form->FindFile1);
    PostClick(form->FindButton);
    HandleUntilRelease();
    EXPECT_FALSE(form->FindButton->Enabled());
    EXPECT_TRUE(form->StopButton->Enabled());
    EXPECT_TRUE(form->Animate->Active());
    EXPECT_FALSE(form->FoundFiles->ColumnClick()) << "header clicks are off while searching";
    ClickButton(form->StopButton);

    EXPECT_TRUE(form->FindButton->Enabled());
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_FALSE(form->Animate->Active());
    const std::wstring expected = L"Search aborted - " + std::to_wstring(form->FolderCount()) + CountsPrefix +
                                  std::to_wstring(form->FoundFiles->Count()) + L" file(s) found - ";
    EXPECT_EQ(Status().rfind(expected, 0), 0u) << Status();
    EXPECT_LT(form->FolderCount(), 1641) << "stopped before the end";
}

TEST_F(MainWindow, ClosingDuringASearchEndsItWithoutFinishing) {
    TTempTree fx;
    for (int i = 0; i < 30; ++i) {
        fx.Folder(L"d" + std::to_wstring(i));
        for (int j = 0; j < 30; ++j) fx.Folder(L"d" + std::to_wstring(i) + L"\\e" + std::to_wstring(j), HiddenSystem);
    }
    bool finished = false;
    ChooseFolder(fx.Root());
    TSearchHold hold(*form->FindFile1);
    PostClick(form->FindButton);
    HandleUntilRelease();
    form->FindFile1->OnSearchFinish = [&](TFindFile*) { finished = true; };
    TCustomForm::Free(form);
    form = nullptr;
    for (int i = 0; i < 20; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
    EXPECT_FALSE(finished);
}

class RowActions : public MainWindow {
protected:
    // Four hidden files, listed a.txt, b.txt, c.txt, d.txt.
    void SetUpFiles() {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) fx.SizedFile(name, 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
        Search(fx.Root(), true);
        ASSERT_EQ(form->FoundFiles->Count(), 4);
    }
    bool Hidden(const wchar_t* name) { return (fx.Attributes(name) & HiddenSystem) != 0; }
    void ExpectCompleted() {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, L"proposition Complate!");
        EXPECT_EQ(boxes[0].Caption, L"Clarivo");
        EXPECT_EQ(boxes[0].Flags & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_OK)) << "no icon, one OK button";
    }

    TTempTree fx;
};

TEST_F(RowActions, UnhideSelectedDealsWithTheTickedRowsOnly) {
    SetUpFiles();
    form->FoundFiles->SetChecked(0, true);
    form->FoundFiles->SetChecked(2, true);
    ClickButton(form->SpeedButton1);
    ExpectCompleted();
    EXPECT_FALSE(Hidden(L"a.txt"));
    EXPECT_TRUE(Hidden(L"b.txt"));
    EXPECT_FALSE(Hidden(L"c.txt"));
    EXPECT_TRUE(Hidden(L"d.txt"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"b.txt", L"d.txt"}));
    EXPECT_TRUE(fx.Attributes(L"b.txt") & FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(RowActions, UnhideSaysSoWhenThereIsNothingToUnhide) {
    ClickButton(form->SpeedButton2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, L"The list is empty: nothing was unhidden.") << "never \"done\" for nothing";
    boxes.clear();
    ClickButton(form->SpeedButton1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, L"No row is ticked: nothing was unhidden.");
    boxes.clear();
    SetUpFiles();
    ClickButton(form->SpeedButton2);
    ExpectCompleted();
    EXPECT_EQ(form->FoundFiles->Count(), 0);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) EXPECT_FALSE(Hidden(name)) << name;
}

// Ctrl+Z, from the list or the tree, hides again what the last unhide showed, names what it had to leave,
// and says so; a second Ctrl+Z finds nothing more to undo. In a text field Ctrl+Z stays the field's own.
TEST_F(RowActions, CtrlZPutsBackTheLastUnhide) {
    SetUpFiles();
    form->FoundFiles->SetChecked(1, true);
    form->FoundFiles->SetChecked(2, true);
    ClickButton(form->SpeedButton1);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"a.txt", L"d.txt"}));
    SetAttributes(fx.Path(L"c.txt"), FILE_ATTRIBUTE_READONLY);  // changed by someone since
    boxes.clear();

    form->Edit1->SetFocus();
    TypeKey(form->Edit1->Handle(), 'Z', ssCtrl);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Hidden(L"b.txt"));

    // Asked first, naming what would be hidden again; No leaves everything.
    form->FoundFiles->SetFocus();
    answers = {IDNO};
    TypeKey(form->FoundFiles->Handle(), 'Z', ssCtrl);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind(L"Hide again the 2 object(s) unhidden at ", 0), 0u) << WideToUtf8(boxes[0].Text);
    EXPECT_TRUE(boxes[0].Text.ends_with(L"?\n\n" + fx.Path(L"c.txt") + L"\n" + fx.Path(L"b.txt"))) << "in the order unhidden";
    EXPECT_EQ(boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_FALSE(Hidden(L"b.txt"));

    boxes.clear();
    answers = {IDYES};
    TypeKey(form->FoundFiles->Handle(), 'Z', ssCtrl);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"1 of 2 object(s) hidden again, 1 left:\n- 1: had changed or "
                             L"gone since they were unhidden and stayed untouched\n\n" + fx.Path(L"c.txt"));
    EXPECT_EQ(fx.Attributes(L"b.txt") & HiddenSystem, HiddenSystem);
    EXPECT_EQ(fx.Attributes(L"c.txt") & (HiddenSystem | FILE_ATTRIBUTE_READONLY), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));

    boxes.clear();
    form->ShellTreeView1->SetFocus();
    TypeKey(form->ShellTreeView1->Handle(), 'Z', ssCtrl);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, L"There is no unhide to undo.");
    SetAttributes(fx.Path(L"c.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RowActions, DeleteAsksInPersianAndCancelLeavesEverything) {
    SetUpFiles();
    answer = IDCANCEL;
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 1u) << "only the question, no completion message";
    EXPECT_EQ(boxes[0].Caption, L"Warning");
    EXPECT_EQ(boxes[0].Text.size(), 62u);
    EXPECT_EQ(boxes[0].Text.substr(0, 3), L"\u0622\u064A\u0627");
    EXPECT_TRUE(boxes[0].Flags & MB_RTLREADING);
    EXPECT_EQ(boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(form->FoundFiles->Count(), 4);
    EXPECT_TRUE(fx.Exists(L"a.txt"));

    boxes.clear();
    form->FoundFiles->SetChecked(1, true);
    ClickButton(form->SpeedButton5);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.size(), 67u) << "the question for the ticked rows";
    EXPECT_TRUE(fx.Exists(L"b.txt"));
}

TEST_F(RowActions, DeleteSelectedAndAllRemoveFilesAndRows) {
    SetUpFiles();
    form->FoundFiles->SetChecked(3, true);
    ClickButton(form->SpeedButton5);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"proposition Complate!");
    EXPECT_FALSE(fx.Exists(L"d.txt"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));
    ClickButton(form->SpeedButton4);
    EXPECT_EQ(form->FoundFiles->Count(), 0);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) EXPECT_FALSE(fx.Exists(name)) << name;
}

TEST_F(RowActions, FailuresKeepTheirRowsAndAreCounted) {
    fx.SizedFile(L"locked.bin", 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"vanishing.bin", 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.SizedFile(L"fine.bin", 0, HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
    fx.Folder(L"full", HiddenSystem);
    fx.File(L"full\\keep.txt");
    fx.Folder(L"empty", HiddenSystem);
    Search(fx.Root(), true);
    ASSERT_EQ(form->FoundFiles->Count(), 3);
    SetFileAttributesW(fx.Path(L"vanishing.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(fx.Path(L"vanishing.bin").c_str());
    {
        UniqueFileHandle held(CreateFileW(fx.Path(L"locked.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        ClickButton(form->SpeedButton4);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"1 of 3 object(s) deleted, 2 left:\n"
                             L"- 1: had changed or gone since the search and stayed untouched\n"
                             L"- 1: in use by another program");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"locked.bin", L"vanishing.bin"}));
    EXPECT_FALSE(fx.Exists(L"fine.bin"));

    boxes.clear();
    Search(fx.Root(), false);  // the folders: one empty, one not
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"empty", L"full"}));
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"1 of 2 object(s) deleted, 1 left:\n"
                             L"- 1: folders that still hold something");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"full"}));
    EXPECT_TRUE(fx.Exists(L"full\\keep.txt"));
}

TEST_F(RowActions, CheckedAllTicksAndClearsEveryRow) {
    SetUpFiles();
    SendMessageW(form->CheckBox1->Handle(), BM_CLICK, 0, 0);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(form->FoundFiles->Checked(i)) << i;
    SendMessageW(form->CheckBox1->Handle(), BM_CLICK, 0, 0);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(form->FoundFiles->Checked(i)) << i;
}

// Names the system's path parsing would rewrite: each must be found, unhidden and deleted as itself,
// and the ordinary sibling that parsing would land on instead must stay exactly as it was.
TEST_F(RowActions, HostileNamesAreActedOnAsThemselvesAndTheirSiblingsAreUntouched) {
    const DWORD listed = HiddenSystem | FILE_ATTRIBUTE_ARCHIVE;
    std::wstring deep;  // a path far past 260 characters, as long as the file system here takes
    for (int i = 0; i < 30; ++i) deep += std::wstring(100, static_cast<wchar_t>(L'a' + i % 26)) + L"\\";
    struct Case {
        std::wstring Hostile, Sibling;  // the sibling is ordinary (not listed); empty when there is none
    } cases[] = {
        {L"bar.", L"bar"},
        {L"bar ", L"bar"},
        {L"nul", L""},
        {L"con", L""},
        {L"aux.txt", L""},
        {L"com1", L""},
        {L"lpt1.log", L""},
        {L"sub.\\inside.bin", L"sub\\inside.bin"},  // walking "sub." must not list "sub"
        {L"\u0444\u0430\u0439\u043b.", L"\u0444\u0430\u0439\u043b"},  // not Latin
        {std::wstring(254, L'n') + L".", std::wstring(254, L'n')},  // the longest name a folder can hold
        {deep + L"end.", deep + L"end"},
    };
    for (const Case& c : cases) {
        fx.SizedFile(c.Hostile, 1, listed);
        if (!c.Sibling.empty()) fx.File(c.Sibling, "keep");
    }
    fx.SizedFile(L"ro.bin", 1, listed | FILE_ATTRIBUTE_READONLY);  // read-only: not an exact match, never touched
    std::vector<DWORD> siblings;
    for (const Case& c : cases) siblings.push_back(c.Sibling.empty() ? 0 : fx.Attributes(c.Sibling));

    auto expectSiblingsUntouched = [&](const char* step) {
        for (size_t i = 0; i < std::size(cases); ++i) {
            if (!cases[i].Sibling.empty()) {
                EXPECT_EQ(fx.Attributes(cases[i].Sibling), siblings[i]) << step << ": " << i;
            }
        }
        EXPECT_EQ(fx.Attributes(L"ro.bin"), listed | FILE_ATTRIBUTE_READONLY) << step;
    };
    auto expectListedOnceEach = [&] {
        ASSERT_EQ(form->FoundFiles->Count(), static_cast<int>(std::size(cases))) << "each hostile name, once";
        std::vector<std::wstring> paths;
        for (int i = 0; i < form->FoundFiles->Count(); ++i)
            paths.push_back(form->FoundFiles->SubItem(i, 1) + form->FoundFiles->ItemCaption(i));
        for (const Case& c : cases)
            EXPECT_EQ(std::count(paths.begin(), paths.end(), fx.Path(c.Hostile)), 1) << WideToUtf8(c.Hostile.substr(0, 20));
    };

    Search(fx.Root(), true);
    expectListedOnceEach();
    ClickButton(form->SpeedButton2);
    ExpectCompleted();
    EXPECT_EQ(form->FoundFiles->Count(), 0);
    for (const Case& c : cases) EXPECT_EQ(fx.Attributes(c.Hostile) & HiddenSystem, 0u) << WideToUtf8(c.Hostile.substr(0, 20));
    expectSiblingsUntouched("unhide");

    for (const Case& c : cases) SetAttributes(fx.Path(c.Hostile), listed);
    boxes.clear();
    Search(fx.Root(), true);
    expectListedOnceEach();
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"proposition Complate!");
    for (const Case& c : cases) EXPECT_FALSE(fx.Exists(c.Hostile)) << WideToUtf8(c.Hostile.substr(0, 20));
    for (const Case& c : cases) {
        if (!c.Sibling.empty()) {
            EXPECT_TRUE(fx.Exists(c.Sibling)) << WideToUtf8(c.Sibling.substr(0, 20));
        }
    }
    expectSiblingsUntouched("delete");
    SetAttributes(fx.Path(L"ro.bin"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RowActions, NestedHiddenFoldersAreDeletedDeepestFirst) {
    fx.Folder(L"a\\b\\c", HiddenSystem);
    fx.Folder(L"a\\b", HiddenSystem);
    fx.Folder(L"a", HiddenSystem);
    fx.Folder(L"z", HiddenSystem);
    Search(fx.Root(), false);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"a", L"b", L"c", L"z"}));
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"proposition Complate!");
    EXPECT_EQ(form->FoundFiles->Count(), 0);
    EXPECT_FALSE(fx.Exists(L"a"));
}

// Between the listing and the delete, a listed folder is swapped for a link to a look-alike tree
// elsewhere: the delete must not reach through it.
TEST_F(RowActions, AFolderSwappedForALinkAfterTheListingIsNotFollowed) {
    TTempTree outside;
    outside.Folder(L"x", HiddenSystem);
    outside.Folder(L"x\\y", HiddenSystem);
    fx.Folder(L"x\\y", HiddenSystem);
    fx.Folder(L"x", HiddenSystem);
    Search(fx.Root(), false);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"x", L"y"}));
    ASSERT_TRUE(MoveFileW(ExtendedPath(fx.Path(L"x")).c_str(), ExtendedPath(fx.Path(L"moved")).c_str()));
    ASSERT_TRUE(fx.Link(L"x", outside.Path(L"x")));
    ClickButton(form->SpeedButton4);
    EXPECT_TRUE(outside.Exists(L"x\\y")) << "nothing outside the listed tree changes";
    EXPECT_EQ(outside.Attributes(L"x\\y") & HiddenSystem, HiddenSystem);
    EXPECT_TRUE(fx.Exists(L"moved\\y"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"x", L"y"})) << "both rows stay: neither is what was listed";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"No object was deleted, 2 left:\n"
                             L"- 2: had changed or gone since the search and stayed untouched");
    EXPECT_TRUE(fx.Unlink(L"x"));  // the link, before its target goes
}

// The list knows its objects by identity from the moment they are listed: a file replaced since by another
// of the same name and attributes is not the one the user saw, and is left alone.
TEST_F(RowActions, AFileReplacedSinceTheSearchIsLeftAlone) {
    fx.SizedFile(L"kept.bin", 1, HiddenSystem);
    fx.SizedFile(L"swapped.bin", 1, HiddenSystem);
    Search(fx.Root(), true);
    ASSERT_EQ(form->FoundFiles->Count(), 2);
    fx.SizedFile(L"look-alike.bin", 1, HiddenSystem);
    SetAttributes(fx.Path(L"swapped.bin"), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileW(fx.Path(L"swapped.bin").c_str()));
    ASSERT_TRUE(MoveFileW(fx.Path(L"look-alike.bin").c_str(), fx.Path(L"swapped.bin").c_str()));
    ClickButton(form->SpeedButton2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, L"1 of 2 object(s) unhidden, 1 left:\n"
                             L"- 1: had changed or gone since the search and stayed untouched");
    EXPECT_TRUE(Hidden(L"swapped.bin"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"swapped.bin"}));
}

TEST_F(RowActions, LinksAreMarkedAndDeletingThemAsksOnceMore) {
    fx.Folder(L"target", HiddenSystem);
    fx.File(L"target\\keep.txt");
    ASSERT_TRUE(fx.Link(L"compat", fx.Path(L"target")));
    SetAttributes(fx.Path(L"compat"), HiddenSystem);
    if ((fx.Attributes(L"compat") & HiddenSystem) != HiddenSystem) GTEST_SKIP() << "this file system keeps no attributes on links";
    fx.Folder(L"plain", HiddenSystem);
    Search(fx.Root(), false);
    const std::vector<std::wstring> names = Names();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].rfind(L"compat (link", 0), 0u) << WideToUtf8(names[0]);

    answer = IDNO;  // both questions: "OK" is IDOK, so this cancels at once
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 1u);
    boxes.clear();
    // OK to the first question, No to the second: everything but the link goes.
    answers = {IDOK, IDNO};
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[1].Text.find(L"links"), std::wstring::npos) << WideToUtf8(boxes[1].Text);
    EXPECT_FALSE(fx.Exists(L"plain"));
    EXPECT_TRUE(fx.Exists(L"compat"));
    EXPECT_TRUE(fx.Exists(L"target\\keep.txt"));
    EXPECT_EQ(Names().size(), 2u);
}

// A file with a name outside the list shares its attributes with it: unhide and delete ask at the first
// such file, the answer holds for the rest, and a file left for that reason is marked in the list.
TEST_F(RowActions, FilesWithOtherNamesAreAskedForAndMarked) {
    TTempTree elsewhere;
    fx.SizedFile(L"linked.bin", 0, HiddenSystem);
    fx.SizedFile(L"single.bin", 0, HiddenSystem);
    ASSERT_TRUE(CreateHardLinkW(elsewhere.Path(L"other-name.bin").c_str(), fx.Path(L"linked.bin").c_str(), nullptr));
    Search(fx.Root(), true);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"linked.bin", L"single.bin"}));

    answers = {IDNO};  // not the file with other names
    ClickButton(form->SpeedButton2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text.rfind(fx.Path(L"linked.bin") + L" has other names (hard links) elsewhere.", 0), 0u)
        << WideToUtf8(boxes[0].Text);
    EXPECT_EQ(boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes[1].Text, L"1 of 2 object(s) unhidden, 1 left:\n- 1: files with other names (hard links), left as you chose");
    EXPECT_TRUE(Hidden(L"linked.bin"));
    EXPECT_FALSE(Hidden(L"single.bin"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"linked.bin (has other names)"}));

    boxes.clear();
    answers = {IDOK, IDNO};  // yes to delete, no to the other names
    ClickButton(form->SpeedButton4);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[1].Text.find(L"Only the name in the list goes"), std::wstring::npos) << WideToUtf8(boxes[1].Text);
    EXPECT_EQ(boxes[2].Text, L"No object was deleted, 1 left:\n- 1: files with other names (hard links), left as you chose");
    EXPECT_TRUE(fx.Exists(L"linked.bin"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"linked.bin (has other names)"})) << "marked once";

    boxes.clear();
    answers = {IDYES};
    ClickButton(form->SpeedButton2);
    EXPECT_FALSE(Hidden(L"linked.bin"));
    EXPECT_EQ(form->FoundFiles->Count(), 0);
}

// Stop during a run of 2,000 unhides: what was done stays done, written down and gone from the list;
// the rest is listed and hidden as before, and the report says so. (The run is stopped while it waits
// for the user's word on a file with other names, so that where it stops does not depend on timing.)
TEST_F(RowActions, AnUnhideStoppedPartWayKeepsWhatItDidAndLeavesTheRest) {
    TTempTree elsewhere;
    for (int i = 0; i < 2000; ++i) fx.SizedFile(FormatW(L"f%04d.bin", i), 0, HiddenSystem);
    ASSERT_TRUE(CreateHardLinkW(elsewhere.Path(L"other.bin").c_str(), fx.Path(L"f1500.bin").c_str(), nullptr));
    Search(fx.Root(), true);
    ASSERT_EQ(form->FoundFiles->Count(), 2000);
    answers = {IDNO};
    bool stopped = false;
    atBox = [&](const TBox&) {
        if (std::exchange(stopped, true)) return;  // only the question: the report comes after the run
        EXPECT_TRUE(form->Acting());
        EXPECT_TRUE(form->StopButton->Enabled());
        EXPECT_FALSE(form->FindButton->Enabled());
        form->StopButton->DoClick();
    };
    ClickButton(form->SpeedButton2);  // waits until the run has ended and reported
    atBox = nullptr;

    // The last row goes first, a block of 32 at a time: f1500 is in the 16th block, which is finished.
    constexpr int Done = 15 * 32 + 31;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, FormatW(L"%d of 2000 object(s) unhidden, %d left:\n- 1: files with other names (hard links), "
                                    L"left as you chose\n- %d: not tried: the action was stopped",
                                    Done, 2000 - Done, 2000 - Done - 1));
    EXPECT_EQ(form->FoundFiles->Count(), 2000 - Done);
    const std::vector<std::wstring> names = Names();
    const std::set<std::wstring> rows(names.begin(), names.end());
    int unhidden = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::wstring name = FormatW(L"f%04d.bin", i);
        const bool listed = rows.count(name) || rows.count(name + L" (has other names)");
        EXPECT_NE(Hidden(name.c_str()), !listed) << WideToUtf8(name);
        unhidden += !Hidden(name.c_str());
    }
    EXPECT_EQ(unhidden, Done);
    const TJournalContents journal = ReadJournal(form->Journal().Path());
    EXPECT_EQ(std::count_if(journal.Entries.begin(), journal.Entries.end(),
                            [](const TJournalEntry& e) { return e.State == TJournalEntry::Done; }),
              Done);
    EXPECT_EQ(journal.Entries.size(), static_cast<size_t>(Done)) << "nothing written down for what was not tried";
}

// A run shows its progress bar and status line and takes them down again: run after run holds no more
// GUI handles than the first.
TEST_F(RowActions, RunAfterRunHoldsNoMoreHandles) {
    SetUpFiles();
    ExpectNoHandleGrowth("search and unhide of 4 files", 10, [&] {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
            SetAttributes(fx.Path(name), HiddenSystem | FILE_ATTRIBUTE_ARCHIVE);
        Search(fx.Root(), true);
        ClickButton(form->SpeedButton2);
        ASSERT_EQ(form->FoundFiles->Count(), 0);
    }, [&] { SettleAndPaint(form->Handle()); });
}

// A journal that cannot be used is said before anything is changed: the user chooses between no unhide
// and one that cannot be undone, and is reminded afterwards.
TEST_F(RowActions, AJournalThatCannotBeUsedIsSaidBeforeAnUnhide) {
    TTempTree journalPlace;
    journalPlace.File(L"blocker", "a file where the journal's folder would be");
    form->Journal().SetPath(journalPlace.Path(L"blocker\\journal.tsv"));
    SetUpFiles();
    answers = {IDCANCEL};
    ClickButton(form->SpeedButton2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find(L"is a file, not a folder"), std::wstring::npos) << WideToUtf8(boxes[0].Text);
    EXPECT_NE(boxes[0].Text.find(L"Unhide anyway"), std::wstring::npos);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) EXPECT_TRUE(Hidden(name)) << name;

    boxes.clear();
    answers = {IDOK};
    ClickButton(form->SpeedButton2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"proposition Complate!\n\nThis unhide was not written down: it cannot be undone.");
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"}) EXPECT_FALSE(Hidden(name)) << name;
}

// ---- Commands on the selected rows ----

class RowCommands : public RowActions {
protected:
    // Selects exactly these rows (by name).
    void Select(std::initializer_list<const wchar_t*> names) {
        form->FoundFiles->SetItemIndex(-1);
        for (const wchar_t* name : names) form->FoundFiles->SetSelected(IndexOf(name), true);
    }
    // Which of SetUpFiles' files are hidden.
    std::vector<std::wstring> StillHidden() {
        std::vector<std::wstring> hidden;
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
            if (Hidden(name)) hidden.push_back(name);
        return hidden;
    }
    void TypeInList(WORD key, TShiftState shift = 0) {
        form->FoundFiles->SetFocus();
        TypeKey(form->FoundFiles->Handle(), key, shift);
    }
    static TShellRequest ExplorerSelecting(const std::wstring& path) {
        wchar_t windows[MAX_PATH];
        const std::wstring explorer = std::wstring(windows, GetWindowsDirectoryW(windows, MAX_PATH)) + L"\\explorer.exe";
        return {L"open", explorer, L"/select,\"" + path + L"\""};
    }
};

// The clipboard gets exactly the selected objects' paths, one a line in list order, in the form people
// read (not the extended one), whatever their script or length.
TEST_F(RowCommands, CtrlCCopiesTheSelectedPathsExactlyInListOrder) {
    const DWORD listed = HiddenSystem | FILE_ATTRIBUTE_ARCHIVE;
    std::wstring deep;  // well past 260 characters
    for (int i = 0; i < 4; ++i) deep += std::wstring(90, static_cast<wchar_t>(L'k' + i)) + L"\\";
    const std::wstring cyrillic = L"\u0444\u0430\u0439\u043b.txt", chinese = L"\u6587 \u4ef6.bin";
    for (const std::wstring& name : {deep + L"long.", std::wstring(L"plain.txt"), cyrillic, chinese}) fx.SizedFile(name, 0, listed);
    Search(fx.Root(), true);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"long.", L"plain.txt", cyrillic, chinese}));

    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    form->FoundFiles->SetItemIndex(-1);
    TypeInList('C', ssCtrl);
    EXPECT_EQ(ClipboardText(), L"before") << "nothing selected: the clipboard stays";

    Select({chinese.c_str(), L"long.", cyrillic.c_str()});
    TypeInList('C', ssCtrl);
    EXPECT_EQ(ClipboardText(), fx.Path(deep + L"long.") + L"\r\n" + fx.Path(cyrillic) + L"\r\n" + fx.Path(chinese));
    EXPECT_TRUE(boxes.empty());
}

// Unhide and Delete of the selected rows take only those rows, and ask, check and report exactly as the
// buttons do.
TEST_F(RowCommands, UnhideAndDeleteOfTheSelectionKeepTheButtonsRules) {
    SetUpFiles();
    form->FoundFiles->SetChecked(0, true);  // ticked but not selected: not taken
    Select({L"b.txt", L"c.txt"});
    form->UnhideRowsClick(nullptr);
    WaitForAction();
    ExpectCompleted();
    EXPECT_EQ(StillHidden(), (std::vector<std::wstring>{L"a.txt", L"d.txt"}));
    EXPECT_EQ(Names(), StillHidden());

    boxes.clear();
    Select({L"a.txt", L"d.txt"});
    answer = IDCANCEL;
    TypeInList(VK_DELETE);
    WaitForAction();
    ASSERT_EQ(boxes.size(), 1u) << "only the question";
    EXPECT_EQ(boxes[0].Text.size(), 67u) << "the question for the chosen files";
    EXPECT_TRUE(boxes[0].Flags & MB_RTLREADING);
    EXPECT_TRUE(fx.Exists(L"a.txt"));
    EXPECT_TRUE(fx.Exists(L"d.txt"));

    // One object is no longer what was listed: it and its row stay, and the report says so.
    boxes.clear();
    answer = IDOK;
    SetAttributes(fx.Path(L"d.txt"), FILE_ATTRIBUTE_ARCHIVE);
    TypeInList(VK_DELETE);
    WaitForAction();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, L"1 of 2 object(s) deleted, 1 left:\n"
                             L"- 1: had changed or gone since the search and stayed untouched");
    EXPECT_FALSE(fx.Exists(L"a.txt"));
    EXPECT_TRUE(fx.Exists(L"d.txt"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"d.txt"}));
}

// Explorer opens once per folder on the first selected object there; an object that changed, or whose
// name the shell would read as another, is not handed over, and the user is told.
TEST_F(RowCommands, OpenFolderAndPropertiesHandTheShellOnlyTheListedObjects) {
    const DWORD listed = HiddenSystem | FILE_ATTRIBUTE_ARCHIVE;
    for (const wchar_t* name : {L"a1.txt", L"a2.txt", L"sub\\c.txt", L"odd\\bar.", L"lost\\gone.txt"})
        fx.SizedFile(name, 0, listed);
    Search(fx.Root(), true);
    ASSERT_EQ(form->FoundFiles->Count(), 5);
    SetAttributes(fx.Path(L"lost\\gone.txt"), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileW(fx.Path(L"lost\\gone.txt").c_str()));

    TypeInList('A', ssCtrl);
    form->OpenFolderClick(nullptr);
    EXPECT_EQ(opened, (std::vector<TShellRequest>{ExplorerSelecting(fx.Path(L"a1.txt")), ExplorerSelecting(fx.Path(L"sub\\c.txt"))}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind(L"2 of the selected object(s) could not be shown. 1 of them had changed or gone since "
                                  L"the search and stayed untouched. 1 of them have a name Windows would take for another", 0),
              0u) << WideToUtf8(boxes[0].Text);

    // Properties: the focused row when it is selected.
    opened.clear();
    boxes.clear();
    form->FoundFiles->SetItemIndex(IndexOf(L"a2.txt"));
    form->FoundFiles->SetSelected(IndexOf(L"c.txt"), true);
    form->PropertiesClick(nullptr);
    EXPECT_EQ(opened, (std::vector<TShellRequest>{{L"properties", fx.Path(L"a2.txt"), {}}}));
    form->FoundFiles->SetItemIndex(IndexOf(L"bar."));
    form->PropertiesClick(nullptr);
    EXPECT_EQ(opened.size(), 1u) << "\"bar.\" would be read as \"bar\"";
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(RowCommands, OpenFolderOpensTenFoldersAtMost) {
    for (int i = 0; i < 12; ++i)
        for (const wchar_t* name : {L"\\x.bin", L"\\y.bin"}) fx.SizedFile(L"f" + std::to_wstring(i) + name, 0, HiddenSystem);
    Search(fx.Root(), true);
    form->FoundFiles->SelectAll();
    form->OpenFolderClick(nullptr);
    ASSERT_EQ(opened.size(), 10u);
    for (const TShellRequest& request : opened) EXPECT_TRUE(request.Parameters.ends_with(L"\\x.bin\"")) << WideToUtf8(request.Parameters);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, L"Explorer was opened on the first 10 folders only.");
}

// Move to Recycle Bin takes the selected rows only and keeps the rows of what did not go: everything,
// where the platform's file operation cannot recycle (Wine's), with the reason in the message.
TEST_F(RowCommands, RecycleRemovesOnlyTheRowsOfObjectsThatWent) {
    fx.Folder(L"hidden-dir\\sub", HiddenSystem);
    fx.File(L"hidden-dir\\sub\\x.txt", "x");
    SetAttributes(fx.Path(L"hidden-dir\\sub"), HiddenSystem);
    SetAttributes(fx.Path(L"hidden-dir"), HiddenSystem);
    fx.Folder(L"other", HiddenSystem);
    Search(fx.Root(), false);
    ASSERT_EQ(Names(), (std::vector<std::wstring>{L"hidden-dir", L"other", L"sub"}));
    Select({L"hidden-dir"});
    form->RecycleRowsClick(nullptr);
    WaitForAction();
    ASSERT_EQ(boxes.size(), 1u);
    if (fx.Exists(L"hidden-dir")) {
        EXPECT_EQ(Names(), (std::vector<std::wstring>{L"hidden-dir", L"other", L"sub"}));
        EXPECT_EQ(boxes[0].Text.rfind(L"No object was moved to the Recycle Bin, 1 left:\n- 1: could not be "
                                      L"checked, or the system refused\n\nThe Recycle Bin could not be used (system error 0x", 0),
                  0u) << WideToUtf8(boxes[0].Text);
        EXPECT_TRUE(fx.Exists(L"hidden-dir\\sub\\x.txt"));
    } else {
        EXPECT_EQ(Names(), (std::vector<std::wstring>{L"other", L"sub"}));
        EXPECT_EQ(boxes[0].Text, L"1 object(s) moved to the Recycle Bin.");
    }
    EXPECT_TRUE(fx.Exists(L"other"));
}

// Export writes the selected rows when several are selected, else every row, as the type chosen in the
// Save dialog (or named by the extension typed); a cancelled dialog writes nothing.
TEST_F(RowCommands, ExportWritesTheChosenRowsAsTheChosenType) {
    const std::wstring names[] = {L"a, \u0444\u0430\u0439\u043b.txt", L"b.txt", L"\u6587\u4ef6.bin"};
    for (const std::wstring& name : names) fx.SizedFile(name, 3, HiddenSystem);
    Search(fx.Root(), true);
    ASSERT_EQ(form->FoundFiles->Count(), 3);
    TTempTree out;
    std::vector<TSaveRequest> asked;
    std::wstring chosen;
    int type = 0;
    const TSaveDialogHandler previous = SetSaveDialogHandler([&](HWND, TSaveRequest& request) {
        asked.push_back(request);
        if (chosen.empty()) return false;
        request.FileName = chosen;
        request.TypeIndex = type;
        return true;
    });
    auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };

    Select({L"b.txt"});
    form->ExportListClick(nullptr);  // cancelled
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Types.size(), 2u);

    chosen = out.Path(L"all.csv");
    form->ExportListClick(nullptr);  // one row selected: every row
    std::string text = FileBytes(chosen);
    EXPECT_EQ(lines(text), 4) << text;
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBFName,Location,Full Path,Size,Modified,Attributes\r\n")) << text;
    for (const std::wstring& name : names) EXPECT_NE(text.find(WideToUtf8(fx.Path(name))), std::string::npos) << text;
    EXPECT_NE(text.find("\"a, "), std::string::npos) << "the comma quoted";

    Select({L"b.txt", names[2].c_str()});
    chosen = out.Path(L"two.efu");  // typed with its extension while CSV was the type
    form->ExportListClick(nullptr);
    text = FileBytes(chosen);
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF" "Filename,Size,Date Modified,Attributes\r\n")) << text;
    EXPECT_EQ(lines(text), 3) << text;
    EXPECT_EQ(text.find(WideToUtf8(fx.Path(names[0]))), std::string::npos);

    chosen = out.Path(L"missing\\x.csv");
    form->ExportListClick(nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind(L"The list could not be written to " + chosen, 0), 0u) << WideToUtf8(boxes[0].Text);
    SetSaveDialogHandler(previous);
}

// The commands are there by name for a menu to bind, and with no row selected they do nothing at all.
TEST_F(RowCommands, CommandsAreBoundByNameAndNeedASelection) {
    SetUpFiles();
    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    auto run = [&](const char* name) {
        const std::any* handler = form->Bindings().FindHandler(name);
        ASSERT_NE(handler, nullptr) << name;
        std::any_cast<const TNotifyEvent&>(*handler)(nullptr);
    };
    const char* const names[] = {"OpenFolderClick", "CopyPathClick", "PropertiesClick", "UnhideRowsClick", "DeleteRowsClick"};
    form->FoundFiles->SetItemIndex(-1);
    for (const char* name : names) run(name);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_EQ(form->FoundFiles->Count(), 4);
    EXPECT_EQ(StillHidden().size(), 4u);

    Select({L"b.txt"});
    run("CopyPathClick");
    EXPECT_EQ(ClipboardText(), fx.Path(L"b.txt"));
}

// The rows' context menu, opened by the menu key on the list: its items are the commands, offered only
// with a selection, and the one chosen from the keyboard runs once.
TEST_F(RowCommands, TheRowsContextMenuOffersTheCommandsForTheSelection) {
    SetUpFiles();
    ASSERT_NE(form->RowMenu, nullptr);
    EXPECT_EQ(form->FoundFiles->PopupMenu(), form->RowMenu);
    std::vector<std::wstring> captions;
    for (int i = 0; i < form->RowMenu->Items()->Count(); ++i) captions.push_back(form->RowMenu->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Open Containing &Folder", L"&Copy Path", L"-", L"&Unhide", L"&Delete",
                                                   L"Move to Recycle &Bin", L"Undo Unh&ide", L"-", L"E&xport List\u2026",
                                                   L"P&roperties"}));
    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    auto openByMenuKey = [&](std::vector<WPARAM> keys) {
        TypeIntoMenu(std::move(keys));
        SendMessageW(form->FoundFiles->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->FoundFiles->Handle()),
                     MAKELPARAM(-1, -1));
        Application().ProcessMessages();
    };
    // Nothing selected: the items are there but off.
    form->FoundFiles->SetItemIndex(-1);
    openByMenuKey({VK_ESCAPE});
    EXPECT_FALSE(form->RowMenu->Items()->Items(1)->Enabled());
    // With a row selected, C (the mnemonic of Copy Path) copies its path.
    Select({L"b.txt"});
    openByMenuKey({'C'});
    EXPECT_TRUE(form->RowMenu->Items()->Items(1)->Enabled());
    EXPECT_EQ(ClipboardText(), fx.Path(L"b.txt"));
    EXPECT_TRUE(boxes.empty());
}

// Ctrl+A selects every row, Space ticks the selection as one, Enter does nothing.
TEST_F(RowCommands, ListKeysSelectAllAndTickTheSelection) {
    SetUpFiles();
    auto ticked = [&] {
        std::vector<std::wstring> names;
        for (int i = 0; i < form->FoundFiles->Count(); ++i)
            if (form->FoundFiles->Checked(i)) names.push_back(form->FoundFiles->ItemCaption(i));
        return names;
    };
    TypeInList('A', ssCtrl);
    EXPECT_EQ(form->FoundFiles->SelectedIndices(), (std::vector<int>{0, 1, 2, 3}));
    TypeInList(VK_SPACE);
    EXPECT_EQ(ticked().size(), 4u);
    TypeInList(VK_SPACE);
    EXPECT_TRUE(ticked().empty());

    form->FoundFiles->SetChecked(IndexOf(L"b.txt"), true);
    Select({L"b.txt", L"c.txt"});
    TypeInList(VK_SPACE);
    EXPECT_EQ(ticked(), (std::vector<std::wstring>{L"b.txt", L"c.txt"})) << "one unticked: all ticked";
    TypeInList(VK_SPACE);
    EXPECT_TRUE(ticked().empty());

    TypeInList(VK_RETURN);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(form->FoundFiles->Count(), 4);
}

// F5 is the Find button and Esc the Stop button, from the tree, the list or the path field.
TEST_F(MainWindow, F5StartsAndEscStopsASearchWhereverTheFocusIs) {
    TTempTree fx;
    MakeLargeTree(fx);
    ChooseFolder(fx.Root());
    TypeKey(form->Handle(), VK_ESCAPE);
    EXPECT_EQ(Status().rfind(L"0" + CountsPrefix, 0), 0u) << "idle: Esc does nothing";
    TSearchHold hold(*form->FindFile1);  // each search waits for the Esc that stops it
    for (TWinControl* place : std::initializer_list<TWinControl*>{form->ShellTreeView1, form->FoundFiles, form->Edit1}) {
        place->SetFocus();
        ASSERT_EQ(GetFocus(), place->Handle()) << place->Name();
        TypeKey(GetFocus(), VK_F5);
        EXPECT_TRUE(form->StopButton->Enabled()) << "F5 started a search: " << place->Name();
        TypeKey(GetFocus(), VK_ESCAPE);
        EXPECT_TRUE(form->FindButton->Enabled()) << place->Name();
        EXPECT_EQ(Status().rfind(L"Search aborted - ", 0), 0u) << place->Name() << ": " << WideToUtf8(Status());
        EXPECT_EQ(GetFocus(), place->Handle()) << "the focus stays";
    }
}

TEST_F(MainWindow, RowActionsAreOffWhileASearchRuns) {
    TTempTree fx;
    MakeLargeTree(fx);
    ChooseFolder(fx.Root());
    TSearchHold hold(*form->FindFile1);
    PostClick(form->FindButton);
    HandleUntilRelease();
    ASSERT_TRUE(form->FindFile1->Busy());
    for (TControl* c : std::initializer_list<TControl*>{form->SpeedButton1, form->SpeedButton2, form->SpeedButton4,
                                                        form->SpeedButton5, form->CheckBox1})
        EXPECT_FALSE(c->Enabled()) << WideToUtf8(c->Caption());
    PostClick(form->SpeedButton4);  // a click on a disabled button does nothing
    HandleUntilRelease();
    EXPECT_TRUE(boxes.empty());

    // The commands on the selection, by handler and by key, on rows that have come in so far.
    for (int i = 0; i < 200 && form->FoundFiles->Count() == 0; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
    ASSERT_GT(form->FoundFiles->Count(), 0);
    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    form->FoundFiles->SelectAll();
    for (auto command : {&TForm1::OpenFolderClick, &TForm1::CopyPathClick, &TForm1::PropertiesClick,
                         &TForm1::UnhideRowsClick, &TForm1::DeleteRowsClick})
        (form->*command)(nullptr);
    form->FoundFiles->SetFocus();
    TypeKey(form->FoundFiles->Handle(), 'C', ssCtrl);
    TypeKey(form->FoundFiles->Handle(), VK_DELETE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(ClipboardText(), L"before");
    EXPECT_TRUE(fx.Exists(L"d0\\e0"));
    EXPECT_EQ(fx.Attributes(L"d0\\e0") & HiddenSystem, HiddenSystem);
    ASSERT_TRUE(form->FindFile1->Busy());
    hold.Release();
    ClickButton(form->StopButton);
    for (TControl* c : std::initializer_list<TControl*>{form->SpeedButton1, form->SpeedButton2, form->SpeedButton4,
                                                        form->SpeedButton5, form->CheckBox1})
        EXPECT_TRUE(c->Enabled()) << "back after an abort: " << WideToUtf8(c->Caption());
}

TEST_F(MainWindow, FoldersThatCouldNotBeOpenedAreCountedApart) {
    // The window's own handlers, on a search whose folder is gone by the time it is walked.
    TTempTree fx;
    form->FindFile1->Criteria.Files.Location = fx.Path(L"gone");
    form->FindFile1->Execute();
    EXPECT_EQ(form->UnopenedCount(), 1);
    EXPECT_EQ(Status().rfind(L"0" + CountsPrefix + L"0 file(s) found - ", 0), 0u) << WideToUtf8(Status());
    EXPECT_TRUE(Status().ends_with(L" second(s), 1 folder(s) could not be opened")) << WideToUtf8(Status());
}

TEST_F(MainWindow, FindSearchesExactlyTheChosenFolderAndOnlyFileSystemFolders) {
    TTempTree fx;
    fx.Folder(L"Backup;old\\in", HiddenSystem);
    fx.Folder(L"Backup\\not-chosen", HiddenSystem);
    Search(fx.Path(L"Backup;old"), false);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"in"})) << "one folder, not a list of two";
    EXPECT_EQ(Status().rfind(L"2" + CountsPrefix + L"1 file(s) found - ", 0), 0u) << WideToUtf8(Status());

    form->ShellTreeView1->Select(form->ShellTreeView1->RootNode());  // "My Computer": no folder on a disk
    ClickButton(form->FindButton);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"in"})) << "no search ran";
    EXPECT_EQ(Status(), L"Choose a folder on a disk or a network share to search it.");
    EXPECT_TRUE(form->FindButton->Enabled());
}

// What Explorer sends when something is dropped on the window: WM_DROPFILES with a DROPFILES block of
// wide paths, which the window finishes with (and so frees).
void DropOn(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_NE(block, nullptr);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

// A folder dropped from Explorer is selected in the tree as a click would; a dropped file selects its
// folder; something that is not there changes nothing and says so.
TEST_F(MainWindow, AFolderDroppedOnTheWindowIsSelectedInTheTree) {
    TTempTree fx;
    const std::wstring folder = fx.Folder(L"\u0444\u0430\u0439\u043b \u6587");
    const std::wstring file = fx.File(L"other\\x.txt");
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    auto selected = [&] { return form->ShellTreeView1->Path(); };

    DropOn(form->Handle(), {folder, file});
    EXPECT_TRUE(SameFileName(selected(), folder)) << WideToUtf8(selected());
    EXPECT_TRUE(SameFileName(form->Edit1->Text(), folder));

    DropOn(form->Handle(), {file});
    EXPECT_TRUE(SameFileName(selected(), fx.Path(L"other"))) << WideToUtf8(selected());

    DropOn(form->Handle(), {fx.Path(L"gone")});
    EXPECT_TRUE(SameFileName(selected(), fx.Path(L"other")));
    EXPECT_EQ(Status(), L"There is no folder " + fx.Path(L"gone") + L".");
    EXPECT_TRUE(boxes.empty());

    // "dotted." read through the shell would be its plain sibling "dotted": neither is selected, and the
    // user is told why.
    fx.Folder(L"dotted.");
    fx.Folder(L"dotted");
    DropOn(form->Handle(), {fx.Path(L"dotted.")});
    EXPECT_TRUE(SameFileName(selected(), fx.Path(L"other"))) << WideToUtf8(selected());
    EXPECT_EQ(Status().rfind(L"The folder tree cannot show " + fx.Path(L"dotted.") + L" exactly", 0), 0u) << WideToUtf8(Status());
}

TEST_F(MainWindow, TreeClickShowsThePathOfTheClickedNode) {
    ChooseFolder(L"C:\\");
    ClickSelectedNode();
    EXPECT_EQ(form->Edit1->Text(), L"C:\\");
    form->ShellTreeView1->Select(form->ShellTreeView1->RootNode());
    EXPECT_EQ(form->Edit1->Text(), L"C:\\") << "moving the selection without a click leaves the field";
    ClickSelectedNode();
    EXPECT_EQ(form->Edit1->Text().rfind(L"::{", 0), 0u) << "the root's shell identifier: " << form->Edit1->Text();
}

TEST_F(MainWindow, ViewSwitchesSetTheTreesObjectTypesFromTheirOwnState) {
    auto click = [](TCheckBox* box) { SendMessageW(box->Handle(), BM_CLICK, 0, 0); };
    ChooseFolder(L"C:\\windows");
    ClickSelectedNode();
    const std::wstring clicked = form->Edit1->Text();
    EXPECT_EQ(_wcsicmp(clicked.c_str(), L"C:\\windows"), 0) << clicked;

    const uint32_t folders = 1, files = 2, hidden = 4;
    struct Step { TCheckBox* box; uint32_t types; };
    const Step steps[] = {
        {form->ShowHide, folders | files | hidden}, {form->ShowHide, folders | files},
        {form->ShowFile, folders | files | hidden}, {form->ShowFile, folders | hidden},
    };
    for (const auto& step : steps) {
        click(step.box);
        EXPECT_EQ(form->ShellTreeView1->ObjectTypes(), step.types);
        EXPECT_EQ(form->ShellTreeView1->Selected(), form->ShellTreeView1->RootNode()) << "the root ends selected";
        EXPECT_TRUE(form->ShellTreeView1->Expanded(form->ShellTreeView1->RootNode()));
    }
    EXPECT_EQ(form->Edit1->Text(), clicked) << "the switches leave the path field alone";
}

TEST_F(MainWindow, CustomSwitchShowsAndHidesThePanel) {
    form->CustomFindClick(form->CustomFind);
    EXPECT_TRUE(form->Panel1->Visible());
    EXPECT_EQ(form->CustomFind->Caption(), L"Find Hiden Object Only");
    for (TControl* c : std::initializer_list<TControl*>{form->SpeedButton2, form->SpeedButton1, form->RadioButton1, form->Checkfile})
        EXPECT_FALSE(c->Enabled());
    form->CustomFindClick(form->CustomFind);
    EXPECT_FALSE(form->Panel1->Visible());
    EXPECT_EQ(form->CustomFind->Caption(), L"Custom");
    EXPECT_TRUE(form->Checkfile->Enabled());
}

TEST_F(MainWindow, LaterControlsLieOnTopWhileTabKeepsTheStoredOrder) {
    // "Show File" reaches under "Show Hide Object", which comes later and so lies on top.
    const RECT overlap = form->ShowHide->BoundsRect().ToRECT();
    const POINT inside{overlap.left + 2, (overlap.top + overlap.bottom) / 2};
    const RECT under = form->ShowFile->BoundsRect().ToRECT();
    ASSERT_TRUE(PtInRect(&under, inside)) << "the two boxes no longer overlap";
    EXPECT_EQ(ChildWindowFromPointEx(form->Handle(), inside, CWP_SKIPINVISIBLE), form->ShowHide->Handle());

    // Tab and Shift+Tab, as typed, walk the stored tab order.
    auto press = [&](bool shift) {
        TypeKey(GetFocus(), VK_TAB, shift ? TShiftState{ssShift} : TShiftState{0});
        return GetFocus();
    };
    form->ShellTreeView1->SetFocus();
    const std::vector<TWinControl*> order{form->Edit1, form->FoundFiles, form->RadioButton1, form->Checkfile,
                                          form->ShowFile, form->ShowHide};
    for (TWinControl* next : order) EXPECT_EQ(press(false), next->Handle()) << next->Name();
    EXPECT_EQ(press(true), form->ShowFile->Handle());
}

TEST_F(MainWindow, AboutShowsTheAddressesAndClosingOpensTheMakersPage) {
    ClickButton(form->SpeedButton3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, std::wstring(AuthorEmail) + L"||" + MakerWebAddress);
    EXPECT_EQ(boxes[0].Caption, L"Clarivo");
    EXPECT_EQ(boxes[0].Flags & MB_ICONMASK, 0u);
    form->Close();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (TShellRequest{L"open", MakerWebAddress, {}})) << "the address itself, for the shell to open: no program is started by name";
}

TEST(FormDescription, BinaryValuesComeFromTheProgramsResources) {
    TForm form(nullptr);
    TFormReader reader(form, nullptr);
    reader.Read("object F: TForm\n  object B: TSpeedButton\n    Glyph.Data = resource 'ABOUTGLYPH'\n  end\nend\n");
    auto* button = dynamic_cast<TSpeedButton*>(form.FindComponent("B"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Glyph()->Width(), 32);

    TForm other(nullptr);
    TFormReader failing(other, nullptr);
    try {
        failing.Read("object F: TForm\n  object B: TSpeedButton\n    Glyph.Data = resource 'NO_SUCH_THING'\n  end\nend\n");
        ADD_FAILURE() << "a missing resource must fail";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("NO_SUCH_THING"), std::string::npos) << e.what();
    }
}

}  // namespace
