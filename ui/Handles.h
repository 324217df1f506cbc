#pragma once
// Owners for the Windows handles the program uses, built on base/UniqueHandle.h, and scoped helpers for
// the DCs and selections that must be given back before a paint ends. No GDI or kernel handle is freed
// by hand outside these owners. The GUI owners count what they hold (base/HandleCounts.h).
#include "base/HandleCounts.h"
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

template <typename T, THandleKind Kind>
struct GdiTraits : TCountedHandle<Kind> {
    using Type = T;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteGdi(h); }
};

template <typename T, auto CloseFn, THandleKind Kind>
struct CountedTraits : NullHandleTraits<T, CloseFn>, TCountedHandle<Kind> {};

// Handles that report failure as INVALID_HANDLE_VALUE, not as null (FindFirstChangeNotification, ...).
template <auto CloseFn>
struct InvalidValueTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseFn(h); }
};
}  // namespace handle_detail

using UniqueBitmap = UniqueHandle<handle_detail::GdiTraits<HBITMAP, THandleKind::Bitmap>>;
using UniqueRegion = UniqueHandle<handle_detail::GdiTraits<HRGN, THandleKind::Region>>;
using UniqueFont = UniqueHandle<handle_detail::GdiTraits<HFONT, THandleKind::Font>>;
using UniqueBrush = UniqueHandle<handle_detail::GdiTraits<HBRUSH, THandleKind::Brush>>;
using UniquePen = UniqueHandle<handle_detail::GdiTraits<HPEN, THandleKind::Pen>>;
using UniqueMemoryDC =
    UniqueHandle<handle_detail::CountedTraits<HDC, handle_detail::DeleteMemoryDC, THandleKind::MemoryDC>>;
using UniqueMenu =
    UniqueHandle<handle_detail::CountedTraits<HMENU, handle_detail::DestroyMenuHandle, THandleKind::Menu>>;
using UniqueHook = UniqueHandle<handle_detail::CountedTraits<HHOOK, handle_detail::UnhookHook, THandleKind::Hook>>;
using UniqueWindow =
    UniqueHandle<handle_detail::CountedTraits<HWND, handle_detail::DestroyWindowHandle, THandleKind::Window>>;
using UniqueIcon =
    UniqueHandle<handle_detail::CountedTraits<HICON, handle_detail::DestroyIconHandle, THandleKind::Icon>>;
using UniqueImageList = UniqueHandle<
    handle_detail::CountedTraits<HIMAGELIST, handle_detail::DestroyImageListHandle, THandleKind::ImageList>>;
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, handle_detail::ReleaseModule>>;

// A DC from GetDC / GetWindowDC, given back with ReleaseDC.
class TWindowDC {
public:
    // whole: the window's DC including the frame (GetWindowDC); otherwise the client DC (GetDC).
    explicit TWindowDC(HWND wnd, bool whole = true)
        : FWnd(wnd), FDC(whole ? ::GetWindowDC(wnd) : ::GetDC(wnd)) {
        if (FDC) CountHandles(THandleKind::WindowDC, 1);
    }
    ~TWindowDC() {
        if (!FDC) return;
        ::ReleaseDC(FWnd, FDC);
        CountHandles(THandleKind::WindowDC, -1);
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
    explicit TPaintDC(HWND wnd) : FWnd(wnd), FDC(::BeginPaint(wnd, &FPaint)) {
        if (FDC) CountHandles(THandleKind::PaintDC, 1);
    }
    ~TPaintDC() {
        ::EndPaint(FWnd, &FPaint);
        if (FDC) CountHandles(THandleKind::PaintDC, -1);
    }
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
