#pragma once
// TSkinManage: the one skin manager of the process (SkinManager). Skin components register with it and
// ask it, after a short delay, to switch skinning on, off, or to refresh it after a skin change; it
// watches window activation on the GUI thread through a CBT hook. This is the part the skin component
// relies on: registration, the default component, the delayed requests with their state rules and
// the active flag. Attaching window and popup menu skinners is built on top of it.
#include "skin/data/SkinManagerLink.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Handles.h"

#include <memory>
#include <vector>

class TSkinData;
class TTimer;

class TSkinManage final : public TSkinManagerLink {
public:
    static constexpr unsigned DefaultInterval = 100;

    TSkinManage();
    // Clears SkinManager when it is this one, so that skin components freed later ask no manager.
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Appends Skin; the first one registered with SkinFormtype sfMainform becomes the default.
    void RegisterSkinData(TSkinData* Skin) override;
    void UnregisterSkinData(TSkinData* Skin) override;
    const std::vector<TSkinData*>& SkinList() const { return FSkinList; }
    TSkinData* DefaultSkin() const { return FDefaultSkin; }

    // Watches the windows of the calling thread (once; later calls change nothing).
    void InstallHook() override;
    bool HookInstalled() const { return static_cast<bool>(FHook); }

    // Carries out Kind after Delay milliseconds. Before any window has been activated there is nothing
    // to skin yet: activation and deactivation then only switch the active flag, at once.
    void RequestChange(TSkinChange Kind, unsigned Delay) override;
    void SetRequester(TSkinData* Skin) override { Requester = Skin; }
    void MarkRunning() override { State = smRunning; }
    void StartFormSkin(TSkinData* Skin) override;
    void SkinReplaced(TSkinData* Skin) override;
    TSkinChange PendingChange() const { return FPendingChange; }
    bool ChangeScheduled() const;
    // The timer's work, also callable directly: carries out the pending change and tells the
    // requesting component (OnSkinChanged), which is then forgotten.
    void ApplyChange();

    bool Active = false;
    int State = smWaiting;
    TSkinData* Requester = nullptr;  // the component whose request is pending

private:
    static LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TTimer> FTimer;
    UniqueHook FHook;
    std::vector<TSkinData*> FSkinList;
    TSkinData* FDefaultSkin = nullptr;
    TSkinChange FPendingChange = scNone;
    TSkinDrawUse FDrawUse;
};

// The process's manager, or null before the first skin component finished loading and once it has been
// freed. It owns the manager: no static destructor frees it, since that would run in an order of its
// own against the forms and their skin components.
extern TSkinManage* SkinManager;
// Makes the manager when there is none; returns it.
TSkinManage& CreateSkinManager();
// Frees the manager with its hook and timer (when the program ends, after its forms, or between tests).
void FreeSkinManager();
