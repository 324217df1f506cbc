#include "skin/controls/SkinDateTime.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Handles.h"
#include "ui/Messages.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

const TClassInfo TArrowButton::MetaClass("TArrowButton", &TWinControl::MetaClass, nullptr, {});
const TClassInfo TSkinDateTime::MetaClass("TSkinDateTime", &TSkinEdit::MetaClass, ComponentFactory<TSkinDateTime>, {});

// ---- TArrowButton ----

TArrowButton::TArrowButton(TSkinDateTime& Painter, HWND Picker)
    : TWinControl(&Painter), FArrowSize(GetSystemMetrics(SM_CXHSCROLL)), FPicker(Picker), FPainter(Painter) {}

void TArrowButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // A child of the picker's window, not of a framework control: the picker knows nothing of it.
    params.WndParent = FPicker;
    params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TArrowButton::SetHot(bool hot) {
    if (!IsWindowEnabled(FPicker) || hot == FHot) return;
    FHot = hot;
    Invalidate();
}

void TArrowButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        SetHot(message.Msg == CM_MOUSEENTER);
        break;
    case WM_LBUTTONDOWN: {
        // A whole click where the picker's own button lies under this one: the picker opens its calendar.
        const LPARAM at = MAKELPARAM(GET_X_LPARAM(message.LParam) + Left(), GET_Y_LPARAM(message.LParam) + Top());
        PostMessageW(FPicker, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(FPicker, WM_LBUTTONUP, 0, at);
        Invalidate();
        break;
    }
    case WM_LBUTTONUP:
        ::SetFocus(FPicker);
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

void TArrowButton::PaintWindow(HDC dc) {
    const TSkinData* skin = FPainter.SkinData();
    if (!skin) return;
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    UniqueBrush face(CreateSolidBrush(ColorToRGB(skin->FaceColor)));
    FillRect(dc, &client, face.get());
    TDataSkinObject* arrow = skin->ComboArrow.get();
    if (arrow && !arrow->Bitmap->Empty())
        DrawSkinFrame(dc, TRect::FromRECT(client), *arrow->Bitmap, false, std::max(arrow->FrameCount, 1), Cell());
}

// ---- TSkinDateTime ----

void TSkinDateTime::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinEdit::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FWnd || (GetWindowLongPtrW(FWnd, GWL_STYLE) & DTS_UPDOWN)) return;
    FArrow = new TArrowButton(*this, FWnd);
    PlaceArrow();
    FArrow->HandleNeeded();
    // The picker must not paint over its new button.
    const auto style = GetWindowLongPtrW(FWnd, GWL_STYLE);
    FAddedClipChildren = !(style & WS_CLIPCHILDREN);
    if (FAddedClipChildren) SetWindowLongPtrW(FWnd, GWL_STYLE, style | WS_CLIPCHILDREN);
}

void TSkinDateTime::PlaceArrow() {
    RECT window{};
    if (!FArrow || !GetWindowRect(FWnd, &window)) return;
    const int size = GetSystemMetrics(SM_CXHSCROLL);
    const bool buttonLeft = (GetWindowLongPtrW(FWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    FArrow->SetBounds(buttonLeft ? 2 : window.right - window.left - size - 4, 0, size, size + 1);
}

void TSkinDateTime::AfterMessage(TMessage& Message) {
    if (Message.Msg == WM_SIZE) PlaceArrow();
    TSkinEdit::AfterMessage(Message);
}

void TSkinDateTime::Detach() {
    TSkinEdit::Detach();
    delete FArrow;
    FArrow = nullptr;
    if (FAddedClipChildren && FLifeState != plFinished)
        SetWindowLongPtrW(FWnd, GWL_STYLE, GetWindowLongPtrW(FWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
    FAddedClipChildren = false;
}
