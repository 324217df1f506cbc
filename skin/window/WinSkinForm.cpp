#include "skin/window/WinSkinForm.h"

#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMenuBar.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/SkinPopupMenu.h"
#include "ui/Bitmap.h"
#include "ui/CustomForm.h"
#include "ui/Menus.h"
#include "ui/Messages.h"
#include "ui/Properties.h"
#include "ui/SubclassIds.h"
#include "ui/Timer.h"

#include <windowsx.h>

#include <algorithm>

const TClassInfo TWinSkinForm::MetaClass("TWinSkinForm", &TComponent::MetaClass, ComponentFactory<TWinSkinForm>, {});

namespace {

constexpr unsigned HotTimerInterval = 250;

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)); }
DWORD ExStyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE)); }

void SetStyleBits(HWND wnd, DWORD bits, bool on) {
    const DWORD style = StyleOf(wnd);
    const DWORD wanted = on ? style | bits : style & ~bits;
    if (wanted != style) SetWindowLongPtrW(wnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

// The system commands a WM_COMMAND may carry on behalf of the system menu.
bool IsSystemCommand(WORD command) {
    switch (command & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        return true;
    default:
        return false;
    }
}

// Windows 2000 and Vista: the versions whose own caption drawing shows through a skinned frame unless
// the caption style is taken away.
bool HidesCaptionOnThisSystem() {
    const DWORD version = GetVersion();
    return LOBYTE(LOWORD(version)) > 4 && HIBYTE(LOWORD(version)) == 0;
}

void FrameChanged(HWND wnd) {
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TShowState ShowStateOf(HWND wnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(wnd, &placement)) return ssNormal;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return ssMinimized;
    case SW_SHOWMAXIMIZED:
        return ssMaximized;
    default:
        return ssNormal;
    }
}

}  // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {
    FDoubleClickTime = static_cast<int>(GetDoubleClickTime());
}

TWinSkinForm::~TWinSkinForm() {
    Detach();
    if (SkinManager) SkinManager->RemoveSkinForm(this);
}

// ---- Attaching ----

void TWinSkinForm::AttachToForm(TSkinData& Skin, TCustomForm& Form) {
    FForm = &Form;
    HWND wnd = Form.Handle();
    if (Skin.OnBeforeSkinForm) Skin.OnBeforeSkinForm(&Form, wnd, WindowClassName(wnd));
    if (Skin.HasControl(xcMenuItem)) WritePropertyText(&Form, "AutoScroll", L"False");
    Attach(Skin, wnd);
    if (FFrameSkinned) {
        FOldFormProc = Form.WindowProc;
        Form.WindowProc = [this](TMessage& message) { FormWindowProc(message); };
    }
    FFormColor = Form.Color();
    Form.SetColor(Skin.FaceColor);
}

void TWinSkinForm::AttachToWindow(TSkinData& Skin, HWND Window) { Attach(Skin, Window); }

void TWinSkinForm::Attach(TSkinData& Skin, HWND Window) {
    if (FAttached) return;
    FAttached = true;
    FHandle = Window;
    FSkin = &Skin;
    if (SkinManager) SkinManager->State = smRunning;
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(HotTimerInterval);
    FTimer->OnTimer = [this](TObject*) { OnTimer(); };

    const DWORD style = StyleOf(Window), exStyle = ExStyleOf(Window);
    FClassName = WindowClassName(Window);
    FOwnerWindow = GetWindow(Window, GW_OWNER);
    FChild = (style & WS_CHILD) != 0;
    FSizeable = (style & WS_THICKFRAME) != 0;
    FRightToLeft = (exStyle & (WS_EX_LEFTSCROLLBAR | WS_EX_RTLREADING)) != 0;
    FWindowKind = (exStyle & WS_EX_MDICHILD) ? wkMdiChild : wkNormal;
    FFrameSkinned = Skin.HasControl(xcMainMenu);
    if (FWindowKind == wkMdiChild && Skin.HasOption(xoMDIChildBorder)) FFrameSkinned = false;

    FDialog = FClassName == L"#32770" || FClassName == L"TMessageForm";
    if ((style & WS_CAPTION) != WS_CAPTION)
        FFrameKind = fkNone;  // keeps its own frame, whatever its class
    else if (style & WS_THICKFRAME)
        FFrameKind = fkSizeable;
    else if (style & DS_MODALFRAME)
        FFrameKind = fkDialog;
    else
        FFrameKind = fkSingle;
    if (FFrameKind != fkNone && ((exStyle & WS_EX_DLGMODALFRAME) || FDialog)) FFrameKind = fkDialog;

    FButtonFlags = 0;
    if (style & WS_SYSMENU) FButtonFlags |= bfSystemMenu;
    if (style & WS_MINIMIZEBOX) FButtonFlags |= bfMinimize;
    if (style & WS_MAXIMIZEBOX) FButtonFlags |= bfMaximize;
    if (HidesCaptionOnThisSystem() &&
        ((exStyle & WS_EX_APPWINDOW) || (!FOwnerWindow && FWindowKind != wkMdiChild)))
        FButtonFlags |= bfHiddenCaption;

    for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClassName(child) == L"MDIClient") {
            FMdiClient = child;
            FWindowKind = wkMdiFrame;
            if (SkinManager) {
                SkinManager->MdiClient = child;
                SkinManager->MdiForm = FForm;
            }
            break;
        }
    FShowState = ShowStateOf(Window);
    if (GetVersion() & 0x80000000) Skin.SetSkinControls(Skin.SkinControls() & ~SkinBit(xcSystemMenu));
    if (FMdiClient) {
        FSavedMenuUpdate = Skin.MenuUpdate();
        SetWindowSubclass(FMdiClient, MdiClientProc(), SubclassMdiClient, reinterpret_cast<DWORD_PTR>(this));
    }
    FSubclassed = SetWindowSubclass(Window, SubclassProc(), SubclassSkinForm, reinterpret_cast<DWORD_PTR>(this)) != 0;

    if (FFrameSkinned) {
        // With a compositor the system would draw its own frame over the skin's.
        if (!FChild) SkinSetSystemFrame(Window, false);
        // The skin's menu bar stands for the window's own in a strip of the frame (it takes the menu off
        // the window when skinning starts).
        if (GetMenu(Window) && FWindowKind != wkMdiChild) {
            FMenuBar = std::make_unique<TWinSkinMenu>(*this, Skin);
            FMenuHeight = GetSystemMetrics(SM_CYMENU);
        }
        const bool keepCaption =
            (FWindowKind == wkMdiChild && SkinManager && SkinManager->MdiMaximized()) || FShowState == ssMinimized;
        if (!keepCaption) SetCaptionStyle(false);
        ReadFrameMetrics();
    } else {
        FState = ssSkinned;
    }
    if (FWindowKind == wkMdiChild) {
        const int captionHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FMetrics.Top < captionHeight) FMenuHeight = captionHeight - FMetrics.Top;
        if (FShowState == ssMaximized && SkinManager) {
            FToldMaximized = true;
            SkinManager->SetMdiMaximized(true);
        }
    }
}

void TWinSkinForm::Detach() {
    FreePainters();
    if (FForm && FOldFormProc) {
        FForm->WindowProc = FOldFormProc;
        FOldFormProc = nullptr;
    }
    ReleaseMdiClient();
    if (FSubclassed && IsWindow(FHandle)) RemoveWindowSubclass(FHandle, SubclassProc(), SubclassSkinForm);
    FSubclassed = false;
    FHotObject = nullptr;
    if (FTimer) FTimer->SetEnabled(false);
}

void TWinSkinForm::Start() {
    if (FStarted) return;
    FStarted = true;
    FSystemMenu = GetSystemMenu(FHandle, FALSE);
    ReadIcon();
    RECT window{}, client{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &client);
    FUnskinnedFrame = {(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    if (ControlDiscovery().DiscoverControls) ControlDiscovery().DiscoverControls(*this);

    if (FState == ssAttached && FFrameSkinned) {
        if (FWindowKind == wkMdiChild) {
            if (FShowState == ssMaximized && GetParent(FHandle))
                PostMessageW(GetParent(FHandle), WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(FHandle), 0);
            else if (FShowState == ssMinimized)
                SetCaptionStyle(true);
            else {
                FState = ssSizing;
                ApplyFrameSize(false);
                FState = ssSkinned;
                UpdateRegion();
            }
        } else if (!FChild && FFrameKind != fkNone && FShowState != ssMinimized) {
            FState = ssSizing;
            ApplyFrameSize(false);
            FState = ssSkinned;
            if (FShowState == ssNormal)
                UpdateRegion();
            else
                FrameChanged(FHandle);
        }
    }
    SendMessageW(FHandle, WM_SKINDONE, 0, SkinAnswer);
    if (FSkin->OnAfterSkinForm) FSkin->OnAfterSkinForm(FForm, FHandle, FClassName);
    FState = ssSkinned;
    // The window's own bar goes now that the frame is the skin's (which keeps the client area as it is).
    if (FMenuBar) FMenuBar->Build();
    // Then the menus go to the item painter (a change of the window's own bar would move the frame).
    if (FForm) SkinFormMenus(*FForm, *FSkin, true);
    UpdateMenuHeight();
    if (FTimer) FTimer->SetEnabled(true);
}

void TWinSkinForm::ReadIcon() {
    FIconSize = GetSystemMetrics(SM_CXSMICON);
    FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICONSM));
    const int cy = GetSystemMetrics(SM_CYSMICON);
    FIconBitmap = std::make_unique<TBitmap>();
    FIconBitmap->SetPixelFormat(pf24bit);
    FIconBitmap->SetSize(FIconSize, cy);
    FIconBitmap->Canvas()->Brush()->SetColor(clFuchsia);
    FIconBitmap->Canvas()->FillRect({0, 0, FIconSize, cy});
    if (FIcon) DrawIconEx(FIconBitmap->Canvas()->Handle(), 0, 0, FIcon, FIconSize, cy, 0, nullptr, DI_NORMAL);
}

void TWinSkinForm::ReadFrameMetrics() {
    if (!FSkin || FSkin->SkinPending) return;
    if (FFrameKind == fkNone) {
        FMetrics = {};
        FMenuHeight = 0;
    } else {
        auto across = [](const TDataSkinObject& e) { return e.Bitmap->Width() / std::max(e.FrameCount, 1); };
        auto down = [](const TDataSkinObject& e) { return e.Bitmap->Height() / std::max(e.FrameCount, 1); };
        FMetrics = {across(*FSkin->BorderLeft), down(*FSkin->BorderTop), across(*FSkin->BorderRight),
                    down(*FSkin->BorderBottom)};
    }
    DropSkinElements();
    for (const auto& element : FSkin->CaptionButtons) {
        if (element->Action == baSystemMenu || element->Action == baIcon) {
            if (!FIconBitmap) ReadIcon();
            if (element->Bitmap->Empty()) element->Bitmap->Assign(FIconBitmap.get());
            if (FSkin->AppIconBitmap->Empty()) FSkin->AppIconBitmap->Assign(FIconBitmap.get());
            element->FrameCount = 1;
        }
        FButtons.push_back(std::make_unique<TWinSysButton>(*this, *element));
    }
}

// ---- Painters ----

namespace {
TControlDiscovery Discovery;  // constant-initialised: empty until the painters' module installs it
}  // namespace

void SetControlDiscovery(const TControlDiscovery& Value) { Discovery = Value; }
const TControlDiscovery& ControlDiscovery() { return Discovery; }

void TWinSkinForm::AddPainter(TControlPainter* Painter) {
    if (std::find(FPainters.begin(), FPainters.end(), Painter) == FPainters.end()) FPainters.push_back(Painter);
}

void TWinSkinForm::RemovePainter(TControlPainter* Painter) {
    auto it = std::find(FPainters.rbegin(), FPainters.rend(), Painter);
    if (it != FPainters.rend()) FPainters.erase(std::next(it).base());
}

TControlPainter* TWinSkinForm::PainterOfWindow(HWND Window) const {
    auto it = std::find_if(FPainters.begin(), FPainters.end(), [Window](auto* p) { return p->Window() == Window; });
    return it == FPainters.end() ? nullptr : *it;
}

TControlPainter* TWinSkinForm::PainterOfControl(const TControl* Control) const {
    auto it = std::find_if(FPainters.begin(), FPainters.end(), [Control](auto* p) { return p->Control() == Control; });
    return it == FPainters.end() ? nullptr : *it;
}

void TWinSkinForm::FreeFinishedPainters() {
    std::vector<TControlPainter*> finished;
    for (TControlPainter* painter : FPainters)
        if (painter->Finished()) finished.push_back(painter);
    for (TControlPainter* painter : finished) delete painter;  // each leaves the list as it goes
}

void TWinSkinForm::FreePainters() {
    // Taken out first: a painter leaves the list as it is freed.
    const std::vector<TControlPainter*> painters = std::exchange(FPainters, {});
    for (TControlPainter* painter : painters)
        if (!painter->Finished()) painter->Detach();
    for (TControlPainter* painter : painters) delete painter;
}

void TWinSkinForm::DropSkinElements() {
    FHotObject = nullptr;
    FButtons.clear();
    DropBorderPieces();
}

void TWinSkinForm::DropBorderPieces() {
    for (TBorderPiece& piece : FPieces) piece = {};
}

void TWinSkinForm::SetCaptionStyle(bool On) {
    if (FButtonFlags & bfHiddenCaption) SetStyleBits(FHandle, WS_CAPTION, On);
}

void TWinSkinForm::ReadShowState() { FShowState = ShowStateOf(FHandle); }

void TWinSkinForm::ApplyFrameSize(bool ReadClient) {
    if (FShowState == ssMaximized) {
        FrameChanged(FHandle);
        return;
    }
    RECT client{};
    GetClientRect(FHandle, &client);
    int width = client.right + FMetrics.Left + FMetrics.Right;
    const int height = client.bottom + FMetrics.Top + FMetrics.Bottom + FMenuHeight;
    if (FDialog && !ReadClient) {
        // A dialog whose caption is wider than itself grows, and its controls move to stay centred.
        TWindowDC dc(FHandle);
        TSelectObject font(dc.get(), FSkin->CaptionFont->Handle());
        TRect text{0, 0, 0, 0};
        SkinDrawText(dc.get(), CaptionText(), text, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
        const int needed = FSkin->Title->LeftWidth + text.Width() + FSkin->Title->RightWidth;
        if (width < needed) {
            const int shift = (needed - width) / 2;
            width = needed;
            for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RefreshSkin() {
    if (FForm) {
        FForm->SetColor(FSkin->FaceColor);
        for (TComponent* owned : FForm->ComponentList())
            if (auto* form = dynamic_cast<TCustomForm*>(owned)) form->SetColor(FSkin->FaceColor);
    }
    ReadFrameMetrics();
    if (FForm) SkinFormMenus(*FForm, *FSkin, true);
    for (TControlPainter* painter : std::vector<TControlPainter*>(FPainters))
        if (!painter->Finished()) painter->Reskin();
    FState = ssRefreshing;
    if (FFrameSkinned && FShowState != ssMinimized && FFrameKind != fkNone && !(FChild && FWindowKind != wkMdiChild)) {
        ApplyFrameSize(true);
        UpdateRegion();
    }
    SendMessageW(FHandle, WM_SKINDONE, 0, SkinAnswer);
    if (FSkin->OnAfterSkinForm) FSkin->OnAfterSkinForm(FForm, FHandle, FClassName);
    FState = ssSkinned;
}

void TWinSkinForm::RestoreWindow() {
    StopTimer();
    const bool destroying = FState == ssDestroying;
    if (FForm && !destroying) {
        FForm->SetColor(FFormColor);
        SkinFormMenus(*FForm, *FSkin, false);
    }
    const bool frameWasSkinned = FFrameSkinned && FStarted;
    Detach();
    FHotObject = nullptr;
    FMenuBar.reset();  // the window has its own menu bar again
    if (!FFrameSkinned) {
        if (FForm) FForm->Invalidate();
        return;
    }
    if (FButtonFlags & bfSystemMenu) SetStyleBits(FHandle, WS_SYSMENU, true);
    SetCaptionStyle(true);
    if (!FChild && IsWindow(FHandle)) SkinSetSystemFrame(FHandle, true);
    if (!destroying && frameWasSkinned && (FWindowKind == wkMdiChild || !FChild) && IsWindow(FHandle)) {
        RECT r{};
        GetWindowRect(FHandle, &r);
        if (FWindowKind == wkMdiChild) MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
        const int width = (r.right - r.left) - FMetrics.Left - FMetrics.Right + FUnskinnedFrame.Width;
        const int height =
            (r.bottom - r.top) - FMetrics.Top - FMetrics.Bottom - FMenuHeight + FUnskinnedFrame.Height;
        // The frame goes first, then the size: the new non-client size is measured from the restored style.
        RemoveRegion(false);
        if (FShowState == ssMaximized)
            FrameChanged(FHandle);
        else
            SetWindowPos(FHandle, nullptr, r.left, r.top, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RemoveRegion(false);
    FState = ssFinished;
}

void TWinSkinForm::StopTimer() {
    if (FTimer) FTimer->SetEnabled(false);
}

// ---- Geometry ----

TPoint TWinSkinForm::WindowToFrame(TPoint ScreenPoint) const {
    POINT p{ScreenPoint.X, ScreenPoint.Y};
    ScreenToClient(FHandle, &p);
    if (FWindowKind == wkMdiChild && FShowState == ssMinimized) return {p.x, p.y};
    return {p.x + FMetrics.Left, p.y + FMetrics.Top + FMenuHeight};
}

TNCObject* TWinSkinForm::ObjectAt(TPoint FramePoint) const {
    for (const auto& button : FButtons)
        if (button->Visible && button->Action() >= 0 && button->BoundsRect.Contains(FramePoint)) return button.get();
    return FMenuBar ? FMenuBar->ItemAt(FramePoint) : nullptr;
}

LRESULT TWinSkinForm::CalcSize(WPARAM wParam, LPARAM lParam) {
    // The proposed window rectangle, before the default procedure turns it into the client rectangle.
    RECT* rects = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc : reinterpret_cast<RECT*>(lParam);
    const RECT window = rects[0];
    const LRESULT result = Pass(WM_NCCALCSIZE, wParam, lParam);
    const bool ownFrame = FFrameKind == fkNone || (FWindowKind == wkMdiChild && FShowState != ssNormal);
    if (ownFrame) {
        if (!wParam) return result;
        rects[1] = rects[0];
        return WVR_VALIDRECTS;
    }
    RECT client{window.left + FMetrics.Left, window.top + FMetrics.Top + FMenuHeight, window.right - FMetrics.Right,
                window.bottom - FMetrics.Bottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    rects[0] = client;
    if (!wParam) return 0;
    rects[1] = client;
    return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::HitTest(LPARAM lParam) {
    const LRESULT result = Pass(WM_NCHITTEST, 0, lParam);
    if (FFrameKind == fkNone) return result;
    RECT r{};
    GetWindowRect(FHandle, &r);
    const int x = GET_X_LPARAM(lParam) - r.left, y = GET_Y_LPARAM(lParam) - r.top;
    const int W = r.right - r.left, H = r.bottom - r.top;
    const TFrameMetrics& m = FMetrics;
    const TRect client{m.Left, m.Top + FMenuHeight, W - m.Right, H - m.Bottom};
    if (client.Contains({x, y}) || x < 0 || y < 0 || x >= W || y >= H) return result;
    if (FShowState == ssMinimized) return HTCAPTION;

    // The skin's own frame decides, not the system's idea of a frame of this style: the borders are as
    // thick as the skin draws them, the top edge sizes within its first four rows, and the corners
    // answer along a caption's height of each edge.
    const bool sizing = FSizeable && FShowState == ssNormal;
    const bool left = x < m.Left, right = x >= W - m.Right, bottom = y >= H - m.Bottom, top = y <= 3;
    if (sizing && (left || right || bottom || top)) {
        const int corner = std::max({GetSystemMetrics(SM_CYCAPTION), m.Left, m.Right, m.Bottom, 16});
        const bool nearLeft = x < corner, nearRight = x >= W - corner;
        const bool nearTop = y < corner, nearBottom = y >= H - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        if (top) return HTTOP;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        return HTBOTTOM;
    }
    if (left || right || bottom) return HTBORDER;
    return y < m.Top ? HTCAPTION : HTMENU;
}

void TWinSkinForm::MaxInfo(MINMAXINFO& Info) const {
    // Maximised, the whole skinned frame stays inside the monitor's work area: the system would let a
    // frame of the style's own thickness hang off the screen, which is not the skin's thickness.
    HMONITOR monitor = MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info) || FWindowKind == wkMdiChild) return;
    Info.ptMaxPosition = {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
    Info.ptMaxSize = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
    Info.ptMaxTrackSize.x = std::max(Info.ptMaxTrackSize.x, Info.ptMaxSize.x);
    Info.ptMaxTrackSize.y = std::max(Info.ptMaxTrackSize.y, Info.ptMaxSize.y);
}

// ---- Window procedures ----

LRESULT TWinSkinForm::Pass(UINT msg, WPARAM wParam, LPARAM lParam) { return DefSubclassProc(FHandle, msg, wParam, lParam); }

LRESULT TWinSkinForm::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCPAINT:
        if (FState == ssAttached) return 0;
        break;
    case WM_ERASEBKGND: {
        const LRESULT result = Pass(msg, wParam, lParam);
        if (FForm) return result;
        RECT client{};
        GetClientRect(FHandle, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, FSkin->FaceBrush.get());
        return 1;
    }
    case WM_NCDESTROY: {
        FState = ssDestroying;
        HWND wnd = FHandle;
        Detach();
        FState = ssFinished;
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    case WM_NCACTIVATE:
        // Not skinned yet: nothing is painted, and a deactivation is never refused.
        if (FState == ssAttached && FWindowKind != wkMdiChild) return wParam ? 0 : TRUE;
        if (!FFrameSkinned) return Pass(msg, wParam, lParam);
        return FrameProc(msg, wParam, lParam);
    case WM_NCUAHDRAWCAPTION:
        return 0;
    case WM_INITMENUPOPUP:
        if (SkinManager)
            SkinManager->MenuKind = reinterpret_cast<HMENU>(wParam) == FSystemMenu ? mkSystem : mkMenuBar;
        return Pass(msg, wParam, lParam);
    case WM_MENUSELECT:
        if (FMenuBar) FMenuBar->MenuSelect(wParam, lParam);
        return Pass(msg, wParam, lParam);
    case WM_MEASUREITEM:
        if (FMenuBar && FMenuBar->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        return Pass(msg, wParam, lParam);
    case WM_DRAWITEM:
        if (FMenuBar && FMenuBar->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        return Pass(msg, wParam, lParam);
    case WM_SKINMENUHIT:
        if (FMenuBar) {
            const TPoint at = WindowToFrame({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            FMenuBar->Open(FMenuBar->ItemAt(at));
        }
        return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        const LRESULT result = Pass(msg, wParam, lParam);
        if (FForm) return result;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return msg == WM_CTLCOLORSTATIC ? reinterpret_cast<LRESULT>(FSkin->FaceBrush.get()) : result;
    }
    case WM_SKINSTART:
        Start();
        return 0;
    case WM_SHOWWINDOW:
        // A window skinned as it was made appears in its skin: the first skinning is done before the
        // window is on the screen, whatever is still queued for it.
        if (wParam && !FStarted) Start();
        return Pass(msg, wParam, lParam);
    case WM_NCUAHDRAWCAPTION + 1:  // the themed frame drawing's companion
        return 0;
    case WM_SKINQUERY:
        return 1;
    case WM_SKINRESCROLL:
        if (ControlDiscovery().Rescroll) ControlDiscovery().Rescroll(*this, reinterpret_cast<HWND>(wParam));
        return 0;
    default:
        break;
    }
    return FFrameSkinned ? FrameProc(msg, wParam, lParam) : Pass(msg, wParam, lParam);
}

LRESULT TWinSkinForm::FrameProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FChild && FWindowKind != wkMdiChild) return Pass(msg, wParam, lParam);
    switch (msg) {
    case WM_COMMAND:
        if (IsSystemCommand(LOWORD(wParam))) {
            PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
            return 0;
        }
        return Pass(msg, wParam, lParam);
    case WM_GETMINMAXINFO: {
        const LRESULT result = Pass(msg, wParam, lParam);
        ReadShowState();
        if (FState != ssAttached) MaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        SetCaptionStyle(FShowState == ssMinimized || (FWindowKind == wkMdiChild && FShowState == ssMaximized));
        return result;
    }
    case WM_SIZE: {
        // Once, here: the size handling of both stages would tell the window twice.
        const LRESULT result = Pass(msg, wParam, lParam);
        SizeHandling(wParam);
        return result;
    }
    case WM_ACTIVATE:
        FActive = LOWORD(wParam) != WA_INACTIVE;
        break;
    case WM_NCACTIVATE:
        FActive = LOBYTE(wParam) != 0;
        break;
    case WM_WINDOWPOSCHANGED:
        ReadShowState();
        return Pass(msg, wParam, lParam);
    case WM_SETTEXT:
    case WM_SETICON:
        return CaptionChange(msg, wParam, lParam);
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_KEYMENU && lParam != ' ' && FMenuBar && !GetCapture() &&
            FMenuBar->KeyMenu(static_cast<wchar_t>(lParam)))
            return 0;
        if (command == SC_KEYMENU && lParam == ' ') {
            POINT origin{0, 0};
            ClientToScreen(FHandle, &origin);
            ShowSystemMenu({origin.x, origin.y});
            return 0;
        }
        if (command == SC_MINIMIZE) {
            FShowState = ssMinimized;
            if (FWindowKind == wkMdiChild) SetCaptionStyle(true);
        } else if (command == SC_MAXIMIZE) {
            FShowState = ssMaximized;
        } else if (command == SC_RESTORE) {
            FShowState = ssNormal;
            if (FWindowKind == wkMdiChild) {
                SetCaptionStyle(false);
                if (SkinManager && SkinManager->MdiMaximized()) SkinManager->SetMdiMaximized(false);
            }
        }
        return Pass(msg, wParam, lParam);
    }
    default:
        break;
    }
    return SkinnedProc(msg, wParam, lParam);
}

LRESULT TWinSkinForm::SkinnedProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool maximizedChild = FWindowKind == wkMdiChild && FShowState == ssMaximized;
    if (maximizedChild || FState == ssAttached) return Pass(msg, wParam, lParam);
    switch (msg) {
    case WM_NCCALCSIZE:
        return CalcSize(wParam, lParam);
    case WM_NCHITTEST:
        return HitTest(lParam);
    case WM_NCPAINT:
        // Without the system menu style the system draws no caption buttons of its own anywhere.
        if (!(FButtonFlags & bfHiddenCaption)) SetStyleBits(FHandle, WS_SYSMENU, false);
        if (FSkin->NCPaintEnabled) {
            if (FFrameKind == fkNone) return Pass(msg, wParam, lParam);
            PaintNonClient();
        }
        return 0;
    case WM_NCACTIVATE:
        FActive = wParam != 0;
        if (FTimer) FTimer->SetEnabled(FActive);
        if (!FActive) ClearHotObject();
        if (FWindowKind == wkMdiFrame && FMdiClient) SendMessageW(FMdiClient, WM_NCACTIVATE, wParam, 0);
        if (FWindowKind == wkMdiChild) Pass(msg, wParam, lParam);
        PaintNonClient();
        return TRUE;
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
        return NonClientMouse(msg, wParam, lParam);
    case WM_SKINNCPAINT:
        PaintNonClient();
        return 0;
    default:
        return Pass(msg, wParam, lParam);
    }
}

void TWinSkinForm::SizeHandling(WPARAM Kind) {
    if (FState == ssAttached) return;
    if (Kind == SIZE_RESTORED) FShowState = ssNormal;
    if (Kind == SIZE_MINIMIZED) FShowState = ssMinimized;
    if (Kind == SIZE_MAXIMIZED) FShowState = ssMaximized;
    // However an MDI child was maximised or restored (its buttons, its system menu, the MDI client's
    // own messages), its siblings and the frame follow.
    const bool maximized = Kind == SIZE_MAXIMIZED;
    if (FWindowKind == wkMdiChild && SkinManager && maximized != FToldMaximized) {
        FToldMaximized = maximized;
        SkinManager->SetMdiMaximized(maximized);
    }
    const bool childNotNormal =
        FWindowKind == wkMdiChild && ((SkinManager && SkinManager->MdiMaximized()) || FShowState != ssNormal);
    if (FShowState != ssMinimized && !childNotNormal && (FState == ssSkinned || FState == ssRefreshing)) {
        UpdateRegion(false);
        UpdateMenuHeight();
    }
}

void TWinSkinForm::UpdateMenuHeight() {
    if (!FMenuBar || FShowState == ssMinimized) return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    FWindowSize = {r.right - r.left, r.bottom - r.top};
    const int height = FMenuBar->Layout();
    if (height == FMenuHeight) return;
    // The bar's items wrap to more rows (or fewer): the client area gives it the room.
    FMenuHeight = height;
    FrameChanged(FHandle);
}

LRESULT TWinSkinForm::CaptionChange(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindowVisible(FHandle) || FState == ssAttached) {
        const LRESULT result = Pass(msg, wParam, lParam);
        if (msg == WM_SETICON) ReadIcon();
        return result;
    }
    // The system paints its own caption as the text or the icon changes: that is kept from the screen,
    // and the skinned caption is painted with the new text or icon.
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    const LRESULT result = Pass(msg, wParam, lParam);
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    if (msg == WM_SETICON) ReadIcon();
    if (FWindowKind == wkMdiChild && FShowState == ssMaximized && GetParent(FHandle))
        PostMessageW(GetParent(FHandle), WM_SKINMDIREDRAW, 0, 0);
    else
        RepaintTitleBar();
    return result;
}

void TWinSkinForm::FormWindowProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SKINREFRESH:
        RefreshSkin();
        return;
    case WM_SKINNCPRINT:
        if (Message.LParam == SkinAnswer) {
            PaintNonClient(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = SkinAnswer;
            return;
        }
        break;
    case WM_SKINPING:
        Message.Result = Message.LParam == SkinAnswer ? SkinAnswer : 1;
        return;
    case CM_MENUCHANGED:
        FOldFormProc(Message);
        // The form's menu changed: the bar shows it (the skin may keep the bar as it is).
        if (FMenuBar && FSkin->MenuUpdate() && FStarted) {
            FMenuBar->Build();
            UpdateMenuHeight();
            RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
        return;
    default:
        break;
    }
    FOldFormProc(Message);
}

void TWinSkinForm::ReleaseMdiClient() {
    if (!FMdiClient) return;
    if (IsWindow(FMdiClient)) RemoveWindowSubclass(FMdiClient, MdiClientProc(), SubclassMdiClient);
    if (SkinManager && SkinManager->MdiClient == FMdiClient) {
        SkinManager->MdiClient = nullptr;
        SkinManager->MdiForm = nullptr;
    }
    FMdiClient = nullptr;
}

LRESULT TWinSkinForm::MdiClientMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FMdiClient;
    auto pass = [&] { return DefSubclassProc(client, msg, wParam, lParam); };
    switch (msg) {
    case WM_NCDESTROY: {
        const LRESULT result = pass();
        ReleaseMdiClient();
        return result;
    }
    case WM_NCCALCSIZE:
        if (!FSkin->HasOption(xoMDIScrollbar)) SetStyleBits(client, WS_HSCROLL | WS_VSCROLL, false);
        return pass();
    case WM_MDICREATE:
        FSkin->SetMenuUpdate(false);
        return pass();
    case WM_MDIDESTROY: {
        const LRESULT result = pass();
        BOOL maximized = FALSE;
        HWND active = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (SkinManager) SkinManager->SetMdiMaximized(active && maximized);
        if (!active) FSkin->SetMenuUpdate(FSavedMenuUpdate);
        return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (SkinManager && SkinManager->MdiMaximized()) SkinManager->SetMdiMaximized(false);
        return pass();
    case WM_SKINMDIREDRAW:
        RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return 0;
    default:
        return pass();
    }
}

// ---- Mouse in the frame ----

LRESULT TWinSkinForm::NonClientMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    const TPoint screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const TPoint at = WindowToFrame(screen);
    TNCObject* object = msg == WM_NCMOUSELEAVE ? nullptr : ObjectAt(at);
    switch (msg) {
    case WM_NCMOUSEMOVE:
        if (FActive) {
            if (object) {
                object->MouseEnter();
                // The hot button goes cold as soon as the mouse leaves the frame, not a timer tick later.
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, FHandle, 0};
                TrackMouseEvent(&track);
                return 0;
            }
            if (FHotObject) FHotObject->MouseLeave();
        }
        return Pass(msg, wParam, lParam);
    case WM_NCMOUSELEAVE:
        if (FHotObject && FHotObject->State != nsPressed) FHotObject->MouseLeave();
        return Pass(msg, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) {
            if (!FActive) SetForegroundWindow(FHandle);
            FMenuBar->Open(item);
            return 0;
        }
        if (object) {
            if (!FActive) SetForegroundWindow(FHandle);
            object->MouseDown();
            return 0;
        }
        // A maximised window's caption does not drag the window.
        if (FShowState == ssMaximized && FActive && wParam == HTCAPTION) wParam = HTMENU;
        return Pass(msg, wParam, lParam);
    case WM_NCLBUTTONUP:
        if (object) {
            auto* button = dynamic_cast<TWinSysButton*>(object);
            if (button && button == FHotObject && button->State == nsPressed) {
                button->MouseUp();
                button->Click();
            }
            return 0;
        }
        if (FHotObject && FHotObject->State == nsPressed) FHotObject->MouseLeave();
        return Pass(msg, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        if (auto* button = dynamic_cast<TWinSysButton*>(object)) {
            if (button->ShowsIcon()) {
                StopTimer();
                PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        }
        if (wParam == HTCAPTION) {
            if (FShowState != ssNormal)
                Restore();
            else if (FButtonFlags & bfMaximize)
                ToggleMaximize();
            return 0;
        }
        return Pass(msg, wParam, lParam);
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && FWindowKind != wkMdiChild) {
            ShowSystemMenu(screen);
            return 0;
        }
        return Pass(msg, wParam, lParam);
    default:
        return Pass(msg, wParam, lParam);
    }
}

void TWinSkinForm::OnTimer() {
    if (!FHotObject) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!FHotObject->BoundsRect.Contains(WindowToFrame({cursor.x, cursor.y}))) FHotObject->MouseLeave();
}

// ---- Window commands ----

void TWinSkinForm::Restore() {
    FShowState = ssNormal;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize() {
    if (FShowState == ssMaximized) {
        Restore();
        return;
    }
    if (FWindowKind == wkMdiChild && SkinManager) SkinManager->SetMdiMaximized(true);
    FShowState = ssMaximized;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ClearHotObject();
}

void TWinSkinForm::ClearHotObject() {
    // The button moves away from under the mouse (or the window goes inactive): it shows normal again
    // the next time the title bar is painted.
    if (FHotObject) FHotObject->State = nsNormal;
    FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
    if (FShowState == ssMinimized) {
        Restore();
        return;
    }
    FShowState = ssMinimized;
    if ((FButtonFlags & bfSystemMenu) && !(FButtonFlags & bfHiddenCaption)) SetStyleBits(FHandle, WS_SYSMENU, true);
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

bool TWinSkinForm::HasCloseItem() const {
    const DWORD version = GetVersion();
    if ((version & 0x80000000) || LOBYTE(LOWORD(version)) == 4) return true;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    HMENU menu = FSystemMenu ? FSystemMenu : GetSystemMenu(FHandle, FALSE);
    return menu && GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info);
}

void TWinSkinForm::ShowSystemMenu(TPoint ScreenPoint) {
    const DWORD now = GetTickCount();
    if (FHotObject && FDoubleClickTime >= 0 && now - FLastSystemMenu <= static_cast<DWORD>(FDoubleClickTime)) {
        // The second click of a double click on the icon closes the window, as the system's own does. (A
        // menu opened again as quickly from the keyboard simply opens.)
        StopTimer();
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
        return;
    }
    HMENU system = FSystemMenu ? FSystemMenu : GetSystemMenu(FHandle, FALSE);
    if (!system) return;
    if (SkinManager) SkinManager->MenuKind = mkSystem;
    FLastSystemMenu = now;

    // The window's system menu mirrored item by item, enabled for the state the window is really in
    // (the system would judge by the caption style the skinned frame has changed), drawn by the skin
    // with its own glyphs.
    TPopupMenu menu(nullptr);
    menu.SetTag(SystemMenuTag);
    menu.SetImages(FSkin->MenuGlyphs.get());
    menu.SetRightToLeft(FRightToLeft);
    bool chosen = false;
    const int count = GetMenuItemCount(system);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE;
        if (!GetMenuItemInfoW(system, static_cast<UINT>(position), TRUE, &info)) continue;
        wchar_t text[81]{};
        GetMenuStringW(system, static_cast<UINT>(position), text, 80, MF_BYPOSITION);
        std::wstring caption = text;
        auto* item = new TMenuItem(&menu);
        if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
            item->SetShortCut(TextToShortCut(caption.substr(tab + 1)));
            caption.resize(tab);
        }
        item->SetCaption(caption.empty() || (info.fType & MFT_SEPARATOR) ? L"-" : caption);
        item->SetTag(static_cast<int>(info.wID));
        item->SetEnabled((info.fState & 3) == 0);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        switch (info.wID) {
        case SC_SIZE: item->SetEnabled(FShowState == ssNormal && FSizeable); break;
        case SC_MOVE: item->SetEnabled(FShowState != ssMaximized); break;
        case SC_MINIMIZE:
            item->SetImageIndex(2);
            item->SetEnabled(FShowState != ssMinimized && (FButtonFlags & bfMinimize));
            break;
        case SC_MAXIMIZE:
            item->SetImageIndex(1);
            item->SetEnabled(FShowState != ssMaximized && (FButtonFlags & bfMaximize));
            break;
        case SC_CLOSE:
            item->SetImageIndex(3);
            item->SetDefault(true);
            break;
        case SC_RESTORE:
            item->SetImageIndex(0);
            item->SetEnabled(FShowState != ssNormal);
            break;
        default: break;
        }
        item->OnClick = [this, &chosen](TObject* sender) {
            chosen = true;
            PostMessageW(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TMenuItem*>(sender)->Tag()), 0);
        };
        menu.Items()->Add(item);
    }
    SkinMenuItems(menu, *FSkin, true);
    menu.Popup(ScreenPoint.X, ScreenPoint.Y);
    if (chosen) return;
    // The menu's own loop takes the second click of a double click on the icon: a menu that closed
    // that quickly with the mouse still on the icon was double-clicked.
    POINT cursor{};
    GetCursorPos(&cursor);
    auto* icon = dynamic_cast<TWinSysButton*>(ObjectAt(WindowToFrame({cursor.x, cursor.y})));
    if (icon && icon->ShowsIcon() && GetTickCount() - now <= static_cast<DWORD>(FDoubleClickTime) &&
        (GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0) {
        StopTimer();
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
    }
}
