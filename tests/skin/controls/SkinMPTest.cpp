// The media player under the skin: the panel over the player draws its buttons on the skin's frames,
// follows the player, and hands presses and releases on to it, so that clicks through the skin do
// what they do on an unskinned twin, down to playing a clip.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinMP.h"
#include "skin/data/SkinData.h"
#include "ui/MediaPlayer.h"

#include "Pump.h"
#include "RealMouse.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr TButtonSet PlayAndStop = ButtonBit(TMPBtnType::btPlay) | ButtonBit(TMPBtnType::btStop);

class MediaPlayerPainter : public SkinnedForm {
protected:
    MediaPlayerPainter() : SkinnedForm({420, 200}) {
        skinned = AddPlayer(10);
        twin = AddPlayer(220);
        twin->SetTag(Unskinned);
    }
    TMediaPlayer* AddPlayer(int X) {
        auto* player = new TMediaPlayer(form);
        player->SetParent(form);
        player->SetBounds(X, 20, 150, 30);
        player->SetAutoEnable(false);
        player->SetVisibleButtons(PlayAndStop);
        player->SetEnabledButtons(ButtonBit(TMPBtnType::btPlay));
        player->OnClick = [this](TObject* sender, TMPBtnType button, bool& doDefault) {
            clicks[sender].push_back(button);
            doDefault = playing;
        };
        return player;
    }
    TSkinMP* Painter() const { return dynamic_cast<TSkinMP*>(skinner->PainterOfControl(skinned)); }
    TWMediaPlayer* Panel() const { return Painter() ? Painter()->Panel() : nullptr; }
    // The middle of the player's visible button Index (of Count), on screen.
    static POINT ButtonCentre(TControl* Player, int Index, int Count) {
        POINT p{Player->Width() / Count * Index + Player->Width() / Count / 2, Player->Height() / 2};
        ClientToScreen(dynamic_cast<TWinControl*>(Player)->Handle(), &p);
        return p;
    }
    // The panel's visible button Index (of Count) shows the skin's frame Frame at the middles of its edges.
    void ExpectButtonFrame(int Index, int Count, int Frame) {
        const HWND panel = Panel()->Handle();
        RedrawAll(panel);
        auto shot = TPixels::OfWindow(panel);
        const int width = Panel()->Width() / Count, height = Panel()->Height();
        auto expected = TPixels::OfElement(*skin->Buttons, width, height, Frame, skin->FaceColor);
        for (POINT p : {POINT{width / 2, 0}, POINT{width / 2, height - 1}, POINT{0, height / 2}, POINT{width - 1, height / 2}})
            EXPECT_EQ(shot->At(Index * width + p.x, p.y), expected->At(p.x, p.y))
                << "button " << Index << ", frame " << Frame << ", at " << p.x << "," << p.y;
    }

    TMediaPlayer* skinned = nullptr;
    TMediaPlayer* twin = nullptr;
    std::map<TObject*, std::vector<TMPBtnType>> clicks;
    bool playing = false;  // whether a click does what its button does
};

TEST_F(MediaPlayerPainter, ThePanelCoversThePlayerAndFollowsIt) {
    ShowSkinned();
    ASSERT_NE(Panel(), nullptr);
    EXPECT_EQ(skinner->PainterOfControl(twin), nullptr);
    TWMediaPlayer* panel = Panel();
    auto expectOver = [&] {
        EXPECT_EQ(panel->BoundsRect(), skinned->BoundsRect());
        EXPECT_EQ(GetParent(panel->Handle()), GetParent(skinned->Handle()));
        EXPECT_EQ(GetWindow(skinned->Handle(), GW_HWNDPREV), panel->Handle()) << "not directly above the player";
    };
    expectOver();
    EXPECT_EQ(panel->Tag(), skin->DisableTag());
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    skinned->SetBounds(30, 60, 180, 36);
    Pump(2);
    expectOver();
    skinned->SetVisible(false);
    Pump(2);
    EXPECT_FALSE(IsWindowVisible(panel->Handle()));
    skinned->SetVisible(true);
    Pump(2);
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    // The panel's buttons are the player's: each as wide as the panel over the visible count, ends inclusive.
    struct {
        int X, Button;
    } hits[] = {{0, 0}, {90, 0}, {91, 2}, {180, 2}, {181, TWMediaPlayer::NoButton}, {-1, TWMediaPlayer::NoButton}};
    for (auto hit : hits) EXPECT_EQ(panel->ButtonAt(hit.X), hit.Button) << "x " << hit.X;

    // Skinning ends: the panel goes, the player is itself again.
    skin->SetActive(false);
    SkinManager->ApplyChange();
    Pump(2);
    EXPECT_EQ(FindWindowExW(form->Handle(), nullptr, L"TWMediaPlayer", nullptr), nullptr) << "the panel stayed";
}

TEST_F(MediaPlayerPainter, ButtonsAreDrawnOnTheSkinsFramesForTheirState) {
    ShowSkinned();
    ASSERT_NE(Panel(), nullptr);
    ExpectButtonFrame(0, 2, 1);  // play: enabled
    ExpectButtonFrame(1, 2, 3);  // stop: disabled
    MouseTo(ButtonCentre(skinned, 0, 2));
    MouseDown();
    Pump(5);
    EXPECT_TRUE(Panel()->Pressed());
    ExpectButtonFrame(0, 2, 2);
    MouseUp();
    Pump(5);
    ExpectButtonFrame(0, 2, 1);
    // The player's button sets are read at every paint.
    skinned->SetEnabledButtons(PlayAndStop);
    Pump(5);
    ExpectButtonFrame(1, 2, 1);

    // No visible button: a plain face-coloured panel.
    skinned->SetVisibleButtons(0);
    RedrawAll(Panel()->Handle());
    auto shot = TPixels::OfWindow(Panel()->Handle());
    EXPECT_TRUE(shot->BoundsOf(ColorToRGB(skin->FaceColor), {0, 0, shot->Width(), shot->Height()}, 0) ==
                (TRect{0, 0, shot->Width(), shot->Height()}));
}

TEST_F(MediaPlayerPainter, ClicksThroughThePanelReachThePlayerAsOnTheTwin) {
    ShowSkinned();
    ASSERT_NE(Panel(), nullptr);
    for (TMediaPlayer* player : {skinned, twin}) {
        SCOPED_TRACE(player == skinned ? "skinned" : "twin");
        player->SetEnabledButtons(PlayAndStop);
        MouseClick(ButtonCentre(player, 0, 2));
        Pump(5);
        // Pressed on play, released over stop: the press reaches the player, the release does not.
        MouseDrag(ButtonCentre(player, 0, 2), ButtonCentre(player, 1, 2), 4);
        Pump(5);
        // A disabled button takes no click.
        player->SetEnabledButtons(ButtonBit(TMPBtnType::btPlay));
        MouseClick(ButtonCentre(player, 1, 2));
        Pump(5);
        MouseClick(ButtonCentre(player, 1, 2));
        Pump(5);
        EXPECT_EQ(clicks[player], std::vector<TMPBtnType>{TMPBtnType::btPlay});
    }
    EXPECT_FALSE(Panel()->Pressed());
    EXPECT_EQ(Panel()->PressedButton(), TWMediaPlayer::NoButton);
}

TEST_F(MediaPlayerPainter, TheSkinnedButtonsPlayAndStopAClip) {
    ShowSkinned();
    ASSERT_NE(Panel(), nullptr);
    playing = true;
    skinned->SetAutoEnable(true);
    skinned->SetFileName(CLARIVO_CLIP_FILE);
    ASSERT_TRUE(skinned->Open()) << skinned->ErrorMessage() << " (" << skinned->Error() << ")";
    EXPECT_EQ(skinned->EnabledButtons() & PlayAndStop, ButtonBit(TMPBtnType::btPlay)) << "stopped: play only";
    ExpectButtonFrame(1, 2, 3);
    MouseClick(ButtonCentre(skinned, 0, 2));
    Pump(5);
    EXPECT_EQ(skinned->Mode(), mpPlaying);
    EXPECT_EQ(skinned->EnabledButtons() & PlayAndStop, ButtonBit(TMPBtnType::btStop)) << "playing: stop, not play";
    ExpectButtonFrame(0, 2, 3);
    ExpectButtonFrame(1, 2, 1);
    MouseClick(ButtonCentre(skinned, 1, 2));
    Pump(5);
    EXPECT_EQ(skinned->Mode(), mpStopped);
    EXPECT_EQ(clicks[skinned], (std::vector<TMPBtnType>{TMPBtnType::btPlay, TMPBtnType::btStop}));
    skinned->Close();
    EXPECT_EQ(skinned->EnabledButtons(), 0) << "no device, no button";
    EXPECT_FALSE(skinned->Play());
}

TEST_F(MediaPlayerPainter, SkinSwitchesHoldNoHandles) {
    ShowSkinned();
    ASSERT_NE(Panel(), nullptr);
    ExpectHandlesSteady(20, [&] {
        skin->SetActive(false);
        SkinManager->ApplyChange();
        skin->SetActive(true);
        SkinManager->ApplyChange();
        Pump(1);
    });
    // Skinning again made a new window skinner.
    skinner = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(Panel(), nullptr);
    EXPECT_EQ(GetWindow(skinned->Handle(), GW_HWNDPREV), Panel()->Handle());
}

}  // namespace
