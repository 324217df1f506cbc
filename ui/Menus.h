#pragma once
// Menus: trees of TMenuItem shown as a form's menu bar (TMainMenu, the form's Menu) or as a context menu
// (TPopupMenu, a control's PopupMenu). An item with sub-items keeps a system menu of them, built when
// first asked for and rebuilt whenever an item below it changes. A chosen item comes back as its command
// id (100 to 4095, unique in the process) and runs the item's OnClick; a key that is an item's ShortCut
// does the same.
//
// A menu that draws its own items (OwnerDraw, or an image list) hands each item's measuring and drawing
// to the item's OnMeasureItem/OnDrawItem when set (a skin sets them), else draws glyph or check mark,
// caption and shortcut itself in the system's menu colours.
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TImageList;
class TMenu;

// A key with modifiers, as menus store it: the virtual key in the low byte, plus these bits.
using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+Shift+A", "Del", "F5"; empty for none.
std::wstring ShortCutToText(TShortCut shortCut);
// The shortcut a text such as "Alt+F4" names (any case); 0 when it names none.
TShortCut TextToShortCut(const std::wstring& text);
// The system's menu font (bold for a default item), as every menu of the program draws its captions.
LOGFONTW MenuLogFont(bool bold = false);
// The shortcut a key message makes with the modifier keys held now.
TShortCut ShortCutFromKey(WPARAM key);

class TMenuItem;
// The answer to WM_MENUCHAR for the sub-menu of parent: the enabled item whose caption's mnemonic is the
// key, chosen at once; 0 when none is (owner-drawn items' mnemonics are matched here, not by the system).
LRESULT MenuCharResult(TMenuItem* parent, wchar_t key);

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
public:
    CLARIVO_CLASS

    explicit TMenuItem(TComponent* owner);
    // Frees the sub-items and leaves the parent item.
    ~TMenuItem() override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& caption);
    // A caption of "-" makes a separator line.
    bool IsLine() const { return FCaption == L"-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    // The bold item that a double click on the menu's owner would choose.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // Checked shows a dot; checking one item of a GroupIndex clears the others of its group.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);
    // Clicking toggles Checked (a radio item: checks it).
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    // Index into the menu's image list; -1 none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut shortCut);

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* Parent() const { return FParent; }
    // The menu the item belongs to, or null.
    TMenu* GetParentMenu() const;

    UINT Command() const { return FCommand; }
    // The system menu of the sub-items (made on first use); null for an item without sub-items.
    HMENU Handle();
    // The item itself or one below it with that command id; or with that sub-menu.
    TMenuItem* Find(UINT command);
    TMenuItem* FindByHandle(HMENU menu);

    // Chosen: the automatic check, then OnClick (only when enabled).
    virtual void Click();

    // Measuring and drawing of an owner-drawn item: the events when set, else the item's own.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void DrawItem(TCanvas& canvas, const TRect& rect, bool selected);

    void SetParentComponent(TComponent* parent) override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    // Something shown changed: the parent's system menu is rebuilt.
    void Changed();
    void RebuildHandle();
    void ClearGroup();
    void SetMenu(TMenu* menu);
    bool IsRoot() const;
    void DefaultMeasure(TCanvas& canvas, int& width, int& height);
    void DefaultDraw(TCanvas& canvas, const TRect& rect, bool selected);

    std::wstring FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    UINT FCommand = 0;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item only
    UniqueMenu FHandle;
};

class TMenu : public TComponent {
public:
    CLARIVO_CLASS

    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item: its sub-items are the menu's items.
    TMenuItem* Items() const { return FItems.get(); }
    HMENU Handle() { return FItems->Handle(); }

    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // Whether the items are drawn by the program (OwnerDraw or an image list).
    bool DrawsItems() const { return FOwnerDraw || FImages; }
    bool RightToLeft() const { return FRightToLeft; }
    void SetRightToLeft(bool value);

    TMenuItem* FindItem(UINT command) const { return FItems->Find(command); }
    // Runs the item with that command id; false when the menu has none.
    bool DispatchCommand(UINT command);
    // Runs the visible, enabled item whose ShortCut is the key; false when none is.
    bool IsShortCut(TShortCut shortCut);
    // WM_MEASUREITEM and WM_DRAWITEM of this menu's items; false for items of other menus.
    bool DispatchMeasureItem(MEASUREITEMSTRUCT& measure);
    bool DispatchDrawItem(const DRAWITEMSTRUCT& draw);

    // Something in the menu changed (after the system menus are rebuilt).
    TNotifyEvent OnChange;

protected:
    friend class TMenuItem;
    // A new, empty system menu for the root (a menu bar or a popup menu).
    virtual HMENU CreateRootHandle() const = 0;
    virtual void MenuChanged();
    void Notification(TComponent* component) override;
    // Images, owner drawing or reading order changed: every level of items is built again.
    void DrawingChanged();
    // The item an owner-draw message names (id and item data), or null when it is not this menu's.
    TMenuItem* DrawnItem(UINT id, ULONG_PTR data) const;

private:
    std::unique_ptr<TMenuItem> FItems;
    TImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    bool FRightToLeft = false;
};

// The menu bar of the form that owns it (the form's Menu property shows it).
class TMainMenu : public TMenu {
public:
    CLARIVO_CLASS
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

protected:
    HMENU CreateRootHandle() const override;
    void MenuChanged() override;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// A context menu: shown by Popup, or by a control whose PopupMenu it is on a right click or the menu key.
class TPopupMenu : public TMenu {
public:
    CLARIVO_CLASS
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Shows the menu at a screen point and runs the chosen item; returns when the menu is closed.
    virtual void Popup(int x, int y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment alignment) { FAlignment = alignment; }
    // The control the menu was last opened for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* component) { FPopupComponent = component; }

    // Raised before the menu shows (items may be changed there).
    TNotifyEvent OnPopup;

    // The hidden window that owns every open popup menu (it receives their item messages).
    static HWND PopupWindow();

protected:
    HMENU CreateRootHandle() const override;
    void Notification(TComponent* component) override;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
};
