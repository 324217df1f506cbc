// Menus in the skin on real menus and real keys: a form's context menu, the system menu and the menu
// bar open in the skin with their items drawn by the painter, move and choose by mouse and keyboard and
// act once, give their windows back when they close, and go back to their own drawing when skinning ends.
#include "ShippedSkin.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMenuBar.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/SkinPopupMenu.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/Menus.h"

#include "HandleGrowth.h"
#include "Keys.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// What an open menu window looked like, read while it was up, and the keys then typed into it: one list
// per menu window that opens (a drop-down of the bar closing and the next opening makes a new one).
struct TMenuVisit {
    std::vector<std::vector<WPARAM>> Stages;
    HWND LastMenu = nullptr;
    bool Seen = false;
    int MenusSeen = 0;
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
    HWND menu = OpenMenuWindow();
    if (!menu || menu == Visit.LastMenu || ++Visit.Ticks < 4) return;
    Visit.Ticks = 0;
    Visit.LastMenu = menu;
    ++Visit.MenusSeen;
    const std::vector<WPARAM> keys = Visit.Stages.empty() ? std::vector<WPARAM>{} : Visit.Stages.front();
    if (!Visit.Stages.empty()) Visit.Stages.erase(Visit.Stages.begin());
    if (Visit.Stages.empty()) KillTimer(nullptr, id);
    if (Visit.Seen) {
        PostKeysToMenu(menu, keys);
        return;
    }
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
    PostKeysToMenu(menu, keys);
}

void OpenAndTypeEach(std::vector<std::vector<WPARAM>> stages, const std::function<void()>& open) {
    Visit = {};
    Visit.Stages = std::move(stages);
    SetTimer(nullptr, 0, 30, LookAndType);
    open();
}

void OpenAndType(std::vector<WPARAM> keys, const std::function<void()>& open) {
    OpenAndTypeEach({std::move(keys)}, open);
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
    OpenAndType(std::vector<WPARAM>{'X'}, [&] {
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
    ExpectNoHandleGrowth(
        "context menu opened and closed", 40, [&] { OpenAndType({VK_DOWN, VK_ESCAPE}, [&] { menu->Popup(60, 60); }); },
        [&] { SettleAndPaint(form->Handle()); });
}

// A form with a menu bar, skinned: the skin's bar stands for the window's own.
class SkinnedMenuBar : public ::testing::Test {
protected:
    SkinnedMenuBar() {
        bar = new TMainMenu(form);
        const struct { const wchar_t* Top; std::vector<const wchar_t*> Items; } menus[] = {
            {L"&File", {L"&Open", L"&Save", L"-", L"E&xit"}},
            {L"&View Options", {L"&Folders", L"F&iles"}},
            {L"&Help and Support", {L"&About"}},
        };
        for (const auto& m : menus) {
            auto* top = new TMenuItem(form);
            top->SetCaption(m.Top);
            bar->Items()->Add(top);
            for (const wchar_t* caption : m.Items) {
                auto* item = new TMenuItem(form);
                item->SetCaption(caption);
                item->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
                top->Add(item);
            }
        }
        form->SetMenu(bar);
        form->Show();
        form->SetClientSize({400, 200});
        Pump();
        RECT client{};
        GetClientRect(form->Handle(), &client);
        unskinnedClient = {client.right, client.bottom};
        skin = ShippedSkin("default");
        // Drop-down items in the skin too (the shipped skins leave them to the system).
        skin->SetSkinControls(skin->SkinControls() | SkinBit(xcMenuItem));
        // The window was up before the skin: it is skinned as the user would next activate it.
        SkinManager->SkinWindow(form->Handle());
        skinner = nullptr;
        for (int i = 0; i < 50 && !skinner; ++i) {
            Pump(1, 10);
            skinner = SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr;
        }
        SetForegroundWindow(form->Handle());
        Pump();
    }
    ~SkinnedMenuBar() override {
        TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        Pump(2);
    }

    TSize ClientSize() const {
        RECT client{};
        GetClientRect(form->Handle(), &client);
        return {client.right, client.bottom};
    }
    // A press on a bar item, as the mouse makes it (screen coordinates).
    void PressItem(int index) {
        const TRect r = skinner->MenuBar()->Items()[static_cast<size_t>(index)]->BoundsRect;
        RECT window{};
        GetWindowRect(form->Handle(), &window);
        const POINT at{window.left + (r.Left + r.Right) / 2, window.top + (r.Top + r.Bottom) / 2};
        SetCursorPos(at.x, at.y);
        SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
    }

    TForm* form = new TForm(nullptr);
    TMainMenu* bar = nullptr;
    std::unique_ptr<TSkinData> skin;
    TWinSkinForm* skinner = nullptr;
    TSize unskinnedClient;
    std::vector<std::wstring> clicked;
};

TEST_F(SkinnedMenuBar, TheSkinsBarStandsForTheWindowsOwnAndGivesItBack) {
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "the window still shows its own bar";
    ASSERT_EQ(skinner->MenuBar()->Items().size(), 3u);
    EXPECT_EQ(skinner->MenuBar()->Items()[1]->Caption, L"&View Options");
    EXPECT_EQ(ClientSize(), unskinnedClient) << "the skinned frame with its bar keeps the client area";
    // Items lie side by side in the strip under the title bar, and are found there.
    const TRect file = skinner->MenuBar()->Items()[0]->BoundsRect;
    const TRect view = skinner->MenuBar()->Items()[1]->BoundsRect;
    EXPECT_EQ(file.Top, skinner->Metrics().Top);
    EXPECT_EQ(view.Left, file.Right);
    EXPECT_EQ(skinner->ObjectAt({view.Left + 2, view.Top + 2}), skinner->MenuBar()->Items()[1].get());

    skin->SetActive(false);
    for (int i = 0; i < 50 && SkinManager && SkinManager->FindSkinForm(form->Handle()); ++i) Pump(1, 10);
    EXPECT_EQ(GetMenu(form->Handle()), bar->Handle());
    EXPECT_EQ(ClientSize(), unskinnedClient);
}

TEST_F(SkinnedMenuBar, ClickOpensTheDropDownAndTheArrowsMoveAlongTheBar) {
    ASSERT_NE(skinner, nullptr);
    // File opens with its first item selected; Right goes on to View, whose first item is chosen.
    OpenAndTypeEach({{VK_RIGHT}, {VK_RETURN}}, [&] { PressItem(0); });
    EXPECT_EQ(Visit.MenusSeen, 2);
    EXPECT_EQ(Visit.Kind, mkMenuBar);
    EXPECT_TRUE(Visit.FrameFromSkin);
    Pump(2);
    EXPECT_EQ(clicked, std::vector<std::wstring>{L"&Folders"});
    // Left from the first item goes round to the last.
    OpenAndTypeEach({{VK_LEFT}, {VK_ESCAPE}}, [&] { PressItem(0); });
    EXPECT_EQ(Visit.MenusSeen, 2);
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(SkinnedMenuBar, AltAndAMnemonicOpenTheirItem) {
    ASSERT_NE(skinner, nullptr);
    // Alt+H opens Help; Enter chooses About.
    OpenAndType(std::vector<WPARAM>{VK_RETURN}, [&] { SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'h'); });
    Pump(2);
    EXPECT_EQ(clicked, std::vector<std::wstring>{L"&About"});
    // F10 (no character) opens the first item.
    OpenAndType(std::vector<WPARAM>{VK_DOWN, VK_RETURN}, [&] { SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0); });
    Pump(2);
    EXPECT_EQ(clicked.back(), L"&Save");
}

TEST_F(SkinnedMenuBar, ANarrowWindowWrapsTheBarAndTheClientAreaGivesItTheRoom) {
    ASSERT_NE(skinner, nullptr);
    const int row = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(skinner->MenuHeight(), row);
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const int height = window.bottom - window.top;
    // Narrow enough that the last item no longer fits on the first row.
    const TRect file = skinner->MenuBar()->Items()[0]->BoundsRect;
    const TRect help = skinner->MenuBar()->Items()[2]->BoundsRect;
    ASSERT_EQ(help.Top, file.Top);
    const int narrow = help.Left + skinner->Metrics().Right + 10;
    SetWindowPos(form->Handle(), nullptr, 0, 0, narrow, height, SWP_NOMOVE | SWP_NOZORDER);
    Pump(3);
    EXPECT_GE(skinner->MenuHeight(), 2 * row);
    EXPECT_GE(skinner->MenuBar()->Items()[2]->BoundsRect.Top, file.Top + row) << "Help did not go to the next row";
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, height - skinner->Metrics().Top - skinner->Metrics().Bottom - skinner->MenuHeight());
}

}  // namespace
