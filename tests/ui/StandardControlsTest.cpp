// The simple controls of the main window on a real form with real messages.
#include "GuiFixture.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"

#include <commctrl.h>

namespace {

class StandardControls : public GuiTest {
protected:
    static bool WindowChecked(TWinControl* c) {
        return SendMessageW(c->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
};

TEST_F(StandardControls, RadioGroupKeepsExactlyOneChecked) {
    auto* a = Add<TRadioButton>(form, 10, 10, 100, 17);
    auto* b = Add<TRadioButton>(form, 10, 30, 100, 17);
    auto* c = Add<TRadioButton>(form, 10, 50, 100, 17);
    auto* panel = Add<TPanel>(form, 200, 10, 150, 60);
    auto* other = Add<TRadioButton>(panel, 5, 5, 100, 17);  // another parent: another group
    other->SetChecked(true);
    a->SetChecked(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    SendMessageW(b->Handle(), BM_CLICK, 0, 0);  // the user's click
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
    EXPECT_TRUE(other->Checked()) << "a radio button in another parent is another group";
    EXPECT_FALSE(WindowChecked(a));
    EXPECT_TRUE(WindowChecked(b));

    c->SetChecked(true);  // from code: the same rule, no click
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(c->Checked());
    EXPECT_FALSE(WindowChecked(b));
    EXPECT_TRUE(WindowChecked(c));

    SendMessageW(c->Handle(), BM_CLICK, 0, 0);  // clicking the checked one keeps it checked
    EXPECT_TRUE(c->Checked());
}

TEST_F(StandardControls, CheckBoxClickToggles) {
    auto* box = Add<TCheckBox>(form, 10, 10, 100, 17);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_EQ(clicks, 0) << "setting the state from code is not a click";
    EXPECT_TRUE(WindowChecked(box));
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 1);
    box->SetAllowGrayed(true);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), cbGrayed);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(StandardControls, SpeedButtonClickRaisesOnClick) {
    auto* button = Add<TSpeedButton>(form, 10, 10, 90, 52);
    button->SetCaption(L"Find");
    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    HWND focusBefore = GetFocus();
    Click(form->Handle(), 50, 30);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetFocus(), focusBefore) << "a speed button never takes the focus";
    Click(form->Handle(), 150, 30);  // beside it
    EXPECT_EQ(clicks, 1);
}

TEST_F(StandardControls, SpeedButtonReleasedOutsideOrDisabledDoesNotClick) {
    auto* button = Add<TSpeedButton>(form, 10, 10, 90, 52);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    HWND wnd = form->Handle();
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 30));
    PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 30));
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 30));
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 0) << "pressed on it, released elsewhere";
    EXPECT_FALSE(button->Pressed());
    button->SetEnabled(false);
    Click(wnd, 50, 30);
    EXPECT_EQ(clicks, 0);
}

TEST_F(StandardControls, SpeedButtonGroupStaysDown) {
    auto* a = Add<TSpeedButton>(form, 10, 10, 40, 30);
    auto* b = Add<TSpeedButton>(form, 60, 10, 40, 30);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Click(form->Handle(), 20, 20);
    EXPECT_TRUE(a->Down());
    Click(form->Handle(), 70, 20);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
}

TEST_F(StandardControls, AcceleratorCharacterClicksSpeedButton) {
    auto* button = Add<TSpeedButton>(form, 10, 10, 90, 30);
    button->SetCaption(L"&About");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'a', 0), 1);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'b', 0), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(StandardControls, StatusBarDocksToTheBottom) {
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetSimpleText(L"0 folder(s) searched");
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    form->SetClientSize({500, 350});
    EXPECT_EQ(bar->Top(), 350 - bar->Height());
    EXPECT_EQ(bar->Width(), 500);
    wchar_t text[64] = {};
    SendMessageW(bar->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));  // the simple line
    EXPECT_STREQ(text, L"0 folder(s) searched");
    EXPECT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
}

TEST_F(StandardControls, AnchorsFollowTheParentsSize) {
    auto* right = Add<TEdit>(form, 10, 10, 380, 21);
    right->SetAnchors(AnchorBit(akLeft) | AnchorBit(akTop) | AnchorBit(akRight));
    auto* corner = Add<TCheckBox>(form, 300, 270, 90, 17);
    corner->SetAnchors(AnchorBit(akRight) | AnchorBit(akBottom));
    form->SetClientSize({500, 400});
    EXPECT_EQ(right->Width(), 480);
    EXPECT_EQ(right->Left(), 10);
    EXPECT_EQ(corner->Left(), 400);
    EXPECT_EQ(corner->Top(), 370);
    form->SetClientSize({400, 300});
    EXPECT_EQ(right->Width(), 380) << "anchoring works from the original layout, not step by step";
    EXPECT_EQ(corner->Top(), 270);
}

TEST(ClientArea, KnownBeforeTheWindowExists) {
    TForm form(nullptr);
    form.SetClientSize({300, 200});
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
    TPanel panel(nullptr);
    panel.SetBorderStyle(bsSingleBorder);
    panel.SetBounds(0, 0, 100, 50);
    EXPECT_EQ(panel.ClientWidth(), 98) << "a single-line border takes a pixel on each side";
    form.Show();
    panel.SetParent(&form);
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(panel.ClientWidth(), 98);
    panel.SetParent(nullptr);
}

TEST_F(StandardControls, EditHeightFollowsItsFont) {
    auto* edit = Add<TEdit>(form, 10, 10, 200, 40);
    edit->HandleNeeded();
    int normal = edit->Height();
    EXPECT_LT(normal, 40) << "a single-line edit is as high as its font needs";
    edit->Font()->SetHeight(-20);
    EXPECT_GT(edit->Height(), normal);
    RECT r;
    GetWindowRect(edit->Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, edit->Height());
}

TEST_F(StandardControls, ReadOnlyEditShowsItsColours) {
    auto* edit = Add<TEdit>(form, 10, 10, 200, 21);
    edit->SetReadOnly(true);
    edit->SetText(L"My Computer");
    edit->Font()->SetColor(clBlue);
    edit->Font()->SetStyle(FontStyleBit(fsBold));
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(edit->ParentFont());
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                     reinterpret_cast<LPARAM>(edit->Handle())));
    EXPECT_EQ(brush, edit->Brush()->Handle());
    EXPECT_EQ(GetTextColor(dc.get()), RGB(0, 0, 255));
}

TEST_F(StandardControls, ChildrenInheritTheParentFontUntilGivenTheirOwn) {
    form->Font()->SetName(L"Tahoma");
    auto* label = Add<TLabel>(form, 10, 10, 50, 13);
    auto* edit = Add<TEdit>(form, 10, 40, 100, 21);
    edit->Font()->SetStyle(FontStyleBit(fsBold));
    form->Font()->SetHeight(-14);
    EXPECT_EQ(label->Font()->Name(), L"Tahoma");
    EXPECT_EQ(label->Font()->Height(), -14);
    EXPECT_EQ(edit->Font()->Height(), -11) << "an own font is not replaced by the parent's";
}

TEST_F(StandardControls, PanelsAndLabelsTakeTheParentsColour) {
    form->SetColor(clSilver);
    auto* panel = Add<TPanel>(form, 10, 10, 100, 50);
    auto* label = Add<TLabel>(panel, 5, 5, 50, 13);
    EXPECT_EQ(panel->Color(), clSilver);
    EXPECT_EQ(panel->Brush()->Color(), clSilver) << "the panel erases with it";
    EXPECT_EQ(label->Color(), clSilver);
    form->SetColor(clWhite);
    EXPECT_EQ(label->Color(), clWhite) << "and follows changes";
    panel->SetColor(clRed);
    EXPECT_FALSE(panel->ParentColor());
    form->SetColor(clBlack);
    EXPECT_EQ(panel->Color(), clRed);
}

TEST_F(StandardControls, TabMovesInTabOrderWhileLaterControlsLieOnTop) {
    auto* a = Add<TEdit>(form, 10, 10, 100, 21);
    auto* b = Add<TEdit>(form, 10, 40, 100, 21);
    auto* c = Add<TCheckBox>(form, 10, 70, 100, 17);
    auto* hidden = Add<TEdit>(form, 10, 100, 100, 21);
    hidden->SetVisible(false);
    c->SetTabOrder(0);
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], c);
    EXPECT_EQ(order[1], a);
    EXPECT_EQ(b->TabOrder(), 2);
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), hidden->Handle()) << "the last placed lies on top";
    EXPECT_EQ(GetWindow(c->Handle(), GW_HWNDNEXT), b->Handle());

    // Forward, backward and round, skipping what cannot take the focus.
    struct Step { TWinControl* from; bool forward; TWinControl* to; } steps[] = {
        {c, true, a}, {a, true, b}, {b, true, c}, {c, false, b}, {a, false, c}};
    for (const Step& s : steps) {
        ASSERT_TRUE(form->SelectNext(s.from->Handle(), s.forward));
        EXPECT_EQ(GetFocus(), s.to->Handle()) << s.from->Name() << (s.forward ? " forward" : " backward");
    }
}

TEST_F(StandardControls, FreedChildLeavesItsParentsLists) {
    auto* a = Add<TEdit>(form, 10, 10, 100, 21);
    auto* b = Add<TEdit>(form, 10, 40, 100, 21);
    auto* label = Add<TLabel>(form, 10, 70, 50, 13);
    HWND wnd = a->Handle();
    delete a;
    delete label;
    EXPECT_FALSE(IsWindow(wnd));
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(order, std::vector<TWinControl*>{b});
    EXPECT_EQ(form->ControlCount(), 1);
    b->SetTabOrder(0);  // walks the tab list again
    form->Repaint();    // and the windowless children
    Click(form->Handle(), 20, 75);
}

TEST_F(StandardControls, RecreatedWindowKeepsItsChildrenAndState) {
    auto* panel = Add<TPanel>(form, 10, 10, 200, 100);
    auto* box = Add<TCheckBox>(panel, 5, 5, 100, 17);
    box->SetChecked(true);
    HWND before = box->Handle();
    panel->SetBorderStyle(bsSingleBorder);  // needs a new window
    EXPECT_TRUE(GetWindowLongW(panel->Handle(), GWL_STYLE) & WS_BORDER);
    ASSERT_TRUE(box->HandleAllocated());
    EXPECT_NE(box->WindowHandle(), before);
    EXPECT_EQ(GetParent(box->WindowHandle()), panel->WindowHandle());
    EXPECT_TRUE(WindowChecked(box));
}

}  // namespace
