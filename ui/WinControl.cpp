#include "ui/WinControl.h"

#include "base/StrUtils.h"
#include "ui/Application.h"
#include "ui/Errors.h"
#include "ui/GraphicControl.h"
#include "ui/Properties.h"
#include "ui/SubclassIds.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <set>

const TClassInfo TWinControl::MetaClass(
    "TWinControl", &TControl::MetaClass, ComponentFactory<TWinControl>,
    {
        IntProp<TWinControl>("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
        BoolProp<TWinControl>("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
        EventProp<TWinControl>("OnEnter", &TWinControl::OnEnter),
        EventProp<TWinControl>("OnExit", &TWinControl::OnExit),
    });

namespace {

constexpr UINT_PTR SubclassId = SubclassControl;

UINT_PTR NextChildId() {
    static UINT_PTR id = 100;
    id = id >= 0x7FFF ? 100 : id + 1;
    return id;
}

}  // namespace

void RaiseLastOSError(const char* what) {
    DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = std::string(what) + " failed (" + std::to_string(code) + ")";
    if (text) {
        message += ": " + WideToUtf8(Trim(std::wstring(text)));
        LocalFree(text);
    }
    throw EOSError(message);
}

// Window procedure of the framework's own classes: DefWindowProc, plus attaching the object that asked
// for the window as early as WM_NCCREATE (it comes in lpCreateParams) so that it sees WM_CREATE too.
LRESULT CALLBACK OwnClassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (control) {
            SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
            control->AttachHandle(wnd);
        }
    } else if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FBrush.SetColor(FColor);
}

TWinControl::~TWinControl() {
    // Owned components (painters among them) go while this control is still whole.
    Destroying();
    DestroyComponents();
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    DestroyHandle();
}

const std::wstring& TWinControl::ControlAtomName() {
    static const std::wstring name = [] {
        wchar_t buffer[64];
        swprintf(buffer, 64, L"ControlOfs%.8llX%.8lX",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                 static_cast<unsigned long>(GetCurrentThreadId()));
        return std::wstring(buffer);
    }();
    return name;
}

TWinControl* TWinControl::FindControl(HWND wnd) {
    if (!wnd) return nullptr;
    auto* control = static_cast<TControl*>(GetPropW(wnd, ControlAtomName().c_str()));
    return static_cast<TWinControl*>(control);
}

HWND TWinControl::Handle() {
    if (!FHandle) {
        if (FParent && !FParent->HandleAllocated()) {
            FParent->HandleNeeded();  // makes the children's windows too
            if (FHandle) return FHandle.get();
        }
        CreateWnd();
        CreateChildHandles();
        Realign();
    }
    return FHandle.get();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.WinClassName = RegisterOwnClass(Utf8ToWide(ClassName()).c_str(), CS_DBLCLKS);
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
}

const wchar_t* TWinControl::RegisterOwnClass(const wchar_t* name, UINT classStyle) {
    static std::set<std::wstring> registered;
    auto [it, added] = registered.insert(name);
    if (added) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = OwnClassProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
        wc.lpszClassName = name;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            registered.erase(it);
            RaiseLastOSError("RegisterClassEx");
        }
    }
    return it->c_str();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent && FParent) params.WndParent = FParent->Handle();
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    bool own = GetClassInfoExW(GetModuleHandleW(nullptr), params.WinClassName.c_str(), &wc) &&
               wc.lpfnWndProc == OwnClassProc;
    auto id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(NextChildId()) : nullptr;
    HWND wnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                               params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                               GetModuleHandleW(nullptr), own ? this : nullptr);
    if (!wnd) RaiseLastOSError("CreateWindowEx");
    if (!own) AttachHandle(wnd);
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::AttachHandle(HWND wnd) {
    FHandle.reset(wnd);
    FDefWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    SetPropW(wnd, ControlAtomName().c_str(), static_cast<TControl*>(this));
    SetWindowSubclass(wnd, SubclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TWinControl::DetachHandle() {
    HWND wnd = FHandle.release();
    RemoveWindowSubclass(wnd, SubclassProc, SubclassId);
    RemovePropW(wnd, ControlAtomName().c_str());
    if (FDefWndProc == OwnClassProc) SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    FDefWndProc = nullptr;
    FMouseControl = nullptr;
    FCaptureControl = nullptr;
    FMouseInControl = false;
}

void TWinControl::DestroyWnd() {
    HWND wnd = FHandle.get();
    DestroyWindow(wnd);
    if (FHandle.get() == wnd) DetachHandle();  // WM_NCDESTROY never came (the call failed)
}

void TWinControl::DestroyHandle() {
    if (FHandle) DestroyWnd();
}

void TWinControl::RecreateWnd() {
    if (HandleAllocated()) Perform(CM_RECREATEWND);
}

void TWinControl::CreateChildHandles() {
    for (TWinControl* child : FTabList)
        if (!child->HandleAllocated()) child->HandleNeeded();
    UpdateZOrder();
}

void TWinControl::UpdateZOrder() {
    // Overlapping siblings stack as they were placed: a later control lies on top of an earlier one.
    // (Tab moves in tab order whatever the stacking: SelectNext.)
    HWND after = HWND_TOP;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        auto* child = dynamic_cast<TWinControl*>(*it);
        if (!child || !child->HandleAllocated()) continue;
        SetWindowPos(child->WindowHandle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child->WindowHandle();
    }
}

bool TWinControl::SelectNext(HWND current, bool forward) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return false;
    // Start from the listed control that holds the focus (the focus may be on a window inside one).
    auto at = list.end();
    for (HWND wnd = current; wnd && wnd != FHandle.get() && at == list.end(); wnd = GetParent(wnd))
        at = std::find_if(list.begin(), list.end(), [wnd](TWinControl* c) { return c->FHandle.get() == wnd; });
    const size_t count = list.size();
    size_t index = at == list.end() ? (forward ? count - 1 : 0) : static_cast<size_t>(at - list.begin());
    for (size_t step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        TWinControl* next = list[index];
        if (!next->TabStop() || !next->HandleAllocated() || !next->CanFocus()) continue;
        ::SetFocus(next->WindowHandle());
        // As dialogs do: an edit reached by Tab has its text selected.
        if (SendMessageW(next->WindowHandle(), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            SendMessageW(next->WindowHandle(), EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

UINT TWinControl::ControlMessage() {
    static const UINT message = RegisterWindowMessageW(ControlAtomName().c_str());
    return message;
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR refData) {
    auto* self = reinterpret_cast<TWinControl*>(refData);
    // Code that reaches the window by message rather than by its property asks for its object.
    if (msg == ControlMessage() && msg != 0) return reinterpret_cast<LRESULT>(static_cast<TControl*>(self));
    TMessage message{msg, wParam, lParam, 0};
    ++self->FSubclassDepth;
    try {
        if (self->IsDestroying())
            self->DefaultHandler(message);  // the object is being torn down: only the window's own procedure
        else
            self->WindowProc(message);
    } catch (...) {
        // Nothing may unwind through the system's message dispatch.
        message.Result = 0;
        Application().HandleException(std::current_exception());
    }
    --self->FSubclassDepth;
    if (msg == WM_NCDESTROY && self->FHandle.get() == wnd) self->DetachHandle();
    return message.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(FBrush.Color()));
        message.Result = reinterpret_cast<LRESULT>(FBrush.Handle());
        return;
    }
    }
    HWND wnd = FHandle.get();
    if (!wnd || IsFrameworkMessage(message.Msg)) {
        message.Result = 0;
    } else if (FSubclassDepth > 0) {
        message.Result = DefSubclassProc(wnd, message.Msg, message.WParam, message.LParam);
    } else {
        message.Result = CallWindowProcW(FDefWndProc, wnd, message.Msg, message.WParam, message.LParam);
    }
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ReflectNotification(message)) return;
        break;
    case WM_PAINT: {
        bool hasGraphic = std::any_of(FControls.begin(), FControls.end(),
                                      [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
        if (hasGraphic || FDefWndProc == OwnClassProc) {
            PaintHandler(message);
            return;
        }
        break;
    }
    case WM_ERASEBKGND:
        if (FDefWndProc == OwnClassProc) {
            RECT r;
            GetClientRect(FHandle.get(), &r);
            FillRect(reinterpret_cast<HDC>(message.WParam), &r, FBrush.Handle());
            message.Result = 1;
            return;
        }
        break;
    case WM_MOUSEMOVE:
        if (!FMouseInControl) {
            FMouseInControl = true;
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = FHandle.get();
            TrackMouseEvent(&track);
            Perform(CM_MOUSEENTER);
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (MouseToControls(message)) return;  // a windowless child took it
        break;
    case WM_MOUSELEAVE:
        SetMouseControl(nullptr);
        if (FMouseInControl) {
            FMouseInControl = false;
            Perform(CM_MOUSELEAVE);
        }
        break;
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        break;
    case WM_SIZE:
        TControl::WndProc(message);
        Realign();
        return;
    case WM_WINDOWPOSCHANGED: {
        // The window moved by itself (the user, the system): take its bounds as ours.
        auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
        if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) {
            RECT r;
            GetWindowRect(FHandle.get(), &r);
            HWND parent = GetParent(FHandle.get());
            if (parent && (GetWindowLongW(FHandle.get(), GWL_STYLE) & WS_CHILD))
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            TRect b = TRect::FromRECT(r);
            if (b != BoundsRect()) {
                FLeft = b.Left;
                FTop = b.Top;
                FWidth = b.Width();
                FHeight = b.Height();
            }
        }
        break;
    }
    case WM_SETFOCUS:
        DoEnter();
        break;
    case WM_KILLFOCUS:
        DoExit();
        break;
    case CM_FONTCHANGED:
        if (FHandle) {
            SendMessageW(FHandle.get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        }
        for (TControl* c : FControls) c->Perform(CM_PARENTFONTCHANGED);
        return;
    case CM_COLORCHANGED:
        FBrush.SetColor(FColor);
        for (TControl* c : FControls) c->Perform(CM_PARENTCOLORCHANGED);
        return;
    case CM_ENABLEDCHANGED:
        if (FHandle) EnableWindow(FHandle.get(), Enabled());
        return;
    case CM_VISIBLECHANGED:
        if (FHandle) {
            ShowWindow(FHandle.get(), Visible() ? SW_SHOWNA : SW_HIDE);
        } else if (Visible() && FParent && FParent->HandleAllocated()) {
            HandleNeeded();
        }
        return;
    case CM_RECREATEWND:
        if (FHandle) {
            DestroyHandle();
            HandleNeeded();
        }
        return;
    case CM_DIALOGCHAR:
        for (TControl* c : FControls)
            if (c->Enabled() && c->Visible() && c->Perform(CM_DIALOGCHAR, message.WParam, message.LParam)) {
                message.Result = 1;
                return;
            }
        return;
    }
    TControl::WndProc(message);
}

bool TWinControl::ReflectNotification(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU) child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU) child = GetDlgItem(FHandle.get(), static_cast<int>(item->CtlID));
        break;
    }
    default:  // WM_COMMAND, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL name the child in lParam
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    }
    TWinControl* control = child && child != FHandle.get() ? FindControl(child) : nullptr;
    if (!control) return false;
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return true;
}

bool TWinControl::MouseToControls(const TMessage& message) {
    TPoint p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* under = ControlAtPos(p, false);
    SetMouseControl(under);
    TControl* target = FCaptureControl ? FCaptureControl : under;
    if (!target) return false;
    bool down = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_RBUTTONDOWN || message.Msg == WM_MBUTTONDOWN ||
                message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK;
    bool up = message.Msg == WM_LBUTTONUP || message.Msg == WM_RBUTTONUP || message.Msg == WM_MBUTTONUP;
    if (down) {
        FCaptureControl = target;
        SetCapture(FHandle.get());
    }
    LPARAM local = MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
    target->Perform(message.Msg, message.WParam, local);
    if (up && FCaptureControl) {
        FCaptureControl = nullptr;
        if (GetCapture() == FHandle.get()) ReleaseCapture();
    }
    return true;
}

void TWinControl::SetMouseControl(TControl* control) {
    if (control == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control) control->Perform(CM_MOUSEENTER);
}

void TWinControl::PaintHandler(TMessage& message) {
    auto dc = reinterpret_cast<HDC>(message.WParam);
    std::optional<TPaintDC> paint;
    if (!dc) {
        paint.emplace(FHandle.get());
        dc = paint->get();
    }
    {
        TSavedDC saved(dc);
        PaintWindow(dc);
    }
    PaintControls(dc);
    message.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
    if (FDefWndProc == OwnClassProc) return;  // the background was erased; own classes draw nothing else
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc) {
    RECT clip;
    int clipKind = GetClipBox(dc, &clip);
    for (TControl* c : FControls) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        TRect b = c->BoundsRect();
        RECT r = b.ToRECT(), overlap;
        if (clipKind != NULLREGION && clipKind != ERROR && !IntersectRect(&overlap, &r, &clip)) continue;
        TSavedDC saved(dc);
        OffsetViewportOrgEx(dc, b.Left, b.Top, nullptr);
        IntersectClipRect(dc, 0, 0, b.Width(), b.Height());
        // The control's canvas draws on this DC for the whole way through its WindowProc, so that a
        // painter in front of it can use the canvas too.
        auto* graphic = dynamic_cast<TGraphicControl*>(c);
        if (graphic) graphic->Canvas()->SetHandle(dc);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        if (graphic) graphic->Canvas()->SetHandle(nullptr);
    }
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(win);
        if (FHandle) {
            if (win->HandleAllocated())
                ::SetParent(win->WindowHandle(), FHandle.get());
            else
                win->HandleNeeded();
            UpdateZOrder();
        }
    }
}

void TWinControl::RemoveControl(TControl* control) {
    if (control == FMouseControl) FMouseControl = nullptr;
    if (control == FCaptureControl) FCaptureControl = nullptr;
    std::erase(FControls, control);
    // Compared as controls: from ~TControl the leaving object is no longer a TWinControl to dynamic_cast.
    std::erase_if(FTabList, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        // The window cannot live on without a parent window.
        if (win->HandleAllocated() && (GetWindowLongW(win->WindowHandle(), GWL_STYLE) & WS_CHILD))
            win->DestroyHandle();
    }
    control->FParent = nullptr;
}

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    // While a description is read the later controls are not there yet: the parent puts its children
    // in the order asked for once all have been read (Loaded).
    if (IsLoading()) FTabOrderWanted = order;
    if (!FParent) return;
    auto& list = FParent->FTabList;
    std::erase(list, this);
    size_t at = order < 0 ? list.size() : std::min(static_cast<size_t>(order), list.size());
    list.insert(list.begin() + static_cast<ptrdiff_t>(at), this);
    if (FParent->HandleAllocated()) FParent->UpdateZOrder();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Children that asked for a place come in that order; the others keep theirs, after them.
    std::vector<TWinControl*> ordered = FTabList;
    std::stable_sort(ordered.begin(), ordered.end(), [](TWinControl* a, TWinControl* b) {
        auto key = [](TWinControl* c) { return c->FTabOrderWanted < 0 ? INT_MAX : c->FTabOrderWanted; };
        return key(a) < key(b);
    });
    FTabList = std::move(ordered);
    for (TWinControl* child : FTabList) child->FTabOrderWanted = -1;
    if (HandleAllocated()) UpdateZOrder();
}

void TWinControl::SetTabStop(bool value) {
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle) ApplyStyle(value ? WS_TABSTOP : 0, value ? 0 : WS_TABSTOP);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle.get(); }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

TRect TWinControl::ClientRect() const {
    if (!FHandle) {
        // Before the window exists: the bounds less the frame its styles will give it.
        TCreateParams params;
        const_cast<TWinControl*>(this)->CreateParams(params);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
        int width = Width() - static_cast<int>(frame.right - frame.left);
        int height = Height() - static_cast<int>(frame.bottom - frame.top);
        return TRect::FromBounds(0, 0, std::max(0, width), std::max(0, height));
    }
    RECT r;
    GetClientRect(FHandle.get(), &r);
    return TRect::FromRECT(r);
}

TPoint TWinControl::ClientOrigin() const {
    if (!FHandle) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(FHandle.get(), &p);
    return {p.x, p.y};
}

bool TWinControl::Showing() const {
    if (FHandle) return IsWindowVisible(FHandle.get()) != 0;
    return TControl::Showing();
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle.get(), nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle.get());
}

void TWinControl::BoundsChanged() {
    if (FHandle) {
        SetWindowPos(FHandle.get(), nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        Realign();
    }
    if (FParent && Align() != alNone && !FAnchoring) FParent->Realign();
}

void TWinControl::Realign() {
    TRect area = ClientRect();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != align || !c->Visible()) continue;
            TRect r = area;
            switch (align) {
            case alTop: r.Bottom = area.Top + c->Height(); area.Top = r.Bottom; break;
            case alBottom: r.Top = area.Bottom - c->Height(); area.Bottom = r.Top; break;
            case alLeft: r.Right = area.Left + c->Width(); area.Left = r.Right; break;
            case alRight: r.Left = area.Right - c->Width(); area.Right = r.Left; break;
            default: break;
            }
            if (r != c->BoundsRect()) {
                c->FAnchoring = true;
                c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                c->FAnchoring = false;
            }
        }
    }
    for (TControl* c : FControls)
        if (c->Align() == alNone) c->ParentResized();
}

std::wstring TWinControl::GetText() const {
    if (!FHandle) return FText;
    int length = GetWindowTextLengthW(FHandle.get());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(FHandle.get(), text.data(), length + 1)));
    return text;
}

void TWinControl::TextChanged() {
    if (FHandle) SetWindowTextW(FHandle.get(), FText.c_str());
    TControl::TextChanged();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::ApplyStyle(DWORD set, DWORD clear) {
    HWND wnd = FHandle.get();
    auto style = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
    SetWindowLongW(wnd, GWL_STYLE, static_cast<LONG>((style & ~clear) | set));
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(wnd, nullptr, TRUE);
}
