#include "ui/Types.h"

COLORREF ColorToRGB(TColor color) {
    auto bits = static_cast<uint32_t>(color);
    if ((bits & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(bits & 0xFF));
    return bits & 0x00FFFFFFu;
}
