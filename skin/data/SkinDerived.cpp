#include "skin/data/SkinDerived.h"

#include "skin/data/SkinConvert.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

#include <algorithm>

namespace {

std::unique_ptr<TBitmap> NewImage(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    return bitmap;
}

std::unique_ptr<TBitmap> CopyOf(const TBitmap& source) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(&source);
    return bitmap;
}

void Fill(TBitmap& bitmap, const TRect& rect, TColor color) {
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect(rect);
}

}  // namespace

TColor SampleFrameColor(TSkinData& Skin) {
    TBitmap& image = *Skin.BorderTop->Bitmap;
    if (image.Empty()) return Skin.FaceColor;
    const int frames = std::max(Skin.BorderTop->FrameCount, 1);
    return image.Canvas()->Pixel(image.Width() / 3, image.Height() / frames / 3);
}

void BuildComboImages(TSkinData& Skin) {
    if (!Skin.SunkEdge || !Skin.ComboButton) return;
    TDataSkinObject& edge = *Skin.SunkEdge;
    TDataSkinBorder& button = *Skin.ComboButton;
    const int n = edge.FrameCount;
    if (n <= 0) return;
    const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const TRect cellRect{0, 0, ComboCellWidth, ComboCellHeight};
    const TRect buttonRect{ComboCellWidth - bw, 0, ComboCellWidth, ComboCellHeight};

    auto strip = NewImage(ComboCellWidth * n, ComboCellHeight);
    Fill(*strip, {0, 0, strip->Width(), strip->Height()}, SkinKeyColor);
    auto cell = NewImage(ComboCellWidth, ComboCellHeight);
    Fill(*cell, cellRect, SkinKeyColor);
    HDC cellDC = cell->Canvas()->Handle();
    for (int k = 1; k <= n; ++k) {
        // The cell is not cleared between frames: each frame's edge drawing covers it.
        DrawSkinImage(cellDC, cellRect, *edge.Bitmap, false, false, edge.Trans != 0, n, k, edge.Margins());
        DrawSkinImage(cellDC, buttonRect, *button.Bitmap, false, false, true, button.FrameCount, k, button.Margins());
        if (Skin.ExtraImages)
            DrawSkinGlyph(cellDC, buttonRect, *Skin.ExtraImages->Bitmap, true, Skin.ExtraImages->FrameCount, k);
        Fill(*cell, {2, 2, ComboCellWidth - 1 - bw, ComboCellHeight - 3}, SkinKeyColor);  // the edit area shows through
        BitBlt(strip->Canvas()->Handle(), ComboCellWidth * (k - 1), 0, ComboCellWidth, ComboCellHeight, cellDC, 0, 0,
               SRCCOPY);
    }

    button.Style = 2;
    button.LeftWidth = 2;
    button.TopHeight = edge.TopHeight;
    button.RightWidth = bw + 2;
    button.BottomHeight = edge.BottomHeight;
    button.Bitmap = CopyOf(*strip);

    // The same frames with the button on the left, for right-to-left combo boxes.
    MirrorFrames(*strip, n);
    edge.Bitmap = std::move(strip);
    edge.LeftWidth = bw + 2;
    edge.RightWidth = 2;
}

void BuildComboArrow(TSkinData& Skin) {
    if (!Skin.ComboArrow) Skin.ComboArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& arrow = *Skin.ComboArrow;
    if (!Skin.SunkEdge) {
        if (!Skin.ComboButton) return;
        arrow.Bitmap = CopyOf(*Skin.ComboButton->Bitmap);
        // Resolved here: a system colour reference would otherwise paint its index as a colour.
        ReplaceMagenta(*arrow.Bitmap, static_cast<TColor>(ColorToRGB(Skin.FaceColor)));
        arrow.FrameCount = Skin.ComboButton->FrameCount;
        return;
    }
    if (!Skin.ComboButton || Skin.ComboButton->Style != 2) return;
    const int n = Skin.SunkEdge->FrameCount;
    if (n <= 0) return;
    TBitmap& source = *Skin.ComboButton->Bitmap;
    const int w = source.Width() / n;
    auto image = NewImage(ComboArrowSize * n, ComboArrowSize);
    HDC to = image->Canvas()->Handle();
    HDC from = source.Canvas()->Handle();
    // Two pixels in from the right and the top of each whole combo frame.
    for (int i = 0; i < n; ++i)
        BitBlt(to, ComboArrowSize * i, 0, ComboArrowSize, ComboArrowSize, from, w * (i + 1) - 19, 2, SRCCOPY);
    arrow.FrameCount = n;
    arrow.Bitmap = std::move(image);
}

void BuildToolbarBack(TSkinData& Skin) {
    const TColor frame = SampleFrameColor(Skin);
    TColor bottom = Blend(0x808080, frame, 150);
    const TColor top = Blend(Skin.FaceColor, 0xFFFFFF, 150);
    const int saturation = ColorSaturation(frame);
    if (saturation > 110) bottom = Blend(frame, 0xFFFFFF, (225 - saturation) * 25 / 140 + 50);
    auto image = NewImage(10, 40);
    GradientFill(image->Canvas()->Handle(), {0, 0, 10, 40}, top, true, bottom);
    if (!Skin.ToolbarBack) Skin.ToolbarBack = std::make_unique<TDataSkinObject>("Toolbar");
    Skin.ToolbarBack->Bitmap = std::move(image);
    Skin.ToolbarBack->FrameCount = 1;
}
