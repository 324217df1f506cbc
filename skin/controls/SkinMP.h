#pragma once
// The media player under the skin: TSkinMP puts a panel of its own, TWMediaPlayer, directly over the
// player. The panel draws the player's visible buttons on the skin's button frames with the player's
// glyphs, and hands presses and releases to the player, which does what the button does. The panel
// follows the player's place and visibility, and reads the player's button sets at every paint.
#include "skin/controls/SkinControl.h"
#include "ui/MediaPlayer.h"
#include "ui/WinControl.h"

#include <memory>

class TSkinMP;

class TWMediaPlayer : public TWinControl {
public:
    CLARIVO_CLASS
    static constexpr int NoButton = 9;

    TWMediaPlayer(TComponent* owner, TSkinData& SkinData, TControl& Player);

    // The visible button at client x (table order, each panel width / visible count wide, span ends
    // inclusive), or NoButton.
    int ButtonAt(int x) const;
    int PressedButton() const { return FPressedButton; }
    bool Pressed() const { return FPressed; }
    void SetSkinData(TSkinData& SkinData) { FSkinData = &SkinData; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;

private:
    struct TButtonSets {
        TButtonSet Visible, Enabled, Coloured;
    };
    // The player's VisibleButtons, EnabledButtons and ColoredButtons, read now.
    TButtonSets ReadButtons() const;
    HWND PlayerWindow() const;

    TSkinData* FSkinData;
    TControl& FPlayer;
    TMediaGlyphs FGlyphs;
    bool FPressed = false;
    int FPressedButton = NoButton;
};

class TSkinMP : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;
    ~TSkinMP() override;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void Detach() override;
    void Reskin() override;

    TWMediaPlayer* Panel() const { return FPanel.get(); }

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void SkinSwitched() override;

private:
    // The panel over the player: the player's bounds, parent and visibility, directly above it.
    void PlacePanel();
    std::unique_ptr<TWMediaPlayer> FPanel;
};
