// The size-box cover: a dialog's size grip or size box (a scroll-bar window that sizes rather than
// scrolls) is found by discovery and left in the skin's face colour, without a system-coloured square;
// a grip shows the skin's grip image.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinSizer.h"
#include "skin/data/SkinData.h"

#include <gtest/gtest.h>

namespace {

class SizerPainter : public SkinnedForm {
protected:
    SizerPainter() : SkinnedForm({300, 200}) { ShowSkinned(); }

    // The pixels of the window that differ from the skin's face colour, with the skin's grip on it
    // when Grip.
    int OffSkin(HWND Wnd, bool Grip) {
        auto shot = TPixels::OfWindow(Wnd);
        TPixels expected(shot->Width(), shot->Height());
        {
            TBitmapDCLock lock(expected.Bitmap());
            SetDCBrushColor(lock.Handle(), ColorToRGB(skin->FaceColor));
            const RECT all{0, 0, shot->Width(), shot->Height()};
            FillRect(lock.Handle(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            if (Grip) DrawSkinGrip(lock.Handle(), *skin, {0, 0, shot->Width(), shot->Height()});
        }
        int count = 0;
        for (int y = 0; y < shot->Height(); ++y)
            for (int x = 0; x < shot->Width(); ++x) count += shot->At(x, y) != expected.At(x, y);
        return count;
    }
};

TEST_F(SizerPainter, SizeBoxesAreCoveredInTheFaceColourAndScrollBarsAreNot) {
    struct TCase {
        const wchar_t* Name;
        DWORD Style;
        bool Sizer;
    };
    const TCase cases[] = {
        {L"size grip", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, true},
        {L"size box", SBS_SIZEBOX, true},
        {L"scroll bar", SBS_HORZ, false},
    };
    ASSERT_FALSE(SkinGripRect(*skin, {0, 0, 20, 20}).IsEmpty()) << "the skin has no grip image";
    int left = 10;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND wnd = AddSystemControl(L"SCROLLBAR", L"", c.Style, TRect::FromBounds(left, 10, 20, 20));
        left += 40;
        const bool grip = (c.Style & SBS_SIZEGRIP) != 0;
        RedrawAll(wnd);
        if (c.Sizer) {
            ASSERT_GT(OffSkin(wnd, grip), 0) << "the system's own look is the skin's already";
        }
        ClassifyChildWindow(*skinner, wnd);
        TControlPainter* painter = skinner->PainterOfWindow(wnd);
        EXPECT_EQ(dynamic_cast<TSkinSizer*>(painter) != nullptr, c.Sizer);
        if (!c.Sizer) continue;
        RedrawAll(wnd);
        EXPECT_EQ(OffSkin(wnd, grip), 0);
    }
}

}  // namespace
