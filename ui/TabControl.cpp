#include "ui/TabControl.h"

#include "ui/ImageList.h"
#include "ui/Messages.h"
#include "ui/Properties.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TCustomTabControl::MetaClass(
    "TCustomTabControl", &TWinControl::MetaClass, nullptr,
    {
        RefProp<TCustomTabControl, TImageList>("Images", &TCustomTabControl::Images, &TCustomTabControl::SetImages),
        BoolProp<TCustomTabControl>("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine),
        EnumProp<TCustomTabControl, TTabStyle>("Style", {"tsTabs", "tsButtons", "tsFlatButtons"},
                                               &TCustomTabControl::Style, &TCustomTabControl::SetStyle),
        IntProp<TCustomTabControl>("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex),
        EnumProp<TCustomTabControl, TTabPosition>("TabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"},
                                                  &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition),
        EventProp<TCustomTabControl>("OnChange", &TCustomTabControl::OnChange),
        EventProp<TCustomTabControl>("OnChanging", &TCustomTabControl::OnChanging),
    });

const TClassInfo TTabControl::MetaClass("TTabControl", &TCustomTabControl::MetaClass, ComponentFactory<TTabControl>,
                                        {
                                            ClassProp<TTabControl, TStringList>("Tabs", &TTabControl::Tabs),
                                        });

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() { SetImages(nullptr); }

int TCustomTabControl::TabIndex() const {
    if (!HandleAllocated()) return FTabIndex;
    return static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
}

void TCustomTabControl::SetTabIndex(int value) {
    // A description may give the index before the tabs: it is checked once all has been read.
    if (!IsLoading()) value = std::clamp(value, -1, TabCount() - 1);
    FTabIndex = value;
    if (HandleAllocated() && !IsLoading()) SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (value == FTabPosition) return;
    if (!IsLoading()) FTabIndex = TabIndex();  // the new window chooses the same tab
    FTabPosition = value;
    RecreateWnd();
    DisplayChanged();
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (value == FMultiLine) return;
    if (!IsLoading()) FTabIndex = TabIndex();  // the new window chooses the same tab
    FMultiLine = value;
    RecreateWnd();
    DisplayChanged();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (value == FStyle) return;
    if (!IsLoading()) FTabIndex = TabIndex();  // the new window chooses the same tab
    FStyle = value;
    RecreateWnd();
    DisplayChanged();
}

void TCustomTabControl::SetImages(TImageList* images) {
    if (images == FImages) return;
    if (FImages) RemoveFreeNotification(FImages);
    FImages = images;
    if (FImages) FreeNotification(FImages);
    ApplyImages();
}

void TCustomTabControl::Notification(TComponent* component) {
    TWinControl::Notification(component);
    if (component == FImages) {
        FImages = nullptr;
        ApplyImages();
    }
}

void TCustomTabControl::ApplyImages() {
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    DisplayChanged();
    Invalidate();
}

TRect TCustomTabControl::DisplayRect() const {
    TRect client = ClientRect();
    if (!HandleAllocated()) return client.Inflate(-4, -4);
    RECT r = client.ToRECT();
    SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return TRect::FromRECT(r);
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO hit{};
    hit.pt = {X, Y};
    return static_cast<int>(SendMessageW(WindowHandle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

TRect TCustomTabControl::TabRect(int Index) const {
    RECT r{};
    if (!HandleAllocated() ||
        !SendMessageW(WindowHandle(), TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)))
        return {};
    return TRect::FromRECT(r);
}

void TCustomTabControl::SetTabItems(std::vector<TTabItem> items) {
    if (items == FItems) return;
    FItems = std::move(items);
    ApplyItems();
}

void TCustomTabControl::ApplyItems() {
    if (!HandleAllocated()) return;
    HWND wnd = WindowHandle();
    const auto had = static_cast<int>(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0));
    // The first tabs of an empty control come with the first one chosen, as the system's control does it.
    int chosen = IsLoading() ? -1 : std::min(FTabIndex, TabCount() - 1);
    if (!IsLoading() && chosen < 0 && had == 0 && TabCount() > 0) chosen = 0;
    for (int i = 0; i < TabCount(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        std::wstring caption = FItems[static_cast<size_t>(i)].Caption;
        item.pszText = caption.data();
        item.iImage = FItems[static_cast<size_t>(i)].ImageIndex;
        SendMessageW(wnd, i < had ? TCM_SETITEMW : TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    for (int i = had - 1; i >= TabCount(); --i) SendMessageW(wnd, TCM_DELETEITEM, static_cast<WPARAM>(i), 0);
    // Without a choice the control's own stands (the first tab, once there are tabs).
    if (chosen >= 0) SendMessageW(wnd, TCM_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    // A description's index waits for the end of reading (Loaded).
    if (!IsLoading()) FTabIndex = TabIndex();
    DisplayChanged();
    Invalidate();
}

void TCustomTabControl::Loaded() {
    TWinControl::Loaded();
    FTabIndex = std::clamp(FTabIndex, -1, TabCount() - 1);
    if (FTabIndex < 0 && TabCount() > 0) FTabIndex = 0;  // as tabs come to an empty control
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
        DisplayChanged();
    }
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = WC_TABCONTROLW;
    params.Style |= WS_CLIPCHILDREN;
    switch (FTabPosition) {
    case tpTop: break;
    case tpBottom: params.Style |= TCS_BOTTOM; break;
    case tpLeft: params.Style |= TCS_VERTICAL; break;
    case tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT; break;
    }
    if (MultiLine()) params.Style |= TCS_MULTILINE;
    if (FStyle == tsButtons) params.Style |= TCS_BUTTONS;
    if (FStyle == tsFlatButtons) params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FImages) SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
    const int chosen = FTabIndex;
    ApplyItems();
    if (!IsLoading() && chosen >= 0) {
        FTabIndex = std::min(chosen, TabCount() - 1);
        SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
    }
    DisplayChanged();
}

void TCustomTabControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(message.LParam)->code) {
        case TCN_SELCHANGING:
            // Nonzero keeps the tab where it is.
            message.Result = CanChange() ? 0 : 1;
            return;
        case TCN_SELCHANGE:
            FTabIndex = TabIndex();
            Change();
            message.Result = 0;
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        DisplayChanged();
        return;
    case CM_FONTCHANGED:
        TWinControl::WndProc(message);
        DisplayChanged();
        return;
    }
    TWinControl::WndProc(message);
}

// ---- TTabControl ----

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
    FTabs.OnChange = [this](TObject*) {
        // Tab i shows image i of the list, as far as the list goes.
        std::vector<TTabItem> items;
        for (int i = 0; i < FTabs.Count(); ++i) items.push_back({FTabs.Strings(i), i});
        SetTabItems(std::move(items));
    };
}
