#pragma once
// Tab and page painters, all drawn from the skin's Tabs element (five frames: normal, current, hot,
// disabled, and a spare current) and its pane image:
//   TSkinTab      tab and page controls (framework ones and the "SysTabControl32" windows of dialogs):
//                 the strip of tabs drawn off screen (turned for tabs at the bottom, left or right), the
//                 pane below it as nine parts, the current tab, the hot one under the mouse, the focus,
//                 close boxes on a page control that asks for them, and the control's own scroll arrows
//                 skinned by a TSkinUpDown and kept on top of the strip;
//   TSkinTabBtn   tab controls in button style, from the skin's push-button element;
//   TSkinTabSheet the pages of a page control: the skin's face and the page's windowless controls;
//   TSkinTab31    the older tab set (ui/TabSet.h), its tabs hanging from its top edge;
//   TSkinAdvPage  page controls that take their tab backgrounds as bitmap properties (TabBackGround,
//                 TabBackGroundActive) and paint themselves.
// The tabs' icon-and-caption cell is shared with the column header painter.
#include "skin/controls/SkinControl.h"

#include <memory>
#include <string>
#include <vector>

#include <commctrl.h>

class TSkinUpDown;

enum : UINT {
    // Sent to the skinned window when a tab's close box is pressed: wParam = the tab control's window,
    // lParam = the tab. The answer 0 (what a window that does not know the message answers) frees the
    // tab's page; anything else keeps it.
    WM_SKINTABCLOSE = 13575,  // 0x3507
};
// The Tag that gives a skinned page control close boxes on its tabs.
constexpr int CloseBoxTag = 7777;

// Where a cell's icon and caption go together.
enum TCellAlign { caLeft = 0, caCentre = 1, caRight = 2 };

// The icon-and-caption cell of tabs and header items: the icon (when the list has it and it is narrower
// than Rect) and the caption after it, placed together left (3 pixels in), centred or right (2 pixels
// in), each vertically centred; the caption in one line, ending in an ellipsis where it does not fit,
// in the canvas's font made plain, transparent, and in the button shadow colour when not Enabled. An
// empty caption leaves the icon alone, placed as the pair would be.
void DrawIconCaption(TCanvas& Canvas, const TRect& Rect, TCellAlign Align, const std::wstring& Caption, int ImageIndex,
                     HIMAGELIST Images, bool Enabled = true, bool RightToLeft = false);

// The caption routine of tab sets (and status bars): one line without wrapping, centred (or placed by
// Align, DT_LEFT / DT_CENTER / DT_RIGHT), one pixel above the vertical middle, transparent, in the
// DC's font; the button shadow colour when not Enabled, else the DC's text colour.
void DrawTabCaption(HDC DC, const TRect& Rect, const std::wstring& Caption, UINT Align, bool Enabled, bool RightToLeft);

// The side the tabs are on, from a tab control's style.
enum TTabSide : uint8_t { tsdTop = 0, tsdBottom = 1, tsdLeft = 2, tsdRight = 3 };
// The frames of the skin's Tabs element.
enum TTabFrame { tfNormal = 1, tfCurrent = 2, tfHot = 3, tfDisabled = 4 };

// The base of painters whose control has scroll arrows of its own (an up-down window): the arrows get a
// painter of their own, which this one keeps track of (it goes when the arrows' window goes, or when
// the skinned window lets its painters go).
class TSkinScrollingTabs : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;
    ~TSkinScrollingTabs() override;

    // The painter of the control's scroll arrows, once they have been seen.
    TSkinUpDown* Scroller() const { return FScroller; }

protected:
    // Gives the arrows (a horizontal up-down window) a painter owned by Owner, unless they have one.
    void AttachScroller(HWND Arrows, TComponent* Owner);
    void Notification(TComponent* component) override;

private:
    TSkinUpDown* FScroller = nullptr;
};

class TSkinTab : public TSkinScrollingTabs {
public:
    CLARIVO_CLASS
    using TSkinScrollingTabs::TSkinScrollingTabs;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    // The tabs' own width back (a page control with close boxes has them wider while skinned).
    void Detach() override;
    void Reskin() override;

    TTabSide TabSide() const { return static_cast<TTabSide>(FTabSide); }
    // The tabs carry close boxes (a page control with Tag 7777 whose KeepPages is off).
    bool CloseBoxes() const { return FCloseBoxes; }
    // Each tab's close box as last drawn, in window coordinates (empty for tabs not drawn).
    const std::vector<TRect>& CloseRects() const { return FCloseRects; }
    int HotTab() const { return FHotTab; }
    // The pane for a window of Rect's size: the display area given back its border, on the tabs' side
    // one pixel short of them.
    TRect PaneRect(const TRect& Rect) const;
    // The frame tab Index is drawn in now.
    int TabFrame(int Index) const;
    // The images kept for the skin: the tab strip's (flipped for bottom tabs) and the pane's (turned to
    // the tabs' side). Null when the skin has none.
    const TBitmap* TabImage() const { return FTabImage.get(); }
    const TBitmap* PaneImage() const { return FPaneImage.get(); }

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
    void WindowRecreated() override;

    // The skin's Tabs element has an image to draw with.
    bool HasTabImage() const;
    // Copies and turns the skin's images for the tabs' side (at attach and when the skin changes).
    void PrepareImages();
    // Finds the control's scroll arrows and gives them a painter the first time; true when they show.
    bool LookupScroller();
    // The arrows' window rectangle in this window's coordinates (empty when they do not show).
    TRect ScrollerRect() const;
    // Tab Index's text, image and rectangle (false when the control does not give them).
    bool ReadTab(int Index, std::wstring& Caption, int& Image, TRect& Bounds) const;
    HIMAGELIST TabImages() const;
    // The fill behind the tabs: the parent's colour, or the skin's face.
    TColor ParentFill() const;
    // Copies a drawn image to DC at Strip, keeping the arrows' window out.
    void CopyStrip(HDC DC, const TRect& Strip, HDC Source, bool Arrows);

    std::unique_ptr<TBitmap> FTabImage;
    std::unique_ptr<TBitmap> FPaneImage;
    std::unique_ptr<TBitmap> FStrip;  // the strip of tabs, lying as top tabs do, while it is drawn
    uint8_t FTabSide = tsdTop;
    bool FCloseBoxes = false;
    std::vector<TRect> FCloseRects;
    int FHotTab = -1;

private:
    // The tabs drawn over Whole (the window's image, the pane already in it).
    void DrawStrip(TBitmap& Whole, const TRect& Rect, const TRect& Pane);
    void DrawPane(HDC DC, const TRect& Pane);
    // The tabs' horizontal padding (the vertical one as the system has it), laid out at once.
    void SetTabPadding(int Horizontal);
    // The press fell on a close box: the window is asked, and the page freed unless it says no.
    bool PressCloseBox(const TMessage& Message);
};

class TSkinTabBtn : public TSkinTab {
public:
    CLARIVO_CLASS
    using TSkinTab::TSkinTab;

    // The frame of the skin's button element tab Index is drawn in now.
    int ButtonFrame(int Index) const;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
};

class TSkinTabSheet : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
};

class TSkinTab31 : public TSkinScrollingTabs {
public:
    CLARIVO_CLASS
    using TSkinScrollingTabs::TSkinScrollingTabs;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void Reskin() override;
    // Each tab's rectangle as last drawn (empty for tabs left out).
    const std::vector<TRect>& TabRects() const { return FTabRects; }

protected:
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    void PrepareImage();

    std::unique_ptr<TBitmap> FTabImage;
    std::vector<TRect> FTabRects;
};

class TSkinAdvPage : public TSkinTab {
public:
    CLARIVO_CLASS
    explicit TSkinAdvPage(TComponent* owner);

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void Detach() override;
    void Reskin() override;

    // 4: the painter takes over the control's tab backgrounds (the only mode discovery makes).
    int AdvMode() const { return FAdvMode; }

protected:
    // The control paints itself, with the backgrounds it was given.
    bool BeforeMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    void RenderBackgrounds();
    int FAdvMode = 4;
};
