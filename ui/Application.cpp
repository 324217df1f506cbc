#include "ui/Application.h"

#include "base/StrUtils.h"
#include "ui/CustomForm.h"
#include "ui/Dialogs.h"
#include "ui/Errors.h"
#include "ui/Properties.h"
#include "ui/Screen.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

const TClassInfo TApplication::MetaClass("TApplication", &TComponent::MetaClass, nullptr, {});

namespace {

LRESULT CALLBACK ApplicationWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CM_RELEASE) {
        // A form asked to be freed (TCustomForm::Release); it may have gone another way meanwhile, or be
        // on its way already (whoever is destroying it frees it).
        auto* form = reinterpret_cast<TCustomForm*>(lParam);
        const auto& forms = Screen().FormList();
        if (std::find(forms.begin(), forms.end(), form) != forms.end() && !form->IsDestroying()) {
            try {
                TCustomForm::Free(form);
            } catch (...) {
                Application().HandleException(std::current_exception());
            }
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Tab or Shift+Tab meant for moving between controls: not with Ctrl or Alt, and not for a control that
// takes the Tab key itself (a multi-line edit that wants tabs).
bool IsTabKey(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if ((GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return false;
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    return !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS));
}

// Ctrl+Tab or Ctrl+Shift+Tab: offered to the form's controls first (a page control turns its pages with
// it), where the dialog manager would take it for a plain Tab.
bool IsCtrlTabKey(const MSG& msg) {
    return msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
           !(GetKeyState(VK_MENU) & 0x8000);
}

}  // namespace

TApplication& Application() {
    static TApplication application(nullptr);
    return application;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    Screen();  // made first, so that it outlives the forms the application frees
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
    wc.lpszClassName = L"TApplication";
    RegisterClassExW(&wc);
    FHandle.reset(CreateWindowExW(0, L"TApplication", L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                  WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));
    if (wc.hIcon) {
        SendMessageW(FHandle.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(wc.hIcon));
        SendMessageW(FHandle.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(wc.hIcon));
    }
}

TApplication::~TApplication() {
    Destroying();
    FreeComponents();
}

void TApplication::FreeComponents() {
    while (ComponentCount() > 0) {
        TComponent* last = Components(ComponentCount() - 1);
        if (auto* form = dynamic_cast<TCustomForm*>(last)) {
            if (form == FMainForm) FMainForm = nullptr;
            try {
                TCustomForm::Free(form);
            } catch (...) {
                // Going away regardless.
            }
        } else {
            delete last;
        }
    }
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (SUCCEEDED(OleInitialize(nullptr))) ++FOleInitialized;
}

void TApplication::Finalize() {
    FHandle.reset();
    for (; FOleInitialized > 0; --FOleInitialized) OleUninitialize();
}

std::wstring TApplication::Title() const {
    int length = GetWindowTextLengthW(FHandle.get());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(FHandle.get(), text.data(), length + 1)));
    return text;
}

void TApplication::SetTitle(const std::wstring& title) { SetWindowTextW(FHandle.get(), title.c_str()); }

void TApplication::Run() {
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) HandleMessage();
    // Terminate's quit message has done its work; it must not end a later message loop.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg)) break;
}

void TApplication::HandleMessage() {
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) RaiseLastOSError("GetMessage");
    if (got == 0) {
        FTerminated = true;
        return;
    }
    ProcessMessage(msg);
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            if (OnException) {
                OnException(this, e);
            } else {
                ShowMessageBox(Utf8ToWide(e.what()), Title(), MB_OK | MB_ICONSTOP);
            }
        } catch (...) {
            std::runtime_error unknown("Unknown exception");
            if (OnException)
                OnException(this, unknown);
            else
                ShowMessageBox(L"Unknown exception", Title(), MB_OK | MB_ICONSTOP);
        }
    } catch (...) {
        // The report itself failed; there is nothing left to tell it to.
    }
}

void TApplication::Terminate() {
    if (!FTerminated) PostQuitMessage(0);
    FTerminated = true;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return false;
    }
    TWinControl* root = msg.hwnd ? TWinControl::FindControl(GetAncestor(msg.hwnd, GA_ROOT)) : nullptr;
    auto* form = dynamic_cast<TCustomForm*>(root);
    if (form) {
        if (msg.message == WM_SYSCHAR && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->IsShortCut(msg.wParam)) return true;
        if (IsCtrlTabKey(msg) && form->OfferDialogKey(VK_TAB)) return true;
        if (IsTabKey(msg) && form->SelectNext(msg.hwnd, !(GetKeyState(VK_SHIFT) & 0x8000))) return true;
        if (IsDialogMessageW(form->WindowHandle(), &msg)) return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}
