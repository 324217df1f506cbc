#include "ui/GraphicControl.h"

#include "ui/WinControl.h"

#include <windowsx.h>

const TClassInfo TGraphicControl::MetaClass("TGraphicControl", &TControl::MetaClass, nullptr, {});

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        if (!dc) break;
        bool borrowed = FCanvas.Handle() != dc;  // the parent has usually set it already
        if (borrowed) FCanvas.SetHandle(dc);
        FCanvas.Font()->Assign(Font());
        try {
            Paint();
        } catch (...) {
            // A failed paint leaves the area as it is; it must not take the parent's paint with it.
        }
        if (borrowed) FCanvas.SetHandle(nullptr);
        message.Result = 0;
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FClicking = Enabled();
        break;
    case WM_LBUTTONUP: {
        bool clicked = FClicking;
        FClicking = false;
        TControl::WndProc(message);
        TPoint p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        if (clicked && ClientRect().Contains(p)) DoClick();
        return;
    }
    }
    TControl::WndProc(message);
}
