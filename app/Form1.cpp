#include "app/Form1.h"

#include "app/Contact.h"
#include "app/FileActions.h"
#include "app/Launcher.h"
#include "app/RowText.h"
#include "base/StrUtils.h"
#include "base/Thread.h"
#include "skin/data/SkinData.h"
#include "ui/Animate.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/ShellTreeView.h"
#include "ui/SpeedButton.h"
#include "ui/SpinEdit.h"
#include "ui/StatusBar.h"

TForm1* Form1 = nullptr;

namespace {

// While a search runs, this timer has the window take the notifications waiting in the feed.
constexpr UINT_PTR FeedTimerId = 1;

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

}  // namespace

const TClassInfo TForm1::MetaClass("TForm1", &TForm::MetaClass, nullptr, {});

// The classes the description creates by name. Naming them here links them into the program: a class
// nothing refers to would be left out of the link, and the reader could not find it.
extern const TClassInfo* const Form1Classes[];
const TClassInfo* const Form1Classes[] = {
    &TShellTreeView::MetaClass, &TEdit::MetaClass,     &TSpeedButton::MetaClass,       &TListView::MetaClass,
    &TStatusBar::MetaClass,     &TAnimate::MetaClass,  &TRadioButton::MetaClass,       &TCheckBox::MetaClass,
    &TPanel::MetaClass,         &TLabel::MetaClass,    &TSpinEdit::MetaClass,          &TFindFileComponent::MetaClass,
    &TSkinData::MetaClass,
};

TForm1::TForm1(TComponent* owner)
    : TForm(owner), FFeed([this](std::vector<TSearchNote>& notes) { ApplyNotes(notes); }) {
    auto& b = Bindings();
    b.AddField("ShellTreeView1", ShellTreeView1);
    b.AddField("Edit1", Edit1);
    b.AddField("FindButton", FindButton);
    b.AddField("SpeedButton2", SpeedButton2);
    b.AddField("FoundFiles", FoundFiles);
    b.AddField("StatusBar1", StatusBar1);
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
    b.AddHandler("FindFile1SearchFinish", this, &TForm1::FindFile1SearchFinish);
    b.AddHandler("FoundFilesClick", this, &TForm1::FoundFilesClick);
    b.AddHandler("SpeedButton2Click", this, &TForm1::SpeedButton2Click);
    b.AddHandler("SpeedButton1Click", this, &TForm1::SpeedButton1Click);
    b.AddHandler("SpeedButton4Click", this, &TForm1::SpeedButton4Click);
    b.AddHandler("SpeedButton5Click", this, &TForm1::SpeedButton5Click);
    b.AddHandler("CheckBox1Click", this, &TForm1::CheckBox1Click);
    b.AddHandler("ShellTreeView1Click", this, &TForm1::ShellTreeView1Click);
    b.AddHandler("ShowFileClick", this, &TForm1::ShowFileClick);
    b.AddHandler("ShowHideClick", this, &TForm1::ShowHideClick);
    b.AddHandler("CustomFindClick", this, &TForm1::CustomFindClick);
    b.AddHandler("SpeedButton3Click", this, &TForm1::SpeedButton3Click);

    ReadDescriptionResource(L"TFORM1");
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::Loaded() {
    TForm::Loaded();
    FoundFiles->AddColumn(L"Name", 100);
    FoundFiles->AddColumn(L"Location", 303);
    FoundFiles->AddColumn(L"Size", 60);
    FoundFiles->AddColumn(L"Modified", 120);
}

void TForm1::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER && message.WParam == FeedTimerId) {
        FFeed.Drain();
        return;
    }
    TForm::WndProc(message);
}

// ---- Search run ----

void TForm1::FormCreate(TObject*) {
    // The stored criteria name no folder: this run only raises begin and finish, which leave the
    // window in its idle state with a status line of zeros.
    FindFile1->Execute();
}

void TForm1::FindButtonClick(TObject*) {
    FoundFiles->Clear();
    FindFile1->Threaded = true;
    FindFile1->Criteria.Files.FileName = L"*";
    FindFile1->Criteria.Files.Location = ShellTreeView1->Path();
    FindFile1->Criteria.Attribute.SetAttributes(Checkfile->Checked() ? TFileAttributes{ffArchive, ffHidden, ffSystem}
                                                                     : TFileAttributes{ffHidden, ffSystem, ffDirectory});
    FindFile1->Execute();
}

void TForm1::StopButtonClick(TObject*) {
    FindFile1->Abort();
    StopButton->SetEnabled(false);
    FindButton->SetEnabled(true);
}

void TForm1::FindFile1SearchBegin(TFindFile*) {
    SetTimer(Handle(), FeedTimerId, TSearchFeed::TickMs, nullptr);
    FindButton->SetEnabled(false);
    StopButton->SetEnabled(true);
    Animate->SetActive(true);
    FFolderCount = 0;
    FoundFiles->SetColumnClick(false);
    FStartTick = GetTickCount();
}

void TForm1::FindFile1FolderChange(TFindFile*, const std::wstring& folder, TFolderIgnore&) {
    TSearchNote note;
    note.IsFolder = true;
    note.Location = folder;
    Notify(std::move(note));
}

void TForm1::FindFile1FileMatch(TFindFile*, const std::wstring& folder, const TSearchRec& fileInfo) {
    // The texts are made here, on the walking thread, so the window's thread only has to show them.
    TSearchNote note;
    note.Name = fileInfo.Name;
    note.Location = folder;
    note.Size = SizeText(fileInfo.Attr, fileInfo.Size64());
    note.Modified = ModifiedText(fileInfo.Time);
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
        if (note.IsFolder) {
            ++FFolderCount;
            lastFolder = &note;
        } else {
            FoundFiles->AddItem(std::move(note.Name),
                                {std::move(note.Location), std::move(note.Size), std::move(note.Modified)});
        }
    }
    // Only the last folder of a batch would stay visible: show just that one.
    if (lastFolder) StatusBar1->SetSimpleText(lastFolder->Location);
}

void TForm1::FindFile1SearchFinish(TFindFile*) {
    KillTimer(Handle(), FeedTimerId);
    FFeed.Drain();  // every notification raised before the end is on the list first
    uint32_t elapsed = GetTickCount() - FStartTick;  // unsigned: right across a wrap of the counter
    StatusBar1->SetSimpleText(FinishLine(FFolderCount, FoundFiles->Count(), elapsed, FindFile1->Aborted()));
    Animate->SetActive(false);
    StopButton->SetEnabled(false);
    FindButton->SetEnabled(true);
    FoundFiles->SetColumnClick(true);
}

void TForm1::FoundFilesClick(TObject*) {}

// ---- Unhide, delete and "Checked All" ----

void TForm1::SpeedButton2Click(TObject*) { ActOnRows(TRowAction::Unhide, false); }
void TForm1::SpeedButton1Click(TObject*) { ActOnRows(TRowAction::Unhide, true); }
void TForm1::SpeedButton4Click(TObject*) { ActOnRows(TRowAction::Delete, false); }
void TForm1::SpeedButton5Click(TObject*) { ActOnRows(TRowAction::Delete, true); }

void TForm1::ActOnRows(TRowAction action, bool tickedOnly) {
    if (action == TRowAction::Delete) {
        const wchar_t* question = tickedOnly ? DeleteSelectedQuestion : DeleteAllQuestion;
        if (ShowMessageBox(question, L"Warning", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON1, true) != IDOK) return;
    }
    int tried = 0, failed = 0;
    FoundFiles->BeginUpdate();
    // From the last row to the first, so removing a row never moves one still to come.
    for (int i = FoundFiles->Count() - 1; i >= 0; --i) {
        if (tickedOnly && !FoundFiles->Checked(i)) continue;
        const std::wstring path = FoundFiles->SubItem(i, 1) + FoundFiles->ItemCaption(i);
        const bool done = action == TRowAction::Unhide ? UnhideObject(path) : DeleteObject(path);
        ++tried;
        if (done)
            FoundFiles->Delete(i);
        else
            ++failed;  // the row stays, so the user sees what is still there
    }
    FoundFiles->EndUpdate();
    std::wstring text = CompletedMessage;
    if (failed > 0)
        text = Utf8ToWide(Format(action == TRowAction::Unhide ? "%d of %d object(s) could not be unhidden."
                                                              : "%d of %d object(s) could not be deleted.",
                                 failed, tried));
    ShowMessageBox(text, Application().Title(), MB_OK);
}

void TForm1::CheckBox1Click(TObject*) {
    const bool tick = CheckBox1->Checked();
    FoundFiles->BeginUpdate();
    for (int i = FoundFiles->Count() - 1; i >= 0; --i) FoundFiles->SetChecked(i, tick);
    FoundFiles->EndUpdate();
}

// ---- Folder tree, view switches, custom panel, About and closing ----

void TForm1::ShellTreeView1Click(TObject*) { Edit1->SetText(ShellTreeView1->Path()); }

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
    for (TControl* control : {static_cast<TControl*>(SpeedButton2), static_cast<TControl*>(SpeedButton1),
                              static_cast<TControl*>(RadioButton1), static_cast<TControl*>(Checkfile)})
        control->SetEnabled(!FCustomShown);
}

void TForm1::SpeedButton3Click(TObject*) {
    ShowMessageBox(std::wstring(AuthorEmail) + L"||" + MakerWebAddress, Application().Title(), MB_OK);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
    StartCommand(L"explorer \"" + std::wstring(MakerWebAddress) + L"\"");
}
