#pragma once
// TCanvas: drawing on a DC with the canvas's own font, brush and pen. The DC is not owned (a control's
// paint DC, a bitmap's pooled memory DC); the canvas selects its objects into it when it draws and puts
// the DC's own objects back when it lets the DC go. A bitmap's canvas can lose its DC between drawing
// calls and gets one again when it next draws or is asked for its Handle (see TBitmap::Canvas).
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

    // The DC drawn on (null for a control's canvas outside painting).
    HDC Handle() const;
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

protected:
    // Called whenever the DC is about to be used: a canvas whose DC comes and goes gets one here.
    virtual void HandleNeeded() const {}
    // The DC is taken away between drawing calls. If the canvas's font, brush and pen were selected into
    // it, they are selected into the next DC it is given, with their colours and background mode.
    void HandleTaken();

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
    bool FReselect = false;
};
