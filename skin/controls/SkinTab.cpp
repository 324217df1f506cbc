#include "skin/controls/SkinTab.h"

#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinConvert.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"
#include "ui/PageControl.h"
#include "ui/Properties.h"
#include "ui/StringList.h"
#include "ui/TabSet.h"
#include "ui/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <optional>

const TClassInfo TSkinScrollingTabs::MetaClass("TSkinScrollingTabs", &TSkinControl::MetaClass, nullptr, {});
const TClassInfo TSkinTab::MetaClass("TSkinTab", &TSkinScrollingTabs::MetaClass, ComponentFactory<TSkinTab>, {});
const TClassInfo TSkinTabBtn::MetaClass("TSkinTabBtn", &TSkinTab::MetaClass, ComponentFactory<TSkinTabBtn>, {});
const TClassInfo TSkinTabSheet::MetaClass("TSkinTabSheet", &TSkinControl::MetaClass, ComponentFactory<TSkinTabSheet>, {});
const TClassInfo TSkinTab31::MetaClass("TSkinTab31", &TSkinScrollingTabs::MetaClass, ComponentFactory<TSkinTab31>, {});
const TClassInfo TSkinAdvPage::MetaClass("TSkinAdvPage", &TSkinTab::MetaClass, ComponentFactory<TSkinAdvPage>, {});

namespace {

// The focus rectangle of a focused tab, in black and white whatever the colours on the DC.
void DrawTabFocus(HDC DC, const TRect& Tab) {
    const RECT r = Tab.Inflate(-3, -3).ToRECT();
    TSavedDC colours(DC);
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    DrawFocusRect(DC, &r);
}

// The pane margins of a skin whose pane is the tab element's second image (Style 0).
constexpr TSkinMargins BorderPaneMargins{4, 5, 4, 4};
// How far the current tab reaches into the pane's edge (the system's tab control draws it as much
// taller than the others), so that it is one with the pane.
constexpr int CurrentTabOverlap = 2;
// The close box: its size and its distance from the tab's top and right edges, and the room it takes.
constexpr int CloseBoxSize = 6;
constexpr int CloseBoxInset = 2;
constexpr int CloseBoxRoom = CloseBoxSize + CloseBoxInset;
// The space the system's tab control keeps around a tab's caption.
constexpr int TabPaddingX = 6;
constexpr int TabPaddingY = 3;
// The fixed size the tab backgrounds are rendered at for a page control that takes them as bitmaps.
constexpr int AdvTabWidth = 100;
constexpr int AdvTabHeight = 21;

void Fill(HDC DC, const TRect& Rect, TColor Colour) {
    SetDCBrushColor(DC, ColorToRGB(Colour));
    const RECT r = Rect.ToRECT();
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// An image's edges after the image was flipped top to bottom, or turned a quarter left or right.
TSkinMargins Flipped(const TSkinMargins& m) { return {m.Left, m.Bottom, m.Right, m.Top}; }
TSkinMargins TurnedLeft(const TSkinMargins& m) { return {m.Top, m.Right, m.Bottom, m.Left}; }
TSkinMargins TurnedRight(const TSkinMargins& m) { return {m.Bottom, m.Left, m.Top, m.Right}; }

std::unique_ptr<TBitmap> Copy24(TBitmap& Source) {
    if (Source.Empty()) return nullptr;
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(&Source);
    copy->SetPixelFormat(pf24bit);
    return copy;
}

bool ReadsTrue(const TObject* Object, const char* Name) {
    std::wstring value = ReadEnumNameProperty(Object, Name);
    for (wchar_t& c : value) c = static_cast<wchar_t>(std::towlower(c));
    return value == L"true";
}

}  // namespace

// ---- Shared cells ----

void DrawIconCaption(TCanvas& Canvas, const TRect& Rect, TCellAlign Align, const std::wstring& Caption, int ImageIndex,
                     HIMAGELIST Images, bool Enabled, bool RightToLeft) {
    int iconWidth = 0, iconHeight = 0;
    if (!Images || ImageIndex < 0 || !ImageList_GetIconSize(Images, &iconWidth, &iconHeight) || iconWidth >= Rect.Width())
        iconWidth = iconHeight = 0;
    const UINT textFlags = DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (RightToLeft ? DT_RTLREADING : 0u);
    Canvas.Font()->SetStyle(0);
    if (!Enabled) Canvas.Font()->SetColor(static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    Canvas.Brush()->SetStyle(bsClear);
    TRect measured{0, 0, Rect.Width(), Rect.Height()};
    if (!Caption.empty()) Canvas.DrawText(Caption, measured, textFlags | DT_CALCRECT | DT_NOCLIP);
    const int captionWidth = Caption.empty() ? 0 : measured.Width();
    int start = Align == caCentre ? (Rect.Width() - iconWidth - captionWidth) / 2
                : Align == caRight ? Rect.Width() - iconWidth - captionWidth - 2
                                   : 3;
    if (start < 2) start = 1;
    if (iconWidth > 0)
        ImageList_Draw(Images, ImageIndex, Canvas.Handle(), Rect.Left + start, Rect.Top + (Rect.Height() - iconHeight) / 2,
                       ILD_TRANSPARENT);
    if (Caption.empty()) return;
    const int top = Rect.Top + (Rect.Height() - measured.Height()) / 2;
    TRect text{Rect.Left + start + iconWidth, top, Rect.Right, top + measured.Height()};
    Canvas.DrawText(Caption, text, textFlags);
}

void DrawTabCaption(HDC DC, const TRect& Rect, const std::wstring& Caption, UINT Align, bool Enabled, bool RightToLeft) {
    if (Caption.empty()) return;
    const UINT flags = DT_EXPANDTABS | DT_NOPREFIX | Align | (RightToLeft ? DT_RTLREADING : 0u);
    RECT measured{0, 0, Rect.Width(), Rect.Height()};
    DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &measured, flags | DT_CALCRECT | DT_NOCLIP);
    const int textWidth = static_cast<int>(measured.right - measured.left);
    const int textHeight = static_cast<int>(measured.bottom - measured.top);
    RECT r = Rect.ToRECT();
    if (Align == DT_CENTER) {
        r.left = Rect.Left + (Rect.Width() - textWidth) / 2;
        r.right = r.left + textWidth;
    }
    r.top = Rect.Top + (Rect.Height() - textHeight) / 2 - 1;
    r.bottom = r.top + textHeight;
    TSavedDC saved(DC);
    SetBkMode(DC, TRANSPARENT);
    if (!Enabled) SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &r, flags | DT_NOCLIP);
}

// ---- TSkinScrollingTabs ----

TSkinScrollingTabs::~TSkinScrollingTabs() {
    if (FScroller) FScroller->RemoveFreeNotification(this);
}

void TSkinScrollingTabs::Notification(TComponent* component) {
    TSkinControl::Notification(component);
    if (component == FScroller) FScroller = nullptr;
}

void TSkinScrollingTabs::AttachScroller(HWND Arrows, TComponent* Owner) {
    if (!FSkinData || !FSkinForm) return;
    if (FScroller && !FScroller->Finished() && FScroller->Window() == Arrows) return;
    // New arrows (the control made its window again): the old ones' painter is finished and goes with
    // the skinned window's next round.
    if (FScroller) FScroller->RemoveFreeNotification(this);
    FScroller = dynamic_cast<TSkinUpDown*>(FSkinForm->PainterOfWindow(Arrows));
    if (!FScroller) {
        FScroller = new TSkinUpDown(Owner);
        FScroller->SetHorizontal(true);
        FScroller->AttachWindow(Arrows, *FSkinData, *FSkinForm, nullptr);
    }
    FScroller->FreeNotification(this);
}

// ---- TSkinTab ----

void TSkinTab::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FAttached) return;
    FEnabled = FWnd && !(GetWindowLongPtrW(FWnd, GWL_STYLE) & WS_DISABLED);
    // Close boxes are a page control's, asked for by its Tag; KeepPages turns them off.
    FCloseBoxes = dynamic_cast<TPageControl*>(FControl) && FControl->Tag() == CloseBoxTag && !ReadsTrue(FControl, "KeepPages");
    // Wider tabs, so that the close box does not crowd the caption.
    if (FCloseBoxes && FWnd) SetTabPadding(TabPaddingX + CloseBoxRoom / 2);
    PrepareImages();
    LookupScroller();
}

void TSkinTab::AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::AttachWindow(Wnd, SkinData, SkinForm, Canvas);
    FFocused = GetFocus() == Wnd;
    FEnabled = IsWindowEnabled(Wnd) != 0;
    PrepareImages();
    LookupScroller();
}

void TSkinTab::Detach() {
    TSkinScrollingTabs::Detach();
    if (FCloseBoxes && FWnd && FLifeState != plFinished) SetTabPadding(TabPaddingX);
}

void TSkinTab::SetTabPadding(int Horizontal) {
    SendMessageW(FWnd, TCM_SETPADDING, 0, MAKELPARAM(Horizontal, TabPaddingY));
    // The control lays its tabs out anew with its font.
    SendMessageW(FWnd, WM_SETFONT, static_cast<WPARAM>(SendMessageW(FWnd, WM_GETFONT, 0, 0)), TRUE);
}

void TSkinTab::Reskin() {
    PrepareImages();
    TSkinControl::Reskin();
}

void TSkinTab::WindowRecreated() {
    // A new window may put the tabs on another side, and has arrows of its own.
    PrepareImages();
    LookupScroller();
}

bool TSkinTab::HasTabImage() const { return FSkinData && FSkinData->Tabs && !FSkinData->Tabs->Bitmap->Empty() && FTabImage; }

void TSkinTab::PrepareImages() {
    FTabImage.reset();
    FPaneImage.reset();
    if (!FSkinData || !FWnd) return;
    const auto style = GetWindowLongPtrW(FWnd, GWL_STYLE);
    FTabSide = (style & TCS_VERTICAL) ? ((style & TCS_RIGHT) ? tsdRight : tsdLeft) : ((style & TCS_BOTTOM) ? tsdBottom : tsdTop);
    TDataSkinBorder* tabs = FSkinData->Tabs.get();
    if (!tabs) return;
    FTabImage = Copy24(*tabs->Bitmap);
    TBitmap* pane = tabs->Style == 0                                                 ? tabs->Bitmap2.get()
                    : tabs->Style == 1 && FSkinData->TabPane && !FSkinData->TabPane->Bitmap->Empty() ? FSkinData->TabPane->Bitmap.get()
                                                                                     : nullptr;
    if (pane) FPaneImage = Copy24(*pane);
    switch (FTabSide) {
    case tsdBottom:
        if (FTabImage) FlipBitmap(*FTabImage);
        if (FPaneImage) FlipBitmap(*FPaneImage);
        break;
    case tsdLeft:
        if (FPaneImage) RotateLeft(*FPaneImage);
        break;
    case tsdRight:
        if (FPaneImage) RotateRight(*FPaneImage);
        break;
    default:
        break;
    }
}

bool TSkinTab::LookupScroller() {
    if (!FWnd || !FSkinData || !FSkinForm) return false;
    HWND arrows = FindWindowExW(FWnd, nullptr, UPDOWN_CLASSW, nullptr);
    if (!arrows) return false;
    AttachScroller(arrows, Owner());
    return IsWindowVisible(arrows) != 0;
}

TRect TSkinTab::ScrollerRect() const {
    HWND arrows = FWnd ? FindWindowExW(FWnd, nullptr, UPDOWN_CLASSW, nullptr) : nullptr;
    RECT r{}, own{};
    if (!arrows || !IsWindowVisible(arrows) || !GetWindowRect(arrows, &r) || !GetWindowRect(FWnd, &own)) return {};
    return TRect::FromRECT(r).Offset(-own.left, -own.top);
}

TRect TSkinTab::PaneRect(const TRect& Rect) const {
    RECT client{};
    GetClientRect(FWnd, &client);
    SendMessageW(FWnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&client));
    TRect pane = TRect::FromRECT(client).Inflate(4, 4);
    switch (FTabSide) {
    case tsdTop: pane.Top += 1; break;
    case tsdBottom: pane.Bottom -= 1; break;
    case tsdLeft: pane.Left += 1; break;
    default: pane.Right -= 1; break;
    }
    // Never outside the window.
    pane.Left = std::max(pane.Left, Rect.Left);
    pane.Top = std::max(pane.Top, Rect.Top);
    pane.Right = std::min(pane.Right, Rect.Right);
    pane.Bottom = std::min(pane.Bottom, Rect.Bottom);
    return pane;
}

int TSkinTab::TabFrame(int Index) const {
    const int frames = FSkinData && FSkinData->Tabs ? FSkinData->Tabs->FrameCount : 0;
    const int current = static_cast<int>(SendMessageW(FWnd, TCM_GETCURSEL, 0, 0));
    if (Index == current) return tfCurrent;
    if (!FEnabled && frames >= tfDisabled) return tfDisabled;
    if (Index == FHotTab && frames >= tfHot) return tfHot;
    return tfNormal;
}

bool TSkinTab::ReadTab(int Index, std::wstring& Caption, int& Image, TRect& Bounds) const {
    RECT bounds{};
    if (!SendMessageW(FWnd, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&bounds))) return false;
    Bounds = TRect::FromRECT(bounds);
    TCITEMW item{};
    wchar_t text[81]{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 80;
    if (FUnicode) {
        if (!SendMessageW(FWnd, TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item))) return false;
        Caption = item.pszText ? item.pszText : L"";
    } else {
        TCITEMA narrow{};
        char buffer[81]{};
        narrow.mask = TCIF_TEXT | TCIF_IMAGE;
        narrow.pszText = buffer;
        narrow.cchTextMax = 80;
        if (!SendMessageA(FWnd, TCM_GETITEMA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&narrow))) return false;
        const char* source = narrow.pszText ? narrow.pszText : "";
        const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, text, 81);
        Caption.assign(text, static_cast<size_t>(std::max(length - 1, 0)));
        item.iImage = narrow.iImage;
    }
    Image = item.iImage;
    return true;
}

HIMAGELIST TSkinTab::TabImages() const { return reinterpret_cast<HIMAGELIST>(SendMessageW(FWnd, TCM_GETIMAGELIST, 0, 0)); }

TColor TSkinTab::ParentFill() const {
    if (FControl && FControl->Parent() && FindPropInfo(FControl->Parent(), "Color"))
        return FControl->Parent()->Color();
    return FSkinData->FaceColor;
}

bool TSkinTab::BeforeMessage(TMessage& Message) {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FCloseBoxes && PressCloseBox(Message))
        return false;
    // Without a tab image the control draws itself.
    if (HasTabImage() && TakePaintMessages(Message)) return false;
    return TSkinControl::BeforeMessage(Message);
}

void TSkinTab::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        if (!FEnabled) break;
        TCHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        const int tab = static_cast<int>(SendMessageW(FWnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        SkinTrackMouseLeave(FWnd);
        if (tab != FHotTab) {
            FHotTab = tab;
            Repaint();
        }
        break;
    }
    case WM_MOUSELEAVE:
        if (FHotTab != -1) {
            FHotTab = -1;
            Repaint();
        }
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

bool TSkinTab::PressCloseBox(const TMessage& Message) {
    POINT at{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    // The boxes are kept in window coordinates; the press comes in client ones.
    RECT own{};
    GetWindowRect(FWnd, &own);
    ClientToScreen(FWnd, &at);
    const TPoint point{at.x - own.left, at.y - own.top};
    for (size_t i = 0; i < FCloseRects.size(); ++i) {
        if (!FCloseRects[i].Contains(point)) continue;
        HWND frame = FSkinForm ? FSkinForm->Handle() : GetAncestor(FWnd, GA_ROOT);
        const LRESULT answer = SendMessageW(frame, WM_SKINTABCLOSE, reinterpret_cast<WPARAM>(FWnd), static_cast<LPARAM>(i));
        if (answer == 0)
            if (auto* pages = dynamic_cast<TPageControl*>(FControl))
                delete pages->PageOfTab(static_cast<int>(i));
        return true;
    }
    return false;
}

void TSkinTab::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FWnd || Rect.IsEmpty()) return;
    FEnabled = IsWindowEnabled(FWnd) != 0;
    FFocused = GetFocus() == FWnd;
    const bool arrows = LookupScroller();
    const TRect pane = PaneRect(Rect);
    // The pane and the strip are put together off screen and shown in one blit.
    TBitmap& whole = Buffer(Rect);
    {
        TBitmapDCLock lock(whole);
        Fill(lock.Handle(), Rect, ParentFill());
        DrawPane(lock.Handle(), pane);
    }
    if (HasTabImage()) DrawStrip(whole, Rect, pane);
    TBitmapDCLock lock(whole);
    CopyStrip(DC, Rect, lock.Handle(), arrows);
}

void TSkinTab::DrawStrip(TBitmap& Whole, const TRect& Rect, const TRect& Pane) {
    TDataSkinBorder& tabs = *FSkinData->Tabs;
    // The strip, and reaching into the pane's edge as far as the current tab covers it.
    TRect strip, reach;
    switch (FTabSide) {
    case tsdTop:
        strip = {0, 0, Rect.Width(), Pane.Top};
        reach = {0, 0, Rect.Width(), std::min(Pane.Top + CurrentTabOverlap, Rect.Height())};
        break;
    case tsdBottom:
        strip = {0, Pane.Bottom, Rect.Width(), Rect.Height()};
        reach = {0, std::max(Pane.Bottom - CurrentTabOverlap, 0), Rect.Width(), Rect.Height()};
        break;
    case tsdLeft:
        strip = {0, 0, Pane.Left, Rect.Height()};
        reach = {0, 0, std::min(Pane.Left + CurrentTabOverlap, Rect.Width()), Rect.Height()};
        break;
    default:
        strip = {Pane.Right, 0, Rect.Width(), Rect.Height()};
        reach = {std::max(Pane.Right - CurrentTabOverlap, 0), 0, Rect.Width(), Rect.Height()};
        break;
    }
    if (strip.IsEmpty()) return;
    const bool sideways = FTabSide == tsdLeft || FTabSide == tsdRight;
    // Tabs on the left or right are drawn as top tabs into a strip lying on its side (the pane below it),
    // turned at the end; what lies there already (the pane's edge) is turned the other way first.
    const int width = sideways ? reach.Height() : reach.Width(), height = sideways ? reach.Width() : reach.Height();
    const int overlap = sideways ? reach.Width() - strip.Width() : reach.Height() - strip.Height();
    if (!FStrip) FStrip = std::make_unique<TBitmap>();
    TBitmap& buffer = *FStrip;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(reach.Width(), reach.Height());
    {
        TBitmapDCLock to(buffer);
        TBitmapDCLock from(Whole);
        BitBlt(to.Handle(), 0, 0, reach.Width(), reach.Height(), from.Handle(), reach.Left, reach.Top, SRCCOPY);
    }
    if (FTabSide == tsdLeft) RotateRight(buffer);
    if (FTabSide == tsdRight) RotateLeft(buffer);
    // The rows of the strip itself in the buffer; the rest is the pane's edge.
    const TRect stripRows = FTabSide == tsdBottom ? TRect{0, overlap, width, height} : TRect{0, 0, width, height - overlap};
    const TSkinMargins margins = FTabSide == tsdBottom ? Flipped(tabs.Margins()) : tabs.Margins();
    const int count = static_cast<int>(SendMessageW(FWnd, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(FWnd, TCM_GETCURSEL, 0, 0));
    const int focus = static_cast<int>(SendMessageW(FWnd, TCM_GETCURFOCUS, 0, 0));
    const HIMAGELIST images = TabImages();
    const bool rtl = FControl && FControl->UseRightToLeftReading();
    FCloseRects.assign(static_cast<size_t>(std::max(count, 0)), TRect{});
    {
        TBitmapDCLock lock(buffer);
        HDC dc = lock.Handle();
        TCanvas& canvas = *buffer.Canvas();
        // The current tab last, over its neighbours and over the pane's edge: it is one with the pane.
        std::vector<int> order;
        for (int i = 0; i < count; ++i)
            if (i != current) order.push_back(i);
        if (current >= 0 && current < count) order.push_back(current);
        for (int i : order) {
            std::wstring caption;
            int image = -1;
            TRect r;
            if (!ReadTab(i, caption, image, r)) continue;
            TRect b;
            switch (FTabSide) {
            case tsdTop: b = r.Offset(0, 1); break;
            case tsdBottom: b = r.Offset(0, -(Pane.Bottom + 1) + overlap); break;
            case tsdLeft: b = {strip.Height() - r.Bottom, r.Left, strip.Height() - r.Top, r.Right}; break;
            default: b = {r.Top - 1, Rect.Width() - r.Right, r.Bottom - 1, Rect.Width() - r.Left}; break;
            }
            // The current tab reaches the pane (its row is the one next to it): down to the buffer's end
            // on the pane's side, over the pane's edge.
            if (i == current) {
                if (FTabSide == tsdBottom && b.Top - stripRows.Top <= CurrentTabOverlap) b.Top = 0;
                if (FTabSide != tsdBottom && stripRows.Bottom - b.Bottom <= CurrentTabOverlap) b.Bottom = height;
            }
            const int frame = TabFrame(i);
            {
                TSavedDC clip(dc);
                if (i != current) IntersectClipRect(dc, stripRows.Left, stripRows.Top, stripRows.Right, stripRows.Bottom);
                DrawSkinImage(dc, b, *FTabImage, false, tabs.Tile != 0, tabs.Trans != 0, std::max(tabs.FrameCount, 1), frame,
                              margins);
            }
            if (FCloseBoxes) {
                // A small cross in a box at the tab's top right corner, in the buffer's pen.
                const int right = b.Right - CloseBoxInset, top = b.Top + CloseBoxInset;
                const int left = right - CloseBoxSize, bottom = top + CloseBoxSize;
                {
                    TSavedDC pen(dc);
                    SelectObject(dc, GetStockObject(BLACK_PEN));
                    const POINT box[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}, {right, bottom}};
                    Polyline(dc, box, 6);
                    MoveToEx(dc, right, top, nullptr);
                    LineTo(dc, left, bottom);
                }
                // Kept in window coordinates: back through the turn the strip takes.
                const TRect drawn{left, top, right, bottom};
                TRect window;
                switch (FTabSide) {
                case tsdLeft: window = {drawn.Top, width - drawn.Right, drawn.Bottom, width - drawn.Left}; break;
                case tsdRight: window = {height - drawn.Bottom, drawn.Left, height - drawn.Top, drawn.Right}; break;
                default: window = drawn; break;
                }
                FCloseRects[static_cast<size_t>(i)] = window.Offset(reach.Left, reach.Top);
            }
            SelectControlFont(canvas);
            canvas.Font()->SetColor(frame == tfCurrent ? tabs.MouseOverColour2 : tabs.NormalColour2);
            TRect cell = b;
            if (FCloseBoxes) cell.Right -= CloseBoxRoom;
            DrawIconCaption(canvas, cell, caCentre, caption, image, images, FEnabled, rtl);
            if (FFocused && i == focus && !FSkinData->HasOption(xoNoFocusRect)) DrawTabFocus(dc, b);
        }
    }
    if (FTabSide == tsdLeft) RotateLeft(buffer);
    if (FTabSide == tsdRight) RotateRight(buffer);
    TBitmapDCLock to(Whole);
    TBitmapDCLock from(buffer);
    BitBlt(to.Handle(), reach.Left, reach.Top, reach.Width(), reach.Height(), from.Handle(), 0, 0, SRCCOPY);
}

void TSkinTab::CopyStrip(HDC DC, const TRect& Strip, HDC Source, bool Arrows) {
    TSavedDC saved(DC);
    if (Arrows) {
        // The skinned arrows stay on top of the strip.
        const TRect r = ScrollerRect();
        if (!r.IsEmpty()) ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
    }
    BitBlt(DC, Strip.Left, Strip.Top, Strip.Width(), Strip.Height(), Source, 0, 0, SRCCOPY);
}

void TSkinTab::DrawPane(HDC DC, const TRect& Pane) {
    if (Pane.IsEmpty()) return;
    if (!FPaneImage || FPaneImage->Empty()) {
        // A skin without pane image: the face with a plain edge in its shadow colour.
        Fill(DC, Pane, FSkinData->FaceColor);
        UniqueBrush edge(CreateSolidBrush(ColorToRGB(FSkinData->ButtonShadowColor)));
        const RECT r = Pane.ToRECT();
        FrameRect(DC, &r, edge.get());
        return;
    }
    const TDataSkinBorder& tabs = *FSkinData->Tabs;
    TSkinMargins margins = tabs.Style != 0 && FSkinData->TabPane ? FSkinData->TabPane->Margins() : BorderPaneMargins;
    switch (FTabSide) {
    case tsdBottom: margins = Flipped(margins); break;
    case tsdLeft: margins = TurnedLeft(margins); break;
    case tsdRight: margins = TurnedRight(margins); break;
    default: break;
    }
    DrawSkinImage(DC, Pane, *FPaneImage, false, false, false, 1, 1, margins);
}

// ---- TSkinTabBtn ----

int TSkinTabBtn::ButtonFrame(int Index) const {
    if (!FEnabled) return 3;
    if (Index == static_cast<int>(SendMessageW(FWnd, TCM_GETCURSEL, 0, 0))) return 2;
    if (Index == FHotTab) return 4;
    return 1;
}

bool TSkinTabBtn::BeforeMessage(TMessage& Message) {
    if (FSkinData && !FSkinData->Buttons->Bitmap->Empty() && TakePaintMessages(Message)) return false;
    return TSkinControl::BeforeMessage(Message);
}

void TSkinTabBtn::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FWnd || Rect.IsEmpty()) return;
    const TDataSkinButton& buttons = *FSkinData->Buttons;
    if (buttons.Bitmap->Empty()) return;
    FEnabled = IsWindowEnabled(FWnd) != 0;
    FFocused = GetFocus() == FWnd;
    const bool arrows = LookupScroller();
    FTabSide = tsdTop;
    const TRect pane = PaneRect(Rect);
    const TRect strip{Rect.Left, Rect.Top, Rect.Right, std::min(pane.Top + 1, Rect.Bottom)};
    // Below the buttons there is no pane: the control lies on its parent's face.
    Fill(DC, {Rect.Left, strip.Bottom, Rect.Right, Rect.Bottom}, ParentFill());
    if (strip.IsEmpty()) return;
    TBitmap& buffer = Buffer({0, 0, strip.Width(), strip.Height()});
    const HIMAGELIST images = TabImages();
    const bool rtl = FControl && FControl->UseRightToLeftReading();
    const int focus = static_cast<int>(SendMessageW(FWnd, TCM_GETCURFOCUS, 0, 0));
    {
        TBitmapDCLock lock(buffer);
        HDC dc = lock.Handle();
        Fill(dc, {0, 0, strip.Width(), strip.Height()}, FSkinData->FaceColor);
        TCanvas& canvas = *buffer.Canvas();
        const int count = static_cast<int>(SendMessageW(FWnd, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring caption;
            int image = -1;
            TRect item;
            if (!ReadTab(i, caption, image, item)) continue;
            const TRect b = item.Offset(0, 1);
            const int frame = ButtonFrame(i);
            DrawSkinImage(dc, b, *buttons.Bitmap, false, buttons.Tile != 0, buttons.Trans == 1,
                          std::max(buttons.FrameCount, 1), frame, buttons.Margins());
            SelectControlFont(canvas);
            TColor colour = FSkinData->ButtonTextColor;
            if (frame == 2 && buttons.HasPressedColour2) colour = buttons.PressedColour2;
            else if (frame != 2 && buttons.HasNormalColour2) colour = buttons.NormalColour2;
            canvas.Font()->SetColor(colour);
            DrawIconCaption(canvas, b, caCentre, caption, image, images, FEnabled, rtl);
            if (FFocused && i == focus && !FSkinData->HasOption(xoNoFocusRect)) DrawTabFocus(dc, b);
        }
    }
    TBitmapDCLock lock(buffer);
    CopyStrip(DC, strip, lock.Handle(), arrows);
}

// ---- TSkinTabSheet ----

bool TSkinTabSheet::BeforeMessage(TMessage& Message) {
    if (!TSkinControl::BeforeMessage(Message)) return false;
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(FWnd, &client);
        FillRect(reinterpret_cast<HDC>(Message.WParam), &client, FSkinData->FaceBrush.get());
        Message.Result = 1;
        return false;
    }
    default:
        return true;
    }
}

void TSkinTabSheet::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || Rect.IsEmpty()) return;
    TBitmap& buffer = Buffer(Rect);
    TBitmapDCLock lock(buffer);
    Fill(lock.Handle(), {0, 0, Rect.Width(), Rect.Height()}, FSkinData->FaceColor);
    if (auto* page = dynamic_cast<TWinControl*>(FControl)) page->PaintControls(lock.Handle());
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinTab31 ----

void TSkinTab31::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FAttached) return;
    PrepareImage();
    // The tab set's arrows are the first component it owns.
    if (FControl && FControl->ComponentCount() > 0)
        if (auto* arrows = dynamic_cast<TTabScroller*>(FControl->Components(0)))
            AttachScroller(arrows->Handle(), FControl);
}

void TSkinTab31::Reskin() {
    PrepareImage();
    TSkinControl::Reskin();
}

void TSkinTab31::PrepareImage() {
    FTabImage.reset();
    if (!FSkinData || !FSkinData->Tabs) return;
    // The tabs hang from the top edge: the tab image upside down.
    FTabImage = Copy24(*FSkinData->Tabs->Bitmap);
    if (FTabImage) FlipBitmap(*FTabImage);
}

bool TSkinTab31::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        if (!FTabImage) return true;
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinTab31::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FSkinData->Tabs || !FTabImage || !FControl || Rect.IsEmpty()) return;
    TDataSkinBorder& tabs = *FSkinData->Tabs;
    TStringList* captions = ReadObjectProperty<TStringList>(FControl, "Tabs");
    const int count = captions ? captions->Count() : 0;
    const int chosen = ReadIntegerProperty(FControl, "TabIndex");
    const int first = std::max(ReadIntegerProperty(FControl, "FirstIndex"), 0);
    const int start = ReadIntegerProperty(FControl, "StartMargin");
    const int end = ReadIntegerProperty(FControl, "EndMargin");
    const bool arrows = Scroller() && Scroller()->Window() && IsWindowVisible(Scroller()->Window());
    const bool enabled = FControl->Enabled();
    const bool rtl = FControl->UseRightToLeftReading();

    TBitmap& buffer = Buffer(Rect);
    TBitmapDCLock lock(buffer);
    HDC dc = lock.Handle();
    Fill(dc, {0, 0, Rect.Width(), Rect.Height()}, FSkinData->FaceColor);
    TSavedDC saved(dc);
    SelectObject(dc, FControl->Font()->Handle());
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) widths.push_back(TTabSet::TabWidth(dc, captions->Strings(i)));
    const int limit = Rect.Width() - end - (arrows ? TTabSet::ScrollerRoom : 0);
    const std::vector<int> lefts = TTabSet::PlaceTabs(widths, first, start, limit);
    const TSkinMargins margins = Flipped(tabs.Margins());
    FTabRects.assign(static_cast<size_t>(count), TRect{});
    for (int i = 0; i < count; ++i) {
        if (lefts[static_cast<size_t>(i)] < 0) continue;
        const TRect r{lefts[static_cast<size_t>(i)], 0, lefts[static_cast<size_t>(i)] + widths[static_cast<size_t>(i)],
                      Rect.Height()};
        FTabRects[static_cast<size_t>(i)] = r;
        const int frame = i == chosen ? tfCurrent : tfNormal;
        DrawSkinImage(dc, r, *FTabImage, false, tabs.Tile != 0, tabs.Trans != 0, std::max(tabs.FrameCount, 1), frame,
                      margins);
        SetTextColor(dc, ColorToRGB(frame == tfCurrent ? tabs.MouseOverColour2 : tabs.NormalColour2));
        DrawTabCaption(dc, r, captions->Strings(i), DT_CENTER, enabled, rtl);
    }
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), dc, 0, 0, SRCCOPY);
}

// ---- TSkinAdvPage ----

TSkinAdvPage::TSkinAdvPage(TComponent* owner) : TSkinTab(owner) {}

void TSkinAdvPage::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinTab::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (FAdvMode == 4) RenderBackgrounds();
}

void TSkinAdvPage::Reskin() {
    TSkinTab::Reskin();
    if (FAdvMode == 4) RenderBackgrounds();
}

void TSkinAdvPage::Detach() {
    TSkinTab::Detach();
    if (!FControl) return;
    for (const char* name : {"TabBackGround", "TabBackGroundActive"})
        if (auto* target = ReadObjectProperty<TBitmap>(FControl, name)) target->Assign(nullptr);
}

bool TSkinAdvPage::BeforeMessage(TMessage& Message) { return TSkinControl::BeforeMessage(Message); }

void TSkinAdvPage::DrawSkin(HDC, const TRect&) { LookupScroller(); }

void TSkinAdvPage::RenderBackgrounds() {
    if (!FControl || !FSkinData || !FSkinData->Tabs || FSkinData->Tabs->Bitmap->Empty()) return;
    TDataSkinBorder& tabs = *FSkinData->Tabs;
    for (const auto& [name, frame] : {std::pair{"TabBackGround", tfNormal}, std::pair{"TabBackGroundActive", tfCurrent}}) {
        auto* target = ReadObjectProperty<TBitmap>(FControl, name);
        if (!target) continue;
        TBitmap image;
        image.SetPixelFormat(pf24bit);
        image.SetSize(AdvTabWidth, AdvTabHeight);
        {
            TBitmapDCLock lock(image);
            Fill(lock.Handle(), {0, 0, AdvTabWidth, AdvTabHeight}, FSkinData->FaceColor);
            DrawSkinImage(lock.Handle(), {0, 0, AdvTabWidth, AdvTabHeight}, *tabs.Bitmap, false, tabs.Tile != 0,
                          tabs.Trans != 0, std::max(tabs.FrameCount, 1), frame, tabs.Margins());
        }
        target->Assign(&image);
    }
}
