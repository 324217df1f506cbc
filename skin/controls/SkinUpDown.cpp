#include "skin/controls/SkinUpDown.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TSkinUpDown::MetaClass("TSkinUpDown", &TSkinControl::MetaClass, ComponentFactory<TSkinUpDown>, {});

namespace {

// How far an embedded spin keeps from its edit's window edges: the edit's skinned frame is that wide.
constexpr int EditFrameWidth = 3;

void Fill(HDC DC, const TRect& Rect, COLORREF Colour) {
    UniqueBrush brush(CreateSolidBrush(Colour));
    const RECT r = Rect.ToRECT();
    FillRect(DC, &r, brush.get());
}

}  // namespace

bool TSkinUpDown::Horizontal() const {
    return FHorizontal == 1 || (GetWindowLongPtrW(FWnd, GWL_STYLE) & UDS_HORZ) != 0;
}

TRect TSkinUpDown::ArrowRect(const TRect& Area, TSpinArrow Arrow) const {
    if (Horizontal()) {
        const int split = Area.Left + Area.Width() / 2;
        return Arrow == saFirst ? TRect{Area.Left, Area.Top, split, Area.Bottom} : TRect{split, Area.Top, Area.Right, Area.Bottom};
    }
    const int split = Area.Top + Area.Height() / 2;
    return Arrow == saFirst ? TRect{Area.Left, Area.Top, Area.Right, split} : TRect{Area.Left, split, Area.Right, Area.Bottom};
}

TArrowState TSkinUpDown::ArrowState(TSpinArrow Arrow) const {
    if (!IsWindowEnabled(FWnd)) return asDisabled;
    if (!(FMouseState & msPressed)) return asNormal;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(FWnd, &cursor);
    RECT client{};
    GetClientRect(FWnd, &client);
    return ArrowRect(TRect::FromRECT(client), Arrow).Contains({cursor.x, cursor.y}) ? asPressed : asNormal;
}

bool TSkinUpDown::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        // The arrows cover everything; a bare spin's corners are the edit's white.
        if (!FControl) {
            RECT client{};
            GetClientRect(FWnd, &client);
            Fill(reinterpret_cast<HDC>(Message.WParam), TRect::FromRECT(client), RGB(255, 255, 255));
        }
        Message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(Message);
        FMouseState |= msPressed;
        PaintWindow(nullptr);
        return false;
    case WM_LBUTTONUP:
        FMouseState &= static_cast<uint8_t>(~msPressed);
        CallPrevious(Message);
        PaintWindow(nullptr);
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinUpDown::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    TRect area = Rect;
    if (FEmbedded) {
        RECT client{};
        GetClientRect(FWnd, &client);
        Fill(DC, TRect::FromRECT(client), RGB(255, 255, 255));
        RECT spin{}, edit{};
        if (GetWindowRect(FWnd, &spin) && GetWindowRect(GetParent(FWnd), &edit)) {
            area.Top += std::max(0, EditFrameWidth - static_cast<int>(spin.top - edit.top));
            area.Bottom -= std::max(0, EditFrameWidth - static_cast<int>(edit.bottom - spin.bottom));
            area.Right -= std::max(0, EditFrameWidth - static_cast<int>(edit.right - spin.right));
        }
    }
    if (area.IsEmpty()) return;

    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(area.Width(), area.Height());
    TBitmapDCLock lock(buffer);
    HDC dc = lock.Handle();
    const TRect local{0, 0, area.Width(), area.Height()};
    Fill(dc, local, ColorToRGB(FSkinData->FaceColor));
    TDataSkinBorder* element = Horizontal() ? FSkinData->UpDownHorz.get() : FSkinData->UpDownVert.get();
    for (TSpinArrow arrow : {saFirst, saSecond}) {
        const TRect half = ArrowRect(local, arrow);
        const TArrowState state = ArrowState(arrow);
        if (!element || element->Bitmap->Empty()) {
            DrawPlainArrow(dc, half, arrow, state);
            continue;
        }
        const int frames = std::max(element->FrameCount, 1);
        const int frame = state + 4 * arrow;
        DrawSkinFrame(dc, half, *element->Bitmap, true, frames, frame);
        if (!element->Bitmap2->Empty()) DrawSkinGlyph(dc, half, *element->Bitmap2, true, frames, frame);
    }
    BitBlt(DC, area.Left, area.Top, area.Width(), area.Height(), dc, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawPlainArrow(HDC DC, const TRect& Half, TSpinArrow Arrow, TArrowState State) const {
    UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(FSkinData->ButtonDkShadowColor)));
    UniqueBrush fill(CreateSolidBrush(ColorToRGB(State == asPressed ? FSkinData->ButtonShadowColor : FSkinData->FaceColor)));
    TSavedDC saved(DC);  // after the pen and brush: they are deselected before they are deleted
    SelectObject(DC, pen.get());
    SelectObject(DC, fill.get());
    Rectangle(DC, Half.Left, Half.Top, Half.Right, Half.Bottom);

    // A three-line arrowhead, widest at its base.
    const int cx = (Half.Left + Half.Right) / 2, cy = (Half.Top + Half.Bottom) / 2;
    for (int i = 0; i < 3; ++i) {
        if (Horizontal()) {
            const int x = Arrow == saFirst ? cx - 1 + i : cx + 1 - i;
            MoveToEx(DC, x, cy - i, nullptr);
            LineTo(DC, x, cy + i + 1);
        } else {
            const int y = Arrow == saFirst ? cy - 2 + i : cy - i;
            MoveToEx(DC, cx - i, y, nullptr);
            LineTo(DC, cx + i + 1, y);
        }
    }
}
