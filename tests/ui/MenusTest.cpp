// Menus from a stored description: the menu bar and a context menu as the system shows them, items
// chosen by command, by shortcut and from an open menu by the keyboard (OnClick once), radio groups,
// owner drawing handed to the items' events, and references that forget a menu that goes.
#include "GuiFixture.h"
#include "Keys.h"
#include "ui/Edit.h"
#include "ui/ImageList.h"
#include "ui/Menus.h"
#include "ui/Properties.h"

#include <string>
#include <vector>

namespace {

class TMenuForm : public TForm {
public:
    CLARIVO_CLASS
    explicit TMenuForm(TComponent* owner) : TForm(owner) {
        Bindings().AddHandler("ItemClick", this, &TMenuForm::ItemClick);
        Bindings().AddField("MainMenu1", MainMenu1);
        Bindings().AddField("PopupMenu1", PopupMenu1);
        Bindings().AddField("Edit1", Edit1);
    }
    void ItemClick(TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Name()); }

    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TEdit* Edit1 = nullptr;
    std::vector<std::string> clicked;
};

const TClassInfo TMenuForm::MetaClass("TMenuForm", &TForm::MetaClass, nullptr, {});

const char* const Description = R"(object MenuForm1: TMenuForm
  ClientWidth = 300
  ClientHeight = 200
  Menu = MainMenu1
  object Edit1: TEdit
    Left = 10
    Top = 10
    PopupMenu = PopupMenu1
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
        ShortCut = 16463          // Ctrl+O
        OnClick = ItemClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Locked1: TMenuItem
        Caption = '&Locked'
        Enabled = False
        ShortCut = 16460          // Ctrl+L
        OnClick = ItemClick
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Folders1: TMenuItem
        Caption = 'F&olders'
        RadioItem = True
        AutoCheck = True
        Checked = True
        OnClick = ItemClick
      end
      object Files1: TMenuItem
        Caption = 'F&iles'
        RadioItem = True
        AutoCheck = True
        OnClick = ItemClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object Copy1: TMenuItem
      Caption = '&Copy Path'
      OnClick = ItemClick
    end
    object Delete1: TMenuItem
      Caption = '&Delete'
      ShortCut = 46               // Del
      OnClick = ItemClick
    end
  end
end
)";

class Menus : public ::testing::Test {
protected:
    Menus() {
        form->ReadDescription(Description);
        form->Show();
        Application().ProcessMessages();
    }
    ~Menus() override { TCustomForm::Free(form); }

    TMenuItem* Item(const char* name) { return static_cast<TMenuItem*>(form->FindComponent(name)); }
    static std::wstring Text(HMENU menu, UINT position) {
        wchar_t text[100]{};
        GetMenuStringW(menu, position, text, 100, MF_BYPOSITION);
        return text;
    }
    TMenuForm* form = new TMenuForm(nullptr);
};

TEST_F(Menus, TheDescriptionBuildsTheBarAndTheContextMenuAsTheSystemShowsThem) {
    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, form->MainMenu1->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Text(bar, 0), L"&File");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(Text(file, 0), L"&Open\tCtrl+O");
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(form->Edit1->PopupMenu(), form->PopupMenu1);
    EXPECT_EQ(Text(form->PopupMenu1->Handle(), 1), L"&Delete\tDel");

    // Changes show at once; a hidden item leaves its menu.
    Item("Open1")->SetCaption(L"&Open…");
    EXPECT_EQ(Text(file, 0), L"&Open…\tCtrl+O");
    Item("N1")->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(file), 2);
}

TEST_F(Menus, ACommandAShortCutOrAKeyInTheOpenMenuRunsTheItemOnce) {
    // The bar's command, as the system sends it.
    SendMessageW(form->Handle(), WM_COMMAND, Item("Open1")->Command(), 0);
    // The shortcut, typed: enabled items only.
    form->Edit1->SetFocus();
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, 'O', 1);
    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, 'L', 1);
    Application().ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    // The context menu, opened by the menu key on the edit, its second item chosen by the keyboard.
    TypeIntoMenu({VK_DOWN, VK_DOWN, VK_RETURN});
    SendMessageW(form->Edit1->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Edit1->Handle()), MAKELPARAM(-1, -1));
    EXPECT_EQ(form->PopupMenu1->PopupComponent(), form->Edit1);
    // Escape closes it with nothing chosen.
    TypeIntoMenu({VK_DOWN, VK_ESCAPE});
    form->PopupMenu1->Popup(50, 50);
    EXPECT_EQ(form->clicked, (std::vector<std::string>{"Open1", "Open1", "Delete1"}));
}

TEST_F(Menus, RadioItemsCheckOneOfTheirGroup) {
    TMenuItem* folders = Item("Folders1");
    TMenuItem* files = Item("Files1");
    HMENU view = GetSubMenu(GetMenu(form->Handle()), 1);
    EXPECT_TRUE(GetMenuState(view, 0, MF_BYPOSITION) & MF_CHECKED);
    form->MainMenu1->DispatchCommand(files->Command());
    EXPECT_TRUE(files->Checked());
    EXPECT_FALSE(folders->Checked());
    EXPECT_FALSE(GetMenuState(view, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(view, 1, MF_BYPOSITION) & MF_CHECKED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(view, 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheirEvents) {
    int measured = 0, drawn = 0;
    TMenuItem* copy = Item("Copy1");
    copy->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int& height) {
        ++measured;
        width = 123;
        height = 31;
    };
    copy->OnDrawItem = [&](TObject*, TCanvas* canvas, TRect, bool) { drawn += canvas && canvas->Handle() ? 1 : 0; };
    form->PopupMenu1->SetOwnerDraw(true);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(form->PopupMenu1->Handle(), 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    TypeIntoMenu({VK_ESCAPE});
    form->PopupMenu1->Popup(40, 40);
    EXPECT_GE(measured, 1);
    EXPECT_GE(drawn, 1);
    // Its size is the one the event gave.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, copy->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(copy)};
    ASSERT_TRUE(form->PopupMenu1->DispatchMeasureItem(measure));
    EXPECT_EQ(measure.itemWidth, 123u);
    EXPECT_EQ(measure.itemHeight, 31u);
    // An item that opens a sub-menu comes with the sub-menu's handle for its id.
    TMenuItem* file = Item("File1");
    measure.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(file->Handle()));
    measure.itemData = reinterpret_cast<ULONG_PTR>(file);
    EXPECT_TRUE(form->MainMenu1->DispatchMeasureItem(measure));
    // Another menu's item is not this menu's to measure.
    measure.itemID = Item("Open1")->Command();
    measure.itemData = reinterpret_cast<ULONG_PTR>(Item("Open1"));
    EXPECT_FALSE(form->PopupMenu1->DispatchMeasureItem(measure));
}

TEST_F(Menus, TheBarKeepsTheClientSizeImagesReachEveryLevelAndDisabledTextIsGrey) {
    EXPECT_EQ(form->ClientHeight(), 200) << "the bar took its room from the client";
    // Images given once the bar's drop-downs are built: the items of the drop-downs are drawn too.
    HMENU fileMenu = GetSubMenu(GetMenu(form->Handle()), 0);
    ASSERT_NE(fileMenu, nullptr);
    TImageList images(nullptr);
    form->MainMenu1->SetImages(&images);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(GetSubMenu(GetMenu(form->Handle()), 0), 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "a drop-down item";

    // A disabled item's caption stays grey after its greyed image was drawn.
    TBitmap red;
    red.SetPixelFormat(pf24bit);
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect({0, 0, 16, 16});
    images.AddMasked(red, clFuchsia);
    TMenuItem* locked = Item("Locked1");
    locked->SetImageIndex(0);
    TBitmap cell;
    cell.SetPixelFormat(pf24bit);
    cell.SetSize(200, 22);
    locked->DrawItem(*cell.Canvas(), {0, 0, 200, 22}, false);
    int grey = 0, black = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 40; x < 200; ++x) {
            const COLORREF c = GetPixel(cell.Canvas()->Handle(), x, y);
            grey += c == GetSysColor(COLOR_GRAYTEXT);
            black += c == GetSysColor(COLOR_MENUTEXT);
        }
    EXPECT_GT(grey, 0);
    EXPECT_EQ(black, 0) << "the caption of a disabled item is drawn in the menu's text colour";
    form->MainMenu1->SetImages(nullptr);
    form->SetMenu(nullptr);
    EXPECT_EQ(form->ClientHeight(), 200) << "nor gave it to the client when it went";
}

TEST_F(Menus, ReferencesForgetAMenuThatGoesAndCommandsAreReused) {
    const UINT command = Item("Copy1")->Command();
    delete form->PopupMenu1;
    EXPECT_EQ(form->Edit1->PopupMenu(), nullptr);
    delete form->MainMenu1;
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    delete Item("Copy1");
    TMenuItem fresh(nullptr);
    EXPECT_LE(fresh.Command(), command) << "the freed command id is used again";
    EXPECT_GE(fresh.Command(), 100u) << "ids below 100 are the dialog manager's (Enter is IDOK)";
    EXPECT_LT(fresh.Command(), 4096u);
}

TEST(ShortCuts, WrittenAsThePlatformWritesThemAndReadBack) {
    struct { TShortCut Key; const wchar_t* Text; } cases[] = {
        {ShortCut('A', ssCtrl), L"Ctrl+A"},          {ShortCut(VK_DELETE, 0), L"Del"},
        {ShortCut(VK_F5, 0), L"F5"},                 {ShortCut('Z', ssCtrl | ssShift), L"Ctrl+Shift+Z"},
        {ShortCut(VK_RETURN, ssAlt), L"Alt+Enter"}, {TShortCut{}, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.Key), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Key) << "read back: " << std::string(c.Text, c.Text + wcslen(c.Text));
    }
    EXPECT_EQ(TextToShortCut(L"alt+f4"), ShortCut(VK_F4, ssAlt)) << "any case, as system menus write it";
    EXPECT_EQ(TextToShortCut(L"Ctrl+"), TShortCut{});
    EXPECT_EQ(TextToShortCut(L"Hyper+Q"), TShortCut{});
}

}  // namespace
