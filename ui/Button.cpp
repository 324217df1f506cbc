#include "ui/Button.h"

#include "ui/ButtonGlyph.h"
#include "ui/Properties.h"

const TClassInfo TCustomButton::MetaClass(
    "TCustomButton", &TButtonControl::MetaClass, nullptr,
    {
        BoolProp<TCustomButton>("Cancel", &TCustomButton::Cancel, &TCustomButton::SetCancel),
        BoolProp<TCustomButton>("Default", &TCustomButton::Default, &TCustomButton::SetDefault),
        IntProp<TCustomButton>("ModalResult", &TCustomButton::ModalResult, &TCustomButton::SetModalResult),
        // Painters ask for MultiLine; descriptions say WordWrap. Both are the one setting.
        BoolProp<TCustomButton>("MultiLine", &TCustomButton::WordWrap, &TCustomButton::SetWordWrap),
        BoolProp<TCustomButton>("WordWrap", &TCustomButton::WordWrap, &TCustomButton::SetWordWrap),
    });

const TClassInfo TButton::MetaClass("TButton", &TCustomButton::MetaClass, ComponentFactory<TButton>, {});

TCustomButton::TCustomButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TCustomButton::SetDefault(bool value) {
    if (value == FDefault) return;
    FDefault = value;
    if (!HandleAllocated()) return;
    if (OwnerDrawn())
        Invalidate();
    else
        SendMessageW(WindowHandle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TCustomButton::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

std::wstring TCustomButton::DisplayCaption() const {
    std::wstring caption = FText;
    if (size_t at = caption.find(L"||"); at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
    return caption;
}

bool TCustomButton::Active() const {
    if (Focused()) return true;
    if (!FDefault) return false;
    auto* focused = dynamic_cast<TCustomButton*>(FindControl(GetFocus()));
    return !focused || focused == this;
}

void TCustomButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Caption = DisplayCaption();
    if (OwnerDrawn())
        params.Style |= BS_OWNERDRAW;
    else
        params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (FWordWrap) params.Style |= BS_MULTILINE;
}

void TCustomButton::TextChanged() {
    if (HandleAllocated()) SetWindowTextW(WindowHandle(), DisplayCaption().c_str());
    TControl::TextChanged();
}

void TCustomButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGKEY:
        if (((message.WParam == VK_RETURN && Active()) || (message.WParam == VK_ESCAPE && FCancel)) && CanFocus()) {
            DoClick();
            message.Result = 1;
            return;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a quick second click as a double click; it is a click like any.
        if (OwnerDrawn()) message.Msg = WM_LBUTTONDOWN;
        break;
    case CN_DRAWITEM:
        DrawFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    }
    TButtonControl::WndProc(message);
}

UINT TCustomButton::CaptionFormat() const {
    const bool lines = FWordWrap || DisplayCaption().find(L'\n') != std::wstring::npos;
    return (lines ? DT_WORDBREAK : DT_SINGLELINE) | (UseRightToLeftReading() ? DT_RTLREADING : 0u);
}

void TCustomButton::DrawFace(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    if (Active()) {
        // The button Enter would click wears a dark ring.
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0u));
    if (pressed) FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
    TRect content = TRect::FromRECT(face).Inflate(-3, -3);
    {
        TSavedDC saved(dc);
        TSelectObject font(dc, Font()->Handle());
        IntersectClipRect(dc, content.Left, content.Top, content.Right, content.Bottom);
        DrawContent(dc, pressed ? content.Offset(1, 1) : content, pressed);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = content.Inflate(-1, -1).ToRECT();
        DrawFocusRect(dc, &focus);
    }
}

void TCustomButton::DrawContent(HDC dc, const TRect& rect, bool) {
    const std::wstring caption = DisplayCaption();
    const UINT format = CaptionFormat() | DT_CENTER;
    RECT measured = rect.ToRECT();
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, format | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    const TRect centred{rect.Left, rect.Top + (rect.Height() - height) / 2, rect.Right,
                        rect.Top + (rect.Height() - height) / 2 + height};
    DrawButtonCaption(dc, caption, centred, format, Enabled(), Font()->Color());
}
