#pragma once
// TCustomStatusBar / TStatusBar: the system status bar, docked to the bottom of its parent, showing
// one line of text (SimpleText) and a size grip.
#include "ui/WinControl.h"

class TCustomStatusBar : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomStatusBar(TComponent* owner);

    const std::wstring& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::wstring& text);
    // The single line instead of panels (this bar has no panels; the line shows either way).
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void SendText();

    std::wstring FSimpleText;
    bool FSimplePanel = true;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
public:
    CLARIVO_CLASS
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};
