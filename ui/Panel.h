#pragma once
// TCustomPanel / TPanel: a container window of the framework's own class ("TPanel"). It draws its
// bevels and a centred caption and holds child controls (windowless ones painted by it). BorderStyle
// bsSingle gives it a single-line border.
#include "ui/Edit.h"
#include "ui/WinControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeft, taRight, taCenter };

class TCustomPanel : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    // Kept for painters that switch it off and on; the panel always paints its own background.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = bsNoBorder;
    TAlignment FAlignment = taCenter;
    bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
public:
    CLARIVO_CLASS
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
