// The size-box cover: a dialog's size grip (a scroll-bar window that sizes rather than scrolls) is
// found by discovery and left in the skin's face colour, without a system-coloured square.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinSizer.h"
#include "skin/data/SkinData.h"

#include <gtest/gtest.h>

namespace {

class SizerPainter : public SkinnedForm {
protected:
    SizerPainter() : SkinnedForm({300, 200}) { ShowSkinned(); }

    // The pixels of the window that are not the skin's face colour.
    int OffFace(HWND Wnd) {
        auto shot = TPixels::OfWindow(Wnd);
        int count = 0;
        for (int y = 0; y < shot->Height(); ++y)
            for (int x = 0; x < shot->Width(); ++x) count += shot->At(x, y) != ColorToRGB(skin->FaceColor);
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
    int left = 10;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND wnd = AddSystemControl(L"SCROLLBAR", L"", c.Style, TRect::FromBounds(left, 10, 20, 20));
        left += 40;
        RedrawAll(wnd);
        if (c.Sizer) {
            ASSERT_GT(OffFace(wnd), 0) << "the system's own look is the face colour already";
        }
        ClassifyChildWindow(*skinner, wnd);
        TControlPainter* painter = skinner->PainterOfWindow(wnd);
        EXPECT_EQ(dynamic_cast<TSkinSizer*>(painter) != nullptr, c.Sizer);
        if (!c.Sizer) continue;
        RedrawAll(wnd);
        EXPECT_EQ(OffFace(wnd), 0);
    }
}

}  // namespace
