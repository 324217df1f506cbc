#include "ui/ListView.h"

#include "ui/Properties.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>

// ---- TListRows ----

int TListRows::Compare(std::wstring_view a, std::wstring_view b) {
    auto length = [](std::wstring_view s) { return static_cast<int>(std::min<std::size_t>(s.size(), INT_MAX)); };
    // CompareStringW returns 1, 2 or 3 for less, equal, greater (0 only for bad arguments).
    return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), length(a), b.data(), length(b)) - CSTR_EQUAL;
}

std::string TListRows::SortKey(std::wstring_view caption) {
    const int length = static_cast<int>(std::min<std::size_t>(caption.size(), INT_MAX));
    if (length == 0) return {};
    int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, caption.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::string key(static_cast<std::size_t>(size), '\0');
    // With LCMAP_SORTKEY the output is bytes, counted in bytes.
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, caption.data(), length, reinterpret_cast<LPWSTR>(key.data()), size);
    return key;
}

void TListRows::Add(TListRow row, bool keyed) {
    if (!keyed) row.SortKey = SortKey(row.Caption);
    FPending.push_back(std::make_unique<TListRow>(std::move(row)));
}

void TListRows::Merge() {
    if (FPending.empty()) return;
    std::stable_sort(FPending.begin(), FPending.end(), Less);
    // The first new row goes where the first row that moves was.
    const auto first = std::upper_bound(FRows.begin(), FRows.end(), FPending.front(), Less);
    const auto kept = static_cast<std::size_t>(first - FRows.begin());
    FFirstChanged = std::min(FFirstChanged, kept);
    // Merged from the back into the grown vector: the rows before the first new one are neither moved
    // nor compared, and no buffer the size of the list is needed. A new row goes after the rows whose
    // key equals its own, so rows with equal captions keep the order they came in.
    const std::size_t old = FRows.size();
    FRows.resize(old + FPending.size());   // moves the vector: iterators are taken afresh
    const auto stay = FRows.begin() + static_cast<std::ptrdiff_t>(kept);
    auto out = FRows.end();
    auto held = FRows.begin() + static_cast<std::ptrdiff_t>(old);
    for (auto added = FPending.end(); added != FPending.begin();) {
        if (held != stay && Less(*(added - 1), *(held - 1)))
            *--out = std::move(*--held);
        else
            *--out = std::move(*--added);
    }
    FPending.clear();
}

void TListRows::Clear() {
    FRows.clear();
    FPending.clear();
    FFirstChanged = npos;
}

std::size_t TListRows::IndexOf(const TListRow* row) const {
    if (!row) return npos;
    auto first = std::lower_bound(FRows.begin(), FRows.end(), row->SortKey,
                                  [](const TRowPtr& r, const std::string& key) { return r->SortKey < key; });
    for (auto it = first; it != FRows.end() && (*it)->SortKey == row->SortKey; ++it)
        if (it->get() == row) return static_cast<std::size_t>(it - FRows.begin());
    return npos;
}

// ---- TListView ----

namespace {

constexpr UINT_PTR MergeTimerId = 1;
// New rows reach the window at most this often, and less often when bringing the window up to date
// (the new row count, then the repaint it causes) is slow: that takes at most about a fiftieth of the
// time, and a second's wait is the longest. (Under Wine a new row count alone costs some 17 ms, as it
// redraws the scroll bars there and then: at a twentieth, a search's pushes took more of the window's
// thread than everything else it did.)
constexpr UINT MergeDelayMs = 100;
constexpr UINT MaxMergeDelayMs = 1000;
constexpr double PushCostShare = 50;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Asks the list to bring its window up to date; posted messages come before input and painting, so the
// window never shows or takes a click on rows that have moved.
UINT SyncMessage() {
    static const UINT message = RegisterWindowMessageW(L"Clarivo.ListView.Sync");
    return message;
}

void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) return;
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
}

}  // namespace

const TClassInfo TCustomListView::MetaClass("TCustomListView", &TWinControl::MetaClass, nullptr, {});

const TClassInfo TListView::MetaClass(
    "TListView", &TCustomListView::MetaClass, ComponentFactory<TListView>,
    {
        BoolProp<TListView>("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick),
        EventProp<TListView>("OnKeyDown", &TListView::OnKeyDown),
    });

TListView::TListView(TComponent* owner) : TCustomListView(owner) {
    FColor = clWindow;
    SetTabStop(true);
}

void TListView::CreateParams(TCreateParams& params) {
    TCustomListView::CreateParams(params);
    params.WinClassName = WC_LISTVIEWW;
    params.Style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
    if (!FColumnClick) params.Style |= LVS_NOSORTHEADER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    TCustomListView::CreateWnd();
    HWND wnd = WindowHandle();
    DWORD exStyle = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;
    SendMessageW(wnd, LVM_SETEXTENDEDLISTVIEWSTYLE, exStyle, exStyle);
    // The check marks are ours: the window asks for the state image of every row it draws.
    SendMessageW(wnd, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    if (HWND header = ListView_GetHeader(wnd))
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_FULLDRAG);
    for (int i = 0; i < ColumnCount(); ++i) InsertColumn(i);
    ApplyColumnClick();
    FRows.Merge();
    FWindowStale = true;
    // A new window starts with nothing selected: what was noted for the old one goes.
    if (FSelectedNoted > 0)
        for (std::size_t i = 0; i < FRows.SortedCount(); ++i) FRows[i].Selected = false;
    FSelectedNoted = 0;
    FFocusedRow = nullptr;
    FFocusedAt = -1;
    PushRows();
}

// ---- columns ----

void TListView::AddColumn(const std::wstring& caption, int width) {
    FColumns.push_back({caption, width});
    if (HandleAllocated()) InsertColumn(ColumnCount() - 1);
}

void TListView::InsertColumn(int index) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(FColumns[static_cast<std::size_t>(index)].Caption.c_str());
    column.cx = FColumns[static_cast<std::size_t>(index)].Width;
    column.iSubItem = index;
    SendMessageW(WindowHandle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::SetColumnClick(bool value) {
    if (value == FColumnClick) return;
    FColumnClick = value;
    if (HandleAllocated()) ApplyColumnClick();
}

void TListView::ApplyColumnClick() {
    if (FColumnClick) ApplyStyle(0, LVS_NOSORTHEADER);
    else ApplyStyle(LVS_NOSORTHEADER, 0);
    // Not every list view passes a later LVS_NOSORTHEADER change on to its header (Wine's does not):
    // set the header's own style as well.
    if (HWND header = ListView_GetHeader(WindowHandle())) {
        LONG_PTR style = GetWindowLongPtrW(header, GWL_STYLE);
        SetWindowLongPtrW(header, GWL_STYLE, FColumnClick ? style | HDS_BUTTONS : style & ~LONG_PTR{HDS_BUTTONS});
    }
}

// ---- rows ----

void TListView::AddItem(std::wstring caption, std::vector<std::wstring> subItems, std::any data) {
    std::string key = TListRows::SortKey(caption);
    AddItem(std::move(caption), std::move(key), std::move(subItems), std::move(data));
}

void TListView::AddItem(std::wstring caption, std::string sortKey, std::vector<std::wstring> subItems, std::any data) {
    FRows.Add({std::move(caption), std::move(subItems), false, std::move(sortKey), std::move(data)}, true);
    if (!HandleAllocated() || FUpdateCount > 0) return;
    if (GetTickCount64() - FLastPush >= PushInterval()) {
        MergePending();
        PushRows();
    } else {
        ScheduleMerge();
    }
}

void TListView::Clear() {
    FRows.Clear();
    FSelectedNoted = 0;
    FFocusedRow = nullptr;
    FFocusedAt = -1;
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
        FWindowStale = false;
    }
}

void TListView::CheckIndex(int index) {
    MergePending();
    if (index < 0 || static_cast<std::size_t>(index) >= FRows.SortedCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TListRow& TListView::Row(int index) {
    CheckIndex(index);
    return FRows[static_cast<std::size_t>(index)];
}

std::wstring TListView::ItemCaption(int index) { return Row(index).Caption; }

void TListView::SetItemCaption(int index, std::wstring caption) {
    Row(index).Caption = std::move(caption);
    if (HandleAllocated()) {
        FRepaintWanted = true;
        PostSync();
    }
}

const std::any& TListView::Data(int index) { return Row(index).Data; }

std::wstring TListView::SubItem(int index, int column) {
    const TListRow& row = Row(index);
    if (column < 1 || static_cast<std::size_t>(column) > row.SubItems.size()) return {};
    return row.SubItems[static_cast<std::size_t>(column - 1)];
}

bool TListView::Checked(int index) { return Row(index).Checked; }

void TListView::SetChecked(int index, bool checked) {
    TListRow& row = Row(index);
    if (row.Checked == checked) return;
    row.Checked = checked;
    // One repaint after the caller is done: "tick all" sets every row, and a message to the window for
    // each costs more than the whole repaint.
    if (HandleAllocated()) {
        FRepaintWanted = true;
        PostSync();
    }
}

void TListView::Delete(int index) {
    CheckIndex(index);
    RowsChanging();
    const TListRow* row = &FRows[static_cast<std::size_t>(index)];
    if (row->Selected) --FSelectedNoted;
    if (FFocusedRow == row) FFocusedRow = nullptr;
    FRows.Erase(static_cast<std::size_t>(index));
}

int TListView::ItemIndex() {
    MergePending();
    PushRows();
    if (!HandleAllocated()) return -1;
    return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int index) {
    if (index != -1) CheckIndex(index);
    HWND wnd = Handle();
    MergePending();
    PushRows();
    ClearWindowSelection();
    if (index >= 0) {
        ListView_SetItemState(wnd, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(wnd, index, FALSE);
    }
}

std::vector<int> TListView::SelectedIndices() {
    MergePending();
    PushRows();
    if (!HandleAllocated()) return {};
    return WindowSelection();
}

void TListView::SetSelected(int index, bool selected) {
    CheckIndex(index);
    HWND wnd = Handle();
    PushRows();
    ListView_SetItemState(wnd, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TListView::SelectAll() {
    HWND wnd = Handle();
    MergePending();
    PushRows();
    ListView_SetItemState(wnd, -1, LVIS_SELECTED, LVIS_SELECTED);
}

int TListView::FocusedIndex() {
    MergePending();
    PushRows();
    if (!HandleAllocated()) return -1;
    return ListView_GetNextItem(WindowHandle(), -1, LVNI_FOCUSED);
}

void TListView::TickSelected() {
    std::vector<int> rows = SelectedIndices();
    if (rows.empty()) {
        const int focused = FocusedIndex();
        if (focused < 0) return;
        rows.push_back(focused);
    }
    const bool tick = std::any_of(rows.begin(), rows.end(), [this](int i) { return !Checked(i); });
    for (int i : rows) SetChecked(i, tick);
}

// The window's selected rows in order. All of them are not asked for one by one: Ctrl+A on 100,000 rows
// would cost as many messages.
std::vector<int> TListView::WindowSelection() {
    HWND wnd = WindowHandle();
    const int selected = ListView_GetSelectedCount(wnd);
    std::vector<int> rows;
    if (selected <= 0) return rows;
    rows.reserve(static_cast<std::size_t>(selected));
    if (selected == ListView_GetItemCount(wnd)) {
        for (int i = 0; i < selected; ++i) rows.push_back(i);
        return rows;
    }
    for (int i = ListView_GetNextItem(wnd, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(wnd, i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

// Row by row where few are selected: clearing "all rows" costs a step per row in some list views.
void TListView::ClearWindowSelection() {
    HWND wnd = WindowHandle();
    const int selected = ListView_GetSelectedCount(wnd);
    if (selected <= 0) return;
    if (selected == ListView_GetItemCount(wnd)) {
        ListView_SetItemState(wnd, -1, 0, LVIS_SELECTED);
        return;
    }
    for (int i : WindowSelection()) ListView_SetItemState(wnd, i, 0, LVIS_SELECTED);
}

// The window is held still by not painting it (WM_SETREDRAW would do the same, but switching redraw
// back on costs some list views a full layout pass over every row, 16 ms at 100,000 rows under Wine).
void TListView::BeginUpdate() { ++FUpdateCount; }

void TListView::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0) return;
    if (!HandleAllocated()) return;
    MergePending();
    FRepaintWanted = FEraseWanted = true;  // nothing was painted during the update
    // As for rows added one at a time: a window brought up to date a moment ago catches up once the
    // messages are next served (before any painting or input), so batches in a row cost one push.
    if (GetTickCount64() - FLastPush >= PushInterval())
        SyncWindow();
    else
        PostSync();
}

void TListView::SyncWindow() {
    MergePending();
    PushRows();
    if (std::exchange(FRepaintWanted, false)) InvalidateRect(WindowHandle(), nullptr, std::exchange(FEraseWanted, false));
}

// ---- keeping the window in step ----

void TListView::MergePending() {
    if (!FRows.HasPending()) return;
    RowsChanging();
    FRows.Merge();
}

void TListView::RowsChanging() {
    if (!HandleAllocated()) return;
    if (!FWindowStale) {
        HWND wnd = WindowHandle();
        for (int at : WindowSelection()) {
            if (TListRow* row = RowAtWindowIndex(at)) {
                row->Selected = true;
                ++FSelectedNoted;
            }
        }
        FFocusedAt = ListView_GetNextItem(wnd, -1, LVNI_FOCUSED);
        FFocusedRow = RowAtWindowIndex(FFocusedAt);
        FWindowStale = true;
    }
    PostSync();
}

void TListView::PostSync() {
    if (FUpdateCount == 0 && !FSyncPosted) FSyncPosted = PostMessageW(WindowHandle(), SyncMessage(), 0, 0) != FALSE;
}

TListRow* TListView::RowAtWindowIndex(int windowIndex) {
    if (windowIndex < 0 || static_cast<std::size_t>(windowIndex) >= FRows.SortedCount()) return nullptr;
    return &FRows[static_cast<std::size_t>(windowIndex)];
}

void TListView::PushRows() {
    if (!HandleAllocated() || !FWindowStale) return;
    HWND wnd = WindowHandle();
    FWindowStale = false;
    FLastPush = GetTickCount64();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    // The window's own marks are still on the old places.
    ClearWindowSelection();
    if (FFocusedAt >= 0) ListView_SetItemState(wnd, FFocusedAt, 0, LVIS_FOCUSED);
    FFocusedAt = -1;
    // Only the rows from the first that changed on are drawn again; a change below the page is seen in
    // the scroll bar alone.
    ListView_SetItemCountEx(wnd, static_cast<int>(FRows.SortedCount()), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    InvalidateFrom(FRows.TakeFirstChanged());
    auto indexOf = [this](const TListRow* row) {
        std::size_t at = FRows.IndexOf(row);
        return at == TListRows::npos ? -1 : static_cast<int>(at);
    };
    int focused = indexOf(FFocusedRow);
    if (focused >= 0) ListView_SetItemState(wnd, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    FFocusedRow = nullptr;
    // The noted rows are selected again in their new places; all at once when no other row has come.
    if (FSelectedNoted > 0) {
        const bool all = FSelectedNoted == FRows.SortedCount();
        for (std::size_t i = 0; i < FRows.SortedCount(); ++i) {
            if (!std::exchange(FRows[i].Selected, false)) continue;
            if (!all) ListView_SetItemState(wnd, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
        }
        if (all) ListView_SetItemState(wnd, -1, LVIS_SELECTED, LVIS_SELECTED);
        FSelectedNoted = 0;
    }
    QueryPerformanceCounter(&end);
    FPushCost = Milliseconds(start, end);
}

void TListView::InvalidateFrom(std::size_t index) {
    HWND wnd = WindowHandle();
    const auto top = static_cast<std::size_t>(std::max(ListView_GetTopIndex(wnd), 0));
    if (index == TListRows::npos || index > top + static_cast<std::size_t>(ListView_GetCountPerPage(wnd))) return;
    RECT client, row{};
    GetClientRect(wnd, &client);
    if (index > top && ListView_GetItemRect(wnd, static_cast<int>(index), &row, LVIR_BOUNDS)) client.top = row.top;
    InvalidateRect(wnd, &client, TRUE);
}

UINT TListView::PushInterval() const {
    return std::clamp(static_cast<UINT>(PushCostShare * (FPushCost + FPaintCost)), MergeDelayMs, MaxMergeDelayMs);
}

void TListView::ScheduleMerge() {
    if (!FMergeTimer) FMergeTimer = SetTimer(WindowHandle(), MergeTimerId, PushInterval(), nullptr) != 0;
}

// From a click or key: the index is one of the rows the window shows, so no waiting row is merged first.
void TListView::Toggle(int index) {
    TListRow* row = FWindowStale ? nullptr : RowAtWindowIndex(index);
    if (!row) return;
    row->Checked = !row->Checked;
    SendMessageW(WindowHandle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

// ---- messages ----

void TListView::WndProc(TMessage& message) {
    if (message.Msg == SyncMessage()) {
        FSyncPosted = false;
        if (FUpdateCount == 0) SyncWindow();
        return;
    }
    switch (message.Msg) {
    case WM_TIMER:
        if (message.WParam == MergeTimerId) {
            KillTimer(WindowHandle(), MergeTimerId);
            FMergeTimer = false;
            if (FUpdateCount == 0) {
                MergePending();
                PushRows();
            }
            return;
        }
        break;
    case WM_PAINT: {
        if (FUpdateCount > 0) {  // rows may be half changed: EndUpdate repaints the whole list
            if (message.WParam == 0) {
                PAINTSTRUCT paint;
                BeginPaint(WindowHandle(), &paint);
                EndPaint(WindowHandle(), &paint);
            }
            return;
        }
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        TCustomListView::WndProc(message);
        QueryPerformanceCounter(&end);
        FPaintCost = Milliseconds(start, end);
        return;
    }
    case WM_ERASEBKGND:
        if (FUpdateCount > 0) {
            message.Result = 1;
            return;
        }
        break;
    case WM_KEYDOWN:
        KeyDown(message);
        return;
    case WM_DESTROY:
        FMergeTimer = FSyncPosted = FRepaintWanted = FEraseWanted = false;
        break;
    case CN_NOTIFY:
        if (OnNotify(*reinterpret_cast<NMHDR*>(message.LParam), message.Result)) return;
        break;
    }
    TCustomListView::WndProc(message);
}

bool TListView::OnNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        GetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return true;
    case LVN_ODFINDITEMW:
        result = FindItem(reinterpret_cast<NMLVFINDITEMW&>(header));
        return true;
    case NM_CLICK:
    case NM_DBLCLK: {
        // An owner-data list keeps no check marks: a click on the box toggles ours.
        LVHITTESTINFO hit{};
        hit.pt = reinterpret_cast<NMITEMACTIVATE&>(header).ptAction;
        if (ListView_HitTest(WindowHandle(), &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) Toggle(hit.iItem);
        if (header.code == NM_CLICK) DoClick();
        return false;
    }
    }
    return false;
}

void TListView::KeyDown(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == 0) return;
    // Not every list view selects all rows on Ctrl+A; an owner-data one keeps no check marks, so Space is
    // ours too (Ctrl+Space still selects or clears the focused row, as the system list does).
    if (key == 'A' && shift == ssCtrl) {
        SelectAll();
    } else if (key == VK_SPACE && shift == 0) {
        TickSelected();
    } else {
        TCustomListView::WndProc(message);
    }
}

void TListView::GetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    // The window may ask between a change of the rows and the push that follows it.
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= FRows.SortedCount()) {
        if (item.mask & LVIF_TEXT) CopyText({}, item.pszText, item.cchTextMax);
        return;
    }
    const TListRow& row = FRows[static_cast<std::size_t>(item.iItem)];
    if (item.mask & LVIF_TEXT) {
        static const std::wstring empty;
        std::size_t column = static_cast<std::size_t>(std::max(item.iSubItem, 0));
        const std::wstring& text = column == 0 ? row.Caption
                                   : column <= row.SubItems.size() ? row.SubItems[column - 1] : empty;
        CopyText(text, item.pszText, item.cchTextMax);
    }
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.Checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

// Type-ahead: the first row from iStart on (wrapping) whose caption begins with the typed text.
int TListView::FindItem(const NMLVFINDITEMW& find) {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
    std::wstring_view typed = find.lvfi.psz;
    const int count = static_cast<int>(FRows.SortedCount());
    if (count == 0 || typed.empty()) return -1;
    const int start = std::clamp(find.iStart, 0, count - 1);
    for (int n = 0; n < count; ++n) {
        int i = (start + n) % count;
        const std::wstring& caption = FRows[static_cast<std::size_t>(i)].Caption;
        if (caption.size() < typed.size()) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.data(), static_cast<int>(typed.size()),
                           typed.data(), static_cast<int>(typed.size())) == CSTR_EQUAL)
            return i;
        if (!(find.lvfi.flags & LVFI_WRAP) && i == count - 1) break;
    }
    return -1;
}
