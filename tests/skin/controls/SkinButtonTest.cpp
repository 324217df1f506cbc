// The button painters on real controls with real mouse messages: a glyph button of the main window's kind
// (windowless, painted by its parent) through hover, press, release and disabled, checked by its pixels;
// and the glyph layout's arithmetic.
#include "SkinnedForm.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinButton.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/SpeedButton.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GlyphLayout, MarginAndSpacingShareWhatIsLeft) {
    struct TCase {
        TGlyphSide Side;
        int Client, Glyph, Text, Margin, Spacing;
        bool Centred, Speed;
        TGlyphPlacement Expected;
    };
    const TCase cases[] = {
        {gsLeft, 100, 16, 30, -1, -1, false, false, {18, 52}},   // margin and spacing both 18
        {gsLeft, 100, 16, 30, -1, 4, false, false, {25, 45}},    // centred together with the spacing kept
        {gsLeft, 100, 16, 30, -1, 4, false, true, {26, 46}},     // a speed button sits one pixel further
        {gsLeft, 100, 16, 30, 5, -1, false, false, {5, 45}},     // the spacing takes half of what is left
        {gsRight, 100, 16, 30, 5, 4, false, false, {79, 45}},
        {gsTop, 60, 16, 12, 4, 2, false, false, {4, 22}},
        {gsBottom, 60, 16, 12, 4, 2, false, false, {40, 26}},
        {gsLeft, 100, 16, 0, -1, 4, false, false, {42, 58}},     // no caption: no spacing either
        {gsLeft, 100, 16, 30, 5, 4, true, false, {25, 45}},      // centred alignment overrides the margin
    };
    for (const TCase& c : cases) {
        const TGlyphPlacement at = PlaceGlyph(c.Side, c.Client, c.Glyph, c.Text, c.Margin, c.Spacing, c.Centred, c.Speed);
        EXPECT_EQ(at.Glyph, c.Expected.Glyph) << c.Side << " " << c.Margin << " " << c.Spacing;
        EXPECT_EQ(at.Text, c.Expected.Text) << c.Side << " " << c.Margin << " " << c.Spacing;
    }
}

class GlyphButton : public SkinnedForm {
protected:
    GlyphButton() : SkinnedForm({300, 120}) {
        button = new TSpeedButton(form);
        button->SetParent(form);
        button->SetBounds(20, 20, 100, 40);
        button->SetCaption(L"Go");
        // A green square on the magenta its bottom-left pixel names transparent.
        TBitmap glyph;
        glyph.SetPixelFormat(pf24bit);
        glyph.SetSize(16, 16);
        glyph.Canvas()->Brush()->SetColor(clFuchsia);
        glyph.Canvas()->FillRect({0, 0, 16, 16});
        glyph.Canvas()->Brush()->SetColor(0x00FF00);
        glyph.Canvas()->FillRect({4, 4, 12, 12});
        button->SetGlyph(&glyph);
        button->OnClick = [this](TObject*) { ++clicks; };
        ShowSkinned();
    }

    // The button's pixels as they are on screen.
    std::vector<COLORREF> Pixels() {
        form->Repaint();
        Pump(2);
        TWindowDC dc(form->Handle(), false);
        std::vector<COLORREF> pixels;
        for (int y = 20; y < 60; ++y)
            for (int x = 20; x < 120; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        return pixels;
    }
    static bool Has(const std::vector<COLORREF>& pixels, COLORREF colour) {
        return std::find(pixels.begin(), pixels.end(), colour) != pixels.end();
    }
    void Mouse(UINT msg, WPARAM keys = 0) {
        PostMessageW(form->Handle(), msg, keys, MAKELPARAM(70, 40));
        Pump(3);
    }

    TSpeedButton* button = nullptr;
    int clicks = 0;
};

TEST_F(GlyphButton, IsDrawnFromTheSkinInEveryStateAndStillClicks) {
    ASSERT_EQ(button->Perform(WM_SKINQUERY), 1) << "the glyph button has no painter";
    const std::vector<COLORREF> normal = Pixels();
    EXPECT_TRUE(Has(normal, RGB(0, 255, 0))) << "the glyph is not drawn";
    EXPECT_FALSE(Has(normal, RGB(255, 0, 255))) << "the glyph's key colour shows";

    Mouse(WM_MOUSEMOVE);
    const std::vector<COLORREF> hot = Pixels();
    EXPECT_NE(hot, normal) << "hover shows no other frame";
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON);
    const std::vector<COLORREF> pressed = Pixels();
    EXPECT_NE(pressed, hot) << "the press shows no other frame";
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(clicks, 1);

    button->SetEnabled(false);
    const std::vector<COLORREF> disabled = Pixels();
    EXPECT_FALSE(Has(disabled, RGB(0, 255, 0))) << "a disabled glyph is not grey";
}

// A system dialog's push button: the painter shows each state, clicks on a release inside only, and
// the keyboard still works through the button's own handling.
class DialogButton : public SkinnedForm {
protected:
    static constexpr int Id = 101;
    DialogButton() : SkinnedForm({300, 120}) {
        ShowSkinned();
        button = AddSystemControl(L"BUTTON", L"&Apply", BS_PUSHBUTTON | WS_TABSTOP, TRect::FromBounds(20, 20, 100, 30), Id);
        painter = AttachPainter<TSkinButton>(button);
        SetWindowSubclass(form->Handle(), CountCommands, 1, reinterpret_cast<DWORD_PTR>(&commands));
    }
    ~DialogButton() override { RemoveWindowSubclass(form->Handle(), CountCommands, 1); }

    static LRESULT CALLBACK CountCommands(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
        if (msg == WM_COMMAND && LOWORD(wParam) == Id && HIWORD(wParam) == BN_CLICKED) ++*reinterpret_cast<int*>(count);
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    std::vector<COLORREF> Pixels() {
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(2);
        TWindowDC dc(button, false);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        return pixels;
    }
    void Send(UINT msg, WPARAM wParam = 0) {
        SendMessageW(button, msg, wParam, MAKELPARAM(50, 15));
        Pump(2);
    }

    HWND button = nullptr;
    TSkinButton* painter = nullptr;
    int commands = 0;
};

TEST_F(DialogButton, EachStateShowsItsFrameAndOnlyAReleaseInsideClicks) {
    ASSERT_NE(skinner, nullptr);
    const std::vector<COLORREF> normal = Pixels();
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(painter->MouseState(), msHot);
    const std::vector<COLORREF> hot = Pixels();
    EXPECT_NE(hot, normal);
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(GetFocus(), button) << "a press takes the focus";
    const std::vector<COLORREF> pressed = Pixels();
    EXPECT_NE(pressed, hot);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(commands, 1);

    // Pressed, then the pointer leaves: the release elsewhere is no click.
    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(painter->MouseState(), 0);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(commands, 1);

    // Space shows the press and the button's own handling clicks on its release.
    SetFocus(button);
    Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(painter->MouseState() & msPressed, msPressed);
    Send(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(painter->MouseState() & msPressed, 0);
    EXPECT_EQ(commands, 2);

    // Disabled: its own frame, and the mouse does not make it hot.
    Send(WM_MOUSELEAVE);
    EnableWindow(button, FALSE);
    const std::vector<COLORREF> disabled = Pixels();
    EXPECT_NE(disabled, normal);
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(painter->MouseState() & msHot, 0);
}

}  // namespace
