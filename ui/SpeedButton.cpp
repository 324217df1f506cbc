#include "ui/SpeedButton.h"

#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <windowsx.h>

#include <cwctype>

const TClassInfo TSpeedButton::MetaClass(
    "TSpeedButton", &TGraphicControl::MetaClass, ComponentFactory<TSpeedButton>,
    {
        BoolProp<TSpeedButton>("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
        BoolProp<TSpeedButton>("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
        BoolProp<TSpeedButton>("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
        ClassProp<TSpeedButton, TBitmap>("Glyph", &TSpeedButton::Glyph),
        IntProp<TSpeedButton>("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
        EnumProp<TSpeedButton, TButtonLayout>("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                                              &TSpeedButton::Layout, &TSpeedButton::SetLayout),
        IntProp<TSpeedButton>("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin),
        IntProp<TSpeedButton>("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs),
        IntProp<TSpeedButton>("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing),
    });

bool IsAccel(WPARAM key, const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return std::towupper(caption[i + 1]) == std::towupper(static_cast<wint_t>(key));
    }
    return false;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
    FGlyph.OnChange = [this](TObject*) { Invalidate(); };
}

void TSpeedButton::SetNumGlyphs(int count) {
    FNumGlyphs = count < 1 ? 1 : count > 4 ? 4 : count;
    Invalidate();
}

void TSpeedButton::SetDown(bool down) {
    if (FGroupIndex == 0) down = false;
    if (down == FDown) return;
    if (FDown && !FAllowAllUp) return;  // the last button of a group cannot be raised by itself
    FDown = down;
    if (down) ReleaseGroup();
    Invalidate();
}

void TSpeedButton::ReleaseGroup() {
    if (!Parent() || FGroupIndex == 0) return;
    for (TControl* c : Parent()->ControlList()) {
        auto* other = dynamic_cast<TSpeedButton*>(c);
        if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) {
            other->FDown = false;
            other->Invalidate();
        }
    }
}

void TSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    FLayout = layout;
    Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
    FMargin = margin < -1 ? -1 : margin;
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
    FSpacing = spacing;
    Invalidate();
}

void TSpeedButton::DoClick() {
    if (FGroupIndex != 0) {
        bool wasDown = FDown;
        if (!wasDown) {
            FDown = true;
            ReleaseGroup();
        } else if (FAllowAllUp) {
            FDown = false;
        }
        Invalidate();
    }
    TGraphicControl::DoClick();
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled()) {
            FPressed = true;
            FDragging = true;
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        if (FDragging) {
            bool inside = ClientRect().Contains({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
            if (inside != FPressed) {
                FPressed = inside;
                Repaint();
            }
        }
        break;
    case WM_LBUTTONUP:
        FDragging = false;
        if (FPressed) {
            FPressed = false;
            Repaint();
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_ENABLEDCHANGED:
        TGraphicControl::WndProc(message);
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (Enabled() && Visible() && IsAccel(message.WParam, Caption())) {
            DoClick();
            message.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = *Canvas();
    HDC dc = canvas.Handle();
    RECT face = ClientRect().ToRECT();
    bool down = FPressed || FDown;
    canvas.Brush()->SetColor(Color());
    canvas.Brush()->SetStyle(bsSolid);
    canvas.FillRect(ClientRect());
    if (!FFlat) {
        DrawEdge(dc, &face, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (down || (MouseInControl() && Enabled())) {
        DrawEdge(dc, &face, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }

    // Glyph and caption are laid out as one block.
    std::wstring caption = Caption();
    int glyphWidth = FGlyph.Empty() ? 0 : FGlyph.Width() / FNumGlyphs;
    int glyphHeight = FGlyph.Empty() ? 0 : FGlyph.Height();
    RECT textRect{0, 0, 0, 0};
    TSelectObject font(dc, Font()->Handle());
    UINT format = DT_SINGLELINE | (UseRightToLeftReading() ? DT_RTLREADING : 0u);
    if (!caption.empty()) DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format | DT_CALCRECT);
    int textWidth = textRect.right, textHeight = textRect.bottom;
    int spacing = glyphWidth && !caption.empty() ? FSpacing : 0;
    bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    int width = Width(), height = Height();
    int blockMain = horizontal ? glyphWidth + spacing + textWidth : glyphHeight + spacing + textHeight;
    int available = horizontal ? width : height;
    int margin = FMargin < 0 ? (available - blockMain) / 2 : FMargin;
    int offset = down ? 1 : 0;
    int gx, gy, tx, ty;
    if (horizontal) {
        gy = (height - glyphHeight) / 2;
        ty = (height - textHeight) / 2;
        if (FLayout == blGlyphLeft) {
            gx = margin;
            tx = gx + glyphWidth + spacing;
        } else {
            gx = width - margin - glyphWidth;
            tx = gx - spacing - textWidth;
        }
    } else {
        gx = (width - glyphWidth) / 2;
        tx = (width - textWidth) / 2;
        if (FLayout == blGlyphTop) {
            gy = margin;
            ty = gy + glyphHeight + spacing;
        } else {
            gy = height - margin - glyphHeight;
            ty = gy - spacing - textHeight;
        }
    }
    if (glyphWidth) DrawGlyph(canvas, gx + offset, gy + offset);
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        RECT r{tx + offset, ty + offset, tx + offset + textWidth, ty + offset + textHeight};
        if (!Enabled()) {
            RECT etched = r;
            OffsetRect(&etched, 1, 1);
            SetTextColor(dc, ColorToRGB(clBtnHighlight));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &etched, format);
            SetTextColor(dc, ColorToRGB(clBtnShadow));
        } else {
            SetTextColor(dc, ColorToRGB(Font()->Color()));
        }
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format);
    }
}

void TSpeedButton::DrawGlyph(TCanvas& canvas, int x, int y) {
    // Image 2 of the strip is the disabled look, 3 the down one; without them the up image serves.
    int index = !Enabled() && FNumGlyphs > 1 ? 1 : (FPressed || FDown) && FNumGlyphs > 2 ? 2 : 0;
    int w = FGlyph.Width() / FNumGlyphs, h = FGlyph.Height();
    TBitmap frame;
    frame.SetPixelFormat(pf24bit);
    frame.SetSize(w, h);
    BitBlt(frame.Canvas()->Handle(), 0, 0, w, h, FGlyph.Canvas()->Handle(), index * w, 0, SRCCOPY);
    frame.SetTransparent(true);
    frame.SetTransparentColor(FGlyph.TransparentColor());
    if (!Enabled() && FNumGlyphs < 2) {
        // No disabled image: a grey version, shadow and highlight like an embossed glyph.
        for (int row = 0; row < h; ++row) {
            auto* p = static_cast<unsigned char*>(frame.ScanLine(row));
            for (int col = 0; col < w; ++col, p += 3) {
                unsigned grey = (p[0] * 29u + p[1] * 150u + p[2] * 77u) >> 8;
                unsigned char v = static_cast<unsigned char>(128 + grey / 2);
                COLORREF key = ColorToRGB(frame.TransparentColor());
                if (p[2] == GetRValue(key) && p[1] == GetGValue(key) && p[0] == GetBValue(key)) continue;
                p[0] = p[1] = p[2] = v;
            }
        }
    }
    canvas.Draw(x, y, frame);
}
