#include "skin/controls/SkinHeader.h"

#include "skin/controls/SkinTab.h"

#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

const TClassInfo TSkinHeader::MetaClass("TSkinHeader", &TSkinControl::MetaClass, ComponentFactory<TSkinHeader>, {});

namespace {

// Room kept at an item's right for the sort arrow.
constexpr int SortArrowRoom = 14;

// A small filled triangle, point up or down, centred in Box.
void DrawSortArrow(HDC DC, const TRect& Box, bool Up, COLORREF Colour) {
    const int cx = (Box.Left + Box.Right) / 2, cy = (Box.Top + Box.Bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        // Row 0 is the point: one pixel wide; each row further out is two wider.
        const int y = Up ? cy - 2 + row : cy + 1 - row;
        SetDCBrushColor(DC, Colour);
        const RECT line{cx - row, y, cx + row + 1, y + 1};
        FillRect(DC, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
}

}  // namespace

THeaderFrame TSkinHeader::ItemFrame(int Index) const {
    const int frames = FSkinData && FSkinData->Headerbar ? FSkinData->Headerbar->FrameCount : 0;
    if (Index == FPressedItem && frames >= hfPressed) return hfPressed;
    if (Index == FHotItem || Index == FPressedItem) return hfHot;
    return hfNormal;
}

int TSkinHeader::ItemAt(POINT Point) const {
    HDHITTESTINFO hit{};
    hit.pt = Point;
    const int item = static_cast<int>(SendMessageW(FWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!(hit.flags & HHT_ONHEADER) || (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) return -1;
    return item;
}

bool TSkinHeader::BeforeMessage(TMessage& Message) {
    // Without a header image the header erases its own background.
    if (Message.Msg == WM_ERASEBKGND && (!FSkinData || !FSkinData->Headerbar || FSkinData->Headerbar->Bitmap->Empty()))
        return true;
    return !TakePaintMessages(Message) && TSkinControl::BeforeMessage(Message);
}

void TSkinHeader::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        const TPoint at{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        for (size_t i = 0; i < FItemRects.size(); ++i)
            if (FItemRects[i].Contains(at) && static_cast<int>(i) != FHotItem) {
                FHotItem = static_cast<int>(i);
                Repaint();
                break;
            }
        SkinTrackMouseLeave(FWnd);
        break;
    }
    case WM_MOUSELEAVE:
        FHotItem = -1;
        Repaint();
        break;
    case WM_LBUTTONDOWN:
        // Only a header whose items are buttons shows them pressed; a press on a divider sizes a column.
        if (GetWindowLongPtrW(FWnd, GWL_STYLE) & HDS_BUTTONS) {
            FPressedItem = ItemAt({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
            if (FPressedItem >= 0) Repaint();
        }
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (FPressedItem >= 0) {
            FPressedItem = -1;
            Repaint();
        }
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinHeader::DrawItem(TCanvas& Canvas, int Index, const TRect& Rect) {
    TDataSkinObject& bar = *FSkinData->Headerbar;
    DrawSkinElement(Canvas.Handle(), Rect, bar, bar.Trans == 1, ItemFrame(Index));
    wchar_t text[202]{};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 201;
    if (!SendMessageW(FWnd, HDM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item))) return;
    const std::wstring caption = item.pszText ? item.pszText : L"";
    const TCellAlign align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? caRight
                             : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? caCentre
                                                                           : caLeft;
    const bool sorted = (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
    TRect cell = Rect;
    if (sorted) {
        cell.Right = std::max(cell.Left, cell.Right - SortArrowRoom);
        DrawSortArrow(Canvas.Handle(), {cell.Right, Rect.Top, Rect.Right - 2, Rect.Bottom}, (item.fmt & HDF_SORTUP) != 0,
                      ColorToRGB(Canvas.Font()->Color()));
    }
    const bool withImage = (item.fmt & (HDF_IMAGE | HDF_STRING)) != 0;
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FWnd, HDM_GETIMAGELIST, 0, 0));
    if (!caption.empty())
        DrawIconCaption(Canvas, cell, align, caption, withImage ? item.iImage : -1, images, IsWindowEnabled(FWnd) != 0);
}

void TSkinHeader::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FSkinData->Headerbar || FSkinData->Headerbar->Bitmap->Empty() || Rect.IsEmpty()) return;
    TBitmap& buffer = Buffer(Rect);
    TBitmapDCLock lock(buffer);
    TCanvas& canvas = *buffer.Canvas();
    SelectControlFont(canvas);
    canvas.Font()->SetColor(IsWindowEnabled(FWnd) ? FSkinData->ButtonTextColor
                                                  : static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    canvas.Brush()->SetStyle(bsClear);

    FItemRects.clear();
    const int count = static_cast<int>(SendMessageW(FWnd, HDM_GETITEMCOUNT, 0, 0));
    int end = 0;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(FWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) {
            FItemRects.push_back({});
            continue;
        }
        const TRect rect = TRect::FromRECT(r);
        if (rect.Width() > 0) DrawItem(canvas, i, rect);
        FItemRects.push_back(rect.Inflate(-3, 0));
        end = std::max(end, rect.Right);
    }
    if (end < Rect.Width()) {
        TDataSkinObject& bar = *FSkinData->Headerbar;
        DrawSkinElement(lock.Handle(), {end, 0, Rect.Width(), Rect.Height()}, bar, bar.Trans == 1, hfNormal);
    }
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}

TSkinHeader* SkinListHeader(HWND ListView, TComponent* Owner, TSkinData& SkinData, TWinSkinForm& SkinForm) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(ListView, LVM_GETHEADER, 0, 0));
    if (!header || SkinForm.PainterOfWindow(header)) return nullptr;
    auto* painter = new TSkinHeader(Owner);
    painter->AttachWindow(header, SkinData, SkinForm, nullptr);
    return painter;
}
