// The header painter on a list view's column header, beside an unskinned twin list: the skin's frames for
// normal, hot and pressed items, the sort arrow, and clicks and divider drags given with the real mouse
// reaching the list exactly as on the twin.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinData.h"
#include "ui/ListView.h"

#include "Pump.h"
#include "RealMouse.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

namespace {

class HeaderPainter : public SkinnedForm {
protected:
    HeaderPainter() : SkinnedForm({640, 300}) {
        skinned = AddList(10, 0);
        twin = AddList(330, Unskinned);
        ShowSkinned();
        SetWindowSubclass(form->Handle(), CountClicks, 0x5C, reinterpret_cast<DWORD_PTR>(&clicks));
    }
    ~HeaderPainter() override { RemoveWindowSubclass(form->Handle(), CountClicks, 0x5C); }

    TListView* AddList(int X, int Tag) {
        auto* list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(X, 10, 300, 200);
        list->SetTag(Tag);
        list->AddColumn(L"Name", 120);
        list->AddColumn(L"Location", 150);
        for (const wchar_t* name : {L"alpha", L"beta", L"gamma"}) list->AddItem(name, {L"C:\\somewhere"});
        return list;
    }
    // Column clicks each list reported to its parent.
    static LRESULT CALLBACK CountClicks(HWND w, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_COLUMNCLICK)
            ++(*reinterpret_cast<std::map<HWND, int>*>(ref))[reinterpret_cast<NMHDR*>(lParam)->hwndFrom];
        return DefSubclassProc(w, msg, wParam, lParam);
    }

    static HWND HeaderOf(TListView* List) { return ListView_GetHeader(List->Handle()); }
    // Item Index of the header, in the header's client coordinates.
    static TRect ItemRect(HWND Header, int Index) {
        RECT r{};
        Header_GetItemRect(Header, Index, &r);
        return TRect::FromRECT(r);
    }
    static POINT OnScreen(HWND Header, int X, int Y) {
        POINT p{X, Y};
        ClientToScreen(Header, &p);
        return p;
    }
    static POINT ItemCentre(HWND Header, int Index) {
        const TRect r = ItemRect(Header, Index);
        return OnScreen(Header, (r.Left + r.Right) / 2, r.Height() / 2);
    }
    TSkinHeader* Painter() const {
        return skinner ? dynamic_cast<TSkinHeader*>(skinner->PainterOfWindow(HeaderOf(skinned))) : nullptr;
    }
    // The header's pixels at the middles of item Index's edges equal those of the skin's frame Frame.
    void ExpectItemFrame(int Index, int Frame) {
        const HWND header = HeaderOf(skinned);
        auto shot = TPixels::OfWindow(header);
        const TRect item = ItemRect(header, Index);
        auto expected = TPixels::OfElement(*skin->Headerbar, item.Width(), item.Height(), Frame, skin->FaceColor);
        for (POINT p : {POINT{item.Width() / 2, 0}, POINT{item.Width() / 2, item.Height() - 1}, POINT{1, item.Height() / 2}})
            EXPECT_EQ(shot->At(item.Left + p.x, p.y), expected->At(p.x, p.y))
                << "item " << Index << ", frame " << Frame << ", at " << p.x << "," << p.y;
    }
    // The point where item Index's right divider lies, on screen.
    static POINT DividerOf(HWND Header, int Index) { return OnScreen(Header, ItemRect(Header, Index).Right - 1, 8); }

    TListView* skinned = nullptr;
    TListView* twin = nullptr;
    std::map<HWND, int> clicks;
};

TEST_F(HeaderPainter, TheListsHeaderShowsTheSkinsFramesForNormalHotAndPressedItems) {
    auto* list = dynamic_cast<TSkinListView*>(skinner->PainterOfControl(skinned));
    ASSERT_NE(list, nullptr);
    TSkinHeader* painter = Painter();
    ASSERT_NE(painter, nullptr) << "the list's column header has no painter";
    EXPECT_EQ(list->Header(), painter);
    EXPECT_EQ(skinner->PainterOfWindow(HeaderOf(twin)), nullptr) << "the twin's header was skinned";
    ASSERT_GE(skin->Headerbar->FrameCount, 3);
    {
        // The frames can be told apart where the check looks.
        auto normal = TPixels::OfElement(*skin->Headerbar, 120, 20, hfNormal, skin->FaceColor);
        auto hot = TPixels::OfElement(*skin->Headerbar, 120, 20, hfHot, skin->FaceColor);
        auto pressed = TPixels::OfElement(*skin->Headerbar, 120, 20, hfPressed, skin->FaceColor);
        ASSERT_NE(normal->At(60, 0), hot->At(60, 0));
        ASSERT_NE(hot->At(60, 0), pressed->At(60, 0));
    }
    const HWND header = HeaderOf(skinned);
    RedrawAll(header);
    ExpectItemFrame(0, hfNormal);
    ExpectItemFrame(1, hfNormal);

    MouseTo(ItemCentre(header, 1));
    Pump(5);
    EXPECT_EQ(painter->HotItem(), 1);
    ExpectItemFrame(1, hfHot);
    ExpectItemFrame(0, hfNormal);

    MouseTo(ItemCentre(header, 0));
    MouseDown();
    Pump(5);
    EXPECT_EQ(painter->PressedItem(), 0);
    ExpectItemFrame(0, hfPressed);
    MouseUp();
    Pump(5);
    EXPECT_EQ(painter->PressedItem(), -1);
    EXPECT_EQ(painter->HotItem(), 0);
    ExpectItemFrame(0, hfHot);

    // Away from the header: nothing is hot any more.
    MouseTo(OnScreen(form->Handle(), 320, 280));
    for (int i = 0; i < 200 && painter->HotItem() != -1; ++i) Pump(1, 10);
    EXPECT_EQ(painter->HotItem(), -1);
    ExpectItemFrame(0, hfNormal);
}

TEST_F(HeaderPainter, ColumnClicksAndDividerDragsReachTheListAsOnTheTwin) {
    ASSERT_NE(Painter(), nullptr);
    for (TListView* list : {skinned, twin}) {
        SCOPED_TRACE(list == skinned ? "skinned" : "twin");
        const HWND header = HeaderOf(list);
        MouseClick(ItemCentre(header, 1));
        Pump(5);
        EXPECT_EQ(clicks[list->Handle()], 1);
        // The first column 40 pixels wider by its divider.
        const POINT divider = DividerOf(header, 0);
        MouseDrag(divider, {divider.x + 40, divider.y}, 8);
        Pump(10);
        EXPECT_EQ(clicks[list->Handle()], 1) << "a divider drag is no click";
        // Straight off the header after the drag: nothing stays hot.
        MouseTo(OnScreen(form->Handle(), 320, 280));
        // The leave notice comes from the system's polling of the pointer, a little later.
        for (int i = 0; i < 200 && list == skinned && Painter()->HotItem() != -1; ++i) Pump(1, 10);
        if (list == skinned) {
            EXPECT_EQ(Painter()->HotItem(), -1) << "hot after a drag and leaving";
        }
    }
    const int widened = ListView_GetColumnWidth(twin->Handle(), 0);
    EXPECT_GT(widened, 150);
    EXPECT_EQ(ListView_GetColumnWidth(skinned->Handle(), 0), widened);
    EXPECT_EQ(ListView_GetColumnWidth(skinned->Handle(), 1), ListView_GetColumnWidth(twin->Handle(), 1));
    // The header is drawn at the new widths.
    RedrawAll(HeaderOf(skinned));
    ExpectItemFrame(1, hfNormal);

    // Header clicks off (as during a search): no click reaches either list, and no item looks pressed.
    for (TListView* list : {skinned, twin}) {
        list->SetColumnClick(false);
        MouseTo(ItemCentre(HeaderOf(list), 1));
        MouseDown();
        Pump(5);
        if (list == skinned) {
            EXPECT_EQ(Painter()->PressedItem(), -1);
        }
        MouseUp();
        Pump(5);
        EXPECT_EQ(clicks[list->Handle()], 1);
    }
}

TEST_F(HeaderPainter, ASortedColumnShowsItsArrow) {
    ASSERT_NE(Painter(), nullptr);
    const HWND header = HeaderOf(skinned);
    const TRect item = ItemRect(header, 1);
    const TRect arrowArea{item.Right - 16, 2, item.Right - 2, item.Height() - 2};
    const COLORREF ink = ColorToRGB(skin->ButtonTextColor);
    auto arrowPixels = [&] {
        RedrawAll(header);
        return TPixels::OfWindow(header)->BoundsOf(ink, arrowArea, 0);
    };
    EXPECT_TRUE(arrowPixels().IsEmpty()) << "an arrow on an unsorted column";
    for (int sort : {HDF_SORTUP, HDF_SORTDOWN}) {
        HDITEMW h{};
        h.mask = HDI_FORMAT;
        Header_GetItem(header, 1, &h);
        h.fmt = (h.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | sort;
        Header_SetItem(header, 1, &h);
        const TRect arrow = arrowPixels();
        ASSERT_FALSE(arrow.IsEmpty()) << sort;
        EXPECT_EQ(arrow.Width(), 7) << sort;
        EXPECT_EQ(arrow.Height(), 4) << sort;
    }
}

TEST_F(HeaderPainter, AListMadeAgainHasItsNewHeaderSkinned) {
    const HWND oldHeader = HeaderOf(skinned);
    ASSERT_NE(Painter(), nullptr);
    skinned->RecreateWnd();
    Pump(5);
    const HWND header = HeaderOf(skinned);
    ASSERT_NE(header, nullptr);
    ASSERT_FALSE(IsWindow(oldHeader) && header == oldHeader) << "the list kept its window";
    TSkinHeader* painter = Painter();
    ASSERT_NE(painter, nullptr) << "the new header has no painter";
    EXPECT_EQ(dynamic_cast<TSkinListView*>(skinner->PainterOfControl(skinned))->Header(), painter);
    RedrawAll(header);
    ExpectItemFrame(0, hfNormal);
    MouseTo(ItemCentre(header, 1));
    Pump(5);
    EXPECT_EQ(painter->HotItem(), 1);
}

TEST_F(HeaderPainter, HoverAndRepaintHoldNoHandles) {
    ASSERT_NE(Painter(), nullptr);
    const HWND header = HeaderOf(skinned);
    ExpectHandlesSteady(30, [&] {
        SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(20, 5));
        SendMessageW(header, WM_MOUSELEAVE, 0, 0);
        RedrawAll(header);
    });
}

}  // namespace
