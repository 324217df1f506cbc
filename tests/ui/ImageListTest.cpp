// TImageList: a strip is cut into images of the list's size; the key colour is left out when drawn.
#include "ui/ImageList.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageList, StripBecomesImagesDrawnWithoutTheKeyColour) {
    TImageList list(nullptr);
    list.SetSize(4, 4);
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(8, 4);
    TCanvas& c = *strip.Canvas();
    c.Brush()->SetColor(clFuchsia);
    c.FillRect(TRect::FromBounds(0, 0, 8, 4));
    c.SetPixel(1, 1, clBlue);   // image 0
    c.SetPixel(6, 2, clRed);    // image 1
    EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(4, 4);
    target.Canvas()->Brush()->SetColor(clGreen);
    target.Canvas()->FillRect(TRect::FromBounds(0, 0, 4, 4));
    list.Draw(*target.Canvas(), 0, 0, 1);
    EXPECT_EQ(static_cast<COLORREF>(target.Canvas()->Pixel(2, 2)), RGB(255, 0, 0));
    EXPECT_EQ(static_cast<COLORREF>(target.Canvas()->Pixel(1, 1)), RGB(0, 128, 0)) << "masked: background stays";
    list.Draw(*target.Canvas(), 0, 0, 7);  // no such image: nothing happens
    EXPECT_EQ(static_cast<COLORREF>(target.Canvas()->Pixel(0, 0)), RGB(0, 128, 0));

    TBitmap image;
    list.GetBitmap(0, image);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(static_cast<COLORREF>(image.Canvas()->Pixel(1, 1)), RGB(0, 0, 255));
    EXPECT_EQ(static_cast<COLORREF>(image.Canvas()->Pixel(0, 0)), RGB(255, 0, 255));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
