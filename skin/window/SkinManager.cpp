#include "skin/window/SkinManager.h"

#include "skin/data/SkinData.h"
#include "ui/Timer.h"

#include <algorithm>

TSkinManage* SkinManager = nullptr;

TSkinManage& CreateSkinManager() {
    if (!SkinManager) SkinManager = new TSkinManage;
    return *SkinManager;
}

namespace {
// Skin components find the manager through their link; linking this module in is what gives them one.
const bool LinkInstalled = [] {
    SetSkinManagerFactory({[]() -> TSkinManagerLink* { return SkinManager; },
                           []() -> TSkinManagerLink* { return &CreateSkinManager(); }});
    return true;
}();
}  // namespace

void FreeSkinManager() { delete SkinManager; }

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(DefaultInterval);
    FTimer->OnTimer = [this](TObject*) { ApplyChange(); };
}

TSkinManage::~TSkinManage() {
    if (SkinManager == this) SkinManager = nullptr;
    State = smDestroying;
    Active = false;
    FTimer.reset();
    FHook.reset();
}

void TSkinManage::RegisterSkinData(TSkinData* Skin) {
    if (!Skin || std::find(FSkinList.begin(), FSkinList.end(), Skin) != FSkinList.end()) return;
    FSkinList.push_back(Skin);
    if (!FDefaultSkin && Skin->SkinFormtype() == sfMainform) FDefaultSkin = Skin;
}

void TSkinManage::UnregisterSkinData(TSkinData* Skin) {
    std::erase(FSkinList, Skin);
    // No pointer to a component that is gone may stay behind.
    if (FDefaultSkin == Skin) FDefaultSkin = nullptr;
    if (Requester == Skin) {
        Requester = nullptr;
        FTimer->SetEnabled(false);
    }
}

void TSkinManage::InstallHook() {
    if (FHook) return;
    FHook.reset(SetWindowsHookExW(WH_CBT, CBTProc, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TSkinManage::CBTProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = SkinManager ? SkinManager->FHook.get() : nullptr;
    // The first activated window starts the manager: from then on requests wait for their timer.
    if (code == HCBT_ACTIVATE && SkinManager && SkinManager->State == smWaiting) SkinManager->State = smRunning;
    return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::RequestChange(TSkinChange Kind, unsigned Delay) {
    FPendingChange = Kind;
    FTimer->SetInterval(Delay);
    if (State != smWaiting) {
        FTimer->SetEnabled(true);
        return;
    }
    if (Kind == scActivate) Active = true;
    if (Kind == scDeactivate) Active = false;
}

void TSkinManage::StartFormSkin(TSkinData*) {
    Active = true;
    ++State;
}

void TSkinManage::SkinReplaced(TSkinData* Skin) {
    Requester = Skin;
    if (State == smRunning) RequestChange(scRefresh, 250);
}

bool TSkinManage::ChangeScheduled() const { return FTimer->Enabled(); }

void TSkinManage::ApplyChange() {
    FTimer->SetEnabled(false);
    TSkinData* requester = Requester;
    if (!requester) return;
    switch (FPendingChange) {
    case scActivate:
        Active = true;
        break;
    case scDeactivate:
        Active = false;
        break;
    default:
        break;
    }
    requester->DoSkinChanged();
    Requester = nullptr;
}
