// The status bar painter on real bars: the simple line in one lowered cell that follows the text, panels
// with their bevels and alignments, owner-drawn panels still drawn by the parent, and the size grip.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/data/SkinData.h"
#include "ui/StatusBar.h"

#include "Pump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class StatusBarPainter : public SkinnedForm {
protected:
    StatusBarPainter() : SkinnedForm({420, 200}) {
        bar = new TStatusBar(form);
        bar->SetParent(form);
        bar->SetSimpleText(L"Ready");
        ShowSkinned();
    }

    TSkinStatusBar* PainterOf(HWND wnd) const {
        return skinner ? dynamic_cast<TSkinStatusBar*>(skinner->PainterOfWindow(wnd)) : nullptr;
    }
    COLORREF TextColour() const { return static_cast<COLORREF>(skin->StatusBarEdges->NormalColour2); }
    // Frame Frame of the skin's status edges at the cell's size.
    std::unique_ptr<TPixels> Edges(const TRect& Cell, int Frame) const {
        return TPixels::OfElement(*skin->StatusBarEdges, Cell.Width(), Cell.Height(), Frame, skin->FaceColor);
    }
    // The points that tell the frames apart: the four edges' middles and the top left corner's inside.
    static std::vector<POINT> EdgePoints(const TRect& Cell) {
        return {{0, Cell.Height() / 2}, {Cell.Width() / 2, 0}, {Cell.Width() - 1, Cell.Height() / 2},
                {Cell.Width() / 2, Cell.Height() - 1}, {1, 1}};
    }
    // Shot's pixels at the edge points of Cell equal those of the frame drawn alone.
    void ExpectFrame(TPixels& Shot, const TRect& Cell, int Frame) const {
        auto expected = Edges(Cell, Frame);
        for (POINT p : EdgePoints(Cell))
            EXPECT_EQ(Shot.At(Cell.Left + p.x, Cell.Top + p.y), expected->At(p.x, p.y))
                << "frame " << Frame << " at " << p.x << "," << p.y << " of the cell at " << Cell.Left;
    }

    TStatusBar* bar = nullptr;
};

TEST_F(StatusBarPainter, TheSimpleLineIsOneLoweredCellAndFollowsTheText) {
    const HWND wnd = bar->Handle();
    ASSERT_NE(PainterOf(wnd), nullptr) << "discovery gave the status bar no status bar painter";
    ASSERT_TRUE(skin->StatusBarEdges && !skin->StatusBarEdges->Bitmap->Empty());
    RedrawAll(wnd);
    auto shot = TPixels::OfWindow(wnd);
    const TRect whole{0, 0, shot->Width(), shot->Height()};
    ExpectFrame(*shot, whole, sfLowered);
    {
        // The check can fail: the raised frame differs from the lowered one at the points looked at.
        auto lowered = Edges(whole, sfLowered), raised = Edges(whole, sfRaised);
        bool differ = false;
        for (POINT p : EdgePoints(whole)) differ = differ || lowered->At(p.x, p.y) != raised->At(p.x, p.y);
        ASSERT_TRUE(differ);
    }
    const TRect textArea{2, 2, whole.Width() - 20, whole.Height() - 2};
    const TRect ready = shot->BoundsOf(TextColour(), textArea);
    EXPECT_FALSE(ready.IsEmpty()) << "no text in the skin's status colour";
    EXPECT_LT(ready.Left, 10) << "the simple text starts at the left";

    // Each new line shows at once (a search sets one per folder), and an empty line leaves the cell bare.
    bar->SetSimpleText(L"C:\\Windows\\System32\\drivers\\etc");
    auto longer = TPixels::OfWindow(wnd);
    EXPECT_GT(longer->BoundsOf(TextColour(), textArea).Right, ready.Right + 40);
    bar->SetSimpleText(L"");
    auto empty = TPixels::OfWindow(wnd);
    EXPECT_TRUE(empty->BoundsOf(TextColour(), textArea).IsEmpty());
    bar->SetSimpleText(L"Ready");
    auto again = TPixels::OfWindow(wnd);
    EXPECT_EQ(again->BoundsOf(TextColour(), textArea), ready);
}

TEST_F(StatusBarPainter, TheSizeGripIsTheSkinsFifthExtraImage) {
    const HWND wnd = bar->Handle();
    TSkinStatusBar* painter = PainterOf(wnd);
    ASSERT_NE(painter, nullptr);
    TDataSkinObject& extra = *skin->ExtraImages;
    ASSERT_FALSE(extra.Bitmap->Empty());
    RedrawAll(wnd);
    auto shot = TPixels::OfWindow(wnd);
    const TRect whole{0, 0, shot->Width(), shot->Height()};
    const TRect grip = painter->GripRect(whole);
    ASSERT_FALSE(grip.IsEmpty());
    EXPECT_EQ(grip.Right, whole.Right - 1);
    EXPECT_EQ(grip.Bottom, whole.Bottom - 1);

    // Every opaque pixel of cell 5 is on screen where the grip goes.
    const int cell = extra.Bitmap->Width() / std::max(extra.FrameCount, 1);
    int opaque = 0;
    for (int y = 0; y < extra.Bitmap->Height(); ++y)
        for (int x = 0; x < cell; ++x) {
            const TColor source = extra.Bitmap->Canvas()->Pixel(4 * cell + x, y);
            if (source == SkinKeyColor) continue;
            ++opaque;
            EXPECT_EQ(shot->At(grip.Left + x, grip.Top + y), ColorToRGB(source)) << x << "," << y;
        }
    EXPECT_GT(opaque, 4);

    // Without the grip style (the bar makes its window again) the corner is the lowered cell's.
    bar->SetSizeGrip(false);
    Pump(2);
    ASSERT_EQ(PainterOf(bar->Handle()), painter) << "the painter stays with the bar's new window";
    EXPECT_TRUE(painter->GripRect(whole).IsEmpty());
    RedrawAll(bar->Handle());
    auto bare = TPixels::OfWindow(bar->Handle());
    auto lowered = Edges(whole, sfLowered);
    for (int y = grip.Top; y < grip.Bottom; y += 3)
        for (int x = grip.Left; x < grip.Right; x += 3) EXPECT_EQ(bare->At(x, y), lowered->At(x, y)) << x << "," << y;
}

// Panels of a bare bar: each cell has its panel's bevel, the text its panel's alignment (given to the
// bar with leading tabs), and an owner-drawn panel is drawn by the parent inside its skinned cell.
TEST_F(StatusBarPainter, PanelsShowTheirBevelsAlignmentsAndOwnerDrawing) {
    HWND wnd = AddSystemControl(STATUSCLASSNAMEW, L"", CCS_TOP | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                                TRect::FromBounds(0, 10, 420, 22));
    int rights[] = {110, 220, 320, -1};
    SendMessageW(wnd, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(rights));
    struct TCase {
        const wchar_t* Text;
        WORD Type;
        TStatusFrame Frame;
        UINT Align;
    };
    const TCase cases[] = {
        {L"left", 0, sfLowered, DT_LEFT},
        {L"\tcentre", SBT_POPOUT, sfRaised, DT_CENTER},
        {L"\t\tright", SBT_NOBORDERS, sfNoBevel, DT_RIGHT},
    };
    for (int i = 0; i < 3; ++i)
        SendMessageW(wnd, SB_SETTEXTW, static_cast<WPARAM>(i | cases[i].Type), reinterpret_cast<LPARAM>(cases[i].Text));
    SendMessageW(wnd, SB_SETTEXTW, 3 | SBT_OWNERDRAW, 42);

    // The form draws the owner-drawn panel red, as a program's handler would.
    struct TDrawn {
        HWND Bar;
        UINT Item = 99;
        ULONG_PTR Data = 0;
        RECT Rect{};
    } drawn{wnd};
    const auto proc = [](HWND w, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) -> LRESULT {
        auto* d = reinterpret_cast<TDrawn*>(ref);
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (msg == WM_DRAWITEM && item->hwndItem == d->Bar) {
            d->Item = item->itemID;
            d->Data = item->itemData;
            d->Rect = item->rcItem;
            SetDCBrushColor(item->hDC, RGB(255, 0, 0));
            FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return TRUE;
        }
        return DefSubclassProc(w, msg, wParam, lParam);
    };
    SetWindowSubclass(form->Handle(), proc, 0x5B, reinterpret_cast<DWORD_PTR>(&drawn));

    auto* painter = AttachPainter<TSkinStatusBar>(wnd);
    RedrawAll(wnd);
    auto shot = TPixels::OfWindow(wnd);
    const std::vector<TStatusCell> cells = painter->Cells({0, 0, shot->Width(), shot->Height()});
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells.back().Rect.Right, shot->Width()) << "the last panel reaches the bar's end";
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TCase& c = cases[i];
        const TRect cell = cells[static_cast<size_t>(i)].Rect;
        EXPECT_EQ(cells[static_cast<size_t>(i)].Frame, c.Frame);
        if (c.Frame != sfNoBevel) ExpectFrame(*shot, cell, c.Frame);
        const TRect text = shot->BoundsOf(TextColour(), cell.Inflate(-2, -2));
        ASSERT_FALSE(text.IsEmpty());
        const int middle = (text.Left + text.Right) / 2, cellMiddle = (cell.Left + cell.Right) / 2;
        if (c.Align == DT_LEFT) {
            EXPECT_LT(text.Left, cell.Left + 10);
        } else if (c.Align == DT_CENTER) {
            EXPECT_NEAR(middle, cellMiddle, 3);
        } else {
            EXPECT_GT(text.Right, cell.Right - 10);
        }
    }
    EXPECT_EQ(drawn.Item, 3u);
    EXPECT_EQ(drawn.Data, 42u);
    const TRect owner = cells[3].Rect;
    EXPECT_EQ(shot->At((owner.Left + owner.Right) / 2, owner.Height() / 2), RGB(255, 0, 0));
    ExpectFrame(*shot, {owner.Left, owner.Top, owner.Right, owner.Bottom}, sfLowered);
    RemoveWindowSubclass(form->Handle(), proc, 0x5B);
}

TEST_F(StatusBarPainter, RepaintingHoldsNoHandles) {
    const HWND wnd = bar->Handle();
    ASSERT_NE(PainterOf(wnd), nullptr);
    RedrawAll(wnd);
    ExpectHandlesSteady(50, [&] {
        bar->SetSimpleText(L"Searching");
        RedrawAll(wnd);
    });
}

}  // namespace
