#pragma once
// TForm1: Clarivo's window. The user picks a folder in the shell tree, chooses hidden folders or hidden
// files and presses "Find"; the search runs on a worker thread and its results fill the list, which the
// unhide and delete buttons then act on. The layout and the components' stored settings come from the
// window's description (app/Form1.form).
#include "app/ActionRunner.h"
#include "app/CommandLine.h"
#include "app/FindFileComponent.h"
#include "app/Journal.h"
#include "app/SearchFeed.h"
#include "ui/CustomForm.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TAnimate;
class TCheckBox;
class TEdit;
class TLabel;
class TListView;
class TMenuItem;
class TPopupMenu;
class TPanel;
class TProgressBar;
class TRadioButton;
class TShellTreeView;
class TSkinData;
class TSpeedButton;
class TSpinEdit;
class TStatusBar;

class TForm1 : public TForm {
public:
    CLARIVO_CLASS

    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // The window's fields, in the order of the description.
    TShellTreeView* ShellTreeView1 = nullptr;
    TEdit* Edit1 = nullptr;
    TSpeedButton* FindButton = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TListView* FoundFiles = nullptr;
    TPopupMenu* RowMenu = nullptr;
    TMenuItem* UndoUnhideItem = nullptr;
    TMenuItem* ExportItem = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TProgressBar* ActionProgress = nullptr;
    TAnimate* Animate = nullptr;
    TSpeedButton* StopButton = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* Checkfile = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TCheckBox* ShowFile = nullptr;
    TCheckBox* ShowHide = nullptr;
    TSpeedButton* CustomFind = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* FileNameEdit = nullptr;
    TEdit* ContainingEdit = nullptr;
    TSpinEdit* SizeMin = nullptr;
    TSpinEdit* SizeMax = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TSkinData* SkinData1 = nullptr;
    TFindFileComponent* FindFile1 = nullptr;

    // Search run.
    void FormCreate(TObject* Sender);
    void FindButtonClick(TObject* Sender);
    void StopButtonClick(TObject* Sender);
    void FindFile1SearchBegin(TFindFile* Sender);
    void FindFile1FolderChange(TFindFile* Sender, const std::wstring& Folder, TFolderIgnore& IgnoreFolder);
    void FindFile1FileMatch(TFindFile* Sender, const std::wstring& Folder, const TSearchRec& FileInfo);
    void FindFile1FolderError(TFindFile* Sender, const std::wstring& Folder, DWORD Error);
    void FindFile1SearchFinish(TFindFile* Sender);
    void FoundFilesClick(TObject* Sender);

    // Unhide, delete and "Checked All".
    void SpeedButton2Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

    // Commands on the selected (highlighted) rows of the result list, as against the ticked rows the
    // buttons take. Each does nothing, and asks nothing, while a search runs or when no row is selected.
    void OpenFolderClick(TObject* Sender);
    void CopyPathClick(TObject* Sender);
    void PropertiesClick(TObject* Sender);
    void UnhideRowsClick(TObject* Sender);
    void DeleteRowsClick(TObject* Sender);
    // Moves the selected rows' objects to the Recycle Bin (folders with what they hold).
    void RecycleRowsClick(TObject* Sender);
    // Puts back the attributes the last unhide changed, where they are still as it left them (Ctrl+Z).
    void UndoUnhideClick(TObject* Sender);
    // Writes the rows to a file chosen in the Save dialog, as CSV or as an EFU file list: the selected
    // rows when more than one is selected, else every row.
    void ExportListClick(TObject* Sender);
    // Ctrl+C copies the selected rows' paths, Del deletes their objects (after the question).
    void FoundFilesKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    // The context menu of the rows offers its commands only when they can act.
    void RowMenuPopup(TObject* Sender);

    // Folder tree, view switches, custom panel, About and closing.
    void ShellTreeView1Click(TObject* Sender);
    void ShowFileClick(TObject* Sender);
    void ShowHideClick(TObject* Sender);
    void CustomFindClick(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

    int FolderCount() const { return FFolderCount; }
    // An unhide, delete or Move to Recycle Bin is running beside the window.
    bool Acting() const { return FRunner != nullptr; }
    int UnopenedCount() const { return FUnopenedCount; }
    bool CustomShown() const { return FCustomShown; }
    // Takes the command line's choices: the folder selected in the tree, hidden files or folders, and
    // the search started. A folder that is not there is said so, and the rest of the start is as usual.
    void StartWith(const TStartOptions& options);
    // Selects a folder of the file system in the tree (a file's own folder for a file), as a click on it
    // would. Empty when it did; else why not, for the user.
    std::wstring SelectFolder(const std::wstring& path);

    // Where attribute changes are written down (the user's journal unless told otherwise).
    TJournal& Journal() { return FJournal; }

protected:
    void Loaded() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    // F5 starts a search and Esc stops one, wherever the focus is in the window.
    bool IsShortCut(WPARAM key) override;

private:
    // The rows an action takes: every row, the ticked ones (the buttons) or the selected ones (the commands).
    enum class TRowSet { All, Ticked, Selected };
    std::vector<int> RowsIn(TRowSet set);
    // The selected rows in list order, or none while a search runs (the commands are off then).
    std::vector<int> CommandRows();
    // What the row stands for (null for a row that stands for nothing).
    const TListedObject* ListedObject(int row);
    // Acts on the objects of the rows in set, deepest first so that a folder comes after what it holds,
    // and removes the rows whose object was dealt with; then says how it went. With set Selected and no
    // row selected it does nothing at all.
    void ActOnRows(TRowAction action, TRowSet set);
    // Delete asks first, and once more when links are among the objects; false when the user said no.
    // Links the user chose to keep are taken out of objects.
    bool ConfirmDelete(TRowSet set, std::vector<std::pair<int, TListedObject>>& objects);
    // Enables what may be used now: nothing that acts on the rows while a search fills them or an action
    // runs.
    void UpdateActions();
    bool Busy() const { return FSearching || FRunner; }
    // Applies what the running action has done: rows of objects done leave the list.
    void ApplyRunNotes(std::vector<TRunNote>& notes);
    // The row an item of the run stands on now (rows before it may have left).
    int CurrentRow(int row) const;
    void ShowRunProgress();
    // The run has ended: its last notes applied, the window unlocked, and the user told how it went.
    void FinishRun();
    // Applies notifications on the window's thread, in the order raised.
    void ApplyNotes(std::vector<TSearchNote>& notes);
    // A notification from the search: straight away on the window's thread, queued from the worker.
    void Notify(TSearchNote note);
    void SetViewTypes(uint32_t objectTypes);
    // A folder (or file) dropped on the window from Explorer.
    void DropFiles(HDROP drop);

    int FFolderCount = 0;
    int FUnopenedCount = 0;
    bool FSearching = false;
    uint32_t FStartTick = 0;
    uint64_t FLastStatus = 0;  // GetTickCount64 when the status line last showed a folder
    bool FCustomShown = false;
    TSearchFeed FFeed;
    TJournal FJournal;
    TUnrecorded FUnrecorded;  // for an unhide the user chose to make without the journal
    std::unique_ptr<TActionRunner> FRunner;
    TActionCounts FRunCounts;
    bool FRunUnrecorded = false;
    std::vector<int> FRemovedRows;  // the rows the run has taken out, as they were numbered at its start, sorted
    // The walking thread's own: the searched folder whose identity it last asked, and that identity.
    std::wstring FIdentifiedRoot;
    TSearchedFolder FSearchedFolder;
};

extern TForm1* Form1;
