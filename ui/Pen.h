#pragma once
// TPen: the line style of a canvas. The GDI pen is made on first use.
#include "ui/Handles.h"
#include "ui/Persistent.h"
#include "ui/Types.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TPersistent {
public:
    CLARIVO_CLASS

    TPen() = default;
    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);

    HPEN Handle() const;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    mutable UniquePen FHandle;
};
