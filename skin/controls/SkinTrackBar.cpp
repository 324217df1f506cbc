#include "skin/controls/SkinTrackBar.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"
#include "ui/Messages.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TSkinTrackBar::MetaClass("TSkinTrackBar", &TSkinControl::MetaClass, ComponentFactory<TSkinTrackBar>, {});

namespace {

// The cell of a thumb image shown for a thumb at rest.
constexpr int ThumbCell = 2;
constexpr int ThumbCells = 5;

}  // namespace

bool TSkinTrackBar::Vertical() const { return (GetWindowLongPtrW(FWnd, GWL_STYLE) & TBS_VERT) != 0; }

bool TSkinTrackBar::BeforeMessage(TMessage& Message) {
    if (Message.Msg == CN_CTLCOLORSTATIC && FSkinData->FaceBrush) {
        // The bar asks its parent for its background: the skin's face, like the window around it.
        CallPrevious(Message);
        Message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush.get());
        return false;
    }
    if (Message.Msg != WM_NOTIFY && Message.Msg != CN_NOTIFY) return TSkinControl::BeforeMessage(Message);
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(Message.LParam);
    if (!draw || draw->hdr.code != static_cast<UINT>(NM_CUSTOMDRAW) || draw->hdr.hwndFrom != FWnd) return true;
    switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
        Message.Result = CDRF_NOTIFYITEMDRAW;
        return false;
    case CDDS_ITEMPREPAINT:
        if (draw->dwItemSpec == TBCD_THUMB) {
            DrawThumb(draw->hdc);
            Message.Result = CDRF_SKIPDEFAULT;
        } else if (draw->dwItemSpec == TBCD_CHANNEL) {
            DrawChannel(draw->hdc);
            Message.Result = CDRF_SKIPDEFAULT;
        } else {
            Message.Result = CDRF_DODEFAULT;
        }
        return false;
    default:
        Message.Result = CDRF_DODEFAULT;
        return false;
    }
}

void TSkinTrackBar::DrawChannel(HDC DC) {
    RECT r{};
    SendMessageW(FWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
    const bool vertical = Vertical();
    TDataSkinObject* image = vertical ? FSkinData->TrackVert.get() : FSkinData->Track.get();
    if (!image || image->Bitmap->Empty()) return;
    // Windows reports a standing bar's channel with x and y exchanged (Wine does not): a standing
    // channel is taller than wide.
    TRect channel = TRect::FromRECT(r);
    if (vertical && channel.Width() > channel.Height()) channel = {r.top, r.left, r.bottom, r.right};
    const int w = image->Bitmap->Width(), h = image->Bitmap->Height();
    // The image's breadth, centred on the channel's middle line; its caps kept, its middle stretched.
    if (!vertical) {
        DrawSkinHBar(DC, TRect::FromBounds(channel.Left, channel.Top + (channel.Height() - h) / 2, channel.Width(), h),
                     *image->Bitmap, false, 1, 1, image->Margins());
        return;
    }
    const int left = channel.Left + (channel.Width() - w) / 2;
    const int top = std::min(image->TopHeight, h), bottom = std::min(image->BottomHeight, h - top);
    HDC from = image->Bitmap->Canvas()->Handle();
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, left, channel.Top, w, top, from, 0, 0, w, top, SRCCOPY);
    StretchBlt(DC, left, channel.Top + top, w, channel.Height() - top - bottom, from, 0, top, w, h - top - bottom, SRCCOPY);
    StretchBlt(DC, left, channel.Bottom - bottom, w, bottom, from, 0, h - bottom, w, bottom, SRCCOPY);
}

void TSkinTrackBar::DrawThumb(HDC DC) {
    if (!IsWindow(FWnd)) return;
    RECT r{};
    SendMessageW(FWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    const TRect thumb = TRect::FromRECT(r);
    TDataSkinObject* image = Vertical() && FSkinData->TrackbarThumbVert ? FSkinData->TrackbarThumbVert.get()
                                                                          : FSkinData->TrackbarThumbHorz.get();
    if (image && !image->Bitmap->Empty()) {
        DrawSkinFrame(DC, thumb, *image->Bitmap, true, ThumbCells, ThumbCell);
        return;
    }
    // No thumb image: an outline in the skin's shadow colour.
    SetDCBrushColor(DC, ColorToRGB(FSkinData->ButtonShadowColor));
    FrameRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
