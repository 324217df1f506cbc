#pragma once
// Live counts of the GUI handles the program holds, one counter per kind. UniqueHandle owners count
// through traits that derive from TCountedHandle (ui/Handles.h, and the hand-over window in
// base/Thread.cpp); the DCs borrowed from windows and the regions handed to windows count in ui/.
// ui/HandleCounts.h reads them all at once.
//
// Only GUI handles are counted: they are the resource a process runs short of (10,000 GDI and USER
// objects each by default), and the one Wine cannot report (GetGuiResources answers 0 there). Kernel
// handle owners stay uncounted. The counters are atomic with relaxed order: GDI and USER objects are
// made on the GUI thread almost always, but nothing stops a worker from making one, and an uncontended
// relaxed increment costs nothing beside the system call that made the handle.
#include <atomic>
#include <cstddef>

enum class THandleKind {
    Bitmap,
    Region,
    Font,
    Brush,
    Pen,
    MemoryDC,
    WindowDC,       // GetDC / GetWindowDC until ReleaseDC (TWindowDC)
    PaintDC,        // BeginPaint until EndPaint (TPaintDC)
    WindowRegion,   // handed to a window with SetWindowRgn; the system frees it (HandRegionToWindow)
    ImageList,
    Menu,
    Hook,
    Window,
    Icon,
};
inline constexpr size_t HandleKindCount = static_cast<size_t>(THandleKind::Icon) + 1;

namespace handle_count_detail {
// Constant-initialised, so handles freed by static destructors still count down into live storage.
inline std::atomic<long> Live[HandleKindCount];
}  // namespace handle_count_detail

inline void CountHandles(THandleKind kind, int delta) noexcept {
    handle_count_detail::Live[static_cast<size_t>(kind)].fetch_add(delta, std::memory_order_relaxed);
}

inline long LiveHandles(THandleKind kind) noexcept {
    return handle_count_detail::Live[static_cast<size_t>(kind)].load(std::memory_order_relaxed);
}

// A base for UniqueHandle traits whose owners count their handles as Kind.
template <THandleKind Kind>
struct TCountedHandle {
    static void Count(int delta) noexcept { CountHandles(Kind, delta); }
};
