#pragma once
// TPageControl: a tab control with one page (TTabSheet) per tab; the chosen tab's page shows its
// controls in the pane, the others are hidden. A page whose TabVisible is off has no tab and is never
// shown. Ctrl+Tab and Ctrl+Shift+Tab go to the next and previous page while the focus is on the page
// control or inside it, asking OnChanging and raising OnChange as a click does.
//
// Close boxes: a skinned page control whose Tag is 7777 shows a close box on every tab (the skin's tab
// painter draws it and hears the click; the program's window is asked with WM_SKINTABCLOSE and the
// page is freed unless it answers non-zero). KeepPages, when on, turns the close boxes off whatever the
// Tag says.
#include "ui/TabControl.h"

#include <vector>

class TTabSheet;

class TPageControl : public TCustomTabControl {
public:
    CLARIVO_CLASS

    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows the page (a page of this control, or null for none) and chooses its tab; no events.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The page whose tab is Tab (the visible ones counted), or null.
    TTabSheet* PageOfTab(int Tab) const;
    // The next (or previous) page from Current round the pages, only those with a tab when
    // CheckTabVisible; null when there is none.
    TTabSheet* FindNextPage(TTabSheet* Current, bool Forward, bool CheckTabVisible) const;
    // Goes to the next or previous page as the keyboard does: OnChanging may refuse, OnChange follows.
    void SelectNextPage(bool Forward);

    bool KeepPages() const { return FKeepPages; }
    void SetKeepPages(bool value) { FKeepPages = value; }

    void Loaded() override;

protected:
    void Change() override;
    void DisplayChanged() override;
    void WndProc(TMessage& message) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // The tabs again from the pages (captions, images, which have tabs), keeping the active page's.
    void UpdateTabs();
    // Only the active page shown, every page over the display area.
    void ShowActivePage();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    bool FKeepPages = false;
    bool FUpdating = false;
};

class TTabSheet : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* control);
    // The parent is the page control the sheet is a page of.
    void SetParent(TWinControl* parent) override;

    // Position among the pages.
    int PageIndex() const;
    void SetPageIndex(int index);
    // The tab's position among the tabs shown, or -1 without a tab.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

protected:
    void TextChanged() override;

private:
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
    int FPageIndexWanted = -1;  // PageIndex from a description, applied once all pages are there
    friend class TPageControl;
};
