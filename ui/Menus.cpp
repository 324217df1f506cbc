#include "ui/Menus.h"

#include "base/StrUtils.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/CustomForm.h"
#include "ui/Font.h"
#include "ui/ImageList.h"
#include "ui/Properties.h"

#include <algorithm>
#include <bitset>
#include <cwctype>

const TClassInfo TMenuItem::MetaClass(
    "TMenuItem", &TComponent::MetaClass, ComponentFactory<TMenuItem>,
    {
        StrProp<TMenuItem>("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
        BoolProp<TMenuItem>("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
        BoolProp<TMenuItem>("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
        BoolProp<TMenuItem>("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
        BoolProp<TMenuItem>("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
        BoolProp<TMenuItem>("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
        BoolProp<TMenuItem>("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck),
        IntProp<TMenuItem>("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex),
        IntProp<TMenuItem>("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex),
        IntProp<TMenuItem>(
            "ShortCut", [](const TMenuItem& i) { return static_cast<int>(i.ShortCut()); },
            [](TMenuItem& i, int v) { i.SetShortCut(static_cast<TShortCut>(v)); }),
        EventProp<TMenuItem>("OnClick", &TMenuItem::OnClick),
        EventProp<TMenuItem>("OnDrawItem", &TMenuItem::OnDrawItem),
        EventProp<TMenuItem>("OnMeasureItem", &TMenuItem::OnMeasureItem),
    });

const TClassInfo TMenu::MetaClass(
    "TMenu", &TComponent::MetaClass, nullptr,
    {
        RefProp<TMenu, TImageList>("Images", &TMenu::Images, &TMenu::SetImages),
        BoolProp<TMenu>("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
        BoolProp<TMenu>("RightToLeft", &TMenu::RightToLeft, &TMenu::SetRightToLeft),
        EventProp<TMenu>("OnChange", &TMenu::OnChange),
    });

const TClassInfo TMainMenu::MetaClass("TMainMenu", &TMenu::MetaClass, ComponentFactory<TMainMenu>, {});

const TClassInfo TPopupMenu::MetaClass(
    "TPopupMenu", &TMenu::MetaClass, ComponentFactory<TPopupMenu>,
    {
        BoolProp<TPopupMenu>("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup),
        EnumProp<TPopupMenu, TPopupAlignment>("Alignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment,
                                              &TPopupMenu::SetAlignment),
        EventProp<TPopupMenu>("OnPopup", &TPopupMenu::OnPopup),
    });

namespace {

// Command ids in use: up to 4095, so that anything above is known not to be a framework item's; and
// from 100, since the dialog manager turns Enter and Esc into commands IDOK (1) and IDCANCEL (2) and the
// other dialog ids lie below 100.
std::bitset<4096> UsedCommands;
constexpr UINT FirstCommand = 100;

UINT AllocateCommand() {
    for (UINT id = FirstCommand; id < UsedCommands.size(); ++id)
        if (!UsedCommands[id]) {
            UsedCommands[id] = true;
            return id;
        }
    return 0;
}

void ReleaseCommand(UINT id) {
    if (id > 0 && id < UsedCommands.size()) UsedCommands[id] = false;
}

// The screen's menu font, as the system draws menus.
void SelectMenuFont(TCanvas& canvas, bool bold) { canvas.Font()->AssignLogFont(MenuLogFont(bold)); }

// Strips every entry from a system menu without destroying the sub-menus (their items own them).
void StripMenu(HMENU menu) {
    while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
}

}  // namespace

// ---- Shortcuts ----

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut result = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

TShortCut ShortCutFromKey(WPARAM key) {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) & 0x8000) shift |= ssAlt;
    return ShortCut(static_cast<WORD>(key), shift);
}

namespace {

// Keys whose names are not their character.
const struct {
    UINT Key;
    const wchar_t* Name;
} KeyNames[] = {
    {VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"},   {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},      {VK_HOME, L"Home"},  {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},      {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},  {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
    {VK_APPS, L"Menu"},
};

const struct {
    TShortCut Bit;
    const wchar_t* Name;
} Modifiers[] = {{scCtrl, L"Ctrl+"}, {scShift, L"Shift+"}, {scAlt, L"Alt+"}};

}  // namespace

std::wstring ShortCutToText(TShortCut shortCut) {
    const UINT key = shortCut & 0xFF;
    if (key == 0) return {};
    std::wstring name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        name = std::wstring(1, static_cast<wchar_t>(key));
    } else if (key >= VK_F1 && key <= VK_F24) {
        name = L"F" + std::to_wstring(key - VK_F1 + 1);
    } else {
        for (const auto& n : KeyNames)
            if (n.Key == key) name = n.Name;
        if (name.empty()) {
            // Punctuation and the rest, as the keyboard labels them.
            wchar_t text[32]{};
            const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
            if (GetKeyNameTextW(scan, text, 32) <= 0) return {};
            name = text;
        }
    }
    std::wstring result;
    for (const auto& m : Modifiers)
        if (shortCut & m.Bit) result += m.Name;
    return result + name;
}

TShortCut TextToShortCut(const std::wstring& text) {
    std::wstring rest = LowerCaseAscii(text);
    TShortCut result = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& m : Modifiers) {
            const std::wstring prefix = LowerCaseAscii(std::wstring(m.Name));
            if (rest.rfind(prefix, 0) == 0) {
                result |= m.Bit;
                rest.erase(0, prefix.size());
                found = true;
            }
        }
    }
    UINT key = 0;
    if (rest.size() == 1 && ((rest[0] >= L'a' && rest[0] <= L'z') || (rest[0] >= L'0' && rest[0] <= L'9'))) {
        key = static_cast<UINT>(std::towupper(rest[0]));
    } else if (rest.size() >= 2 && rest[0] == L'f' && std::all_of(rest.begin() + 1, rest.end(), iswdigit)) {
        const int n = std::stoi(rest.substr(1));
        if (n >= 1 && n <= 24) key = VK_F1 + static_cast<UINT>(n) - 1;
    } else {
        for (const auto& n : KeyNames)
            if (LowerCaseAscii(std::wstring(n.Name)) == rest) key = n.Key;
    }
    return key ? static_cast<TShortCut>(result | key) : TShortCut{};
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
    if (FHandle) StripMenu(FHandle.get());
    while (!FItems.empty()) delete FItems.back();
    if (FParent) FParent->Remove(this);
    ReleaseCommand(FCommand);
}

bool TMenuItem::IsRoot() const { return FMenu != nullptr; }

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

void TMenuItem::SetMenu(TMenu* menu) { FMenu = menu; }

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
    else if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    const bool first = FItems.size() == 1;
    RebuildHandle();
    // An item that just got its first sub-item now opens a sub-menu: its parent shows that.
    if (first) Changed();
    else if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    if (IsDestroying()) return;
    if (FItems.empty() && !IsRoot()) {
        // No sub-items left: no sub-menu either.
        if (FHandle) StripMenu(FHandle.get());
        FHandle.reset();
        Changed();
    } else {
        RebuildHandle();
        if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
    }
}

HMENU TMenuItem::Handle() {
    if (!FHandle) {
        if (IsRoot()) FHandle.reset(FMenu->CreateRootHandle());
        else if (!FItems.empty()) FHandle.reset(CreatePopupMenu());
        else return nullptr;
        RebuildHandle();
    }
    return FHandle.get();
}

void TMenuItem::RebuildHandle() {
    HMENU menu = FHandle.get();
    if (!menu) return;
    StripMenu(menu);
    const TMenu* owner = GetParentMenu();
    const bool drawn = owner && owner->DrawsItems();
    const bool rightToLeft = owner && owner->RightToLeft();
    UINT position = 0;
    for (TMenuItem* item : FItems) {
        if (!item->FVisible) continue;
        std::wstring text = item->FCaption;
        if (item->FShortCut) text += L"\t" + ShortCutToText(item->FShortCut);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        info.fType = (item->IsLine() ? MFT_SEPARATOR : 0u) | (drawn ? MFT_OWNERDRAW : 0u) |
                     (item->FRadioItem ? MFT_RADIOCHECK : 0u) | (rightToLeft ? MFT_RIGHTORDER : 0u);
        info.fState = (item->FChecked ? MFS_CHECKED : 0u) | (item->FEnabled ? 0u : MFS_DISABLED) |
                      (item->FDefault ? MFS_DEFAULT : 0u);
        info.wID = item->FCommand;
        info.hSubMenu = item->Handle();
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        if (!item->IsLine()) {
            // Kept for owner-drawn items too: the system finds mnemonics in it, painters read it.
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        InsertMenuItemW(menu, position++, TRUE, &info);
    }
}

void TMenuItem::Changed() {
    if (IsDestroying()) return;
    if (FParent) FParent->RebuildHandle();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (checked && FRadioItem) ClearGroup();
    Changed();
}

void TMenuItem::ClearGroup() {
    if (!FParent) return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    Changed();
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == FVisible) return;
    FVisible = visible;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (value == FDefault) return;
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems) sibling->FDefault = false;
    FDefault = value;
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == FRadioItem) return;
    FRadioItem = value;
    if (FRadioItem && FChecked) ClearGroup();
    Changed();
}

void TMenuItem::SetGroupIndex(int index) {
    if (index == FGroupIndex) return;
    FGroupIndex = index;
    if (FRadioItem && FChecked) ClearGroup();
    Changed();
}

void TMenuItem::SetImageIndex(int index) {
    if (index == FImageIndex) return;
    FImageIndex = index;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == FShortCut) return;
    FShortCut = shortCut;
    Changed();
}

TMenuItem* TMenuItem::Find(UINT command) {
    if (command != 0 && FCommand == command && !IsRoot()) return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->Find(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByHandle(HMENU menu) {
    if (!menu) return nullptr;
    if (FHandle.get() == menu) return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindByHandle(menu)) return found;
    return nullptr;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
    if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
    else DefaultMeasure(canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const TRect& rect, bool selected) {
    if (OnDrawItem) OnDrawItem(this, &canvas, rect, selected);
    else DefaultDraw(canvas, rect, selected);
}

namespace {
constexpr int GlyphBox = 16, GlyphGap = 4, ShortCutGap = 16, SideGap = 6;

bool IsBarItem(const TMenuItem& item) {
    return item.Parent() && item.Parent()->GetParentMenu() && !item.Parent()->Parent() &&
           item.GetParentMenu()->InheritsFrom(TMainMenu::MetaClass);
}
}  // namespace

void TMenuItem::DefaultMeasure(TCanvas& canvas, int& width, int& height) {
    SelectMenuFont(canvas, FDefault);
    if (IsLine()) {
        width = 12;
        height = 8;
        return;
    }
    const TSize text = canvas.TextExtent(FCaption.empty() ? L" " : FCaption);
    if (IsBarItem(*this)) {
        width = text.Width;
        height = GetSystemMetrics(SM_CYMENU);
        return;
    }
    const TMenu* menu = GetParentMenu();
    const int glyph = menu && menu->Images() ? std::max(menu->Images()->Width(), GlyphBox) : GlyphBox;
    width = SideGap + glyph + GlyphGap + text.Width + SideGap;
    if (FShortCut) width += ShortCutGap + canvas.TextWidth(ShortCutToText(FShortCut));
    const int glyphHeight = menu && menu->Images() ? menu->Images()->Height() : GlyphBox;
    height = std::max(text.Height + 6, glyphHeight + 4);
}

void TMenuItem::DefaultDraw(TCanvas& canvas, const TRect& rect, bool selected) {
    HDC dc = canvas.Handle();
    TSavedDC saved(dc);
    const bool bar = IsBarItem(*this);
    canvas.Brush()->SetColor(static_cast<TColor>(GetSysColor(selected ? COLOR_HIGHLIGHT : (bar ? COLOR_MENUBAR : COLOR_MENU))));
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line = rect.ToRECT();
        line.top += rect.Height() / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    SelectMenuFont(canvas, FDefault);
    SetBkMode(dc, TRANSPARENT);
    // The canvas writes in its font's colour.
    canvas.Font()->SetColor(static_cast<TColor>(
        GetSysColor(!FEnabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)));
    if (bar) {
        TRect r = rect;
        canvas.DrawText(FCaption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const TMenu* menu = GetParentMenu();
    const bool rtl = menu && menu->RightToLeft();
    TImageList* images = menu ? menu->Images() : nullptr;
    const int glyph = images ? std::max(images->Width(), GlyphBox) : GlyphBox;
    const int boxLeft = rtl ? rect.Right - SideGap - glyph : rect.Left + SideGap;
    const TRect box = TRect::FromBounds(boxLeft, rect.Top + (rect.Height() - glyph) / 2, glyph, glyph);
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        if (FChecked) {
            RECT edge = box.Inflate(1, 1).ToRECT();
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        images->Draw(canvas, box.Left + (glyph - images->Width()) / 2, box.Top + (glyph - images->Height()) / 2,
                     FImageIndex, FEnabled);
    } else if (FChecked) {
        // The system draws the mark black on white; ANDed in, only the black shows.
        TBitmap cell;
        cell.SetPixelFormat(pf24bit);
        cell.SetSize(glyph, glyph);
        RECT all{0, 0, glyph, glyph};
        DrawFrameControl(cell.Canvas()->Handle(), &all, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        BitBlt(dc, box.Left, box.Top, glyph, glyph, cell.Canvas()->Handle(), 0, 0, SRCAND);
    }
    const UINT align = rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
    TRect text = rtl ? TRect{rect.Left + SideGap, rect.Top, box.Left - GlyphGap, rect.Bottom}
                     : TRect{box.Right + GlyphGap, rect.Top, rect.Right - SideGap, rect.Bottom};
    canvas.DrawText(FCaption, text, align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    if (FShortCut) {
        TRect keys = text;
        canvas.DrawText(ShortCutToText(FShortCut), keys, (rtl ? DT_LEFT : DT_RIGHT) | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->SetMenu(this);
    // The root is never chosen: it needs no command.
    ReleaseCommand(FItems->FCommand);
    FItems->FCommand = 0;
}

TMenu::~TMenu() {
    // The items read from a description belong to the form; they only leave this menu.
    while (FItems->Count() > 0) FItems->Remove(FItems->Items(FItems->Count() - 1));
    SetImages(nullptr);
}

void TMenu::SetImages(TImageList* images) {
    if (images == FImages) return;
    if (FImages) RemoveFreeNotification(FImages);
    FImages = images;
    if (FImages) FreeNotification(FImages);
    DrawingChanged();
}

void TMenu::Notification(TComponent* component) {
    if (component == FImages) {
        FImages = nullptr;
        if (!IsDestroying()) DrawingChanged();
    }
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    DrawingChanged();
}

void TMenu::SetRightToLeft(bool value) {
    if (value == FRightToLeft) return;
    FRightToLeft = value;
    DrawingChanged();
}

void TMenu::DrawingChanged() {
    // Every level built so far is drawn the new way, not only the top one.
    std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
        item->RebuildHandle();
        for (int i = 0; i < item->Count(); ++i) rebuild(item->Items(i));
    };
    rebuild(FItems.get());
    MenuChanged();
}

void TMenu::MenuChanged() {
    if (OnChange && !IsDestroying()) OnChange(this);
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    if ((shortCut & 0xFF) == 0) return false;
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible() || !item->Enabled()) continue;
            if (item->ShortCut() == shortCut) return item;
            if (TMenuItem* found = find(item)) return found;
        }
        return nullptr;
    };
    TMenuItem* item = find(FItems.get());
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::DrawnItem(UINT id, ULONG_PTR data) const {
    // An item that opens a sub-menu comes with that sub-menu's handle for its id.
    TMenuItem* item = FindItem(id);
    if (!item) item = FItems->FindByHandle(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    return item && reinterpret_cast<TMenuItem*>(data) == item ? item : nullptr;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    TMenuItem* item = DrawnItem(measure.itemID, measure.itemData);
    if (!item) return false;
    TWindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.get());
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    item->MeasureItem(canvas, width, height);
    canvas.SetHandle(nullptr);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool TMenu::DispatchDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    TMenuItem* item = DrawnItem(draw.itemID, draw.itemData);
    if (!item) return false;
    TSavedDC saved(draw.hDC);
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    item->DrawItem(canvas, TRect::FromRECT(draw.rcItem), (draw.itemState & ODS_SELECTED) != 0);
    canvas.SetHandle(nullptr);
    return true;
}

// ---- TMainMenu ----

HMENU TMainMenu::CreateRootHandle() const { return CreateMenu(); }

void TMainMenu::MenuChanged() {
    TMenu::MenuChanged();
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && form->Menu() == this && !IsDestroying())
        form->MenuChanged();
}

// ---- TPopupMenu ----

namespace {

// The popup menus alive, for the owner window to hand their item messages to; and that window, made
// when the first popup menu is and destroyed with the last.
std::vector<TPopupMenu*> PopupMenus;
HWND PopupOwner = nullptr;

LRESULT CALLBACK PopupOwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MEASUREITEM:
        for (TPopupMenu* menu : PopupMenus)
            if (menu->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DRAWITEM:
        for (TPopupMenu* menu : PopupMenus)
            if (menu->DispatchDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR:
        for (TPopupMenu* menu : PopupMenus)
            if (LRESULT r = MenuCharResult(menu->Items()->FindByHandle(reinterpret_cast<HMENU>(lParam)), LOWORD(wParam)))
                return r;
        break;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

LRESULT MenuCharResult(TMenuItem* parent, wchar_t key) {
    if (!parent) return 0;
    // Owner-drawn items: the system does not see their mnemonics, so the key is matched here.
    wchar_t wanted = key;
    CharUpperBuffW(&wanted, 1);
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        const std::wstring& caption = item->Caption();
        const size_t amp = caption.find(L'&');
        if (amp != std::wstring::npos && amp + 1 < caption.size() && item->Enabled()) {
            wchar_t c = caption[amp + 1];
            CharUpperBuffW(&c, 1);
            if (c == wanted) return MAKELRESULT(position, MNC_EXECUTE);
        }
        ++position;
    }
    return 0;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
    if (PopupMenus.empty() && !PopupOwner) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = PopupOwnerProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"ClarivoPopupOwner";
        RegisterClassW(&cls);
        PopupOwner = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance,
                                     nullptr);
        if (PopupOwner) CountHandles(THandleKind::Window, 1);
    }
    PopupMenus.push_back(this);
}

TPopupMenu::~TPopupMenu() {
    std::erase(PopupMenus, this);
    if (PopupMenus.empty() && PopupOwner) {
        DestroyWindow(PopupOwner);
        CountHandles(THandleKind::Window, -1);
        PopupOwner = nullptr;
    }
}

HWND TPopupMenu::PopupWindow() { return PopupOwner; }

HMENU TPopupMenu::CreateRootHandle() const { return CreatePopupMenu(); }

void TPopupMenu::Notification(TComponent* component) {
    if (component == FPopupComponent) FPopupComponent = nullptr;
    TMenu::Notification(component);
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    if (!menu || GetMenuItemCount(menu) <= 0) return;
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    flags |= FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    if (RightToLeft()) flags |= TPM_LAYOUTRTL;
    const auto command = static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, PopupOwner, nullptr));
    // The menu's own loop is over: let the owner window see a message, as the system advises.
    PostMessageW(PopupOwner, WM_NULL, 0, 0);
    if (command) DispatchCommand(command);
}

LOGFONTW MenuLogFont(bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMenuFont, &metrics.lfMenuFont);
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    return metrics.lfMenuFont;
}
