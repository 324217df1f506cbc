#pragma once
// TTabSet: the older strip of tabs that hang from a line at its top edge (below a notebook or a grid),
// drawn by the control itself. Tabs are lines of text; TabIndex is the chosen one (-1: none). A click
// on a tab chooses it, asking OnChanging first (which may refuse) and raising OnChange after; setting
// TabIndex from code raises neither.
//
// Layout: tabs from FirstIndex on, StartMargin pixels from the left, each its caption's width plus 9; a
// tab that does not fit before EndMargin (and the scroll arrows' room) is left out and the next one is
// tried in its place. When tabs are left out, or FirstIndex is past the first, scroll arrows (a child
// up-down control, the tab set's first owned component) show at the right and step FirstIndex.
#include "ui/StringList.h"
#include "ui/WinControl.h"

#include <functional>
#include <string>
#include <vector>

class TTabSet;

using TTabSetChangingEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;

// The scroll arrows of a tab set: a horizontal up-down window that steps its tab set's FirstIndex.
class TTabScroller : public TWinControl {
public:
    CLARIVO_CLASS
    explicit TTabScroller(TTabSet& owner);

    // The arrows' range follows the tab set: 0 ... Count - 1, at Position.
    void SetRange(int Count, int Position);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    TTabSet& FTabSet;
    int FCount = 0;
    int FPosition = 0;
};

class TTabSet : public TWinControl {
public:
    CLARIVO_CLASS

    // Room the arrows need besides the end margin, and the arrows' own size.
    static constexpr int ScrollerRoom = 12;
    static constexpr int ScrollerWidth = 26;
    static constexpr int ScrollerHeight = 16;

    explicit TTabSet(TComponent* owner);

    TStringList* Tabs() { return &FTabs; }
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int value);
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int value);
    int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int value);
    int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int value);

    // The arrows' control (the first owned component); shown only when tabs are left out.
    TTabScroller* Scroller() const { return FScroller; }
    // A tab's width: its caption's width on DC (with the tab set's font selected) plus 9.
    static int TabWidth(HDC DC, const std::wstring& Caption);
    // The layout rule (above): each tab's left edge, or -1 for a tab not shown. Widths are all the tabs';
    // Limit is the right edge no tab may pass.
    static std::vector<int> PlaceTabs(const std::vector<int>& Widths, int First, int Start, int Limit);
    // Each tab's rectangle as the tab set shows it now (empty for tabs not shown).
    std::vector<TRect> TabRects() const;
    // The tab at a client point, or -1.
    int TabAt(int X, int Y) const;

    TNotifyEvent OnChange;
    TTabSetChangingEvent OnChanging;

    void Loaded() override;

protected:
    void PaintWindow(HDC dc) override;
    void WndProc(TMessage& message) override;
    void BoundsChanged() override;

private:
    friend class TTabScroller;
    // The tabs' widths in the tab set's font.
    std::vector<int> TabWidths() const;
    // Shows or hides the arrows as the tabs need them, and places them.
    void UpdateScroller();
    void Changed() override;

    TStringList FTabs;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FStartMargin = 5;
    int FEndMargin = 15;
    TTabScroller* FScroller = nullptr;
};
