// The result list's row check boxes wear the skin's check cells while the list is skinned, and the
// list's own come back when skinning ends, through window remakes and skin switches without a handle
// lost or freed twice.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinData.h"
#include "ui/ListView.h"

#include "Pump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class ListCheckBoxes : public SkinnedForm {
protected:
    ListCheckBoxes() : SkinnedForm({640, 240}) {
        skinned = AddList(10, 0);
        twin = AddList(330, Unskinned);
        ShowSkinned();
    }
    TListView* AddList(int X, int Tag) {
        auto* list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(X, 10, 300, 200);
        list->SetTag(Tag);
        list->AddColumn(L"Name", 120);
        for (const wchar_t* name : {L"alpha", L"beta"}) list->AddItem(name, {});
        return list;
    }
    TSkinListView* Painter() {
        skinner = SkinManager->FindSkinForm(form->Handle());
        return skinner ? dynamic_cast<TSkinListView*>(skinner->PainterOfControl(skinned)) : nullptr;
    }
    static HIMAGELIST StateImages(TListView* List) { return ListView_GetImageList(List->Handle(), LVSIL_STATE); }
    // Row Row of the list shows cell Cell of the skin's check image somewhere at its start.
    bool RowShowsCell(int Row, int Cell) {
        TBitmap& image = *skin->Buttons->CheckBitmap;
        const int w = image.Width() / skin->Buttons->CheckFrameCount, h = image.Height();
        RedrawAll(skinned->Handle());
        RECT row{};
        ListView_GetItemRect(skinned->Handle(), Row, &row, LVIR_BOUNDS);
        POINT origin{row.left, row.top};
        MapWindowPoints(skinned->Handle(), nullptr, &origin, 1);
        RECT window{};
        GetWindowRect(skinned->Handle(), &window);
        auto shot = TPixels::OfWindow(skinned->Handle());
        const int left = origin.x - window.left, top = origin.y - window.top;
        for (int dy = 0; dy + h <= row.bottom - row.top + 2; ++dy)
            for (int dx = 0; dx < 24; ++dx) {
                bool same = true;
                for (int y = 0; y < h && same; ++y)
                    for (int x = 0; x < w && same; ++x) {
                        const COLORREF want = ColorToRGB(image.Canvas()->Pixel(Cell * w + x, y));
                        same = want == RGB(255, 0, 255) || shot->At(left + dx + x, top + dy + y) == want;
                    }
                if (same) return true;
            }
        return false;
    }

    TListView* skinned = nullptr;
    TListView* twin = nullptr;
};

TEST_F(ListCheckBoxes, RowsShowTheSkinsCellsAndTheListsOwnComeBack) {
    ASSERT_NE(Painter(), nullptr);
    ASSERT_NE(Painter()->CheckImages(), nullptr);
    EXPECT_EQ(StateImages(skinned), Painter()->CheckImages());
    EXPECT_NE(StateImages(twin), nullptr);
    EXPECT_NE(StateImages(twin), Painter()->CheckImages());
    skinned->SetChecked(1, true);
    EXPECT_TRUE(RowShowsCell(0, 0)) << "unchecked row";
    EXPECT_TRUE(RowShowsCell(1, 1)) << "checked row";
    EXPECT_FALSE(RowShowsCell(0, 1));

    // A new window: the skin's cells again.
    skinned->RecreateWnd();
    Pump(5);
    ASSERT_NE(Painter(), nullptr);
    EXPECT_EQ(StateImages(skinned), Painter()->CheckImages());
    EXPECT_TRUE(RowShowsCell(1, 1));

    // Skinning ends: the list's own images, which it frees itself.
    skin->SetActive(false);
    SkinManager->ApplyChange();
    Pump(2);
    const HIMAGELIST own = StateImages(skinned);
    EXPECT_NE(own, nullptr);
    EXPECT_NE(ImageList_GetImageCount(own), 0);
    EXPECT_FALSE(RowShowsCell(1, 1)) << "the skin's cell stayed";
}

TEST_F(ListCheckBoxes, SwitchesAndRemakesHoldNoHandles) {
    ASSERT_NE(Painter(), nullptr);
    ExpectHandlesSteady(15, [&] {
        skin->SetActive(false);
        SkinManager->ApplyChange();
        skin->SetActive(true);
        SkinManager->ApplyChange();
        skinned->RecreateWnd();
        Pump(1);
    });
    ASSERT_NE(Painter(), nullptr);
    EXPECT_EQ(StateImages(skinned), Painter()->CheckImages());
    // The list goes while skinned: its own images go with it, the skin's with the painter.
    const auto imageLists = [] { return GuiHandleCounts().PerKind[static_cast<size_t>(THandleKind::ImageList)]; };
    const long before = imageLists();
    delete skinned;
    skinned = nullptr;
    Pump(2);
    EXPECT_EQ(imageLists(), before - 1);
}

}  // namespace
