// Skinned menus opened and closed many times, for the handles they hold and the time they take: a
// context menu of a skinned form (items drawn by the skin's item painter) and the skinned system menu,
// each opened, shown until painted and closed by Escape. GDI and USER handle counts are read from the
// program's own handle owners before, during and after (Wine's GetGuiResources answers 0).
//
// usage: bench_menu [CYCLES]   (default 2000 per menu kind)
#include "ShippedSkin.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/HandleCounts.h"
#include "ui/Menus.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// Closes the open menu once it has been up for a tick (painted).
int Ticks = 0;
void CALLBACK CloseWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || ++Ticks < 2) return;
    KillTimer(nullptr, id);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
}

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
}

void Run(const char* what, int cycles, const std::function<void()>& open) {
    auto cycle = [&] {
        Ticks = 0;
        SetTimer(nullptr, 0, 5, CloseWhenShown);
        open();
        Application().ProcessMessages();
    };
    for (int i = 0; i < 5; ++i) cycle();  // the first ones make what stays (fonts, the owner window)
    const TGuiHandleCounts before = GuiHandleCounts();
    long peakGdi = before.Gdi, peakUser = before.User;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cycles; ++i) {
        cycle();
        if (i % 100 == 0) {
            const TGuiHandleCounts now = GuiHandleCounts();
            peakGdi = std::max(peakGdi, now.Gdi);
            peakUser = std::max(peakUser, now.User);
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const TGuiHandleCounts after = GuiHandleCounts();
    std::printf("%-14s %6d cycles %8.2f ms/cycle   GDI %ld -> %ld (peak %ld)   USER %ld -> %ld (peak %ld)\n", what, cycles,
                ms / cycles, before.Gdi, after.Gdi, peakGdi, before.User, after.User, peakUser);
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    Application().Initialize();
    auto skin = ShippedSkin("default");
    auto* form = new TForm(nullptr);
    form->SetClientSize({400, 300});
    auto* menu = new TPopupMenu(form);
    for (const wchar_t* caption : {L"&Open Containing Folder", L"&Copy Path", L"-", L"&Properties", L"&Unhide", L"&Delete"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    if (!SkinManager || !SkinManager->FindSkinForm(form->Handle()) || !menu->OwnerDraw()) {
        std::printf("the form or its menu was not skinned\n");
        return 1;
    }
    Run("context menu", cycles, [&] { menu->Popup(100, 100); });
    Run("system menu", cycles, [&] { SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L' '); });

    TCustomForm::Free(form);
    skin.reset();
    FreeSkinManager();
    Application().Finalize();
    return 0;
}
