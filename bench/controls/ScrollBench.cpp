// The result list with 100,000 rows scrolled by the mouse through its skinned scroll bar, against an
// unskinned twin beside it scrolled through its own bar: page-down clicks below the thumb and the steps
// of a thumb drag, given as real input (SendInput) and timed until the list has scrolled, repainted and
// the bar (overlay or the system's) shows it. Both lists are in one form, measured in turn, in one run.
// Figures are medians per step in milliseconds, and the ratio.
//
// usage: bench_scroll [SKIN [ROUNDS]]   (default: default 5)
#include "RealMouse.h"
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/ListView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rows = 100000;
constexpr int Unskinned = 99;  // the shipped skins' DisableTag

TListView* AddList(TForm* form, int left, int tag) {
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(left, 10, 420, 460);
    list->SetTag(tag);
    list->AddColumn(L"Name", 160);
    list->AddColumn(L"Location", 220);
    list->BeginUpdate();
    for (int i = 0; i < Rows; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"row %06d", i);
        list->AddItem(name, {L"C:\\somewhere\\deeper"});
    }
    list->EndUpdate();
    return list;
}

SCROLLBARINFO Bar(HWND list) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(list, OBJID_VSCROLL, &info);
    return info;
}

// Serves messages until the input has been taken (the press is over), the list has scrolled, and no paint
// is waiting.
void Settle(HWND list, int from) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    int quiet = 0;
    while (Clock::now() < deadline) {
        Application().ProcessMessages();
        const bool busy = GetScrollPos(list, SB_VERT) == from || GetCapture() != nullptr ||
                          GetQueueStatus(QS_ALLINPUT | QS_PAINT) != 0;
        quiet = busy ? 0 : quiet + 1;
        if (quiet > 20) return;
    }
}

void ScrollToTop(HWND list) {
    for (int i = 0; i < 20000 && GetScrollPos(list, SB_VERT) > 0; ++i) SendMessageW(list, WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
    Application().ProcessMessages();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One click below the thumb, timed until the list shows the next page.
double PageDownMs(HWND list) {
    const SCROLLBARINFO bar = Bar(list);
    const POINT below{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - 40};
    const int from = GetScrollPos(list, SB_VERT);
    const auto t0 = Clock::now();
    MouseClick(below);
    Settle(list, from);
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// A thumb drag of Steps moves of 4 pixels, timed until the list shows where it was let go; per step.
double ThumbStepMs(HWND list, int Steps) {
    const SCROLLBARINFO bar = Bar(list);
    const POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                      bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    const int from = GetScrollPos(list, SB_VERT);
    const auto t0 = Clock::now();
    MouseDrag(thumb, {thumb.x, thumb.y + 4 * Steps}, Steps);
    Settle(list, from);
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / Steps;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string skinName = argc > 1 ? argv[1] : "default";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    Application().Initialize();
    InstallControlPainters();
    auto* form = new TForm(nullptr);
    form->SetClientSize({870, 480});
    const HWND skinned = AddList(form, 10, 0)->Handle();
    const HWND plain = AddList(form, 440, Unskinned)->Handle();
    std::unique_ptr<TSkinData> skin(StartShippedSkin(skinName, nullptr));
    form->Show();
    SetForegroundWindow(form->Handle());
    for (int i = 0; i < 20; ++i) {
        Application().ProcessMessages();
        Sleep(10);
    }
    TWinSkinForm* skinner = SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr;
    if (!skinner || !skinner->PainterOfWindow(skinned) || skinner->PainterOfWindow(plain)) {
        std::printf("the lists are not skinned and unskinned as they should be\n");
        return 1;
    }

    // Rounds taken in turn; each round pages down 10 times and drags the thumb 3 times on both lists.
    std::vector<double> pageSkinned, pagePlain, dragSkinned, dragPlain;
    for (int round = 0; round < rounds; ++round) {
        for (HWND list : {skinned, plain}) {
            ScrollToTop(list);
            auto& page = list == skinned ? pageSkinned : pagePlain;
            for (int i = 0; i < 10; ++i) page.push_back(PageDownMs(list));
            auto& drag = list == skinned ? dragSkinned : dragPlain;
            for (int i = 0; i < 3; ++i) drag.push_back(ThumbStepMs(list, 25));
        }
    }
    std::printf("skin %s, %d rows, %d rounds\n%-26s %12s %12s %8s\n", skinName.c_str(), Rows, rounds, "step",
                "skinned ms", "plain ms", "ratio");
    const double ps = Median(pageSkinned), pp = Median(pagePlain), ds = Median(dragSkinned), dp = Median(dragPlain);
    std::printf("%-26s %12.2f %12.2f %8.2f\n", "page down (click)", ps, pp, ps / pp);
    std::printf("%-26s %12.2f %12.2f %8.2f\n", "thumb drag (per move)", ds, dp, ds / dp);
    std::printf("rows at the top after the rounds: skinned %d, plain %d\n", GetScrollPos(skinned, SB_VERT),
                GetScrollPos(plain, SB_VERT));

    TCustomForm::Free(form);
    skin.reset();
    FreeSkinManager();
    Application().ProcessMessages();
    Application().Finalize();
    return 0;
}
