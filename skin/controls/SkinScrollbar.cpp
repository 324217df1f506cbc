#include "skin/controls/SkinScrollbar.h"

#include "skin/controls/SkinHeader.h"

#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/window/SkinMessages.h"
#include "ui/Handles.h"
#include "ui/Messages.h"
#include "ui/Properties.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <string>

const TClassInfo TSkinScrollbar::MetaClass("TSkinScrollbar", &TSkinControl::MetaClass, ComponentFactory<TSkinScrollbar>, {});
const TClassInfo TSkinListView::MetaClass("TSkinListView", &TSkinScrollbar::MetaClass, ComponentFactory<TSkinListView>, {});
const TClassInfo TSkinScrollbarH::MetaClass("TSkinScrollbarH", &TSkinControl::MetaClass, ComponentFactory<TSkinScrollbarH>, {});
const TClassInfo TSkinScControl::MetaClass("TSkinScControl", &TSkinControl::MetaClass, ComponentFactory<TSkinScControl>, {});
const TClassInfo TComboxScrollBar::MetaClass("TComboxScrollBar", &TSkinControl::MetaClass, ComponentFactory<TComboxScrollBar>, {});

namespace {

// The list box's message that starts its drop-down tracking.
constexpr UINT LBCB_STARTTRACK = 0x1AE;

void FillColour(HDC DC, const TRect& Rect, TColor Colour) {
    if (Rect.Width() <= 0 || Rect.Height() <= 0) return;
    SetDCBrushColor(DC, ColorToRGB(Colour));
    const RECT r = Rect.ToRECT();
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FrameColour(HDC DC, const TRect& Rect, TColor Colour) {
    SetDCBrushColor(DC, ColorToRGB(Colour));
    const RECT r = Rect.ToRECT();
    FrameRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void RedrawFrame(HWND Wnd) {
    if (IsWindow(Wnd)) RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// Whether the window has a border of its own to be replaced by the skinned one.
bool HasBorderStyle(HWND Wnd) {
    const auto style = GetWindowLongPtrW(Wnd, GWL_STYLE), exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    return (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

}  // namespace

// ---- TBarPair ----

void TBarPair::Create(TSkinControl& Painter, HWND Target, TControl* TargetControl) {
    FHorz = std::make_unique<TWScrollbar>(Painter, Target, TargetControl, okHorizontal);
    FVert = std::make_unique<TWScrollbar>(Painter, Target, TargetControl, okVertical);
}

void TBarPair::Free() {
    FHorz.reset();
    FVert.reset();
}

void TBarPair::Place() {
    for (TWScrollbar* bar : {FHorz.get(), FVert.get()})
        if (bar) bar->Place();
}

void TBarPair::Hide() {
    for (TWScrollbar* bar : {FHorz.get(), FVert.get()})
        if (bar) bar->Hide();
}

void TBarPair::Invalidate() {
    for (TWScrollbar* bar : {FHorz.get(), FVert.get()})
        if (bar) bar->Invalidate();
}

void TBarPair::SetEnabled(bool Enabled) {
    for (TWScrollbar* bar : {FHorz.get(), FVert.get()})
        if (bar) {
            bar->SetEnabled(Enabled);
            bar->Invalidate();
        }
}

void TBarPair::Retarget(HWND Target) {
    for (TWScrollbar* bar : {FHorz.get(), FVert.get()})
        if (bar) bar->Retarget(Target);
}

void TBarPair::NoteScroll(const TMessage& Message) {
    if (TWScrollbar* bar = Message.Msg == WM_HSCROLL ? FHorz.get() : FVert.get())
        bar->NoteScroll(LOWORD(Message.WParam));
}

void TBarPair::FillSizeBox(HDC WindowDC, const TSkinData& Skin) const {
    if (!FHorz || !FVert || !FHorz->Shown() || !FVert->Shown()) return;
    const TRect& h = FHorz->WindowRect();
    const TRect& v = FVert->WindowRect();
    FillColour(WindowDC, {v.Left, h.Top, v.Right, h.Bottom}, Skin.FaceColor);
}

// ---- TSkinScrollbar ----

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachScrolling(TControl& Control, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached || &Control != Owner()) return;
    Attach(SkinForm, SkinData, false, Canvas);
    if (!FWnd) return;
    std::wstring border = ReadEnumNameProperty(FControl, "BorderStyle");
    for (wchar_t& c : border) c = static_cast<wchar_t>(std::towlower(c));
    FDrawBorder = border != L"bsnone" && FControl->ClassType().Name() != std::string("TImageScrollBox") &&
                  HasBorderStyle(FWnd);
    TakeFixedColor();
    FBars.Create(*this, FWnd, FControl);
    FBars.SetEnabled(IsWindowEnabled(FWnd) != 0);
    if (FControl->Visible())
        FBars.Place();
    else
        FBars.Hide();
    RedrawFrame(FWnd);
}

void TSkinScrollbar::TakeFixedColor() {
    if (!FControl || !FSkinData || !FindPropInfo(FControl, "FixedColor")) return;
    if (!FTakeColor) {
        FSavedColor = ReadIntegerProperty(FControl, "FixedColor");
        FTakeColor = true;
    }
    WritePropertyText(FControl, "FixedColor", std::to_wstring(FSkinData->FaceColor));
}

void TSkinScrollbar::Detach() {
    if (FTakeColor && FControl) WritePropertyText(FControl, "FixedColor", std::to_wstring(FSavedColor));
    FTakeColor = false;
    TSkinControl::Detach();
    if (FLifeState == plFinished) return;
    FBars.Free();
    RedrawFrame(FWnd);
}

void TSkinScrollbar::Reskin() {
    TakeFixedColor();
    TSkinControl::Reskin();
    RedrawFrame(FWnd);
    FBars.Invalidate();
}

void TSkinScrollbar::WindowRecreated() {
    FBars.Retarget(FWnd);
    FDrawBorder = FDrawBorder && HasBorderStyle(FWnd);
}

void TSkinScrollbar::SkinSwitched() {
    if (FSkinOn)
        FBars.Place();
    else
        FBars.Hide();
    RedrawFrame(FWnd);
}

bool TSkinScrollbar::BeforeMessage(TMessage& Message) {
    if (Message.Msg == WM_NCPAINT) {
        // The control paints its frame and bars first; the skinned border and corner go over them.
        CallPrevious(Message);
        if (TWindowDC dc(FWnd); dc) DrawFrame(dc.get());
        return false;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinScrollbar::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        FBars.Place();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        FBars.NoteScroll(Message);
        break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        FBars.Invalidate();
        break;
    case CM_VISIBLECHANGED:
        if (Message.WParam)
            FBars.Place();
        else
            FBars.Hide();
        break;
    case CM_ENABLEDCHANGED:
    case WM_ENABLE:
        FBars.SetEnabled(IsWindowEnabled(FWnd) != 0);
        break;
    case WM_SKINNCPRINT:
        if (Message.LParam == SkinAnswer) {
            if (Message.WParam) DrawFrame(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = SkinAnswer;
        }
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinScrollbar::DrawSkin(HDC DC, const TRect&) {
    for (TWScrollbar* bar : {FBars.Horz(), FBars.Vert()}) {
        if (!bar) continue;
        if (bar->Shown())
            bar->Invalidate();
        else if (GetWindowLongPtrW(FWnd, GWL_STYLE) & (bar->Kind() == okVertical ? WS_VSCROLL : WS_HSCROLL))
            bar->Place();
    }
    if (FSkinData) FBars.FillSizeBox(DC, *FSkinData);
}

void TSkinScrollbar::DrawFrame(HDC WindowDC) {
    RECT window{};
    if (!FSkinData || !GetWindowRect(FWnd, &window)) return;
    if (FDrawBorder) {
        const TRect outer{0, 0, window.right - window.left, window.bottom - window.top};
        FrameColour(WindowDC, outer, FSkinData->ButtonShadowColor);
        FrameColour(WindowDC, outer.Inflate(-1, -1), FSkinData->FaceColor);
    }
    FBars.FillSizeBox(WindowDC, *FSkinData);
}

// ---- TSkinListView ----

void TSkinListView::AttachScrolling(TControl& Control, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    const bool first = !FAttached;
    TSkinScrollbar::AttachScrolling(Control, SkinData, SkinForm, Canvas);
    if (!first || !FAttached || !FWnd) return;
    FHeader = SkinListHeader(FWnd, Owner(), SkinData, SkinForm);
    FChecks.Apply(FWnd, SkinData);
}

void TSkinListView::WindowRecreated() {
    TSkinScrollbar::WindowRecreated();
    // The old header's painter finished with its window; the skinner frees it with the other finished ones.
    if (!FWnd || !FSkinData || !FSkinForm) return;
    FHeader = SkinListHeader(FWnd, Owner(), *FSkinData, *FSkinForm);
    FChecks.Apply(FWnd, *FSkinData);
}

bool TSkinListView::BeforeMessage(TMessage& Message) {
    // The list frees the state images it holds with its window: its own ones, not the skin's.
    if (Message.Msg == WM_DESTROY) FChecks.Restore();
    return TSkinScrollbar::BeforeMessage(Message);
}

void TSkinListView::Detach() {
    FChecks.Restore();
    TSkinScrollbar::Detach();
}

void TSkinListView::Reskin() {
    if (FSkinData && FLifeState != plFinished) FChecks.Apply(FWnd, *FSkinData);
    TSkinScrollbar::Reskin();
}

void TSkinListView::SkinSwitched() {
    TSkinScrollbar::SkinSwitched();
    if (FSkinOn && FSkinData)
        FChecks.Apply(FWnd, *FSkinData);
    else
        FChecks.Restore();
}

// ---- TSkinScrollbarH ----

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::AttachWindow(Wnd, SkinData, SkinForm, Canvas);
    FBars.Create(*this, Wnd, nullptr);
    FBars.Place();
}

void TSkinScrollbarH::Detach() {
    TSkinControl::Detach();
    if (FLifeState != plFinished) FBars.Free();
}

void TSkinScrollbarH::SkinSwitched() {
    if (FSkinOn)
        FBars.Place();
    else
        FBars.Hide();
}

void TSkinScrollbarH::AfterMessage(TMessage& Message) {
    if (FBars.Vert() && !IsWindowVisible(FWnd)) FBars.Vert()->Hide();
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
        FBars.Place();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        FBars.NoteScroll(Message);
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinScrollbarH::DrawSkin(HDC DC, const TRect&) {
    FBars.Invalidate();
    if (FSkinData) FBars.FillSizeBox(DC, *FSkinData);
}

// ---- TSkinScControl ----

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FWnd) return;
    FBar = std::make_unique<TWScrollbar>(*this, FWnd, FControl, okControl);
    FBar->SetEnabled(IsWindowEnabled(FWnd) != 0);
    if (FControl->Visible())
        FBar->Place();
    else
        FBar->Hide();
}

void TSkinScControl::AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::AttachWindow(Wnd, SkinData, SkinForm, Canvas);
    FBar = std::make_unique<TWScrollbar>(*this, Wnd, nullptr, okControl);
    FBar->SetEnabled(IsWindowEnabled(Wnd) != 0);
    FBar->Place();
}

void TSkinScControl::Detach() {
    TSkinControl::Detach();
    if (FLifeState != plFinished) FBar.reset();
}

void TSkinScControl::WindowRecreated() {
    if (FBar) FBar->Retarget(FWnd);
}

void TSkinScControl::SkinSwitched() {
    if (FBar) FSkinOn ? FBar->Place() : FBar->Hide();
}

void TSkinScControl::AfterMessage(TMessage& Message) {
    if (!FBar) return TSkinControl::AfterMessage(Message);
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        FBar->Place();
        break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case CN_HSCROLL:
    case CN_VSCROLL:
        FBar->Invalidate();
        break;
    case CM_VISIBLECHANGED:
        if (Message.WParam)
            FBar->Place();
        else
            FBar->Hide();
        break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        FBar->SetEnabled(IsWindowEnabled(FWnd) != 0);
        FBar->Invalidate();
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinScControl::DrawSkin(HDC, const TRect&) {
    if (FBar) FBar->Invalidate();
}

// ---- TComboxScrollBar ----

bool TComboxScrollBar::ReadBar(TRect& Bar, bool& Enabled) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    RECT window{};
    if (!SkinGetScrollBarInfo(FWnd, OBJID_VSCROLL, info) || !GetWindowRect(FWnd, &window)) return false;
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return false;
    Bar = {info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top, info.rcScrollBar.right - window.left,
           info.rcScrollBar.bottom - window.top};
    if (Bar.Width() <= 0 || Bar.Height() <= 0) return false;
    Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    FBar.Vertical = true;
    FBar.ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    FBar.Length = Bar.Height();
    FBar.ThumbStart = info.xyThumbTop;
    FBar.ThumbEnd = info.xyThumbBottom;
    return true;
}

bool TComboxScrollBar::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        // The list's own frame and bar are never drawn: the skinned ones take their place.
        PaintWindow(nullptr);
        Message.Result = 0;
        return false;
    case WM_NCMOUSEMOVE:
        Message.Result = 0;
        return false;
    case WM_NCLBUTTONDOWN:
        if (Message.WParam == HTVSCROLL &&
            DragThumb({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)})) {
            Message.Result = 0;
            return false;
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TComboxScrollBar::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LBCB_STARTTRACK:
        PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TComboxScrollBar::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    if (GetWindowLongPtrW(FWnd, GWL_STYLE) & WS_BORDER) FrameColour(DC, Rect, FSkinData->ButtonShadowColor);
    TRect bar;
    bool enabled = true;
    if (ReadBar(bar, enabled)) PaintSkinScrollBar(DC, bar, *FSkinData, FBar, enabled, false, FBuffer);
}

bool TComboxScrollBar::DragThumb(POINT Screen) {
    TRect bar;
    bool enabled = true;
    RECT window{};
    if (!ReadBar(bar, enabled) || !enabled || !GetWindowRect(FWnd, &window)) return false;
    const int at = Screen.y - window.top - bar.Top;
    if (at < FBar.ThumbStart || at >= FBar.ThumbEnd) return false;

    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(FWnd, SB_VERT, &info);
    const int offset = FBar.ThumbStart - FBar.ArrowSize;
    const int track = FBar.Length - 2 * FBar.ArrowSize;
    const int thumb = FBar.ThumbEnd - FBar.ThumbStart;
    const int page = static_cast<int>(info.nPage);
    if (track - thumb <= 0 || track <= 0) return true;  // nowhere to drag to

    HWND wnd = FWnd;
    SetCapture(wnd);
    int pos = info.nPos;
    MSG msg{};
    while (GetCapture() == wnd) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            // The list is not shown these moves: it would track its items under the pointer.
            POINT cursor{};
            GetCursorPos(&cursor);
            int n = std::max(0, offset + static_cast<int>(cursor.y - Screen.y));
            int next = 0;
            if (page > 0) {
                if (n > track - thumb) n = track - thumb + 1;
                next = info.nMin + MulDiv(n, info.nMax - info.nMin - page, track - thumb);
                if (next >= info.nMax - page) next = info.nMax - page + 1;
            } else {
                n = std::min(n, track - thumb);
                next = std::min(info.nMin + MulDiv(n, info.nMax - info.nMin, track), info.nMax);
            }
            next = std::max(next, info.nMin);
            if (next != pos) {
                pos = next;
                SendMessageW(wnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
            }
        } else if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            SendMessageW(wnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
            PostMessageW(wnd, WM_VSCROLL, SB_ENDSCROLL, 0);
            break;
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (GetCapture() == wnd) ReleaseCapture();
    return true;
}
