#pragma once
// TSkinManage: the one skin manager of the process (SkinManager). It decides which windows of the
// process are skinned and keeps the objects that skin them. A CBT hook on the GUI thread shows it every
// window created, activated and destroyed there: each eligible top-level window or MDI child gets a
// window skinner (TWinSkinForm), each eligible popup menu window a popup menu skinner. Skin components
// register with it and ask it, after a short delay, to switch skinning on, off, or to refresh it after
// a skin change.
#include "skin/data/SkinManagerLink.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TSkinData;
class TTimer;
class TWinSkinForm;

// The kind of the next popup menu window, which decides the skin control bit it needs.
enum TMenuKind { mkContext = 0, mkMenuBar = 1, mkSystem = 2 };

// What skins one popup menu window.
class TPopupMenuSkinner {
public:
    virtual ~TPopupMenuSkinner() = default;
    virtual HWND Handle() const = 0;
    // Gives the window its own procedure back.
    virtual void Restore() = 0;
};
using TPopupMenuSkinnerFactory = std::function<std::unique_ptr<TPopupMenuSkinner>(HWND Window, TSkinData& Skin)>;

class TSkinManage final : public TSkinManagerLink {
public:
    static constexpr unsigned DefaultInterval = 100;

    TSkinManage();
    // Frees what is left (skinners detached, popup skinners dropped, hook removed) and clears SkinManager
    // when it is this one, so that skin components freed later ask no manager.
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // ---- Skin components ----
    void RegisterSkinData(TSkinData* Skin) override;
    void UnregisterSkinData(TSkinData* Skin) override;
    const std::vector<TSkinData*>& SkinList() const { return FSkinList; }
    TSkinData* DefaultSkin() const { return FDefaultSkin; }

    void InstallHook() override;
    bool HookInstalled() const { return static_cast<bool>(FHook); }

    void RequestChange(TSkinChange Kind, unsigned Delay) override;
    void SetRequester(TSkinData* Skin) override { Requester = Skin; }
    void MarkRunning() override { State = smRunning; }
    void StartFormSkin(TSkinData* Skin) override;
    void SkinReplaced(TSkinData* Skin) override;
    void SkinOwnerForm(TSkinData* Skin) override;
    void SkinLoading(TSkinData* Skin) override;
    void SkinUnusable(TSkinData* Skin) override;
    TSkinChange PendingChange() const { return FPendingChange; }
    bool ChangeScheduled() const;
    // The timer's work, also callable directly: carries out the pending change and tells the
    // requesting component (OnSkinChanged), which is then forgotten.
    void ApplyChange();

    // ---- Windows ----
    // Attaches a window skinner when the window qualifies; true when one was attached. The first
    // skinning follows through the window's queue (or as the window is first shown, if sooner), or at
    // once when StartNow (a window not yet shown). Creating: the window is being made (from the hook).
    bool SkinWindow(HWND Window, bool StartNow = false, const CREATESTRUCTW* Creating = nullptr);
    // The skinner of a window, or null.
    TWinSkinForm* FindSkinForm(HWND Window) const;
    const std::vector<TWinSkinForm*>& Forms() const { return FForms; }
    // Drops skinners whose windows are gone.
    void PurgeForms();
    // Called by a skinner as it goes.
    void RemoveSkinForm(TWinSkinForm* Form);
    // Whether a window of this class may be skinned (the default component's filter).
    bool AllowWindow(HWND Window, const std::wstring& ClassName) const;
    // The component that skins a window: its own form's, then the dialogs', then the main form's, then
    // the first registered.
    TSkinData* ChooseSkinData(HWND Window) const;
    // An MDI child was maximised (true) or no longer is.
    void SetMdiMaximized(bool Value);
    bool MdiMaximized() const { return FMdiMaximized; }

    // ---- Popup menus ----
    bool SkinPopupMenu(HWND Window);
    bool ReleasePopupMenu(HWND Window);
    size_t PopupCount() const { return FPopups.size(); }
    // The skinned menu windows open now, oldest first.
    const std::vector<std::unique_ptr<TPopupMenuSkinner>>& Popups() const { return FPopups; }
    // Makes the skinner of a menu window (the skin's own by default); null: menus keep the system's look.
    TPopupMenuSkinnerFactory PopupMenuSkinner;

    // The window message of the framework's "ControlOfs..." name (answered with the control object).
    UINT ControlMessage = 0;

    bool Active = false;
    bool Bulk = false;  // a pass that skins every form runs
    int State = smWaiting;
    int MenuKind = mkContext;
    HWND MdiClient = nullptr;       // the client window of the skinned MDI frame
    TControl* MdiForm = nullptr;    // that frame's form
    TSkinData* Requester = nullptr;  // the component whose request is pending

private:
    static LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam);
    void WindowCreated(HWND Window, const CREATESTRUCTW& Create);
    // Skins the form's window when it is visible and not a child window (used by the bulk passes).
    void SkinFormWindow(TControl& Form);
    // Restores, repaints and frees a skinner.
    void Unskin(TWinSkinForm* Form);
    // Frees a skinner no longer in the list. Freeing it can run the hook again (its timer's window is
    // destroyed), so it leaves the owning list before it is freed, never during a list operation.
    void FreeSkinner(TWinSkinForm* Form);
    // Unskins every window that Skin skins.
    void UnskinAll(TSkinData* Skin);

    static void DeleteAtom(ATOM atom) noexcept { GlobalDeleteAtom(atom); }
    // The framework's "ControlOfs..." name, known system-wide while the manager lives.
    UniqueHandle<NullHandleTraits<ATOM, DeleteAtom>> FControlAtom;
    std::unique_ptr<TTimer> FTimer;
    UniqueHook FHook;
    std::vector<TWinSkinForm*> FForms;
    std::vector<std::unique_ptr<TWinSkinForm>> FOwnedForms;  // skinners of windows without a form
    std::vector<std::unique_ptr<TPopupMenuSkinner>> FPopups;
    std::vector<TSkinData*> FSkinList;
    TSkinData* FDefaultSkin = nullptr;
    TSkinChange FPendingChange = scNone;
    bool FMdiMaximized = false;
    bool FPurging = false;
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

// The framework form (or other control) whose window this is: the screen's forms first, then the control
// stored in the window's "ControlOfs..." property.
TControl* FindFormForWindow(HWND Window);
// A window's class name.
std::wstring WindowClassName(HWND Window);
