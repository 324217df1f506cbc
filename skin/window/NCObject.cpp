#include "skin/window/NCObject.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Handles.h"

// ---- TNCObject ----

void TNCObject::MouseDown() {
    TNCObject* hot = FOwner.HotObject();
    if (hot && hot != this) hot->MouseLeave();
    if (!Visible) return;
    FOwner.SetHotObject(this);
    State = nsPressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Visible) return;
    State = nsHot;
    Paint();
}

void TNCObject::MouseEnter() {
    TNCObject* hot = FOwner.HotObject();
    if (hot == this) return;
    if (hot) hot->MouseLeave();
    if (!Visible) return;
    FOwner.SetHotObject(this);
    State = nsHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!Visible) return;
    if (FOwner.HotObject() == this) FOwner.SetHotObject(nullptr);
    State = nsNormal;
    Paint();
}

// ---- TWinSysButton ----

int TWinSysButton::Action() const { return FElement.Action; }

bool TWinSysButton::ShowsIcon() const { return FElement.Action == baSystemMenu || FElement.Action == baIcon; }

int TWinSysButton::Frame() const {
    // Disabled buttons and skins without a frame for a state show the normal one.
    int frame = Enabled ? State : nsNormal;
    if (frame == nsHot && FElement.Visibility == AlignMenuBar) frame = 4;
    if (frame > FElement.FrameCount) frame = nsNormal;
    if (frame == nsNormal && !FOwner.WindowActive() && FElement.FrameCount >= 4) frame = 4;
    return frame;
}

void TWinSysButton::Draw(HDC DC) const {
    if (ShowsIcon())
        FOwner.DrawIcon(DC, BoundsRect);
    else
        DrawSkinFrame(DC, BoundsRect, *FElement.Bitmap, true, FElement.FrameCount, Frame());
}

void TWinSysButton::Paint() {
    // The title bar is composed again with the button in its new state: transparent pixels then show
    // the caption behind the button, never the image of its previous state.
    if (Visible && !FElement.Bitmap->Empty()) FOwner.RepaintTitleBar();
}

void TWinSysButton::Click() {
    if (!Enabled) return;
    HWND wnd = FOwner.Handle();
    auto toActiveChild = [&](WPARAM command) {
        HWND client = SkinManager ? SkinManager->MdiClient : nullptr;
        if (FOwner.WindowKind() != wkMdiFrame || !client) return;
        HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
        if (child) SendMessageW(child, WM_SYSCOMMAND, command, 0);
    };
    switch (FElement.Action) {
    case baClose:
        if (FOwner.HasCloseItem()) {
            FOwner.StopTimer();
            PostMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case baMaximize:
    case baMaximize2:
        FOwner.ToggleMaximize();
        break;
    case baMinimize:
    case baMinimize2:
        FOwner.ToggleMinimize();
        break;
    case baSystemMenu:
    case baIcon:
    case baIconMenu: {
        POINT at{};
        GetCursorPos(&at);
        FOwner.ShowSystemMenu({at.x + 1, at.y + 1});
        break;
    }
    case baMdiMinimize:
    case baMdiMinimize2:
        toActiveChild(SC_MINIMIZE);
        break;
    case baMdiRestore:
    case baMdiRestore2:
        toActiveChild(SC_RESTORE);
        break;
    case baMdiClose:
    case baMdiClose2:
        toActiveChild(SC_CLOSE);
        break;
    default:
        PostMessageW(wnd, WM_SKINBUTTONCLICK, static_cast<WPARAM>(FElement.Action), 0);
        break;
    }
}
