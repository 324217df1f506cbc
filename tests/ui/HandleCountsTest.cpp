// Live GUI handle counts: each owner kind counts its handle up while it holds it and down when it
// frees it or gives it away; regions handed to windows count until the window lets them go. And the
// leak check the suites run on repeated work, on handles lost and kept on purpose.
#include "tests/support/HandleGrowth.h"
#include "ui/Bitmap.h"
#include "ui/Brush.h"
#include "ui/Font.h"
#include "ui/HandleCounts.h"
#include "ui/Pen.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

UniqueWindow PopupWindow() {
    return UniqueWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
}

UniqueRegion Square(int side) { return UniqueRegion(CreateRectRgn(0, 0, side, side)); }

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The counts just before a case makes the owner it is about, and while that owner holds its handle.
struct TProbe {
    TGuiHandleCounts Before, Held;
    void TakeBefore() { Before = GuiHandleCounts(); }
    void TakeHeld() { Held = GuiHandleCounts(); }
};

struct TOwnerCase {
    const char* Name;
    THandleKind Kind;
    bool User;
    std::function<void(TProbe&)> Run;
};

// A case whose owner needs nothing made before it: make() returns it.
template <typename Make>
std::function<void(TProbe&)> Holding(Make make) {
    return [make](TProbe& p) {
        p.TakeBefore();
        auto owner = make();
        p.TakeHeld();
    };
}

// A case whose owner is made on a window of its own.
template <typename Make>
std::function<void(TProbe&)> OnWindow(Make make) {
    return [make](TProbe& p) {
        UniqueWindow wnd = PopupWindow();
        InvalidateRect(wnd.get(), nullptr, FALSE);
        p.TakeBefore();
        make(wnd.get(), p);
    };
}

// A TFont, TBrush or TPen whose GDI object has been made.
template <typename T>
std::unique_ptr<T> WithHandle() {
    auto object = std::make_unique<T>();
    object->Handle();
    return object;
}

TEST(GuiHandleCounts, EachOwnerCountsItsHandleWhileItHoldsIt) {
    const TOwnerCase cases[] = {
        {"bitmap", THandleKind::Bitmap, false,
         Holding([] { return UniqueBitmap(CreateBitmap(1, 1, 1, 32, nullptr)); })},
        {"region", THandleKind::Region, false, Holding([] { return Square(4); })},
        {"font of a TFont", THandleKind::Font, false, Holding(WithHandle<TFont>)},
        {"brush of a TBrush", THandleKind::Brush, false, Holding(WithHandle<TBrush>)},
        {"pen of a TPen", THandleKind::Pen, false, Holding(WithHandle<TPen>)},
        {"memory DC", THandleKind::MemoryDC, false,
         Holding([] { return UniqueMemoryDC(CreateCompatibleDC(nullptr)); })},
        {"window DC", THandleKind::WindowDC, false, OnWindow([](HWND wnd, TProbe& p) {
             TWindowDC dc(wnd, false);
             p.TakeHeld();
         })},
        {"paint DC", THandleKind::PaintDC, false, OnWindow([](HWND wnd, TProbe& p) {
             TPaintDC dc(wnd);
             p.TakeHeld();
         })},
        {"region handed to a window", THandleKind::WindowRegion, false, OnWindow([](HWND wnd, TProbe& p) {
             HandRegionToWindow(wnd, Square(10), false);
             p.TakeHeld();
         })},
        {"image list", THandleKind::ImageList, false,
         Holding([] { return UniqueImageList(ImageList_Create(16, 16, ILC_COLOR24, 1, 1)); })},
        {"menu", THandleKind::Menu, true, Holding([] { return UniqueMenu(CreatePopupMenu()); })},
        {"hook", THandleKind::Hook, true,
         Holding([] { return UniqueHook(SetWindowsHookExW(WH_CBT, PassOn, nullptr, GetCurrentThreadId())); })},
        {"window", THandleKind::Window, true, Holding(PopupWindow)},
        {"icon", THandleKind::Icon, true,
         Holding([] { return UniqueIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))); })},
    };
    for (const TOwnerCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TGuiHandleCounts start = GuiHandleCounts();
        TProbe probe;
        c.Run(probe);
        EXPECT_EQ(probe.Held.Of(c.Kind), probe.Before.Of(c.Kind) + 1);
        EXPECT_EQ(probe.Held.Gdi - probe.Before.Gdi, c.User ? 0 : 1);
        EXPECT_EQ(probe.Held.User - probe.Before.User, c.User ? 1 : 0);
        EXPECT_EQ(GuiHandleCounts().PerKind, start.PerKind) << "everything the case made is gone";
    }
}

TEST(GuiHandleCounts, AgreeWithTheSystemWhereItCounts) {
    auto systemGdi = [] { return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); };
    if (systemGdi() == 0) GTEST_SKIP() << "the system does not count GUI objects (Wine)";
    const long ours = GuiHandleCounts().Gdi, system = systemGdi();
    {
        UniqueBitmap bitmap(CreateBitmap(1, 1, 1, 32, nullptr));
        UniqueRegion region = Square(3);
        UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
        EXPECT_EQ(GuiHandleCounts().Gdi - ours, 3);
        EXPECT_EQ(systemGdi() - system, 3);
    }
    EXPECT_EQ(systemGdi(), system);
}

TEST(HandRegionToWindow, TheWindowHoldsOneRegionUntilItIsReplacedRemovedOrTheWindowGoes) {
    auto windowRegions = [] { return GuiHandleCounts().Of(THandleKind::WindowRegion); };
    auto regions = [] { return GuiHandleCounts().Of(THandleKind::Region); };
    const long startWindowRegions = windowRegions(), startRegions = regions();
    UniqueWindow wnd = PopupWindow();
    auto windowRegionSide = [&] {
        UniqueRegion copy = Square(0);
        if (GetWindowRgn(wnd.get(), copy.get()) == ERROR) return 0;
        RECT box{};
        GetRgnBox(copy.get(), &box);
        return static_cast<int>(box.right);
    };

    HandRegionToWindow(wnd.get(), Square(10), false);
    EXPECT_EQ(windowRegionSide(), 10);
    EXPECT_EQ(windowRegions(), startWindowRegions + 1);
    EXPECT_EQ(regions(), startRegions) << "the region is the system's now";

    HandRegionToWindow(wnd.get(), Square(20), false);
    EXPECT_EQ(windowRegionSide(), 20);
    EXPECT_EQ(windowRegions(), startWindowRegions + 1) << "the first one was freed by the system";

    HandRegionToWindow(wnd.get(), UniqueRegion(), false);
    EXPECT_EQ(windowRegionSide(), 0);
    EXPECT_EQ(windowRegions(), startWindowRegions);

    HandRegionToWindow(wnd.get(), Square(30), false);
    EXPECT_EQ(windowRegions(), startWindowRegions + 1);
    wnd.reset();
    EXPECT_EQ(windowRegions(), startWindowRegions) << "destroying the window freed its region";

    HandRegionToWindow(nullptr, Square(5), false);  // refused: the region stays ours and is freed
    EXPECT_EQ(windowRegions(), startWindowRegions);
    EXPECT_EQ(regions(), startRegions);
}

TEST(HandleGrowth, OneBitmapLostEachRoundIsALeak) {
    std::vector<std::unique_ptr<TBitmap>> lost;
    auto loseOne = [&] {
        lost.push_back(std::make_unique<TBitmap>());
        lost.back()->SetSize(2, 2);
    };
    // One round to each half: a handle lost a round grows the count by one in each, the least a leak can.
    EXPECT_NONFATAL_FAILURE(ExpectNoHandleGrowth("a bitmap lost each round", 2, loseOne), "Bitmap ");
}

TEST(HandleGrowth, ACountThatMovesOnceIsNoLeak) {
    // In the first round counted, a brush made for good and a bitmap freed: a cache filled late, a
    // handle let go late.
    auto freedLate = std::make_unique<TBitmap>();
    freedLate->SetSize(2, 2);
    std::unique_ptr<TBrush> madeLate;
    int round = 0;
    const THandleGrowth growth = ExpectNoHandleGrowth("one handle made and one freed, once", 6, [&] {
        if (++round != HandleWarmUpRounds + 1) return;
        madeLate = WithHandle<TBrush>();
        freedLate.reset();
    });
    EXPECT_EQ(growth.End.Ours.Of(THandleKind::Brush), growth.Start.Ours.Of(THandleKind::Brush) + 1);
    EXPECT_EQ(growth.End.Ours.Of(THandleKind::Bitmap), growth.Start.Ours.Of(THandleKind::Bitmap) - 1);
}

}  // namespace
