#pragma once
// TCustomForm: a top-level window of the framework's own class (named after the form's class). It
// registers with the screen, is built from its stored description (see ui/FormReader.h) and raises
// OnCreate after that, OnClose when asked to close and OnDestroy before it goes.
//
// A form class registers its handlers and fields, then reads its description:
//
//     TForm1::TForm1(TComponent* owner) : TForm(owner) {
//         Bindings().AddHandler("FindButtonClick", this, &TForm1::FindButtonClick);
//         Bindings().AddField("Edit1", Edit1);
//         ReadDescriptionResource(L"TFORM1");   // components, Loaded(), then OnCreate
//     }
#include "ui/NameBindings.h"
#include "ui/WinControl.h"

#include <string_view>

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint32_t;  // bit n = TBorderIcon n
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TMainMenu;

class TCustomForm : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads a form description (UTF-8 text) into this form, then raises OnCreate.
    void ReadDescription(std::string_view text);
    // The same from an RCDATA resource of the program.
    void ReadDescriptionResource(const wchar_t* resourceName);
    TNameBindings& Bindings() { return FBindings; }

    // Asks the form to close: OnClose decides (hide by default; the application's main form ends the
    // application).
    void Close();
    // Frees the form once the messages now queued have been handled.
    void Release();
    // Raises OnDestroy and frees the owned components while the whole form still exists; then deletes
    // it. Forms are freed this way (the application does so for the forms it owns): an OnDestroy handler
    // of a derived form cannot run from inside the destructor.
    static void Free(TCustomForm* form);
    void BeforeDestruction();

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);

    // The client area's size; the outer size follows from the frame.
    void SetClientWidth(int width) { SetClientSize({width, ClientHeight()}); }
    void SetClientHeight(int height) { SetClientSize({ClientWidth(), height}); }
    void SetClientSize(TSize size);

    bool Active() const;

    // Offers a dialog key (VK_RETURN, VK_ESCAPE) to the form's windowed controls in tab order as
    // CM_DIALOGKEY until one takes it (a default or cancel button); true when one did.
    bool OfferDialogKey(WPARAM key);

    // The window's menu bar (the form does not own it). Painters hear of a change as CM_MENUCHANGED.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    // The menu's items changed: the bar is shown again and CM_MENUCHANGED sent.
    void MenuChanged();
    // Runs the menu item (of the focused control's context menus, then of the menu bar) whose shortcut
    // the key is, with the modifier keys held now. The message loop asks before the focused control
    // sees the key, so a form may take keys of its own here wherever the focus is.
    virtual bool IsShortCut(WPARAM key);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TNotifyEvent OnShow;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoClose(TCloseAction& action);
    virtual void DoShow();

private:
    // Shows menu (null: none) as the window's bar, keeping the client size.
    void PutMenuBar(HMENU menu);
    void PlaceOnScreen();
    void Notification(TComponent* component) override;
    // Menu item messages of the menu bar; false for other messages.
    bool MenuMessage(TMessage& message);

    TNameBindings FBindings;
    TPosition FPosition = poDesigned;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    bool FDestroyRaised = false;
    TMainMenu* FMenu = nullptr;
};

// The form class programs derive from.
class TForm : public TCustomForm {
public:
    CLARIVO_CLASS
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};
