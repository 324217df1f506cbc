#pragma once
// TBrush: the fill of a canvas or the background of a control. The GDI brush is made on first use.
#include "ui/Handles.h"
#include "ui/Persistent.h"
#include "ui/Types.h"

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
public:
    CLARIVO_CLASS

    TBrush() = default;
    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);

    // The GDI brush (a hollow stock brush for bsClear); owned by this object, valid until the next change.
    HBRUSH Handle() const;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable UniqueBrush FHandle;
};
