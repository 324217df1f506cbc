#pragma once
// What a skin component asks of the process's skin manager, and nothing more. The manager lives in the
// window-skinning module (skin/window) and implements this; the component reaches it only through here,
// so the skin model stands without the window layer (a program that links no manager runs unskinned).
class TSkinData;

enum TSkinChange { scNone = 0, scActivate = 1, scDeactivate = 2, scRefresh = 3 };

// The manager's state: no window has been activated yet, skinning runs, or the manager is going.
enum TSkinManagerState { smWaiting = 0, smRunning = 1, smDestroying = 4 };

class TSkinManagerLink {
public:
    // Appends Skin; the first one registered with SkinFormtype sfMainform becomes the default.
    virtual void RegisterSkinData(TSkinData* Skin) = 0;
    virtual void UnregisterSkinData(TSkinData* Skin) = 0;
    // Watches the windows of the calling thread (once).
    virtual void InstallHook() = 0;
    // The component whose change is asked for next (told OnSkinChanged when it has been carried out).
    virtual void SetRequester(TSkinData* Skin) = 0;
    // Carries out Kind after Delay milliseconds (before any window was activated: only the active flag,
    // at once).
    virtual void RequestChange(TSkinChange Kind, unsigned Delay) = 0;
    // Skinning runs from now on: later requests wait for their delay.
    virtual void MarkRunning() = 0;
    // A component of a form type other than the main form's started: skinning is on for it, and its
    // owner form is skinned at once when the component is active.
    virtual void StartFormSkin(TSkinData* Skin) = 0;
    // Skin's owner form, not yet shown, is skinned now, so that it appears in its skin from the start.
    virtual void SkinOwnerForm(TSkinData* Skin) = 0;
    // Skin is about to replace its elements: no window may keep pointing into them.
    virtual void SkinLoading(TSkinData* Skin) = 0;
    // Skin could not load (malformed data): the windows it skins give their frames back.
    virtual void SkinUnusable(TSkinData* Skin) = 0;
    // Skin has loaded a new skin: the windows it skins drop their caption buttons and, while skinning
    // runs, are refreshed after a short delay.
    virtual void SkinReplaced(TSkinData* Skin) = 0;

protected:
    ~TSkinManagerLink() = default;
};

// The process's manager, or null when there is none (yet, or any more).
TSkinManagerLink* SkinManagerLink();
// The manager, made through the factory the window-skinning module installed; null when no such
// module is linked in.
TSkinManagerLink* NeedSkinManager();

// Set by the window-skinning module: Find answers SkinManagerLink, Make creates the manager.
struct TSkinManagerFactory {
    TSkinManagerLink* (*Find)() = nullptr;
    TSkinManagerLink* (*Make)() = nullptr;
};
void SetSkinManagerFactory(const TSkinManagerFactory& Factory);
