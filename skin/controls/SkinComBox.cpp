#include "skin/controls/SkinComBox.h"

#include "skin/controls/SkinScrollbar.h"
#include "skin/window/WinSkinForm.h"

#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Handles.h"
#include "ui/Messages.h"
#include "ui/SubclassIds.h"

#include <windowsx.h>

#include <algorithm>

const TClassInfo TSkinComBox::MetaClass("TSkinComBox", &TSkinControl::MetaClass, ComponentFactory<TSkinComBox>, {});

namespace {

// The combo's button state when it has no button (a simple combo): the system's "invisible" bit.
constexpr DWORD ButtonInvisible = 0x8000;

bool DropsDown(DWORD Style) { return (Style & 3) != CBS_SIMPLE; }

int Frames(const TDataSkinObject& Element) { return std::max(Element.FrameCount, 1); }

}  // namespace

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) { FInfo.cbSize = sizeof FInfo; }

TSkinComBox::~TSkinComBox() { ReleaseEdit(); }

void TSkinComBox::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FWnd) return;
    FStyle = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_STYLE));
    if (DropsDown(FStyle)) HookEdit();
    SkinList();
}

void TSkinComBox::AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::AttachWindow(Wnd, SkinData, SkinForm, Canvas);
    FStyle = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_STYLE));
    if (DropsDown(FStyle)) HookEdit();
    SkinList();
}

void TSkinComBox::WindowRecreated() {
    ReleaseEdit();
    FStyle = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_STYLE));
    if (DropsDown(FStyle)) HookEdit();
    SkinList();
}

void TSkinComBox::SkinList() {
    FList = SkinGetComboBoxInfo(FWnd, FInfo) ? FInfo.hwndList : nullptr;
    if (!FList || !FSkinData->HasControl(xcScrollbar) || FSkinForm->PainterOfWindow(FList)) return;
    // The painters belong to whoever owns this one, and the window skinner frees them with the rest.
    if (DropsDown(FStyle)) {
        (new TComboxScrollBar(Owner()))->AttachWindow(FList, *FSkinData, *FSkinForm, nullptr);
        return;
    }
    const auto listStyle = GetWindowLongPtrW(FList, GWL_STYLE);
    if ((listStyle & WS_CHILD) && !(listStyle & WS_POPUP))
        (new TSkinScrollbarH(Owner()))->AttachWindow(FList, *FSkinData, *FSkinForm, nullptr);
}

void TSkinComBox::Detach() {
    TSkinControl::Detach();
    ReleaseEdit();
}

void TSkinComBox::HookEdit() {
    // Only an editable drop-down has a child window of its own: the edit.
    HWND edit = (FStyle & 3) == CBS_DROPDOWN ? GetWindow(FWnd, GW_CHILD) : nullptr;
    if (!edit || !SetWindowSubclass(edit, EditProc, SubclassComboEdit, reinterpret_cast<DWORD_PTR>(this))) return;
    FEdit = edit;
}

void TSkinComBox::ReleaseEdit() {
    if (FEdit && IsWindow(FEdit)) RemoveWindowSubclass(FEdit, EditProc, SubclassComboEdit);
    FEdit = nullptr;
}

LRESULT CALLBACK TSkinComBox::EditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<TSkinComBox*>(refData);
    if (msg == WM_NCDESTROY) {
        self->ReleaseEdit();
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    const LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
    if (!self->FSkinOn) return result;
    try {
        switch (msg) {
        case WM_PAINT: self->PaintWindow(nullptr); break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: self->SetPressed(true); break;
        case WM_LBUTTONUP: self->SetPressed(false); break;
        default: break;
        }
    } catch (...) {
        // A frame that cannot be drawn now is drawn by the next paint.
    }
    return result;
}

TComboFrame TSkinComBox::Frame() const {
    if (!IsWindowEnabled(FWnd)) return cfDisabled;
    if (FMouseState & msPressed) return cfPressed;
    const HWND focus = GetFocus();
    if ((FMouseState & msHot) || (focus && (focus == FWnd || IsChild(FWnd, focus)))) return cfHot;
    return cfNormal;
}

void TSkinComBox::SetPressed(bool Pressed) {
    if (Pressed)
        FMouseState |= msPressed;
    else
        FMouseState &= static_cast<uint8_t>(~msPressed);
    Repaint();
}

void TSkinComBox::SetHot(bool Hot) {
    // Only the button changes: the combo's own painting need not run again.
    if (SetHotState(Hot)) PaintWindow(nullptr);
}

void TSkinComBox::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The combo repaints itself on a focus change, and the frame follows its paint.
        return;
    case WM_MOUSEMOVE: {
        const TPoint at{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        SetHot(IsWindowEnabled(FWnd) && FButtonRect.Contains(at));
        return;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        SetHot(false);
        return;
    case WM_DRAWITEM:
    case WM_NCPAINT:
        PaintWindow(nullptr);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetPressed(true);
        return;
    case WM_LBUTTONUP:
        SetPressed(false);
        return;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinComBox::DrawSkin(HDC DC, const TRect& Rect) {
    TDataSkinBorder* button = FSkinData ? FSkinData->ComboButton.get() : nullptr;
    if (!button || button->Bitmap->Empty()) return;
    FStyle = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_STYLE));
    FExStyle = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_EXSTYLE));
    const bool buttonLeft = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    if (SkinGetComboBoxInfo(FWnd, FInfo)) {
        FButtonRect = TRect::FromRECT(FInfo.rcButton);
        if (FInfo.stateButton & ButtonInvisible) return;
    } else {
        if (!DropsDown(FStyle)) return;
        const int width = GetSystemMetrics(SM_CXHSCROLL) + 2;
        FButtonRect = buttonLeft ? TRect{Rect.Left, Rect.Top, Rect.Left + width, Rect.Bottom}
                                 : TRect{Rect.Right - width, Rect.Top, Rect.Right, Rect.Bottom};
    }
    if (button->Style == 1) {
        DrawButtonOnly(DC, Rect);
        return;
    }
    const int frame = Frame();
    if (button->Style == 2) {
        // Whole combo frames, their edit area transparent: the mirrored ones for a button on the left.
        TDataSkinObject* whole = buttonLeft && FSkinData->SunkEdge ? FSkinData->SunkEdge.get() : button;
        DrawSkinElement(DC, Rect, *whole, true, frame);
        return;
    }
    DrawEdgeAndButton(DC, Rect, frame);
}

void TSkinComBox::DrawEdgeAndButton(HDC DC, const TRect& Rect, int FrameIndex) {
    TDataSkinBorder& button = *FSkinData->ComboButton;
    const bool buttonLeft = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    const TRect inner = buttonLeft ? TRect{Rect.Left + a + 4, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2}
                                   : TRect{Rect.Left + 2, Rect.Top + 2, Rect.Right - a - 4, Rect.Bottom - 2};
    const TRect buttonRect = buttonLeft ? TRect{Rect.Left, Rect.Top, Rect.Left + a + 2, Rect.Bottom}
                                        : TRect{Rect.Right - a - 2, Rect.Top, Rect.Right, Rect.Bottom};
    const TRect glyph = buttonLeft ? TRect{2, Rect.Top, a + 2, Rect.Bottom}
                                   : TRect{Rect.Right - a - 2, Rect.Top, Rect.Right - 2, Rect.Bottom};
    TBitmap& image = buttonLeft && !button.Bitmap2->Empty() ? *button.Bitmap2 : *button.Bitmap;

    TSavedDC saved(DC);
    // The combo's text stays as it painted it: only the edge ring is drawn.
    ExcludeClipRect(DC, inner.Left, inner.Top, inner.Right, inner.Bottom);
    if (TDataSkinObject* edge = FSkinData->SunkEdge.get(); edge && !edge->Bitmap->Empty())
        DrawSkinElement(DC, Rect, *edge, edge->Trans == 1, FrameIndex);
    DrawSkinFrame(DC, buttonRect, image, true, Frames(button), FrameIndex);
    FButtonRect = buttonRect;
    if (TDataSkinObject* arrows = FSkinData->ExtraImages.get(); arrows && !arrows->Bitmap->Empty())
        DrawSkinGlyph(DC, glyph, *arrows->Bitmap, true, Frames(*arrows), FrameIndex);
}

void TSkinComBox::DrawButtonOnly(HDC DC, const TRect& Rect) {
    TDataSkinBorder& button = *FSkinData->ComboButton;
    const bool buttonLeft = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const auto brush = static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH));
    const TRect ring = Rect.Inflate(-1, -1), inside = Rect.Inflate(-2, -2);
    const RECT ringRect = ring.ToRECT();
    FrameRect(DC, &ringRect, brush);

    const int stripWidth = GetSystemMetrics(SM_CYVTHUMB);
    const RECT strip = (buttonLeft ? TRect{inside.Left, inside.Top, inside.Left + stripWidth, inside.Bottom}
                                   : TRect{inside.Right - stripWidth, inside.Top, inside.Right, inside.Bottom})
                           .ToRECT();
    FillRect(DC, &strip, brush);

    const int cellWidth = button.Bitmap->Width() / Frames(button);
    TRect buttonRect = buttonLeft ? TRect{inside.Left, inside.Top, inside.Left + cellWidth, inside.Bottom}
                                  : TRect{inside.Right - cellWidth, inside.Top, inside.Right, inside.Bottom};
    if (button.Bitmap->Height() < stripWidth) {
        const int top = inside.Top + (inside.Height() - button.Bitmap->Height()) / 2;
        buttonRect = {buttonRect.Left, top, buttonRect.Right, top + button.Bitmap->Height()};
    }
    UniqueBrush edge(CreateSolidBrush(ColorToRGB(FSkinData->ButtonShadowColor)));
    const RECT outer = Rect.ToRECT();
    FrameRect(DC, &outer, edge.get());
    FButtonRect = buttonRect;
    DrawSkinFrame(DC, buttonRect, *button.Bitmap, true, Frames(button), Frame());
}
