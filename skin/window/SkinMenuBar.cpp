#include "skin/window/SkinMenuBar.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinPopupMenu.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Canvas.h"
#include "ui/CustomForm.h"
#include "ui/Handles.h"
#include "ui/Menus.h"

#include <algorithm>
#include <cwctype>

namespace {

// While a drop-down of the bar is open: which bar and item, what the user selected in it, and where
// the user wants to go next (another item of the bar, by mouse or arrow key).
struct TTracking {
    TWinSkinMenu* Bar = nullptr;
    HWND Window = nullptr;
    int Open = -1;
    int Target = -1;
    HMENU TopMenu = nullptr;
    bool Selected = false;
    HMENU SelectedMenu = nullptr;
    bool SelectedOpensMenu = false;
    POINT LastMouse{};
    bool FirstKeySent = false;
    bool RightToLeft = false;
};
TTracking Tracking;

// The mnemonic of a caption (the character after a single '&'), upper case; 0 for none.
wchar_t Mnemonic(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    }
    return 0;
}

int NextItem(const TWinSkinMenu& Bar, int From, int Step) {
    const int count = static_cast<int>(Bar.Items().size());
    if (count == 0) return -1;
    return ((From + Step) % count + count) % count;
}

LRESULT CALLBACK TrackingHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && Tracking.Bar && msg) {
        if (Tracking.RightToLeft && msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
            msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
        if (!Tracking.FirstKeySent) {
            // The drop-down opens with its first item selected, as the system's bar opens it.
            Tracking.FirstKeySent = true;
            PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        int target = -1;
        switch (msg->message) {
        case WM_KEYDOWN:
            if (msg->wParam == VK_LEFT && (!Tracking.Selected || Tracking.SelectedMenu == Tracking.TopMenu))
                target = NextItem(*Tracking.Bar, Tracking.Open, -1);
            else if (msg->wParam == VK_RIGHT && (!Tracking.Selected || !Tracking.SelectedOpensMenu))
                target = NextItem(*Tracking.Bar, Tracking.Open, 1);
            break;
        case WM_MOUSEMOVE:
            if (msg->pt.x != Tracking.LastMouse.x || msg->pt.y != Tracking.LastMouse.y) {
                Tracking.LastMouse = msg->pt;
                RECT window{};
                GetWindowRect(Tracking.Window, &window);
                if (TMenuBtn* item = Tracking.Bar->ItemAt({msg->pt.x - window.left, msg->pt.y - window.top}))
                    target = item->Index;
            }
            break;
        default:
            break;
        }
        if (target >= 0 && target != Tracking.Open) {
            // This drop-down closes and the other opens (Open goes on with it).
            Tracking.Target = target;
            EndMenu();
            if (msg->message == WM_KEYDOWN) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// ---- TMenuBtn ----

void TMenuBtn::Paint() { FBar.PaintItem(*this); }

// ---- TWinSkinMenu ----

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& Skinner, TSkinData& Skin) : FSkinner(Skinner), FSkin(Skin) {
    FMenu = GetMenu(Skinner.Handle());
    FBarImage.SetPixelFormat(pf24bit);
    FBarBackground.SetPixelFormat(pf24bit);
}

TWinSkinMenu::~TWinSkinMenu() {
    if (Tracking.Bar == this) Tracking = {};
    const HWND wnd = FSkinner.Handle();
    if (FMenu && IsWindow(wnd) && !GetMenu(wnd) && IsMenu(FMenu)) SetMenu(wnd, FMenu);
}

void TWinSkinMenu::Build() {
    const HWND wnd = FSkinner.Handle();
    if (HMENU menu = GetMenu(wnd)) FMenu = menu;
    if (!FMenu) return;
    TCustomForm* form = FSkinner.Form();
    FFrameworkMenu = form ? form->Menu() : nullptr;
    if (form && !FFrameworkMenu) return;
    FItems.clear();
    const int count = GetMenuItemCount(FMenu);
    int frameworkPosition = 0;
    for (int position = 0; position < count; ++position) {
        wchar_t text[81]{};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 80;
        if (!GetMenuItemInfoW(FMenu, static_cast<UINT>(position), TRUE, &info)) continue;
        auto item = std::make_unique<TMenuBtn>(FSkinner, *this);
        item->Index = static_cast<int>(FItems.size());
        item->Visible = true;
        item->Enabled = (info.fState & 3) == 0;
        item->Command = info.wID;
        item->DropDown = info.hSubMenu;
        item->Caption = text;
        if (FFrameworkMenu) {
            // The framework's item: by command, or by its place among the visible items.
            TMenuItem* framework = FFrameworkMenu->FindItem(info.wID);
            TMenuItem* root = FFrameworkMenu->Items();
            while (!framework && frameworkPosition < root->Count()) {
                TMenuItem* candidate = root->Items(frameworkPosition++);
                if (candidate->Visible()) framework = candidate;
            }
            if (framework) {
                item->Item = framework;
                item->Caption = framework->Caption();
                item->Enabled = framework->Enabled();
                item->Command = framework->Command();
                item->DropDown = framework->Count() > 0 ? framework->Handle() : nullptr;
                frameworkPosition = root->IndexOf(framework) + 1;
            }
        }
        FItems.push_back(std::move(item));
    }
    SetMenu(wnd, nullptr);
}

int TWinSkinMenu::Layout() {
    const TSize size = FSkinner.WindowSize();
    const TFrameMetrics& m = FSkinner.Metrics();
    const int rowHeight = GetSystemMetrics(SM_CYMENU);
    const int width = size.Width - m.Left - m.Right;
    if (width <= 0 || FItems.empty()) return rowHeight;
    const TDataSkinObject* record = FSkin.MenuBar.get();
    const bool rtl = FSkinner.RightToLeft();
    int start = record ? (rtl ? record->RightWidth + 8 : record->LeftWidth + 4) : 6;
    if (width < start) start = 12;

    TWindowDC screen(nullptr);
    UniqueFont font = MenuFont();
    TSavedDC saved(screen.get());
    SelectObject(screen.get(), font.get());
    int x = start, row = 0;
    for (const auto& item : FItems) {
        if (!item->Visible) {
            item->BoundsRect = {};
            continue;
        }
        TRect text{0, 0, 0, 0};
        SkinDrawText(screen.get(), item->Caption, text, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        const int w = text.Width() > 0 ? text.Width() + 10 : 0;
        // What does not fit on this row goes to the next.
        if (x > start && x + w > width - start / 2) {
            ++row;
            x = start;
        }
        const int top = m.Top + row * rowHeight;
        item->BoundsRect = rtl ? TRect{m.Left + width - x - w, top, m.Left + width - x, top + rowHeight - 1}
                               : TRect{m.Left + x, top, m.Left + x + w, top + rowHeight - 1};
        x += w;
    }
    return (row + 1) * rowHeight;
}

void TWinSkinMenu::DrawCaption(HDC DC, const TMenuBtn& Item, const TRect& Rect) const {
    UniqueFont font = MenuFont();
    TSavedDC saved(DC);
    SelectObject(DC, font.get());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, Item.Enabled ? ColorToRGB(FSkin.MenuBarTextColor) : GetSysColor(COLOR_BTNSHADOW));
    TRect measured = Rect;
    SkinDrawText(DC, Item.Caption, measured, DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    TRect text = Rect;
    text.Top += (Rect.Height() - measured.Height()) / 2;
    SkinDrawText(DC, Item.Caption, text, DT_CENTER | DT_EXPANDTABS | DT_SINGLELINE);
}

void TWinSkinMenu::Paint(HDC DC) {
    const TSize size = FSkinner.WindowSize();
    const TFrameMetrics& m = FSkinner.Metrics();
    FBarRect = {m.Left, m.Top, size.Width - m.Right, m.Top + FSkinner.MenuHeight()};
    const int w = FBarRect.Width(), h = FBarRect.Height();
    if (w <= 0 || h <= 0) return;
    Layout();
    FBarImage.SetSize(w, h);
    TBitmapDCLock lock(FBarImage);
    HDC bar = lock.Handle();
    const TRect all{0, 0, w, h};
    if (const TDataSkinObject* record = FSkin.MenuBar.get(); record && !record->Bitmap->Empty()) {
        const int frame = FSkinner.WindowActive() ? 1 : 2;
        const TSkinMargins margins{record->LeftWidth, 0, record->RightWidth, 0};
        if (record->Tile == 1) {
            DrawSkinImage(bar, all, *record->Bitmap, true, false, false, 2, frame, margins);
        } else {
            TCanvas canvas;
            canvas.SetHandle(bar);
            DrawSkinBar(canvas, all, *record->Bitmap, true, false, 2, frame, margins);
            canvas.SetHandle(nullptr);
        }
    } else {
        UniqueBrush fill(CreateSolidBrush(ColorToRGB(FSkin.MenuBarColor)));
        const RECT r = all.ToRECT();
        FillRect(bar, &r, fill.get());
    }
    FBarBackground.SetSize(w, h);
    {
        TBitmapDCLock background(FBarBackground);
        BitBlt(background.Handle(), 0, 0, w, h, bar, 0, 0, SRCCOPY);
    }
    for (const auto& item : FItems)
        if (item->Visible && !item->BoundsRect.IsEmpty())
            DrawCaption(bar, *item, item->BoundsRect.Offset(-FBarRect.Left, -FBarRect.Top));
    BitBlt(DC, FBarRect.Left, FBarRect.Top, w, h, bar, 0, 0, SRCCOPY);
    // A maximised MDI child's own buttons sit at the bar's end.
    for (const auto& button : FSkinner.CaptionButtons())
        if (button->Visible && button->Element().Align == AlignMenuBar && !button->Element().Bitmap->Empty()) {
            button->Draw(DC);
            if (SkinManager && !SkinManager->MdiMaximized()) SkinManager->SetMdiMaximized(true);
        }
}

void TWinSkinMenu::PaintItem(const TMenuBtn& Item) {
    if (FBarBackground.Empty() || Item.BoundsRect.IsEmpty()) return;
    TWindowDC dc(FSkinner.Handle());
    if (!dc) return;
    const TRect& r = Item.BoundsRect;
    {
        TBitmapDCLock background(FBarBackground);
        BitBlt(dc.get(), r.Left, r.Top, r.Width(), r.Height() + 1, background.Handle(), r.Left - FBarRect.Left,
               r.Top - FBarRect.Top, SRCCOPY);
    }
    if (Item.State == nsPressed || Item.State == nsHot) {
        UniqueBrush frame(CreateSolidBrush(ColorToRGB(FSkin.ButtonHilightColor)));
        const RECT box = r.ToRECT();
        FrameRect(dc.get(), &box, frame.get());
    }
    DrawCaption(dc.get(), Item, r);
}

TMenuBtn* TWinSkinMenu::ItemAt(TPoint FramePoint) const {
    for (const auto& item : FItems)
        if (item->Visible && !item->Caption.empty() && item->BoundsRect.Contains(FramePoint)) return item.get();
    return nullptr;
}

void TWinSkinMenu::SetOwnerDraw(HMENU Menu, bool On) {
    if (On) {
        const int count = GetMenuItemCount(Menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
            if (!GetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &info)) continue;
            if (!(info.fType & MFT_OWNERDRAW)) {
                info.fMask = MIIM_FTYPE;
                info.fType |= MFT_OWNERDRAW;
                SetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &info);
                FMarkedOwnerDraw.emplace_back(Menu, static_cast<UINT>(i));
            }
            if (info.hSubMenu) SetOwnerDraw(info.hSubMenu, true);
        }
        return;
    }
    // Back as they were: only the items marked here.
    for (const auto& [menu, position] : FMarkedOwnerDraw) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, position, TRUE, &info)) continue;
        info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
        SetMenuItemInfoW(menu, position, TRUE, &info);
    }
    FMarkedOwnerDraw.clear();
}

void TWinSkinMenu::MenuSelect(WPARAM WParam, LPARAM LParam) {
    if (Tracking.Bar != this) return;
    if (HIWORD(WParam) == 0xFFFF && LParam == 0) return;  // the menu closes
    Tracking.Selected = true;
    Tracking.SelectedMenu = reinterpret_cast<HMENU>(LParam);
    Tracking.SelectedOpensMenu = (HIWORD(WParam) & MF_POPUP) != 0;
}

bool TWinSkinMenu::MeasureItem(MEASUREITEMSTRUCT& Measure) const {
    if (FFrameworkMenu || Measure.CtlType != ODT_MENU || Tracking.Bar != this) return false;
    TWindowDC screen(nullptr);
    int width = 0, height = 0;
    MeasureMenuItem(FSkin, LookOf(Tracking.TopMenu, Measure.itemID), screen.get(), width, height);
    Measure.itemWidth = static_cast<UINT>(width);
    Measure.itemHeight = static_cast<UINT>(height);
    return true;
}

bool TWinSkinMenu::DrawItem(const DRAWITEMSTRUCT& Draw) const {
    if (FFrameworkMenu || Draw.CtlType != ODT_MENU || Tracking.Bar != this) return false;
    const auto menu = reinterpret_cast<HMENU>(Draw.hwndItem);
    DrawMenuItem(FSkin, LookOf(menu, Draw.itemID), Draw.hDC, TRect::FromRECT(Draw.rcItem), (Draw.itemState & ODS_SELECTED) != 0);
    return true;
}

bool TWinSkinMenu::Open(TMenuBtn* Item) {
    if (!Item || Tracking.Bar) return false;
    const HWND wnd = FSkinner.Handle();
    int index = Item->Index;
    bool opened = false;
    while (index >= 0 && index < static_cast<int>(FItems.size())) {
        TMenuBtn& item = *FItems[static_cast<size_t>(index)];
        // A framework item hears of its opening (its OnClick); an item without drop-down runs its command.
        if (item.Command && (item.Item || !item.DropDown)) PostMessageW(wnd, WM_COMMAND, item.Command, 0);
        if (!item.DropDown) return opened;
        opened = true;
        Tracking = {};
        Tracking.Bar = this;
        Tracking.Window = wnd;
        Tracking.Open = index;
        Tracking.TopMenu = item.DropDown;
        Tracking.RightToLeft = FSkinner.RightToLeft();
        GetCursorPos(&Tracking.LastMouse);
        if (SkinManager) SkinManager->MenuKind = mkMenuBar;
        if (!FFrameworkMenu) SetOwnerDraw(item.DropDown, true);
        item.State = nsPressed;
        FSkinner.SetHotObject(&item);
        PaintItem(item);

        UINT command = 0;
        if (item.Enabled) {
            UniqueHook hook(SetWindowsHookExW(WH_MSGFILTER, TrackingHook, nullptr, GetCurrentThreadId()));
            RECT window{};
            GetWindowRect(wnd, &window);
            const int x = window.left + (Tracking.RightToLeft ? item.BoundsRect.Right : item.BoundsRect.Left);
            const int y = window.top + item.BoundsRect.Bottom + 1;
            command = static_cast<UINT>(TrackPopupMenu(item.DropDown,
                                                       TPM_RETURNCMD | TPM_LEFTBUTTON | (Tracking.RightToLeft ? TPM_RIGHTALIGN : 0u),
                                                       x, y, 0, wnd, nullptr));
        }
        if (!FFrameworkMenu) SetOwnerDraw(item.DropDown, false);
        const int target = Tracking.Target;
        Tracking = {};
        item.State = nsNormal;
        if (FSkinner.HotObject() == &item) FSkinner.SetHotObject(nullptr);
        PaintItem(item);
        if (command) {
            PostMessageW(wnd, WM_COMMAND, command, 0);
            break;
        }
        index = target;
    }
    return opened;
}

bool TWinSkinMenu::KeyMenu(wchar_t Key) {
    if (Key == L' ' || Key == L'-') return false;
    TMenuBtn* chosen = nullptr;
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(Key));
    for (const auto& item : FItems) {
        if (!item->Visible || !item->Enabled || item->Caption.empty()) continue;
        if (Key == 0 || Mnemonic(item->Caption) == wanted) {
            chosen = item.get();
            break;
        }
    }
    if (!chosen) return false;
    Open(chosen);
    return true;
}
