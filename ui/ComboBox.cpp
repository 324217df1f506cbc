#include "ui/ComboBox.h"

#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TCustomComboBox::MetaClass(
    "TCustomComboBox", &TWinControl::MetaClass, nullptr,
    {
        IntProp<TCustomComboBox>("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount),
        ClassProp<TCustomComboBox, TStringList>("Items", &TCustomComboBox::Items),
        IntProp<TCustomComboBox>("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
        EnumProp<TCustomComboBox, TComboBoxStyle>(
            "Style", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
            &TCustomComboBox::Style, &TCustomComboBox::SetStyle),
        StrProp<TCustomComboBox>("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText),
        EventProp<TCustomComboBox>("OnChange", &TCustomComboBox::OnChange),
        EventProp<TCustomComboBox>("OnDropDown", &TCustomComboBox::OnDropDown),
        EventProp<TCustomComboBox>("OnCloseUp", &TCustomComboBox::OnCloseUp),
    });

const TClassInfo TComboBox::MetaClass("TComboBox", &TCustomComboBox::MetaClass, ComponentFactory<TComboBox>, {});

namespace {
// A list's rows when the window cannot say yet.
constexpr int FallbackItemHeight = 16;
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    FItems.OnChange = [this](TObject*) { FillList(); };
}

int TCustomComboBox::ItemIndex() const {
    if (!HandleAllocated()) return FItemIndex;
    return static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int index) {
    // A description names the index before the items: while it is read the index is kept as given.
    if (IsLoading()) {
        FItemIndex = index;
        return;
    }
    FItemIndex = index < 0 || (HandleAllocated() && index >= FItems.Count()) ? -1 : index;
    if (HandleAllocated()) SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    FillList();
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int count) {
    FDropDownCount = std::max(count, 1);
    BoundsChanged();
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageW(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (HandleAllocated()) SendMessageW(WindowHandle(), CB_SHOWDROPDOWN, value, 0);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"COMBOBOX";
    params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);  // the combo paints over its edit's edges
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
    case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS; break;
    }
    params.Height = WindowHeight();
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    FillList();
    // A combo's edit does not take the window name it was created with.
    if (!IsListStyle() && ItemIndex() < 0) SetWindowTextW(WindowHandle(), FText.c_str());
}

void TCustomComboBox::DestroyWnd() {
    // The window holds the selection and the edit's text: keep them for the next window.
    FItemIndex = ItemIndex();
    FText = Text();
    TWinControl::DestroyWnd();
}

int TCustomComboBox::WindowHeight() const {
    int row = FallbackItemHeight;
    if (HandleAllocated()) {
        const auto height = static_cast<int>(SendMessageW(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
        if (height > 0) row = height;
    }
    return Height() + (FStyle == csSimple ? 0 : FDropDownCount * row + 2);
}

void TCustomComboBox::BoundsChanged() {
    TWinControl::BoundsChanged();
    // The system takes a drop-down's window height as the closed box and its dropped list together.
    if (HandleAllocated() && FStyle != csSimple)
        SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), WindowHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::FillList() {
    if (!HandleAllocated() || IsLoading()) return;
    HWND wnd = WindowHandle();
    const int index = std::min(ItemIndex() >= 0 ? ItemIndex() : FItemIndex, FItems.Count() - 1);
    const std::wstring text = IsListStyle() ? std::wstring() : Text();
    SendMessageW(wnd, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& line : FItems.Lines()) SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    FItemIndex = index;
    SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index < 0 && !IsListStyle()) SetWindowTextW(wnd, text.c_str());
}

void TCustomComboBox::TextChanged() {
    if (HandleAllocated() && IsListStyle()) {
        // No edit: the text chooses the item that reads the same.
        const auto found = static_cast<int>(
            SendMessageW(WindowHandle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(FText.c_str())));
        SetItemIndex(found);
        Changed();
        return;
    }
    TWinControl::TextChanged();
}

void TCustomComboBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        switch (HIWORD(message.WParam)) {
        case CBN_SELCHANGE: {
            // The system reports a key that found no other item as a change too.
            const int index = ItemIndex();
            if (index == FItemIndex) break;
            FItemIndex = index;
            DoChange();
            break;
        }
        case CBN_EDITCHANGE: DoChange(); break;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp) OnCloseUp(this);
            break;
        }
        return;
    case CN_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        DrawItem(static_cast<int>(item->itemID), item->hDC, TRect::FromRECT(item->rcItem), item->itemState);
        message.Result = TRUE;
        return;
    }
    }
    TWinControl::WndProc(message);
}

void TCustomComboBox::DoChange() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::DrawItem(int index, HDC dc, const TRect& rect, UINT state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, dc, rect, state);
        return;
    }
    const bool selected = (state & ODS_SELECTED) != 0;
    const RECT r = rect.ToRECT();
    FillRect(dc, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : Brush()->Handle());
    if (index < 0 || index >= FItems.Count()) return;
    TSelectObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font()->Color()));
    RECT text = r;
    text.left += 2;
    DrawTextW(dc, FItems.Strings(index).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
