// Menus in the skin on real menus and real keys: a form's context menu and the system menu open in the
// skin's frame with their items drawn by the painter, choose by the keyboard and act once, give their
// windows back when they close, and go back to their own drawing when skinning ends.
#include "ShippedSkin.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/SkinPopupMenu.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/HandleCounts.h"
#include "ui/Menus.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// What an open menu window looked like, read while it was up, and the keys then typed into it.
struct TMenuVisit {
    std::vector<WPARAM> Keys;
    bool Seen = false;
    size_t Skinned = 0;           // skinned menu windows open
    LRESULT Query = 0;            // the window's answer to WM_SKINQUERY
    int Kind = -1;                // the manager's menu kind
    bool FrameFromSkin = false;   // the border's pixels are the skin's picture
    bool ItemsOnSkin = false;     // the first item shows the skin's background, not the system's colour
    int Ticks = 0;
};
TMenuVisit Visit;

// Looks at the menu once it has been up for a few ticks (painted), then types the keys into it.
void CALLBACK LookAndType(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || ++Visit.Ticks < 4) return;
    KillTimer(nullptr, id);
    Visit.Seen = true;
    Visit.Skinned = SkinManager ? SkinManager->PopupCount() : 0;
    Visit.Query = SendMessageW(menu, WM_SKINQUERY, 0, 0);
    Visit.Kind = SkinManager ? SkinManager->MenuKind : -1;
    auto* popup = SkinManager && !SkinManager->Popups().empty()
                      ? dynamic_cast<TWinSkinPopMenu*>(SkinManager->Popups().back().get())
                      : nullptr;
    if (popup && popup->Background()) {
        TBitmap& picture = const_cast<TBitmap&>(*popup->Background());
        TWindowDC dc(menu, true);
        const int w = picture.Width(), h = picture.Height();
        const TPoint border[] = {{0, 0}, {w - 1, h / 2}, {w / 2, h - 1}, {1, h / 2}};
        Visit.FrameFromSkin = true;
        for (const TPoint& p : border)
            Visit.FrameFromSkin &= GetPixel(dc.get(), p.X, p.Y) == ColorToRGB(picture.Canvas()->Pixel(p.X, p.Y));
        const TPoint client = popup->ClientOffset();
        const TPoint inItem{client.X + 2, client.Y + 2};
        Visit.ItemsOnSkin = GetPixel(dc.get(), inItem.X, inItem.Y) == ColorToRGB(picture.Canvas()->Pixel(inItem.X, inItem.Y));
    }
    for (WPARAM key : Visit.Keys) {
        PostMessageW(menu, WM_KEYDOWN, key, 1);
        PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
    }
}

void OpenAndType(std::vector<WPARAM> keys, const std::function<void()>& open) {
    Visit = {};
    Visit.Keys = std::move(keys);
    SetTimer(nullptr, 0, 30, LookAndType);
    open();
}

class SkinnedMenus : public ::testing::Test {
protected:
    SkinnedMenus() {
        skin = ShippedSkin("default");
        form->SetClientSize({300, 200});
        menu = new TPopupMenu(form);
        const wchar_t* captions[] = {L"&Open", L"-", L"&Checked", L"&Disabled"};
        for (const wchar_t* caption : captions) {
            auto* item = new TMenuItem(form);
            item->SetCaption(caption);
            item->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
            menu->Items()->Add(item);
        }
        menu->Items()->Items(0)->SetShortCut(ShortCut('O', ssCtrl));
        menu->Items()->Items(2)->SetChecked(true);
        menu->Items()->Items(3)->SetEnabled(false);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    ~SkinnedMenus() override {
        TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        Pump(2);
    }

    TForm* form = new TForm(nullptr);
    TPopupMenu* menu = nullptr;
    std::unique_ptr<TSkinData> skin;
    std::vector<std::wstring> clicked;
};

TEST_F(SkinnedMenus, AContextMenuOpensInTheSkinAndItsChosenItemActsOnce) {
    ASSERT_NE(SkinManager->FindSkinForm(form->Handle()), nullptr);
    EXPECT_TRUE(menu->OwnerDraw()) << "the skinned form's menu is not drawn by the painter";
    EXPECT_TRUE(static_cast<bool>(menu->Items()->Items(0)->OnDrawItem));

    // Down moves past the separator and the disabled item the system skips; the checked one is chosen.
    OpenAndType({VK_DOWN, VK_DOWN, VK_RETURN}, [&] { menu->Popup(60, 60); });
    ASSERT_TRUE(Visit.Seen);
    EXPECT_EQ(Visit.Skinned, 1u);
    EXPECT_EQ(Visit.Query, 1);
    EXPECT_EQ(Visit.Kind, mkContext);
    EXPECT_TRUE(Visit.FrameFromSkin) << "the menu's border is not the skin's";
    EXPECT_TRUE(Visit.ItemsOnSkin) << "the items are not drawn over the skin's background";
    EXPECT_EQ(clicked, std::vector<std::wstring>{L"&Checked"});
    Pump(2);
    EXPECT_EQ(SkinManager->PopupCount(), 0u) << "the closed menu's skinner stayed";

    // Escape chooses nothing.
    OpenAndType({VK_DOWN, VK_ESCAPE}, [&] { menu->Popup(60, 60); });
    EXPECT_TRUE(Visit.Seen);
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(SkinnedMenus, TheSystemMenuIsTheSkinsAndItsItemsAct) {
    const HWND wnd = form->Handle();
    // Alt+Space, then the mnemonic of "Maximize".
    OpenAndType({'X'}, [&] {
        PostMessageW(wnd, WM_SYSCHAR, L' ', MAKELPARAM(1, KF_ALTDOWN));
        for (int i = 0; i < 100 && !Visit.Seen; ++i) Pump(1, 10);
    });
    ASSERT_TRUE(Visit.Seen) << "Alt+Space showed no menu";
    EXPECT_EQ(Visit.Kind, mkSystem);
    EXPECT_EQ(Visit.Skinned, 1u);
    EXPECT_TRUE(Visit.FrameFromSkin);
    for (int i = 0; i < 100 && !IsZoomed(wnd); ++i) Pump(1, 10);
    EXPECT_TRUE(IsZoomed(wnd)) << "the chosen item did not reach the window";
}

TEST_F(SkinnedMenus, SkinningOffGivesMenusTheirOwnDrawingBack) {
    ASSERT_TRUE(menu->OwnerDraw());
    skin->SetActive(false);
    for (int i = 0; i < 50 && SkinManager && SkinManager->FindSkinForm(form->Handle()); ++i) Pump(1, 10);
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(static_cast<bool>(menu->Items()->Items(0)->OnDrawItem));
    skin->SetActive(true);
    for (int i = 0; i < 50 && !menu->OwnerDraw(); ++i) Pump(1, 10);
    EXPECT_TRUE(menu->OwnerDraw()) << "skinning on again gives the menu to the painter again";
}

TEST_F(SkinnedMenus, OpeningAndClosingMenusHoldsNoHandles) {
    auto cycle = [&] { OpenAndType({VK_DOWN, VK_ESCAPE}, [&] { menu->Popup(60, 60); }); };
    for (int i = 0; i < 3; ++i) cycle();
    const TGuiHandleCounts before = GuiHandleCounts();
    for (int i = 0; i < 40; ++i) cycle();
    const TGuiHandleCounts after = GuiHandleCounts();
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.User, before.User);
}

}  // namespace
