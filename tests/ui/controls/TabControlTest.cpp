// The tab control, the page control with its pages and the tab set, as a stored description makes them
// and as clicks and keys drive them.
#include "ui/Button.h"
#include "ui/PageControl.h"
#include "ui/TabControl.h"
#include "ui/TabSet.h"

#include "ControlsFixture.h"
#include "Keys.h"

#include <commctrl.h>

namespace {

constexpr const char* Description = R"(object Form: TForm
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    ActivePage = Third
    object First: TTabSheet
      Caption = 'First'
      PageIndex = 1
      object OnFirst: TButton
        Left = 8
        Top = 8
        Width = 80
        Height = 25
        Caption = 'On first'
      end
    end
    object Second: TTabSheet
      Caption = 'Second'
      PageIndex = 0
      ImageIndex = 2
    end
    object Hidden: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
    object Third: TTabSheet
      Caption = 'Third'
    end
  end
  object Tabs: TTabControl
    Left = 320
    Top = 8
    Width = 200
    Height = 100
    TabIndex = 2
    TabPosition = tpBottom
    Style = tsButtons
    Tabs.Strings = (
      'One'
      'Two'
      'Three')
  end
  object Strip: TTabSet
    Left = 320
    Top = 120
    Width = 200
    Height = 21
    StartMargin = 8
    EndMargin = 20
    TabIndex = 1
    Tabs.Strings = (
      'A'
      'B')
  end
end
)";

class TabControls : public TFormFixture {
protected:
    // The window's tab count and chosen tab.
    static int NativeCount(TWinControl* control) {
        return static_cast<int>(SendMessageW(control->Handle(), TCM_GETITEMCOUNT, 0, 0));
    }
    static int NativeChoice(TWinControl* control) {
        return static_cast<int>(SendMessageW(control->Handle(), TCM_GETCURSEL, 0, 0));
    }
    static std::wstring NativeCaption(TWinControl* control, int index) {
        wchar_t text[80]{};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 80;
        SendMessageW(control->Handle(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    static POINT TabCentre(TCustomTabControl* control, int index) {
        const TRect r = control->TabRect(index);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // A page control with three pages, a button on each, placed on the form.
    TPageControl* ThreePages(TTabSheet* (&pages)[3], TButton* (&buttons)[3]) {
        auto* control = new TPageControl(FForm);
        const wchar_t* captions[] = {L"One", L"Two", L"Three"};
        for (int i = 0; i < 3; ++i) {
            pages[i] = new TTabSheet(FForm);
            pages[i]->SetPageControl(control);
            pages[i]->SetCaption(captions[i]);
            buttons[i] = new TButton(FForm);
            buttons[i]->SetParent(pages[i]);
            buttons[i]->SetBounds(10, 10, 80, 25);
            buttons[i]->SetTabStop(true);
        }
        return Place(control, 10, 10, 300, 200);
    }
};

TEST_F(TabControls, AreReadFromADescription) {
    FForm->ReadDescription(Description);
    auto* pages = dynamic_cast<TPageControl*>(FForm->FindComponent("Pages"));
    auto* tabs = dynamic_cast<TTabControl*>(FForm->FindComponent("Tabs"));
    auto* strip = dynamic_cast<TTabSet*>(FForm->FindComponent("Strip"));
    ASSERT_TRUE(pages && tabs && strip);
    Pump();

    // Pages in PageIndex order; the page without tab has none.
    ASSERT_EQ(pages->PageCount(), 4);
    EXPECT_EQ(pages->Pages(0)->Name(), "Second");
    EXPECT_EQ(pages->Pages(1)->Name(), "First");
    EXPECT_EQ(NativeCount(pages), 3);
    EXPECT_EQ(NativeCaption(pages, 0), L"Second");
    EXPECT_EQ(NativeCaption(pages, 2), L"Third");
    EXPECT_EQ(pages->ActivePage()->Name(), "Third");
    EXPECT_EQ(NativeChoice(pages), 2);
    for (int i = 0; i < pages->PageCount(); ++i) {
        TTabSheet* page = pages->Pages(i);
        EXPECT_EQ(IsWindowVisible(page->Handle()) != 0, page == pages->ActivePage()) << page->Name();
        EXPECT_EQ(page->BoundsRect(), pages->DisplayRect()) << page->Name();
    }
    EXPECT_EQ(pages->Pages(0)->ImageIndex(), 2);
    EXPECT_EQ(pages->FindComponent("OnFirst"), nullptr) << "the form owns what is on its pages";
    EXPECT_NE(FForm->FindComponent("OnFirst"), nullptr);

    const auto style = GetWindowLongPtrW(tabs->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & TCS_BOTTOM);
    EXPECT_TRUE(style & TCS_BUTTONS);
    EXPECT_EQ(NativeCount(tabs), 3);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(NativeChoice(tabs), 2);

    EXPECT_EQ(strip->TabIndex(), 1);
    EXPECT_EQ(strip->StartMargin(), 8);
    EXPECT_EQ(strip->EndMargin(), 20);
    EXPECT_EQ(strip->Tabs()->Count(), 2);
    EXPECT_EQ(strip->TabRects()[0].Left, 8);
    EXPECT_EQ(strip->ComponentList().front(), strip->Scroller()) << "the arrows are the tab set's first component";
}

TEST_F(TabControls, OnChangingMayRefuseAClickAndOnChangeFollowsOne) {
    auto* tabs = new TTabControl(FForm);
    tabs->Tabs()->SetLines({L"One", L"Two", L"Three"});
    Place(tabs, 10, 10, 300, 100);
    ASSERT_EQ(tabs->TabIndex(), 0);
    bool allow = false;
    int changing = 0, changes = 0;
    tabs->OnChanging = [&](TObject*, bool& Allow) {
        ++changing;
        Allow = allow;
    };
    tabs->OnChange = [&](TObject*) { ++changes; };

    Click(tabs->Handle(), TabCentre(tabs, 2));
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(tabs->TabIndex(), 0) << "refused";
    EXPECT_EQ(changes, 0);

    allow = true;
    Click(tabs->Handle(), TabCentre(tabs, 2));
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(changes, 1);

    // From code: no events.
    tabs->SetTabIndex(1);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(TabControls, APageControlShowsThePageOfTheChosenTabAndCtrlTabTurnsThePages) {
    TTabSheet* pages[3];
    TButton* buttons[3];
    TPageControl* control = ThreePages(pages, buttons);
    pages[1]->SetTabVisible(false);
    ASSERT_EQ(NativeCount(control), 2);
    EXPECT_EQ(control->ActivePage(), pages[0]);

    int changes = 0;
    control->OnChange = [&](TObject*) { ++changes; };
    Click(control->Handle(), TabCentre(control, 1));
    EXPECT_EQ(control->ActivePage(), pages[2]);
    EXPECT_TRUE(IsWindowVisible(buttons[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(buttons[0]->Handle()));
    EXPECT_EQ(changes, 1);

    // Ctrl+Tab from a control on the page: round the pages that have tabs; the focus leaves the page
    // that goes.
    SetFocus(buttons[2]->Handle());
    TypeKey(buttons[2]->Handle(), VK_TAB, ssCtrl);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    EXPECT_EQ(NativeChoice(control), 0);
    EXPECT_EQ(GetFocus(), control->Handle());
    EXPECT_EQ(changes, 2);
    TypeKey(control->Handle(), VK_TAB, ssCtrl);
    EXPECT_EQ(control->ActivePage(), pages[2]);
    TypeKey(control->Handle(), VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    // A plain Tab still moves the focus.
    TypeKey(control->Handle(), VK_TAB);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    EXPECT_EQ(GetFocus(), buttons[0]->Handle());

    // The page shown can go: the next one takes its place.
    delete pages[0];
    EXPECT_EQ(control->PageCount(), 2);
    EXPECT_EQ(control->ActivePage(), pages[2]);
    EXPECT_EQ(NativeCount(control), 1);
}

TEST_F(TabControls, TabSetLayoutSkipsWhatDoesNotFitAndTriesTheNext) {
    const struct {
        std::vector<int> widths;
        int first, limit;
        std::vector<int> lefts;
    } cases[] = {
        {{30, 40, 50}, 0, 200, {5, 35, 75}},
        {{30, 400, 50}, 0, 200, {5, -1, 35}},   // too wide: skipped, the next goes in its place
        {{30, 40, 50}, 1, 200, {-1, 5, 45}},    // from FirstIndex on
        {{30, 40, 50}, 0, 75, {5, 35, -1}},     // to the limit exactly, no further
        {{300}, 0, 100, {-1}},
    };
    for (const auto& c : cases) EXPECT_EQ(TTabSet::PlaceTabs(c.widths, c.first, 5, c.limit), c.lefts);
}

TEST_F(TabControls, ATabSetChoosesByClickAndScrollsWhenItsTabsDoNotFit) {
    auto* strip = new TTabSet(FForm);
    strip->Tabs()->SetLines({L"First", L"Second", L"Third", L"Fourth", L"Fifth", L"Sixth", L"Seventh"});
    Place(strip, 10, 10, 150, 21);
    TTabScroller* arrows = strip->Scroller();
    ASSERT_NE(arrows, nullptr);
    EXPECT_TRUE(IsWindowVisible(arrows->Handle())) << "tabs are left out";
    std::vector<TRect> rects = strip->TabRects();
    EXPECT_FALSE(rects[0].IsEmpty());
    EXPECT_TRUE(rects.back().IsEmpty());
    for (const TRect& r : rects)
        if (!r.IsEmpty()) {
            EXPECT_LE(r.Right, arrows->Left()) << "a tab under the arrows";
        }

    int changes = 0;
    strip->OnChange = [&](TObject*) { ++changes; };
    Click(strip->Handle(), {(rects[1].Left + rects[1].Right) / 2, 10});
    EXPECT_EQ(strip->TabIndex(), 1);
    EXPECT_EQ(changes, 1);

    // The right arrow: the strip starts one tab further.
    Click(arrows->Handle(), {arrows->Width() * 3 / 4, arrows->Height() / 2});
    EXPECT_EQ(strip->FirstIndex(), 1);
    rects = strip->TabRects();
    EXPECT_TRUE(rects[0].IsEmpty());
    EXPECT_EQ(rects[1].Left, strip->StartMargin());

    // Wide enough for all: no arrows.
    strip->SetFirstIndex(0);
    strip->SetWidth(600);
    Pump();
    EXPECT_FALSE(IsWindowVisible(arrows->Handle()));
    for (const TRect& r : strip->TabRects()) EXPECT_FALSE(r.IsEmpty());
}

}  // namespace
