#pragma once
// The fixture of painter suites: a framework form that the test fills with controls and then shows,
// skinned with the shipped default skin, its controls found and painted. Teardown undoes it all.
#include "HandleGrowth.h"
#include "Pump.h"
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/CustomForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <source_location>
#include <string>
#include <vector>

// The Tag of a control the shipped skins leave alone (their DisableTag): an unskinned twin beside a
// skinned control.
constexpr int Unskinned = 99;

// What a painter must give back when it goes: the window's procedure and styles.
struct TWindowHooks {
    LONG_PTR Procedure = 0;
    LONG_PTR Style = 0;
    LONG_PTR ExStyle = 0;
    static TWindowHooks Of(HWND wnd) {
        return {GetWindowLongPtrW(wnd, GWLP_WNDPROC), GetWindowLongPtrW(wnd, GWL_STYLE), GetWindowLongPtrW(wnd, GWL_EXSTYLE)};
    }
    friend bool operator==(const TWindowHooks&, const TWindowHooks&) = default;
};

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

    // Shows the form with a shipped skin on: the controls made so far get their painters.
    void ShowSkinned(const std::string& skinName = "default") {
        skin = ShippedSkin(skinName);
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

    // The window painted again now, frame and children included.
    static void RedrawAll(HWND wnd) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(2);
    }
    // Runs Action a few times to warm up and then Times times: the program holds no more GDI and USER
    // handles the more it runs.
    void ExpectHandlesSteady(int Times, const std::function<void()>& Action,
                             std::source_location where = std::source_location::current()) {
        const std::string what = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ExpectNoHandleGrowth(what, Times, Action, [this] { SettleAndPaint(form->Handle()); }, where);
    }

    TForm* form = nullptr;
    std::unique_ptr<TSkinData> skin;
    TWinSkinForm* skinner = nullptr;
    std::vector<HWND> systemControls;
};
