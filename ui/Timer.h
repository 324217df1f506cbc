#pragma once
// TTimer: raises OnTimer every Interval milliseconds while Enabled, on the thread that made it (through
// a hidden message window of its own).
#include "ui/Component.h"
#include "ui/Handles.h"

class TTimer : public TComponent {
public:
    CLARIVO_CLASS

    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned milliseconds);

    TNotifyEvent OnTimer;

protected:
    virtual void DoTimer();

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();

    UniqueWindow FWindow;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};
