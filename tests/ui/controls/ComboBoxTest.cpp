// The framework combo box on a real form: built from a stored description, its items, selection and
// text kept through a change of style, OnChange raised by the user's choices and typing only.
#include "ui/ComboBox.h"
#include "ui/Properties.h"

#include "ControlsFixture.h"

#include <string>

namespace {

constexpr const char* Description = R"(object Form: TForm
  object Kind: TComboBox
    Left = 10
    Top = 10
    Width = 160
    Height = 21
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      'Folder Only'
      'File Only')
    OnChange = KindChange
  end
  object Mask: TComboBox
    Left = 10
    Top = 50
    Width = 160
    Height = 21
    Text = '*.tmp'
    Items.Strings = (
      '*.*'
      '*.bak')
  end
end
)";

class ComboBoxTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        FForm->Bindings().AddHandlerFunction("KindChange", TNotifyEvent([this](TObject*) { ++FChanges; }));
        FForm->ReadDescription(Description);
        FKind = dynamic_cast<TComboBox*>(FForm->FindComponent("Kind"));
        FMask = dynamic_cast<TComboBox*>(FForm->FindComponent("Mask"));
        ASSERT_TRUE(FKind && FMask);
        FKind->HandleNeeded();
        FMask->HandleNeeded();
        Pump();
    }

    void Key(HWND wnd, WPARAM key) {
        SendMessageW(wnd, WM_KEYDOWN, key, 1);
        SendMessageW(wnd, WM_KEYUP, key, 0xC0000001);
        Pump();
    }

    TComboBox* FKind = nullptr;
    TComboBox* FMask = nullptr;
    int FChanges = 0;
};

TEST_F(ComboBoxTest, IsBuiltFromItsStoredProperties) {
    HWND kind = FKind->WindowHandle();
    EXPECT_EQ(GetWindowLongPtrW(kind, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageW(kind, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(FKind->ItemIndex(), 1);
    EXPECT_EQ(FKind->Text(), L"File Only");
    EXPECT_EQ(ReadEnumNameProperty(FKind, "Style"), L"csDropDownList");
    EXPECT_EQ(ReadIntegerProperty(FKind, "ItemIndex"), 1);
    EXPECT_EQ(ReadStringProperty(FKind, "Text"), L"File Only");
    // An editable combo keeps its typed text, which is none of its items.
    EXPECT_EQ(GetWindowLongPtrW(FMask->WindowHandle(), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(FMask->ItemIndex(), -1);
    EXPECT_EQ(FMask->Text(), L"*.tmp");
    EXPECT_EQ(FChanges, 0) << "reading the description is no change by the user";
}

TEST_F(ComboBoxTest, OnlyTheUsersChoicesRaiseOnChange) {
    FKind->SetItemIndex(0);
    FKind->SetText(L"File Only");
    EXPECT_EQ(FKind->ItemIndex(), 1) << "a list's text chooses the item that reads the same";
    FKind->SetText(L"nothing like it");
    EXPECT_EQ(FKind->ItemIndex(), -1);
    EXPECT_EQ(FChanges, 0);

    FKind->SetItemIndex(0);
    FKind->SetFocus();
    Key(FKind->WindowHandle(), VK_DOWN);
    EXPECT_EQ(FKind->ItemIndex(), 1);
    EXPECT_EQ(FChanges, 1);
    Key(FKind->WindowHandle(), VK_DOWN);  // already the last
    EXPECT_EQ(FKind->ItemIndex(), 1);
    EXPECT_EQ(FChanges, 1);
}

TEST_F(ComboBoxTest, ItemsSelectionAndTextOutliveAChangeOfStyleOrOfTheItems) {
    FKind->SetStyle(csDropDown);
    EXPECT_EQ(GetWindowLongPtrW(FKind->WindowHandle(), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(SendMessageW(FKind->WindowHandle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(FKind->ItemIndex(), 1);
    EXPECT_EQ(FKind->Text(), L"File Only");

    FMask->SetStyle(csSimple);
    EXPECT_EQ(FMask->Text(), L"*.tmp");
    FMask->Items()->Add(L"*.log");
    EXPECT_EQ(SendMessageW(FMask->WindowHandle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(FMask->Text(), L"*.tmp") << "new items wiped the typed text";

    FKind->Items()->SetLines({L"Only one"});
    EXPECT_EQ(FKind->ItemIndex(), 0) << "the selection past the new end was not brought back inside";
    FKind->Items()->Clear();
    EXPECT_EQ(FKind->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnByOnDrawItem) {
    int drawn = 0;
    FKind->OnDrawItem = [&](TObject*, int index, HDC, const TRect&, UINT) {
        if (index >= 0) ++drawn;
    };
    FKind->SetStyle(csOwnerDrawFixed);
    EXPECT_TRUE(GetWindowLongPtrW(FKind->WindowHandle(), GWL_STYLE) & CBS_OWNERDRAWFIXED);
    RedrawWindow(FKind->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(FKind->Text(), L"File Only");
}

}  // namespace
