// The four controls laid out as on the main window, painted for real and captured into the build folder
// (ui_complex_controls.bmp) so that a person can look at them.
#include "base/FileStream.h"
#include "ui/Animate.h"
#include "ui/ListView.h"
#include "ui/ShellTreeView.h"
#include "ui/SpinEdit.h"

#include "ControlsFixture.h"

#include <algorithm>

namespace {

class ScreenshotTest : public TFormFixture {};

TEST_F(ScreenshotTest, ComplexControlsPaint) {
    FForm->SetClientSize({760, 500});
    auto* tree = Place(new TShellTreeView(FForm), 8, 24, 201, 466);
    auto* list = new TListView(FForm);
    list->AddColumn(L"Name", 100);
    list->AddColumn(L"Location", 303);
    list->AddColumn(L"Size", 60);
    list->AddColumn(L"Modified", 120);
    Place(list, 216, 112, 536, 380);
    for (const wchar_t* name : {L"zeta", L"alpha", L"\u00C4rger", L"beta", L"\u0416\u0443\u043A"})
        list->AddItem(name, {L"C:\\Temp\\", L"Folder", L"10/12/2026 12:00:00"});
    list->SetChecked(0, true);
    list->SetItemIndex(2);
    auto* clip = Place(new TAnimate(FForm), 706, 79, 46, 29);
    clip->SetCommonAVI(aviFindFile);
    clip->Seek(5);
    Place(new TSpinEdit(FForm), 219, 80, 49, 22)->SetValue(0);
    Place(new TSpinEdit(FForm), 280, 80, 49, 22)->SetValue(1024);
    tree->SetPath(L"C:\\");
    Pump();

    TBitmap shot;
    Capture(FForm->Handle(), shot);
    TFileStream file(L"ui_complex_controls.bmp", TFileStream::fmCreate);
    shot.SaveToStream(file);

    // The first row's box is drawn ticked, the second's not.
    RECT first{}, second{};
    first.left = second.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list->WindowHandle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
    ASSERT_TRUE(SendMessageW(list->WindowHandle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    std::vector<std::uint32_t> picture = Picture(list->WindowHandle());
    RECT listClient{};
    GetClientRect(list->WindowHandle(), &listClient);
    auto box = [&](const RECT& row) {
        std::vector<std::uint32_t> pixels;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.left + 16; ++x) pixels.push_back(picture[static_cast<std::size_t>(y * listClient.right + x)]);
        return pixels;
    };
    EXPECT_NE(box(first), box(second));
}

}  // namespace
