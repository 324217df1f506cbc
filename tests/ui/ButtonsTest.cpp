// Push buttons, bit buttons, menu buttons, group boxes and radio groups on a real form with real
// messages: clicks, the dialog keys, arrow keys in a radio group, and the bit button's own drawing.
#include "GuiFixture.h"
#include "ui/BitBtn.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/MenuButton.h"
#include "ui/Properties.h"
#include "ui/RadioGroup.h"

#include <functional>
#include <optional>

namespace {

class Buttons : public GuiTest {
protected:

    // A key press as the keyboard sends it to the focused window, through the application's dispatch.
    static void PressKey(HWND focused, WPARAM key) {
        PostMessageW(focused, WM_KEYDOWN, key, 1);
        PostMessageW(focused, WM_KEYUP, key, 0xC0000001);
        Application().ProcessMessages();
    }
};

TEST_F(Buttons, MouseClickRaisesOnClickOnce) {
    for (const TClassInfo* kind : {&TButton::MetaClass, &TBitBtn::MetaClass, &TMenuButton::MetaClass}) {
        SCOPED_TRACE(kind->Name());
        auto* button = dynamic_cast<TCustomButton*>(kind->Create(form));
        ASSERT_TRUE(button);
        button->SetParent(form);
        button->SetBounds(10, 10, 90, 30);
        button->SetCaption(L"Go");
        int clicks = 0;
        button->OnClick = [&](TObject* sender) {
            EXPECT_EQ(sender, button);
            ++clicks;
        };
        Application().ProcessMessages();
        Click(button->Handle(), 45, 15);
        EXPECT_EQ(clicks, 1);
        // A second click at once is a click too, not a double click that owner-drawn buttons would swallow.
        Click(button->Handle(), 45, 15);
        EXPECT_EQ(clicks, 2);
        Click(form->Handle(), 200, 200);
        EXPECT_EQ(clicks, 2) << "a click beside the button";
        delete button;
    }
}

TEST_F(Buttons, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
    auto* edit = Add<TEdit>(form, 10, 10, 120, 21);
    auto* ok = Add<TButton>(form, 10, 50, 75, 25);
    auto* cancel = Add<TBitBtn>(form, 100, 50, 75, 25);
    auto* other = Add<TButton>(form, 190, 50, 75, 25);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    int okClicks = 0, cancelClicks = 0, otherClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    other->OnClick = [&](TObject*) { ++otherClicks; };
    EXPECT_TRUE(GetWindowLongW(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    edit->SetFocus();
    Application().ProcessMessages();

    PressKey(edit->Handle(), VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    PressKey(edit->Handle(), VK_ESCAPE);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(okClicks, 1);

    other->SetFocus();  // a focused push button is the one Enter clicks
    Application().ProcessMessages();
    PressKey(other->Handle(), VK_RETURN);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(okClicks, 1);

    edit->SetFocus();
    ok->SetEnabled(false);  // a disabled default button takes no Enter
    Application().ProcessMessages();
    PressKey(edit->Handle(), VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(cancelClicks, 1);
}

TEST_F(Buttons, MultiLineCaptionBreaksAtTheDoubleBar) {
    auto* button = Add<TButton>(form, 10, 10, 90, 40);
    button->SetCaption(L"First||second");
    button->SetWordWrap(true);
    EXPECT_EQ(button->Caption(), L"First||second") << "the caption stays as set, for painters";
    EXPECT_EQ(ReadEnumNameProperty(button, "MultiLine"), L"True");
    wchar_t shown[64]{};
    GetWindowTextW(button->Handle(), shown, 64);
    EXPECT_STREQ(shown, L"First\r\nsecond");
    EXPECT_TRUE(GetWindowLongW(button->Handle(), GWL_STYLE) & BS_MULTILINE);
}

// The bit button drawn by itself, looked at pixel by pixel.
class BitButtonLook : public Buttons {
protected:
    BitButtonLook() {
        glyph.SetPixelFormat(pf24bit);
        glyph.SetSize(16, 16);
        glyph.Canvas()->Brush()->SetColor(clRed);
        glyph.Canvas()->FillRect(TRect::FromBounds(0, 0, 16, 16));
        glyph.Canvas()->SetPixel(0, 15, clFuchsia);  // the bottom-left pixel names the transparent colour
    }

    // The bounds of the pixels that pass test inside the button's face (its edges left out), in client
    // coordinates; nullopt when none do.
    static std::optional<TRect> Find(TWinControl* button, const std::function<bool(COLORREF)>& test) {
        button->Repaint();
        TBitmap shot;
        shot.SetPixelFormat(pf24bit);
        shot.SetSize(button->Width(), button->Height());
        TWindowDC dc(button->Handle(), false);
        BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
        std::optional<TRect> found;
        constexpr int Edges = 4;
        for (int y = Edges; y < shot.Height() - Edges; ++y) {
            auto* p = static_cast<const unsigned char*>(shot.ScanLine(y)) + Edges * 3;
            for (int x = Edges; x < shot.Width() - Edges; ++x, p += 3) {
                if (!test(RGB(p[2], p[1], p[0]))) continue;
                if (!found) found = TRect{x, y, x + 1, y + 1};
                found->Left = std::min(found->Left, x);
                found->Top = std::min(found->Top, y);
                found->Right = std::max(found->Right, x + 1);
                found->Bottom = std::max(found->Bottom, y + 1);
            }
        }
        return found;
    }
    static bool IsRed(COLORREF c) { return c == RGB(255, 0, 0); }

    TBitmap glyph;
};

TEST_F(BitButtonLook, DrawsItsGlyphWhereTheLayoutPutsIt) {
    auto* button = Add<TBitBtn>(form, 10, 10, 140, 70);
    button->SetCaption(L"Caption");
    button->Glyph()->Assign(&glyph);
    const struct {
        TButtonLayout layout;
        std::function<bool(const TRect&)> placed;
    } cases[] = {
        {blGlyphLeft, [](const TRect& r) { return r.Right <= 70; }},
        {blGlyphRight, [](const TRect& r) { return r.Left >= 70; }},
        {blGlyphTop, [](const TRect& r) { return r.Bottom <= 35; }},
        {blGlyphBottom, [](const TRect& r) { return r.Top >= 35; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        button->ButtonGlyph().SetLayout(c.layout);
        std::optional<TRect> red = Find(button, IsRed);
        ASSERT_TRUE(red);
        EXPECT_EQ(red->Size(), (TSize{16, 16})) << "the whole glyph, its transparent colour left out";
        EXPECT_TRUE(c.placed(*red)) << red->Left << "," << red->Top;
    }
    EXPECT_EQ(ReadEnumNameProperty(button, "Layout"), L"blGlyphBottom");

    button->ButtonGlyph().SetLayout(blGlyphLeft);
    button->ButtonGlyph().SetMargin(4);
    std::optional<TRect> atMargin = Find(button, IsRed);
    ASSERT_TRUE(atMargin);
    EXPECT_LT(atMargin->Left, 12) << "4 pixels in from the face's inner edge";
}

TEST_F(BitButtonLook, DisabledGlyphIsGreyed) {
    auto* button = Add<TBitBtn>(form, 10, 10, 60, 40);
    button->Glyph()->Assign(&glyph);
    ASSERT_TRUE(Find(button, IsRed));
    button->SetEnabled(false);
    EXPECT_FALSE(Find(button, IsRed)) << "no colour left in a disabled glyph";
    // Red greyed: 128 plus half its brightness (77 * 255 / 256 / 2 = 38).
    std::optional<TRect> grey = Find(button, [](COLORREF c) { return c == RGB(166, 166, 166); });
    ASSERT_TRUE(grey);
    EXPECT_EQ(*grey, TRect::FromBounds(22, 12, 16, 16)) << "centred on the face, as the glyph alone";
}

TEST_F(Buttons, RadioGroupFollowsClicksAndArrowKeys) {
    auto* group = Add<TRadioGroup>(form, 10, 10, 260, 90);
    group->SetCaption(L"Pick");
    group->SetColumns(2);
    group->Items()->SetLines({L"One", L"Two", L"Three"});
    int clicks = 0;
    group->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, group);
        ++clicks;
    };
    ASSERT_EQ(group->ButtonCount(), 3);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(group->Buttons(2)->Caption(), L"Three");
    // Two columns, filled column by column: the first two left, the third at the top of the right one.
    EXPECT_EQ(group->Buttons(0)->Left(), group->Buttons(1)->Left());
    EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left() + 100);
    EXPECT_EQ(group->Buttons(2)->Top(), group->Buttons(0)->Top());
    EXPECT_LT(group->Buttons(0)->Top(), group->Buttons(1)->Top());
    for (int i = 0; i < 3; ++i) {
        TRect b = group->Buttons(i)->BoundsRect();
        EXPECT_TRUE(b.Left >= 0 && b.Top > 0 && b.Right <= group->ClientWidth() && b.Bottom <= group->ClientHeight())
            << "inside the frame: " << i;
    }

    group->SetItemIndex(0);
    EXPECT_EQ(clicks, 0) << "setting ItemIndex from code is no click";
    Click(group->Buttons(1)->Handle(), 5, 5);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(group->Buttons(0)->Checked());
    EXPECT_TRUE(group->Buttons(1)->Checked());

    HWND focused = GetFocus();
    ASSERT_EQ(focused, group->Buttons(1)->Handle());
    PressKey(focused, VK_DOWN);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(GetFocus(), group->Buttons(2)->Handle()) << "the focus goes with the checked item";
    PressKey(GetFocus(), VK_DOWN);
    EXPECT_EQ(group->ItemIndex(), 2) << "the last item stays";
    EXPECT_EQ(clicks, 2);
    PressKey(GetFocus(), VK_UP);
    PressKey(GetFocus(), VK_LEFT);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(SendMessageW(group->Buttons(0)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);

    group->Items()->SetLines({L"Only"});
    EXPECT_EQ(group->ButtonCount(), 1);
    EXPECT_EQ(group->ItemIndex(), 0);
    group->SetItemIndex(5);
    EXPECT_EQ(group->ItemIndex(), 0) << "held to the items there are";
    group->SetItemIndex(-1);
    EXPECT_FALSE(group->Buttons(0)->Checked());
}

TEST_F(Buttons, GroupBoxHoldsControlsInsideItsFrame) {
    auto* box = Add<TGroupBox>(form, 10, 10, 200, 100);
    box->SetCaption(L"Group");
    auto* inside = Add<TButton>(box, 10, 20, 75, 25);
    EXPECT_EQ(GetParent(inside->Handle()), box->Handle());
    TRect interior = box->FrameInterior();
    EXPECT_GT(interior.Top, 8) << "below the caption";
    EXPECT_LT(interior.Right, box->ClientWidth());
    int clicks = 0;
    inside->OnClick = [&](TObject*) { ++clicks; };
    Click(inside->Handle(), 20, 10);
    EXPECT_EQ(clicks, 1) << "the click is reflected through the group box";
}

TEST_F(Buttons, PropertiesComeFromAStoredDescription) {
    auto* read = new TForm(nullptr);
    read->ReadDescription(R"(object Read1: TForm
  object Ok: TButton
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
  object Quit: TButton
    Cancel = True
    WordWrap = True
    Caption = 'Two||lines'
  end
  object Picture: TBitBtn
    Layout = blGlyphTop
    NumGlyphs = 2
    Margin = 3
    Spacing = 6
    ImageIndex = 4
    DisabledIndex = 5
  end
  object More: TMenuButton
    Caption = 'More'
  end
  object Box: TGroupBox
    Caption = 'Box'
    object Inner: TButton
    end
  end
  object Choice: TRadioGroup
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'Alpha'
      'Be' + 'ta'
      'Gamma')
  end
end
)");
    auto find = [&](const char* name) { return read->FindComponent(name); };
    EXPECT_EQ(ReadEnumNameProperty(find("Ok"), "Default"), L"True");
    EXPECT_EQ(ReadIntegerProperty(find("Ok"), "ModalResult"), 1);
    EXPECT_EQ(ReadEnumNameProperty(find("Ok"), "Cancel"), L"False");
    EXPECT_EQ(ReadEnumNameProperty(find("Quit"), "Cancel"), L"True");
    EXPECT_EQ(ReadEnumNameProperty(find("Quit"), "MultiLine"), L"True");
    EXPECT_EQ(ReadStringProperty(find("Quit"), "Caption"), L"Two||lines");
    const struct {
        const char* name;
        int value;
    } integers[] = {{"NumGlyphs", 2}, {"Margin", 3}, {"Spacing", 6}, {"ImageIndex", 4}, {"DisabledIndex", 5}};
    for (const auto& i : integers) EXPECT_EQ(ReadIntegerProperty(find("Picture"), i.name), i.value) << i.name;
    EXPECT_EQ(ReadEnumNameProperty(find("Picture"), "Layout"), L"blGlyphTop");
    EXPECT_TRUE(ReadObjectProperty<TBitmap>(find("Picture"), "Glyph"));
    EXPECT_EQ(ReadStringProperty(find("More"), "Caption"), L"More");
    EXPECT_EQ(static_cast<TControl*>(find("Inner"))->Parent(), find("Box"));

    auto* choice = static_cast<TRadioGroup*>(find("Choice"));
    EXPECT_EQ(choice->Items()->Lines(), (std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma"}));
    EXPECT_EQ(ReadIntegerProperty(choice, "ItemIndex"), 1) << "given before the items, kept for them";
    EXPECT_EQ(ReadIntegerProperty(choice, "Columns"), 2);
    ASSERT_EQ(choice->ButtonCount(), 3);
    EXPECT_TRUE(choice->Buttons(1)->Checked());
    EXPECT_EQ(choice->Buttons(1)->Caption(), L"Beta");
    TCustomForm::Free(read);
}

}  // namespace
