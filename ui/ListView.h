#pragma once
// TListView: a report-view list of rows with a check box each, kept in ascending order of the first
// column. The rows live in the control's own sorted storage behind an owner-data list view: a list view
// that sorts itself is quadratic in the number of rows, and an owner-data one only asks for the rows it
// shows. New rows are gathered into a batch and merged in one go (once per EndUpdate, or shortly after
// the last AddItem), so a search that adds rows one at a time stays fast with 100,000 rows.
#include "base/Exception.h"
#include "ui/WinControl.h"

#include <algorithm>
#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TListRow {
    std::wstring Caption;
    std::vector<std::wstring> SubItems;
    bool Checked = false;
    std::string SortKey;  // the Caption's sort key (TListRows::SortKey)
    std::any Data;        // what the row stands for, kept for its owner
    bool Selected = false;  // selected in the window: noted only while the window is out of step (TListView)
};

// The rows in ascending Caption order by the user locale's string comparison; rows with equal
// captions keep the order they came in. New rows wait in a batch until Merge. Each row carries the
// locale's sort key of its Caption, whose byte order is the comparison's order: sorting compares
// bytes instead of asking the locale again for every pair.
class TListRows {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The user locale's comparison of two names (as lstrcmpW): <0, 0, >0.
    static int Compare(std::wstring_view a, std::wstring_view b);

    // The locale's sort key of a caption. Any thread: a caller that adds many rows can make the keys where
    // it makes the rows' texts, off the window's thread.
    static std::string SortKey(std::wstring_view caption);

    // Adds a row; its SortKey is made here unless keyed says the row carries its Caption's key already.
    void Add(TListRow row, bool keyed = false);
    bool HasPending() const { return !FPending.empty(); }
    // Moves the waiting rows into their places.
    void Merge();
    // The first place whose row has changed since the last TakeFirstChanged (npos: none), and forget it.
    std::size_t TakeFirstChanged() { return std::exchange(FFirstChanged, npos); }

    // Sorted rows plus waiting ones.
    std::size_t Count() const { return FRows.size() + FPending.size(); }
    // The sorted rows only (those merged).
    std::size_t SortedCount() const { return FRows.size(); }
    TListRow& operator[](std::size_t index) { return *FRows[index]; }
    const TListRow& operator[](std::size_t index) const { return *FRows[index]; }
    void Erase(std::size_t index) {
        FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(index));
        FFirstChanged = std::min(FFirstChanged, index);
    }
    void Clear();

    // Where that row object sits now, or npos (rows keep their address while they live).
    std::size_t IndexOf(const TListRow* row) const;

private:
    using TRowPtr = std::unique_ptr<TListRow>;
    static bool Less(const TRowPtr& a, const TRowPtr& b) { return a->SortKey < b->SortKey; }

    std::vector<TRowPtr> FRows;
    std::vector<TRowPtr> FPending;
    std::size_t FFirstChanged = npos;
};

// A row index outside the list.
class EListError : public Exception { using Exception::Exception; };

// A key pressed in a control: Key is the virtual key; a handler that has dealt with it sets it to 0.
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

struct TListColumn {
    std::wstring Caption;
    int Width = 50;
};

// The class name the skin's control discovery knows list views by.
class TCustomListView : public TWinControl {
public:
    CLARIVO_CLASS
    using TWinControl::TWinControl;
};

class TListView : public TCustomListView {
public:
    CLARIVO_CLASS

    explicit TListView(TComponent* owner);

    void AddColumn(const std::wstring& caption, int width);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    const TListColumn& Column(int index) const { return FColumns.at(static_cast<std::size_t>(index)); }

    // Adds a row, unticked, in its place by Caption, with data that rides with the row wherever it moves
    // (Data). The window shows it within a tenth of a second, or up to a second while bringing the
    // window up to date is slow, or at EndUpdate while an update is open.
    void AddItem(std::wstring caption, std::vector<std::wstring> subItems = {}, std::any data = {});
    // The same with the caption's sort key made beforehand (TListRows::SortKey of caption).
    void AddItem(std::wstring caption, std::string sortKey, std::vector<std::wstring> subItems, std::any data);
    void Clear();
    int Count() const { return static_cast<int>(FRows.Count()); }
    std::wstring ItemCaption(int index);
    // A new caption for the row; it keeps its place (the sort key it was added with).
    void SetItemCaption(int index, std::wstring caption);
    // Column 1 is the first after the caption; "" past the row's last sub-item.
    std::wstring SubItem(int index, int column);
    const std::any& Data(int index);
    bool Checked(int index);
    void SetChecked(int index, bool checked);
    void Delete(int index);

    // The selection: the highlighted rows, as against the ticked ones. Several rows can be selected
    // (Shift and Ctrl with clicks and arrow keys, Ctrl+A), and a row stays selected wherever it moves.
    // The first selected row, or -1; SetItemIndex selects (and focuses) that row alone, or none.
    int ItemIndex();
    void SetItemIndex(int index);
    std::vector<int> SelectedIndices();  // in list order
    void SetSelected(int index, bool selected);
    void SelectAll();
    // The row with the focus rectangle (the one the keyboard moves from), or -1.
    int FocusedIndex();
    // Space ticks the selected rows as one: all of them when any is unticked, else none. With no row
    // selected it toggles the focused row.
    void TickSelected();

    // Raised for every key pressed in the list, before the list's own handling (Ctrl+A selects all
    // rows, Space ticks the selected ones, the rest is the system list's).
    TKeyEvent OnKeyDown;

    // Between these the list is neither repainted nor told about new or removed rows; the last
    // EndUpdate shows all changes at once (or, when the window was brought up to date only a moment
    // before, as soon as messages are next served).
    void BeginUpdate();
    void EndUpdate();

    // Whether a click on a column header looks pressed (and reports LVN_COLUMNCLICK).
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void CheckIndex(int index);
    TListRow& Row(int index);
    void InsertColumn(int index);
    void ApplyColumnClick();

    // Keeping the window in step with the rows. The window's rows change only in PushRows; before the
    // first change of the rows after a push, the selected and focused rows are noted so that PushRows
    // can select them again wherever they have moved.
    void MergePending();
    // Merges, pushes and repaints what is waiting.
    void SyncWindow();
    void RowsChanging();
    void PushRows();
    void ScheduleMerge();
    // How long new rows may wait for the window, from what the last push and paint cost.
    UINT PushInterval() const;
    // Repaints the rows of the page from index on (npos: none).
    void InvalidateFrom(std::size_t index);
    TListRow* RowAtWindowIndex(int windowIndex);
    void PostSync();
    void Toggle(int index);
    void ClearWindowSelection();
    std::vector<int> WindowSelection();
    void KeyDown(TMessage& message);

    bool OnNotify(NMHDR& header, LRESULT& result);
    void GetDispInfo(NMLVDISPINFOW& info);
    int FindItem(const NMLVFINDITEMW& find);

    TListRows FRows;
    std::vector<TListColumn> FColumns;
    bool FColumnClick = true;
    int FUpdateCount = 0;
    bool FWindowStale = false;      // the window still shows the rows as they were at the last push
    bool FSyncPosted = false;        // a sync message is on its way to the window
    bool FRepaintWanted = false;     // check marks changed or an update ended: repaint at the next sync
    bool FEraseWanted = false;       // ... with the background (rows may have gone)
    bool FMergeTimer = false;
    std::uint64_t FLastPush = 0;    // GetTickCount64 at the last push
    double FPushCost = 0, FPaintCost = 0;  // milliseconds the last push and the last paint took
    // Noted at the first change after a push: the selected rows (each marked Selected; how many), the
    // focused row and where the window has it.
    std::size_t FSelectedNoted = 0;
    const TListRow* FFocusedRow = nullptr;
    int FFocusedAt = -1;
};
