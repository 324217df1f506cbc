#pragma once
// A shown form to put controls on, and real mouse input sent to windows.
#include "ui/Application.h"
#include "ui/CustomForm.h"

#include <gtest/gtest.h>

// A press and release of the left button at a client point of wnd, through the window's queue.
inline void Click(HWND wnd, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(wnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(wnd, WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
}

class GuiTest : public ::testing::Test {
protected:
    GuiTest() : form(new TForm(nullptr)) {
        form->SetClientSize({400, 300});
        form->SetCaption(L"Test");
        form->Show();
        Application().ProcessMessages();
    }
    ~GuiTest() override { TCustomForm::Free(form); }

    // A new control of class T owned by the form, on parent at these bounds.
    template <typename T>
    T* Add(TWinControl* parent, int left, int top, int width, int height) {
        auto* c = new T(form);
        c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        return c;
    }

    TForm* form;
};
