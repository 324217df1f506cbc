// Check box and radio button painters on real controls: the cell of the skin's image for each state,
// the cell really on screen where the box is, and clicks that still change the value.
#include "SkinnedForm.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/CustomForm.h"
#include "ui/RadioButton.h"

#include "Pump.h"

#include <gtest/gtest.h>

namespace {

class BoxPainters : public SkinnedForm {
protected:
    BoxPainters() : SkinnedForm({300, 120}) {
        check = new TCheckBox(form);
        check->SetParent(form);
        check->SetBounds(10, 10, 150, 20);
        check->SetCaption(L"Checked All");
        radio = new TRadioButton(form);
        radio->SetParent(form);
        radio->SetBounds(10, 50, 150, 20);
        radio->SetCaption(L"File Only");
        ShowSkinned();
    }

    TSkinCheckBox* PainterOf(TControl* control) {
        return skinner ? dynamic_cast<TSkinCheckBox*>(skinner->PainterOfControl(control)) : nullptr;
    }

    // Whether the control's window shows the image's cell where the box is drawn (ignoring its
    // transparent pixels).
    bool ShowsCell(TWinControl* control, const TBitmap& image, int cells, int cell) {
        control->Repaint();
        Pump(2);
        const int w = image.Width() / cells, h = image.Height();
        RECT r{};
        GetClientRect(control->Handle(), &r);
        const int top = (r.bottom - h) / 2;
        TWindowDC dc(control->Handle(), false);
        HDC source = const_cast<TBitmap&>(image).Canvas()->Handle();
        int compared = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF want = GetPixel(source, (cell - 1) * w + x, y);
                if (want == RGB(255, 0, 255)) continue;
                if (GetPixel(dc.get(), x, top + y) != want) return false;
                ++compared;
            }
        return compared > 0;
    }

    TCheckBox* check = nullptr;
    TRadioButton* radio = nullptr;
};

TEST_F(BoxPainters, EachStateShowsItsCellOfTheSkinsImage) {
    TSkinCheckBox* painter = PainterOf(check);
    ASSERT_NE(painter, nullptr);
    const TBitmap& image = *skin->Buttons->CheckBitmap;
    const int cells = std::max(skin->Buttons->CheckFrameCount, 1);
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(painter->Cell(), 1);
    EXPECT_TRUE(ShowsCell(check, image, cells, 1));

    // A click through the window still ticks it, and the ticked cell is what shows.
    PostMessageW(check->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(check->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(painter->Cell(), 2);
    EXPECT_TRUE(ShowsCell(check, image, cells, 2)) << "the checked cell is not where the box is";

    check->SetEnabled(false);
    EXPECT_EQ(painter->Cell(), 4);  // checked and disabled
    check->SetEnabled(true);
    check->SetAllowGrayed(true);
    check->SetState(cbGrayed);
    EXPECT_EQ(painter->Cell(), cells == 12 ? 9 : 4);
}

TEST_F(BoxPainters, APainterFollowsItsControlToANewWindow) {
    TSkinCheckBox* painter = PainterOf(check);
    ASSERT_NE(painter, nullptr);
    const HWND before = check->Handle();
    check->SetWordWrap(true);  // a style the window is made again for
    ASSERT_NE(check->Handle(), before);
    EXPECT_EQ(PainterOf(check), painter);
    EXPECT_FALSE(painter->Finished());
    EXPECT_EQ(painter->Window(), check->Handle());
    const TBitmap& image = *skin->Buttons->CheckBitmap;
    EXPECT_TRUE(ShowsCell(check, image, std::max(skin->Buttons->CheckFrameCount, 1), 1)) << "the new window is not painted";
    PostMessageW(check->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(check->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(painter->Cell(), 2);
}

TEST_F(BoxPainters, RadioButtonsShowTheirCellAndTakeClicks) {
    TSkinCheckBox* painter = PainterOf(radio);
    ASSERT_NE(painter, nullptr);
    const TBitmap& image = *skin->Buttons->RadioBitmap;
    const int cells = std::max(skin->Buttons->RadioFrameCount, 1);
    EXPECT_EQ(painter->Cell(), 1);
    PostMessageW(radio->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(radio->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(painter->Cell(), cells == 8 ? 5 : 2);
    EXPECT_TRUE(ShowsCell(radio, image, cells, painter->Cell()));
}

}  // namespace
