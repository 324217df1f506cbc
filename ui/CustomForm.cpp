#include "ui/CustomForm.h"

#include "base/StrUtils.h"
#include "ui/Application.h"
#include "ui/FormReader.h"
#include "ui/Menus.h"
#include "ui/Properties.h"
#include "ui/Screen.h"

const TClassInfo TCustomForm::MetaClass(
    "TCustomForm", &TWinControl::MetaClass, nullptr,
    {
        SetProp<TCustomForm, TBorderIcons>("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
                                           &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons),
        EnumProp<TCustomForm, TFormBorderStyle>(
            "BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
            &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle),
        IntProp<TCustomForm>("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
        IntProp<TCustomForm>("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
        RefProp<TCustomForm, TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu),
        EnumProp<TCustomForm, TPosition>("Position",
                                         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                          "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                          "poOwnerFormCenter"},
                                         &TCustomForm::Position, &TCustomForm::SetPosition),
        EventProp<TCustomForm>("OnActivate", &TCustomForm::OnActivate),
        EventProp<TCustomForm>("OnClose", &TCustomForm::OnClose),
        EventProp<TCustomForm>("OnCreate", &TCustomForm::OnCreate),
        EventProp<TCustomForm>("OnDeactivate", &TCustomForm::OnDeactivate),
        EventProp<TCustomForm>("OnDestroy", &TCustomForm::OnDestroy),
        EventProp<TCustomForm>("OnShow", &TCustomForm::OnShow),
    });

const TClassInfo TForm::MetaClass("TForm", &TCustomForm::MetaClass, ComponentFactory<TForm>, {});

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    FColor = clBtnFace;
    Brush()->SetColor(clBtnFace);
    Font()->SetColor(clWindowText);
    SetBounds(0, 0, 320, 240);
    Screen().InsertForm(this);
}

TCustomForm::~TCustomForm() {
    Screen().RemoveForm(this);
    if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

void TCustomForm::ReadDescription(std::string_view text) {
    TFormReader reader(*this, &FBindings);
    reader.Read(text);
    DoCreate();
}

void TCustomForm::ReadDescriptionResource(const wchar_t* resourceName) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) throw EComponentError("Form description " + WideToUtf8(resourceName) + " not found");
    HGLOBAL data = LoadResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) RaiseLastOSError("LoadResource");
    ReadDescription(std::string_view(static_cast<const char*>(bytes), SizeofResource(module, info)));
}

void TCustomForm::Close() {
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application().MainForm() == this) {
        Application().Terminate();
        Hide();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: if (HandleAllocated()) ShowWindow(WindowHandle(), SW_MINIMIZE); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() {
    // The application's window frees it later: this form's own code may still be on the stack now.
    PostMessageW(Application().Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyRaised) return;
    FDestroyRaised = true;
    Destroying();
    DoDestroy();
    DestroyComponents();
}

void TCustomForm::Free(TCustomForm* form) {
    if (!form) return;
    try {
        form->BeforeDestruction();
    } catch (...) {
        delete form;
        throw;
    }
    delete form;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == FBorderStyle) return;
    TSize client = ClientRect().Size();
    FBorderStyle = style;
    RecreateWnd();
    SetClientSize(client);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == FBorderIcons) return;
    FBorderIcons = icons;
    RecreateWnd();
}

void TCustomForm::SetClientSize(TSize size) {
    TSize frame{Width() - ClientWidth(), Height() - ClientHeight()};
    SetBounds(Left(), Top(), size.Width + frame.Width, size.Height + frame.Height);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == FMenu) return;
    if (FMenu) RemoveFreeNotification(FMenu);
    FMenu = menu;
    if (FMenu) FreeNotification(FMenu);
    if (HandleAllocated()) PutMenuBar(FMenu ? FMenu->Handle() : nullptr);
    MenuChanged();
}

void TCustomForm::PutMenuBar(HMENU menu) {
    // The bar takes its room from the frame, as the stored client size expects, not from the client.
    const TSize client{ClientWidth(), ClientHeight()};
    ::SetMenu(WindowHandle(), menu);
    if (TSize{ClientWidth(), ClientHeight()} != client) SetClientSize(client);
}

void TCustomForm::MenuChanged() {
    HMENU menu = FMenu ? FMenu->Handle() : nullptr;
    // A skinned frame may have taken the bar off the window: only a bar the window shows is redrawn.
    if (HandleAllocated() && ::GetMenu(WindowHandle()) == menu && menu) DrawMenuBar(WindowHandle());
    Perform(CM_MENUCHANGED, 0, reinterpret_cast<LPARAM>(menu));
}

void TCustomForm::Notification(TComponent* component) {
    TWinControl::Notification(component);
    if (component == FMenu) {
        FMenu = nullptr;
        if (HandleAllocated() && !IsDestroying()) {
            PutMenuBar(nullptr);
            Perform(CM_MENUCHANGED, 0, 0);
        }
    }
}

bool TCustomForm::IsShortCut(WPARAM key) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    const TShortCut shortCut = ShortCutFromKey(key);
    for (TControl* control = FindControl(GetFocus()); control; control = control->Parent())
        if (control->PopupMenu() && control->PopupMenu()->IsShortCut(shortCut)) return true;
    return FMenu && FMenu->IsShortCut(shortCut);
}

bool TCustomForm::MenuMessage(TMessage& message) {
    if (!FMenu) return false;
    switch (message.Msg) {
    case WM_COMMAND:
        // From the menu bar: no control, notification 0.
        return message.LParam == 0 && HIWORD(message.WParam) == 0 && FMenu->DispatchCommand(LOWORD(message.WParam));
    case WM_MEASUREITEM:
        if (!FMenu->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) return false;
        message.Result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (!FMenu->DispatchDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) return false;
        message.Result = TRUE;
        return true;
    case WM_MENUCHAR:
        message.Result = MenuCharResult(FMenu->Items()->FindByHandle(reinterpret_cast<HMENU>(message.LParam)),
                                        LOWORD(message.WParam));
        return message.Result != 0;
    default:
        return false;
    }
}

bool TCustomForm::Active() const { return HandleAllocated() && GetActiveWindow() == WindowHandle(); }

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN;
    params.ExStyle = 0;
    params.WndParent = nullptr;
    switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; params.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: params.Style |= WS_CAPTION; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (FBorderStyle != bsNone && (FBorderIcons & (1u << biSystemMenu))) {
        params.Style |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons & (1u << biMinimize)) params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons & (1u << biMaximize)) params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (!Enabled()) params.Style |= WS_DISABLED;
}

void TCustomForm::CreateWnd() {
    PlaceOnScreen();
    TWinControl::CreateWnd();
    if (FMenu) PutMenuBar(FMenu->Handle());
}

void TCustomForm::PlaceOnScreen() {
    if (FPosition != poScreenCenter && FPosition != poDesktopCenter && FPosition != poMainFormCenter) return;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (FPosition == poScreenCenter) SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - Width()) / 2;
    int top = work.top + (work.bottom - work.top - Height()) / 2;
    SetBounds(left < work.left ? static_cast<int>(work.left) : left, top < work.top ? static_cast<int>(work.top) : top,
              Width(), Height());
}

void TCustomForm::WndProc(TMessage& message) {
    if (MenuMessage(message)) return;
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        message.Result = 0;
        return;
    case CM_VISIBLECHANGED:
        if (Visible()) {
            ShowWindow(Handle(), SW_SHOWNORMAL);
            SetForegroundWindow(WindowHandle());
            DoShow();
        } else if (HandleAllocated()) {
            ShowWindow(WindowHandle(), SW_HIDE);
        }
        return;
    case WM_COMMAND:
        // Enter and Esc as the dialog manager hands them over (IsDialogMessage): IDOK or IDCANCEL naming
        // no window, since the form keeps no controls with those ids. The buttons decide who takes them.
        if (message.LParam == 0 && HIWORD(message.WParam) == BN_CLICKED &&
            (LOWORD(message.WParam) == IDOK || LOWORD(message.WParam) == IDCANCEL)) {
            OfferDialogKey(LOWORD(message.WParam) == IDOK ? VK_RETURN : VK_ESCAPE);
            message.Result = 0;
            return;
        }
        break;
    case WM_ACTIVATE:
        TWinControl::WndProc(message);
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            if (OnDeactivate) OnDeactivate(this);
        } else if (OnActivate) {
            OnActivate(this);
        }
        return;
    }
    TWinControl::WndProc(message);
}

bool TCustomForm::OfferDialogKey(WPARAM key) {
    std::vector<TWinControl*> controls;
    GetTabOrderList(controls);
    for (TWinControl* control : controls)
        if (control->Perform(CM_DIALOGKEY, key, 0) != 0) return true;
    return false;
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}
