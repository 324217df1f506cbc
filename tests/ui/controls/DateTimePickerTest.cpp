// The framework date picker on a real form: built from a stored description, its value kept through a
// change of kind and shown by the system's picker.
#include "ui/DateTimePicker.h"
#include "ui/Properties.h"

#include "ControlsFixture.h"

#include <commctrl.h>

namespace {

constexpr const char* Description = R"(object Form: TForm
  object Since: TDateTimePicker
    Left = 10
    Top = 10
    Width = 180
    Height = 24
    DateFormat = dfLong
  end
end
)";

class DateTimePickerTest : public TFormFixture {};

TEST_F(DateTimePickerTest, IsBuiltFromItsDescriptionAndKeepsItsValueThroughAChangeOfKind) {
    FForm->ReadDescription(Description);
    auto* since = dynamic_cast<TDateTimePicker*>(FForm->FindComponent("Since"));
    ASSERT_TRUE(since);
    HWND wnd = since->Handle();
    EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & DTS_LONGDATEFORMAT);
    EXPECT_EQ(ReadEnumNameProperty(since, "Kind"), L"dtkDate");

    const TDateTime value = EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 10, 0);
    since->SetDateTime(value);
    SYSTEMTIME shown{};
    ASSERT_EQ(DateTime_GetSystemtime(wnd, &shown), GDT_VALID);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 2);
    EXPECT_EQ(shown.wDay, 29);
    EXPECT_EQ(shown.wHour, 13);

    WritePropertyText(since, "Kind", L"dtkTime");
    EXPECT_TRUE(GetWindowLongPtrW(since->Handle(), GWL_STYLE) & DTS_UPDOWN);
    EXPECT_NEAR(since->DateTime(), value, 1.0 / 86400);
}

}  // namespace
