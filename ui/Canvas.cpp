#include "ui/Canvas.h"

#include "ui/Bitmap.h"
#include "ui/Errors.h"
#include "ui/Properties.h"

#include <utility>

const TClassInfo TCanvas::MetaClass("TCanvas", &TPersistent::MetaClass, nullptr,
                                    {
                                        ClassProp<TCanvas, TFont>("Font", &TCanvas::Font),
                                        ClassProp<TCanvas, TBrush>("Brush", &TCanvas::Brush),
                                        ClassProp<TCanvas, TPen>("Pen", &TCanvas::Pen),
                                    });

TCanvas::TCanvas() {
    // A changed object is selected out before its old GDI handle is deleted, and back in when drawing.
    auto reselect = [this](TObject*) {
        if (FHandle) RestoreObjects();
    };
    FFont.OnChange = reselect;
    FBrush.OnChange = reselect;
    FPen.OnChange = reselect;
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() const {
    HandleNeeded();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    if (FHandle) RestoreObjects();
    FHandle = dc;
    if (FHandle && std::exchange(FReselect, false)) SelectObjects();
}

void TCanvas::HandleTaken() {
    FReselect = FOldFont || FOldBrush || FOldPen;
    if (FHandle) RestoreObjects();
    FHandle = nullptr;
}

void TCanvas::RequireHandle() const {
    HandleNeeded();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
}

void TCanvas::SelectObjects() {
    RequireHandle();
    HGDIOBJ old = SelectObject(FHandle, FFont.Handle());
    if (!FOldFont) FOldFont = old;
    old = SelectObject(FHandle, FBrush.Handle());
    if (!FOldBrush) FOldBrush = old;
    old = SelectObject(FHandle, FPen.Handle());
    if (!FOldPen) FOldPen = old;
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
    SetBkColor(FHandle, ColorToRGB(FBrush.Color()));
    SetBkMode(FHandle, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::RestoreObjects() {
    if (FOldFont) SelectObject(FHandle, FOldFont);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    if (FOldPen) SelectObject(FHandle, FOldPen);
    FOldFont = FOldBrush = FOldPen = nullptr;
}

void TCanvas::FillRect(const TRect& rect) {
    SelectObjects();
    RECT r = rect.ToRECT();
    ::FillRect(FHandle, &r, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& rect) {
    SelectObjects();
    RECT r = rect.ToRECT();
    ::FrameRect(FHandle, &r, FBrush.Handle());
}

void TCanvas::Rectangle(const TRect& rect) {
    SelectObjects();
    ::Rectangle(FHandle, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TCanvas::MoveTo(int x, int y) {
    SelectObjects();
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    SelectObjects();
    ::LineTo(FHandle, x, y);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    SelectObjects();
    ExtTextOutW(FHandle, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::wstring& text) {
    SelectObjects();
    RECT r = rect.ToRECT();
    UINT options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0u : static_cast<UINT>(ETO_OPAQUE));
    ExtTextOutW(FHandle, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::wstring& text, TRect& rect, UINT format) {
    SelectObjects();
    RECT r = rect.ToRECT();
    int height = ::DrawTextW(FHandle, text.c_str(), static_cast<int>(text.size()), &r, format);
    rect = TRect::FromRECT(r);
    return height;
}

TSize TCanvas::TextExtent(const std::wstring& text) {
    SelectObjects();
    SIZE size{};
    GetTextExtentPoint32W(FHandle, text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    StretchDraw(TRect::FromBounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap& bitmap) {
    RequireHandle();
    if (bitmap.Empty()) return;
    bitmap.DrawTo(FHandle, dest);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    RequireHandle();
    source.RequireHandle();
    SetStretchBltMode(FHandle, COLORONCOLOR);
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), source.FHandle, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), SRCCOPY);
}

TColor TCanvas::Pixel(int x, int y) {
    RequireHandle();
    return static_cast<TColor>(GetPixel(FHandle, x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    RequireHandle();
    ::SetPixelV(FHandle, x, y, ColorToRGB(color));
}
