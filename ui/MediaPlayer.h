#pragma once
// TMediaPlayer: a strip of buttons (play, pause, stop, next, previous, step, back, record, eject) that
// drives a multimedia device through the system's MCI. Open the device (FileName, DeviceType; AutoOpen
// opens it when the window is made), then the buttons or the methods below play it. With AutoEnable
// the buttons enabled are those that make sense in the device's mode, else EnabledButtons. A video
// shows in Display (or in a window of the device's own).
//
// A failed command throws nothing: it leaves its code in Error and its text in ErrorMessage, and the
// method answers false.
//
// The buttons' glyphs are the bitmap resources <look>_<button> of ui/res/MediaPlayer.rc (looks EN, DI,
// CL; buttons MPPLAY ... MPEJECT); their olive pixels (red 128, green 128, blue 0) are left out.
#include "ui/Handles.h"
#include "ui/WinControl.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// Scoped: an up-down control's buttons are named btNext and btPrev too.
enum class TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int MediaButtonCount = 9;
// A set of buttons: bit n stands for TMPBtnType n.
using TButtonSet = uint16_t;
constexpr TButtonSet AllMediaButtons = (1u << MediaButtonCount) - 1;
constexpr TButtonSet ButtonBit(TMPBtnType button) { return static_cast<TButtonSet>(1u << static_cast<int>(button)); }

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay, dtScanner,
    dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

using TMPBtnClickEvent = std::function<void(TObject* Sender, TMPBtnType Button, bool& DoDefault)>;
using TMPPostEvent = std::function<void(TObject* Sender, TMPBtnType Button)>;

// The name of a button in the button set properties ("btPlay").
const char* MediaButtonName(TMPBtnType Button);
// The visible button at x in a strip Width wide: each visible one Width / their count wide, in button
// order, span ends inclusive; -1 when none.
int MediaButtonAt(TButtonSet Visible, int Width, int x);

enum TMediaLook { mlEnabled, mlDisabled, mlColoured };

// The buttons' glyph bitmaps, loaded from the program's resources (a missing one draws nothing).
class TMediaGlyphs {
public:
    TMediaGlyphs();
    // Button's glyph in Look, centred in Cell (one pixel right and down when Pressed), its olive left out.
    void Draw(HDC DC, const RECT& Cell, TMPBtnType Button, TMediaLook Look, bool Pressed) const;

private:
    std::array<UniqueBitmap, MediaButtonCount * 3> FBitmaps;
};

class TMediaPlayer : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    // ---- Device ----
    std::wstring FileName() const { return FFileName; }
    void SetFileName(const std::wstring& value) { FFileName = value; }
    TMPDeviceTypes DeviceType() const { return FDeviceType; }
    void SetDeviceType(TMPDeviceTypes value) { FDeviceType = value; }
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool value) { FAutoOpen = value; }
    bool AutoRewind() const { return FAutoRewind; }
    void SetAutoRewind(bool value) { FAutoRewind = value; }
    // Where a video is shown (null: a window of the device's own).
    TWinControl* Display() const { return FDisplay; }
    void SetDisplay(TWinControl* value);
    // Frames (or milliseconds) a Step or Back moves; 0: a tenth of the length.
    int Frames() const { return FFrames; }
    void SetFrames(int value) { FFrames = value; }
    bool Wait() const { return FWait; }
    void SetWait(bool value) { FWait = value; }

    bool IsOpen() const { return FDeviceId != 0; }
    TMPModes Mode() const;
    int Position() const;
    int Length() const;
    unsigned Error() const { return FError; }
    std::wstring ErrorMessage() const;

    bool Open();
    void Close();
    bool Play();
    bool Pause();  // pauses a playing device, and plays a paused one on
    bool Stop();
    bool Next();
    bool Previous();
    bool Step();
    bool Back();
    bool StartRecording();
    bool Eject();
    bool Rewind();

    // ---- Buttons ----
    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet value);
    TButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TButtonSet value);
    TButtonSet ColoredButtons() const { return FColoredButtons; }
    void SetColoredButtons(TButtonSet value);
    bool AutoEnable() const { return FAutoEnable; }
    void SetAutoEnable(bool value);
    // The visible button at client x, or -1 (each visible button is Width / visible count wide).
    int ButtonAt(int x) const;

    // A button was clicked; DoDefault false keeps the player from doing what the button does.
    TMPBtnClickEvent OnClick;
    // After a clicked button's action.
    TMPPostEvent OnPostClick;
    // A command given with notification ended (played to the end, stopped, failed).
    TNotifyEvent OnNotify;
    TMPNotifyValues NotifyValue() const { return FNotifyValue; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;

private:
    // Sends an MCI command to the open device, keeping its error; true when it succeeded.
    bool Command(UINT message, DWORD_PTR flags, void* parameters);
    // Flags that ask for the end notice, or wait, as Wait says.
    DWORD_PTR NotifyOrWait() const;
    void ShowInDisplay();
    void ButtonClicked(TMPBtnType button);
    // The buttons that can be clicked now.
    TButtonSet ClickableButtons() const;
    void Changed();

    std::wstring FFileName;
    TMPDeviceTypes FDeviceType = dtAutoSelect;
    bool FAutoOpen = false;
    bool FAutoRewind = true;
    bool FAutoEnable = true;
    bool FWait = false;
    int FFrames = 0;
    TWinControl* FDisplay = nullptr;
    unsigned FDeviceId = 0;
    unsigned FError = 0;
    TMPNotifyValues FNotifyValue = nvSuccessful;
    TButtonSet FVisibleButtons = AllMediaButtons;
    TButtonSet FEnabledButtons = AllMediaButtons;
    TButtonSet FColoredButtons = AllMediaButtons;
    int FPressed = -1;  // the button a left press began on
    bool FPressedOver = false;
    TMediaGlyphs FGlyphs;
};
