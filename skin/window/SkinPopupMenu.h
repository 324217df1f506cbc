#pragma once
// Popup menus in the skin, in two layers. Every menu window of the process ("#32768": context menus,
// the menu bar's drop-downs, the system menu) gets a TWinSkinPopMenu that paints its border and
// background from the skin's menu background image. The items inside are owner-drawn by the menu item
// painter: the popup's background under each item, the skin's menu item image (frame 4) under the
// highlighted one, then glyph or check mark, caption and shortcut in the skin's menu colours.
//
// A popup learns which menu it shows from the first item drawn in it: the item's menu goes to the
// newest popup that has none yet, so a sub-menu opened beside its parent finds its own background.
#include "skin/window/SkinManager.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/Menus.h"
#include "ui/SubclassIds.h"
#include "ui/Types.h"

#include <memory>
#include <string>

class TCustomForm;
class TImageList;
class TSkinData;

class TWinSkinPopMenu final : public TPopupMenuSkinner {
public:
    TWinSkinPopMenu(HWND Window, TSkinData& Skin);
    ~TWinSkinPopMenu() override;

    HWND Handle() const override { return FWnd; }
    void Restore() override;

    // The menu shown in the window, once learned (null before).
    HMENU Menu() const { return FMenu; }
    void SetMenu(HMENU Menu) { FMenu = Menu; }
    // The window's whole picture as last painted (border and background), or null.
    const TBitmap* Background() const { return FBackground.get(); }
    // Where the client area (the items) starts inside the window.
    TPoint ClientOffset() const;

private:
    static SUBCLASSPROC SubclassProc() { return MemberSubclassProc<TWinSkinPopMenu, &TWinSkinPopMenu::Message>; }
    LRESULT Message(UINT Msg, WPARAM WParam, LPARAM LParam);
    // Rebuilds the background for the window's size; false when the skin has no menu background.
    bool BuildBackground();
    // Where the system draws the menu's border inside the client area (a menu window without frame, as
    // Wine makes them), the skin's picture goes over everything but the items once they are painted.
    void PaintAroundItems();

    HWND FWnd;
    TSkinData* FSkin;
    HMENU FMenu = nullptr;
    std::unique_ptr<TBitmap> FBackground;
    bool FSubclassed = false;
};

// What the item painter needs of one item: from a framework item, or read from a system menu.
struct TMenuItemLook {
    std::wstring Caption;  // "-": a separator
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool RadioItem = false;
    bool RightToLeft = false;
    std::wstring ShortCut;  // as shown, empty for none
    TImageList* Images = nullptr;
    int ImageIndex = -1;
    HMENU Menu = nullptr;  // the menu the item is shown in

    bool IsLine() const { return Caption == L"-"; }
};
TMenuItemLook LookOf(TMenuItem& Item);
// An item of a system menu, by command id (the items of menus without framework objects).
TMenuItemLook LookOf(HMENU Menu, UINT Command);

// The menu font as a GDI font (bold for a default item).
UniqueFont MenuFont(bool Bold = false);
// The item's size in the skin: gutter and glyph box, caption, shortcut.
void MeasureMenuItem(TSkinData& Skin, const TMenuItemLook& Item, HDC DC, int& Width, int& Height);
// Draws the item into Rect of DC (the menu's client coordinates).
void DrawMenuItem(TSkinData& Skin, const TMenuItemLook& Item, HDC DC, const TRect& Rect, bool Highlighted);

// Gives a form's menus to the item painter (On) or back to their own drawing: the drop-down items of its
// menu bars and every item of its popup menus (unless the skin leaves them alone), and so on for the
// forms it owns.
void SkinFormMenus(TCustomForm& Form, TSkinData& Skin, bool On);
// Gives a framework menu's items to the painter (or back), whichever form holds it.
void SkinMenuItems(TMenu& Menu, TSkinData& Skin, bool On);
