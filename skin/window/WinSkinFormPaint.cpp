// The window skinner's painting: borders, title bar with icon, caption text and caption buttons, and the
// window region cut from the transparent pixels of the border images.
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinMenuBar.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/HandleCounts.h"

#include <algorithm>
#include <optional>

namespace {

enum TSide { sdLeft = 1, sdRight = 2, sdTop = 3, sdBottom = 4 };

void Blit(HDC dc, int x, int y, TBitmap* bitmap) {
    if (bitmap && !bitmap->Empty())
        BitBlt(dc, x, y, bitmap->Width(), bitmap->Height(), bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

TBitmap* TWinSkinForm::BorderPiece(int Side, TSize Size) {
    if (Size.Width <= 0 || Size.Height <= 0) return nullptr;
    const TDataSkinObject& e = Side == sdLeft    ? *FSkin->BorderLeft
                               : Side == sdRight ? *FSkin->BorderRight
                               : Side == sdTop   ? *FSkin->BorderTop
                                                 : *FSkin->BorderBottom;
    if (e.Bitmap->Empty()) return nullptr;
    const int frames = std::max(e.FrameCount, 1);
    const int frame = FActive || frames == 1 ? 1 : 2;
    // Painting, the title bar and the region all want the same pieces until the size or the state
    // changes: each is built once for them.
    TBorderPiece& cached = FPieces[static_cast<size_t>(Side - 1)];
    if (cached.Image && cached.Size == Size && cached.Frame == frame) return cached.Image.get();
    const bool vertical = Side == sdTop || Side == sdBottom;
    cached.Image = BuildSkinImage({0, 0, Size.Width, Size.Height}, *e.Bitmap, e.Margins(), vertical, e.Tile != 1,
                                  frames, frame);
    cached.Size = Size;
    cached.Frame = frame;
    return cached.Image.get();
}

void TWinSkinForm::PaintBorderPiece(int Side, const TRect& Rect, HDC DC) {
    if (Rect.Right < 0 || Rect.Bottom < 0) return;
    Blit(DC, Rect.Left, Rect.Top, BorderPiece(Side, Rect.Size()));
}

void TWinSkinForm::PaintNonClient(HDC DC) {
    if (!ScratchBitmap() || (FState != ssSkinned && FState != ssRefreshing) || FFrameKind == fkNone) return;
    if (FWindowKind == wkMdiChild && FShowState == ssMaximized) return;
    std::optional<TWindowDC> own;
    if (!DC) {
        own.emplace(FHandle);
        DC = own->get();
    }
    if (!DC) return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    FWindowRect = TRect::FromRECT(r);
    FWindowSize = FWindowRect.Size();
    const int W = FWindowSize.Width, H = FWindowSize.Height;
    const TFrameMetrics& m = FMetrics;
    try {
        if (FShowState == ssMinimized) {
            PaintTitleBar(DC);
            return;
        }
        PaintBorderPiece(sdLeft, {0, 0, m.Left, H}, DC);
        PaintBorderPiece(sdRight, {W - m.Right, 0, W, H}, DC);
        PaintBorderPiece(sdBottom, {m.Left, H - m.Bottom, W - m.Right, H}, DC);
        PaintTitleBar(DC);
        if (FMenuBar) {
            FMenuBar->Paint(DC);
        } else if (FMenuHeight > 0) {
            const RECT strip{m.Left, m.Top, W - m.Right, m.Top + FMenuHeight};
            FillRect(DC, &strip, FSkin->FaceBrush.get());
        }
    } catch (...) {
        // A frame that cannot be painted this time is painted by the next WM_NCPAINT.
    }
}

void TWinSkinForm::RepaintTitleBar() {
    if (!ScratchBitmap() || (FState != ssSkinned && FState != ssRefreshing) || FFrameKind == fkNone) return;
    TWindowDC dc(FHandle);
    if (!dc) return;
    try {
        PaintTitleBar(dc.get());
    } catch (...) {
    }
}

void TWinSkinForm::PaintTitleBar(HDC DC) {
    const int W = FWindowSize.Width, H = FWindowSize.Height;
    const TFrameMetrics& m = FMetrics;
    if (W <= 0 || m.Top <= 0) return;
    if (!FTitleBitmap) {
        FTitleBitmap = std::make_unique<TBitmap>();
        FTitleBitmap->SetPixelFormat(pf24bit);
    }
    TBitmap& title = *FTitleBitmap;
    const bool minimized = FShowState == ssMinimized;
    const TRect titleRect = minimized ? TRect{0, 0, W, m.Top} : TRect{m.Left, 0, W - m.Right, m.Top};
    // Every piece is made before the title's DC is taken, and the DC is held while the title is composed
    // from them (a bitmap's DC is only lent to it).
    TBitmap* left = minimized ? nullptr : BorderPiece(sdLeft, {m.Left, H});
    TBitmap* right = minimized ? nullptr : BorderPiece(sdRight, {m.Right, H});
    TBitmap* top = BorderPiece(sdTop, titleRect.Size());
    title.SetSize(W, minimized ? std::max(H, m.Top) : m.Top);
    TBitmapDCLock lock(title);
    HDC to = lock.Handle();
    if (minimized) {
        title.Canvas()->Brush()->SetColor(FSkin->FaceColor);
        title.Canvas()->FillRect({0, 0, title.Width(), title.Height()});
    }
    // The corners belong to the side borders: their top rows are composed in here too, so the title goes
    // to the screen in one piece.
    if (left) BitBlt(to, 0, 0, m.Left, m.Top, left->Canvas()->Handle(), 0, 0, SRCCOPY);
    if (right) BitBlt(to, W - m.Right, 0, m.Right, m.Top, right->Canvas()->Handle(), 0, 0, SRCCOPY);
    Blit(to, titleRect.Left, titleRect.Top, top);
    DrawCaptionText(title, titleRect);
    LayoutCaptionButtons();
    for (const auto& button : FButtons)
        if (button->Visible && !button->Element().Bitmap->Empty() && button->Element().Align != AlignMenuBar)
            button->Draw(to);
    BitBlt(DC, 0, 0, title.Width(), title.Height(), to, 0, 0, SRCCOPY);
    SetBkMode(DC, OPAQUE);
}

std::wstring TWinSkinForm::CaptionText() const {
    const int length = GetWindowTextLengthW(FHandle);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(FHandle, text.data(), length + 1), 0)));
    return text;
}

void TWinSkinForm::DrawCaptionText(TBitmap& Target, const TRect& Title) {
    const TDataSkinTitle& t = *FSkin->Title;
    HDC dc = Target.Canvas()->Handle();  // held by the title bar painter for the whole composition
    const std::wstring text = L"  " + CaptionText() + L" ";
    TSelectObject font(dc, FSkin->CaptionFont->Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(FActive ? FSkin->TitleTextActiveColor : FSkin->TitleTextInactiveColor));
    const UINT direction = FRightToLeft ? DT_RTLREADING : 0;

    TRect r{Title.Left, Title.Top, Title.Left, Title.Top};
    SkinDrawText(dc, text, r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | direction);
    r.Right += t.TextBackLeft + t.TextBackRight;
    const int alignment = FRightToLeft ? 2 : t.TextAlignment;
    int dx = 0;
    if (alignment == 0) dx = t.LeftWidth;
    if (alignment == 1) dx = (Title.Width() - r.Width()) / 2;
    if (alignment == 2) dx = Title.Width() - t.RightWidth - r.Width();
    const int dy = (Title.Height() - r.Height()) / 2 + t.TopHeight / 2;
    r = r.Offset(dx, dy);

    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_POPUP) {
        if (FRightButtonsLeft > 5 && FRightButtonsLeft - 5 < r.Right) r.Right = FRightButtonsLeft - 5;
    } else {
        r.Right = std::min(r.Right, Title.Right - t.RightWidth);
    }
    if (FFrameKind == fkDialog && t.TextAlignment == 0) r.Left -= 16;  // a dialog shows no icon
    FCaptionRect = r;

    if (!t.Bitmap->Empty())
        DrawSkinBar(*Target.Canvas(), {r.Left, Title.Top, r.Right, Title.Bottom}, *t.Bitmap, true, true, 2,
                    FActive ? 1 : 2, {t.TextBackLeft, 0, t.TextBackRight, 0});
    r.Left += t.TextBackLeft;
    r.Right -= t.TextBackRight;
    if (r.Right > r.Left)
        SkinDrawText(dc, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (FRightToLeft ? DT_RIGHT : 0) | direction);
    SetBkMode(dc, oldMode);
}

void TWinSkinForm::DrawIcon(HDC DC, const TRect& Rect) const {
    if (FIcon) {
        DrawIconEx(DC, Rect.Left + (Rect.Width() - FIconSize) / 2, Rect.Top + (Rect.Height() - FIconSize) / 2, FIcon,
                   FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    if (FIconBitmap && !FIconBitmap->Empty())
        DrawTransparent(DC, TRect::FromBounds(Rect.Left, Rect.Top, FIconBitmap->Width(), FIconBitmap->Height()),
                        *FIconBitmap, SkinKeyColor);
}

// ---- Caption buttons ----

bool TWinSkinForm::IsCaptionButtonVisible(TWinSysButton& Button) {
    const TDataSkinSysButton& e = Button.Element();
    const bool maximized = FShowState == ssMaximized;
    const bool boxes = (FButtonFlags & (bfMinimize | bfMaximize)) != 0;
    const bool systemMenu = (FButtonFlags & bfSystemMenu) != 0;
    auto rule = [&](int value, bool second) -> bool {
        if (value == 0) return true;
        if (value == 1) return maximized;
        if (value == 2) return !maximized;
        if (value == 3) return FActive;
        if (value == 4) return !FActive;
        if (value == 6 || value == 8) return second ? boxes : boxes && systemMenu;
        if (value == 7) return !(FButtonFlags & bfMaximize);
        if (value == 9) return !(FButtonFlags & bfMinimize);
        if (value == AlignMenuBar) return false;  // shown by the menu bar of a maximised MDI child
        if (value == 200) return !FDialog && FFrameKind == fkDialog;
        if (value >= 201 && value <= 999) return true;
        if (value >= 1000 && value <= 2000)
            return second || SendMessageW(FHandle, WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(value), e.Action) > 0;
        return false;
    };
    bool visible = rule(e.Visibility, false) && rule(e.Visibility1, true);
    switch (e.Action) {
    case baClose:
        if (!systemMenu) visible = false;
        break;
    case baMaximize:
        Button.Enabled = (FButtonFlags & bfMaximize) && systemMenu;
        break;
    case baMinimize:
        Button.Enabled = (FButtonFlags & bfMinimize) && systemMenu;
        break;
    case baSystemMenu:
    case baIcon:
    case baIconMenu:
        if (FFrameKind == fkDialog) visible = false;
        break;
    default:
        break;
    }
    Button.Visible = visible;
    return visible;
}

void TWinSkinForm::LayoutCaptionButtons() {
    const int W = FWindowSize.Width;
    int rightmost = 0;
    const TDataSkinObject* menuBar = FSkin->MenuBar.get();
    for (const auto& button : FButtons) {
        const TDataSkinSysButton& e = button->Element();
        if (!IsCaptionButtonVisible(*button) || e.Bitmap->Empty()) continue;
        const int w = e.Bitmap->Width() / std::max(e.FrameCount, 1), h = e.Bitmap->Height();
        int x = 0, y = 0;
        switch (e.Align) {
        case 0:
            x = e.XCoord, y = e.YCoord;
            break;
        case 1:
            x = W - e.XCoord, y = e.YCoord;
            rightmost = std::max(rightmost, x);
            break;
        case 2:
        case 8:
            x = FCaptionRect.Left - w - e.XCoord, y = e.YCoord;
            break;
        case 3:
        case 9:
            x = FCaptionRect.Right + e.XCoord, y = e.YCoord;
            break;
        case AlignMenuBar:
            y = FMetrics.Top + (FMenuHeight - h) / 2;
            x = FRightToLeft ? e.XCoord + (menuBar ? menuBar->LeftWidth : 0) + FMetrics.Left
                             : W - e.XCoord - FMetrics.Right - (menuBar ? menuBar->LeftWidth : 0);
            break;
        default:
            break;
        }
        button->BoundsRect = TRect::FromBounds(x, y, w, h);
    }
    if (rightmost > 0) FRightButtonsLeft = rightmost;
}

// ---- Region ----

void TWinSkinForm::UpdateRegion(bool Redraw) {
    if (FState == ssFinished || !FFrameSkinned || FFrameKind == fkNone) return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    if (W <= 0 || H <= 0) return;
    if (FWindowKind == wkMdiChild && FShowState != ssNormal) return;
    // Scanning the border images is the costly part: a window that only moved keeps its region.
    if (FRegionSet && FRegionSize == TSize{W, H} && FRegionMaximized == (FShowState == ssMaximized) &&
        FWindowKind != wkMdiChild && FState != ssRefreshing)
        return;

    const TFrameMetrics& m = FMetrics;
    const TDataSkinObject* borders[] = {FSkin->BorderLeft.get(), FSkin->BorderRight.get(), FSkin->BorderTop.get(),
                                        FSkin->BorderBottom.get()};
    const bool anyTransparent = std::any_of(std::begin(borders), std::end(borders), [](auto* e) { return e->Trans != 0; });
    UniqueRegion region;
    // Maximised, the frame meets the edges of the work area: rounded corners would let the desktop show
    // through at the screen's corners, so the window is square there, as the system's own is.
    if (anyTransparent && FShowState != ssMaximized) {
        region.reset(CreateRectRgn(m.Left, m.Top, W - m.Right, H - m.Bottom));
        // One border's region: the opaque pixels of its piece when it is transparent, else its rectangle.
        auto part = [&](int side, const TRect& at, bool shaped) {
            if (shaped) {
                if (TBitmap* piece = BorderPiece(side, at.Size()))
                    return RegionFromBitmap(*piece, at.Left, at.Top, 1, 1, 1, SkinKeyColor);
                return UniqueRegion{};
            }
            return UniqueRegion(CreateRectRgn(at.Left, at.Top, at.Right, at.Bottom));
        };
        UniqueRegion left = part(sdLeft, {0, 0, m.Left, H}, FSkin->BorderLeft->Trans == 1 && H > 1);
        UniqueRegion right = part(sdRight, {W - m.Right, 0, W, H}, FSkin->BorderRight->Trans == 1 && H > 1);
        UniqueRegion bottom =
            part(sdBottom, {m.Left, H - m.Bottom, W - m.Right, H}, FSkin->BorderBottom->Trans == 1 && m.Bottom >= 2);
        UniqueRegion top = part(sdTop, {m.Left, 0, W - m.Right, m.Top}, FSkin->BorderTop->Trans == 1 && m.Top > 1);
        for (UniqueRegion* piece : {&left, &right, &top, &bottom})
            if (*piece) CombineRgn(region.get(), region.get(), piece->get(), RGN_OR);
    } else {
        region.reset(CreateRectRgn(0, 0, W, H));
    }
    FRegionSize = {W, H};
    FRegionMaximized = FShowState == ssMaximized;
    FRegionSet = true;
    HandRegionToWindow(FHandle, std::move(region), Redraw);
}

void TWinSkinForm::RemoveRegion(bool Redraw) {
    if (!FRegionSet) return;
    FRegionSet = false;
    FRegionSize = {};
    if (IsWindow(FHandle)) HandRegionToWindow(FHandle, UniqueRegion{}, Redraw && FWindowKind == wkMdiChild);
}
