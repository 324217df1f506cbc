// The track bar painter beside an unskinned twin: drags, clicks and keys move the skinned bar's thumb
// exactly as the twin's; the channel and the thumb are the skin's images (an outline where the skin has
// no thumb image).
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/data/SkinData.h"
#include "ui/TrackBar.h"

#include "Pump.h"
#include "RealMouse.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

class TrackBarPainter : public SkinnedForm {
protected:
    TrackBarPainter() : SkinnedForm({480, 200}) {
        skinned = Add(10, 0);
        twin = Add(250, Unskinned);
    }
    TTrackBar* Add(int X, int Tag) {
        auto* bar = new TTrackBar(form);
        bar->SetParent(form);
        bar->SetBounds(X, 20, 200, 40);
        bar->SetMax(20);
        bar->SetTag(Tag);
        return bar;
    }
    TSkinTrackBar* Painter() const {
        return skinner ? dynamic_cast<TSkinTrackBar*>(skinner->PainterOfControl(skinned)) : nullptr;
    }
    static TRect Thumb(HWND Bar) {
        RECT r{};
        SendMessageW(Bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return TRect::FromRECT(r);
    }
    static POINT OnScreen(HWND Bar, int X, int Y) {
        POINT p{X, Y};
        ClientToScreen(Bar, &p);
        return p;
    }

    TTrackBar* skinned = nullptr;
    TTrackBar* twin = nullptr;
};

TEST_F(TrackBarPainter, DragsClicksAndKeysMoveTheThumbAsOnTheTwin) {
    ShowSkinned("graphite");
    ASSERT_NE(Painter(), nullptr) << "discovery gave the track bar no track bar painter";
    EXPECT_EQ(skinner->PainterOfControl(twin), nullptr);
    struct TAction {
        const char* Name;
        std::function<void(HWND)> Do;
    };
    const TAction actions[] = {
        {"drag the thumb", [](HWND bar) {
             const TRect t = Thumb(bar);
             const POINT from = OnScreen(bar, (t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2);
             MouseDrag(from, {from.x + 70, from.y}, 7);
         }},
        {"click right of the thumb", [](HWND bar) {
             const TRect t = Thumb(bar);
             MouseClick(OnScreen(bar, t.Right + 40, (t.Top + t.Bottom) / 2));
         }},
        {"keys", [](HWND bar) {
             SetFocus(bar);
             PressKey(VK_RIGHT);
             PressKey(VK_NEXT);
         }},
    };
    for (const TAction& action : actions) {
        for (TTrackBar* bar : {skinned, twin}) {
            bar->SetPosition(5);
            Pump(3);
            action.Do(bar->Handle());
            Pump(10);
        }
        EXPECT_NE(twin->Position(), 5) << action.Name << ": the twin's thumb did not move";
        EXPECT_EQ(skinned->Position(), twin->Position()) << action.Name;
    }
}

TEST_F(TrackBarPainter, TheChannelAndTheThumbAreTheSkinsImages) {
    ShowSkinned("graphite");
    ASSERT_NE(Painter(), nullptr);
    ASSERT_TRUE(skin->TrackbarThumbHorz && !skin->TrackbarThumbHorz->Bitmap->Empty());
    const HWND bar = skinned->Handle();
    skinned->SetPosition(0);
    RedrawAll(bar);
    auto shot = TPixels::OfWindow(bar);

    // The thumb: cell 2 of the thumb image stretched over the thumb.
    const TRect thumb = Thumb(bar);
    TPixels expectedThumb(thumb.Width(), thumb.Height());
    {
        TBitmapDCLock lock(expectedThumb.Bitmap());
        DrawSkinFrame(lock.Handle(), {0, 0, thumb.Width(), thumb.Height()}, *skin->TrackbarThumbHorz->Bitmap, false, 5, 2);
    }
    for (POINT p : {POINT{thumb.Width() / 2, thumb.Height() / 2}, POINT{thumb.Width() / 2, 2}})
        EXPECT_EQ(shot->At(thumb.Left + p.x, thumb.Top + p.y), expectedThumb.At(p.x, p.y)) << p.x << "," << p.y;

    // The channel: the track image's middle, centred on the channel's middle line.
    RECT c{};
    SendMessageW(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    TBitmap& track = *skin->Track->Bitmap;
    const int y = c.top + (c.bottom - c.top - track.Height()) / 2 + track.Height() / 2;
    EXPECT_EQ(shot->At((c.left + c.right) / 2, y), ColorToRGB(track.Canvas()->Pixel(track.Width() / 2, track.Height() / 2)));
    // Around the channel and the ticks the bar shows the skin's face.
    EXPECT_EQ(shot->At(2, 2), ColorToRGB(skin->FaceColor));

    // A standing bar: its channel is the standing image's middle, centred on the channel's line.
    skinned->SetOrientation(trVertical);
    skinned->SetBounds(10, 20, 40, 150);
    Pump(2);
    ASSERT_EQ(Painter(), skinner->PainterOfControl(skinned)) << "the painter stays with the bar's new window";
    RedrawAll(skinned->Handle());
    auto standing = TPixels::OfWindow(skinned->Handle());
    SendMessageW(skinned->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    TRect channel = TRect::FromRECT(c);
    if (channel.Width() > channel.Height()) channel = {c.top, c.left, c.bottom, c.right};
    TBitmap& trackVert = *skin->TrackVert->Bitmap;
    const int x = channel.Left + (channel.Width() - trackVert.Width()) / 2 + trackVert.Width() / 2;
    EXPECT_EQ(standing->At(x, channel.Top + channel.Height() / 4),
              ColorToRGB(trackVert.Canvas()->Pixel(trackVert.Width() / 2, trackVert.Height() / 2)));
}

TEST_F(TrackBarPainter, WithoutAThumbImageTheThumbIsAnOutline) {
    ShowSkinned("default");
    ASSERT_NE(Painter(), nullptr);
    ASSERT_TRUE(!skin->TrackbarThumbHorz || skin->TrackbarThumbHorz->Bitmap->Empty());
    const HWND bar = skinned->Handle();
    RedrawAll(bar);
    auto shot = TPixels::OfWindow(bar);
    const TRect thumb = Thumb(bar);
    const COLORREF shadow = ColorToRGB(skin->ButtonShadowColor);
    EXPECT_EQ(shot->At(thumb.Left, thumb.Top), shadow);
    EXPECT_EQ(shot->At(thumb.Right - 1, thumb.Bottom - 1), shadow);
    EXPECT_EQ(shot->At((thumb.Left + thumb.Right) / 2, thumb.Top), shadow);
}

}  // namespace
