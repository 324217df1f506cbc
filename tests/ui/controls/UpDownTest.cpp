// The framework up-down on a real form: built from a stored description with its associate named,
// the position kept within the bounds however they are set, and its associate forgotten when freed.
#include "ui/Edit.h"
#include "ui/Properties.h"
#include "ui/UpDown.h"

#include "ControlsFixture.h"

#include <commctrl.h>

namespace {

constexpr const char* Description = R"(object Form: TForm
  object Spin: TUpDown
    Left = 90
    Top = 10
    Width = 17
    Height = 21
    Associate = Levels
    Position = 12
    Min = 2
    Max = 9
    Orientation = udHorizontal
  end
  object Levels: TEdit
    Left = 10
    Top = 10
    Width = 80
    Height = 21
  end
end
)";

class UpDownTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        FForm->ReadDescription(Description);
        FSpin = dynamic_cast<TUpDown*>(FForm->FindComponent("Spin"));
        FLevels = dynamic_cast<TEdit*>(FForm->FindComponent("Levels"));
        ASSERT_TRUE(FSpin && FLevels);
        FSpin->HandleNeeded();
        Pump();
    }

    TUpDown* FSpin = nullptr;
    TEdit* FLevels = nullptr;
};

TEST_F(UpDownTest, IsBuiltFromItsDescriptionWithItsAssociate) {
    HWND wnd = FSpin->WindowHandle();
    // The position was read before its bounds: it is brought inside them once they are all there.
    EXPECT_EQ(FSpin->Position(), 9);
    EXPECT_EQ(ReadIntegerProperty(FSpin, "Position"), 9);
    EXPECT_EQ(ReadEnumNameProperty(FSpin, "Orientation"), L"udHorizontal");
    EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & UDS_HORZ);
    EXPECT_EQ(FSpin->Associate(), FLevels);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(wnd, UDM_GETBUDDY, 0, 0)), FLevels->WindowHandle());
    EXPECT_EQ(FLevels->Text(), L"9");
}

TEST_F(UpDownTest, ThePositionStaysWithinTheBoundsHoweverTheyAreSet) {
    struct TCase {
        int Min, Max, Position, Expected;
    };
    const TCase cases[] = {
        {0, 100, 50, 50},
        {0, 100, 150, 100},
        {0, 100, -5, 0},
        {10, 20, 5, 10},
        {20, 10, 25, 20},  // bounds given high to low still bound
        {-8, -2, 0, -2},
    };
    for (const TCase& c : cases) {
        FSpin->SetMin(c.Min);
        FSpin->SetMax(c.Max);
        FSpin->SetPosition(c.Position);
        EXPECT_EQ(FSpin->Position(), c.Expected) << c.Min << ".." << c.Max << " given " << c.Position;
    }
    FSpin->SetMin(0);
    FSpin->SetMax(50);
    FSpin->SetPosition(40);
    FSpin->SetMax(30);
    EXPECT_EQ(FSpin->Position(), 30) << "a lower Max left the position above it";
}

TEST_F(UpDownTest, AFreedAssociateIsForgotten) {
    delete FLevels;
    EXPECT_EQ(FSpin->Associate(), nullptr);
    EXPECT_EQ(SendMessageW(FSpin->WindowHandle(), UDM_GETBUDDY, 0, 0), 0);
    FSpin->SetPosition(3);
    EXPECT_EQ(FSpin->Position(), 3);
}

}  // namespace
