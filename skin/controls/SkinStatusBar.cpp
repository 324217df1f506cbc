#include "skin/controls/SkinStatusBar.h"

#include "skin/controls/SkinSizer.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"
#include "ui/Properties.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TSkinStatusBar::MetaClass("TSkinStatusBar", &TSkinControl::MetaClass, ComponentFactory<TSkinStatusBar>, {});

namespace {

// A panel's text as the bar holds it: one leading tab centres it, two put it on the right.
void TakeAlignment(std::wstring& Text, UINT& Align) {
    Align = DT_LEFT;
    if (Text.rfind(L"\t\t", 0) == 0) {
        Align = DT_RIGHT;
        Text.erase(0, 2);
    } else if (Text.rfind(L"\t", 0) == 0) {
        Align = DT_CENTER;
        Text.erase(0, 1);
    }
}

// Part Part's text and its drawing type (SBT_* bits); an owner-drawn part gives its value instead.
std::wstring PartText(HWND Bar, int Part, WORD& Type, LPARAM& Data) {
    const auto info = static_cast<DWORD>(SendMessageW(Bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(Part), 0));
    Type = HIWORD(info);
    if (Type & SBT_OWNERDRAW) {
        Data = static_cast<LPARAM>(SendMessageW(Bar, SB_GETTEXTW, static_cast<WPARAM>(Part), 0));
        return {};
    }
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    SendMessageW(Bar, SB_GETTEXTW, static_cast<WPARAM>(Part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

TStatusFrame FrameOfType(WORD Type) {
    if (Type & SBT_NOBORDERS) return sfNoBevel;
    if (Type & SBT_POPOUT) return sfRaised;
    return sfLowered;
}

UINT Mirrored(UINT Align) { return Align == DT_LEFT ? DT_RIGHT : Align == DT_RIGHT ? DT_LEFT : Align; }

}  // namespace

std::wstring TSkinStatusBar::SimpleText() const {
    if (FControl && FindPropInfo(FControl, "SimpleText")) return ReadStringProperty(FControl, "SimpleText");
    WORD type = 0;
    LPARAM data = 0;
    return PartText(FWnd, SB_SIMPLEID, type, data);
}

std::vector<TStatusCell> TSkinStatusBar::Cells(const TRect& Bar) const {
    std::vector<TStatusCell> cells;
    if (!FWnd) return cells;
    const bool rightToLeft = (GetWindowLongPtrW(FWnd, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) ||
                             (Control() && Control()->UseRightToLeftReading());
    const int parts = static_cast<int>(SendMessageW(FWnd, SB_GETPARTS, 0, 0));
    if (SendMessageW(FWnd, SB_ISSIMPLE, 0, 0) || parts <= 0) {
        TStatusCell cell{Bar, sfLowered, SimpleText(), rightToLeft ? static_cast<UINT>(DT_RIGHT) : DT_LEFT};
        cells.push_back(std::move(cell));
        return cells;
    }
    for (int i = 0; i < parts; ++i) {
        RECT r{};
        if (!SendMessageW(FWnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        TStatusCell cell;
        cell.Rect = {r.left, r.top, std::min(static_cast<int>(r.right) + 2, Bar.Right), r.bottom};
        if (i == parts - 1) cell.Rect.Right = Bar.Right;
        WORD type = 0;
        cell.Text = PartText(FWnd, i, type, cell.Data);
        cell.OwnerDraw = (type & SBT_OWNERDRAW) != 0;
        cell.Frame = FrameOfType(type);
        TakeAlignment(cell.Text, cell.Align);
        if (rightToLeft || (type & SBT_RTLREADING)) cell.Align = Mirrored(cell.Align);
        cells.push_back(std::move(cell));
    }
    return cells;
}

TRect TSkinStatusBar::GripRect(const TRect& Bar) const {
    if (!FSkinData || !(GetWindowLongPtrW(FWnd, GWL_STYLE) & SBARS_SIZEGRIP)) return {};
    return SkinGripRect(*FSkinData, Bar);
}

bool TSkinStatusBar::BeforeMessage(TMessage& Message) {
    return !TakePaintMessages(Message) && TSkinControl::BeforeMessage(Message);
}

void TSkinStatusBar::AfterMessage(TMessage& Message) {
    // The last cell and the grip move with the bar's right edge: the whole bar is drawn again.
    if (Message.Msg == WM_SIZE) {
        InvalidateRect(FWnd, nullptr, FALSE);
        return;
    }
    TSkinControl::AfterMessage(Message);
}

void TSkinStatusBar::DrawFrame(HDC DC, const TRect& Rect, TStatusFrame Frame) const {
    const TDataSkinObject* edges = FSkinData->StatusBarEdges.get();
    if (edges && !edges->Bitmap->Empty()) {
        DrawSkinElement(DC, Rect, *FSkinData->StatusBarEdges, edges->Trans == 1, Frame);
        return;
    }
    if (Frame == sfNoBevel) return;
    // No skin image: a plain one-pixel bevel.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF topLeft = Frame == sfLowered ? shadow : light, bottomRight = Frame == sfLowered ? light : shadow;
    auto line = [DC](int l, int t, int r, int b, COLORREF colour) {
        SetDCBrushColor(DC, colour);
        const RECT rect{l, t, r, b};
        FillRect(DC, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    };
    line(Rect.Left, Rect.Top, Rect.Right, Rect.Top + 1, topLeft);
    line(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom, topLeft);
    line(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom, bottomRight);
    line(Rect.Right - 1, Rect.Top, Rect.Right, Rect.Bottom, bottomRight);
}

void TSkinStatusBar::DrawCell(TCanvas& Canvas, const TStatusCell& Cell, int Index) const {
    HDC dc = Canvas.Handle();
    DrawFrame(dc, Cell.Rect, Cell.Frame);
    if (Cell.OwnerDraw) {
        // The bar's parent draws the panel as it would without skin, inside the skinned bevel.
        DRAWITEMSTRUCT item{};
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(FWnd));
        item.itemID = static_cast<UINT>(Index);
        item.hwndItem = FWnd;
        item.hDC = dc;
        item.rcItem = Cell.Rect.Inflate(-2, -2).ToRECT();
        item.itemData = static_cast<ULONG_PTR>(Cell.Data);
        SendMessageW(GetParent(FWnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    TRect text = Cell.Rect.Inflate(-4, 0);
    Canvas.DrawText(Cell.Text.empty() ? L" " : Cell.Text, text,
                    Cell.Align | DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TSkinStatusBar::SelectFont(TCanvas& Canvas) const {
    SelectControlFont(Canvas);
    Canvas.Font()->SetStyle({});
    if (FSkinData->StatusBarEdges) Canvas.Font()->SetColor(static_cast<TColor>(FSkinData->StatusBarEdges->NormalColour2));
    Canvas.Brush()->SetStyle(bsClear);
}

void TSkinStatusBar::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || Rect.IsEmpty()) return;
    TBitmap& buffer = Buffer(Rect);
    TBitmapDCLock lock(buffer);
    TCanvas& canvas = *buffer.Canvas();
    const TRect bar{0, 0, Rect.Width(), Rect.Height()};
    const RECT whole = bar.ToRECT();
    SetDCBrushColor(lock.Handle(), ColorToRGB(FSkinData->FaceColor));
    FillRect(lock.Handle(), &whole, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SelectFont(canvas);

    const std::vector<TStatusCell> cells = Cells(bar);
    for (size_t i = 0; i < cells.size(); ++i) DrawCell(canvas, cells[i], static_cast<int>(i));
    if (!GripRect(bar).IsEmpty()) DrawSkinGrip(lock.Handle(), *FSkinData, bar);
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}
