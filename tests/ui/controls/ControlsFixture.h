#pragma once
// A shown form to put one control on, and ways to let its messages run.
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/CustomForm.h"
#include "ui/Handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

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

    // The window's client area as the screen shows it now, 24 bits a pixel.
    static void Capture(HWND wnd, TBitmap& shot) {
        UpdateWindow(wnd);
        RECT client{};
        GetClientRect(wnd, &client);
        shot.SetPixelFormat(pf24bit);
        shot.SetSize(client.right, client.bottom);
        TWindowDC screen(wnd, false);
        BitBlt(shot.Canvas()->Handle(), 0, 0, client.right, client.bottom, screen.get(), 0, 0, SRCCOPY);
    }

    // The same as 0x00RRGGBB values, row by row.
    static std::vector<std::uint32_t> Picture(HWND wnd) {
        TBitmap shot;
        Capture(wnd, shot);
        std::vector<std::uint32_t> picture;
        for (int y = 0; y < shot.Height(); ++y) {
            auto* row = static_cast<const std::uint8_t*>(shot.ScanLine(y));  // blue, green, red
            for (int x = 0; x < shot.Width(); ++x, row += 3)
                picture.push_back(static_cast<std::uint32_t>(row[2] << 16 | row[1] << 8 | row[0]));
        }
        return picture;
    }

    TForm* FForm = nullptr;
};
