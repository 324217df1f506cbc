#include "skin/window/SkinPopupMenu.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinMessages.h"
#include "ui/Canvas.h"
#include "ui/CustomForm.h"
#include "ui/ImageList.h"
#include "ui/SubclassIds.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace {

// The popup skinners alive, newest last.
std::vector<TWinSkinPopMenu*> OpenPopups() {
    std::vector<TWinSkinPopMenu*> popups;
    if (SkinManager)
        for (const auto& p : SkinManager->Popups())
            if (auto* popup = dynamic_cast<TWinSkinPopMenu*>(p.get())) popups.push_back(popup);
    return popups;
}

TWinSkinPopMenu* PopupShowing(HMENU Menu) {
    if (!Menu) return nullptr;
    for (TWinSkinPopMenu* popup : OpenPopups())
        if (popup->Menu() == Menu) return popup;
    return nullptr;
}

// The first item drawn of a menu ties it to the newest menu window that has no menu yet.
void AssignMenu(HMENU Menu) {
    if (!Menu || PopupShowing(Menu)) return;
    const std::vector<TWinSkinPopMenu*> popups = OpenPopups();
    for (auto it = popups.rbegin(); it != popups.rend(); ++it)
        if (!(*it)->Menu()) {
            (*it)->SetMenu(Menu);
            return;
        }
}

// The screen's menu font, bold for a default item.
// An empty caption or a lone "&" is measured as one space.
std::wstring ShownCaption(const TMenuItemLook& Item) {
    return Item.Caption.empty() || Item.Caption == L"&" ? L" " : Item.Caption;
}

int GlyphSize(const TMenuItemLook& Item) {
    const int size = Item.Images ? Item.Images->Width() : 16;
    return Item.Checked ? std::max(size, 16) : size;
}

int GutterOf(const TSkinData& Skin) { return Skin.MenuItem ? Skin.MenuItem->LeftWidth : 0; }

constexpr UINT MeasureText = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT DrawnText = DT_EXPANDTABS | DT_SINGLELINE;

COLORREF TextColour(const TSkinData& Skin, const TMenuItemLook& Item, bool Highlighted) {
    if (!Item.Enabled)
        return Skin.ButtonShadowColor == Skin.MenuTextColor ? GetSysColor(COLOR_BTNSHADOW) : ColorToRGB(Skin.ButtonShadowColor);
    return ColorToRGB(Highlighted ? Skin.HilightTextColor : Skin.MenuTextColor);
}

// The check mark or radio dot, in Colour, centred in Box.
void DrawMark(HDC DC, const TRect& Box, bool Radio, COLORREF Colour) {
    const int size = 16;
    TBitmap mark;
    mark.SetPixelFormat(pf24bit);
    mark.SetSize(size, size);
    TBitmapDCLock lock(mark);
    RECT all{0, 0, size, size};
    // Drawn black on white by the system; the black becomes the colour, the white lets through.
    DrawFrameControl(lock.Handle(), &all, DFC_MENU, Radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    UniqueBrush brush(CreateSolidBrush(Colour));
    TSavedDC saved(DC);
    SelectObject(DC, brush.get());
    const int x = Box.Left + (Box.Width() - size) / 2 + 1, y = Box.Top + (Box.Height() - size) / 2 + 1;
    constexpr DWORD PatternWhereBlack = 0x00B8074A;  // (D xor P) and S, xor P
    BitBlt(DC, x, y, size, size, lock.Handle(), 0, 0, PatternWhereBlack);
}

// Glyph or mark, caption and shortcut of an item within Rect (the item's own bitmap).
void DrawContent(const TSkinData& Skin, const TMenuItemLook& Item, HDC DC, const TRect& Rect, bool Highlighted,
                 bool Flat) {
    if (Item.IsLine()) {
        if (Flat) {
            RECT line{Rect.Left, Rect.Top + 4, Rect.Right, Rect.Bottom};
            DrawEdge(DC, &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    const int g = GlyphSize(Item);
    const int gutter = Flat ? 0 : GutterOf(Skin);
    const TRect box = Item.RightToLeft
                          ? TRect::FromBounds(Rect.Right - 1 - gutter - g, Rect.Top + (Rect.Height() - g) / 2, g, g)
                          : TRect::FromBounds(Rect.Left + 1 + gutter, Rect.Top + (Rect.Height() - g) / 2, g, g);
    const COLORREF text = TextColour(Skin, Item, Highlighted);
    if (Item.Images && Item.ImageIndex >= 0 && Item.ImageIndex < Item.Images->Count()) {
        if (Item.Checked) {
            // A checked item with a glyph shows it pressed into a half-tone box.
            const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
            UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
            UniqueBrush halftone(CreatePatternBrush(bits.get()));
            TSavedDC saved(DC);
            SetTextColor(DC, GetSysColor(COLOR_BTNFACE));
            SetBkColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
            RECT r = box.ToRECT();
            FillRect(DC, &r, halftone.get());
            DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT);
        }
        TCanvas canvas;
        canvas.SetHandle(DC);
        Item.Images->Draw(canvas, box.Left + (g - Item.Images->Width()) / 2, box.Top + (g - Item.Images->Height()) / 2,
                          Item.ImageIndex, Item.Enabled);
        canvas.SetHandle(nullptr);
    } else if (Item.Checked) {
        DrawMark(DC, TRect{box.Left, Rect.Top, box.Right, Rect.Bottom}, Item.RadioItem, text);
    }

    UniqueFont font = MenuFont(Item.Default);
    TSavedDC saved(DC);
    SelectObject(DC, font.get());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, text);
    const std::wstring caption = ShownCaption(Item);
    const UINT align = Item.RightToLeft ? DT_RIGHT | DT_RTLREADING : 0u;
    TRect area = Item.RightToLeft ? TRect{Rect.Left + 1, Rect.Top, box.Left - 3, Rect.Bottom}
                                  : TRect{box.Right + 3, Rect.Top, Rect.Right - 1, Rect.Bottom};
    TRect measured = area;
    SkinDrawText(DC, caption, measured, MeasureText | align);
    const int dy = (area.Height() - measured.Height()) / 2;
    TRect drawn = area.Offset(0, dy);
    drawn.Bottom = drawn.Top + measured.Height();
    SkinDrawText(DC, caption, drawn, DrawnText | align);
    if (!Item.ShortCut.empty()) {
        TRect keys = Item.RightToLeft ? TRect{Rect.Left + 10, drawn.Top, area.Right - measured.Width(), drawn.Bottom}
                                      : TRect{area.Left + measured.Width(), drawn.Top, Rect.Right - 11, drawn.Bottom};
        SkinDrawText(DC, Item.ShortCut, keys, DT_SINGLELINE | (Item.RightToLeft ? DT_LEFT : DT_RIGHT));
    }
}

// The separator: the bottom rows of the item image's second frame, caps kept and middle stretched.
void DrawSeparator(const TDataSkinObject& Element, HDC DC, int Width, int Height) {
    TBitmap& image = *Element.Bitmap;
    const int fw = image.Width() / 5, ih = image.Height();
    const int y0 = std::max(0, ih - Height), rows = ih - y0;
    const int left = std::min(Element.LeftWidth, fw), right = std::min(Element.RightWidth, fw - left);
    TBitmap piece;
    piece.SetPixelFormat(pf24bit);
    piece.SetSize(Width, Height);
    {
        TBitmapDCLock target(piece);
        TBitmapDCLock source(image);
        HDC to = target.Handle(), from = source.Handle();
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, left, Height, from, fw, y0, left, rows, SRCCOPY);
        StretchBlt(to, Width - right, 0, right, Height, from, 2 * fw - right, y0, right, rows, SRCCOPY);
        StretchBlt(to, left, 0, Width - left - right, Height, from, fw + left, y0, fw - left - right, rows, SRCCOPY);
    }
    DrawTransparent(DC, TRect{0, 0, Width, Height}, piece, SkinKeyColor);
}

}  // namespace

// ---- The menu window ----

TWinSkinPopMenu::TWinSkinPopMenu(HWND Window, TSkinData& Skin) : FWnd(Window), FSkin(&Skin) {
    FSubclassed = SetWindowSubclass(FWnd, SubclassProc(), SubclassPopupMenu, reinterpret_cast<DWORD_PTR>(this)) != 0;
}

TWinSkinPopMenu::~TWinSkinPopMenu() { Restore(); }

void TWinSkinPopMenu::Restore() {
    if (FSubclassed && IsWindow(FWnd)) RemoveWindowSubclass(FWnd, SubclassProc(), SubclassPopupMenu);
    FSubclassed = false;
    FBackground.reset();
}

TPoint TWinSkinPopMenu::ClientOffset() const {
    RECT window{};
    POINT client{0, 0};
    if (!GetWindowRect(FWnd, &window) || !ClientToScreen(FWnd, &client)) return {3, 3};
    return {client.x - window.left, client.y - window.top};
}

bool TWinSkinPopMenu::BuildBackground() {
    const TDataSkinObject* element = FSkin->MenuBackground.get();
    if (FSkin->SkinPending || !element || element->Bitmap->Empty()) return false;
    RECT r{};
    GetWindowRect(FWnd, &r);
    const TRect whole{0, 0, r.right - r.left, r.bottom - r.top};
    if (whole.IsEmpty()) return false;
    FBackground = BuildSkinImage(whole, *element->Bitmap, element->Margins(), false, element->Tile != 0, 1, 1);
    return FBackground != nullptr;
}

void TWinSkinPopMenu::PaintAroundItems() {
    // A menu whose items the skin does not draw is learned from the window itself.
    if (!FMenu) FMenu = reinterpret_cast<HMENU>(SendMessageW(FWnd, MN_GETHMENU, 0, 0));
    if (!FBackground || !FMenu) return;
    RECT window{}, client{};
    GetWindowRect(FWnd, &window);
    GetClientRect(FWnd, &client);
    if (client.right != window.right - window.left || client.bottom != window.bottom - window.top) return;
    UniqueRegion around(CreateRectRgn(0, 0, client.right, client.bottom));
    const int count = GetMenuItemCount(FMenu);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!GetMenuItemRect(nullptr, FMenu, static_cast<UINT>(i), &item)) continue;
        MapWindowPoints(nullptr, FWnd, reinterpret_cast<POINT*>(&item), 2);
        UniqueRegion itemRegion(CreateRectRgnIndirect(&item));
        CombineRgn(around.get(), around.get(), itemRegion.get(), RGN_DIFF);
    }
    TWindowDC dc(FWnd, false);
    TSavedDC saved(dc.get());
    SelectClipRgn(dc.get(), around.get());
    TBitmapDCLock image(*FBackground);
    BitBlt(dc.get(), 0, 0, FBackground->Width(), FBackground->Height(), image.Handle(), 0, 0, SRCCOPY);
}

LRESULT TWinSkinPopMenu::Message(UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_SKINQUERY) return 1;
    if (!SkinManager || !SkinManager->Active) return DefSubclassProc(FWnd, Msg, WParam, LParam);
    switch (Msg) {
    case WM_DESTROY: {
        const LRESULT result = DefSubclassProc(FWnd, Msg, WParam, LParam);
        Restore();
        return result;
    }
    case WM_ERASEBKGND:
        // With the option the skin's background painted with the frame stays; else the system erases.
        if (!FSkin->HasOption(xoMenuBG)) DefSubclassProc(FWnd, Msg, WParam, LParam);
        return 1;
    case WM_NCPAINT: {
        if (!BuildBackground()) return DefSubclassProc(FWnd, Msg, WParam, LParam);
        TWindowDC dc(FWnd, true);
        TBitmapDCLock image(*FBackground);
        BitBlt(dc.get(), 0, 0, FBackground->Width(), FBackground->Height(), image.Handle(), 0, 0, SRCCOPY);
        return 0;
    }
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(FWnd, Msg, WParam, LParam);
        PaintAroundItems();
        return result;
    }
    case WM_PRINT: {
        // Menu animation draws the window into a bitmap: the skin's picture first, the items over it.
        if (!BuildBackground()) return DefSubclassProc(FWnd, Msg, WParam, LParam);
        const auto dc = reinterpret_cast<HDC>(WParam);
        {
            TBitmapDCLock image(*FBackground);
            BitBlt(dc, 0, 0, FBackground->Width(), FBackground->Height(), image.Handle(), 0, 0, SRCCOPY);
        }
        const int mode = SetBkMode(dc, TRANSPARENT);
        UniqueRegion clip(CreateRectRgn(3, 3, FBackground->Width() - 3, FBackground->Height() - 3));
        SelectClipRgn(dc, clip.get());
        const LRESULT result = DefSubclassProc(FWnd, Msg, WParam, LParam);
        SelectClipRgn(dc, nullptr);
        SetBkMode(dc, mode);
        return result;
    }
    default:
        return DefSubclassProc(FWnd, Msg, WParam, LParam);
    }
}

// ---- Items ----

UniqueFont MenuFont(bool Bold) {
    const LOGFONTW font = MenuLogFont(Bold);
    return UniqueFont(CreateFontIndirectW(&font));
}

TMenuItemLook LookOf(TMenuItem& Item) {
    TMenuItemLook look;
    look.Caption = Item.Caption();
    look.Enabled = Item.Enabled();
    look.Checked = Item.Checked();
    look.Default = Item.Default();
    look.RadioItem = Item.RadioItem();
    look.ShortCut = ShortCutToText(Item.ShortCut());
    look.ImageIndex = Item.ImageIndex();
    if (TMenu* menu = Item.GetParentMenu()) {
        look.Images = menu->Images();
        look.RightToLeft = menu->RightToLeft();
    }
    look.Menu = Item.Parent() ? Item.Parent()->Handle() : nullptr;
    return look;
}

TMenuItemLook LookOf(HMENU Menu, UINT Command) {
    TMenuItemLook look;
    look.Menu = Menu;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    if (!GetMenuItemInfoW(Menu, Command, FALSE, &info)) return look;
    wchar_t text[81]{};
    GetMenuStringW(Menu, Command, text, 80, MF_BYCOMMAND);
    std::wstring caption = text;
    if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
        look.ShortCut = caption.substr(tab + 1);
        caption.resize(tab);
    }
    look.Caption = caption.empty() || (info.fType & MFT_SEPARATOR) ? L"-" : caption;
    look.Enabled = (info.fState & 3) == 0;
    look.Checked = (info.fState & MFS_CHECKED) != 0;
    look.Default = (info.fState & MFS_DEFAULT) != 0;
    look.RadioItem = (info.fType & MFT_RADIOCHECK) != 0;
    look.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
    return look;
}

void MeasureMenuItem(TSkinData& Skin, const TMenuItemLook& Item, HDC DC, int& Width, int& Height) {
    if (Item.IsLine()) {
        Width = 12;
        Height = 8;
        return;
    }
    UniqueFont font = MenuFont(Item.Default);
    TSavedDC saved(DC);
    SelectObject(DC, font.get());
    TRect text{0, 0, 0, 0};
    SkinDrawText(DC, ShownCaption(Item), text, MeasureText);
    const int g = GlyphSize(Item);
    Width = 1 + GutterOf(Skin) + g + 3 + text.Width() + 11;
    if (!Item.ShortCut.empty()) {
        TRect keys{0, 0, 0, 0};
        SkinDrawText(DC, Item.ShortCut, keys, MeasureText);
        Width += 16 + keys.Width();
    }
    Height = std::max(text.Height() + 4, g + 2);
}

void DrawMenuItem(TSkinData& Skin, const TMenuItemLook& Item, HDC DC, const TRect& Rect, bool Highlighted) {
    if (Rect.IsEmpty()) return;
    AssignMenu(Item.Menu);
    const TDataSkinObject* element = Skin.MenuItem.get();
    const bool flat = !element || element->Bitmap->Empty();
    const int w = Rect.Width(), h = Rect.Height();
    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(w, h);
    TBitmapDCLock lock(buffer);
    HDC to = lock.Handle();
    const TRect all{0, 0, w, h};

    TWinSkinPopMenu* popup = PopupShowing(Item.Menu);
    if (flat) {
        UniqueBrush fill(CreateSolidBrush(ColorToRGB(Highlighted && !Item.IsLine() ? Skin.HilightColor : Skin.MenuColor)));
        const RECT r = all.ToRECT();
        FillRect(to, &r, fill.get());
    } else if (popup && popup->Background()) {
        // The menu window's own picture under the item (its client area starts inside the border).
        const TPoint offset = popup->ClientOffset();
        TBitmapDCLock background(const_cast<TBitmap&>(*popup->Background()));
        BitBlt(to, 0, 0, w, h, background.Handle(), Rect.Left + offset.X, Rect.Top + offset.Y, SRCCOPY);
    } else {
        UniqueBrush fill(CreateSolidBrush(ColorToRGB(Skin.MenuColor)));
        const RECT r = all.ToRECT();
        FillRect(to, &r, fill.get());
    }
    if (!flat) {
        if (Item.IsLine())
            DrawSeparator(*element, to, w, h);
        else
            DrawSkinImage(to, all, *element->Bitmap, false, element->Tile != 0, element->Trans == 1, 5,
                          Highlighted ? 4 : 1, element->Margins());
    }
    DrawContent(Skin, Item, to, all, Highlighted, flat);
    BitBlt(DC, Rect.Left, Rect.Top, w, h, to, 0, 0, SRCCOPY);
}

// ---- Switching menus to the painter ----

void SkinMenuItems(TMenu& Menu, TSkinData& Skin, bool On) {
    const bool menuBar = Menu.InheritsFrom(TMainMenu::MetaClass);
    TSkinData* skin = &Skin;
    const TMenuDrawItemEvent draw = [skin](TObject* sender, TCanvas* canvas, TRect rect, bool selected) {
        DrawMenuItem(*skin, LookOf(*static_cast<TMenuItem*>(sender)), canvas->Handle(), rect, selected);
    };
    const TMenuMeasureItemEvent measure = [skin](TObject* sender, TCanvas* canvas, int& width, int& height) {
        MeasureMenuItem(*skin, LookOf(*static_cast<TMenuItem*>(sender)), canvas->Handle(), width, height);
    };
    // The bar's own items (depth 1 of a menu bar) are drawn by the bar, not by the painter.
    std::function<void(TMenuItem&, int)> walk = [&](TMenuItem& parent, int depth) {
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem& item = *parent.Items(i);
            if (!menuBar || depth >= 2) {
                if (!On) {
                    item.OnDrawItem = nullptr;
                    item.OnMeasureItem = nullptr;
                } else if (!menuBar || !item.OnDrawItem) {
                    item.OnDrawItem = draw;
                    if (!item.OnMeasureItem) item.OnMeasureItem = measure;
                }
            }
            walk(item, depth + 1);
        }
    };
    walk(*Menu.Items(), 1);
    Menu.SetOwnerDraw(On);
}

void SkinFormMenus(TCustomForm& Form, TSkinData& Skin, bool On) {
    if (Form.ClassType().Name() == "TwwRichEditForm") return;
    for (TComponent* component : std::vector<TComponent*>(Form.ComponentList())) {
        if (auto* bar = dynamic_cast<TMainMenu*>(component)) {
            if (Skin.HasControl(xcMenuItem)) SkinMenuItems(*bar, Skin, On);
        } else if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
            if (Skin.HasControl(xcPopupMenu) && popup->Tag() != Skin.DisableTag()) SkinMenuItems(*popup, Skin, On);
        } else if (auto* owned = dynamic_cast<TCustomForm*>(component)) {
            SkinFormMenus(*owned, Skin, On);
        }
    }
}
