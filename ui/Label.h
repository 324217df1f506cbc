#pragma once
// TLabel: windowless text. It paints its caption on its parent (on its own Color unless Transparent),
// greyed when disabled; with AutoSize it takes the size of its text.
#include "ui/GraphicControl.h"
#include "ui/Panel.h"

class TLabel : public TGraphicControl {
public:
    CLARIVO_CLASS

    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    void Loaded() override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    UINT TextFormat() const;
    void AdjustBounds();

    TAlignment FAlignment = taLeft;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
};
