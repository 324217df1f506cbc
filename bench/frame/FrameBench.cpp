// The skinned frame against the system's own frame, side by side in one run, for a window of the main
// window's size (client 949 x 559):
//  - a full non-client paint (WM_NCPAINT), the window active and inactive;
//  - one resize step (one pixel wider or narrower, with the frame recalculated, the region rebuilt and
//    everything repainted).
// Medians in milliseconds and the skinned/unskinned ratio, per shipped skin.
//
// usage: bench_frame [SKIN ...]   (default: default graphite)
#include "bench/MedianTime.h"
#include "ShippedSkin.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/HandleCounts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
}

// A shown window of the main window's client size; Tag 99 keeps a form from being skinned.
TForm* ShowForm(bool skinned) {
    auto* form = new TForm(nullptr);
    if (!skinned) form->SetTag(99);
    form->SetClientSize({949, 559});
    form->SetCaption(skinned ? L"Skinned" : L"Unskinned");
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    return form;
}

struct TFigures {
    double ActivePaint, InactivePaint, Resize;
};

TFigures Measure(HWND wnd) {
    TFigures f{};
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    f.ActivePaint = MedianMs(200, [wnd] { SendMessageW(wnd, WM_NCPAINT, 1, 0); });
    SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    f.InactivePaint = MedianMs(200, [wnd] { SendMessageW(wnd, WM_NCPAINT, 1, 0); });
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    int step = 0;
    f.Resize = MedianMs(100, [wnd, &step] {
        RECT r{};
        GetWindowRect(wnd, &r);
        const int dw = (step++ % 2) ? -1 : 1;
        SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    Application().Initialize();
    std::vector<std::string> skins(argv + 1, argv + argc);
    if (skins.empty()) skins = {"default", "graphite"};

    std::printf("%-10s %-16s %12s %12s %8s\n", "skin", "measure", "skinned ms", "system ms", "ratio");
    for (const std::string& name : skins) {
        auto skin = ShippedSkin(name);
        TForm* plain = ShowForm(false);
        TForm* skinned = ShowForm(true);
        if (!SkinManager || !SkinManager->FindSkinForm(skinned->Handle())) {
            std::printf("%s: the window was not skinned\n", name.c_str());
            return 1;
        }
        // Interleaved, so that both see the same machine.
        const TFigures s1 = Measure(skinned->Handle()), p1 = Measure(plain->Handle());
        const TFigures s2 = Measure(skinned->Handle()), p2 = Measure(plain->Handle());
        auto row = [&](const char* what, double s, double p) {
            std::printf("%-10s %-16s %12.3f %12.3f %8.2f\n", name.c_str(), what, s, p, p > 0 ? s / p : 0.0);
        };
        row("nc paint active", std::min(s1.ActivePaint, s2.ActivePaint), std::min(p1.ActivePaint, p2.ActivePaint));
        row("nc paint inactive", std::min(s1.InactivePaint, s2.InactivePaint),
            std::min(p1.InactivePaint, p2.InactivePaint));
        row("resize step", std::min(s1.Resize, s2.Resize), std::min(p1.Resize, p2.Resize));
        // The skinned resize step's parts: the region cut from the border images, and the frame paint.
        TWinSkinForm& skinner = *SkinManager->FindSkinForm(skinned->Handle());
        const double region = MedianMs(100, [&] {
            skinner.RemoveRegion(false);
            skinner.UpdateRegion();
        });
        std::printf("%-10s %-16s %12.3f\n", name.c_str(), "  of it: region", region);
        // The floor under it: handing the window any region at all (a plain rectangle).
        const HWND wnd = skinned->Handle();
        const double handOver = MedianMs(100, [&] {
            RECT r{};
            GetWindowRect(wnd, &r);
            HandRegionToWindow(wnd, UniqueRegion(CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top)), true);
        });
        std::printf("%-10s %-16s %12.3f\n", name.c_str(), "  SetWindowRgn", handOver);
        skinner.RemoveRegion(false);
        skinner.UpdateRegion();
        TCustomForm::Free(skinned);
        TCustomForm::Free(plain);
        skin.reset();
        FreeSkinManager();
        Pump();
    }
    Application().Finalize();
    return 0;
}
