#include "skin/controls/SkinCheckBox.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Font.h"
#include "ui/Messages.h"
#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <cwctype>

const TClassInfo TSkinCheckBox::MetaClass("TSkinCheckBox", &TSkinControl::MetaClass, ComponentFactory<TSkinCheckBox>, {});
const TClassInfo TSkinRadioButton::MetaClass("TSkinRadioButton", &TSkinCheckBox::MetaClass,
                                             ComponentFactory<TSkinRadioButton>, {});

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

}  // namespace

// ---- TSkinCheckBox ----

void TSkinCheckBox::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    FTransparent = (Control() && Control()->Tag() == 5555) || SkinData.HasOption(xoTransparent);
    int cells = 0;
    // A framework control is painted whole; without an image in the skin it keeps painting itself.
    FMode = Control() && Image(cells) ? 1 : 0;
}

const TBitmap* TSkinCheckBox::Image(int& Cells) const {
    if (!FSkinData || !FSkinData->Buttons || FSkinData->Buttons->CheckBitmap->Empty()) return nullptr;
    Cells = std::max(FSkinData->Buttons->CheckFrameCount, 1);
    return FSkinData->Buttons->CheckBitmap.get();
}

const TBitmap* TSkinRadioButton::Image(int& Cells) const {
    if (!FSkinData || !FSkinData->Buttons || FSkinData->Buttons->RadioBitmap->Empty()) return nullptr;
    Cells = std::max(FSkinData->Buttons->RadioFrameCount, 1);
    return FSkinData->Buttons->RadioBitmap.get();
}

int TSkinCheckBox::Cell() const {
    int cells = 0;
    Image(cells);
    const auto state = static_cast<UINT>(SendMessageW(FWnd, BM_GETSTATE, 0, 0));
    const bool disabled = (GetWindowLongPtrW(FWnd, GWL_STYLE) & WS_DISABLED) != 0;
    const TControl* control = Control();
    int cell = 1;
    if (IsRadio()) {
        cell = (SendMessageW(FWnd, BM_GETCHECK, 0, 0) & 1) ? 2 : 1;
        if (control && FindPropInfo(control, "Checked"))
            cell = Lower(ReadEnumNameProperty(control, "Checked")) == L"true" ? 2 : 1;
        if (disabled) cell += 2;
        if (cells == 8) cell = cell == 2 ? 5 : cell == 3 ? 4 : cell == 4 ? 8 : cell;
        return cell;
    }
    cell = (state & BST_CHECKED) ? 2 : 1;
    if (control && FindPropInfo(control, "State")) {
        const std::wstring name = Lower(ReadEnumNameProperty(control, "State"));
        if (Contains(name, L"uncheck"))
            cell = 1;
        else if (Contains(name, L"check"))
            cell = 2;
        else if (Contains(name, L"gray"))
            cell = 4;
    } else if (control && FindPropInfo(control, "Checked")) {
        cell = Lower(ReadEnumNameProperty(control, "Checked")) == L"true" ? 2 : 3;
    }
    if (control && FindPropInfo(control, "DataField") && FLastCheck != 0) cell = FLastCheck == 3 ? 4 : FLastCheck;
    if (control && FindPropInfo(control, "DataBinding")) cell = 1;
    if (disabled) cell += 2;
    const bool grayed = (state & BST_INDETERMINATE) != 0;
    if (grayed) cell = 4;
    if (cells == 12) {
        cell = cell == 2 ? 5 : cell == 3 ? 4 : cell == 4 ? 8 : cell;
        if (grayed) cell = disabled ? 12 : 9;
    }
    return cell;
}

bool TSkinCheckBox::BeforeMessage(TMessage& Message) {
    const bool base = TSkinControl::BeforeMessage(Message);
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        if (FMode == 1) {
            PaintMessage(Message);
            return false;
        }
        return base;
    case WM_ERASEBKGND:
        if (FTransparent && Control()) {
            DrawParentBackground(*Control(), reinterpret_cast<HDC>(Message.WParam));
            Message.Result = 1;
            return false;
        }
        return base;
    default:
        return base;
    }
}

void TSkinCheckBox::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case BM_SETCHECK:
        if (!IsRadio()) FLastCheck = static_cast<int>(Message.WParam) + 1;
        Repaint();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_BUTTONPRESSED:
        Repaint();
        return;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinCheckBox::DrawSkin(HDC DC, const TRect& Rect) {
    int cells = 0;
    const TBitmap* image = Image(cells);
    if (!image) {
        FMode = 0;
        return;
    }
    const int cellWidth = image->Width() / cells, cellHeight = image->Height();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(FWnd, GWL_STYLE));
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const TControl* control = Control();
    const bool rightToLeft = control && control->UseRightToLeftReading();
    const int top = Rect.Top + (Rect.Height() - cellHeight) / 2;
    const int cellLeft = leftText ? Rect.Right - cellWidth - (IsRadio() ? 1 : 0) : Rect.Left;
    TRect captionArea = leftText ? TRect{Rect.Left, Rect.Top, cellLeft - 2, Rect.Bottom}
                                 : TRect{cellLeft + cellWidth + 2, Rect.Top, Rect.Right, Rect.Bottom};
    UINT alignment = leftText && rightToLeft ? DT_RIGHT | DT_RTLREADING : (rightToLeft ? DT_RTLREADING : 0u);

    if (FMode == 1 && !FTransparent) {
        UniqueBrush face(CreateSolidBrush(ColorToRGB(FSkinData->FaceColor)));
        const RECT r = Rect.ToRECT();
        FillRect(DC, &r, face.get());
    }
    TBitmap piece;
    piece.SetPixelFormat(pf24bit);
    piece.SetSize(cellWidth, cellHeight);
    const int cell = std::clamp(Cell(), 1, cells);
    BitBlt(piece.Canvas()->Handle(), 0, 0, cellWidth, cellHeight, const_cast<TBitmap*>(image)->Canvas()->Handle(),
           (cell - 1) * cellWidth, 0, SRCCOPY);
    DrawTransparent(DC, TRect::FromBounds(cellLeft, top, cellWidth, cellHeight), piece, SkinKeyColor);
    if (FMode != 1) return;

    // The caption, centred vertically beside the box.
    FCaption = ReadCaption();
    TSavedDC saved(DC);
    HFONT font = control ? const_cast<TControl*>(control)->Font()->Handle()
                         : reinterpret_cast<HFONT>(SendMessageW(FWnd, WM_GETFONT, 0, 0));
    if (font) SelectObject(DC, font);
    const bool enabled = !(style & WS_DISABLED);
    SetTextColor(DC, enabled && control ? ColorToRGB(const_cast<TControl*>(control)->Font()->Color())
                                        : GetSysColor(COLOR_BTNSHADOW));
    SetBkMode(DC, TRANSPARENT);
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS | alignment;
    TRect measured = captionArea;
    SkinDrawText(DC, FCaption, measured, flags | DT_CALCRECT | DT_NOCLIP);
    if (measured.Height() > captionArea.Height()) {
        // Broken into more lines than the control is high: one line, cut with an ellipsis, reads better
        // than the top of two.
        flags = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | alignment;
        measured = captionArea;
        SkinDrawText(DC, FCaption, measured, flags | DT_CALCRECT);
        measured.Right = std::min(measured.Right, captionArea.Right);
    }
    const int dy = (captionArea.Height() - (measured.Bottom - captionArea.Top)) / 2;
    TRect text = captionArea.Offset(0, dy);
    if (GetFocus() == FWnd && !FCaption.empty()) {
        TRect focus = measured.Offset(0, dy);
        if (alignment & DT_RIGHT) focus = focus.Offset(captionArea.Width() - measured.Width(), 0);
        const RECT r = focus.Inflate(2, 1).ToRECT();
        RECT clipped{};
        const RECT area = captionArea.ToRECT();
        if (IntersectRect(&clipped, &r, &area)) DrawFocusRect(DC, &clipped);
    }
    SkinDrawText(DC, FCaption, text, flags);
}
