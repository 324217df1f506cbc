#pragma once
// The fixture of painter suites: a framework form that the test fills with controls and then shows,
// skinned with the shipped default skin, its controls found and painted. Teardown undoes it all.
#include "Pump.h"
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/CustomForm.h"

#include <gtest/gtest.h>

#include <vector>

class SkinnedForm : public ::testing::Test {
protected:
    explicit SkinnedForm(TSize clientSize) {
        InstallControlPainters();
        form = new TForm(nullptr);
        form->SetClientSize(clientSize);
    }
    ~SkinnedForm() override {
        for (HWND wnd : systemControls) DestroyWindow(wnd);
        TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        SetControlDiscovery({});
        Pump(2);
    }

    // Shows the form with the skin on: the controls made so far get their painters.
    void ShowSkinned() {
        skin = ShippedSkin("default");
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        skinner = SkinManager->FindSkinForm(form->Handle());
    }

    // A system control on the form, as a dialog would hold it (with the dialog font).
    HWND AddSystemControl(const wchar_t* cls, const wchar_t* text, DWORD style, TRect bounds, int id = 0) {
        HWND wnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, bounds.Left, bounds.Top, bounds.Width(),
                                   bounds.Height(), form->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
        SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        systemControls.push_back(wnd);
        return wnd;
    }
    // A painter put on a system control by hand, owned by the skinner as discovery's would be.
    template <typename Painter>
    Painter* AttachPainter(HWND wnd) {
        auto* painter = new Painter(skinner);
        painter->AttachWindow(wnd, *skin, *skinner, nullptr);
        return painter;
    }

    TForm* form = nullptr;
    std::unique_ptr<TSkinData> skin;
    TWinSkinForm* skinner = nullptr;
    std::vector<HWND> systemControls;
};
