#include "ui/Animate.h"

#include "ui/Properties.h"

#include <commctrl.h>

const TClassInfo TAnimate::MetaClass(
    "TAnimate", &TWinControl::MetaClass, ComponentFactory<TAnimate>,
    {
        BoolProp<TAnimate>("Active", &TAnimate::Active, &TAnimate::SetActive),
        BoolProp<TAnimate>("Center", &TAnimate::Center, &TAnimate::SetCenter),
        EnumProp<TAnimate, TCommonAVI>("CommonAVI", {"aviNone", "aviFindFile"}, &TAnimate::CommonAVI,
                                       &TAnimate::SetCommonAVI),
        IntProp<TAnimate>("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions),
        StrProp<TAnimate>("ResName", &TAnimate::ResName, &TAnimate::SetResName),
        IntProp<TAnimate>("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame),
        IntProp<TAnimate>("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame),
        BoolProp<TAnimate>("Transparent", &TAnimate::Transparent, &TAnimate::SetTransparent),
    });

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
    SetParentColor(true);
}

void TAnimate::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = ANIMATE_CLASSW;
    // Timers rather than the control's own thread: the frames are drawn on the GUI thread like
    // everything else the window paints.
    params.Style |= ACS_TIMER;
    if (FCenter) params.Style |= ACS_CENTER;
    if (FTransparent) params.Style |= ACS_TRANSPARENT;
}

void TAnimate::CreateWnd() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&classes);
    TWinControl::CreateWnd();
    OpenClip();
}

void TAnimate::OpenClip() {
    FOpened = false;
    if (!HandleAllocated()) return;
    const wchar_t* name = FCommonAVI == aviFindFile ? FindFileClipName : FResName.c_str();
    if (FCommonAVI == aviNone && FResName.empty()) {
        SendMessageW(WindowHandle(), ACM_OPENW, 0, 0);  // closes the clip shown so far
        FActive = false;
        return;
    }
    FOpened = SendMessageW(WindowHandle(), ACM_OPENW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)),
                           reinterpret_cast<LPARAM>(name)) != 0;
    if (FActive) FActive = SendPlay(FStartFrame, FStopFrame, FRepetitions);
}

bool TAnimate::SendPlay(int fromFrame, int toFrame, int count) {
    if (!FOpened) return false;
    // The control counts frames from 0 and takes 0xFFFF as "to the last frame".
    auto frame = [](int n) { return static_cast<WORD>(n > 0 ? n - 1 : 0xFFFF); };
    WPARAM repeat = count > 0 ? static_cast<WPARAM>(count) : static_cast<WPARAM>(-1);
    return SendMessageW(WindowHandle(), ACM_PLAY, repeat, MAKELPARAM(frame(fromFrame), frame(toFrame))) != 0;
}

void TAnimate::SetCommonAVI(TCommonAVI value) {
    FCommonAVI = value;
    if (value != aviNone) FResName.clear();
    OpenClip();
}

void TAnimate::SetResName(const std::wstring& value) {
    FResName = value;
    if (!value.empty()) FCommonAVI = aviNone;
    OpenClip();
}

void TAnimate::SetStartFrame(int value) {
    FStartFrame = value < 1 ? 1 : value;
    if (FActive) FActive = SendPlay(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetStopFrame(int value) {
    FStopFrame = value < 0 ? 0 : value;
    if (FActive) FActive = SendPlay(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetRepetitions(int value) {
    FRepetitions = value < 0 ? 0 : value;
    if (FActive) FActive = SendPlay(FStartFrame, FStopFrame, FRepetitions);
}

void TAnimate::SetActive(bool value) {
    if (!HandleAllocated()) {
        FActive = value;  // played once the window exists
        return;
    }
    if (value) {
        FActive = SendPlay(FStartFrame, FStopFrame, FRepetitions);
    } else {
        FActive = false;
        SendMessageW(WindowHandle(), ACM_STOP, 0, 0);
    }
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
    FStartFrame = fromFrame < 1 ? 1 : fromFrame;
    FStopFrame = toFrame < 0 ? 0 : toFrame;
    FRepetitions = count < 0 ? 0 : count;
    SetActive(true);
}

void TAnimate::Seek(int frame) {
    FActive = false;
    if (HandleAllocated()) SendPlay(frame, frame, 1);
}

void TAnimate::SetCenter(bool value) {
    if (value == FCenter) return;
    FCenter = value;
    if (HandleAllocated()) RecreateWnd();
}

void TAnimate::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    if (HandleAllocated()) RecreateWnd();
}
