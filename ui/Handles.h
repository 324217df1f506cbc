#pragma once
// Owners for the Windows handles the program uses, built on base/UniqueHandle.h, and scoped helpers for
// the DCs and selections that must be given back before a paint ends. No GDI or kernel handle is freed
// by hand outside these owners.
#include "base/UniqueHandle.h"
#include "base/WinHandle.h"  // kernel, file and find handles

#include <windows.h>
#include <commctrl.h>

namespace handle_detail {
inline void DeleteGdi(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DeleteMemoryDC(HDC h) noexcept { ::DeleteDC(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void UnhookHook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
inline void DestroyWindowHandle(HWND h) noexcept { ::DestroyWindow(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void DestroyImageListHandle(HIMAGELIST h) noexcept { ImageList_Destroy(h); }
inline void ReleaseModule(HMODULE h) noexcept { ::FreeLibrary(h); }

template <typename T>
struct GdiTraits {
    using Type = T;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteGdi(h); }
};

// Handles that report failure as INVALID_HANDLE_VALUE, not as null (FindFirstChangeNotification, ...).
template <auto CloseFn>
struct InvalidValueTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseFn(h); }
};
}  // namespace handle_detail

using UniqueBitmap = UniqueHandle<handle_detail::GdiTraits<HBITMAP>>;
using UniqueRegion = UniqueHandle<handle_detail::GdiTraits<HRGN>>;
using UniqueFont = UniqueHandle<handle_detail::GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<handle_detail::GdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<handle_detail::GdiTraits<HPEN>>;
using UniqueMemoryDC = UniqueHandle<NullHandleTraits<HDC, handle_detail::DeleteMemoryDC>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, handle_detail::DestroyMenuHandle>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, handle_detail::UnhookHook>>;
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, handle_detail::DestroyWindowHandle>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, handle_detail::DestroyIconHandle>>;
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, handle_detail::DestroyImageListHandle>>;
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, handle_detail::ReleaseModule>>;

// A DC from GetDC / GetWindowDC, given back with ReleaseDC.
class TWindowDC {
public:
    // whole: the window's DC including the frame (GetWindowDC); otherwise the client DC (GetDC).
    explicit TWindowDC(HWND wnd, bool whole = true)
        : FWnd(wnd), FDC(whole ? ::GetWindowDC(wnd) : ::GetDC(wnd)) {}
    ~TWindowDC() {
        if (FDC) ::ReleaseDC(FWnd, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC get() const { return FDC; }
    explicit operator bool() const { return FDC != nullptr; }

private:
    HWND FWnd;
    HDC FDC;
};

// BeginPaint ... EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND wnd) : FWnd(wnd) { FDC = ::BeginPaint(wnd, &FPaint); }
    ~TPaintDC() { ::EndPaint(FWnd, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC get() const { return FDC; }
    const PAINTSTRUCT& Paint() const { return FPaint; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC = nullptr;
};

// SelectObject for the lifetime of the scope; the previous object is selected back at the end.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FOld(object ? ::SelectObject(dc, object) : nullptr) {}
    ~TSelectObject() {
        if (FOld) ::SelectObject(FDC, FOld);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// SaveDC ... RestoreDC: clip regions, origins and modes set inside the scope are undone at its end.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : FDC(dc), FState(::SaveDC(dc)) {}
    ~TSavedDC() {
        if (FState) ::RestoreDC(FDC, FState);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FState;
};
