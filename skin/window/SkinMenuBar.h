#pragma once
// The menu bar of a skinned window. The window's own menu bar goes (the window skinner keeps a strip of
// the frame for it) and this one is drawn there from the skin's menu bar image: one TMenuBtn per
// top-level item, hot and pressed like caption buttons. Clicking an item, or its mnemonic with Alt, or
// F10, opens its drop-down below it; while one is open the mouse and the arrow keys move to the other
// items as on the system's own bar. Items that do not fit in one row wrap to the next.
#include "skin/window/NCObject.h"
#include "ui/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinMenu;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& Owner, TWinSkinMenu& Bar) : TNCObject(Owner), FBar(Bar) {}

    void Paint() override;

    TMenuItem* Item = nullptr;  // the framework item, when there is one
    std::wstring Caption;
    HMENU DropDown = nullptr;   // none for an item that runs a command itself
    UINT Command = 0;
    int Index = 0;

private:
    TWinSkinMenu& FBar;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& Skinner, TSkinData& Skin);
    // Gives the window its menu back.
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // (Re)reads the items from the window's menu and takes the menu off the window.
    void Build();
    HMENU Menu() const { return FMenu; }
    const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return FItems; }

    // Places the items on a bar of the window's width; returns the height the bar needs (rows).
    int Layout();
    // Paints the bar (window coordinates of DC) in the strip below the title bar.
    void Paint(HDC DC);
    // One item in its state, straight onto the window.
    void PaintItem(const TMenuBtn& Item);

    // The item under a frame point (items with a caption only), or null.
    TMenuBtn* ItemAt(TPoint FramePoint) const;
    // Opens the item's drop-down (posting its command first) and follows the user between items until
    // the menus close; false when it has none.
    bool Open(TMenuBtn* Item);
    // Alt+key or F10 (Key 0): opens the item whose mnemonic Key is, or the first; false when none is.
    bool KeyMenu(wchar_t Key);
    // Keeps track of the item selected in an open drop-down (WM_MENUSELECT reaching the window).
    void MenuSelect(WPARAM WParam, LPARAM LParam);
    // Owner-drawn items of an open drop-down of a menu without framework items (WM_MEASUREITEM,
    // WM_DRAWITEM reaching the window); false for anything else.
    bool MeasureItem(MEASUREITEMSTRUCT& Measure) const;
    bool DrawItem(const DRAWITEMSTRUCT& Draw) const;

private:
    void DrawCaption(HDC DC, const TMenuBtn& Item, const TRect& Rect) const;
    // Raw menus (no framework items) are drawn by the item painter while they are open.
    void SetOwnerDraw(HMENU Menu, bool On);

    TWinSkinForm& FSkinner;
    TSkinData& FSkin;
    TMainMenu* FFrameworkMenu = nullptr;
    HMENU FMenu = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> FItems;
    TRect FBarRect;  // window coordinates, as last painted
    TBitmap FBarImage;       // the bar as last painted, items included
    TBitmap FBarBackground;  // the bar's background as last painted
    std::vector<std::pair<HMENU, UINT>> FMarkedOwnerDraw;
};
