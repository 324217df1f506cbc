#include "skin/controls/ScrollOverlay.h"

#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Control.h"
#include "ui/Properties.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>

namespace {

constexpr wchar_t OverlayClass[] = L"ClarivoScrollOverlay";
// The cells of the skin's arrow strip (1-based): arrows in groups (+1 pressed, +3 hot), then the grips
// (+1 pressed, +2 hot).
constexpr int ArrowCells = 23;
constexpr int CellLeft = 1, CellRight = 5, CellUp = 9, CellDown = 13, CellGripHorz = 17, CellGripVert = 20;
// The range a stand-alone bar is laid out with when its bounds are equal.
constexpr int EmptyRange = 9999999;

ATOM RegisterOverlayClass(WNDPROC Proc) {
    static const ATOM atom = [Proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = OverlayClass;
        return RegisterClassExW(&wc);
    }();
    return atom;
}

// A rectangle from S0 to S1 along the bar's axis, Thickness across it.
TRect Along(bool Vertical, int S0, int S1, int Thickness) {
    return Vertical ? TRect{0, S0, Thickness, S1} : TRect{S0, 0, S1, Thickness};
}

bool Usable(const TDataSkinObject* Element) { return Element && !Element->Bitmap->Empty(); }

}  // namespace

// ---- Geometry ----

TScrollPart TBarGeometry::HitTest(int S) const {
    if (S < ArrowSize) return spFirstArrow;
    if (S < ThumbStart) return spPageBefore;
    if (S < ThumbEnd) return spThumb;
    if (S < Length - ArrowSize) return spPageAfter;
    return spSecondArrow;
}

void TBarGeometry::LayOutThumb(int Min, int Max, int Page, int Pos, bool Minimum) {
    const int range = Max == Min ? EmptyRange : Max - Min;
    const int track = Length - 2 * ArrowSize;
    int thumb = 0;
    if (Page > 0) {
        thumb = MulDiv(track, Page - 1, range);
        if (thumb > 7 || !Minimum) {
            ThumbStart = ArrowSize + MulDiv(track, Pos - Min, range);
        } else {
            thumb = 8;
            ThumbStart = ArrowSize + MulDiv(track - 8, Pos - Min, range);
        }
    } else {
        thumb = ArrowSize;
        ThumbStart = ArrowSize + MulDiv(Length - 3 * ArrowSize, Pos - Min, range);
    }
    if (Pos == Min) ThumbStart = ArrowSize;
    ThumbEnd = ThumbStart + thumb;
}

int TBarGeometry::DraggedThumbStart(TPoint Cursor) const {
    const int moved = Vertical ? Cursor.Y - PressPoint.Y : Cursor.X - PressPoint.X;
    const int thumb = ThumbEnd - ThumbStart;
    const int last = std::max(ArrowSize, Length - ArrowSize - thumb);
    return std::clamp(PressThumb + moved, ArrowSize, last);
}

// ---- Painting ----

void PaintSkinScrollBar(HDC DC, const TRect& Dest, const TSkinData& Skin, const TBarGeometry& Bar, bool Enabled,
                        bool States, TBitmap& Buffer) {
    TDataSkinObject* strip = Skin.Scrollbar.get();
    if (!Usable(strip) || Dest.Width() <= 0 || Dest.Height() <= 0) return;
    TBitmap& cells = *strip->Bitmap;
    const bool v = Bar.Vertical;
    int thickness = cells.Height();
    if (std::abs(thickness - Bar.ArrowSize) > 2) thickness = Bar.ArrowSize;

    if (Buffer.Width() != Dest.Width() || Buffer.Height() != Dest.Height()) Buffer.SetSize(Dest.Width(), Dest.Height());
    HDC dc = Buffer.Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    SetDCBrushColor(dc, ColorToRGB(Skin.FaceColor));
    const RECT all{0, 0, Dest.Width(), Dest.Height()};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    // Track between the arrows; arrows of half the length when the bar is shorter than two.
    const int arrow = Bar.Length < 2 * Bar.ArrowSize ? Bar.Length / 2 : Bar.ArrowSize;
    if (TDataSkinObject* track = (v ? Skin.VertScroll : Skin.HorzScroll).get(); Usable(track) && Bar.Length > 2 * arrow)
        DrawSkinElement(dc, Along(v, arrow, Bar.Length - arrow, thickness), *track, track->Trans != 0, Enabled ? 1 : 3);
    const auto arrowCell = [&](int Base, int Part) {
        if (!States || Bar.HotPart != Part) return Base;
        return Base + (Bar.Pressed ? 1 : 3);
    };
    DrawSkinFrame(dc, Along(v, 0, arrow, thickness), cells, true, ArrowCells, arrowCell(v ? CellUp : CellLeft, spFirstArrow));
    DrawSkinFrame(dc, Along(v, Bar.Length - arrow, Bar.Length, thickness), cells, true, ArrowCells,
                  arrowCell(v ? CellDown : CellRight, spSecondArrow));

    // Thumb and its grip, inside the bar only.
    const int extent = v ? Dest.Height() : Dest.Width();
    TDataSkinObject* thumb = (v ? Skin.VertScrollThumb : Skin.HorzScrollThumb).get();
    if (Enabled && Usable(thumb) && Bar.ThumbEnd > Bar.ThumbStart && Bar.ThumbStart >= 0 && Bar.ThumbEnd <= extent) {
        const bool thumbState = States && Bar.HotPart == spThumb;
        const bool pressed = thumbState && Bar.Pressed, hot = thumbState && !Bar.Pressed;
        DrawSkinImage(dc, Along(v, Bar.ThumbStart, Bar.ThumbEnd, thickness), *thumb->Bitmap, false, false,
                      thumb->Trans != 0, std::max(thumb->FrameCount, 1), pressed ? 2 : hot ? 3 : 1, thumb->Margins());
        const int grip = cells.Height(), length = Bar.ThumbEnd - Bar.ThumbStart;
        const int start = Bar.ThumbStart + (length - grip) / 2;
        if (length + 2 > grip && start >= 0 && start + grip <= extent)
            DrawSkinFrame(dc, Along(v, start, start + grip, thickness), cells, true, ArrowCells,
                          (v ? CellGripVert : CellGripHorz) + (pressed ? 1 : hot ? 2 : 0));
    }
    BitBlt(DC, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), dc, 0, 0, SRCCOPY);
}

// ---- The overlay window ----

TWScrollbar::TWScrollbar(TSkinControl& Painter, HWND Target, TControl* TargetControl, TOverlayKind Kind)
    : FPainter(Painter), FTarget(Target), FTargetControl(TargetControl), FKind(Kind) {
    FBar.ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    if (Kind == okControl) {
        std::wstring kind = TargetControl ? ReadEnumNameProperty(TargetControl, "Kind") : std::wstring{};
        for (wchar_t& c : kind) c = static_cast<wchar_t>(std::towlower(c));
        FBar.Vertical = TargetControl && !kind.empty() ? kind != L"sbhorizontal"
                                                       : (GetWindowLongPtrW(Target, GWL_STYLE) & SBS_VERT) != 0;
    } else {
        FBar.Vertical = Kind == okVertical;
    }
    HWND parent = GetParent(Target);
    if (!parent || !RegisterOverlayClass(&TWScrollbar::WindowProc)) return;
    FWindow.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY, OverlayClass, L"", WS_CHILD | WS_CLIPSIBLINGS,
                                  0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!FWindow) return;
    SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWScrollbar::~TWScrollbar() {
    if (FWindow) SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK TWScrollbar::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
    try {
        return self->Message(msg, wParam, lParam);
    } catch (...) {
        // Nothing unwinds through the system's dispatch; the next paint tries again.
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

LRESULT TWScrollbar::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND wnd = FWindow.get();
    switch (msg) {
    case WM_MOUSEMOVE: {
        const int at = FBar.Vertical ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
        if (const TScrollPart part = FBar.HitTest(at); part != FBar.HotPart) {
            FBar.HotPart = part;
            Invalidate();
        }
        SkinTrackMouseLeave(wnd);
        return 0;
    }
    case WM_MOUSELEAVE:
        if (!FBar.Pressed) {
            FBar.HotPart = spNone;
            Invalidate();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(lParam);
        return 0;
    case WM_LBUTTONUP:
        Release();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_NCDESTROY:
        // Its parent went first: the handle is no longer this overlay's to destroy.
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        (void)FWindow.release();
        FShown = false;
        return DefWindowProcW(wnd, msg, wParam, lParam);
    default:
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

bool TWScrollbar::ReadBar(RECT& Screen, bool& Visible, bool& Enabled) {
    if (FKind != okControl) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        if (!SkinGetScrollBarInfo(FTarget, FKind == okVertical ? OBJID_VSCROLL : OBJID_HSCROLL, info)) return false;
        Screen = info.rcScrollBar;
        Visible = !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
        Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
        FBar.Length = FBar.Vertical ? Screen.bottom - Screen.top : Screen.right - Screen.left;
        FBar.ThumbStart = info.xyThumbTop;
        FBar.ThumbEnd = info.xyThumbBottom;
        return true;
    }
    if (!GetWindowRect(FTarget, &Screen)) return false;
    Visible = IsWindowVisible(FTarget) != 0;
    Enabled = IsWindowEnabled(FTarget) != 0;
    FBar.Length = FBar.Vertical ? Screen.bottom - Screen.top : Screen.right - Screen.left;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(FTarget, SB_CTL, &info)) return false;
    FBar.LayOutThumb(info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos, true);
    return true;
}

void TWScrollbar::Place() {
    RECT screen{};
    bool visible = false, enabled = true;
    if (!FWindow || !ReadBar(screen, visible, enabled)) return;
    if (!(GetWindowLongPtrW(FTarget, GWL_STYLE) & WS_VISIBLE) || !visible || screen.right <= screen.left ||
        screen.bottom <= screen.top) {
        Hide();
        return;
    }
    RECT window{};
    GetWindowRect(FTarget, &window);
    FWindowRect = {screen.left - window.left, screen.top - window.top, screen.right - window.left,
                   screen.bottom - window.top};
    HWND parent = GetParent(FWindow.get());
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&screen), 2);
    // Directly above the target in the Z order, so that siblings above the target stay above the bar.
    HWND above = GetWindow(FTarget, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (above == FWindow.get()) flags |= SWP_NOZORDER;
    SetWindowPos(FWindow.get(), above ? above : HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                 screen.bottom - screen.top, flags);
    FShown = true;
    Invalidate();
}

void TWScrollbar::Hide() {
    FShown = false;
    FWindowRect = {};
    if (FWindow) ShowWindow(FWindow.get(), SW_HIDE);
}

void TWScrollbar::Invalidate() {
    if (FWindow && FShown) InvalidateRect(FWindow.get(), nullptr, FALSE);
}

void TWScrollbar::SetEnabled(bool Enabled) {
    if (FWindow) EnableWindow(FWindow.get(), Enabled);
}

void TWScrollbar::Retarget(HWND Target) {
    FTarget = Target;
    if (!FWindow) return;
    if (HWND parent = GetParent(Target); parent && parent != GetParent(FWindow.get())) SetParent(FWindow.get(), parent);
    Hide();
    Place();
}

void TWScrollbar::NoteScroll(int Code) {
    FBar.HotPart = Code;
    Invalidate();
}

void TWScrollbar::Press(LPARAM lParam) {
    HWND wnd = FWindow.get();
    POINT cursor{};
    GetCursorPos(&cursor);
    FBar.PressPoint = {cursor.x, cursor.y};
    RECT screen{};
    bool visible = false, enabled = true;
    ReadBar(screen, visible, enabled);
    if (FKind == okControl && FTargetControl && FindPropInfo(FTargetControl, "Position"))
        FBar.LayOutThumb(ReadIntegerProperty(FTargetControl, "Min"), ReadIntegerProperty(FTargetControl, "Max"),
                         ReadIntegerProperty(FTargetControl, "PageSize"), ReadIntegerProperty(FTargetControl, "Position"),
                         false);
    FBar.PressThumb = FBar.ThumbStart;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    FBar.HotPart = FBar.HitTest(FBar.Vertical ? at.y : at.x);
    if (FKind != okControl) ClientToScreen(wnd, &at);
    FBar.Pressed = true;
    Invalidate();
    UpdateWindow(wnd);
    ReleaseCapture();
    // The system tracks the press (repeats, thumb drag) inside this call, until the button is released.
    if (FKind == okControl)
        SendMessageW(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    else
        SendMessageW(FTarget, WM_NCLBUTTONDOWN, FKind == okVertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(at.x, at.y));
    // The tracking may have closed the window and freed this overlay with it.
    if (!IsWindow(wnd) || GetWindowLongPtrW(wnd, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(this)) return;
    FBar.Pressed = false;
    ReleaseCapture();
    Invalidate();
}

void TWScrollbar::Release() {
    FBar.Pressed = false;
    ReleaseCapture();
    POINT at{};
    GetCursorPos(&at);
    if (FKind == okControl) {
        ScreenToClient(FTarget, &at);
        PostMessageW(FTarget, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    } else {
        PostMessageW(FTarget, WM_NCLBUTTONUP, FKind == okVertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(at.x, at.y));
    }
    Invalidate();
}

void TWScrollbar::Paint() {
    TPaintDC paint(FWindow.get());
    const TSkinData* skin = FPainter.SkinData();
    RECT screen{}, client{};
    bool visible = false, enabled = true;
    if (!paint.get() || !skin || !ReadBar(screen, visible, enabled) || !visible) return;
    TBarGeometry bar = FBar;
    if (FKind != okControl && bar.Pressed && bar.HotPart == spThumb) {
        POINT cursor{};
        GetCursorPos(&cursor);
        const int thumb = bar.ThumbEnd - bar.ThumbStart;
        bar.ThumbStart = bar.DraggedThumbStart({cursor.x, cursor.y});
        bar.ThumbEnd = bar.ThumbStart + thumb;
    }
    GetClientRect(FWindow.get(), &client);
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    if (width > client.right || height > client.bottom) return;
    PaintSkinScrollBar(paint.get(), {0, 0, width, height}, *skin, bar, enabled, true, FBuffer);
}
