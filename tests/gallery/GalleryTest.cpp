// The skin gallery's window built in-process from its stored description: one of each control kind it
// is there to show, and the skin switcher's three choices.
#include "gallery/GalleryForm.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/HandleGrowth.h"
#include "ui/Application.h"
#include "ui/BitBtn.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DateTimePicker.h"
#include "ui/Edit.h"
#include "ui/GlyphCheckBox.h"
#include "ui/GroupBox.h"
#include "ui/ImageList.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/MediaPlayer.h"
#include "ui/Memo.h"
#include "ui/MenuButton.h"
#include "ui/Menus.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/ProgressBar.h"
#include "ui/RadioButton.h"
#include "ui/RadioGroup.h"
#include "ui/ScrollBar.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"
#include "ui/TabControl.h"
#include "ui/TabSet.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

class Gallery : public ::testing::Test {
protected:
    Gallery() : form(new TGalleryForm(nullptr)) {
        form->Show();
        Application().ProcessMessages();
    }
    ~Gallery() override { TCustomForm::Free(form); }

    // How many of the form's components are of class cls exactly and pass test.
    int Count(const TClassInfo& cls, const std::function<bool(TComponent&)>& test = nullptr) const {
        int count = 0;
        for (TComponent* c : form->ComponentList())
            if (&c->ClassType() == &cls && (!test || test(*c))) ++count;
        return count;
    }

    TGalleryForm* form;
};

template <typename T>
std::function<bool(TComponent&)> Is(std::function<bool(T&)> test) {
    return [test](TComponent& c) { return test(static_cast<T&>(c)); };
}

TEST_F(Gallery, HoldsEveryControlKindItShows) {
    const struct {
        const char* what;
        const TClassInfo& cls;
        std::function<bool(TComponent&)> test;
    } kinds[] = {
        {"default button", TButton::MetaClass, Is<TButton>([](TButton& b) { return b.Default(); })},
        {"disabled button", TButton::MetaClass, Is<TButton>([](TButton& b) { return !b.Enabled(); })},
        {"multi-line button", TButton::MetaClass,
         Is<TButton>([](TButton& b) { return b.WordWrap() && b.Caption().find(L"||") != std::wstring::npos; })},
        {"glyph left", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return b.ButtonGlyph().Layout() == blGlyphLeft && !b.Glyph()->Empty(); })},
        {"glyph right", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return b.ButtonGlyph().Layout() == blGlyphRight; })},
        {"glyph top", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return b.ButtonGlyph().Layout() == blGlyphTop; })},
        {"glyph bottom", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return b.ButtonGlyph().Layout() == blGlyphBottom; })},
        {"disabled bit button", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return !b.Enabled(); })},
        {"two glyphs", TBitBtn::MetaClass, Is<TBitBtn>([](TBitBtn& b) { return b.ButtonGlyph().NumGlyphs() == 2; })},
        {"menu button", TMenuButton::MetaClass, nullptr},
        {"flat speed button", TSpeedButton::MetaClass, Is<TSpeedButton>([](TSpeedButton& b) { return b.Flat() && !b.Glyph()->Empty(); })},
        {"raised speed button", TSpeedButton::MetaClass, Is<TSpeedButton>([](TSpeedButton& b) { return !b.Flat(); })},
        {"disabled speed button", TSpeedButton::MetaClass, Is<TSpeedButton>([](TSpeedButton& b) { return !b.Enabled(); })},
        {"grouped speed button down", TSpeedButton::MetaClass, Is<TSpeedButton>([](TSpeedButton& b) { return b.GroupIndex() && b.Down(); })},
        {"unchecked box", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return b.State() == cbUnchecked; })},
        {"checked box", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return b.Checked(); })},
        {"grayed box", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return b.AllowGrayed() && b.State() == cbGrayed; })},
        {"disabled checked box", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return !b.Enabled() && b.Checked(); })},
        {"text on the left", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return b.Alignment() == taLeftJustify; })},
        {"wrapped caption", TCheckBox::MetaClass, Is<TCheckBox>([](TCheckBox& b) { return b.WordWrap(); })},
        {"radio button", TRadioButton::MetaClass, nullptr},
        {"group box holding controls", TGroupBox::MetaClass, Is<TGroupBox>([](TGroupBox& g) { return g.ControlCount() > 1; })},
        {"radio group, 3 items in 2 columns", TRadioGroup::MetaClass,
         Is<TRadioGroup>([](TRadioGroup& g) { return g.ButtonCount() == 3 && g.Columns() == 2; })},
        {"panel holding controls", TPanel::MetaClass, Is<TPanel>([](TPanel& p) { return p.ControlCount() > 1; })},
        {"edit", TEdit::MetaClass, Is<TEdit>([](TEdit& e) { return e.Enabled(); })},
        {"disabled edit", TEdit::MetaClass, Is<TEdit>([](TEdit& e) { return !e.Enabled(); })},
        {"drop-down combo", TComboBox::MetaClass, Is<TComboBox>([](TComboBox& c) { return c.Style() == csDropDown; })},
        {"drop-down list", TComboBox::MetaClass, Is<TComboBox>([](TComboBox& c) { return c.Style() == csDropDownList; })},
        {"owner-drawn combo", TComboBox::MetaClass, Is<TComboBox>([](TComboBox& c) { return c.Style() == csOwnerDrawFixed; })},
        {"spin buttons on an edit", TUpDown::MetaClass, Is<TUpDown>([](TUpDown& u) { return u.Associate() != nullptr; })},
        {"date picker", TDateTimePicker::MetaClass, Is<TDateTimePicker>([](TDateTimePicker& d) { return d.Kind() == dtkDate; })},
        {"time picker", TDateTimePicker::MetaClass, Is<TDateTimePicker>([](TDateTimePicker& d) { return d.Kind() == dtkTime; })},
        {"list view with columns", TListView::MetaClass, Is<TListView>([](TListView& l) { return l.ColumnCount() > 1; })},
        {"status bar", TStatusBar::MetaClass, nullptr},
        {"partly filled progress bar", TProgressBar::MetaClass,
         Is<TProgressBar>([](TProgressBar& p) { return p.Position() > p.Min() && p.Position() < p.Max(); })},
        {"full progress bar", TProgressBar::MetaClass, Is<TProgressBar>([](TProgressBar& p) { return p.Position() == p.Max(); })},
        {"standing progress bar", TProgressBar::MetaClass,
         Is<TProgressBar>([](TProgressBar& p) { return p.Orientation() == pbVertical; })},
        {"marquee progress bar", TProgressBar::MetaClass, Is<TProgressBar>([](TProgressBar& p) { return p.Style() == pbstMarquee; })},
        {"lying track bar", TTrackBar::MetaClass, Is<TTrackBar>([](TTrackBar& t) { return t.Orientation() == trHorizontal; })},
        {"standing track bar", TTrackBar::MetaClass, Is<TTrackBar>([](TTrackBar& t) { return t.Orientation() == trVertical; })},
        {"page control, three pages holding controls, close boxes", TPageControl::MetaClass, Is<TPageControl>([](TPageControl& p) {
             bool filled = p.PageCount() >= 3;
             for (int i = 0; i < p.PageCount(); ++i) filled = filled && p.Pages(i)->ControlCount() >= 2;
             return filled && p.Tag() == 7777;
         })},
        {"tabs at the bottom", TTabControl::MetaClass, Is<TTabControl>([](TTabControl& t) { return t.TabPosition() == tpBottom; })},
        {"tabs on a side", TTabControl::MetaClass,
         Is<TTabControl>([](TTabControl& t) { return t.TabPosition() == tpLeft || t.TabPosition() == tpRight; })},
        {"button tabs", TTabControl::MetaClass, Is<TTabControl>([](TTabControl& t) { return t.Style() == tsButtons; })},
        {"tabs in rows", TTabControl::MetaClass,
         Is<TTabControl>([](TTabControl& t) { return t.MultiLine() && t.TabPosition() == tpTop && t.TabCount() >= 6; })},
        {"more tabs than fit, one an icon alone", TTabControl::MetaClass, Is<TTabControl>([](TTabControl& t) {
             HWND arrows = FindWindowExW(t.Handle(), nullptr, UPDOWN_CLASSW, nullptr);
             return !t.MultiLine() && t.Images() && t.Tabs()->Strings(0).empty() && arrows && IsWindowVisible(arrows);
         })},
        {"tab set with scroll arrows", TTabSet::MetaClass, Is<TTabSet>([](TTabSet& t) { return t.Scroller()->Visible(); })},
        {"check box drawing its own glyphs", TGlyphCheckBox::MetaClass, Is<TGlyphCheckBox>([](TGlyphCheckBox& c) { return c.Checked(); })},
        {"radio button drawing its own glyphs", TGlyphRadioButton::MetaClass, Is<TGlyphRadioButton>([](TGlyphRadioButton&) { return true; })},
        {"grayed check box with its glyph in properties", TPropertiesCheckBox::MetaClass,
         Is<TPropertiesCheckBox>([](TPropertiesCheckBox& c) { return c.State() == cbGrayed; })},
        {"media player with a clip open", TMediaPlayer::MetaClass, Is<TMediaPlayer>([](TMediaPlayer& m) { return m.IsOpen() && m.Display(); })},
        {"media player with disabled buttons", TMediaPlayer::MetaClass,
         Is<TMediaPlayer>([](TMediaPlayer& m) { return !m.AutoEnable() && (m.VisibleButtons() & ~m.EnabledButtons()) != 0; })},
    };
    for (const auto& k : kinds) EXPECT_GE(Count(k.cls, k.test), 1) << k.what;
}

TEST_F(Gallery, EveryControlItShowsIsPaintedByTheSkin) {
    TWinSkinForm* skinner = SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr;
    ASSERT_NE(skinner, nullptr);
    const TClassInfo* painted[] = {&TButton::MetaClass,      &TBitBtn::MetaClass,  &TMenuButton::MetaClass,
                                   &TSpeedButton::MetaClass, &TCheckBox::MetaClass, &TRadioButton::MetaClass,
                                   &TGroupBox::MetaClass,    &TPanel::MetaClass,    &TEdit::MetaClass,
                                   &TComboBox::MetaClass,    &TUpDown::MetaClass,   &TDateTimePicker::MetaClass,
                                   &TMemo::MetaClass,        &TListBox::MetaClass,  &TScrollBar::MetaClass,
                                   &TListView::MetaClass,    &TStatusBar::MetaClass, &TProgressBar::MetaClass,
                                   &TTrackBar::MetaClass,    &TPageControl::MetaClass, &TTabSheet::MetaClass,
                                   &TTabControl::MetaClass,  &TTabSet::MetaClass,  &TGlyphCheckBox::MetaClass,
                                   &TGlyphRadioButton::MetaClass, &TPropertiesCheckBox::MetaClass, &TMediaPlayer::MetaClass};
    int seen = 0;
    for (TComponent* c : form->ComponentList()) {
        if (std::find(std::begin(painted), std::end(painted), &c->ClassType()) == std::end(painted)) continue;
        ++seen;
        EXPECT_NE(skinner->PainterOfControl(static_cast<TControl*>(c)), nullptr) << c->Name();
    }
    EXPECT_GT(seen, 25);
    for (int i = 0; i < form->SkinChoice->ButtonCount(); ++i)
        EXPECT_NE(skinner->PainterOfControl(form->SkinChoice->Buttons(i)), nullptr) << "radio group item " << i;
    // A list view's column header is a window of its own, with a painter of its own.
    auto* list = dynamic_cast<TListView*>(form->FindComponent("ReportList"));
    ASSERT_NE(list, nullptr);
    EXPECT_NE(skinner->PainterOfWindow(ListView_GetHeader(list->Handle())), nullptr) << "the list view's header";
}

TEST_F(Gallery, SwitchesBetweenTheSkins) {
    TSkinData& skin = *form->SkinData1;
    ASSERT_TRUE(skin.Active()) << "the stored skin from the start";
    const std::string stored = skin.SkinName;
    ASSERT_FALSE(TGalleryForm::GraphiteSkinPath().empty()) << "graphite.skn beside the test program";

    ASSERT_TRUE(form->ApplySkin(TGallerySkin::Graphite));
    EXPECT_TRUE(skin.Active());
    EXPECT_NE(skin.SkinName, stored);
    EXPECT_EQ(form->SkinChoice->ItemIndex(), 1);

    ASSERT_TRUE(form->ApplySkin(TGallerySkin::None));
    Application().ProcessMessages();
    EXPECT_FALSE(skin.Active());
    EXPECT_EQ(form->SkinChoice->ItemIndex(), 2);

    ASSERT_TRUE(form->ApplySkin(TGallerySkin::Default));
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.SkinName, stored) << "the stored skin again";
    EXPECT_EQ(form->SkinChoice->ItemIndex(), 0);

    // The switcher itself: a click on an item switches.
    SendMessageW(form->SkinChoice->Buttons(2)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->CurrentSkin(), TGallerySkin::None);
    EXPECT_FALSE(skin.Active());
}

TEST_F(Gallery, AThousandSkinSwitchesHoldNoHandles) {
    // Every painter on every control kind let go and made again, a thousand times, through the three
    // choices. Counted once the skinning work deferred to the skinners' timers has run and every window
    // has painted: a count taken in the middle of them depends on how busy the machine is.
    const TGallerySkin cycle[] = {TGallerySkin::Graphite, TGallerySkin::None, TGallerySkin::Default};
    const THandleGrowth growth = ExpectNoHandleGrowth(
        "skin switches of the whole gallery, three a round", 332,
        [&] {
            for (TGallerySkin choice : cycle) ASSERT_TRUE(form->ApplySkin(choice));
            Application().ProcessMessages();
        },
        [&] { SettleAndPaint(form->Handle()); });
    EXPECT_GT(growth.Start.Ours.Gdi, 0) << "nothing is counted";
}

TEST_F(Gallery, ItsMenusHoldEveryItemKindAndTheSkinItemsSwitchTheSkin) {
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 880) << "the menu bar takes nothing of the stored client area";
    ASSERT_TRUE(form->ApplySkin(TGallerySkin::None));
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 880) << "unskinned";
    ASSERT_TRUE(form->ApplySkin(TGallerySkin::Default));
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 880) << "skinned again";
    ASSERT_EQ(form->Menu(), form->MainMenu1);
    ASSERT_EQ(form->PopupMenu(), form->GalleryPopup);
    EXPECT_EQ(form->MenuImages->Count(), 6);
    // Every kind of item somewhere in the main menu.
    struct TSeen {
        bool nested = false, disabled = false, image = false, check = false, radio = false, shortCut = false, line = false;
    } seen;
    auto walk = [&](auto& self, TMenuItem& parent, int depth) -> void {
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem& item = *parent.Items(i);
            seen.nested |= depth >= 2 && item.Count() > 0;
            seen.disabled |= !item.Enabled();
            seen.image |= item.ImageIndex() >= 0;
            seen.check |= item.Checked() && !item.RadioItem();
            seen.radio |= item.RadioItem();
            seen.shortCut |= item.ShortCut() != 0;
            seen.line |= item.IsLine();
            self(self, item, depth + 1);
        }
    };
    walk(walk, *form->MainMenu1->Items(), 1);
    EXPECT_TRUE(seen.nested && seen.disabled && seen.image && seen.check && seen.radio && seen.shortCut && seen.line);

    // A skin item chosen from the context menu switches, and both menus and the switcher follow.
    auto item = [&](const char* name) { return static_cast<TMenuItem*>(form->FindComponent(name)); };
    ASSERT_TRUE(form->GalleryPopup->DispatchCommand(item("PopupNoSkinItem")->Command()));
    EXPECT_EQ(form->CurrentSkin(), TGallerySkin::None);
    EXPECT_TRUE(item("NoSkinItem")->Checked());
    EXPECT_FALSE(item("DefaultSkinItem")->Checked());
    // Its shortcut, typed into the window, chooses the default skin again.
    PostMessageW(form->Handle(), WM_KEYDOWN, '1', 0);
    BYTE keys[256]{};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Application().ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(form->CurrentSkin(), TGallerySkin::Default);
    EXPECT_TRUE(item("PopupDefaultSkinItem")->Checked());
    EXPECT_TRUE(form->SkinData1->Active());
}

TEST_F(Gallery, OpensTheMdiWindowWithThreeChildrenAndAfreshAfterClosing) {
    form->OpenMdi();
    HWND frame = form->MdiFrame();
    ASSERT_TRUE(frame);
    int children = 0;
    for (HWND child = GetWindow(FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, 3);
    EXPECT_TRUE(IsWindowVisible(frame));
    SendMessageW(frame, WM_CLOSE, 0, 0);  // closed by the user
    Application().ProcessMessages();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(form->MdiFrame(), nullptr);
    form->OpenMdi();
    EXPECT_TRUE(IsWindowVisible(form->MdiFrame())) << "opened afresh";
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Application().Initialize();
    InstallControlPainters();
    const int result = RUN_ALL_TESTS();
    FreeSkinManager();
    Application().Finalize();
    return result;
}
