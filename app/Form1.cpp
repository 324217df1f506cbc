#include "app/Form1.h"

#include "app/Clipboard.h"
#include "app/Contact.h"
#include "app/ExportList.h"
#include "app/FileActions.h"
#include "app/Launcher.h"
#include "app/RecycleBin.h"
#include "app/RowText.h"
#include "app/SaveDialog.h"
#include "base/FileName.h"
#include "base/StrUtils.h"
#include "base/Thread.h"
#include "base/UniqueHandle.h"
#include "search/Paths.h"
#include "skin/data/SkinData.h"
#include "ui/Animate.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/ProgressBar.h"
#include "ui/RadioButton.h"
#include "ui/ShellTreeView.h"
#include "ui/SpeedButton.h"
#include "ui/SpinEdit.h"
#include "ui/StatusBar.h"

#include <shellapi.h>

#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

// While a search runs, this timer has the window take the notifications waiting in the feed.
constexpr UINT_PTR FeedTimerId = 1;
// While an action runs, this timer has the window take what it has done.
constexpr UINT_PTR RunTimerId = 2;
// The status line shows the folder being searched at most this often: about the time it takes to read a
// path, and each change repaints the skinned status bar.
constexpr ULONGLONG StatusIntervalMs = 1000;

// The confirmation texts of "Delete All" and "Delete Selected" (Persian, read right to left).
const wchar_t* const DeleteAllQuestion =
    L"\u0622\u064A\u0627 \u0645\u064A\u062E\u0648\u0627\u0647\u064A\u062F \u062A\u0645\u0627\u0645 \u0641\u0627\u064A"
    L"\u0644 \u0647\u0627\u064A \u0645\u0648\u062C\u0648\u062F \u0631\u0627 \u0627\u0632 \u0631\u0648\u064A \u0647"
    L"\u0627\u0631\u062F \u062F\u064A\u0633\u06A9 \u067E\u0627\u06A9 \u06A9\u0646\u064A\u062F\u061F";
const wchar_t* const DeleteSelectedQuestion =
    L"\u0622\u064A\u0627 \u0645\u064A\u062E\u0648\u0627\u0647\u064A\u062F \u062A\u0645\u0627\u0645 \u0641\u0627\u064A"
    L"\u0644 \u0647\u0627\u064A \u0627\u0646\u062A\u062E\u0627\u0628 \u0634\u062F\u0647 \u0631\u0627 \u0627\u0632 "
    L"\u0631\u0648\u064A \u0647\u0627\u0631\u062F \u062F\u064A\u0633\u06A9 \u067E\u0627\u06A9 \u06A9\u0646\u064A"
    L"\u062F\u061F";

const wchar_t* const CompletedMessage = L"proposition Complate!";

// A message that names objects names at most this many.
constexpr std::size_t MaxPathsListed = 10;

// The paths, one a line after a blank line, as many as a message box can show, and how many more.
std::wstring PathsText(const std::vector<std::wstring>& paths) {
    std::wstring text;
    const size_t named = std::min(paths.size(), MaxPathsListed);
    for (size_t i = 0; i < named; ++i) text += (i == 0 ? L"\n\n" : L"\n") + paths[i];
    if (paths.size() > named) text += Utf8ToWide(Format("\n(and %d more)", static_cast<int>(paths.size() - named)));
    return text;
}

// What the row actions did to an object, for the messages: "unhidden", "deleted", ...
const char* DoneWord(TRowAction action) {
    const char* const words[] = {"unhidden", "deleted", "moved to the Recycle Bin"};
    return words[static_cast<int>(action)];
}

// "Open Containing Folder" opens at most this many Explorer windows at once.
constexpr std::size_t MaxExplorerWindows = 10;

// A count with its thousands grouped by commas: "10,000".
std::string GroupedNumber(size_t value) {
    std::string digits = std::to_string(value);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

const wchar_t* const NotAFolderLine = L"Choose a folder on a disk or a network share to search it.";

// A folder the walk can list: a full path to an existing folder (the tree's root and other virtual
// nodes have no such path).
bool IsSearchableFolder(const std::wstring& path) {
    if (!IsAbsolutePath(path)) return false;
    const DWORD attr = GetFileAttributesW(ExtendedPath(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The Name column of a link says so, and where it leads when that can be read.
std::wstring NameText(const std::wstring& name, const TListedObject& object) {
    if (!object.IsLink()) return name;
    const std::wstring target = LinkTarget(object.Path);
    return target.empty() ? name + L" (link)" : name + L" (link to " + target + L")";
}

// Why the shell was not given an object: it never takes the extended form of a path.
const char* const UnreachableNote = " %d of them have a name Windows would take for another (a name ending in a dot or "
                                    "a space, a device name, or a path of 260 characters or more).";

// The objects a shell command (Explorer, the property sheet) was not given, and why.
struct TShellRefusals {
    int Changed = 0;      // gone, or no longer the object listed
    int Unreachable = 0;  // a name the shell would read as another object
    int Failed = 0;       // could not be checked, or the shell could not show it
};

// Hands the object to the shell with show, if it is still the object listed and its normal form names
// it exactly: the shell never takes the extended form, and for "bar." or "nul" it would show another
// object or a device. A property sheet can change what it shows, so it must be the object listed.
// True when the shell took it; otherwise the refusal is counted.
bool ShowInShell(const TListedObject& object, bool (*show)(const std::wstring& path), TShellRefusals& refusals) {
    switch (TObjectActions().Verify(object)) {
        case TActionResult::Done: break;
        case TActionResult::Changed: ++refusals.Changed; return false;
        default: ++refusals.Failed; return false;
    }
    if (!PlainPathIsExact(object.Path)) {
        ++refusals.Unreachable;
        return false;
    }
    if (show(object.Path)) return true;
    ++refusals.Failed;
    return false;
}

void ReportShellRefusals(const TShellRefusals& refusals, bool moreFolders) {
    const int refused = refusals.Changed + refusals.Unreachable + refusals.Failed;
    std::string text;
    if (refused > 0) text = Format("%d of the selected object(s) could not be shown.", refused);
    if (refusals.Changed > 0)
        text += Format(" %d of them had changed or gone since the search and stayed untouched.", refusals.Changed);
    if (refusals.Unreachable > 0) text += Format(UnreachableNote, refusals.Unreachable);
    if (moreFolders)
        text += Format("%sExplorer was opened on the first %d folders only.", text.empty() ? "" : " ",
                       static_cast<int>(MaxExplorerWindows));
    if (!text.empty()) ShowMessageBox(Utf8ToWide(text), Application().Title(), MB_OK | MB_ICONWARNING);
}

// What the user is told of the objects an action left, one line per reason.
std::wstring ReasonsText(const TActionCounts& counts, const char* since, const std::wstring& journal) {
    struct TReason {
        TActionResult Result;
        std::string Text;
    };
    const TReason reasons[] = {
        {TActionResult::Changed, Format("had changed or gone %s and stayed untouched", since)},
        {TActionResult::Denied, "access was denied (or the file is read-only)"},
        {TActionResult::InUse, "in use by another program"},
        {TActionResult::NotEmpty, "folders that still hold something"},
        {TActionResult::Failed, "could not be checked, or the system refused"},
        {TActionResult::Unrecorded, "left as they were because the journal could not be written"},
        {TActionResult::OtherNames, "files with other names (hard links), left as you chose"},
        {TActionResult::Stopped, "not tried: the action was stopped"},
    };
    std::wstring text;
    for (const TReason& reason : reasons)
        if (const int count = counts.Count(reason.Result); count > 0) {
            text += Utf8ToWide(Format("\n- %d: %s", count, reason.Text.c_str()));
            if (reason.Result == TActionResult::Unrecorded) text += L" (" + journal + L")";
        }
    return text;
}

// The closing message of an action: allDone when every object was done, else how many were and why the
// others were not.
std::wstring CountsReport(const TActionCounts& counts, const std::wstring& allDone, const char* doneWord,
                          const char* since, const std::wstring& journal) {
    if (counts.Left() == 0) return allDone;
    const std::wstring text = Utf8ToWide(counts.Done() > 0 ? Format("%d of %d object(s) %s, %d left:", counts.Done(),
                                                                    counts.Total(), doneWord, counts.Left())
                                                             : Format("No object was %s, %d left:", doneWord, counts.Left()));
    return text + ReasonsText(counts, since, journal);
}

// Asked at the first file with other names (hard links) an action meets; the answer holds for the rest.
const wchar_t* const UnhideOtherNamesQuestion =
    L" has other names (hard links) elsewhere. A file's attributes belong to all of its names: unhiding it shows it "
    L"under every one of them.\n\nUnhide the files that have other names too? Choose No to leave them hidden.";
const wchar_t* const DeleteOtherNamesQuestion =
    L" has other names (hard links) elsewhere. Only the name in the list goes; the file itself stays under its other "
    L"names, hidden.\n\nRemove the names of such files too? Choose No to keep them.";
// How a row whose file turned out to have other names is marked.
const wchar_t* const OtherNamesMark = L" (has other names)";

}  // namespace

const TClassInfo TForm1::MetaClass("TForm1", &TForm::MetaClass, nullptr, {});

// The classes the description creates by name. Naming them here links them into the program: a class
// nothing refers to would be left out of the link, and the reader could not find it.
extern const TClassInfo* const Form1Classes[];
const TClassInfo* const Form1Classes[] = {
    &TShellTreeView::MetaClass, &TEdit::MetaClass,     &TSpeedButton::MetaClass,       &TListView::MetaClass,
    &TStatusBar::MetaClass,     &TAnimate::MetaClass,  &TRadioButton::MetaClass,       &TCheckBox::MetaClass,
    &TPanel::MetaClass,         &TLabel::MetaClass,    &TSpinEdit::MetaClass,          &TFindFileComponent::MetaClass,
    &TSkinData::MetaClass,      &TPopupMenu::MetaClass, &TMenuItem::MetaClass,    &TProgressBar::MetaClass,
};

TForm1::TForm1(TComponent* owner)
    : TForm(owner), FFeed([this](std::vector<TSearchNote>& notes) { ApplyNotes(notes); }), FJournal(DefaultJournalPath()) {
    auto& b = Bindings();
    b.AddField("ShellTreeView1", ShellTreeView1);
    b.AddField("Edit1", Edit1);
    b.AddField("FindButton", FindButton);
    b.AddField("SpeedButton2", SpeedButton2);
    b.AddField("FoundFiles", FoundFiles);
    b.AddField("RowMenu", RowMenu);
    b.AddField("UndoUnhideItem", UndoUnhideItem);
    b.AddField("ExportItem", ExportItem);
    b.AddField("StatusBar1", StatusBar1);
    b.AddField("ActionProgress", ActionProgress);
    b.AddField("Animate", Animate);
    b.AddField("StopButton", StopButton);
    b.AddField("RadioButton1", RadioButton1);
    b.AddField("Checkfile", Checkfile);
    b.AddField("SpeedButton1", SpeedButton1);
    b.AddField("ShowFile", ShowFile);
    b.AddField("ShowHide", ShowHide);
    b.AddField("CustomFind", CustomFind);
    b.AddField("Panel1", Panel1);
    b.AddField("Label1", Label1);
    b.AddField("Label2", Label2);
    b.AddField("Label3", Label3);
    b.AddField("Label4", Label4);
    b.AddField("FileNameEdit", FileNameEdit);
    b.AddField("ContainingEdit", ContainingEdit);
    b.AddField("SizeMin", SizeMin);
    b.AddField("SizeMax", SizeMax);
    b.AddField("SpeedButton3", SpeedButton3);
    b.AddField("SpeedButton4", SpeedButton4);
    b.AddField("SpeedButton5", SpeedButton5);
    b.AddField("CheckBox1", CheckBox1);
    b.AddField("SkinData1", SkinData1);
    b.AddField("FindFile1", FindFile1);

    b.AddHandler("FormCreate", this, &TForm1::FormCreate);
    b.AddHandler("FormClose", this, &TForm1::FormClose);
    b.AddHandler("FindButtonClick", this, &TForm1::FindButtonClick);
    b.AddHandler("StopButtonClick", this, &TForm1::StopButtonClick);
    b.AddHandler("FindFile1SearchBegin", this, &TForm1::FindFile1SearchBegin);
    b.AddHandler("FindFile1FolderChange", this, &TForm1::FindFile1FolderChange);
    b.AddHandler("FindFile1FileMatch", this, &TForm1::FindFile1FileMatch);
    b.AddHandler("FindFile1FolderError", this, &TForm1::FindFile1FolderError);
    b.AddHandler("FindFile1SearchFinish", this, &TForm1::FindFile1SearchFinish);
    b.AddHandler("FoundFilesClick", this, &TForm1::FoundFilesClick);
    b.AddHandler("SpeedButton2Click", this, &TForm1::SpeedButton2Click);
    b.AddHandler("SpeedButton1Click", this, &TForm1::SpeedButton1Click);
    b.AddHandler("SpeedButton4Click", this, &TForm1::SpeedButton4Click);
    b.AddHandler("SpeedButton5Click", this, &TForm1::SpeedButton5Click);
    b.AddHandler("CheckBox1Click", this, &TForm1::CheckBox1Click);
    b.AddHandler("OpenFolderClick", this, &TForm1::OpenFolderClick);
    b.AddHandler("RowMenuPopup", this, &TForm1::RowMenuPopup);
    b.AddHandler("CopyPathClick", this, &TForm1::CopyPathClick);
    b.AddHandler("PropertiesClick", this, &TForm1::PropertiesClick);
    b.AddHandler("UnhideRowsClick", this, &TForm1::UnhideRowsClick);
    b.AddHandler("DeleteRowsClick", this, &TForm1::DeleteRowsClick);
    b.AddHandler("RecycleRowsClick", this, &TForm1::RecycleRowsClick);
    b.AddHandler("UndoUnhideClick", this, &TForm1::UndoUnhideClick);
    b.AddHandler("ExportListClick", this, &TForm1::ExportListClick);
    b.AddHandler("FoundFilesKeyDown", this, &TForm1::FoundFilesKeyDown);
    b.AddHandler("ShellTreeView1Click", this, &TForm1::ShellTreeView1Click);
    b.AddHandler("ShowFileClick", this, &TForm1::ShowFileClick);
    b.AddHandler("ShowHideClick", this, &TForm1::ShowHideClick);
    b.AddHandler("CustomFindClick", this, &TForm1::CustomFindClick);
    b.AddHandler("SpeedButton3Click", this, &TForm1::SpeedButton3Click);

    ReadDescriptionResource(L"TFORM1");
}

TForm1::~TForm1() {
    FRunner.reset();  // an action still running ends first: it reports to this window
    // A search still running ends before the feed it posts to goes with this object's own members.
    Destroying();
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::Loaded() {
    TForm::Loaded();
    FoundFiles->AddColumn(L"Name", 100);
    FoundFiles->AddColumn(L"Location", 303);
    FoundFiles->AddColumn(L"Size", 60);
    FoundFiles->AddColumn(L"Modified", 120);
}

void TForm1::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.ExStyle |= WS_EX_ACCEPTFILES;  // folders dropped from Explorer
}

void TForm1::CreateWnd() {
    TForm::CreateWnd();
    // Run as administrator (as unhiding system files often needs), the window would otherwise never see
    // a drop from Explorer, which runs at the user's ordinary level.
    constexpr UINT CopyGlobalData = 0x0049;
    for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, CopyGlobalData})
        ChangeWindowMessageFilterEx(Handle(), message, MSGFLT_ALLOW, nullptr);
}

void TForm1::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER && message.WParam == FeedTimerId) {
        FFeed.Drain();
        return;
    }
    if (message.Msg == WM_TIMER && message.WParam == RunTimerId) {
        if (!FRunner) return;
        FRunner->Drain();
        if (FRunner->Finished())
            FinishRun();
        else
            ShowRunProgress();
        return;
    }
    if (message.Msg == WM_DROPFILES) {
        DropFiles(reinterpret_cast<HDROP>(message.WParam));
        message.Result = 0;
        return;
    }
    TForm::WndProc(message);
}

// The message loop offers every key to the window before the focused control or the dialog manager
// sees it, so Esc stops a search rather than cancelling anything, and message boxes (windows of their
// own) keep their Esc and Enter.
bool TForm1::IsShortCut(WPARAM key) {
    const TShortCut pressed = ShortCutFromKey(key);
    // Ctrl+Z anywhere but in a text field, which keeps its own undo of typing.
    if (pressed == ShortCut('Z', ssCtrl) && !dynamic_cast<TCustomEdit*>(FindControl(GetFocus()))) {
        UndoUnhideClick(this);  // directly: the item is only brought up to date when the menu opens
        return true;
    }
    if (pressed == ShortCut(VK_F5, 0) || pressed == ShortCut(VK_ESCAPE, 0)) {
        TSpeedButton* button = key == VK_F5 ? FindButton : StopButton;
        if (button->Enabled()) {
            button->DoClick();  // exactly what a click on it does
            return true;
        }
    }
    return TForm::IsShortCut(key);
}

// ---- Search run ----

void TForm1::FormCreate(TObject*) {
    // The stored criteria name no folder: this run only raises begin and finish, which leave the
    // window in its idle state with a status line of zeros.
    FindFile1->Execute();
}

void TForm1::FindButtonClick(TObject*) {
    if (FindFile1->Busy() || FRunner) return;
    const std::wstring folder = ShellTreeView1->Path();
    if (!IsSearchableFolder(folder)) {
        StatusBar1->SetSimpleText(NotAFolderLine);
        return;
    }
    FoundFiles->Clear();
    FindFile1->Threaded = true;
    // Exactly the chosen folder: a location list would cut a folder named "Backup;old" in two. An
    // included line's folder part is taken whole, its name part is the mask.
    FindFile1->Criteria.Files.FileName = L"*";
    FindFile1->Criteria.Files.Location.clear();
    FindFile1->Criteria.Files.Included = {IncludeFolderDelimiter(folder) + L"*"};
    FindFile1->Criteria.Attribute.SetAttributes(Checkfile->Checked() ? TFileAttributes{ffArchive, ffHidden, ffSystem}
                                                                     : TFileAttributes{ffHidden, ffSystem, ffDirectory});
    FindFile1->Execute();
}

void TForm1::StopButtonClick(TObject*) {
    if (FRunner) {
        FRunner->Cancel();  // the run ends before its next block, and says so
        return;
    }
    FindFile1->Abort();
    FSearching = false;
    UpdateActions();
}

void TForm1::UpdateActions() {
    FindButton->SetEnabled(!Busy());
    StopButton->SetEnabled(Busy());
    // Rows still arriving are rows nobody has looked at yet; rows an action is working on are its own.
    for (TControl* control : {static_cast<TControl*>(SpeedButton4), static_cast<TControl*>(SpeedButton5),
                              static_cast<TControl*>(CheckBox1)})
        control->SetEnabled(!Busy());
    for (TControl* control : {static_cast<TControl*>(SpeedButton2), static_cast<TControl*>(SpeedButton1)})
        control->SetEnabled(!Busy() && !FCustomShown);
    ShellTreeView1->SetEnabled(!FRunner);
    for (TControl* control : {static_cast<TControl*>(RadioButton1), static_cast<TControl*>(Checkfile)})
        control->SetEnabled(!FCustomShown);
}

void TForm1::FindFile1SearchBegin(TFindFile*) {
    FIdentifiedRoot.clear();  // raised before the walk starts: the walking thread takes it from here
    SetTimer(Handle(), FeedTimerId, TSearchFeed::TickMs, nullptr);
    FSearching = true;
    UpdateActions();
    Animate->SetActive(true);
    FFolderCount = 0;
    FUnopenedCount = 0;
    FoundFiles->SetColumnClick(false);
    FStartTick = GetTickCount();
}

void TForm1::FindFile1FolderChange(TFindFile*, const std::wstring& folder, TFolderIgnore&) {
    TSearchNote note;
    note.Kind = TSearchNote::Folder;
    note.Location = folder;
    Notify(std::move(note));
}

void TForm1::FindFile1FolderError(TFindFile*, const std::wstring& folder, DWORD) {
    TSearchNote note;
    note.Kind = TSearchNote::Unopened;
    note.Location = folder;
    Notify(std::move(note));
}

void TForm1::FindFile1FileMatch(TFindFile* Sender, const std::wstring& folder, const TSearchRec& fileInfo) {
    // The texts and the name's sort key are made here, on the walking thread, so the window's thread only
    // has to store and show them.
    // The row keeps what it stands for apart from its texts: the texts are for people, the object's
    // path and attributes are what an action checks and acts on.
    TSearchNote note;
    note.Object.Path = folder + fileInfo.Name;
    note.Object.Attributes = fileInfo.Attr;
    // Who the object and its searched folder are, so that an action can tell them from whatever takes
    // their names later. The folder is asked once per folder searched.
    const std::wstring& root = Sender->CurrentTarget()->Path;
    if (root != FIdentifiedRoot) {
        FIdentifiedRoot = root;
        FSearchedFolder = IdentifySearchedFolder(root);
    }
    note.Object.RootLength = root.size();
    IdentifyListed(note.Object, FSearchedFolder, fileInfo.FileId);
    note.Object.Size = fileInfo.Size64();
    note.Object.Modified = fileInfo.FindData.ftLastWriteTime;
    note.Name = NameText(fileInfo.Name, note.Object);
    note.SortKey = TListRows::SortKey(note.Name);
    note.Location = folder;
    note.Size = SizeText(fileInfo.Attr, fileInfo.Size64());
    note.Modified = ModifiedText(fileInfo.FindData.ftLastWriteTime);
    Notify(std::move(note));
}

void TForm1::Notify(TSearchNote note) {
    if (!TThread::IsMainThread()) {
        FFeed.Post(std::move(note));
        return;
    }
    std::vector<TSearchNote> one;
    one.push_back(std::move(note));
    ApplyNotes(one);
    // An unthreaded search runs inside Execute on this thread: keep the window answering meanwhile.
    if (!FindFile1->Threaded) Application().ProcessMessages();
}

void TForm1::ApplyNotes(std::vector<TSearchNote>& notes) {
    const TSearchNote* lastFolder = nullptr;
    for (auto& note : notes) {
        switch (note.Kind) {
            case TSearchNote::Folder:
                ++FFolderCount;
                lastFolder = &note;
                break;
            case TSearchNote::Unopened:
                ++FUnopenedCount;
                break;
            case TSearchNote::Match:
                FoundFiles->AddItem(std::move(note.Name), std::move(note.SortKey),
                                    {std::move(note.Location), std::move(note.Size), std::move(note.Modified)},
                                    std::move(note.Object));
                break;
        }
    }
    // Only the last folder of a batch would stay visible, and one a second is all anybody can read: show
    // just that one, and not more often than that.
    const ULONGLONG now = GetTickCount64();
    if (lastFolder && now - FLastStatus >= StatusIntervalMs) {
        StatusBar1->SetSimpleText(lastFolder->Location);
        FLastStatus = now;
    }
}

void TForm1::FindFile1SearchFinish(TFindFile*) {
    KillTimer(Handle(), FeedTimerId);
    // Every notification raised before the end is on the list first, and the list shows them now
    // rather than when it would next have caught up.
    FoundFiles->BeginUpdate();
    FFeed.Drain();
    FoundFiles->EndUpdate();
    uint32_t elapsed = GetTickCount() - FStartTick;  // unsigned: right across a wrap of the counter
    // A folder that could not be listed was entered but not searched.
    StatusBar1->SetSimpleText(FinishLine(FFolderCount - FUnopenedCount, FoundFiles->Count(), elapsed,
                                         FindFile1->Aborted(), FUnopenedCount));
    Animate->SetActive(false);
    FSearching = false;
    UpdateActions();
    FoundFiles->SetColumnClick(true);
}

void TForm1::FoundFilesClick(TObject*) {}

// ---- Unhide, delete and "Checked All" ----

void TForm1::SpeedButton2Click(TObject*) { ActOnRows(TRowAction::Unhide, TRowSet::All); }
void TForm1::SpeedButton1Click(TObject*) { ActOnRows(TRowAction::Unhide, TRowSet::Ticked); }
void TForm1::SpeedButton4Click(TObject*) { ActOnRows(TRowAction::Delete, TRowSet::All); }
void TForm1::SpeedButton5Click(TObject*) { ActOnRows(TRowAction::Delete, TRowSet::Ticked); }

std::vector<int> TForm1::RowsIn(TRowSet set) {
    if (set == TRowSet::Selected) return FoundFiles->SelectedIndices();
    std::vector<int> rows;
    for (int i = 0; i < FoundFiles->Count(); ++i)
        if (set == TRowSet::All || FoundFiles->Checked(i)) rows.push_back(i);
    return rows;
}

const TListedObject* TForm1::ListedObject(int row) { return std::any_cast<TListedObject>(&FoundFiles->Data(row)); }

void TForm1::ActOnRows(TRowAction action, TRowSet set) {
    if (Busy()) return;
    const std::vector<int> rows = RowsIn(set);
    // A command on no selection is no command; a button always answers.
    if (set == TRowSet::Selected && rows.empty()) return;
    const char* const verb = DoneWord(action);
    if (rows.empty()) {
        ShowMessageBox(Utf8ToWide(set == TRowSet::Ticked ? Format("No row is ticked: nothing was %s.", verb)
                                                         : Format("The list is empty: nothing was %s.", verb)),
                       Application().Title(), MB_OK);
        return;
    }
    // Each row with the object it stands for, last row first; then deepest first, so that a hidden
    // folder comes after the hidden things inside it.
    std::vector<std::pair<int, TListedObject>> objects;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        if (const TListedObject* object = ListedObject(*row)) objects.emplace_back(*row, *object);
    std::stable_sort(objects.begin(), objects.end(),
                     [](const auto& a, const auto& b) { return a.second.Depth() > b.second.Depth(); });
    if (action == TRowAction::Delete && !ConfirmDelete(set, objects)) return;
    if (objects.empty()) {
        ShowMessageBox(Utf8ToWide(Format("Nothing was %s: every object chosen was one you chose to keep.", verb)),
                       Application().Title(), MB_OK);
        return;
    }
    // A journal that cannot be used is said before anything is changed, and the user decides.
    TChangeRecorder* recorder = &FJournal;
    if (action == TRowAction::Unhide && !FJournal.Usable()) {
        if (ShowMessageBox(FJournal.Problem() + L"\n\nClarivo writes down every unhide there so that it can be undone. "
                                                L"Unhide anyway, without a way to undo it?",
                           L"Warning", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
            return;
        recorder = &FUnrecorded;
    }
    if (action == TRowAction::Unhide) FJournal.BeginBatch(TBatchKind::Unhide);

    std::vector<TRunItem> items;
    for (auto& [row, object] : objects) items.push_back({row, std::move(object)});
    const wchar_t* const question = action == TRowAction::Unhide ? UnhideOtherNamesQuestion : DeleteOtherNamesQuestion;
    FRunCounts = {};
    FRemovedRows.clear();
    FRunner = std::make_unique<TActionRunner>(
        action, std::move(items), *recorder, Handle(),
        [question](const TListedObject& first) {
            return ShowMessageBox(first.Path + question, L"Warning", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
        },
        [this](std::vector<TRunNote>& notes) { ApplyRunNotes(notes); });
    FRunUnrecorded = recorder == &FUnrecorded;
    ActionProgress->SetMax(std::max(1, static_cast<int>(FRunner->Items().size())));
    ActionProgress->SetPosition(0);
    ActionProgress->SetVisible(true);
    UpdateActions();
    ShowRunProgress();
    SetTimer(Handle(), RunTimerId, TActionRunner::TFeed::TickMs, nullptr);
    FRunner->Start();
}

int TForm1::CurrentRow(int row) const {
    return row - static_cast<int>(std::lower_bound(FRemovedRows.begin(), FRemovedRows.end(), row) - FRemovedRows.begin());
}

void TForm1::ApplyRunNotes(std::vector<TRunNote>& notes) {
    std::vector<int> done;
    for (const TRunNote& note : notes) {
        const int row = FRunner->Items()[note.Index].Row;
        if (FRunCounts.Add(note.Result)) {
            done.push_back(row);
        } else if (note.Result == TActionResult::OtherNames) {
            const int now = CurrentRow(row);
            if (!FoundFiles->ItemCaption(now).ends_with(OtherNamesMark))
                FoundFiles->SetItemCaption(now, FoundFiles->ItemCaption(now) + OtherNamesMark);
        }
    }
    if (done.empty()) return;
    // From the last row to the first, so removing a row never moves one still to come.
    std::vector<int> current;
    for (int row : done) current.push_back(CurrentRow(row));
    std::sort(current.begin(), current.end(), std::greater<>());
    FoundFiles->BeginUpdate();
    for (int row : current) FoundFiles->Delete(row);
    FoundFiles->EndUpdate();
    std::sort(done.begin(), done.end());
    std::vector<int> removed;
    std::merge(FRemovedRows.begin(), FRemovedRows.end(), done.begin(), done.end(), std::back_inserter(removed));
    FRemovedRows = std::move(removed);
}

void TForm1::ShowRunProgress() {
    const char* const doing[] = {"Unhiding", "Deleting", "Moving to the Recycle Bin"};
    const size_t done = FRunner->DoneCount(), total = FRunner->Items().size();
    const std::wstring current = FRunner->Current();
    StatusBar1->SetSimpleText(Utf8ToWide(Format("%s %s of %s", doing[static_cast<int>(FRunner->Action())],
                                                GroupedNumber(done).c_str(), GroupedNumber(total).c_str())) +
                              (current.empty() ? L"" : L" - " + current));
    ActionProgress->SetPosition(static_cast<int>(done));
}

void TForm1::FinishRun() {
    KillTimer(Handle(), RunTimerId);
    FRunner->Drain();
    const std::unique_ptr<TActionRunner> runner = std::move(FRunner);  // it has ended: letting it go waits for nothing
    ActionProgress->SetVisible(false);
    UpdateActions();
    const TRowAction action = runner->Action();
    const TRecycleOutcome& recycled = runner->Recycled();
    const TActionCounts& counts = FRunCounts;
    const char* const verb = DoneWord(action);
    StatusBar1->SetSimpleText(Utf8ToWide(Format("%s of %s object(s) %s.", GroupedNumber(static_cast<size_t>(counts.Done())).c_str(),
                                                GroupedNumber(runner->Items().size()).c_str(), verb)));

    std::wstring allDone(CompletedMessage);
    if (action == TRowAction::Recycle) {
        const int binned = counts.Done() - recycled.DeletedForGood;
        allDone = Utf8ToWide(Format("%d object(s) moved to the Recycle Bin.", binned));
        if (recycled.DeletedForGood > 0)
            allDone = Utf8ToWide(binned > 0 ? Format("%d object(s) moved to the Recycle Bin and ", binned) : std::string()) +
                      Utf8ToWide(Format("%d object(s) deleted for good: their drive has no Recycle Bin.", recycled.DeletedForGood));
    }
    std::wstring text = CountsReport(counts, allDone, verb, "since the search", FJournal.Path());
    if (action == TRowAction::Recycle && counts.Left() > 0 && recycled.DeletedForGood > 0)
        text += Utf8ToWide(Format("\n%d of those gone were deleted for good: their drive has no Recycle Bin.",
                                  recycled.DeletedForGood));
    if (recycled.Unreachable > 0) text += L"\n" + Utf8ToWide(Format(UnreachableNote, recycled.Unreachable)).substr(1);
    if (FAILED(recycled.Error))
        text += Utf8ToWide(Format("\n\nThe Recycle Bin could not be used (system error 0x%08lX): nothing was deleted instead.",
                                  static_cast<unsigned long>(recycled.Error)));
    if (FRunUnrecorded && counts.Done() > 0) text += L"\n\nThis unhide was not written down: it cannot be undone.";
    ShowMessageBox(text, Application().Title(), MB_OK);
}

bool TForm1::ConfirmDelete(TRowSet set, std::vector<std::pair<int, TListedObject>>& objects) {
    // Ticked or highlighted, to the user these are the files chosen.
    const wchar_t* question = set == TRowSet::All ? DeleteAllQuestion : DeleteSelectedQuestion;
    if (ShowMessageBox(question, L"Warning", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON1, true) != IDOK) return false;
    const auto links = std::count_if(objects.begin(), objects.end(), [](const auto& o) { return o.second.IsLink(); });
    if (links == 0) return true;
    // Hidden system links are mostly the system's own compatibility links ("Application Data", "My
    // Documents", "Documents and Settings"): older programs rely on them, so they go only when asked twice.
    const std::wstring text = Utf8ToWide(Format(
        "%d of the objects to delete are links to other folders, such as the system's compatibility links that "
        "older programs rely on. Deleting a link removes only the link, never what it leads to.\n\n"
        "Delete the links too? Choose No to delete everything else and keep the links.",
        static_cast<int>(links)));
    const int answer = ShowMessageBox(text, L"Warning", MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer == IDNO) std::erase_if(objects, [](const auto& o) { return o.second.IsLink(); });
    return answer == IDYES || answer == IDNO;
}

void TForm1::CheckBox1Click(TObject*) {
    const bool tick = CheckBox1->Checked();
    FoundFiles->BeginUpdate();
    for (int i = FoundFiles->Count() - 1; i >= 0; --i) FoundFiles->SetChecked(i, tick);
    FoundFiles->EndUpdate();
}

// ---- Commands on the selected rows ----

std::vector<int> TForm1::CommandRows() { return Busy() ? std::vector<int>{} : FoundFiles->SelectedIndices(); }

// The paths exactly as the objects have them, in their normal form (what the Location and Name columns
// show): they go to people and to other programs, which mostly cannot read the extended form "\\?\...".
void TForm1::CopyPathClick(TObject*) {
    std::wstring text;
    bool first = true;
    for (int row : CommandRows()) {
        if (const TListedObject* object = ListedObject(row)) {
            if (!std::exchange(first, false)) text += L"\r\n";
            text += object->Path;
        }
    }
    if (first) return;
    if (!SetClipboardText(Handle(), text))
        ShowMessageBox(L"The paths could not be put on the clipboard.", Application().Title(), MB_OK | MB_ICONWARNING);
}

// One Explorer window per folder among the selected rows, with the first selected object of each picked
// out, and at most MaxExplorerWindows. Found objects mostly lie together in a few folders: a window per
// row would stack copies of the same folder, and a selection of thousands must not start thousands of
// Explorers. The focused row alone would leave the other folders the user selected unseen.
void TForm1::RowMenuPopup(TObject*) {
    const bool canAct = !Busy() && !FoundFiles->SelectedIndices().empty();
    for (int i = 0; i < RowMenu->Items()->Count(); ++i) {
        TMenuItem* item = RowMenu->Items()->Items(i);
        // Undo needs no rows (what it puts back left the list when it was unhidden), export only some.
        item->SetEnabled(item == UndoUnhideItem ? !Busy()
                         : item == ExportItem   ? !Busy() && FoundFiles->Count() > 0
                                                : canAct);
    }
}

void TForm1::OpenFolderClick(TObject*) {
    std::vector<std::wstring> folders;
    TShellRefusals refusals;
    bool moreFolders = false;
    for (int row : CommandRows()) {
        const TListedObject* object = ListedObject(row);
        if (!object) continue;
        std::wstring folder(FolderPart(object->Path));
        if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
        if (folders.size() == MaxExplorerWindows) {
            moreFolders = true;
            break;
        }
        // A folder whose object could not be shown is tried again with the next selected object in it.
        if (ShowInShell(*object, ShowInFolder, refusals)) folders.push_back(std::move(folder));
    }
    ReportShellRefusals(refusals, moreFolders);
}

// One property sheet: the focused row's when it is selected (the row the user picked last), else the
// first selected row's.
void TForm1::PropertiesClick(TObject*) {
    const std::vector<int> rows = CommandRows();
    if (rows.empty()) return;
    const int focused = FoundFiles->FocusedIndex();
    const TListedObject* object =
        ListedObject(std::find(rows.begin(), rows.end(), focused) != rows.end() ? focused : rows.front());
    if (!object) return;
    TShellRefusals refusals;
    ShowInShell(*object, ShowProperties, refusals);
    ReportShellRefusals(refusals, false);
}

void TForm1::UnhideRowsClick(TObject*) { ActOnRows(TRowAction::Unhide, TRowSet::Selected); }

void TForm1::UndoUnhideClick(TObject*) {
    if (Busy()) return;
    const TJournalContents contents = ReadJournal(FJournal.Path());
    const TUndoPlan plan = PlanUndo(contents);
    std::wstring text;
    if (plan.Empty()) {
        text = !contents.Refused.empty() ? contents.Refused + L" Clarivo does not read it, so there is nothing to undo."
               : contents.Unreadable     ? L"The journal could not be read (another program may hold it): " + FJournal.Path()
               : contents.OtherFormat ? L"The journal was written by another version of Clarivo: there is no unhide to undo."
                                      : L"There is no unhide to undo.";
    } else {
        // Hiding again is a change like any other: the user sees what it will touch before it does.
        std::wstring question = Utf8ToWide(Format("Hide again the %d object(s) unhidden at ", static_cast<int>(plan.Changes.size()))) +
                                WhenText(plan.Time) + L"?";
        std::vector<std::wstring> paths;
        for (const TJournalEntry& change : plan.Changes) paths.push_back(change.Path);
        question += PathsText(paths);
        if (ShowMessageBox(question, L"Undo Unhide", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
        const TUndoOutcome undo = Undo(plan, FJournal);
        text = CountsReport(undo.Counts, Utf8ToWide(Format("The %d object(s) were hidden again.", undo.Counts.Done())),
                            "hidden again", "since they were unhidden", FJournal.Path());
        text += PathsText(undo.NotRestored);  // which ones, as far as a message box can list them
        if (undo.Counts.Left() > undo.Counts.Count(TActionResult::Changed))
            text += L"\n\nThose refused stay in the journal: Undo Unhide tries them again.";
    }
    if (plan.Untrusted > 0)
        text += Utf8ToWide(Format("\n\n%d line(s) of that unhide lack what Clarivo needs to check their objects and were "
                                  "passed over.", plan.Untrusted));
    if (contents.DamagedLines > 0)
        text += Utf8ToWide(Format("\n\nThe journal has %d damaged line(s), which were passed over.", contents.DamagedLines));
    ShowMessageBox(text, Application().Title(), MB_OK);
}

void TForm1::ExportListClick(TObject*) {
    if (Busy() || FoundFiles->Count() == 0) return;
    std::vector<int> rows = FoundFiles->SelectedIndices();
    if (rows.size() < 2) rows = RowsIn(TRowSet::All);
    std::vector<TListedObject> objects;
    for (int row : rows)
        if (const TListedObject* object = ListedObject(row)) objects.push_back(*object);

    TSaveRequest request;
    request.Title = L"Export List";
    request.Types = {{L"CSV (*.csv)", L"*.csv"}, {L"EFU file list (*.efu)", L"*.efu"}};
    request.FileName = L"Clarivo.csv";
    if (!ShowSaveDialog(Handle(), request)) return;
    // A name typed with one of the two extensions is taken at its word, whatever type was picked.
    const std::wstring_view name = NamePart(request.FileName);
    const size_t dot = name.rfind(L'.');
    const std::wstring_view extension = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
    const bool efu = SameFileName(extension, L".efu") || (request.TypeIndex == 1 && !SameFileName(extension, L".csv"));
    if (ExportToFile(request.FileName, efu ? TExportFormat::Efu : TExportFormat::Csv, objects)) return;
    const DWORD error = GetLastError();
    ShowMessageBox(L"The list could not be written to " + request.FileName + Utf8ToWide(Format(" (system error %lu).", error)),
                   Application().Title(), MB_OK | MB_ICONWARNING);
}

void TForm1::DeleteRowsClick(TObject*) { ActOnRows(TRowAction::Delete, TRowSet::Selected); }
void TForm1::RecycleRowsClick(TObject*) { ActOnRows(TRowAction::Recycle, TRowSet::Selected); }

void TForm1::FoundFilesKeyDown(TObject*, WORD& Key, TShiftState Shift) {
    if (Key == 'C' && Shift == ssCtrl)
        CopyPathClick(FoundFiles);
    else if (Key == VK_DELETE && Shift == 0)
        DeleteRowsClick(FoundFiles);
    else
        return;
    Key = 0;
}

// ---- Folder tree, view switches, custom panel, About and closing ----

void TForm1::ShellTreeView1Click(TObject*) { Edit1->SetText(ShellTreeView1->Path()); }

std::wstring TForm1::SelectFolder(const std::wstring& path) {
    std::wstring folder = AbsolutePath(path);
    const DWORD attr = GetFileAttributesW(ExtendedPath(folder).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return L"There is no folder " + folder + L".";
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) folder = std::wstring(FolderPart(folder));
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();  // "C:\" keeps its backslash
    // The tree reads the path through the shell, which would take "name." for "name": it is given only a
    // path that names this folder, and must then show exactly that one.
    if (!PlainPathIsExact(folder))
        return L"The folder tree cannot show " + folder + L" exactly: Windows would take its path for another folder's " +
               L"(a name ending in a dot or a space, a device name, or a path of 260 characters or more).";
    if (!ShellTreeView1->SetPath(folder) || !SameFileName(ShellTreeView1->Path(), folder))
        return L"The folder tree cannot show " + folder + L".";
    ShellTreeView1Click(ShellTreeView1);
    return {};
}

void TForm1::StartWith(const TStartOptions& options) {
    if (options.Files) Checkfile->SetChecked(true);
    std::wstring problem;
    if (!options.Unknown.empty()) {
        problem = L"Clarivo does not know these command line arguments and leaves them:";
        for (const std::wstring& argument : options.Unknown) problem += L" \"" + argument + L"\"";
        problem += L"\n\nUse: Clarivo.exe [folder] [/files] [/find]";
    }
    bool chosen = false;
    if (!options.Folder.empty()) {
        chosen = SelectFolder(options.Folder).empty();
        if (!chosen)
            problem = L"The folder \"" + options.Folder + L"\" given on the command line does not exist, or is no folder "
                      L"Clarivo can search. Clarivo starts as usual." + (problem.empty() ? L"" : L"\n\n" + problem);
    }
    if (!problem.empty()) ShowMessageBox(problem, Application().Title(), MB_OK | MB_ICONWARNING);
    // A search of the tree's own start (no folder on a disk) would only say to choose one.
    if (options.Find && chosen) FindButton->DoClick();
}

void TForm1::DropFiles(HDROP raw) {
    using UniqueDrop = UniqueHandle<NullHandleTraits<HDROP, DragFinish>>;
    const UniqueDrop drop(raw);
    // The first of what was dropped: one folder is what the tree can select.
    const UINT length = DragQueryFileW(drop.get(), 0, nullptr, 0);
    if (length == 0) return;
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop.get(), 0, path.data(), length + 1));
    const std::wstring problem = SelectFolder(path);
    if (!problem.empty()) StatusBar1->SetSimpleText(problem);
}

void TForm1::SetViewTypes(uint32_t objectTypes) {
    ShellTreeView1->SetObjectTypes(objectTypes);  // rebuilds the tree: the root ends selected
    ShellTreeView1->Refresh(ShellTreeView1->Selected());
}

void TForm1::ShowFileClick(TObject*) {
    SetViewTypes(ShowFile->Checked() ? ShellObjectBit(otFolders) | ShellObjectBit(otNonFolders) | ShellObjectBit(otHidden)
                                     : ShellObjectBit(otFolders) | ShellObjectBit(otHidden));
}

void TForm1::ShowHideClick(TObject*) {
    SetViewTypes(ShowHide->Checked() ? ShellObjectBit(otFolders) | ShellObjectBit(otNonFolders) | ShellObjectBit(otHidden)
                                     : ShellObjectBit(otFolders) | ShellObjectBit(otNonFolders));
}

void TForm1::CustomFindClick(TObject*) {
    FCustomShown = !FCustomShown;
    CustomFind->SetCaption(FCustomShown ? L"Find Hiden Object Only" : L"Custom");
    Panel1->SetVisible(FCustomShown);
    UpdateActions();
}

void TForm1::SpeedButton3Click(TObject*) {
    ShowMessageBox(std::wstring(AuthorEmail) + L"||" + MakerWebAddress, Application().Title(), MB_OK);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    // An action running ends before its next block, with what it did written down; nothing is reported.
    KillTimer(Handle(), RunTimerId);
    FRunner.reset();
    // The search ends before the window goes: its notifications need the list and the status bar.
    FindFile1->Abort();
    ShellOpen(MakerWebAddress);
}
