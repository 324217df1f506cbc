#pragma once
// TWinControl: a control with its own window. The window is made when first needed (Handle()), with
// the class and styles that CreateParams gives, and is subclassed once with SetWindowSubclass; every
// message for it then enters through that one procedure into WindowProc. A windowed control holds
// child controls (windowed ones as child windows, windowless ones painted and fed mouse messages by
// it), keeps their tab order and reflects its children's notifications to them (CN_BASE + message).
#include "ui/Brush.h"
#include "ui/Control.h"
#include "ui/Handles.h"

#include <string>
#include <vector>

// What CreateParams gives for making the window. CreateParams has no other effect (ClientRect asks it
// for the frame before the window exists); a child's parent window is filled in by CreateWnd.
struct TCreateParams {
    std::wstring WinClassName;  // an existing class (system control) or the control's own
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
};

class TWinControl : public TControl {
public:
    CLARIVO_CLASS

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, made now if it does not exist yet (and the parent's before it).
    HWND Handle();
    HWND WindowHandle() const { return FHandle.get(); }
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    void HandleNeeded() { (void)Handle(); }
    // Destroys the window (and with it the children's windows); the control keeps its state.
    void DestroyHandle();
    // Makes the window again (after a style change that needs a new window); sends CM_RECREATEWND.
    void RecreateWnd();

    // The control whose window this is, or null (an O(1) window property lookup).
    static TWinControl* FindControl(HWND wnd);
    // The name of the window property that holds each window's TControl* ("ControlOfs" + instance and
    // thread id, eight upper-case hex digits each); other modules read it with GetProp.
    static const std::wstring& ControlAtomName();
    // The window message of the same name: a framework window answers it with its TControl*.
    static UINT ControlMessage();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    const std::vector<TControl*>& ControlList() const { return FControls; }
    // The topmost visible windowless child at a client point (disabled ones too when allowDisabled).
    TControl* ControlAtPos(TPoint p, bool allowDisabled) const;

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // Every windowed control inside this one, nested ones included, in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // Moves the focus from the window current to the next (or previous) control inside this one that
    // takes Tab stops, in tab order and round; false when there is none.
    bool SelectNext(HWND current, bool forward);

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    void Invalidate() override;
    void Update() override;

    // The background brush (Color) used to erase and for reflected WM_CTLCOLOR*.
    TBrush* Brush() { return &FBrush; }

    // Paints the windowless children into dc (client coordinates of this control).
    void PaintControls(HDC dc);

    // Lays out the aligned children and applies the anchors of the others.
    void Realign();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void Loaded() override;

protected:
    friend class TControl;

    virtual void CreateParams(TCreateParams& params);
    // Creates the window from CreateParams and attaches it; derived classes send their initial state to
    // the window after calling it.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Children's windows, in tab order, after this window exists.
    void CreateChildHandles();

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the window's own content (own window classes); the base passes WM_PAINT to the window's
    // procedure with dc as wParam.
    virtual void PaintWindow(HDC dc);
    // Registers a window class of the framework's own (DefWindowProc behaviour, the object attached from
    // WM_NCCREATE) once per process; returns its name.
    static const wchar_t* RegisterOwnClass(const wchar_t* name, UINT classStyle);

    std::wstring GetText() const override;
    void TextChanged() override;
    void BoundsChanged() override;
    virtual void DoEnter();
    virtual void DoExit();

    // A new window style bit on the live window (and a repaint of the frame).
    void ApplyStyle(DWORD set, DWORD clear);

private:
    friend LRESULT CALLBACK OwnClassProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    void AttachHandle(HWND wnd);
    void DetachHandle();
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateZOrder();
    bool ReflectNotification(TMessage& message);
    // Hands a mouse message over a windowless child to it; true when one took it.
    bool MouseToControls(const TMessage& message);
    void SetMouseControl(TControl* control);
    void PaintHandler(TMessage& message);

    UniqueWindow FHandle;
    WNDPROC FDefWndProc = nullptr;
    int FSubclassDepth = 0;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    int FTabOrderWanted = -1;  // TabOrder read from a description, applied by the parent's Loaded
    TBrush FBrush;
    TControl* FMouseControl = nullptr;    // windowless child under the mouse
    TControl* FCaptureControl = nullptr;  // windowless child that took the mouse with a button press
};
