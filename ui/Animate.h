#pragma once
// TAnimate: the common animation control playing a silent AVI clip stored in the program as an "AVI"
// resource. The searching clip (aviFindFile) is the program's own: tools/avigen draws it, and
// ui/res/FindFile.rc puts it into an executable under the name FindFileClipName.
#include "ui/WinControl.h"

#include <string>

inline constexpr const wchar_t* FindFileClipName = L"FINDFILE";

enum TCommonAVI { aviNone, aviFindFile };

class TAnimate : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TAnimate(TComponent* owner);

    // The clip: one of the program's own, or an "AVI" resource of the executable by name.
    TCommonAVI CommonAVI() const { return FCommonAVI; }
    void SetCommonAVI(TCommonAVI value);
    const std::wstring& ResName() const { return FResName; }
    void SetResName(const std::wstring& value);
    // Whether the control has the clip open (its window exists and took the clip).
    bool Opened() const { return FOpened; }

    // Frames are numbered from 1; StopFrame 0 plays to the clip's last frame.
    int StartFrame() const { return FStartFrame; }
    void SetStartFrame(int value);
    int StopFrame() const { return FStopFrame; }
    void SetStopFrame(int value);
    // How often the frames are played; 0 loops until stopped.
    int Repetitions() const { return FRepetitions; }
    void SetRepetitions(int value);

    bool Active() const { return FActive; }
    void SetActive(bool value);
    void Play(int fromFrame, int toFrame, int count);
    void Stop() { SetActive(false); }
    // Shows one frame, stopping the clip.
    void Seek(int frame);

    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    // The clip's background (its top-left pixel's colour) shows the control's colour instead.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void OpenClip();
    bool SendPlay(int fromFrame, int toFrame, int count);

    TCommonAVI FCommonAVI = aviNone;
    std::wstring FResName;
    bool FOpened = false;
    int FStartFrame = 1;
    int FStopFrame = 0;
    int FRepetitions = 0;
    bool FActive = false;
    bool FCenter = true;
    bool FTransparent = true;
};
