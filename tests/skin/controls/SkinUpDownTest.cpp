// The spin painter on real up-down controls with real clicks and keys: the bounds still hold, the
// skin's images (or the plain arrows of a skin without them) show each arrow's state, a spin edit's
// arrows are skinned inside its frame only when the skin's gate lets them, and nothing leaks.
#include "SkinnedForm.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "ui/Edit.h"
#include "ui/SpinEdit.h"
#include "ui/UpDown.h"

#include "Keys.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

COLORREF Pixel(HWND wnd, int x, int y) {
    TWindowDC dc(wnd);
    return GetPixel(dc.get(), x, y);
}

class SpinPainter : public SkinnedForm {
protected:
    SpinPainter() : SkinnedForm({320, 200}) {
        count = new TEdit(form);
        count->SetParent(form);
        count->SetBounds(10, 10, 80, 21);
        spin = new TUpDown(form);
        spin->SetParent(form);
        spin->SetMin(0);
        spin->SetMax(5);
        spin->SetPosition(4);
        spin->SetAssociate(count);
        spin->OnClick = [this](TObject*, TUDBtnType button) { clicks.push_back(button); };
        spin->OnChanging = [this](TObject*, bool& allow) { allow = allowChange; };
        spinEdit = new TSpinEdit(form);
        spinEdit->SetParent(form);
        spinEdit->SetBounds(10, 60, 80, 22);
    }

    TSkinUpDown* Painter() const {
        return skinner ? dynamic_cast<TSkinUpDown*>(skinner->PainterOfControl(spin)) : nullptr;
    }
    RECT Client() const {
        RECT r{};
        GetClientRect(spin->WindowHandle(), &r);
        return r;
    }
    // A point inside the up (First) or down arrow.
    POINT ArrowPoint(TSpinArrow arrow) const {
        const RECT r = Client();
        return {r.right / 2, arrow == saFirst ? r.bottom / 4 : r.bottom * 3 / 4};
    }
    // The pointer put on the arrow and the button pressed there (kept down until Release).
    void Press(TSpinArrow arrow) {
        POINT at = ArrowPoint(arrow), screen = at;
        ClientToScreen(spin->WindowHandle(), &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(spin->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    void Release(TSpinArrow arrow) {
        const POINT at = ArrowPoint(arrow);
        SendMessageW(spin->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        Pump(2);
    }
    void ClickArrow(TSpinArrow arrow) {
        Press(arrow);
        Release(arrow);
    }

    // Whether the half shows the glyph image's frame, unscaled and centred, where it is not transparent.
    bool ShowsGlyph(TSpinArrow arrow, TBitmap& glyphs, int frames, int frame) {
        const RECT r = Client();
        const int split = r.bottom / 2;
        const TRect half = arrow == saFirst ? TRect{0, 0, r.right, split} : TRect{0, split, r.right, r.bottom};
        const int w = glyphs.Width() / frames, h = glyphs.Height();
        const int left = half.Left + (half.Width() - w) / 2, top = half.Top + (half.Height() - h) / 2;
        TWindowDC dc(spin->WindowHandle());
        HDC source = glyphs.Canvas()->Handle();
        int compared = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF want = GetPixel(source, (frame - 1) * w + x, y);
                if (want == RGB(255, 0, 255) || !half.Contains({left + x, top + y})) continue;
                if (GetPixel(dc.get(), left + x, top + y) != want) return false;
                ++compared;
            }
        return compared > 0;
    }

    TEdit* count = nullptr;
    TUpDown* spin = nullptr;
    TSpinEdit* spinEdit = nullptr;
    std::vector<TUDBtnType> clicks;
    bool allowChange = true;
};

TEST_F(SpinPainter, TheBoundsHoldForClicksAndArrowKeys) {
    ShowSkinned();
    ASSERT_NE(Painter(), nullptr) << "discovery gave the up-down no spin painter";
    ClickArrow(saFirst);
    EXPECT_EQ(spin->Position(), 5);
    EXPECT_EQ(count->Text(), L"5");
    ClickArrow(saFirst);
    EXPECT_EQ(spin->Position(), 5) << "a click went past Max";
    EXPECT_EQ(clicks, std::vector<TUDBtnType>{btNext});

    allowChange = false;
    ClickArrow(saSecond);
    EXPECT_EQ(spin->Position(), 5) << "OnChanging could not refuse the step";
    allowChange = true;
    ClickArrow(saSecond);
    EXPECT_EQ(spin->Position(), 4);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev}));

    // The arrow keys in the associate step it too, and stop at Min.
    count->SetFocus();
    Pump(2);
    for (int i = 0; i < 6; ++i) TypeKey(count->Handle(), VK_DOWN);
    EXPECT_EQ(spin->Position(), 0);
    EXPECT_EQ(count->Text(), L"0");
    TypeKey(count->Handle(), VK_UP);
    EXPECT_EQ(spin->Position(), 1);
}

// The shipped default skin has no up-down images: boxes in its colours, the pressed one darker.
TEST_F(SpinPainter, WithoutSkinImagesThePressedArrowIsTheDarkerBox) {
    ShowSkinned();
    ASSERT_FALSE(skin->UpDownVert) << "the default skin has up-down images now; this test wants one without";
    TSkinUpDown* painter = Painter();
    ASSERT_NE(painter, nullptr);
    const HWND wnd = spin->WindowHandle();
    RedrawAll(wnd);
    const COLORREF face = ColorToRGB(skin->FaceColor), pressed = ColorToRGB(skin->ButtonShadowColor);
    EXPECT_EQ(Pixel(wnd, 0, 0), ColorToRGB(skin->ButtonDkShadowColor));
    const int bottom = Client().bottom;
    EXPECT_EQ(Pixel(wnd, 2, 2), face);
    Press(saFirst);
    EXPECT_EQ(painter->ArrowState(saFirst), asPressed);
    EXPECT_EQ(painter->ArrowState(saSecond), asNormal);
    EXPECT_EQ(Pixel(wnd, 2, 2), pressed);
    EXPECT_EQ(Pixel(wnd, 2, bottom - 3), face);
    Release(saFirst);
    EXPECT_EQ(Pixel(wnd, 2, 2), face);

    spin->SetEnabled(false);
    EXPECT_EQ(painter->ArrowState(saFirst), asDisabled);
    EXPECT_EQ(painter->ArrowState(saSecond), asDisabled);
}

// The graphite skin has them: each arrow shows its own frame of the glyph image, the pressed one frame 2.
TEST_F(SpinPainter, SkinImagesShowEachArrowsFrame) {
    ShowSkinned("graphite");
    ASSERT_TRUE(skin->UpDownVert && !skin->UpDownVert->Bitmap2->Empty());
    ASSERT_NE(Painter(), nullptr);
    TBitmap& glyphs = *skin->UpDownVert->Bitmap2;
    const int frames = std::max(skin->UpDownVert->FrameCount, 1);
    RedrawAll(spin->WindowHandle());
    EXPECT_TRUE(ShowsGlyph(saFirst, glyphs, frames, asNormal));
    EXPECT_TRUE(ShowsGlyph(saSecond, glyphs, frames, asNormal + 4));
    Press(saSecond);
    EXPECT_TRUE(ShowsGlyph(saSecond, glyphs, frames, asPressed + 4));
    EXPECT_TRUE(ShowsGlyph(saFirst, glyphs, frames, asNormal));
    Release(saSecond);
    EXPECT_TRUE(ShowsGlyph(saSecond, glyphs, frames, asNormal + 4));
}

TEST_F(SpinPainter, ASpinEditsArrowsAreSkinnedInsideItsFrameOnlyThroughTheGate) {
    ShowSkinned();
    const HWND arrows = spinEdit->UpDownHandle();
    ASSERT_NE(arrows, nullptr);
    RedrawAll(spinEdit->Handle());
    EXPECT_EQ(SendMessageW(arrows, WM_SKINQUERY, 0, 0), 1) << "the spin edit's arrows were not skinned";
    auto* embedded = dynamic_cast<TSkinUpDown*>(skinner->PainterOfWindow(arrows));
    ASSERT_NE(embedded, nullptr);
    EXPECT_TRUE(embedded->Embedded());
    // The edit's client edge is 2 pixels: the arrows start a row lower, clear of its 3-pixel frame.
    RECT r{};
    GetClientRect(arrows, &r);
    EXPECT_EQ(Pixel(arrows, r.right / 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(arrows, r.right / 2, 1), ColorToRGB(skin->ButtonDkShadowColor));

    // Another spin edit under a skin that leaves spins alone keeps its own arrows.
    skin->SetSkinControls(skin->SkinControls() & ~SkinBit(xcSpin));
    auto* other = new TSpinEdit(form);
    other->SetParent(form);
    other->SetBounds(120, 60, 80, 22);
    (new TSkinEdit(other))->Attach(*skinner, *skin, false, nullptr);
    RedrawAll(other->Handle());
    EXPECT_EQ(SendMessageW(other->UpDownHandle(), WM_SKINQUERY, 0, 0), 0);
    skin->SetSkinControls(skin->SkinControls() | SkinBit(xcSpin));
    RedrawAll(other->Handle());
    EXPECT_EQ(SendMessageW(other->UpDownHandle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SpinPainter, PressesAndRepaintsHoldNoHandlesAndDetachGivesTheSpinBack) {
    ShowSkinned();
    TSkinUpDown* painter = Painter();
    ASSERT_NE(painter, nullptr);
    const HWND wnd = spin->WindowHandle();
    ExpectHandlesSteady(100, [&] {
        ClickArrow(saSecond);
        ClickArrow(saFirst);
        RedrawAll(wnd);
        RedrawAll(spinEdit->Handle());
    });
    EXPECT_EQ(spin->Position(), 4);

    painter->Detach();
    delete painter;
    EXPECT_EQ(spin->Perform(WM_SKINQUERY), 0);
    ClickArrow(saFirst);
    EXPECT_EQ(spin->Position(), 5) << "the spin does not step by itself any more";
}

}  // namespace
