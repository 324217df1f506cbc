#include "skin/controls/SkinBox.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Font.h"
#include "ui/WinControl.h"

#include <optional>

const TClassInfo TSkinBox::MetaClass("TSkinBox", &TSkinControl::MetaClass, ComponentFactory<TSkinBox>, {});
const TClassInfo TSkinBoxH::MetaClass("TSkinBoxH", &TSkinControl::MetaClass, ComponentFactory<TSkinBoxH>, {});
const TClassInfo TSkinGroupBox::MetaClass("TSkinGroupBox", &TSkinControl::MetaClass, ComponentFactory<TSkinGroupBox>,
                                          {});

// ---- TSkinBox ----

void TSkinBox::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (!FAttached) AttachUnhooked(SkinForm, SkinData, TakeColor, Canvas);
}

// ---- TSkinBoxH ----

bool TSkinBoxH::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND: {
        RECT r{};
        GetWindowRect(FWnd, &r);
        OffsetRect(&r, -r.left, -r.top);
        UniqueBrush face(CreateSolidBrush(ColorToRGB(FSkinData->FaceColor)));
        FillRect(reinterpret_cast<HDC>(Message.WParam), &r, face.get());
        Message.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        // The static's own colours stay; its background is the skin's face.
        CallPrevious(Message);
        Message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush.get());
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

// ---- TSkinGroupBox ----

void TSkinGroupBox::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    FMode = Control() ? 1 : 0;
}

bool TSkinGroupBox::BeforeMessage(TMessage& Message) {
    if (FMode == 1 && Message.Msg == WM_PAINT) {
        PaintMessage(Message);
        return false;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinGroupBox::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    TControl* control = Control();
    const std::wstring caption = ReadCaption();

    // A framework group box is drawn off screen, its windowless children with it, and shown in one blit.
    TBitmap buffer;
    std::optional<TBitmapDCLock> lock;
    HDC dc = DC;
    if (control) {
        buffer.SetPixelFormat(pf24bit);
        buffer.SetSize(Rect.Width(), Rect.Height());
        lock.emplace(buffer);
        dc = lock->Handle();
        UniqueBrush face(CreateSolidBrush(ColorToRGB(FSkinData->FaceColor)));
        const RECT r{0, 0, Rect.Width(), Rect.Height()};
        FillRect(dc, &r, face.get());
    }
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(FSkinData->ButtonShadowColor)));
    TSavedDC saved(dc);  // after the pen: the pen is deselected before it is deleted
    HFONT font = FWnd ? reinterpret_cast<HFONT>(SendMessageW(FWnd, WM_GETFONT, 0, 0)) : nullptr;
    if (!font && control) font = control->Font()->Handle();
    if (font) SelectObject(dc, font);
    SetTextColor(dc, control ? ColorToRGB(control->Font()->Color()) : GetSysColor(COLOR_BTNTEXT));

    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    const int y = zero.cy / 2 - 1;
    const int right = Rect.Width(), bottom = Rect.Height();
    if (FMode == 0) {
        // Cover the native edge under the rounded frame.
        RECT edge{0, y, right, bottom};
        FrameRect(dc, &edge, FSkinData->FaceBrush.get());
        InflateRect(&edge, -1, -1);
        FrameRect(dc, &edge, FSkinData->FaceBrush.get());
    }
    SelectObject(dc, pen.get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, y, right - 1, bottom - 1, 5, 5);

    if (!caption.empty()) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(FSkinData->FaceColor));
        const bool rightAligned = FWnd && (GetWindowLongPtrW(FWnd, GWL_EXSTYLE) & WS_EX_RIGHT);
        const bool rtl = control && control->UseRightToLeftReading();
        // A space either side keeps the frame's line off the caption's first and last letters.
        const std::wstring text = L" " + caption + L" ";
        TRect area = rightAligned ? TRect{0, 0, right - 8, bottom} : TRect{8, 0, right, bottom};
        SkinDrawText(dc, text, area,
                     DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS |
                         (rightAligned ? DT_RIGHT | (rtl ? DT_RTLREADING : 0u) : 0u));
    }
    if (FMode == 1)
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->PaintControls(dc);
    if (lock) BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), dc, 0, 0, SRCCOPY);
}
