#include "gallery/MdiWindow.h"

#include "ui/Errors.h"

#include <string>

namespace {

constexpr wchar_t FrameClass[] = L"ClarivoGalleryMdiFrame";
constexpr wchar_t ChildClass[] = L"ClarivoGalleryMdiChild";
constexpr UINT FirstChildId = 50000;

void RegisterOnce(const wchar_t* name, WNDPROC proc, int background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) RaiseLastOSError("RegisterClassEx");
}

}  // namespace

TMdiWindow::TMdiWindow(HWND owner) {
    RegisterOnce(FrameClass, FrameProc, COLOR_APPWORKSPACE);
    RegisterOnce(ChildClass, ChildProc, COLOR_WINDOW);
    // Over the owner's window, a little in from its corner.
    RECT over{80, 80, 0, 0};
    if (owner) GetWindowRect(owner, &over);
    HWND frame = CreateWindowExW(0, FrameClass, L"MDI window", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, over.left + 60,
                                 over.top + 60, 560, 400, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!frame) RaiseLastOSError("CreateWindowEx");
    FFrame.reset(frame);
    for (int i = 1; i <= 3; ++i) {
        const std::wstring title = L"Child window " + std::to_wstring(i);
        // Cascaded: each one down and right of the one before, so that every caption shows.
        const int offset = (i - 1) * 40;
        CreateMDIWindowW(ChildClass, title.c_str(), WS_VISIBLE | WS_OVERLAPPEDWINDOW, 10 + offset, 10 + offset, 300,
                         180, FClient, GetModuleHandleW(nullptr), 0);
    }
    ShowWindow(frame, SW_SHOWNORMAL);
}

TMdiWindow::~TMdiWindow() {
    if (FFrame) SetWindowLongPtrW(FFrame.get(), GWLP_USERDATA, 0);
}

void TMdiWindow::CreateClient(HWND frame) {
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = FirstChildId;
    FClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0, frame,
                              nullptr, GetModuleHandleW(nullptr), &client);
}

LRESULT CALLBACK TMdiWindow::FrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TMdiWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        self = static_cast<TMdiWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        break;
    case WM_CREATE:
        if (self) self->CreateClient(wnd);
        break;
    case WM_NCDESTROY:
        // Destroyed from outside: the object keeps no handle to a window that is gone.
        if (self) {
            (void)self->FFrame.release();
            self->FClient = nullptr;
        }
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        break;
    }
    return DefFrameProcW(wnd, self ? self->FClient : nullptr, msg, wParam, lParam);
}

LRESULT CALLBACK TMdiWindow::ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        TPaintDC paint(wnd);
        RECT r;
        GetClientRect(wnd, &r);
        wchar_t title[64]{};
        GetWindowTextW(wnd, title, 64);
        SetBkMode(paint.get(), TRANSPARENT);
        TSelectObject font(paint.get(), GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(paint.get(), title, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return 0;
    }
    return DefMDIChildProcW(wnd, msg, wParam, lParam);
}
