#include "ui/PageControl.h"

#include "ui/Messages.h"
#include "ui/Properties.h"

#include <algorithm>
#include <climits>

const TClassInfo TPageControl::MetaClass(
    "TPageControl", &TCustomTabControl::MetaClass, ComponentFactory<TPageControl>,
    {
        RefProp<TPageControl, TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage),
        BoolProp<TPageControl>("KeepPages", &TPageControl::KeepPages, &TPageControl::SetKeepPages),
    });

const TClassInfo TTabSheet::MetaClass(
    "TTabSheet", &TWinControl::MetaClass, ComponentFactory<TTabSheet>,
    {
        IntProp<TTabSheet>("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex),
        IntProp<TTabSheet>("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex),
        BoolProp<TTabSheet>("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible),
    });

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    // The pages stay (their owner frees them); they only stop being pages of this control.
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

int TPageControl::ActivePageIndex() const {
    auto it = std::find(FPages.begin(), FPages.end(), FActivePage);
    return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr);
}

TTabSheet* TPageControl::PageOfTab(int Tab) const {
    if (Tab < 0) return nullptr;
    for (TTabSheet* page : FPages)
        if (page->FTabVisible && Tab-- == 0) return page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    FActivePage = page;
    const int tab = page ? page->TabIndex() : -1;
    FTabIndex = tab;
    if (HandleAllocated() && !IsLoading()) SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    ShowActivePage();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool Forward, bool CheckTabVisible) const {
    if (FPages.empty()) return nullptr;
    const auto count = static_cast<int>(FPages.size());
    auto it = std::find(FPages.begin(), FPages.end(), Current);
    int index = it == FPages.end() ? (Forward ? count - 1 : 0) : static_cast<int>(it - FPages.begin());
    for (int step = 0; step < count; ++step) {
        index = Forward ? (index + 1) % count : (index + count - 1) % count;
        TTabSheet* page = FPages[static_cast<size_t>(index)];
        if (!CheckTabVisible || page->FTabVisible) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool Forward) {
    TTabSheet* page = FindNextPage(FActivePage, Forward, true);
    if (!page || page == FActivePage || !CanChange()) return;
    SetActivePage(page);
    TCustomTabControl::Change();
}

void TPageControl::Change() {
    SetActivePage(PageOfTab(TabIndex()));
    TCustomTabControl::Change();
}

void TPageControl::DisplayChanged() {
    if (!FUpdating) ShowActivePage();
}

void TPageControl::ShowActivePage() {
    const TRect area = DisplayRect();
    // The focus leaves a page that goes out of sight for the tabs.
    HWND focus = GetFocus();
    bool focusHidden = false;
    for (TTabSheet* page : FPages) {
        if (page->BoundsRect() != area) page->SetBounds(area.Left, area.Top, area.Width(), area.Height());
        if (page == FActivePage) page->SetVisible(true);
    }
    for (TTabSheet* page : FPages) {
        if (page == FActivePage || !page->Visible()) continue;
        if (focus && page->HandleAllocated() && IsChild(page->WindowHandle(), focus)) focusHidden = true;
        page->SetVisible(false);
    }
    if (focusHidden && HandleAllocated() && CanFocus()) ::SetFocus(WindowHandle());
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    UpdateTabs();
    if (!FActivePage && page->FTabVisible) FActivePage = page;
    SetActivePage(FActivePage);
}

void TPageControl::RemovePage(TTabSheet* page) {
    TTabSheet* next = page == FActivePage ? FindNextPage(page, true, true) : FActivePage;
    if (next == page) next = nullptr;
    std::erase(FPages, page);
    if (FActivePage == page) FActivePage = nullptr;
    UpdateTabs();
    SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    std::erase(FPages, page);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
    SetActivePage(FActivePage);
}

void TPageControl::UpdateTabs() {
    std::vector<TTabItem> items;
    for (TTabSheet* page : FPages)
        if (page->FTabVisible) items.push_back({page->Caption(), page->FImageIndex});
    FUpdating = true;
    SetTabItems(std::move(items));
    FUpdating = false;
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    // Pages that asked for a place come in that order; the others keep theirs, after them.
    std::stable_sort(FPages.begin(), FPages.end(), [](TTabSheet* a, TTabSheet* b) {
        auto key = [](TTabSheet* p) { return p->FPageIndexWanted < 0 ? INT_MAX : p->FPageIndexWanted; };
        return key(a) < key(b);
    });
    for (TTabSheet* page : FPages) page->FPageIndexWanted = -1;
    UpdateTabs();
    if (!FActivePage || !FActivePage->FTabVisible) FActivePage = FindNextPage(nullptr, true, true);
    SetActivePage(FActivePage);
}

void TPageControl::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && message.WParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
        HandleAllocated()) {
        HWND focus = GetFocus();
        if (focus && (focus == WindowHandle() || IsChild(WindowHandle(), focus))) {
            SelectNextPage(!(GetKeyState(VK_SHIFT) & 0x8000));
            message.Result = 1;
            return;
        }
    }
    TCustomTabControl::WndProc(message);
}

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet() {
    if (FPageControl) {
        TPageControl* control = FPageControl;
        FPageControl = nullptr;
        control->RemovePage(this);
    }
}

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    auto* control = dynamic_cast<TPageControl*>(parent);
    if (FPageControl && FPageControl != control) {
        TPageControl* old = FPageControl;
        FPageControl = nullptr;
        old->RemovePage(this);
    }
    TWinControl::SetParent(parent);
    if (control && FPageControl != control) {
        FPageControl = control;
        control->InsertPage(this);
    }
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (IsLoading()) {
        FPageIndexWanted = index;
        return;
    }
    if (FPageControl) FPageControl->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int tab = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this) return tab;
        if (page->FTabVisible) ++tab;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (!FPageControl) return;
    FPageControl->UpdateTabs();
    TTabSheet* active = FPageControl->FActivePage;
    if (active == this && !value) active = FPageControl->FindNextPage(this, true, true);
    if (!active && value) active = this;
    FPageControl->SetActivePage(active == this && !value ? nullptr : active);
}

void TTabSheet::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (FPageControl) FPageControl->UpdateTabs();
}
