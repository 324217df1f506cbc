// The progress painter on real progress bars, lying and standing, in both shipped skins (one fills with
// the element's second frame, the other with chunks): the fill ends where the position says, at 0
// nothing is filled and at the maximum everything is; a range not starting at 0 fills from its lower
// limit; a marquee bar runs.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinProgress.h"
#include "skin/data/SkinData.h"
#include "ui/ProgressBar.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ProgressPainter : public SkinnedForm, public ::testing::WithParamInterface<const char*> {
protected:
    ProgressPainter() : SkinnedForm({420, 200}) {
        lying = Add(10, 10, 300, 18, pbHorizontal);
        standing = Add(350, 10, 20, 160, pbVertical);
        ShowSkinned(GetParam());
    }
    TProgressBar* Add(int X, int Y, int W, int H, TProgressBarOrientation Orientation) {
        auto* bar = new TProgressBar(form);
        bar->SetParent(form);
        bar->SetBounds(X, Y, W, H);
        bar->SetOrientation(Orientation);
        return bar;
    }
    TSkinProgress* PainterOf(TControl* Control) const {
        return skinner ? dynamic_cast<TSkinProgress*>(skinner->PainterOfControl(Control)) : nullptr;
    }
    // The bar's pixels at Position (range 0 ... 100 unless set).
    static std::unique_ptr<TPixels> ShotAt(TProgressBar* Bar, int Position) {
        Bar->SetPosition(Position);
        RedrawAll(Bar->Handle());
        return TPixels::OfWindow(Bar->Handle());
    }
    // Where a fill of Share (of Whole) ends along Length pixels: chunked skins fill inside the trough's
    // 2-pixel edge.
    int FillEnd(int Length, int Share, int Whole) const {
        const bool chunks = skin->Progress->Style == 1;
        const int inset = chunks ? 2 : 0;
        return inset + MulDiv(Length - 2 * inset, Share, Whole);
    }

    // Whether a pixel of Filled differs from Empty in the stretch of two chunks (a chunked fill shows
    // whole chunks only, with gaps between them) or of 3 pixels that ends before the point (X, Y), going
    // along -DX, -DY.
    bool FilledBefore(TPixels& Filled, TPixels& Empty, int X, int Y, int DX, int DY) const {
        const int reach = skin->Progress->Style == 1 && skin->ProgressChunk ? 2 * skin->ProgressChunk->Bitmap->Width() : 3;
        for (int i = 1; i <= reach; ++i)
            if (Filled.At(X - i * DX, Y - i * DY) != Empty.At(X - i * DX, Y - i * DY)) return true;
        return false;
    }

    TProgressBar* lying = nullptr;
    TProgressBar* standing = nullptr;
};

// Along the lying bar's middle row: filled up to the end the position gives, the empty trough after it.
TEST_P(ProgressPainter, ALyingBarFillsUpToItsPosition) {
    ASSERT_NE(PainterOf(lying), nullptr) << "discovery gave the progress bar no progress painter";
    auto empty = ShotAt(lying, 0);
    const int w = empty->Width(), y = empty->Height() / 2;
    // At 0 the bar is the trough alone: the face colour shows nowhere inside it but at the chunk gap.
    EXPECT_NE(empty->At(w / 2, y), ColorToRGB(skin->FaceColor)) << "no trough drawn";

    for (int position : {40, 73}) {
        SCOPED_TRACE(position);
        auto partial = ShotAt(lying, position);
        const int end = FillEnd(w, position, 100);
        EXPECT_TRUE(FilledBefore(*partial, *empty, end, y, 1, 0)) << "not filled before the end";
        EXPECT_EQ(partial->At(end + 2, y), empty->At(end + 2, y)) << "filled past the end";
        EXPECT_EQ(partial->At(w - 1, y), empty->At(w - 1, y));
    }
    auto full = ShotAt(lying, 100);
    const int last = FillEnd(w, 100, 100);
    EXPECT_TRUE(FilledBefore(*full, *empty, last, y, 1, 0)) << "the full bar is not filled to its end";
    EXPECT_NE(full->At(FillEnd(w, 0, 100) + 1, y), empty->At(FillEnd(w, 0, 100) + 1, y)) << "nor from its start";

    // A range from 50 to 150 at 100 is half full, as the control itself has it.
    lying->SetMax(150);
    lying->SetMin(50);
    auto half = ShotAt(lying, 100);
    const int halfway = FillEnd(w, 50, 100);
    EXPECT_TRUE(FilledBefore(*half, *empty, halfway, y, 1, 0));
    EXPECT_EQ(half->At(halfway + 2, y), empty->At(halfway + 2, y));
}

// A standing bar fills from the bottom up.
TEST_P(ProgressPainter, AStandingBarFillsFromTheBottom) {
    ASSERT_NE(PainterOf(standing), nullptr);
    auto empty = ShotAt(standing, 0);
    const int h = empty->Height(), x = empty->Width() / 2;
    auto partial = ShotAt(standing, 40);
    const int top = h - FillEnd(h, 40, 100);
    EXPECT_TRUE(FilledBefore(*partial, *empty, x, top, 0, -1)) << "not filled below the end";
    EXPECT_EQ(partial->At(x, top - 2), empty->At(x, top - 2)) << "filled above the end";
    EXPECT_EQ(partial->At(x, 0), empty->At(x, 0));
    auto full = ShotAt(standing, 100);
    EXPECT_TRUE(FilledBefore(*full, *empty, x, h - FillEnd(h, 100, 100), 0, -1)) << "the full bar is not filled to its top";
}

TEST_P(ProgressPainter, AMarqueeBarRunsAcrossTheTrough) {
    auto empty = ShotAt(lying, 0);
    lying->SetStyle(pbstMarquee);
    lying->SetMarqueeInterval(20);
    Pump(2);
    TSkinProgress* painter = PainterOf(lying);
    ASSERT_NE(painter, nullptr) << "the painter stays with the bar's new window";
    const int w = empty->Width(), y = empty->Height() / 2;
    const int inset = FillEnd(w, 0, 100), length = w - 2 * inset, block = length / 4;
    const int first = painter->MarqueeStart(length);
    int from = 0, to = 0;
    for (int i = 0; i < 200 && (to - from < 12 || painter->MarqueeStart(length) == first); ++i) {
        Pump(1, 10);
        from = std::max(painter->MarqueeStart(length), 0);
        to = std::min(painter->MarqueeStart(length) + block, length);
    }
    ASSERT_NE(painter->MarqueeStart(length), first) << "the block does not move with the control's ticks";
    ASSERT_GE(to - from, 12);
    // Each tick is painted at once: the screen shows the block where the painter has it now.
    auto shot = TPixels::OfWindow(lying->Handle());
    EXPECT_NE(shot->At(inset + (from + to) / 2, y), empty->At(inset + (from + to) / 2, y)) << "no fill in the block";
    const int outside = from > 12 ? inset + from - 6 : inset + to + 6;
    EXPECT_EQ(shot->At(outside, y), empty->At(outside, y)) << "fill outside the block";
}

TEST_P(ProgressPainter, RepaintingHoldsNoHandles) {
    ASSERT_NE(PainterOf(standing), nullptr);
    int position = 0;
    ExpectHandlesSteady(40, [&] {
        ShotAt(standing, position = (position + 7) % 100);
        ShotAt(lying, position);
    });
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, ProgressPainter, ::testing::Values("default", "graphite"));

}  // namespace
