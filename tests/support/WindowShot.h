#pragma once
// Pixel checks of painted controls: a window's look as it is on screen (frame included), and the image a
// skin element's frame gives at a size, to compare with what a painter drew.
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinObjects.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <algorithm>
#include <memory>

class TPixels {
public:
    TPixels(int Width, int Height) {
        FBitmap.SetPixelFormat(pf24bit);
        FBitmap.SetSize(Width, Height);
    }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }
    COLORREF At(int X, int Y) { return ColorToRGB(FBitmap.Canvas()->Pixel(X, Y)); }
    TBitmap& Bitmap() { return FBitmap; }

    // The window's pixels now, frame included.
    static std::unique_ptr<TPixels> OfWindow(HWND Wnd) {
        RECT r{};
        GetWindowRect(Wnd, &r);
        auto shot = std::make_unique<TPixels>(r.right - r.left, r.bottom - r.top);
        TWindowDC dc(Wnd);
        TBitmapDCLock lock(shot->FBitmap);
        BitBlt(lock.Handle(), 0, 0, shot->Width(), shot->Height(), dc.get(), 0, 0, SRCCOPY);
        return shot;
    }
    // Frame Index of Element drawn at Width x Height over Under, as a painter draws it.
    static std::unique_ptr<TPixels> OfElement(TDataSkinObject& Element, int Width, int Height, int Index, TColor Under) {
        auto image = std::make_unique<TPixels>(Width, Height);
        TBitmapDCLock lock(image->FBitmap);
        SetDCBrushColor(lock.Handle(), ColorToRGB(Under));
        const RECT all{0, 0, Width, Height};
        FillRect(lock.Handle(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        DrawSkinElement(lock.Handle(), {0, 0, Width, Height}, Element, Element.Trans == 1, Index);
        return image;
    }

    // The bounds of the pixels within Area whose colour is within Tolerance of Colour (empty: none).
    TRect BoundsOf(COLORREF Colour, const TRect& Area, int Tolerance = 40) {
        TRect found{Area.Right, Area.Bottom, Area.Left, Area.Top};
        bool any = false;
        for (int y = std::max(Area.Top, 0); y < std::min(Area.Bottom, Height()); ++y)
            for (int x = std::max(Area.Left, 0); x < std::min(Area.Right, Width()); ++x) {
                const COLORREF c = At(x, y);
                if (std::abs(GetRValue(c) - GetRValue(Colour)) + std::abs(GetGValue(c) - GetGValue(Colour)) +
                        std::abs(GetBValue(c) - GetBValue(Colour)) > Tolerance)
                    continue;
                any = true;
                found = {std::min(found.Left, x), std::min(found.Top, y), std::max(found.Right, x + 1),
                         std::max(found.Bottom, y + 1)};
            }
        return any ? found : TRect{};
    }

private:
    TBitmap FBitmap;
};
