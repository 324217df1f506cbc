#pragma once
// How many GUI handles the program holds right now, from the owners' own live counts
// (base/HandleCounts.h): leaks show as counts that do not come back down. Wine's GetGuiResources
// answers 0, so these counts are the only measure there; on Windows GetGuiResources(GR_GDIOBJECTS and
// GR_USEROBJECTS) confirms them, plus what the system keeps for the process itself.
#include "ui/Handles.h"

#include <array>

struct TGuiHandleCounts {
    std::array<long, HandleKindCount> PerKind{};
    // Bitmaps, regions, fonts, brushes, pens, every DC the program holds (its own memory DCs and those
    // borrowed from windows), regions handed to windows, and image lists (one each, though the system
    // keeps bitmaps and DCs inside one).
    long Gdi = 0;
    // Menus, hooks, windows and icons.
    long User = 0;

    long Of(THandleKind kind) const { return PerKind[static_cast<size_t>(kind)]; }
};

TGuiHandleCounts GuiHandleCounts();

// Makes Region the window's region (SetWindowRgn). The system owns the region from then on and frees it
// itself when the window gets another region or is destroyed; until then it counts as a region held by
// a window. A null region removes the window's region. Replacing or removing a region given through
// here counts it down; so does the window's destruction, noticed the next time the counts are read. If
// the system refuses, the region stays ours and is freed here.
void HandRegionToWindow(HWND wnd, UniqueRegion region, bool redraw);
