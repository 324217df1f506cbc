#pragma once
// TCanvas: drawing on a DC with the canvas's own font, brush and pen. The DC is not owned (a control's
// paint DC, a bitmap's memory DC); the canvas selects its objects into it when it draws and puts the
// DC's own objects back when it lets the DC go.
#include "ui/Brush.h"
#include "ui/Font.h"
#include "ui/Pen.h"
#include "ui/Types.h"

#include <string>

class TBitmap;

class TCanvas : public TPersistent {
public:
    CLARIVO_CLASS

    TCanvas();
    ~TCanvas() override;

    HDC Handle() const { return FHandle; }
    // Lets go of the current DC (its own objects selected back) and draws on dc from now on.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() { return &FFont; }
    TBrush* Brush() { return &FBrush; }
    TPen* Pen() { return &FPen; }

    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(const TRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::wstring& text);
    // Text clipped to rect, drawn at (x, y).
    void TextRect(const TRect& rect, int x, int y, const std::wstring& text);
    // DrawText with the canvas font; returns the text height (rect grows with DT_CALCRECT).
    int DrawText(const std::wstring& text, TRect& rect, UINT format);
    TSize TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).Width; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).Height; }

    // A bitmap at (x, y), leaving its transparent colour out when it is Transparent.
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const TRect& dest, TBitmap& bitmap);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

private:
    void RequireHandle() const;
    void SelectObjects();
    void RestoreObjects();

    HDC FHandle = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    HGDIOBJ FOldFont = nullptr;
    HGDIOBJ FOldBrush = nullptr;
    HGDIOBJ FOldPen = nullptr;
};
