// The skinned scroll bars on real windows with real input: each control is given the same mouse and
// keyboard input as an unskinned twin beside it (left alone through the skin's DisableTag), and must end
// up scrolled exactly where the twin's own scroll bar took it.
#include "RealMouse.h"
#include "SkinnedForm.h"
#include "TempTree.h"

#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinData.h"
#include "ui/ComboBox.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/ScrollBar.h"
#include "ui/ShellTreeView.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace {

SCROLLBARINFO BarInfo(HWND Wnd, LONG Id = OBJID_VSCROLL) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(Wnd, Id, &info);
    return info;
}

SCROLLINFO ScrollInfo(HWND Wnd, int Bar = SB_VERT) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Wnd, Bar, &info);
    return info;
}

RECT ScreenRect(HWND Wnd) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    return r;
}

// Points on a vertical bar, from its screen rectangle and the system's thumb.
struct TBarPoints {
    SCROLLBARINFO Info;
    int Arrow = GetSystemMetrics(SM_CYVSCROLL);
    int X() const { return (Info.rcScrollBar.left + Info.rcScrollBar.right) / 2; }
    POINT UpArrow() const { return {X(), Info.rcScrollBar.top + Arrow / 2}; }
    POINT DownArrow() const { return {X(), Info.rcScrollBar.bottom - Arrow / 2}; }
    POINT Thumb() const { return {X(), Info.rcScrollBar.top + (Info.xyThumbTop + Info.xyThumbBottom) / 2}; }
    POINT PageBelow() const { return {X(), Info.rcScrollBar.top + (Info.xyThumbBottom + Info.rcScrollBar.bottom - Info.rcScrollBar.top - Arrow) / 2}; }
};

void ScrollToTop(HWND Wnd) {
    for (int i = 0; i < 2000 && GetScrollPos(Wnd, SB_VERT) > 0; ++i) SendMessageW(Wnd, WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(Wnd, WM_VSCROLL, SB_ENDSCROLL, 0);
}

void ScrollLines(HWND Wnd, int Lines) {
    for (int i = 0; i < Lines; ++i) SendMessageW(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(Wnd, WM_VSCROLL, SB_ENDSCROLL, 0);
}

// One user action on a control's vertical bar (or on the control itself), starting from the top.
struct TScrollAction {
    const char* Name;
    int StartLines;  // scrolled this far down first
    std::function<void(HWND Control, const TBarPoints& Bar)> Do;
};

const TScrollAction Actions[] = {
    {"arrow click", 0, [](HWND, const TBarPoints& b) { MouseClick(b.DownArrow()); }},
    {"page click", 0, [](HWND, const TBarPoints& b) { MouseClick(b.PageBelow()); }},
    {"thumb drag", 0, [](HWND, const TBarPoints& b) { MouseDrag(b.Thumb(), {b.Thumb().x, b.Thumb().y + 70}); }},
    {"thumb drag back", 40, [](HWND, const TBarPoints& b) { MouseDrag(b.Thumb(), {b.Thumb().x, b.Thumb().y - 25}, 2); }},
    {"arrow held", 6,
     [](HWND, const TBarPoints& b) {
         MouseTo(b.UpArrow());
         MouseDown();
         TDelayedRelease release(1500);  // the first repeat comes after a pause, then each 50 ms
         Pump(60, 30);
     }},
    {"wheel", 0,
     [](HWND c, const TBarPoints&) {
         const RECT r = ScreenRect(c);
         MouseTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
         SetFocus(c);
         MouseWheel(-2);
     }},
    {"keys", 0,
     [](HWND c, const TBarPoints&) {
         SetFocus(c);
         PressKey(VK_NEXT);
         PressKey(VK_NEXT);
         PressKey(VK_DOWN);
     }},
};

// A control's place on the form: position and size.
struct TBox {
    int X, Y, W, H;
};

class SkinScrollbars : public SkinnedForm {
protected:
    SkinScrollbars() : SkinnedForm({760, 420}) {}

    template <typename T>
    T* Add(TBox Box, int Tag = 0) {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetBounds(Box.X, Box.Y, Box.W, Box.H);
        control->SetTag(Tag);
        return control;
    }

    TListView* AddList(TBox Box, int Rows, int Tag = 0) {
        auto* list = Add<TListView>(Box, Tag);
        list->AddColumn(L"Name", 180);
        list->AddColumn(L"Location", 400);
        list->BeginUpdate();
        for (int i = 0; i < Rows; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"row %05d", i);
            list->AddItem(name, {L"C:\\somewhere"});
        }
        list->EndUpdate();
        return list;
    }

    // The painter of the control now (a skin switch makes the window's skinner and painters anew).
    template <typename Painter = TSkinScrollbar>
    Painter* PainterOf(TControl* Control) {
        skinner = SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr;
        return skinner ? dynamic_cast<Painter*>(skinner->PainterOfControl(Control)) : nullptr;
    }

    // Each action given to the skinned control through its overlay and to the twin through its own bar
    // leaves both at the same place. TopRow names the first row shown.
    void ExpectTwinsScrollAlike(HWND Skinned, HWND Twin, TWScrollbar& Overlay, const std::function<int(HWND)>& TopRow) {
        for (const TScrollAction& action : Actions) {
            for (HWND wnd : {Skinned, Twin}) {
                ScrollToTop(wnd);
                ScrollLines(wnd, action.StartLines);
                Pump(3);
                action.Do(wnd, TBarPoints{BarInfo(wnd)});
                Pump(10);
            }
            const SCROLLINFO a = ScrollInfo(Skinned), b = ScrollInfo(Twin);
            EXPECT_GT(b.nPos, action.StartLines > 0 ? -1 : 0) << action.Name << ": the twin did not scroll";
            if (action.StartLines > 0) {
                EXPECT_LT(b.nPos, action.StartLines) << action.Name;
            }
            EXPECT_EQ(a.nPos, b.nPos) << action.Name;
            EXPECT_EQ(a.nPage, b.nPage) << action.Name;
            EXPECT_EQ(a.nMax, b.nMax) << action.Name;
            EXPECT_EQ(TopRow(Skinned), TopRow(Twin)) << action.Name;
            // The overlay shows the thumb where the system has it now, without being told to.
            const SCROLLBARINFO bar = BarInfo(Skinned);
            EXPECT_TRUE(Overlay.Shown()) << action.Name;
            EXPECT_EQ(Overlay.Bar().ThumbStart, bar.xyThumbTop) << action.Name;
            EXPECT_EQ(Overlay.Bar().ThumbEnd, bar.xyThumbBottom) << action.Name;
        }
    }

    static void ExpectOverlayCovers(const TWScrollbar& Overlay, HWND Target, LONG Id) {
        ASSERT_TRUE(Overlay.Shown());
        ASSERT_TRUE(IsWindowVisible(Overlay.Handle()));
        const RECT bar = BarInfo(Target, Id).rcScrollBar, over = ScreenRect(Overlay.Handle());
        EXPECT_TRUE(EqualRect(&bar, &over)) << "bar " << bar.left << "," << bar.top << "," << bar.right << ","
                                            << bar.bottom << " overlay " << over.left << "," << over.top << ","
                                            << over.right << "," << over.bottom;
        // Directly above its control: only the control's other overlay may lie between them.
        HWND below = GetWindow(Overlay.Handle(), GW_HWNDNEXT);
        wchar_t name[64]{};
        if (below && below != Target && GetClassNameW(below, name, 64) && std::wstring(name) == L"ClarivoScrollOverlay")
            below = GetWindow(below, GW_HWNDNEXT);
        EXPECT_EQ(below, Target) << "the overlay lies directly above its control";
    }
};

int ListTopRow(HWND Wnd) { return static_cast<int>(SendMessageW(Wnd, LVM_GETTOPINDEX, 0, 0)); }

TEST_F(SkinScrollbars, TheResultListScrollsThroughItsOverlayExactlyAsThroughItsOwnBar) {
    TListView* skinned = AddList({10, 10, 360, 300}, 1000);
    TListView* twin = AddList({390, 10, 360, 300}, 1000, Unskinned);
    ShowSkinned();
    ASSERT_EQ(skin->DisableTag(), Unskinned);
    auto* painter = PainterOf<TSkinListView>(skinned);
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(PainterOf(twin), nullptr);
    ASSERT_NE(painter->VertBar(), nullptr);
    ExpectOverlayCovers(*painter->VertBar(), skinned->Handle(), OBJID_VSCROLL);
    ExpectOverlayCovers(*painter->HorzBar(), skinned->Handle(), OBJID_HSCROLL);
    EXPECT_TRUE(painter->DrawsBorder());
    ExpectTwinsScrollAlike(skinned->Handle(), twin->Handle(), *painter->VertBar(), ListTopRow);

    // Sideways too: the columns are wider than the list.
    for (HWND wnd : {skinned->Handle(), twin->Handle()}) {
        const SCROLLBARINFO info = BarInfo(wnd, OBJID_HSCROLL);
        const int arrow = GetSystemMetrics(SM_CXHSCROLL);
        MouseClick({info.rcScrollBar.right - arrow / 2, (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2});
        Pump(10);
    }
    EXPECT_GT(ScrollInfo(twin->Handle(), SB_HORZ).nPos, 0);
    EXPECT_EQ(ScrollInfo(skinned->Handle(), SB_HORZ).nPos, ScrollInfo(twin->Handle(), SB_HORZ).nPos);
}

TEST_F(SkinScrollbars, TheFolderTreeScrollsThroughItsOverlayExactlyAsThroughItsOwnBar) {
    TTempTree tree;
    for (int i = 0; i < 150; ++i) tree.Folder(L"folder " + std::to_wstring(1000 + i));
    auto* skinned = Add<TShellTreeView>({10, 10, 300, 300});
    auto* twin = Add<TShellTreeView>({390, 10, 300, 300}, Unskinned);
    ShowSkinned();
    for (TShellTreeView* t : {skinned, twin}) {
        ASSERT_TRUE(t->SetPath(tree.Root().substr(0, tree.Root().size() - 1)));
        t->Expand(t->Selected());
    }
    Pump(5);
    auto* painter = PainterOf(skinned);
    ASSERT_NE(painter, nullptr);
    ASSERT_NE(painter->VertBar(), nullptr);
    ExpectOverlayCovers(*painter->VertBar(), skinned->Handle(), OBJID_VSCROLL);
    ExpectTwinsScrollAlike(skinned->Handle(), twin->Handle(), *painter->VertBar(), [](HWND wnd) {
        // The first row shown, by its text.
        wchar_t text[MAX_PATH]{};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(wnd, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(wnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return static_cast<int>(std::hash<std::wstring>{}(text));
    });
}

TEST_F(SkinScrollbars, OverlaysComeAndGoWithTheirBarsAndTheirControl) {
    TListView* list = AddList({10, 10, 360, 300}, 3);
    ShowSkinned();
    auto* painter = PainterOf<TSkinListView>(list);
    ASSERT_NE(painter, nullptr);
    EXPECT_FALSE(painter->VertBar()->Shown()) << "three rows need no bar";

    // Rows arriving later bring the bar, and the overlay with it.
    list->BeginUpdate();
    for (int i = 0; i < 200; ++i) list->AddItem(L"more " + std::to_wstring(i));
    list->EndUpdate();
    Pump(10);
    ExpectOverlayCovers(*painter->VertBar(), list->Handle(), OBJID_VSCROLL);

    list->SetVisible(false);
    Pump(2);
    EXPECT_FALSE(IsWindowVisible(painter->VertBar()->Handle()));
    list->SetVisible(true);
    Pump(2);
    EXPECT_TRUE(IsWindowVisible(painter->VertBar()->Handle()));

    // Moved, the bar's overlay goes along.
    list->SetBounds(60, 40, 300, 250);
    Pump(2);
    ExpectOverlayCovers(*painter->VertBar(), list->Handle(), OBJID_VSCROLL);

    // Skin painting off: the system's own bars show again.
    SendMessageW(list->Handle(), WM_SKINSWITCH, 0, 0);
    EXPECT_FALSE(IsWindowVisible(painter->VertBar()->Handle()));
    SendMessageW(list->Handle(), WM_SKINSWITCH, 1, 0);
    EXPECT_TRUE(IsWindowVisible(painter->VertBar()->Handle()));
}

TEST_F(SkinScrollbars, ABarOnTheLeftIsCoveredWhereItIs) {
    TListView* list = AddList({10, 10, 360, 300}, 200);
    SetWindowLongPtrW(list->Handle(), GWL_EXSTYLE, GetWindowLongPtrW(list->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    SetWindowPos(list->Handle(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ShowSkinned();
    auto* painter = PainterOf<TSkinListView>(list);
    ASSERT_NE(painter, nullptr);
    const RECT bar = BarInfo(list->Handle()).rcScrollBar, window = ScreenRect(list->Handle());
    ASSERT_LT(bar.left - window.left, 10) << "the system put the bar on the left";
    ExpectOverlayCovers(*painter->VertBar(), list->Handle(), OBJID_VSCROLL);
}

TEST_F(SkinScrollbars, TheOverlayShowsTheSkinsPictureOfTheBar) {
    TListView* list = AddList({10, 10, 360, 300}, 500);
    ShowSkinned();
    auto* painter = PainterOf<TSkinListView>(list);
    ASSERT_NE(painter, nullptr);
    MouseTo({5, 5});  // nothing hot
    Pump(5);
    RedrawAll(form->Handle());
    const TWScrollbar& overlay = *painter->VertBar();
    const RECT r = ScreenRect(overlay.Handle());
    const int width = r.right - r.left, height = r.bottom - r.top;
    TBitmap expected, buffer;
    expected.SetSize(width, height);
    PaintSkinScrollBar(expected.Canvas()->Handle(), {0, 0, width, height}, *skin, overlay.Bar(), true, false, buffer);
    HDC screen = GetDC(nullptr);
    int differing = 0;
    for (int y = 0; y < height; y += 3)
        for (int x = 0; x < width; x += 3)
            differing += GetPixel(screen, r.left + x, r.top + y) != GetPixel(expected.Canvas()->Handle(), x, y);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(differing, 0);
}

TEST_F(SkinScrollbars, MemosListBoxesAndStandAloneBarsAreSkinnedToo) {
    auto* memo = Add<TMemo>({10, 10, 200, 100});
    memo->SetScrollBars(ssVertical);
    std::vector<std::wstring> lines;
    for (int i = 0; i < 60; ++i) lines.push_back(L"line " + std::to_wstring(i));
    memo->Lines()->SetLines(lines);
    auto* listBox = Add<TListBox>({220, 10, 200, 100});
    listBox->Items()->SetLines(lines);
    auto* bar = Add<TScrollBar>({10, 130, 220, 17});
    bar->SetParams(0, 0, 100);
    bar->SetPageSize(10);
    bar->SetLargeChange(10);
    ShowSkinned();

    for (TControl* control : std::initializer_list<TControl*>{memo, listBox}) {
        auto* painter = PainterOf(control);
        ASSERT_NE(painter, nullptr);
        ExpectOverlayCovers(*painter->VertBar(), static_cast<TWinControl*>(control)->Handle(), OBJID_VSCROLL);
        const TBarPoints points{BarInfo(painter->Window())};
        MouseClick(points.PageBelow());
        Pump(10);
        EXPECT_GT(GetScrollPos(painter->Window(), SB_VERT), 0) << control->ClassType().Name();
    }

    auto* barPainter = PainterOf<TSkinScControl>(bar);
    ASSERT_NE(barPainter, nullptr);
    ASSERT_NE(barPainter->Bar(), nullptr);
    const RECT r = ScreenRect(bar->Handle()), over = ScreenRect(barPainter->Bar()->Handle());
    EXPECT_TRUE(EqualRect(&r, &over));
    const int arrow = GetSystemMetrics(SM_CXHSCROLL), y = (r.top + r.bottom) / 2;
    MouseClick({r.right - arrow / 2, y});
    Pump(10);
    EXPECT_EQ(bar->Position(), 1) << "the arrow steps by SmallChange";
    MouseClick({r.right - arrow - 4, y});
    Pump(10);
    EXPECT_EQ(bar->Position(), 11) << "the page area steps by LargeChange";
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 11);
}

TEST(ScrollBarGeometry, TheThumbOfAStandAloneBarIsLaidOutAsTheSystemDoes) {
    struct TCase {
        int Page, Pos;
        bool Minimum;
        int Start, Length;
    } const cases[] = {
        {10, 0, true, 17, 18},    // 200 × 9 / 100
        {2, 0, true, 17, 8},      // 2 pixels: held at 8
        {2, 50, true, 17 + 96, 8},  // 8 pixels move over a track of 192
        {2, 50, false, 17 + 100, 2},
        {0, 0, true, 17, 17},     // no page: an arrow-sized thumb
        {10, 91, true, 17 + 182, 18},
    };
    for (const TCase& c : cases) {
        TBarGeometry bar;
        bar.ArrowSize = 17;
        bar.Length = 200 + 2 * 17;
        bar.LayOutThumb(0, 100, c.Page, c.Pos, c.Minimum);
        EXPECT_EQ(bar.ThumbStart, c.Start) << c.Page << " " << c.Pos;
        EXPECT_EQ(bar.ThumbEnd - bar.ThumbStart, c.Length) << c.Page << " " << c.Pos;
    }
}

TEST(ScrollBarGeometry, PartsAndTheDraggedThumbStayOnTheBar) {
    TBarGeometry bar;
    bar.ArrowSize = 16;
    bar.Length = 200;
    bar.ThumbStart = 50;
    bar.ThumbEnd = 80;
    const std::pair<int, TScrollPart> parts[] = {{0, spFirstArrow}, {15, spFirstArrow}, {16, spPageBefore},
                                                 {50, spThumb},     {79, spThumb},       {80, spPageAfter},
                                                 {183, spPageAfter}, {184, spSecondArrow}, {199, spSecondArrow}};
    for (auto [at, part] : parts) EXPECT_EQ(bar.HitTest(at), part) << at;

    bar.PressPoint = {100, 300};
    bar.PressThumb = 50;
    EXPECT_EQ(bar.DraggedThumbStart({100, 320}), 70);
    EXPECT_EQ(bar.DraggedThumbStart({100, 0}), 16) << "not above the track";
    EXPECT_EQ(bar.DraggedThumbStart({100, 900}), 200 - 16 - 30) << "not below it";
}

TEST_F(SkinScrollbars, ADropDownListsBarIsPaintedIntoItsFrameAndItsThumbDragged) {
    auto* combo = Add<TComboBox>({10, 10, 200, 21});
    combo->SetStyle(csDropDownList);
    std::vector<std::wstring> items;
    for (int i = 0; i < 100; ++i) items.push_back(L"item " + std::to_wstring(i));
    combo->Items()->SetLines(items);
    ShowSkinned();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    auto* painter = dynamic_cast<TComboxScrollBar*>(skinner->PainterOfWindow(info.hwndList));
    ASSERT_NE(painter, nullptr);

    combo->SetDroppedDown(true);
    Pump(5);
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    const TBarPoints before{BarInfo(info.hwndList)};
    ASSERT_EQ(GetScrollPos(info.hwndList, SB_VERT), 0);
    // The thumb is dragged down and let go far to the side of the bar: the drag still ends there.
    const POINT thumb = before.Thumb();
    MouseDrag(thumb, {thumb.x + 150, thumb.y + 40});
    Pump(10);
    const SCROLLINFO after = ScrollInfo(info.hwndList);
    const int track = (before.Info.rcScrollBar.bottom - before.Info.rcScrollBar.top) - 2 * before.Arrow;
    const int thumbLength = before.Info.xyThumbBottom - before.Info.xyThumbTop;
    const int expected = MulDiv(40, after.nMax - after.nMin - static_cast<int>(after.nPage), track - thumbLength);
    EXPECT_EQ(after.nPos, expected);
    EXPECT_EQ(static_cast<int>(SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0)), expected);
    EXPECT_EQ(GetCapture(), info.hwndList) << "the list keeps the capture a dropped list holds";
    EXPECT_TRUE(combo->DroppedDown());
}

TEST_F(SkinScrollbars, ASimpleCombosListHasOverlays) {
    auto* combo = Add<TComboBox>({10, 10, 200, 120});
    combo->SetStyle(csSimple);
    std::vector<std::wstring> items;
    for (int i = 0; i < 40; ++i) items.push_back(L"item " + std::to_wstring(i));
    combo->Items()->SetLines(items);
    ShowSkinned();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    auto* painter = dynamic_cast<TSkinScrollbarH*>(skinner->PainterOfWindow(info.hwndList));
    ASSERT_NE(painter, nullptr);
    ExpectOverlayCovers(*painter->VertBar(), info.hwndList, OBJID_VSCROLL);
    MouseClick(TBarPoints{BarInfo(info.hwndList)}.DownArrow());
    Pump(10);
    EXPECT_EQ(GetScrollPos(info.hwndList, SB_VERT), 1);
}

TEST_F(SkinScrollbars, SkinSwitchesAndUnskinningHoldNoHandles) {
    AddList({10, 10, 360, 300}, 300);
    auto* memo = Add<TMemo>({380, 10, 200, 100});
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    ShowSkinned();
    ASSERT_NE(PainterOf(memo), nullptr);
    const auto cycle = [&] {
        skin->SetActive(false);
        Pump(2);
        skin->SetActive(true);
        // Skinning again is started by a timer: wait until the painters are back.
        for (int i = 0; i < 100 && !PainterOf(memo); ++i) Pump(1);
        Pump(2);
    };
    ExpectHandlesSteady(30, cycle);
    EXPECT_NE(PainterOf(memo), nullptr) << "painted again after the last switch";
}

}  // namespace
