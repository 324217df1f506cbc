#include "ui/TabSet.h"

#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/Messages.h"
#include "ui/Properties.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

const TClassInfo TTabScroller::MetaClass("TTabScroller", &TWinControl::MetaClass, nullptr, {});

const TClassInfo TTabSet::MetaClass(
    "TTabSet", &TWinControl::MetaClass, ComponentFactory<TTabSet>,
    {
        IntProp<TTabSet>("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin),
        IntProp<TTabSet>("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex),
        IntProp<TTabSet>("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin),
        IntProp<TTabSet>("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex),
        ClassProp<TTabSet, TStringList>("Tabs", &TTabSet::Tabs),
        EventProp<TTabSet>("OnChange", &TTabSet::OnChange),
        EventProp<TTabSet>("OnChanging", &TTabSet::OnChanging),
    });

// ---- TTabScroller ----

TTabScroller::TTabScroller(TTabSet& owner) : TWinControl(&owner), FTabSet(owner) {
    SetVisible(false);
    SetBounds(0, 0, TTabSet::ScrollerWidth, TTabSet::ScrollerHeight);
    SetParent(&owner);
}

void TTabScroller::SetRange(int Count, int Position) {
    FCount = Count;
    FPosition = Position;
    if (!HandleAllocated()) return;
    SendMessageW(WindowHandle(), UDM_SETRANGE32, 0, std::max(Count - 1, 0));
    SendMessageW(WindowHandle(), UDM_SETPOS32, 0, Position);
}

void TTabScroller::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = UPDOWN_CLASSW;
    params.Style |= UDS_HORZ;
}

void TTabScroller::CreateWnd() {
    TWinControl::CreateWnd();
    SetRange(FCount, FPosition);
}

void TTabScroller::WndProc(TMessage& message) {
    // The tab set hands the arrows' steps back to them: the new position is the tab set's first tab.
    if (message.Msg == CN_HSCROLL) {
        if (LOWORD(message.WParam) == SB_THUMBPOSITION)
            FTabSet.SetFirstIndex(static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0)));
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

// ---- TTabSet ----

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 21);
    // The arrows are the first component the tab set owns: painters look for them there.
    FScroller = new TTabScroller(*this);
    FTabs.OnChange = [this](TObject*) {
        if (!IsLoading()) {
            FTabIndex = std::min(FTabIndex, FTabs.Count() - 1);
            FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs.Count() - 1, 0));
        }
        Changed();
    };
}

void TTabSet::SetTabIndex(int value) {
    if (!IsLoading()) value = std::clamp(value, -1, FTabs.Count() - 1);
    if (value == FTabIndex) return;
    FTabIndex = value;
    Changed();
}

void TTabSet::SetFirstIndex(int value) {
    if (!IsLoading()) value = std::clamp(value, 0, std::max(FTabs.Count() - 1, 0));
    if (value == FFirstIndex) return;
    FFirstIndex = value;
    Changed();
}

void TTabSet::SetStartMargin(int value) {
    FStartMargin = value;
    Changed();
}

void TTabSet::SetEndMargin(int value) {
    FEndMargin = value;
    Changed();
}

void TTabSet::Loaded() {
    TWinControl::Loaded();
    FTabIndex = std::clamp(FTabIndex, -1, FTabs.Count() - 1);
    FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs.Count() - 1, 0));
    Changed();
}

void TTabSet::Changed() {
    if (IsLoading()) return;
    UpdateScroller();
    TWinControl::Changed();
}

void TTabSet::BoundsChanged() {
    TWinControl::BoundsChanged();
    if (!IsLoading()) UpdateScroller();
}

int TTabSet::TabWidth(HDC DC, const std::wstring& Caption) {
    RECT r{0, 0, 0, 0};
    if (!Caption.empty())
        DrawTextW(DC, Caption.c_str(), static_cast<int>(Caption.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    return static_cast<int>(r.right - r.left) + 9;
}

std::vector<int> TTabSet::PlaceTabs(const std::vector<int>& Widths, int First, int Start, int Limit) {
    std::vector<int> lefts(Widths.size(), -1);
    int x = Start;
    for (size_t i = static_cast<size_t>(std::max(First, 0)); i < Widths.size(); ++i) {
        if (x + Widths[i] > Limit) continue;  // too wide for what is left: a later, narrower one may fit
        lefts[i] = x;
        x += Widths[i];
    }
    return lefts;
}

std::vector<int> TTabSet::TabWidths() const {
    TWindowDC screen(nullptr, false);
    TSelectObject font(screen.get(), const_cast<TTabSet*>(this)->Font()->Handle());
    std::vector<int> widths;
    for (const std::wstring& caption : FTabs.Lines()) widths.push_back(TabWidth(screen.get(), caption));
    return widths;
}

std::vector<TRect> TTabSet::TabRects() const {
    const std::vector<int> widths = TabWidths();
    const int limit = Width() - FEndMargin - (FScroller && FScroller->Visible() ? ScrollerRoom : 0);
    const std::vector<int> lefts = PlaceTabs(widths, FFirstIndex, FStartMargin, limit);
    std::vector<TRect> rects(widths.size());
    for (size_t i = 0; i < widths.size(); ++i)
        if (lefts[i] >= 0) rects[i] = {lefts[i], 0, lefts[i] + widths[i], Height()};
    return rects;
}

int TTabSet::TabAt(int X, int Y) const {
    const std::vector<TRect> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i)
        if (rects[i].Contains({X, Y})) return static_cast<int>(i);
    return -1;
}

void TTabSet::UpdateScroller() {
    if (!FScroller) return;
    const std::vector<int> widths = TabWidths();
    const std::vector<int> lefts = PlaceTabs(widths, FFirstIndex, FStartMargin, Width() - FEndMargin);
    const bool leftOut = FFirstIndex > 0 || std::any_of(lefts.begin(), lefts.end(), [](int x) { return x < 0; });
    FScroller->SetBounds(Width() - ScrollerWidth, std::max((Height() - ScrollerHeight) / 2, 0), ScrollerWidth,
                         std::min(ScrollerHeight, Height()));
    FScroller->SetRange(FTabs.Count(), FFirstIndex);
    FScroller->SetVisible(leftOut);
}

void TTabSet::PaintWindow(HDC dc) {
    const int width = Width(), height = Height();
    if (width <= 0 || height <= 0) return;
    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(width, height);
    TBitmapDCLock lock(buffer);
    HDC b = lock.Handle();
    TSavedDC saved(b);
    const RECT all{0, 0, width, height};
    FillRect(b, &all, Brush()->Handle());
    SelectObject(b, Font()->Handle());
    SetBkMode(b, TRANSPARENT);
    SetTextColor(b, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    UniquePen edge(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
    UniqueBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    UniqueBrush chosen(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    TSelectObject pen(b, edge.get());
    MoveToEx(b, 0, 0, nullptr);
    LineTo(b, width, 0);
    const std::vector<TRect> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        if (r.IsEmpty()) continue;
        const bool current = static_cast<int>(i) == FTabIndex;
        // A tab hangs from the line: narrower at its foot.
        const POINT shape[] = {{r.Left, 0}, {r.Left + 3, r.Bottom - 2}, {r.Right - 4, r.Bottom - 2}, {r.Right - 1, 0}};
        TSelectObject fill(b, current ? chosen.get() : face.get());
        Polygon(b, shape, 4);
        if (current) {
            // The chosen tab is one with the page above it.
            UniquePen open(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOW)));
            TSelectObject openPen(b, open.get());
            MoveToEx(b, r.Left + 1, 0, nullptr);
            LineTo(b, r.Right - 1, 0);
        }
        RECT text = r.ToRECT();
        text.bottom -= 1;
        const std::wstring& caption = FTabs.Strings(static_cast<int>(i));
        DrawTextW(b, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
        if (current && Focused()) {
            RECT focus = r.ToRECT();
            InflateRect(&focus, -3, -3);
            DrawFocusRect(b, &focus);
        }
    }
    BitBlt(dc, 0, 0, width, height, b, 0, 0, SRCCOPY);
}

void TTabSet::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (TabStop() && CanFocus()) ::SetFocus(WindowHandle());
        const int tab = TabAt(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        if (tab >= 0 && tab != FTabIndex) {
            bool allow = true;
            if (OnChanging) OnChanging(this, tab, allow);
            if (allow) {
                FTabIndex = tab;
                Invalidate();
                if (OnChange) OnChange(this);
            }
        }
        break;
    }
    case WM_ERASEBKGND:
        // PaintWindow covers the whole strip.
        message.Result = 1;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case CM_FONTCHANGED:
        TWinControl::WndProc(message);
        Changed();
        return;
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdateScroller();
        Invalidate();
        return;
    }
    TWinControl::WndProc(message);
}
