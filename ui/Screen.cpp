#include "ui/Screen.h"

#include "ui/CustomForm.h"

#include <algorithm>

const TClassInfo TScreen::MetaClass("TScreen", &TComponent::MetaClass, nullptr, {});

TScreen& Screen() {
    static TScreen screen(nullptr);
    return screen;
}

TCustomForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TCustomForm* f : FForms)
        if (f->HandleAllocated() && f->WindowHandle() == active) return f;
    return nullptr;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::InsertForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) { std::erase(FForms, form); }
