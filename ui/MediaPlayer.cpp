#include "ui/MediaPlayer.h"

#include "ui/Messages.h"
#include "ui/Properties.h"

#include <digitalv.h>
#include <mmsystem.h>

#include <algorithm>
#include <bit>

namespace {

constexpr const wchar_t* ButtonNames[MediaButtonCount] = {L"MPPLAY", L"MPPAUSE", L"MPSTOP",   L"MPNEXT", L"MPPREV",
                                                          L"MPSTEP", L"MPBACK",  L"MPRECORD", L"MPEJECT"};
constexpr const wchar_t* LookPrefixes[3] = {L"EN", L"DI", L"CL"};

const std::initializer_list<const char*> ButtonTypeNames = {"btPlay", "btPause", "btStop", "btNext", "btPrev",
                                                            "btStep", "btBack",  "btRecord", "btEject"};

// The MCI device type names, in the order of TMPDeviceTypes (none for dtAutoSelect).
constexpr const wchar_t* DeviceNames[] = {nullptr,     L"avivideo", L"cdaudio",   L"dat",       L"digitalvideo",
                                          L"mmmovie",  L"other",    L"overlay",   L"scanner",   L"sequencer",
                                          L"vcr",      L"videodisc", L"waveaudio"};

constexpr TButtonSet Set(std::initializer_list<TMPBtnType> buttons) {
    TButtonSet set = 0;
    for (TMPBtnType b : buttons) set |= ButtonBit(b);
    return set;
}

// What each mode lets the user do, when the player enables its buttons itself.
TButtonSet ButtonsFor(TMPModes mode) {
    switch (mode) {
    case mpPlaying: return Set({TMPBtnType::btPause, TMPBtnType::btStop, TMPBtnType::btNext, TMPBtnType::btPrev, TMPBtnType::btStep, TMPBtnType::btBack});
    case mpRecording: return Set({TMPBtnType::btPause, TMPBtnType::btStop});
    case mpPaused: return Set({TMPBtnType::btPlay, TMPBtnType::btPause, TMPBtnType::btStop, TMPBtnType::btNext, TMPBtnType::btPrev, TMPBtnType::btStep, TMPBtnType::btBack});
    case mpSeeking: return Set({TMPBtnType::btStop});
    default: return Set({TMPBtnType::btPlay, TMPBtnType::btRecord, TMPBtnType::btNext, TMPBtnType::btPrev, TMPBtnType::btStep, TMPBtnType::btBack, TMPBtnType::btEject});
    }
}

}  // namespace

const char* MediaButtonName(TMPBtnType Button) { return ButtonTypeNames.begin()[static_cast<int>(Button)]; }

int MediaButtonAt(TButtonSet Visible, int Width, int x) {
    const int count = std::popcount(static_cast<unsigned>(Visible & AllMediaButtons));
    if (!count || x < 0) return -1;
    const int width = Width / count;
    int left = 0;
    for (int b = 0; b < MediaButtonCount; ++b) {
        if (!(Visible & ButtonBit(static_cast<TMPBtnType>(b)))) continue;
        if (x <= left + width) return b;
        left += width;
    }
    return -1;
}

TMediaGlyphs::TMediaGlyphs() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int b = 0; b < MediaButtonCount; ++b)
        for (int look = 0; look < 3; ++look) {
            const std::wstring name = std::wstring(LookPrefixes[look]) + L"_" + ButtonNames[b];
            FBitmaps[static_cast<size_t>(b * 3 + look)].reset(
                static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        }
}

void TMediaGlyphs::Draw(HDC DC, const RECT& Cell, TMPBtnType Button, TMediaLook Look, bool Pressed) const {
    const HBITMAP glyph = FBitmaps[static_cast<size_t>(static_cast<int>(Button) * 3 + Look)].get();
    BITMAP info{};
    if (!glyph || !GetObjectW(glyph, sizeof info, &info)) return;
    UniqueMemoryDC source(CreateCompatibleDC(DC));
    TSelectObject selected(source.get(), glyph);
    const int shift = Pressed ? 1 : 0;
    TransparentBlt(DC, Cell.left + (Cell.right - Cell.left - info.bmWidth) / 2 + shift,
                   Cell.top + (Cell.bottom - Cell.top - info.bmHeight) / 2 + shift, info.bmWidth, info.bmHeight,
                   source.get(), 0, 0, info.bmWidth, info.bmHeight, RGB(128, 128, 0));
}

const TClassInfo TMediaPlayer::MetaClass(
    "TMediaPlayer", &TWinControl::MetaClass, ComponentFactory<TMediaPlayer>,
    {
        StrProp<TMediaPlayer>("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName),
        EnumProp<TMediaPlayer, TMPDeviceTypes>(
            "DeviceType",
            {"dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie", "dtOther", "dtOverlay",
             "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc", "dtWaveAudio"},
            &TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType),
        BoolProp<TMediaPlayer>("AutoOpen", &TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen),
        BoolProp<TMediaPlayer>("AutoRewind", &TMediaPlayer::AutoRewind, &TMediaPlayer::SetAutoRewind),
        BoolProp<TMediaPlayer>("AutoEnable", &TMediaPlayer::AutoEnable, &TMediaPlayer::SetAutoEnable),
        BoolProp<TMediaPlayer>("Wait", &TMediaPlayer::Wait, &TMediaPlayer::SetWait),
        IntProp<TMediaPlayer>("Frames", &TMediaPlayer::Frames, &TMediaPlayer::SetFrames),
        RefProp<TMediaPlayer, TWinControl>("Display", &TMediaPlayer::Display, &TMediaPlayer::SetDisplay),
        SetProp<TMediaPlayer, TButtonSet>("VisibleButtons", ButtonTypeNames, &TMediaPlayer::VisibleButtons,
                                          &TMediaPlayer::SetVisibleButtons),
        SetProp<TMediaPlayer, TButtonSet>("EnabledButtons", ButtonTypeNames, &TMediaPlayer::EnabledButtons,
                                          &TMediaPlayer::SetEnabledButtons),
        SetProp<TMediaPlayer, TButtonSet>("ColoredButtons", ButtonTypeNames, &TMediaPlayer::ColoredButtons,
                                          &TMediaPlayer::SetColoredButtons),
        EventProp<TMediaPlayer>("OnClick", &TMediaPlayer::OnClick),
        EventProp<TMediaPlayer>("OnPostClick", &TMediaPlayer::OnPostClick),
        EventProp<TMediaPlayer>("OnNotify", &TMediaPlayer::OnNotify),
    });

TMediaPlayer::TMediaPlayer(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 253, 30);
    SetTabStop(true);
}

TMediaPlayer::~TMediaPlayer() { Close(); }

void TMediaPlayer::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = RegisterOwnClass(L"TMediaPlayer", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

void TMediaPlayer::CreateWnd() {
    TWinControl::CreateWnd();
    if (FAutoOpen && !IsOpen() && !FFileName.empty()) Open();
}

// ---- Device ----

bool TMediaPlayer::Command(UINT message, DWORD_PTR flags, void* parameters) {
    FError = mciSendCommandW(FDeviceId, message, flags, reinterpret_cast<DWORD_PTR>(parameters));
    return FError == 0;
}

DWORD_PTR TMediaPlayer::NotifyOrWait() const { return FWait ? MCI_WAIT : (HandleAllocated() ? MCI_NOTIFY : 0); }

std::wstring TMediaPlayer::ErrorMessage() const {
    if (!FError) return L"The specified command was carried out.";
    wchar_t text[256] = L"";
    if (!mciGetErrorStringW(FError, text, 256)) return L"Unknown MCI error " + std::to_wstring(FError);
    return text;
}

bool TMediaPlayer::Open() {
    Close();
    MCI_OPEN_PARMSW open{};
    open.dwCallback = reinterpret_cast<DWORD_PTR>(WindowHandle());
    open.lpstrElementName = FFileName.c_str();
    DWORD_PTR flags = MCI_WAIT;
    if (!FFileName.empty()) flags |= MCI_OPEN_ELEMENT;
    if (FDeviceType != dtAutoSelect) {
        open.lpstrDeviceType = DeviceNames[FDeviceType];
        flags |= MCI_OPEN_TYPE;
    }
    FError = mciSendCommandW(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
    if (FError) {
        Changed();
        return false;
    }
    FDeviceId = open.wDeviceID;
    MCI_SET_PARMS time{};
    time.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    if (FDeviceType != dtCDAudio) Command(MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, &time);
    ShowInDisplay();
    FError = 0;
    Changed();
    return true;
}

void TMediaPlayer::Close() {
    if (!FDeviceId) return;
    MCI_GENERIC_PARMS close{};
    mciSendCommandW(FDeviceId, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
    FDeviceId = 0;
    Changed();
}

void TMediaPlayer::SetDisplay(TWinControl* value) {
    FDisplay = value;
    if (IsOpen()) ShowInDisplay();
}

void TMediaPlayer::ShowInDisplay() {
    if (!FDisplay || !IsOpen()) return;
    MCI_DGV_WINDOW_PARMSW window{};
    window.hWnd = FDisplay->Handle();
    if (!Command(MCI_WINDOW, MCI_WAIT | MCI_DGV_WINDOW_HWND, &window)) return;  // not a video device
    MCI_DGV_PUT_PARMS put{};
    GetClientRect(window.hWnd, &put.rc);
    Command(MCI_PUT, MCI_WAIT | MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT, &put);
}

TMPModes TMediaPlayer::Mode() const {
    if (!FDeviceId) return mpNotReady;
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    if (mciSendCommandW(FDeviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
        return mpNotReady;
    const auto mode = static_cast<int>(status.dwReturn) - MCI_MODE_NOT_READY;
    return mode >= mpNotReady && mode <= mpOpen ? static_cast<TMPModes>(mode) : mpNotReady;
}

namespace {
int StatusOf(unsigned device, DWORD item) {
    if (!device) return 0;
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    if (mciSendCommandW(device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
        return 0;
    return static_cast<int>(status.dwReturn);
}
}  // namespace

int TMediaPlayer::Position() const { return StatusOf(FDeviceId, MCI_STATUS_POSITION); }
int TMediaPlayer::Length() const { return StatusOf(FDeviceId, MCI_STATUS_LENGTH); }

bool TMediaPlayer::Play() {
    if (!IsOpen()) return false;
    if (FAutoRewind && Length() > 0 && Position() >= Length()) Rewind();
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(WindowHandle());
    const bool done = Command(MCI_PLAY, NotifyOrWait(), &play);
    Changed();
    return done;
}

bool TMediaPlayer::Pause() {
    if (!IsOpen()) return false;
    MCI_GENERIC_PARMS generic{};
    generic.dwCallback = reinterpret_cast<DWORD_PTR>(WindowHandle());
    const bool done = Mode() == mpPaused ? Command(MCI_RESUME, NotifyOrWait(), &generic) || Play()
                                         : Command(MCI_PAUSE, MCI_WAIT, &generic);
    Changed();
    return done;
}

bool TMediaPlayer::Stop() {
    if (!IsOpen()) return false;
    MCI_GENERIC_PARMS generic{};
    const bool done = Command(MCI_STOP, MCI_WAIT, &generic);
    Changed();
    return done;
}

namespace {
bool SeekTo(unsigned device, DWORD_PTR where, unsigned& error) {
    MCI_SEEK_PARMS seek{};
    error = mciSendCommandW(device, MCI_SEEK, MCI_WAIT | where, reinterpret_cast<DWORD_PTR>(&seek));
    return error == 0;
}
}  // namespace

bool TMediaPlayer::Next() {
    if (!IsOpen()) return false;
    const bool done = SeekTo(FDeviceId, MCI_SEEK_TO_END, FError);
    Changed();
    return done;
}

bool TMediaPlayer::Previous() { return Rewind(); }

bool TMediaPlayer::Rewind() {
    if (!IsOpen()) return false;
    const bool done = SeekTo(FDeviceId, MCI_SEEK_TO_START, FError);
    Changed();
    return done;
}

bool TMediaPlayer::Step() {
    if (!IsOpen()) return false;
    MCI_DGV_STEP_PARMS step{};
    step.dwFrames = static_cast<DWORD>(FFrames > 0 ? FFrames : std::max(Length() / 10, 1));
    const bool done = Command(MCI_STEP, MCI_WAIT | MCI_DGV_STEP_FRAMES, &step);
    Changed();
    return done;
}

bool TMediaPlayer::Back() {
    if (!IsOpen()) return false;
    MCI_DGV_STEP_PARMS step{};
    step.dwFrames = static_cast<DWORD>(FFrames > 0 ? FFrames : std::max(Length() / 10, 1));
    const bool done = Command(MCI_STEP, MCI_WAIT | MCI_DGV_STEP_FRAMES | MCI_DGV_STEP_REVERSE, &step);
    Changed();
    return done;
}

bool TMediaPlayer::StartRecording() {
    if (!IsOpen()) return false;
    MCI_RECORD_PARMS record{};
    record.dwCallback = reinterpret_cast<DWORD_PTR>(WindowHandle());
    const bool done = Command(MCI_RECORD, NotifyOrWait(), &record);
    Changed();
    return done;
}

bool TMediaPlayer::Eject() {
    if (!IsOpen()) return false;
    MCI_SET_PARMS set{};
    const bool done = Command(MCI_SET, MCI_WAIT | MCI_SET_DOOR_OPEN, &set);
    Changed();
    return done;
}

// ---- Buttons ----

void TMediaPlayer::SetVisibleButtons(TButtonSet value) {
    FVisibleButtons = value & AllMediaButtons;
    Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet value) {
    FEnabledButtons = value & AllMediaButtons;
    Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet value) {
    FColoredButtons = value & AllMediaButtons;
    Invalidate();
}

void TMediaPlayer::SetAutoEnable(bool value) {
    FAutoEnable = value;
    Changed();
}

void TMediaPlayer::Changed() {
    // Enabled buttons follow the device's mode: none without a device.
    if (FAutoEnable) FEnabledButtons = IsOpen() ? ButtonsFor(Mode()) : 0;
    Invalidate();
}

TButtonSet TMediaPlayer::ClickableButtons() const { return Enabled() ? FEnabledButtons & FVisibleButtons : 0; }

int TMediaPlayer::ButtonAt(int x) const { return MediaButtonAt(FVisibleButtons, Width(), x); }

void TMediaPlayer::ButtonClicked(TMPBtnType button) {
    bool doDefault = true;
    if (OnClick) OnClick(this, button, doDefault);
    if (doDefault) {
        switch (button) {
        case TMPBtnType::btPlay: Play(); break;
        case TMPBtnType::btPause: Pause(); break;
        case TMPBtnType::btStop: Stop(); break;
        case TMPBtnType::btNext: Next(); break;
        case TMPBtnType::btPrev: Previous(); break;
        case TMPBtnType::btStep: Step(); break;
        case TMPBtnType::btBack: Back(); break;
        case TMPBtnType::btRecord: StartRecording(); break;
        case TMPBtnType::btEject: Eject(); break;
        }
    }
    if (OnPostClick) OnPostClick(this, button);
}

void TMediaPlayer::WndProc(TMessage& message) {
    const int x = static_cast<short>(LOWORD(message.LParam));
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int b = ButtonAt(x);
        if (b >= 0 && (ClickableButtons() & ButtonBit(static_cast<TMPBtnType>(b)))) {
            FPressed = b;
            FPressedOver = true;
            SetCapture(WindowHandle());
            if (CanFocus()) SetFocus();
            Invalidate();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (FPressed >= 0) {
            // A press that ended where this window did not see it (another window took the release).
            if (!(message.WParam & MK_LBUTTON)) {
                FPressed = -1;
                Invalidate();
            } else if (FPressedOver != (ButtonAt(x) == FPressed)) {
                FPressedOver = !FPressedOver;
                Invalidate();
            }
        }
        break;
    case WM_LBUTTONUP: {
        const int pressed = FPressed;
        FPressed = -1;
        if (GetCapture() == WindowHandle()) ReleaseCapture();
        Invalidate();
        if (pressed >= 0 && ButtonAt(x) == pressed) ButtonClicked(static_cast<TMPBtnType>(pressed));
        break;
    }
    case MM_MCINOTIFY:
        switch (message.WParam) {
        case MCI_NOTIFY_SUCCESSFUL: FNotifyValue = nvSuccessful; break;
        case MCI_NOTIFY_SUPERSEDED: FNotifyValue = nvSuperseded; break;
        case MCI_NOTIFY_ABORTED: FNotifyValue = nvAborted; break;
        default: FNotifyValue = nvFailure; break;
        }
        Changed();
        if (OnNotify) OnNotify(this);
        message.Result = 0;
        return;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

void TMediaPlayer::PaintWindow(HDC dc) {
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    const int visible = std::popcount(static_cast<unsigned>(FVisibleButtons));
    FillRect(dc, &client, Brush()->Handle());
    if (!visible) return;
    const int width = Width() / visible;
    const TButtonSet clickable = ClickableButtons();
    int left = 0;
    for (int b = 0; b < MediaButtonCount; ++b) {
        const auto button = static_cast<TMPBtnType>(b);
        const TButtonSet bit = ButtonBit(button);
        if (!(FVisibleButtons & bit)) continue;
        RECT face{left, 0, left + width, client.bottom};
        const bool pressed = b == FPressed && FPressedOver;
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        FGlyphs.Draw(dc, face, button, !(clickable & bit) ? mlDisabled : (FColoredButtons & bit) ? mlColoured : mlEnabled,
                     pressed);
        left += width;
    }
}
