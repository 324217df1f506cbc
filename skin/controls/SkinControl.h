#pragma once
// TSkinControl: the base of every control painter. Attached to one control of a skinned window, it sits
// in front of the control's message handling, decides for each message whether the control's own
// handling sees it, repaints the control from the skin after the messages that change its look, and
// tracks the mouse state (hot, pressed) that picks the skin's frame. It never owns the control.
//
// Two ways in: a framework control (the painter takes the control's WindowProc slot and keeps the old
// one; the control owns the painter, so it goes with the control), or a bare window without control
// object, such as a system dialog's button (the painter subclasses the window; the window skinner owns
// it). Painters of windowless framework controls (speed buttons) paint through a host control instead.
#include "skin/window/ControlPainter.h"
#include "ui/Control.h"
#include "ui/Types.h"

#include <memory>
#include <string>

class TBitmap;
class TCanvas;
class TDataSkinObject;
class TSkinData;
class TWinSkinForm;

// Painter messages (fixed numbers: other code may send them).
enum : UINT {
    WM_SKINSWITCH = 13574,  // 0x3506 wParam > 0: skin painting on (and a repaint); otherwise off
};

enum TMouseStateBit : uint8_t { msHot = 1, msPressed = 2 };
enum TPainterLife { plCreated = 0, plAttached = 1, plFinished = 6 };

// Frame Index of a horizontal element strip drawn as nine parts over Dest, with the element's own edges,
// tiling and frame count.
void DrawSkinElement(HDC DC, const TRect& Dest, TDataSkinObject& Element, bool Trans, int Index);

class TSkinControl : public TControlPainter {
public:
    CLARIVO_CLASS

    // Owner: the control to be painted, or (bare windows) whoever frees the painter.
    explicit TSkinControl(TComponent* owner);
    // Gives the control its own message handling back, and leaves the skinner's list.
    ~TSkinControl() override;

    // Attaches to the framework control that owns the painter (once). TakeColor: the control gets the
    // skin's face colour while painted (and its own back on Detach).
    virtual void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas);
    // Attaches to a bare window.
    virtual void AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas);
    // Attaches a scroll-bar painter to a control that scrolls itself; other painters attach as usual.
    virtual void AttachScrolling(TControl& Control, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas);

    // ---- TControlPainter ----
    HWND Window() const override { return FWnd; }
    // The framework control painted (the host, for a windowless one).
    TControl* Control() const override { return FControl ? FControl : FHost; }
    bool Finished() const override { return FLifeState == plFinished; }
    void Detach() override;
    void Reskin() override;

    bool SkinOn() const { return FSkinOn; }
    bool TakesColor() const { return FTakeColor; }
    uint8_t MouseState() const { return FMouseState; }
    int LifeState() const { return FLifeState; }
    TSkinData* SkinData() const { return FSkinData; }

protected:
    // True: the control's own handling is to see the message (AfterMessage follows). False: the
    // message is finished (the filter did what was needed, the previous handling included if wanted).
    virtual bool BeforeMessage(TMessage& Message);
    virtual void AfterMessage(TMessage& Message);
    // Paints the whole window (client and frame) into DC, or into the window's own DC when null.
    virtual void PaintWindow(HDC DC);
    // Draws the control's skin into DC within Rect (window coordinates, origin 0,0).
    virtual void DrawSkin(HDC DC, const TRect& Rect);
    // The framework control made its window again; FWnd is the new one.
    virtual void WindowRecreated() {}
    // Skin painting was switched on or off (FSkinOn tells which).
    virtual void SkinSwitched() {}

    // Attaches to the owning framework control without taking its message handling (for painters that
    // paint nothing over the control); false when the owner is no control.
    bool AttachUnhooked(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas);
    // The control's own handling of the message (its previous WindowProc, or the window's procedure).
    void CallPrevious(TMessage& Message);
    // Repaints at once (through the host control for windowless ones).
    void Repaint();
    // The ParentBackground take-over: off while the skin's colour is taken (On), back on Detach.
    void SetParentBackground(bool On);
    // Takes the WindowProc slot of a framework control (the painted control, or a windowless one's host).
    void HookWindowProc(TControl& Target);
    // The standard WM_PAINT of a painter: the skin drawn into the paint DC, the control's own painting
    // never run.
    void PaintMessage(TMessage& Message);
    // The filter of a painter that draws the whole control: WM_PAINT from the skin, WM_ERASEBKGND
    // answered as done. True when it took the message.
    bool TakePaintMessages(TMessage& Message);
    // The painter's off-screen bitmap (24-bit, kept between paints), sized to Rect.
    TBitmap& Buffer(const TRect& Rect);
    // The control's font on Canvas: a framework control's Font, else the window's own (WM_GETFONT).
    void SelectControlFont(TCanvas& Canvas) const;
    // Sets or clears the hot bit, asking for the leave notification when it is set; false when the bit
    // already was so.
    bool SetHotState(bool Hot);
    // The caption: the control's Caption property, or the window's text.
    std::wstring ReadCaption() const;

    uint8_t FMouseState = 0;
    TCanvas* FCanvas = nullptr;
    bool FEnabled = true;
    bool FFocused = false;
    bool FRecreating = false;  // the control's old window is going, a new one comes
    std::wstring FCaption;
    bool FSkinOn = true;
    bool FUnicode = true;
    TSkinData* FSkinData = nullptr;
    HWND FWnd = nullptr;
    TWndMethod FOldWindowProc;
    TControl* FControl = nullptr;
    TRect FWindowRect;
    TControl* FHost = nullptr;
    bool FTakeColor = false;
    TColor FSavedColor = 0;
    bool FAttached = false;
    int FLifeState = plCreated;
    TWinSkinForm* FSkinForm = nullptr;
    int FMode = 0;
    bool FParentBgOff = false;
    std::unique_ptr<TBitmap> FBuffer;

private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    // The one entry for every message, whichever way the painter is attached.
    void MessageProc(TMessage& Message);
    bool FSubclassed = false;
};
