// The four controls as a stored window description holds them: made by class name, with their
// published properties set by name (the main window is built this way).
#include "ui/Animate.h"
#include "ui/ListView.h"
#include "ui/Properties.h"
#include "ui/ShellTreeView.h"
#include "ui/SpinEdit.h"

#include "ControlsFixture.h"

namespace {

constexpr const char* Description = R"(object Form: TForm
  object Tree: TShellTreeView
    Left = 8
    Top = 24
    Width = 201
    Height = 300
    Root = rfMyComputer
    ObjectTypes = [otFolders, otHidden]
    AutoRefresh = True
  end
  object Found: TListView
    Left = 216
    Top = 112
    Width = 300
    Height = 200
    ColumnClick = False
  end
  object Clip: TAnimate
    Left = 540
    Top = 80
    Width = 46
    Height = 29
    CommonAVI = aviFindFile
    StartFrame = 1
    StopFrame = 17
  end
  object SizeMax: TSpinEdit
    Left = 540
    Top = 120
    Width = 49
    Height = 22
    MaxValue = 0
    MinValue = 0
    Value = 0
  end
end
)";

class DescriptionTest : public TFormFixture {};

TEST_F(DescriptionTest, BuildsTheControlsFromTheirStoredProperties) {
    FForm->ReadDescription(Description);
    auto* tree = dynamic_cast<TShellTreeView*>(FForm->FindComponent("Tree"));
    auto* found = dynamic_cast<TListView*>(FForm->FindComponent("Found"));
    auto* clip = dynamic_cast<TAnimate*>(FForm->FindComponent("Clip"));
    auto* sizeMax = dynamic_cast<TSpinEdit*>(FForm->FindComponent("SizeMax"));
    ASSERT_TRUE(tree && found && clip && sizeMax);

    EXPECT_EQ(tree->ObjectTypes(), ShellObjectBit(otFolders) | ShellObjectBit(otHidden));
    EXPECT_TRUE(tree->AutoRefresh());
    EXPECT_EQ(ReadEnumNameProperty(tree, "Root"), L"rfMyComputer");
    EXPECT_FALSE(found->ColumnClick());
    EXPECT_EQ(ReadEnumNameProperty(clip, "CommonAVI"), L"aviFindFile");
    EXPECT_EQ(ReadIntegerProperty(clip, "StopFrame"), 17);
    EXPECT_EQ(ReadIntegerProperty(sizeMax, "Value"), 0);

    // The skin's control discovery tells them apart by their class ancestry.
    EXPECT_TRUE(tree->InheritsFrom("TCustomTreeView"));
    EXPECT_TRUE(found->InheritsFrom("TCustomListView"));
    EXPECT_TRUE(sizeMax->InheritsFrom("TCustomEdit"));

    FForm->HandleNeeded();
    for (TWinControl* control : {static_cast<TWinControl*>(tree), static_cast<TWinControl*>(found),
                                 static_cast<TWinControl*>(clip), static_cast<TWinControl*>(sizeMax)})
        control->HandleNeeded();
    EXPECT_TRUE(clip->Opened());
    EXPECT_EQ(tree->Selected(), tree->RootNode());
    HWND header = ListView_GetHeader(found->WindowHandle());
    EXPECT_FALSE(GetWindowLongPtrW(header, GWL_STYLE) & HDS_BUTTONS);
}

}  // namespace
