// Clarivo's window in its skins: the stored layout keeps its client area inside the skinned frame, and
// screenshots of the frame in every state go to the build folder (clarivo-<skin>-<state>.bmp) for a
// person to look at.
#include "app/Form1.h"
#include "base/FileStream.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Menus.h"
#include "ui/SpeedButton.h"

#include "CaptionMouse.h"
#include "RealMouse.h"
#include "TempTree.h"
#include "WindowShot.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinStatusBar.h"
#include "ui/StatusBar.h"
#include "ui/ListView.h"
#include "ui/RadioButton.h"
#include "ui/ShellTreeView.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// The window and a margin of the desktop around it, as they are on the screen.
void SaveScreen(HWND wnd, const std::string& name) {
    RECT r{};
    GetWindowRect(wnd, &r);
    InflateRect(&r, 6, 6);
    r.left = std::max(r.left, 0L);
    r.top = std::max(r.top, 0L);
    r.right = std::min(r.right, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN)));
    r.bottom = std::min(r.bottom, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN)));
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    TFileStream file(std::wstring(name.begin(), name.end()), TFileStream::fmCreate);
    shot.SaveToStream(file);
}

std::string ShotName(const std::string& skin, const char* state) { return "clarivo-" + skin + "-" + state + ".bmp"; }

// Takes the message box's picture a few ticks after it is skinned (its controls painted), then closes it.
std::string BoxShot;
int BoxTicks = 0;
void CaptureBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Clarivo");
    TWinSkinForm* skinner = box && SkinManager ? SkinManager->FindSkinForm(box) : nullptr;
    if (!skinner || skinner->State() != ssSkinned || ++BoxTicks < 6) return;
    KillTimer(nullptr, id);
    SaveScreen(box, BoxShot);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Takes the window's picture with its open menu a few ticks after the menu shows (painted), then closes it.
HWND MenuOwner = nullptr;
std::string MenuShot;
int MenuTicks = 0;
void CaptureMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || ++MenuTicks < 4) return;
    KillTimer(nullptr, id);
    SaveScreen(MenuOwner, MenuShot);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
}

class SkinnedMainWindow : public ::testing::Test {
protected:
    SkinnedMainWindow() {
        form = new TForm1(nullptr);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump(10, 10);
    }
    ~SkinnedMainWindow() override { TCustomForm::Free(form); }

    TWinSkinForm* Skinner() const { return SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr; }

    // Loads a shipped skin file in place of the stored one and waits until the window wears it.
    void UseSkinFile(const std::string& skin) {
        const std::string path = std::string(CLARIVO_SKINS_DIR) + "/" + skin + ".skn";
        form->SkinData1->SetSkinFile(std::wstring(path.begin(), path.end()));
        for (int i = 0; i < 100 && SkinManager->ChangeScheduled(); ++i) Pump(1, 10);
    }

    // A search of the tree for hidden folders, started by a click on "Find" (posted: it runs once the
    // test pumps messages). False when the tree cannot be chosen.
    bool StartFolderSearch(const TTempTree& Tree) {
        if (!form->ShellTreeView1->SetPath(Tree.Root().substr(0, Tree.Root().size() - 1))) return false;
        form->RadioButton1->SetChecked(true);
        const TSpeedButton* find = form->FindButton;
        const LPARAM onFind = MAKELPARAM(find->Left() + find->Width() / 2, find->Top() + find->Height() / 2);
        PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onFind);
        PostMessageW(form->Handle(), WM_LBUTTONUP, 0, onFind);
        return true;
    }

    TForm1* form = nullptr;
};

TEST_F(SkinnedMainWindow, TheStoredLayoutKeepsItsClientAreaInEverySkin) {
    ASSERT_NE(Skinner(), nullptr) << "the main window is not skinned";
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 949);
    EXPECT_EQ(client.bottom, 559);

    const std::string graphite = std::string(CLARIVO_SKINS_DIR) + "/graphite.skn";
    form->SkinData1->SetSkinFile(std::wstring(graphite.begin(), graphite.end()));
    for (int i = 0; i < 100 && SkinManager->ChangeScheduled(); ++i) Pump(1, 10);
    ASSERT_FALSE(SkinManager->ChangeScheduled());
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 949);
    EXPECT_EQ(client.bottom, 559);
}

TEST(SkinnedMainWindowStart, TheWindowIsInItsSkinWhenItAppears) {
    auto* form = new TForm1(nullptr);
    form->Show();  // no message handled in between: a first skinning still queued would be too late
    const HWND wnd = form->WindowHandle();
    ASSERT_NE(wnd, nullptr);
    TWinSkinForm* skinner = SkinManager ? SkinManager->FindSkinForm(wnd) : nullptr;
    ASSERT_NE(skinner, nullptr) << "the window shows the system's frame first";
    EXPECT_EQ(skinner->State(), ssSkinned);
    RECT client{}, window{};
    GetClientRect(wnd, &client);
    GetWindowRect(wnd, &window);
    EXPECT_EQ(client.right, 949);
    EXPECT_EQ(client.bottom, 559);
    EXPECT_EQ(window.right - window.left, 949 + skinner->Metrics().Left + skinner->Metrics().Right);
    TCustomForm::Free(form);
}

TEST_F(SkinnedMainWindow, ScreenshotsOfTheFrameInEveryState) {
    for (const std::string skin : {"default", "graphite"}) {
        if (skin != "default") UseSkinFile(skin);
        TWinSkinForm* skinner = Skinner();
        ASSERT_NE(skinner, nullptr);
        const HWND wnd = form->Handle();
        MenuOwner = wnd;
        Pump(10, 10);
        SaveScreen(wnd, ShotName(skin, "active"));

        // Hot and pressed: the close button under the mouse, then held down.
        TWinSysButton* close = nullptr;
        for (const auto& b : skinner->CaptionButtons())
            if (b->Action() == baClose && b->Visible) close = b.get();
        ASSERT_NE(close, nullptr);
        RECT w{};
        GetWindowRect(wnd, &w);
        const LPARAM at = MAKELPARAM(w.left + (close->BoundsRect.Left + close->BoundsRect.Right) / 2,
                                     w.top + (close->BoundsRect.Top + close->BoundsRect.Bottom) / 2);
        PostCaptionMouse(wnd, WM_NCMOUSEMOVE, at);
        Pump(3, 10);
        SaveScreen(wnd, ShotName(skin, "hot-close"));
        PostCaptionMouse(wnd, WM_NCLBUTTONDOWN, at);
        Pump(3, 10);
        EXPECT_EQ(close->State, nsPressed);
        SaveScreen(wnd, ShotName(skin, "pressed-close"));
        PostMessageW(wnd, WM_NCMOUSELEAVE, 0, 0);
        Pump(3, 10);

        // A glyph button hot, then held down (and let go elsewhere: no search starts). Stop is disabled
        // while idle in every shot.
        const TSpeedButton* find = form->FindButton;
        const LPARAM onFind = MAKELPARAM(find->Left() + find->Width() / 2, find->Top() + find->Height() / 2);
        PostMessageW(wnd, WM_MOUSEMOVE, 0, onFind);
        Pump(3, 10);
        SaveScreen(wnd, ShotName(skin, "hot-find"));
        PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, onFind);
        Pump(3, 10);
        SaveScreen(wnd, ShotName(skin, "pressed-find"));
        PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(600, 400));
        PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(600, 400));
        Pump(3, 10);
        EXPECT_TRUE(form->FindButton->Enabled()) << "the release outside started a search";

        // The rows' context menu and the system menu, open.
        MenuShot = ShotName(skin, "context-menu");
        MenuTicks = 0;
        SetTimer(nullptr, 0, 50, CaptureMenu);
        form->RowMenu->Popup(w.left + 400, w.top + 250);
        MenuShot = ShotName(skin, "system-menu");
        MenuTicks = 0;
        SetTimer(nullptr, 0, 50, CaptureMenu);
        SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, L' ');
        Pump(3, 10);

        SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
        Pump(3, 10);
        SaveScreen(wnd, ShotName(skin, "inactive"));
        SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);

        ShowWindow(wnd, SW_MAXIMIZE);
        Pump(10, 10);
        SaveScreen(wnd, ShotName(skin, "maximized"));
        ShowWindow(wnd, SW_RESTORE);
        Pump(10, 10);

        BoxShot = ShotName(skin, "messagebox");
        BoxTicks = 0;
        SetTimer(nullptr, 0, 50, CaptureBox);
        MessageBoxW(wnd, L"author@clarivo.app||https://www.clarivo.app", L"Clarivo", MB_OK);
        Pump(10, 10);
    }
}

TEST_F(SkinnedMainWindow, TheResultListsSkinnedBarFollowsASearchAndScrollsTheList) {
    TTempTree tree;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j)
            tree.Folder(L"d" + std::to_wstring(i) + L"\\hidden " + std::to_wstring(j),
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    for (const std::string skin : {"default", "graphite"}) {
        if (skin != "default") UseSkinFile(skin);
        Pump(5, 10);
        auto* painter = Skinner() ? dynamic_cast<TSkinListView*>(Skinner()->PainterOfControl(form->FoundFiles)) : nullptr;
        ASSERT_NE(painter, nullptr) << skin;
        const HWND list = form->FoundFiles->Handle();
        ASSERT_TRUE(StartFolderSearch(tree));

        // While rows arrive, the overlay shows the thumb wherever the list's own bar has it.
        int samples = 0, behind = 0;
        for (int i = 0; i < 3000 && (i < 10 || !form->FindButton->Enabled()); ++i) {
            Pump(2, 5);
            SCROLLBARINFO bar{};
            bar.cbSize = sizeof bar;
            if (!(GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL) || !GetScrollBarInfo(list, OBJID_VSCROLL, &bar)) continue;
            ++samples;
            const TWScrollbar& overlay = *painter->VertBar();
            behind += !overlay.Shown() || overlay.Bar().ThumbStart != bar.xyThumbTop ||
                      overlay.Bar().ThumbEnd != bar.xyThumbBottom;
        }
        ASSERT_TRUE(form->FindButton->Enabled()) << "the search did not end";
        EXPECT_EQ(form->FoundFiles->Count(), 900);
        EXPECT_GT(samples, 0);
        EXPECT_EQ(behind, 0) << "of " << samples;

        // Two real clicks below the thumb scroll two pages, through the skin's bar.
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        GetScrollBarInfo(list, OBJID_VSCROLL, &bar);
        const POINT below{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - 30};
        MouseClick(below);
        MouseClick(below);
        Pump(10, 10);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(list, SB_VERT, &info);
        EXPECT_EQ(info.nPos, 2 * static_cast<int>(info.nPage)) << skin;
        EXPECT_EQ(ListView_GetTopIndex(list), info.nPos);
        MouseTo({0, 0});
        Pump(5, 10);
        SaveScreen(form->Handle(), ShotName(skin, "search-scrolled"));
    }
}

// The status line and the result list's header wear the skin in both skins: the line on screen is always
// the one the bar holds (never a stale one) while a search sets a new one per folder, and after the
// search a header click leaves the rows as they were and a divider drag sizes the column.
TEST_F(SkinnedMainWindow, TheStatusLineAndTheHeaderAreSkinnedAndStayCurrentThroughASearch) {
    TTempTree tree;
    for (int i = 0; i < 20; ++i) tree.Folder(L"d" + std::to_wstring(i) + L"\\hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    for (const std::string skin : {"default", "graphite"}) {
        SCOPED_TRACE(skin);
        if (skin != "default") UseSkinFile(skin);
        Pump(5, 10);
        const HWND status = form->StatusBar1->Handle(), list = form->FoundFiles->Handle();
        const HWND header = ListView_GetHeader(list);
        ASSERT_NE(Skinner(), nullptr);
        ASSERT_NE(dynamic_cast<TSkinStatusBar*>(Skinner()->PainterOfWindow(status)), nullptr);
        auto* headerPainter = dynamic_cast<TSkinHeader*>(Skinner()->PainterOfWindow(header));
        ASSERT_NE(headerPainter, nullptr);

        ASSERT_TRUE(StartFolderSearch(tree));
        int compared = 0, stale = 0;
        for (int i = 0; i < 3000 && (i < 10 || !form->FindButton->Enabled()); ++i) {
            Pump(1, 2);
            const std::wstring line = form->StatusBar1->SimpleText();
            auto onScreen = TPixels::OfWindow(status);
            RedrawWindow(status, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            if (form->StatusBar1->SimpleText() != line) continue;
            auto fresh = TPixels::OfWindow(status);
            ++compared;
            for (int x = 0; x < fresh->Width(); x += 2)
                if (onScreen->At(x, fresh->Height() / 2) != fresh->At(x, fresh->Height() / 2)) {
                    ++stale;
                    break;
                }
        }
        ASSERT_TRUE(form->FindButton->Enabled()) << "the search did not end";
        EXPECT_GT(compared, 3);
        EXPECT_EQ(stale, 0) << "of " << compared;

        // A click on the Location column: pressed while held, and the rows stay in their order.
        std::vector<std::wstring> rows;
        for (int i = 0; i < form->FoundFiles->Count(); ++i) rows.push_back(form->FoundFiles->ItemCaption(i));
        ASSERT_FALSE(rows.empty());
        RECT item{};
        Header_GetItemRect(header, 1, &item);
        POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(header, &at);
        MouseTo(at);
        MouseDown();
        Pump(5, 10);
        EXPECT_EQ(headerPainter->PressedItem(), 1);
        MouseUp();
        Pump(5, 10);
        EXPECT_EQ(headerPainter->PressedItem(), -1);
        std::vector<std::wstring> after;
        for (int i = 0; i < form->FoundFiles->Count(); ++i) after.push_back(form->FoundFiles->ItemCaption(i));
        EXPECT_EQ(after, rows);
        // The first column's divider dragged 30 pixels to the right widens it by as much.
        const int width = ListView_GetColumnWidth(list, 0);
        Header_GetItemRect(header, 0, &item);
        POINT divider{item.right - 1, (item.top + item.bottom) / 2};
        ClientToScreen(header, &divider);
        MouseDrag(divider, {divider.x + 30, divider.y}, 6);
        Pump(10, 10);
        EXPECT_NEAR(ListView_GetColumnWidth(list, 0), width + 30, 2);
        ListView_SetColumnWidth(list, 0, width);
        MouseTo({0, 0});
        // The leave notice comes from the system's polling of the pointer, a little later.
        for (int i = 0; i < 200 && headerPainter->HotItem() != -1; ++i) Pump(1, 10);
        EXPECT_EQ(headerPainter->HotItem(), -1) << "an item stays hot with the mouse gone";
        SaveScreen(form->Handle(), ShotName(skin, "search-status"));
    }
}

}  // namespace
