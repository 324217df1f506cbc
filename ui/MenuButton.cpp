#include "ui/MenuButton.h"

#include "ui/Properties.h"

const TClassInfo TMenuButton::MetaClass("TMenuButton", &TButton::MetaClass, ComponentFactory<TMenuButton>, {});

void TMenuButton::DrawContent(HDC dc, const TRect& rect, bool pressed) {
    TRect captionArea = rect;
    captionArea.Right -= ArrowWidth;
    TButton::DrawContent(dc, captionArea, pressed);

    // A small triangle pointing down, centred in the arrow's part; etched like the caption when disabled.
    const int cx = rect.Right - ArrowWidth / 2, cy = rect.Top + rect.Height() / 2;
    auto triangle = [&](int dx, int dy, TColor color) {
        UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
        for (int row = 0; row < 4; ++row) {
            RECT line{cx - 3 + row + dx, cy - 2 + row + dy, cx + 4 - row + dx, cy - 1 + row + dy};
            FillRect(dc, &line, brush.get());
        }
    };
    if (!Enabled()) triangle(1, 1, clBtnHighlight);
    triangle(0, 0, Enabled() ? Font()->Color() : clBtnShadow);
}
