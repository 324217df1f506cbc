#include "ui/ListBox.h"

#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TCustomListBox::MetaClass(
    "TCustomListBox", &TWinControl::MetaClass, nullptr,
    {
        IntProp<TCustomListBox>("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex),
        ClassProp<TCustomListBox, TStringList>("Items", &TCustomListBox::Items),
        BoolProp<TCustomListBox>("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect),
        BoolProp<TCustomListBox>("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted),
    });

const TClassInfo TListBox::MetaClass("TListBox", &TCustomListBox::MetaClass, ComponentFactory<TListBox>, {});

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    FItems.OnChange = [this](TObject*) { ItemsChanged(); };
}

void TCustomListBox::ItemsChanged() {
    if (FSorting) return;
    if (FSorted && !std::is_sorted(FItems.Lines().begin(), FItems.Lines().end())) {
        // Items keep the order the window shows, so that an index means the same row in both.
        std::vector<std::wstring> lines = FItems.Lines();
        std::stable_sort(lines.begin(), lines.end());
        FSorting = true;
        FItems.SetLines(lines);
        FSorting = false;
    }
    FillList();
}

int TCustomListBox::ItemIndex() const {
    if (!HandleAllocated()) return FItemIndex;
    const UINT msg = FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL;
    return static_cast<int>(SendMessageW(WindowHandle(), msg, 0, 0));
}

void TCustomListBox::SetItemIndex(int index) {
    if (IsLoading()) {
        FItemIndex = index;
        return;
    }
    FItemIndex = index < 0 || index >= FItems.Count() ? -1 : index;
    if (!HandleAllocated()) return;
    if (FMultiSelect)
        SendMessageW(WindowHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(FItemIndex), FALSE);
    else
        SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

int TCustomListBox::TopIndex() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(WindowHandle(), LB_GETTOPINDEX, 0, 0)) : FTopIndex;
}

void TCustomListBox::SetTopIndex(int index) {
    FTopIndex = std::max(index, 0);
    if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
}

void TCustomListBox::SetSorted(bool value) {
    if (value == FSorted) return;
    FSorted = value;
    ItemsChanged();
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (value == FMultiSelect) return;
    FMultiSelect = value;
    RecreateWnd();
}

bool TCustomListBox::Selected(int index) const {
    return HandleAllocated() && SendMessageW(WindowHandle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

int TCustomListBox::ItemHeight() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(WindowHandle(), LB_GETITEMHEIGHT, 0, 0)) : 0;
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    FillList();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"LISTBOX";
    params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (FMultiSelect) params.Style |= LBS_EXTENDEDSEL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    FillList();
}

void TCustomListBox::DestroyWnd() {
    FItemIndex = ItemIndex();
    FTopIndex = TopIndex();
    TWinControl::DestroyWnd();
}

void TCustomListBox::FillList() {
    if (!HandleAllocated() || IsLoading()) return;
    HWND wnd = WindowHandle();
    const int top = HandleAllocated() && SendMessageW(wnd, LB_GETCOUNT, 0, 0) > 0 ? TopIndex() : FTopIndex;
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(wnd, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& line : FItems.Lines())
        SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    SetItemIndex(FItemIndex);
    SetTopIndex(top);
    InvalidateRect(wnd, nullptr, TRUE);
}

void TCustomListBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == LBN_SELCHANGE) {
            FItemIndex = ItemIndex();
            DoClick();
        }
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}
