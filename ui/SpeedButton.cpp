#include "ui/SpeedButton.h"

#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <windowsx.h>

#include <cwctype>

const TClassInfo TSpeedButton::MetaClass(
    "TSpeedButton", &TGraphicControl::MetaClass, ComponentFactory<TSpeedButton>,
    GlyphButtonProperties<TSpeedButton>({
        BoolProp<TSpeedButton>("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
        BoolProp<TSpeedButton>("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
        BoolProp<TSpeedButton>("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
        IntProp<TSpeedButton>("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
    }));

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

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FButtonGlyph([this] { Invalidate(); }) {
    SetBounds(0, 0, 23, 22);
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
    TSelectObject font(dc, Font()->Handle());
    UINT format = DT_SINGLELINE | (UseRightToLeftReading() ? DT_RTLREADING : 0u);
    RECT textRect{0, 0, 0, 0};
    if (!caption.empty()) DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format | DT_CALCRECT);
    TGlyphCaptionPlaces places =
        FButtonGlyph.Place({Width(), Height()}, FButtonGlyph.ImageSize(), {textRect.right, textRect.bottom});
    int offset = down ? 1 : 0;
    FButtonGlyph.Draw(canvas, places.Glyph.X + offset, places.Glyph.Y + offset, Enabled(), down);
    DrawButtonCaption(dc, caption, places.Caption.Offset(offset, offset), format, Enabled(), Font()->Color());
}
