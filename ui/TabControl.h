#pragma once
// TCustomTabControl / TTabControl: the system tab control ("SysTabControl32"), a row (or rows) of tabs
// on one side of a pane. TabIndex is the chosen tab (-1: none); a click or the arrow keys change it,
// asking OnChanging first (which may refuse) and raising OnChange after. Setting TabIndex from code
// raises neither. The tabs sit at the top, bottom, left or right (TabPosition; left and right ones are
// always in rows, as the system control only has them so), look like tabs or buttons (Style), wrap
// into rows or scroll with arrows (MultiLine), and may show images from an image list (Images).
//
// TTabControl keeps its tabs as lines of text (Tabs); TPageControl (PageControl.h) has one tab per page.
#include "ui/StringList.h"
#include "ui/WinControl.h"

#include <functional>
#include <string>
#include <vector>

class TImageList;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// What one tab shows.
struct TTabItem {
    std::wstring Caption;
    int ImageIndex = -1;
    friend bool operator==(const TTabItem&, const TTabItem&) = default;
};

class TCustomTabControl : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // The chosen tab: the window's choice once it exists.
    int TabIndex() const;
    void SetTabIndex(int value);
    int TabCount() const { return static_cast<int>(FItems.size()); }

    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    // Rows of tabs instead of one row with scroll arrows (always so for left and right tabs).
    bool MultiLine() const { return FMultiLine || FTabPosition == tpLeft || FTabPosition == tpRight; }
    void SetMultiLine(bool value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);

    // The area inside the pane, in client coordinates: where a page or the controls on the pane go.
    TRect DisplayRect() const;
    // The tab at a client point, or -1.
    int IndexOfTabAt(int X, int Y) const;
    // Tab Index's rectangle in client coordinates (empty when there is no such tab or window).
    TRect TabRect(int Index) const;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void Loaded() override;

protected:
    // The tabs to show, in order (the subclass keeps them): the window follows at once.
    void SetTabItems(std::vector<TTabItem> items);
    const std::vector<TTabItem>& TabItems() const { return FItems; }

    // A click or key asks to change the tab: OnChanging decides.
    virtual bool CanChange();
    // The tab has changed by click or key: OnChange.
    virtual void Change();
    // The display area changed (size, rows of tabs): whatever sits on the pane follows.
    virtual void DisplayChanged() {}

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component) override;

    int FTabIndex = -1;  // the choice while there is no window (and the one a description asked for)

private:
    void ApplyItems();
    void ApplyImages();

    std::vector<TTabItem> FItems;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    TTabStyle FStyle = tsTabs;
    TImageList* FImages = nullptr;
};

class TTabControl : public TCustomTabControl {
public:
    CLARIVO_CLASS

    explicit TTabControl(TComponent* owner);

    // One tab per line.
    TStringList* Tabs() { return &FTabs; }

private:
    TStringList FTabs;
};
