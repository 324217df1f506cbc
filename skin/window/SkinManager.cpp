#include "skin/window/SkinManager.h"

#include "base/StrUtils.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/SkinPopupMenu.h"
#include "skin/window/WinSkinForm.h"
#include "ui/CustomForm.h"
#include "ui/Messages.h"
#include "ui/Screen.h"
#include "ui/Timer.h"

#include <algorithm>
#include <cwctype>

TSkinManage* SkinManager = nullptr;

TSkinManage& CreateSkinManager() {
    if (!SkinManager) SkinManager = new TSkinManage;
    return *SkinManager;
}

void FreeSkinManager() { delete SkinManager; }

namespace {

// Skin components find the manager through their link; linking this module in is what gives them one.
const bool LinkInstalled = [] {
    SetSkinManagerFactory({[]() -> TSkinManagerLink* { return SkinManager; },
                           []() -> TSkinManagerLink* { return &CreateSkinManager(); }});
    return true;
}();

constexpr unsigned RequestDelay = 250;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool AnswersSkinned(HWND Window) { return SendMessageW(Window, WM_SKINQUERY, 0, 0) == 1; }

// A child window of an MDI client that is not an MDI child (a control placed on the client).
bool IsMdiClientChild(HWND Window) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE));
    if (!(style & WS_CHILD) || (exStyle & WS_EX_MDICHILD)) return false;
    HWND parent = GetParent(Window);
    return parent && Lower(WindowClassName(parent)) == L"mdiclient";
}

void Repaint(HWND Window) {
    InvalidateRect(Window, nullptr, TRUE);
    UpdateWindow(Window);
}

}  // namespace

std::wstring WindowClassName(HWND Window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(Window, name, 256);
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

TControl* FindFormForWindow(HWND Window) {
    if (!Window) return nullptr;
    for (TCustomForm* form : Screen().FormList())
        if (form->HandleAllocated() && form->WindowHandle() == Window) return form;
    return static_cast<TControl*>(GetPropW(Window, TWinControl::ControlAtomName().c_str()));
}

TSkinManage::TSkinManage()
    : FControlAtom(GlobalAddAtomW(TWinControl::ControlAtomName().c_str())),
      FTimer(std::make_unique<TTimer>(nullptr)) {
    ControlMessage = TWinControl::ControlMessage();
    FTimer->SetEnabled(false);
    FTimer->SetInterval(DefaultInterval);
    FTimer->OnTimer = [this](TObject*) { ApplyChange(); };
    PopupMenuSkinner = [](HWND Window, TSkinData& Skin) -> std::unique_ptr<TPopupMenuSkinner> {
        return std::make_unique<TWinSkinPopMenu>(Window, Skin);
    };
}

TSkinManage::~TSkinManage() {
    if (SkinManager == this) SkinManager = nullptr;
    State = smDestroying;
    Active = false;
    FTimer.reset();
    // Whatever is still skinned is let go as if its window were being destroyed: procedures given back,
    // the window left at its size.
    while (!FForms.empty()) {
        TWinSkinForm* form = FForms.back();
        FForms.pop_back();
        FreeSkinner(form);
    }
    FOwnedForms.clear();
    FPopups.clear();  // their windows go with the process
    FSkinList.clear();
    FHook.reset();
}

// ---- Skin components ----

void TSkinManage::RegisterSkinData(TSkinData* Skin) {
    if (!Skin || std::find(FSkinList.begin(), FSkinList.end(), Skin) != FSkinList.end()) return;
    FSkinList.push_back(Skin);
    if (!FDefaultSkin && Skin->SkinFormtype() == sfMainform) FDefaultSkin = Skin;
}

void TSkinManage::UnregisterSkinData(TSkinData* Skin) {
    std::erase(FSkinList, Skin);
    // No pointer to a component that is gone may stay behind, and no window may keep painting with it.
    if (FDefaultSkin == Skin) FDefaultSkin = nullptr;
    if (Requester == Skin) {
        Requester = nullptr;
        FTimer->SetEnabled(false);
    }
    UnskinAll(Skin);
}

void TSkinManage::UnskinAll(TSkinData* Skin) {
    for (size_t i = FForms.size(); i-- > 0;)
        if (i < FForms.size() && FForms[i]->Skin() == Skin) Unskin(FForms[i]);
}

void TSkinManage::SkinLoading(TSkinData* Skin) {
    for (TWinSkinForm* form : FForms)
        if (form->Skin() == Skin) form->DropSkinElements();
}

void TSkinManage::SkinUnusable(TSkinData* Skin) { UnskinAll(Skin); }

void TSkinManage::InstallHook() {
    if (FHook) return;
    FHook.reset(SetWindowsHookExW(WH_CBT, CBTProc, nullptr, GetCurrentThreadId()));
}

void TSkinManage::StartFormSkin(TSkinData* Skin) {
    Active = true;
    ++State;
    auto* form = dynamic_cast<TCustomForm*>(Skin->Owner());
    if (form && Skin->Active() && form->HandleAllocated()) SkinWindow(form->WindowHandle());
}

void TSkinManage::SkinOwnerForm(TSkinData* Skin) {
    auto* form = dynamic_cast<TCustomForm*>(Skin->Owner());
    if (!form) return;
    if (form->HandleAllocated()) {
        HWND wnd = form->WindowHandle();
        if (!IsWindowVisible(wnd) && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) SkinWindow(wnd, true);
        return;
    }
    // The window is not made yet (the form is still being read): it is skinned as the form is first
    // shown, after its window is made and before it appears.
    auto armed = std::make_shared<bool>(true);
    form->WindowProc = [form, armed, next = form->WindowProc](TMessage& message) {
        // Only locals after SkinWindow: attaching replaces the form's WindowProc, and with it this.
        TWndMethod pass = next;
        if (*armed && message.Msg == CM_VISIBLECHANGED && form->Visible()) {
            *armed = false;
            if (SkinManager && SkinManager->Active) SkinManager->SkinWindow(form->Handle(), true);
        }
        pass(message);
    };
}

void TSkinManage::SkinReplaced(TSkinData* Skin) {
    Requester = Skin;
    if (State == smRunning) RequestChange(scRefresh, RequestDelay);
}

void TSkinManage::RequestChange(TSkinChange Kind, unsigned Delay) {
    FPendingChange = Kind;
    FTimer->SetInterval(Delay);
    if (State != smWaiting) {
        FTimer->SetEnabled(true);
        return;
    }
    // No window activated yet: there is nothing to skin or unskin, only the flag to set.
    if (Kind == scActivate) Active = true;
    if (Kind == scDeactivate) Active = false;
}

bool TSkinManage::ChangeScheduled() const { return FTimer->Enabled(); }

void TSkinManage::SkinFormWindow(TControl& Form) {
    auto* form = dynamic_cast<TWinControl*>(&Form);
    if (!form || !form->HandleAllocated()) return;
    HWND wnd = form->WindowHandle();
    if (IsWindowVisible(wnd) && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) SkinWindow(wnd);
}

void TSkinManage::Unskin(TWinSkinForm* Form) {
    HWND wnd = Form->Handle();
    Form->RestoreWindow();
    if (IsWindow(wnd)) Repaint(wnd);
    RemoveSkinForm(Form);
    FreeSkinner(Form);
}

void TSkinManage::FreeSkinner(TWinSkinForm* Form) {
    if (Form->Owner()) {
        delete Form;
        return;
    }
    auto it = std::find_if(FOwnedForms.begin(), FOwnedForms.end(), [Form](const auto& owned) { return owned.get() == Form; });
    if (it == FOwnedForms.end()) return;
    const std::unique_ptr<TWinSkinForm> owned = std::move(*it);
    FOwnedForms.erase(it);
}

void TSkinManage::ApplyChange() {
    FTimer->SetEnabled(false);
    TSkinData* requester = Requester;
    if (!requester) return;
    const auto usesRequester = [requester](TWinSkinForm* form) { return form->Skin() == requester; };
    if (requester->SkinFormtype() == sfOnlyThisForm) {
        auto* owner = dynamic_cast<TControl*>(requester->Owner());
        switch (FPendingChange) {
        case scActivate:
            Active = Bulk = true;
            if (owner) SkinFormWindow(*owner);
            Bulk = false;
            break;
        case scDeactivate:
            Active = false;
            PurgeForms();
            for (size_t i = FForms.size(); i-- > 0;)
                if (usesRequester(FForms[i])) {
                    Unskin(FForms[i]);
                    break;
                }
            break;
        case scRefresh: {
            PurgeForms();
            auto it = std::find_if(FForms.begin(), FForms.end(), usesRequester);
            if (it != FForms.end()) (*it)->RefreshSkin();
            break;
        }
        default:
            break;
        }
    } else {
        switch (FPendingChange) {
        case scActivate: {
            Active = Bulk = true;
            PurgeForms();
            const std::vector<TCustomForm*> forms = Screen().FormList();
            for (size_t i = forms.size(); i-- > 0;) SkinFormWindow(*forms[i]);
            Bulk = false;
            break;
        }
        case scDeactivate:
            Active = false;
            PurgeForms();
            while (!FForms.empty()) Unskin(FForms.front());
            break;
        case scRefresh: {
            PurgeForms();
            const std::vector<TWinSkinForm*> forms = FForms;
            for (TWinSkinForm* form : forms)
                if (usesRequester(form)) form->RefreshSkin();
            for (TWinSkinForm* form : forms)
                if (usesRequester(form)) Repaint(form->Handle());
            break;
        }
        default:
            break;
        }
    }
    requester->DoSkinChanged();
    Requester = nullptr;
}

// ---- Windows ----

void TSkinManage::PurgeForms() {
    // Freeing a skinner runs the hook, which purges: that inner purge has nothing to do.
    if (State == smDestroying || FPurging) return;
    // A skinner whose window was destroyed is finished; skinners remove themselves from the list when
    // they are freed, so the list holds no freed ones to test for.
    std::vector<TWinSkinForm*> finished;
    std::erase_if(FForms, [&finished](TWinSkinForm* form) {
        if (form->State() != ssFinished) return false;
        finished.push_back(form);
        return true;
    });
    FPurging = true;
    for (TWinSkinForm* form : finished) FreeSkinner(form);
    FPurging = false;
}

void TSkinManage::RemoveSkinForm(TWinSkinForm* Form) {
    if (State == smDestroying) return;
    auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it != FForms.end()) FForms.erase(it);
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND Window) const {
    // A finished skinner's window is gone: its handle may already name a new window.
    auto it = std::find_if(FForms.begin(), FForms.end(),
                           [Window](TWinSkinForm* f) { return f->Handle() == Window && f->State() != ssFinished; });
    return it == FForms.end() ? nullptr : *it;
}

bool TSkinManage::AllowWindow(HWND Window, const std::wstring& ClassName) const {
    bool allow = true;
    if (!FDefaultSkin) return allow;
    if (!FDefaultSkin->HasOption(xoPreview) && Lower(ClassName).find(L"preview") != std::wstring::npos) allow = false;
    FDefaultSkin->CheckFormSkin(Window, ClassName, allow);
    return allow;
}

TSkinData* TSkinManage::ChooseSkinData(HWND Window) const {
    TSkinData* chosen = nullptr;
    for (TSkinData* skin : FSkinList) {
        auto* owner = dynamic_cast<TWinControl*>(skin->Owner());
        if (skin->SkinFormtype() == sfOnlyThisForm && owner && owner->HandleAllocated() &&
            owner->WindowHandle() == Window)
            chosen = skin;
    }
    if (chosen) return chosen;
    const std::wstring name = Lower(WindowClassName(Window));
    if (name == L"tmessageform" || name == L"#32770")
        for (TSkinData* skin : FSkinList)
            if (skin->SkinFormtype() == sfDialog) chosen = skin;
    if (chosen) return chosen;
    for (TSkinData* skin : FSkinList)
        if (skin->SkinFormtype() == sfMainform) chosen = skin;
    if (chosen) return chosen;
    return FSkinList.empty() ? nullptr : FSkinList.front();
}

bool TSkinManage::SkinWindow(HWND Window, bool StartNow, const CREATESTRUCTW* Creating) {
    if (!Active || !IsWindow(Window)) return false;
    PurgeForms();
    // A window being made cannot have been skinned yet, and cannot be asked anything before it is made.
    if ((!Creating && AnswersSkinned(Window)) || FindSkinForm(Window)) return false;
    TControl* control = FindFormForWindow(Window);
    auto* form = dynamic_cast<TCustomForm*>(control);
    if (!Bulk && IsMdiClientChild(Window)) return false;
    const std::wstring className = WindowClassName(Window);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Window, GWLP_HINSTANCE));
    if (!form && instance != GetModuleHandleW(nullptr) && className != L"#32770") return false;

    // A window being made has no rectangle yet: the size it is being made with counts.
    RECT r{};
    GetWindowRect(Window, &r);
    const bool empty = Creating ? Creating->cx == 0 || Creating->cy == 0 : r.right == r.left || r.bottom == r.top;
    const bool mdiChild = (GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if (empty && !mdiChild) return false;
    if (form && form->Tag() == 99) return false;
    if (className.find(L"TcxPopupEditPopupWindow") != std::wstring::npos || className == L"TApplication") return false;
    if (!AllowWindow(Window, className)) return false;

    TSkinData* skin = ChooseSkinData(Window);
    if (!skin || skin->SkinPending) return false;

    TWinSkinForm* skinner = nullptr;
    if (form) {
        skinner = new TWinSkinForm(form);
        skinner->AttachToForm(*skin, *form);
    } else {
        FOwnedForms.push_back(std::make_unique<TWinSkinForm>(nullptr));
        skinner = FOwnedForms.back().get();
        skinner->AttachToWindow(*skin, Window);
    }
    FForms.push_back(skinner);
    if (StartNow)
        SendMessageW(Window, WM_SKINSTART, 0, SkinStartParam);
    else
        PostMessageW(Window, WM_SKINSTART, 0, SkinStartParam);
    return true;
}

void TSkinManage::SetMdiMaximized(bool Value) {
    if (Value == FMdiMaximized) return;
    FMdiMaximized = Value;
    for (TWinSkinForm* form : FForms) {
        if (form->WindowKind() != wkMdiChild || !form->Skin() || form->Skin()->HasOption(xoMDIChildBorder)) continue;
        if (Value) {
            form->RemoveRegion(true);
            form->SetCaptionStyle(true);
        } else if (form->ShowState() == ssMinimized) {
            form->SetCaptionStyle(true);
        } else {
            form->UpdateRegion();
            form->SetCaptionStyle(false);
            if (!form->HasRegion())
                SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
}

// ---- Popup menus ----

bool TSkinManage::SkinPopupMenu(HWND Window) {
    if (!Active || AnswersSkinned(Window)) return false;
    if (std::any_of(FPopups.begin(), FPopups.end(), [Window](const auto& p) { return p->Handle() == Window; }))
        return false;
    TSkinData* skin = ChooseSkinData(Window);
    if (!skin || skin->SkinPending) return false;
    const bool wanted = MenuKind == mkContext   ? skin->HasControl(xcPopupMenu)
                        : MenuKind == mkMenuBar ? skin->HasControl(xcMainMenu) || skin->HasControl(xcMenuItem)
                                                : skin->HasControl(xcSystemMenu);
    if (!wanted || !PopupMenuSkinner) return false;
    std::unique_ptr<TPopupMenuSkinner> popup = PopupMenuSkinner(Window, *skin);
    if (!popup) return false;
    FPopups.push_back(std::move(popup));
    return true;
}

bool TSkinManage::ReleasePopupMenu(HWND Window) {
    auto it = std::find_if(FPopups.begin(), FPopups.end(), [Window](const auto& p) { return p->Handle() == Window; });
    if (it == FPopups.end()) return false;
    (*it)->Restore();
    FPopups.erase(it);
    if (FPopups.empty()) MenuKind = mkContext;
    return true;
}

// ---- The hook ----

void TSkinManage::WindowCreated(HWND Window, const CREATESTRUCTW& Create) {
    const std::wstring className =
        IS_INTRESOURCE(Create.lpszClass) ? WindowClassName(Window) : std::wstring(Create.lpszClass);
    if (!(Create.style & WS_CHILD) && className == L"#32768") SkinPopupMenu(Window);
    // MDI children, and dialogs such as message boxes, are skinned as they are made: they then appear
    // in the skin rather than changing frame once shown.
    if ((Create.dwExStyle & WS_EX_MDICHILD) || (!(Create.style & WS_CHILD) && className == L"#32770"))
        SkinWindow(Window, false, &Create);
}

LRESULT CALLBACK TSkinManage::CBTProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = SkinManager;
    HHOOK hook = manager ? manager->FHook.get() : nullptr;
    if (code >= 0 && manager && manager->State != smDestroying) {
        const auto wnd = reinterpret_cast<HWND>(wParam);
        // Nothing may escape into the system's hook chain; a window that cannot be skinned stays as it is.
        try {
            manager->PurgeForms();
            switch (code) {
            case HCBT_CREATEWND:
                manager->WindowCreated(wnd, *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
                break;
            case HCBT_DESTROYWND:
                manager->ReleasePopupMenu(wnd);
                break;
            case HCBT_ACTIVATE:
                if (manager->State == smWaiting) manager->State = smRunning;
                manager->SkinWindow(wnd);
                break;
            default:
                break;
            }
        } catch (...) {
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}
