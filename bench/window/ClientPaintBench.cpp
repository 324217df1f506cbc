// The main window's client area repainted whole (every control, windowed or not), skinned against
// unskinned, in one run on the same window: the skin is switched off and on between rounds, so both
// see the same controls, the same machine and the same moment. Medians in milliseconds and the ratio.
//
// usage: bench_client_paint [ROUNDS]   (default 3; each round measures both, 100 repaints each)
#include "app/Form1.h"
#include "bench/MedianTime.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "ui/Application.h"
#include "ui/HandleCounts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
}

double ClientPaintMs(HWND wnd) {
    return MedianMs(100, [wnd] {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    Application().Initialize();
    InstallControlPainters();
    TForm1* form = nullptr;
    Application().CreateForm(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    if (!SkinManager || !SkinManager->FindSkinForm(form->Handle())) {
        std::printf("the window was not skinned\n");
        return 1;
    }
    const HWND wnd = form->Handle();
    double skinned = 1e9, plain = 1e9;
    for (int round = 0; round < rounds; ++round) {
        skinned = std::min(skinned, ClientPaintMs(wnd));
        form->SkinData1->SetActive(false);
        Pump();
        plain = std::min(plain, ClientPaintMs(wnd));
        form->SkinData1->SetActive(true);
        Pump();
    }
    std::printf("%-28s %12s %12s %8s\n", "measure", "skinned ms", "plain ms", "ratio");
    std::printf("%-28s %12.3f %12.3f %8.2f\n", "client area, all controls", skinned, plain, skinned / plain);

    Application().Destroying();
    Application().FreeComponents();
    FreeSkinManager();
    Application().Finalize();
    return 0;
}
