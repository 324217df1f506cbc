// The text-entry controls' painters against the same controls painting themselves: each control of a
// skinned form repainted whole (client, frame and child windows), with its painter's skin painting
// switched on and then off (WM_SKINSWITCH), so both see the same window at the same moment. Medians in
// milliseconds, the ratio, and the GDI and USER handles held after all the repaints against before.
//
// usage: bench_text_controls [SKIN [ROUNDS]]   (default: default 3; each round measures both ways)
#include "bench/MedianTime.h"
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinControl.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/ComboBox.h"
#include "ui/CustomForm.h"
#include "ui/DateTimePicker.h"
#include "ui/Edit.h"
#include "ui/HandleCounts.h"
#include "ui/SpinEdit.h"
#include "ui/UpDown.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application().ProcessMessages();
        Sleep(5);
    }
}

template <typename T>
T* Place(TForm* form, int top, int width = 160) {
    auto* control = new T(form);
    control->SetParent(form);
    control->SetBounds(10, top, width, 22);
    return control;
}

// Every window in the control's tree that a painter sits on gets the switch (a spin edit's arrows too).
void SwitchSkin(HWND wnd, bool on) {
    SendMessageW(wnd, WM_SKINSWITCH, on ? 1 : 0, 0);
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) SwitchSkin(child, on);
}

double RepaintMs(HWND wnd) {
    return MedianMs(100, [wnd] {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
}

}  // namespace

int main(int argc, char** argv) {
    const std::string skinName = argc > 1 ? argv[1] : "default";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    Application().Initialize();
    InstallControlPainters();
    auto* form = new TForm(nullptr);
    form->SetClientSize({300, 320});
    struct TRow {
        const char* Name;
        TWinControl* Control;
    };
    auto* associate = Place<TEdit>(form, 130, 80);
    auto* upDown = Place<TUpDown>(form, 130, 17);
    upDown->SetAssociate(associate);
    auto* list = Place<TComboBox>(form, 50);
    list->SetStyle(csDropDownList);
    list->Items()->SetLines({L"Folder Only", L"File Only"});
    list->SetItemIndex(0);
    auto* editable = Place<TComboBox>(form, 90);
    editable->Items()->SetLines({L"*.*", L"*.tmp"});
    const std::vector<TRow> rows = {
        {"edit", Place<TEdit>(form, 10)},
        {"combo box, drop-down list", list},
        {"combo box, editable", editable},
        {"up-down", upDown},
        {"spin edit", Place<TSpinEdit>(form, 170, 80)},
        {"date picker", Place<TDateTimePicker>(form, 210)},
    };
    std::unique_ptr<TSkinData> skin(StartShippedSkin(skinName, nullptr));
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    if (!SkinManager || !SkinManager->FindSkinForm(form->Handle())) {
        std::printf("the form was not skinned\n");
        return 1;
    }

    std::printf("skin %s\n%-28s %12s %12s %8s\n", skinName.c_str(), "control repainted", "skinned ms", "plain ms", "ratio");
    const TGuiHandleCounts before = GuiHandleCounts();
    for (const TRow& row : rows) {
        const HWND wnd = row.Control->Handle();
        if (SendMessageW(wnd, WM_SKINQUERY, 0, 0) != 1) {
            std::printf("%-28s has no painter\n", row.Name);
            continue;
        }
        // Rounds taken in turn, the best of each kept: the machine's other work shows in one round, not
        // in all of them.
        double skinned = 1e9, plain = 1e9;
        for (int round = 0; round < rounds; ++round) {
            skinned = std::min(skinned, RepaintMs(wnd));
            SwitchSkin(wnd, false);
            plain = std::min(plain, RepaintMs(wnd));
            SwitchSkin(wnd, true);
        }
        std::printf("%-28s %12.3f %12.3f %8.2f\n", row.Name, skinned, plain, skinned / plain);
    }
    Pump();
    const TGuiHandleCounts after = GuiHandleCounts();
    std::printf("handles held after the repaints: GDI %ld (before %ld), USER %ld (before %ld)\n", after.Gdi, before.Gdi,
                after.User, before.User);

    TCustomForm::Free(form);
    skin.reset();
    FreeSkinManager();
    Pump();
    Application().Finalize();
    return 0;
}
