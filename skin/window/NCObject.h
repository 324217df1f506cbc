#pragma once
// Objects in a skinned window's non-client area that follow the mouse: TNCObject tracks one object's
// state (normal, pressed, hot), TWinSysButton is a caption button drawn from the skin (close, maximise,
// minimise, the window icon, or a custom action the window hears of). Only one object per window is
// hot at a time; the window skinner holds it.
#include "ui/Types.h"

#include <windows.h>

class TWinSkinForm;
class TDataSkinSysButton;

enum TNCState { nsNormal = 1, nsPressed = 2, nsHot = 3 };

class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& Owner) : FOwner(Owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    TRect BoundsRect;  // window coordinates (origin at the window's top-left corner)
    bool Visible = false;
    bool Enabled = true;
    TNCState State = nsNormal;

protected:
    TWinSkinForm& FOwner;
};

// Caption button actions with a meaning of their own; any other action is posted to the window.
enum TCaptionAction {
    baClose = 0,
    baMaximize = 1,
    baMinimize = 2,
    baSystemMenu = 3,
    baMdiMinimize = 7,
    baMdiRestore = 8,
    baMdiClose = 9,
    baIcon = 11,
    baIconMenu = 12,
    baMaximize2 = 22,
    baMinimize2 = 23,
    baMdiMinimize2 = 60,
    baMdiRestore2 = 61,
    baMdiClose2 = 62,
};

// Caption buttons placed in the menu bar (the maximised MDI child's buttons).
constexpr int AlignMenuBar = 100;

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& Owner, TDataSkinSysButton& Element) : TNCObject(Owner), FElement(Element) {}

    TDataSkinSysButton& Element() const { return FElement; }
    int Action() const;
    // The window icon rather than a skin image.
    bool ShowsIcon() const;
    // The image frame for the button's state: 1 normal, 2 pressed, 3 hot, 4 inactive (or hot, in the
    // menu bar).
    int Frame() const;
    // The button in its state at BoundsRect.
    void Draw(HDC DC) const;
    // Hot and pressed feedback on screen.
    void Paint() override;
    // What a release on the button does.
    void Click();

private:
    TDataSkinSysButton& FElement;
};
