#include "ui/HandleCounts.h"

#include <algorithm>
#include <vector>

namespace {

// The windows holding a region given through HandRegionToWindow. GUI thread only, like the windows.
std::vector<HWND>& WindowsWithRegion() {
    static std::vector<HWND> windows;
    return windows;
}

// Counts a window's region as gone, if it was one of ours.
void ForgetRegionOf(HWND wnd) {
    auto& windows = WindowsWithRegion();
    auto it = std::find(windows.begin(), windows.end(), wnd);
    if (it == windows.end()) return;
    windows.erase(it);
    CountHandles(THandleKind::WindowRegion, -1);
}

// A destroyed window's region went with it.
void ForgetDestroyedWindows() {
    auto& windows = WindowsWithRegion();
    const auto gone = std::remove_if(windows.begin(), windows.end(), [](HWND wnd) { return !IsWindow(wnd); });
    CountHandles(THandleKind::WindowRegion, -static_cast<int>(windows.end() - gone));
    windows.erase(gone, windows.end());
}

bool IsUserKind(THandleKind kind) {
    return kind == THandleKind::Menu || kind == THandleKind::Hook || kind == THandleKind::Window ||
           kind == THandleKind::Icon;
}

}  // namespace

TGuiHandleCounts GuiHandleCounts() {
    ForgetDestroyedWindows();
    TGuiHandleCounts counts;
    for (size_t i = 0; i < HandleKindCount; ++i) {
        const auto kind = static_cast<THandleKind>(i);
        counts.PerKind[i] = LiveHandles(kind);
        (IsUserKind(kind) ? counts.User : counts.Gdi) += counts.PerKind[i];
    }
    return counts;
}

void HandRegionToWindow(HWND wnd, UniqueRegion region, bool redraw) {
    if (!SetWindowRgn(wnd, region.get(), redraw)) return;
    // The old region, if it was ours, has just been freed by the system.
    ForgetRegionOf(wnd);
    if (!region) return;
    (void)region.release();  // the system's now
    WindowsWithRegion().push_back(wnd);
    CountHandles(THandleKind::WindowRegion, 1);
}
