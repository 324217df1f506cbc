#include "skin/controls/SkinProgress.h"

#include "skin/data/SkinConvert.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"

#include <commctrl.h>

#include <algorithm>

const TClassInfo TSkinProgress::MetaClass("TSkinProgress", &TSkinControl::MetaClass, ComponentFactory<TSkinProgress>, {});

namespace {

// Pixels the marquee's block moves each tick.
constexpr int MarqueePixelsPerStep = 4;
// The trough's edge a chunked fill keeps clear of.
constexpr int ChunkInset = 2;

}  // namespace

bool TSkinProgress::HasImage() const { return FSkinData && FSkinData->Progress && !FSkinData->Progress->Bitmap->Empty(); }

int TSkinProgress::FillLength(int Length) const {
    PBRANGE range{};
    SendMessageW(FWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int position = static_cast<int>(SendMessageW(FWnd, PBM_GETPOS, 0, 0));
    // The share of the range from its lower limit: a bar from 50 to 150 at 100 is half full, as the
    // control itself shows it.
    if (range.iHigh <= range.iLow || Length <= 0) return 0;
    return std::clamp(MulDiv(Length, position - range.iLow, range.iHigh - range.iLow), 0, Length);
}

int TSkinProgress::MarqueeStart(int Length) const {
    const int block = std::max(Length / 4, 1);
    return FMarqueeStep * MarqueePixelsPerStep % (Length + block) - block;
}

bool TSkinProgress::BeforeMessage(TMessage& Message) {
    if (Message.Msg == WM_PAINT && !HasImage()) return true;
    return !TakePaintMessages(Message) && TSkinControl::BeforeMessage(Message);
}

void TSkinProgress::AfterMessage(TMessage& Message) {
    // The control's marquee timer has just moved its own block: ours follows.
    if (Message.Msg == WM_TIMER && (GetWindowLongPtrW(FWnd, GWL_STYLE) & PBS_MARQUEE)) {
        ++FMarqueeStep;
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(Message);
}

void TSkinProgress::DrawBar(HDC DC, int Width, int Height) {
    TDataSkinBorder& progress = *FSkinData->Progress;
    const TRect whole{0, 0, Width, Height};
    const bool marquee = (GetWindowLongPtrW(FWnd, GWL_STYLE) & PBS_MARQUEE) != 0;
    if (progress.Style != 1) {
        DrawSkinElement(DC, whole, progress, true, 1);
        TRect fill{0, 0, FillLength(Width), Height};
        if (marquee) {
            const int start = MarqueeStart(Width);
            fill = {std::max(start, 0), 0, std::min(start + std::max(Width / 4, 1), Width), Height};
        }
        if (!fill.IsEmpty()) DrawSkinElement(DC, fill, progress, true, 2);
        return;
    }
    // Chunks: the trough is the element's only frame, the fill the chunk image inside it.
    DrawSkinImage(DC, whole, *progress.Bitmap, false, false, true, 1, 1, progress.Margins());
    const TDataSkinObject* chunk = FSkinData->ProgressChunk.get();
    if (!chunk || chunk->Bitmap->Empty()) return;
    const int inner = Width - 2 * ChunkInset;
    int from = 0, length = FillLength(inner);
    if (marquee) {
        from = std::max(MarqueeStart(inner), 0);
        length = std::min(MarqueeStart(inner) + std::max(inner / 4, 1), inner) - from;
    }
    TBitmap& image = *chunk->Bitmap;
    // A chunk without caps is shown whole or not at all, as the control shows its own blocks.
    if (chunk->LeftWidth == 0 && chunk->RightWidth == 0 && !marquee) length -= length % std::max(image.Width(), 1);
    if (length <= 0) return;
    if (chunk->Tile == 1) {
        // Whole chunks side by side, vertically centred.
        const int chunkWidth = std::max(image.Width(), 1);
        TBitmap strip;
        strip.SetPixelFormat(pf24bit);
        strip.SetSize(length, image.Height());
        {
            TBitmapDCLock lock(strip);
            for (int x = 0; x < length; x += chunkWidth)
                BitBlt(lock.Handle(), x, 0, chunkWidth, image.Height(), image.Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        DrawTransparent(DC, TRect::FromBounds(ChunkInset + from, (Height - image.Height()) / 2, length, image.Height()),
                        strip, SkinKeyColor);
        return;
    }
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(length, std::max(Height - 2 * ChunkInset, 1));
    DrawSkinBar(*strip.Canvas(), {0, 0, strip.Width(), strip.Height()}, image, false, false, 1, 1, chunk->Margins());
    DrawTransparent(DC, TRect::FromBounds(ChunkInset + from, ChunkInset, strip.Width(), strip.Height()), strip,
                    SkinKeyColor);
}

void TSkinProgress::DrawSkin(HDC DC, const TRect& Rect) {
    if (!HasImage() || Rect.IsEmpty()) return;
    // A standing bar is drawn lying (its length along x) and turned left at the end: it fills upwards.
    const bool vertical = (GetWindowLongPtrW(FWnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    const int width = vertical ? Rect.Height() : Rect.Width(), height = vertical ? Rect.Width() : Rect.Height();
    TBitmap& buffer = Buffer({0, 0, width, height});
    {
        TBitmapDCLock lock(buffer);
        SetDCBrushColor(lock.Handle(), ColorToRGB(FSkinData->FaceColor));
        const RECT all{0, 0, width, height};
        FillRect(lock.Handle(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        DrawBar(lock.Handle(), width, height);
    }
    if (vertical) RotateLeft(buffer);
    TBitmapDCLock lock(buffer);
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}
