#pragma once
// A shown form to put one control on, and ways to let its messages run.
#include "ui/Application.h"
#include "ui/CustomForm.h"

#include <gtest/gtest.h>

#include <functional>

class TFormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = new TForm(nullptr);
        FForm->SetBounds(10, 10, 640, 480);
        FForm->Show();
        FForm->HandleNeeded();
    }
    void TearDown() override { TCustomForm::Free(FForm); }

    // Places control on the form and makes its window.
    template <typename T>
    T* Place(T* control, int left, int top, int width, int height) {
        control->SetParent(FForm);
        control->SetBounds(left, top, width, height);
        control->HandleNeeded();
        Pump();
        return control;
    }

    static void Pump() { Application().ProcessMessages(); }

    // Lets messages run until done() holds or the limit passes (a bound on waiting, not a measurement).
    static bool WaitFor(const std::function<bool()>& done, DWORD limitMs = 10000) {
        const ULONGLONG start = GetTickCount64();
        while (!done()) {
            if (GetTickCount64() - start > limitMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    // A click at a client point of wnd, as the window gets it from the mouse: the cursor goes there (some
    // controls ask where it is), and the button-up is queued first because controls track a press in a
    // loop of their own until the button is up.
    static void Click(HWND wnd, POINT at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        POINT screen = at;
        ClientToScreen(wnd, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(wnd, up, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(wnd, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(at.x, at.y));
        Pump();
    }

    TForm* FForm = nullptr;
};
