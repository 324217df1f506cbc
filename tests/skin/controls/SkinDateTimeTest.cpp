// The date picker painter on real pickers: the skin's frame and its own arrow button from the skin's
// combo arrow, hover on the button, the calendar still opened by a press on it (a full click reaches
// the picker) and a day chosen in it closing it, a time picker left without the button, and a
// detached picker given back as it was.
#include "SkinnedForm.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "ui/DateTimePicker.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

COLORREF Pixel(HWND wnd, int x, int y) {
    TWindowDC dc(wnd);
    return GetPixel(dc.get(), x, y);
}

class DatePainter : public SkinnedForm {
protected:
    DatePainter() : SkinnedForm({320, 200}) {
        date = new TDateTimePicker(form);
        date->SetParent(form);
        date->SetBounds(10, 10, 160, 24);
        date->SetDateTime(EncodeDate(2026, 12, 11));
        date->OnDropDown = [this](TObject*) { ++dropDowns; };
        date->OnCloseUp = [this](TObject*) { ++closeUps; };
        time = new TDateTimePicker(form);
        time->SetParent(form);
        time->SetKind(dtkTime);
        time->SetBounds(10, 50, 160, 24);
        ShowSkinned();
    }

    TSkinDateTime* PainterOf(TControl* control) const {
        return skinner ? dynamic_cast<TSkinDateTime*>(skinner->PainterOfControl(control)) : nullptr;
    }

    // How many of the button's pixels are the combo arrow's cell stretched over it.
    int PixelsOfCell(TArrowButton& arrow, int cell) {
        TDataSkinObject& element = *skin->ComboArrow;
        RECT r{};
        GetClientRect(arrow.Handle(), &r);
        TBitmap expected;
        expected.SetPixelFormat(pf24bit);
        expected.SetSize(r.right, r.bottom);
        const int frames = std::max(element.FrameCount, 1), w = element.Bitmap->Width() / frames;
        SetStretchBltMode(expected.Canvas()->Handle(), COLORONCOLOR);
        StretchBlt(expected.Canvas()->Handle(), 0, 0, r.right, r.bottom, element.Bitmap->Canvas()->Handle(), (cell - 1) * w, 0,
                   w, element.Bitmap->Height(), SRCCOPY);
        TWindowDC dc(arrow.Handle(), false);
        int same = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x)
                same += GetPixel(dc.get(), x, y) == GetPixel(expected.Canvas()->Handle(), x, y) ? 1 : 0;
        return same;
    }

    TDateTimePicker* date = nullptr;
    TDateTimePicker* time = nullptr;
    int dropDowns = 0;
    int closeUps = 0;
};

TEST_F(DatePainter, TheFrameAndButtonComeFromTheSkinAndTheButtonTurnsHot) {
    TSkinDateTime* painter = PainterOf(date);
    ASSERT_NE(painter, nullptr) << "discovery gave the picker no date painter";
    ASSERT_NE(painter->Arrow(), nullptr);
    ASSERT_TRUE(skin->ComboArrow && !skin->ComboArrow->Bitmap->Empty());
    form->SetFocus();
    RedrawAll(date->Handle());
    EXPECT_EQ(Pixel(date->Handle(), 0, 0), ColorToRGB(skin->ButtonShadowColor));
    EXPECT_EQ(Pixel(date->Handle(), 1, 1), RGB(255, 255, 255));

    TArrowButton& arrow = *painter->Arrow();
    EXPECT_EQ(GetParent(arrow.Handle()), date->Handle());
    RECT picker{}, button{};
    GetClientRect(date->Handle(), &picker);
    GetWindowRect(arrow.Handle(), &button);
    MapWindowPoints(nullptr, date->Handle(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.top, 0);
    EXPECT_GE(button.right, picker.right - 2) << "the button is not over the picker's own";
    // A wider picker takes its button along to its new right edge.
    const int fromRightEdge = picker.right - button.right;
    date->SetWidth(220);
    GetClientRect(date->Handle(), &picker);
    GetWindowRect(arrow.Handle(), &button);
    MapWindowPoints(nullptr, date->Handle(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(picker.right - button.right, fromRightEdge) << "the button stayed where it was";
    const int area = (button.right - button.left) * (button.bottom - button.top);
    RedrawAll(arrow.Handle());
    const int normal = PixelsOfCell(arrow, 1);
    EXPECT_GT(normal, area * 9 / 10);
    EXPECT_GT(normal, PixelsOfCell(arrow, 4)) << "the normal button shows the hot cell as well";

    SendMessageW(arrow.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    RedrawAll(arrow.Handle());
    EXPECT_TRUE(arrow.Hot());
    EXPECT_GT(PixelsOfCell(arrow, 4), area * 9 / 10);
    SendMessageW(arrow.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(arrow.Hot());

    date->SetEnabled(false);
    SendMessageW(arrow.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(arrow.Hot()) << "a disabled picker's button turned hot";
}

TEST_F(DatePainter, APressOnTheButtonOpensTheCalendarAndADayChosenClosesIt) {
    TSkinDateTime* painter = PainterOf(date);
    ASSERT_NE(painter, nullptr);
    ASSERT_NE(painter->Arrow(), nullptr);
    int changes = 0;
    date->OnChange = [&](TObject*) { ++changes; };
    const HWND arrow = painter->Arrow()->Handle();
    SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Pump(5);
    EXPECT_EQ(dropDowns, 1);
    ASSERT_TRUE(date->DroppedDown());
    EXPECT_EQ(date->DateTime(), EncodeDate(2026, 12, 11)) << "opening changed the date";

    // A click on another day of the month shown chooses it and closes the calendar.
    const HWND calendar = DateTime_GetMonthCal(date->Handle());
    ASSERT_NE(calendar, nullptr);
    RECT r{};
    GetClientRect(calendar, &r);
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof hit;
    bool found = false;
    for (int y = r.bottom / 3; y < r.bottom && !found; y += 2)
        for (int x = 2; x < r.right && !found; x += 2) {
            hit.pt = {x, y};
            found = MonthCal_HitTest(calendar, &hit) == MCHT_CALENDARDATE && hit.st.wMonth == 12 && hit.st.wDay != 11;
        }
    ASSERT_TRUE(found) << "no other day of December under the calendar's client area";
    const WORD day = hit.st.wDay;
    SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    Pump(5);
    EXPECT_FALSE(date->DroppedDown());
    EXPECT_EQ(closeUps, 1);
    EXPECT_EQ(date->DateTime(), EncodeDate(2026, 12, day));
    EXPECT_GT(changes, 0);
}

TEST_F(DatePainter, ATimePickerKeepsItsSpinArrowsAndGetsNoButton) {
    TSkinDateTime* painter = PainterOf(time);
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->Arrow(), nullptr);
    RedrawAll(time->Handle());
    EXPECT_EQ(Pixel(time->Handle(), 0, 0), ColorToRGB(skin->ButtonShadowColor));
}

TEST_F(DatePainter, DetachingTakesTheButtonAwayAndGivesThePickerBack) {
    ExpectHandlesSteady(100, [this] { RedrawAll(date->Handle()); });

    // A picker whose window clips no children: the painter adds the clipping for its button, and
    // takes the button and the clipping away again.
    auto* bare = new TDateTimePicker(form);
    bare->SetParent(form);
    bare->SetBounds(10, 100, 160, 24);
    const HWND wnd = bare->Handle();
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
    const TWindowHooks own = TWindowHooks::Of(wnd);
    auto* painter = new TSkinDateTime(bare);
    painter->Attach(*skinner, *skin, false, nullptr);
    ASSERT_NE(painter->Arrow(), nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_EQ(bare->Perform(WM_SKINQUERY), 1);

    painter->Detach();
    delete painter;
    EXPECT_EQ(GetWindow(wnd, GW_CHILD), nullptr) << "the button stayed behind";
    EXPECT_TRUE(TWindowHooks::Of(wnd) == own) << "procedure or styles not given back";
    EXPECT_EQ(bare->Perform(WM_SKINQUERY), 0);
    RedrawAll(wnd);
    EXPECT_NE(Pixel(wnd, 0, 0), ColorToRGB(skin->ButtonShadowColor));
}

}  // namespace
