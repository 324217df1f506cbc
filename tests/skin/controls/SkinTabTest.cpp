// The tab and page painters on real tab controls, page controls and tab sets, beside unskinned twins:
// tabs chosen by the real mouse and keys show the right page either way; tabs at the bottom are the
// skin's tab image upside down below the pane; the scroll arrows of a crowded row are skinned and stay
// on top of the strip; a tab set leaves out a tab too wide and draws a later one; an empty caption with
// an icon is the icon alone, centred; a close box asks the window and frees the page or keeps it.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinMessages.h"
#include "ui/Button.h"
#include "ui/ImageList.h"
#include "ui/PageControl.h"
#include "ui/TabControl.h"
#include "ui/TabSet.h"

#include "Keys.h"
#include "Pump.h"
#include "RealMouse.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TabPainter : public SkinnedForm {
protected:
    TabPainter() : SkinnedForm({760, 520}) {}
    // The pointer leaves where the clicks left it: over the next suite's controls it would make them hot.
    ~TabPainter() override { MouseTo({0, 0}); }

    // A page control with a button on each of three pages.
    struct TPages {
        TPageControl* Control = nullptr;
        std::vector<TTabSheet*> Sheets;
        std::vector<TButton*> Buttons;
    };
    TPages AddPages(TRect Bounds, int Tag = 0) {
        TPages pages;
        pages.Control = new TPageControl(form);
        pages.Control->SetParent(form);
        pages.Control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
        pages.Control->SetTag(Tag);
        for (const wchar_t* caption : {L"One", L"Two", L"Three"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetPageControl(pages.Control);
            sheet->SetCaption(caption);
            auto* button = new TButton(form);
            button->SetParent(sheet);
            button->SetBounds(10, 10, 90, 25);
            button->SetCaption(caption);
            pages.Sheets.push_back(sheet);
            pages.Buttons.push_back(button);
        }
        return pages;
    }
    TTabControl* AddTabs(TRect Bounds, std::vector<std::wstring> Tabs, TTabPosition Position = tpTop, int Tag = 0) {
        auto* tabs = new TTabControl(form);
        tabs->SetParent(form);
        tabs->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
        tabs->SetTabPosition(Position);
        tabs->SetTag(Tag);
        tabs->Tabs()->SetLines(Tabs);
        return tabs;
    }
    template <typename Painter>
    Painter* PainterOf(TControl* Control) const {
        return skinner ? dynamic_cast<Painter*>(skinner->PainterOfControl(Control)) : nullptr;
    }
    static POINT OnScreen(HWND Wnd, POINT Client) {
        ClientToScreen(Wnd, &Client);
        return Client;
    }
    static POINT TabCentre(TCustomTabControl* Tabs, int Index) {
        const TRect r = Tabs->TabRect(Index);
        return OnScreen(Tabs->Handle(), {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    // Clicks at a point and lets the messages run.
    static void ClickAt(POINT At) {
        MouseClick(At);
        Pump(8);
    }
};

TEST_F(TabPainter, TabsChosenByMouseAndKeysShowTheRightPageSkinnedAndUnskinned) {
    TPages skinned = AddPages({10, 10, 330, 200});
    TPages twin = AddPages({380, 10, 700, 200}, Unskinned);
    ShowSkinned();
    ASSERT_NE(PainterOf<TSkinTab>(skinned.Control), nullptr);
    EXPECT_EQ(PainterOf<TSkinTab>(twin.Control), nullptr);
    for (TTabSheet* sheet : skinned.Sheets) EXPECT_NE(PainterOf<TSkinTabSheet>(sheet), nullptr);

    for (TPages* pages : {&skinned, &twin}) {
        SCOPED_TRACE(pages == &skinned ? "skinned" : "unskinned");
        TPageControl* control = pages->Control;
        auto shows = [&](int Page) {
            EXPECT_EQ(control->ActivePage(), pages->Sheets[static_cast<size_t>(Page)]);
            for (size_t i = 0; i < pages->Buttons.size(); ++i)
                EXPECT_EQ(IsWindowVisible(pages->Buttons[i]->Handle()) != 0, static_cast<int>(i) == Page) << "page " << i;
        };
        shows(0);
        ClickAt(TabCentre(control, 1));
        shows(1);
        SetFocus(control->Handle());
        TypeKey(control->Handle(), VK_RIGHT);
        shows(2);
        TypeKey(control->Handle(), VK_LEFT);
        shows(1);
        // Ctrl+Tab from a control on the page, and back with Shift.
        SetFocus(pages->Buttons[1]->Handle());
        TypeKey(pages->Buttons[1]->Handle(), VK_TAB, ssCtrl);
        shows(2);
        TypeKey(GetFocus(), VK_TAB, ssCtrl);
        shows(0);
        TypeKey(GetFocus(), VK_TAB, ssCtrl | ssShift);
        shows(2);
    }
    // The skinned page control is drawn by its painter: its current tab in the skin's current frame, the
    // one under the pointer in the hot frame until the pointer leaves.
    TSkinTab* painter = PainterOf<TSkinTab>(skinned.Control);
    EXPECT_EQ(painter->TabFrame(2), tfCurrent);
    EXPECT_EQ(painter->TabFrame(0), tfNormal);
    MouseTo(TabCentre(skinned.Control, 0));
    Pump(5);
    EXPECT_EQ(painter->HotTab(), 0);
    EXPECT_EQ(painter->TabFrame(0), tfHot);
    MouseTo(OnScreen(form->Handle(), {360, 400}));
    for (int i = 0; i < 200 && painter->HotTab() != -1; ++i) Pump(1, 10);
    EXPECT_EQ(painter->TabFrame(0), tfNormal);
}

TEST_F(TabPainter, BottomTabsDrawTheStripBelowThePaneWithTheTabImageUpsideDown) {
    TTabControl* bottom = AddTabs({10, 10, 250, 130}, {L"One", L"Two", L"Three"}, tpBottom);
    TTabControl* top = AddTabs({270, 10, 510, 130}, {L"One", L"Two", L"Three"}, tpTop);
    ShowSkinned();
    for (TTabControl* tabs : {bottom, top}) {
        SCOPED_TRACE(tabs == bottom ? "bottom" : "top");
        TSkinTab* painter = PainterOf<TSkinTab>(tabs);
        ASSERT_NE(painter, nullptr);
        RedrawAll(tabs->Handle());
        const TRect window{0, 0, tabs->Width(), tabs->Height()};
        const TRect pane = painter->PaneRect(window);
        auto shot = TPixels::OfWindow(tabs->Handle());
        // Tab 1 is not the current one: frame 1. Where the painter put it (window = client here).
        const TRect item = tabs->TabRect(1);
        if (tabs == bottom) {
            EXPECT_GE(item.Top, pane.Bottom - 1) << "the tabs are below the pane";
            EXPECT_EQ(painter->TabSide(), tsdBottom);
        } else {
            EXPECT_LE(item.Bottom, pane.Top + 1) << "the tabs are above the pane";
        }
        const TRect drawn = tabs == bottom ? item.Offset(0, -1) : item.Offset(0, 1);
        const COLORREF under = shot->At(window.Right - 2, tabs == bottom ? window.Bottom - 2 : 1);
        auto upright = TPixels::OfElement(*skin->Tabs, drawn.Width(), drawn.Height(), tfNormal, static_cast<TColor>(under));
        const int h = drawn.Height(), mid = drawn.Width() / 2;
        // The tab image's top and bottom rows differ (a tab is rounded at its free edge only).
        ASSERT_NE(upright->At(mid, 0), upright->At(mid, h - 1));
        // Its fixed rows in the strip (the pane's edge covers the tab's foot): the free edge.
        int compared = 0;
        for (int row : {0, 1, h - 2, h - 1}) {
            const int y = drawn.Top + row;
            if (tabs == bottom ? y < pane.Bottom : y >= pane.Top) continue;
            const int source = tabs == bottom ? h - 1 - row : row;
            EXPECT_EQ(shot->At(drawn.Left + mid, y), upright->At(mid, source)) << "row " << row;
            EXPECT_EQ(shot->At(drawn.Left + 1, y), upright->At(1, source)) << "row " << row << ", left edge";
            ++compared;
        }
        EXPECT_EQ(compared, 2);
    }
}

TEST_F(TabPainter, MoreTabsThanFitShowSkinnedArrowsNotOverdrawnByTheStrip) {
    std::vector<std::wstring> months = {L"January", L"February", L"March", L"April", L"May", L"June", L"July"};
    TTabControl* framework = AddTabs({10, 10, 200, 80}, months);
    ShowSkinned("graphite");  // the skin with spin button images
    ASSERT_TRUE(skin->UpDownHorz && !skin->UpDownHorz->Bitmap->Empty());
    // A dialog's tab control, no clipping of its children: the painter must keep the arrows out itself.
    HWND bare = AddSystemControl(WC_TABCONTROLW, L"", WS_TABSTOP, {10, 100, 200, 170});
    for (size_t i = 0; i < months.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = months[i].data();
        SendMessageW(bare, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    ClassifyChildWindow(*skinner, bare);
    auto* barePainter = dynamic_cast<TSkinTab*>(skinner->PainterOfWindow(bare));
    ASSERT_NE(barePainter, nullptr) << "a dialog's tab control gets the tab painter";

    for (HWND wnd : {framework->Handle(), bare}) {
        SCOPED_TRACE(wnd == bare ? "dialog's" : "framework");
        RedrawAll(wnd);
        HWND arrows = FindWindowExW(wnd, nullptr, UPDOWN_CLASSW, nullptr);
        ASSERT_TRUE(arrows && IsWindowVisible(arrows)) << "the row scrolls";
        auto* painter = dynamic_cast<TSkinTab*>(skinner->PainterOfWindow(wnd));
        ASSERT_NE(painter, nullptr);
        ASSERT_NE(painter->Scroller(), nullptr);
        EXPECT_EQ(skinner->PainterOfWindow(arrows), painter->Scroller()) << "the arrows' painter";
        EXPECT_EQ(SendMessageW(arrows, WM_SKINQUERY, 0, 0), 1);

        // The arrows as the skin draws them, against the screen.
        RECT a{}, own{};
        GetWindowRect(arrows, &a);
        GetWindowRect(wnd, &own);
        const TRect at = TRect::FromRECT(a).Offset(-own.left, -own.top);
        TPixels expected(at.Width(), at.Height());
        {
            TBitmapDCLock lock(expected.Bitmap());
            SetDCBrushColor(lock.Handle(), ColorToRGB(skin->FaceColor));
            const RECT all{0, 0, at.Width(), at.Height()};
            FillRect(lock.Handle(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            TDataSkinBorder& element = *skin->UpDownHorz;
            const int half = at.Width() / 2;
            for (int arrow = 0; arrow < 2; ++arrow) {
                const TRect part = arrow == 0 ? TRect{0, 0, half, at.Height()} : TRect{half, 0, at.Width(), at.Height()};
                DrawSkinFrame(lock.Handle(), part, *element.Bitmap, true, element.FrameCount, 1 + 4 * arrow);
                if (!element.Bitmap2->Empty())
                    DrawSkinGlyph(lock.Handle(), part, *element.Bitmap2, true, element.FrameCount, 1 + 4 * arrow);
            }
        }
        auto check = [&](const char* when) {
            auto shot = TPixels::OfWindow(wnd);
            int differing = 0;
            for (int y = 0; y < at.Height(); ++y)
                for (int x = 0; x < at.Width(); ++x) differing += shot->At(at.Left + x, at.Top + y) != expected.At(x, y);
            EXPECT_EQ(differing, 0) << when;
        };
        check("after a full repaint");
        // The strip alone painted again, the arrows not: they are still there.
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        Pump(2);
        check("after the strip alone was painted");
    }
}

TEST_F(TabPainter, ATabSetLeavesOutATabTooWideAndStillDrawsALaterNarrowerOne) {
    auto addSet = [&](int Y, int Tag) {
        auto* set = new TTabSet(form);
        set->SetParent(form);
        set->SetBounds(10, Y, 300, 21);
        set->SetTag(Tag);
        set->Tabs()->SetLines({L"One", L"A caption far too wide for the rest of this tab set, by a long way", L"Two"});
        set->SetTabIndex(0);
        return set;
    };
    TTabSet* skinned = addSet(10, 0);
    TTabSet* twin = addSet(50, Unskinned);
    ShowSkinned();
    auto* painter = PainterOf<TSkinTab31>(skinned);
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(PainterOf<TSkinTab31>(twin), nullptr);
    RedrawAll(skinned->Handle());
    const std::vector<TRect>& drawn = painter->TabRects();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_FALSE(drawn[0].IsEmpty());
    EXPECT_TRUE(drawn[1].IsEmpty()) << "the wide tab is left out";
    ASSERT_FALSE(drawn[2].IsEmpty()) << "the later, narrower tab is drawn";
    EXPECT_EQ(drawn[2].Left, drawn[0].Right) << "in the wide one's place";
    // The painter and the control agree where the tabs are, so that clicks land on what is shown.
    EXPECT_EQ(skinned->TabRects(), drawn);
    EXPECT_EQ(twin->TabRects(), drawn);
    ASSERT_NE(painter->Scroller(), nullptr) << "tabs are left out: arrows";
    EXPECT_EQ(skinner->PainterOfWindow(skinned->Scroller()->Handle()), painter->Scroller());

    // The tab image hangs upside down from the top edge: its free, rounded edge at the bottom.
    auto shot = TPixels::OfWindow(skinned->Handle());
    const TRect two = drawn[2];
    auto upright = TPixels::OfElement(*skin->Tabs, two.Width(), two.Height(), tfNormal, skin->FaceColor);
    const int mid = two.Width() / 2;
    EXPECT_EQ(shot->At(two.Left + 1, 0), upright->At(1, two.Height() - 1));
    EXPECT_EQ(shot->At(two.Left + 1, two.Height() - 1), upright->At(1, 0));
    (void)mid;

    // A click on the later tab chooses it, skinned or not.
    for (TTabSet* set : {skinned, twin}) {
        ClickAt(OnScreen(set->Handle(), {(two.Left + two.Right) / 2, 10}));
        EXPECT_EQ(set->TabIndex(), 2) << (set == skinned ? "skinned" : "unskinned");
    }
}

TEST_F(TabPainter, AnEmptyCaptionWithAnIconDrawsTheIconOnlyCentred) {
    TImageList images(nullptr);
    images.SetSize(16, 16);
    {
        TBitmap red;
        red.SetPixelFormat(pf24bit);
        red.SetSize(16, 16);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect({0, 0, 16, 16});
        images.Add(red, nullptr);
    }
    // The cell itself, in a 60 by 24 rectangle at (10, 5).
    TPixels cell(80, 40);
    {
        TBitmapDCLock lock(cell.Bitmap());
        cell.Bitmap().Canvas()->Brush()->SetColor(clWhite);
        cell.Bitmap().Canvas()->FillRect({0, 0, 80, 40});
        DrawIconCaption(*cell.Bitmap().Canvas(), {10, 5, 70, 29}, caCentre, L"", 0, images.Handle());
    }
    EXPECT_EQ(cell.BoundsOf(RGB(255, 0, 0), {0, 0, 80, 40}), (TRect{32, 9, 48, 25}));

    // A tab of a skinned tab control with an icon and no caption.
    TTabControl* tabs = AddTabs({10, 10, 300, 90}, {L"", L"Second"});
    tabs->SetImages(&images);
    ShowSkinned();
    ASSERT_NE(PainterOf<TSkinTab>(tabs), nullptr);
    tabs->SetTabIndex(1);
    RedrawAll(tabs->Handle());
    const TRect item = tabs->TabRect(0).Offset(0, 1);
    auto shot = TPixels::OfWindow(tabs->Handle());
    const TRect icon = shot->BoundsOf(RGB(255, 0, 0), item);
    ASSERT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Left - item.Left, (item.Width() - 16) / 2);
    EXPECT_EQ(icon.Top - item.Top, (item.Height() - 16) / 2);
    tabs->SetImages(nullptr);
}

class CloseBoxes : public TabPainter {
protected:
    CloseBoxes() {
        pages = AddPages({10, 10, 400, 200}, CloseBoxTag);
        kept = AddPages({10, 220, 400, 410}, CloseBoxTag);
        kept.Control->SetKeepPages(true);
        plain = AddPages({420, 10, 750, 200});
        ShowSkinned();
        SetWindowSubclass(form->Handle(), Answer, 0x7B, reinterpret_cast<DWORD_PTR>(this));
    }
    ~CloseBoxes() override { RemoveWindowSubclass(form->Handle(), Answer, 0x7B); }

    static LRESULT CALLBACK Answer(HWND w, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
        auto* self = reinterpret_cast<CloseBoxes*>(ref);
        if (msg != WM_SKINTABCLOSE) return DefSubclassProc(w, msg, wParam, lParam);
        self->asked.push_back({reinterpret_cast<HWND>(wParam), static_cast<int>(lParam)});
        return self->answer;
    }
    // The middle of tab Index's close box, on screen.
    POINT CloseBoxOf(int Index) {
        TSkinTab* painter = PainterOf<TSkinTab>(pages.Control);
        RECT own{};
        GetWindowRect(pages.Control->Handle(), &own);
        const TRect box = painter->CloseRects().at(static_cast<size_t>(Index));
        return {own.left + (box.Left + box.Right) / 2, own.top + (box.Top + box.Bottom) / 2};
    }

    TPages pages, kept, plain;
    std::vector<std::pair<HWND, int>> asked;
    LRESULT answer = 0;
};

TEST_F(CloseBoxes, APressAsksTheWindowAndFreesThePageOnlyWhenTheAnswerIsZero) {
    TSkinTab* painter = PainterOf<TSkinTab>(pages.Control);
    ASSERT_NE(painter, nullptr);
    EXPECT_TRUE(painter->CloseBoxes());
    EXPECT_FALSE(PainterOf<TSkinTab>(kept.Control)->CloseBoxes()) << "KeepPages";
    EXPECT_FALSE(PainterOf<TSkinTab>(plain.Control)->CloseBoxes()) << "no Tag 7777";
    RedrawAll(pages.Control->Handle());
    ASSERT_EQ(painter->CloseRects().size(), 3u);
    for (const TRect& box : painter->CloseRects()) EXPECT_EQ(box.Width(), 6);

    // Answered non-zero: the page stays, and the press does not choose the tab either.
    answer = 1;
    ClickAt(CloseBoxOf(1));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, pages.Control->Handle());
    EXPECT_EQ(asked[0].second, 1);
    EXPECT_EQ(pages.Control->PageCount(), 3);
    EXPECT_EQ(pages.Control->ActivePage(), pages.Sheets[0]);

    // Answered 0: the page is freed; its controls (the form's) are off the screen with it.
    answer = 0;
    const std::string page = "ClosedPage";
    pages.Sheets[1]->SetName(page);
    ClickAt(CloseBoxOf(1));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(pages.Control->PageCount(), 2);
    EXPECT_EQ(form->FindComponent(page), nullptr);
    EXPECT_EQ(pages.Buttons[1]->Parent(), nullptr);
    EXPECT_FALSE(pages.Buttons[1]->HandleAllocated());
    EXPECT_EQ(pages.Control->Pages(1), pages.Sheets[2]);
    Pump(5);
    RedrawAll(pages.Control->Handle());
    EXPECT_EQ(painter->CloseRects().size(), 2u);

    // A press beside the boxes chooses the tab as ever.
    ClickAt(TabCentre(pages.Control, 1));
    EXPECT_EQ(pages.Control->ActivePage(), pages.Sheets[2]);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(TabPainter, ADialogsTabControlGetsTheTabPainterAndButtonTabsTheButtonOne) {
    ShowSkinned();
    HWND tabs = AddSystemControl(WC_TABCONTROLW, L"", 0, {10, 10, 200, 80});
    HWND buttons = AddSystemControl(WC_TABCONTROLW, L"", TCS_BUTTONS, {10, 100, 200, 170});
    HWND drawn = AddSystemControl(WC_TABCONTROLW, L"", TCS_OWNERDRAWFIXED, {10, 200, 200, 270});
    for (HWND wnd : {tabs, buttons, drawn}) ClassifyChildWindow(*skinner, wnd);
    auto* tabPainter = skinner->PainterOfWindow(tabs);
    ASSERT_NE(tabPainter, nullptr);
    EXPECT_EQ(&tabPainter->ClassType(), &TSkinTab::MetaClass);
    auto* buttonPainter = skinner->PainterOfWindow(buttons);
    ASSERT_NE(buttonPainter, nullptr);
    EXPECT_EQ(&buttonPainter->ClassType(), &TSkinTabBtn::MetaClass);
    EXPECT_EQ(skinner->PainterOfWindow(drawn), nullptr) << "an owner-drawn tab control draws itself";
}

TEST_F(TabPainter, RepaintsHoverAndSkinSwitchesHoldNoHandles) {
    TPages pages = AddPages({10, 10, 330, 200}, CloseBoxTag);
    TTabControl* bottom = AddTabs({340, 10, 600, 120}, {L"A", L"B", L"C"}, tpBottom);
    TTabControl* side = AddTabs({340, 130, 600, 240}, {L"A", L"B"}, tpRight);
    TTabControl* crowded = AddTabs({10, 220, 150, 280}, {L"January", L"February", L"March", L"April"});
    auto* set = new TTabSet(form);
    set->SetParent(form);
    set->SetBounds(10, 300, 120, 21);
    set->Tabs()->SetLines({L"One", L"Two", L"Three", L"Four", L"Five"});
    ShowSkinned();
    ASSERT_NE(PainterOf<TSkinTab>(side), nullptr);
    EXPECT_EQ(PainterOf<TSkinTab>(side)->TabSide(), tsdRight);
    std::vector<HWND> windows = {pages.Control->Handle(), bottom->Handle(), side->Handle(), crowded->Handle(), set->Handle()};
    auto paintAll = [&] {
        for (HWND wnd : windows) {
            SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(12, 8));
            SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
            RedrawAll(wnd);
        }
    };
    paintAll();
    ExpectHandlesSteady(20, paintAll);
    // Skin painting off and on again, as a skin switch does.
    ExpectHandlesSteady(20, [&] {
        for (HWND wnd : windows) SendMessageW(wnd, WM_SKINSWITCH, 0, 0);
        for (HWND wnd : windows) SendMessageW(wnd, WM_SKINSWITCH, 1, 0);
    });
}

}  // namespace
